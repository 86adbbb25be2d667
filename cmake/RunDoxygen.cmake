# Runs Doxygen on the API reference's configuration and shows its warnings; with STRICT, a
# warning fails the run (the test Docs.ApiReferenceHasNoWarnings).
#   cmake -DDOXYGEN=<doxygen> -DDOXYFILE=<Doxyfile> -DLOG=<its WARN_LOGFILE> [-DSTRICT=ON] -P RunDoxygen.cmake
get_filename_component(dir ${DOXYFILE} DIRECTORY)
file(REMOVE ${LOG})
execute_process(COMMAND ${DOXYGEN} ${DOXYFILE} WORKING_DIRECTORY ${dir}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "Doxygen failed (${rc}):\n${out}")
endif()
set(warnings "")
if(EXISTS ${LOG})
  file(READ ${LOG} warnings)
endif()
if(warnings STREQUAL "")
  message(STATUS "The API reference is in ${dir}/html")
elseif(STRICT)
  message(FATAL_ERROR "Doxygen warned about the headers' comments:\n${warnings}")
else()
  message(WARNING "Doxygen warned about the headers' comments:\n${warnings}")
endif()
