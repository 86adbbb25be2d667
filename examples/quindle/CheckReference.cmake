# Checks that the reference of the label file (docs/LABEL-FILE.md) is what the tool makes from
# the field tables: cmake -DTOOL=<quindle> -DPAGE=<docs/LABEL-FILE.md> -DOUT=<scratch file> -P ...
execute_process(COMMAND ${TOOL} fields --reference OUTPUT_FILE ${OUT} ERROR_VARIABLE errors RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "quindle fields --reference failed (${rc}): ${errors}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${PAGE} RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "${PAGE} does not match the field tables; write it again with: "
    "quindle fields --reference > docs/LABEL-FILE.md")
endif()
