# Installs the built library into a fresh prefix, builds the host project against it with
# find_package, runs the host and checks the label it saved and that the installed Designer
# plugin loads.
# Inputs: BUILD (the library's build folder), HOST (the host project), WORK (a scratch folder),
# HOST_FLAGS (compiler and linker flags of the host: the sanitizers of a sanitizer build).
file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGV}\n${out}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${HOST} -B ${WORK}/host -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release
  "-DCMAKE_CXX_FLAGS=${HOST_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${HOST_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK}/host)
# The host must find the installed libraries, not the build tree's.
set(ENV{LD_LIBRARY_PATH} ${prefix}/lib:${prefix}/lib64)
set(ENV{QT_QPA_PLATFORM} offscreen)
file(GLOB plugin ${prefix}/lib*/qt6/plugins/designer/libquindle_design.so)
if(NOT plugin)
  message(FATAL_ERROR "the Designer plugin is not installed under ${prefix}")
endif()
run(${WORK}/host/host ${WORK}/saved.json ${plugin})
file(READ ${WORK}/saved.json saved)
if(NOT saved MATCHES "\"Installed\"")
  message(FATAL_ERROR "the saved label holds no text: ${saved}")
endif()
