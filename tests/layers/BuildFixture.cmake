# Builds the link fixture twice: calls that run downward link, and a call upward fails to link
# naming the function it cannot find.
# Inputs: SOURCE (the fixture), WORK (a scratch folder), MODULES (the tree's cmake folder).
function(build upward result output)
  set(dir ${WORK}/upward-${upward})
  file(REMOVE_RECURSE ${dir})
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${dir} -DMODULES=${MODULES} -DUPWARD=${upward}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the fixture does not configure:\n${out}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${dir} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  set(${result} ${rc} PARENT_SCOPE)
  set(${output} "${out}" PARENT_SCOPE)
endfunction()

build(OFF rc out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "calls that run downward do not link:\n${out}")
endif()
build(ON rc out)
if(rc EQUAL 0)
  message(FATAL_ERROR "the lower library linked with a call into the upper one")
endif()
if(NOT out MATCHES "undefined reference to `Upper\\(\\)'")
  message(FATAL_ERROR "the upward call failed otherwise than at the link:\n${out}")
endif()
