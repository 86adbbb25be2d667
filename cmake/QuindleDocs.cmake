# The API reference of the installed headers, made by Doxygen when it is found:
#   cmake --build build --target docs_api      -> build/docs/api/html/index.html
# The test run builds it too and fails on any Doxygen warning (cmake/RunDoxygen.cmake).
find_package(Doxygen)
if(NOT DOXYGEN_FOUND)
  return()
endif()

set(QUINDLE_API_DOCS_DIR ${CMAKE_BINARY_DIR}/docs/api)
# The headers the package installs, and the version header the build makes.
set(QUINDLE_API_DOCS_INPUT "")
foreach(dir rtl drawing elements label dialogs editor inspector)
  string(APPEND QUINDLE_API_DOCS_INPUT " ${CMAKE_SOURCE_DIR}/${dir}")
endforeach()
string(APPEND QUINDLE_API_DOCS_INPUT " ${CMAKE_BINARY_DIR}/generated/rtl/Zor.LibVersion.h")
configure_file(${CMAKE_SOURCE_DIR}/docs/api/Doxyfile.in ${QUINDLE_API_DOCS_DIR}/Doxyfile @ONLY)

add_custom_target(docs_api
  COMMAND ${CMAKE_COMMAND} -DDOXYGEN=${DOXYGEN_EXECUTABLE} -DDOXYFILE=${QUINDLE_API_DOCS_DIR}/Doxyfile
    -DLOG=${QUINDLE_API_DOCS_DIR}/warnings.log -P ${CMAKE_SOURCE_DIR}/cmake/RunDoxygen.cmake
  COMMENT "Writing the API reference to ${QUINDLE_API_DOCS_DIR}/html" VERBATIM)

if(QUINDLE_BUILD_TESTS)
  add_test(NAME Docs.ApiReferenceHasNoWarnings
    COMMAND ${CMAKE_COMMAND} -DDOXYGEN=${DOXYGEN_EXECUTABLE} -DDOXYFILE=${QUINDLE_API_DOCS_DIR}/Doxyfile
      -DLOG=${QUINDLE_API_DOCS_DIR}/warnings.log -DSTRICT=ON -P ${CMAKE_SOURCE_DIR}/cmake/RunDoxygen.cmake)
  set_tests_properties(Docs.ApiReferenceHasNoWarnings PROPERTIES TIMEOUT 300)
endif()
