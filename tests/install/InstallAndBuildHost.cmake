# Installs the built library into a fresh prefix and checks that it runs from there without
# LD_LIBRARY_PATH: every installed library, module and program names its dependencies relative to
# itself and the loader finds them all; no installed header or target asks the host for nlohmann;
# the host project builds against the install with find_package and its two programs run (one
# with the drawing library alone, saving a label that is read back and checking the version it
# was built for; one loading the installed Designer plugin and showing the editor and the
# inspector); and, after the prefix has been moved, the installed command-line tool exports.
# Inputs: BUILD (the library's build folder), HOST (the host project), WORK (a scratch folder),
# HOST_FLAGS (compiler and linker flags of the host: the sanitizers of a sanitizer build),
# LABEL (a label file for the tool to export).
file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
unset(ENV{LD_LIBRARY_PATH})
set(ENV{QT_QPA_PLATFORM} offscreen)

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGV}\n${out}")
  endif()
endfunction()

# Each installed binary carries a RUNPATH relative to itself, and the loader resolves all it needs.
function(check_finds_its_libraries file)
  execute_process(COMMAND readelf -d ${file} OUTPUT_VARIABLE dynamic)
  if(NOT dynamic MATCHES "RUNPATH\\)[^\n]*\\[\\$ORIGIN")
    message(FATAL_ERROR "${file} has no RUNPATH relative to itself:\n${dynamic}")
  endif()
  execute_process(COMMAND ldd ${file} OUTPUT_VARIABLE needed ERROR_VARIABLE needed)
  if(needed MATCHES "not found")
    message(FATAL_ERROR "${file} does not find all its libraries:\n${needed}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
file(GLOB installed ${prefix}/lib*/libquindle_*.so ${prefix}/lib*/quindle/*.so
  ${prefix}/lib*/qt6/plugins/designer/libquindle_design.so ${prefix}/bin/quindle)
list(LENGTH installed count)
if(NOT count EQUAL 7)
  message(FATAL_ERROR "expected four libraries, the print module, the Designer plugin and the tool: ${installed}")
endif()
foreach(file IN LISTS installed)
  check_finds_its_libraries(${file})
endforeach()

# Stops when a line of one of files matches regex: "<file> <what>: <line>".
function(refuse_lines files regex what)
  foreach(file IN LISTS files)
    file(STRINGS ${file} found REGEX "${regex}")
    if(found)
      message(FATAL_ERROR "${file} ${what}: ${found}")
    endif()
  endforeach()
endfunction()

# A host needs no nlohmann headers: no installed header includes them, no target asks for them.
file(GLOB_RECURSE headers ${prefix}/include/*.h)
refuse_lines("${headers}" "#[ \t]*include[ \t]*<nlohmann" "includes nlohmann")
file(GLOB targets ${prefix}/lib*/cmake/quindle/*.cmake)
refuse_lines("${targets}" "nlohmann" "asks the host for nlohmann")

run(${CMAKE_COMMAND} -S ${HOST} -B ${WORK}/host -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=Release
  "-DCMAKE_CXX_FLAGS=${HOST_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${HOST_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK}/host)
run(${WORK}/host/export_host ${WORK}/saved.json)
file(READ ${WORK}/saved.json saved)
if(NOT saved MATCHES "\"Installed\"")
  message(FATAL_ERROR "the saved label holds no text: ${saved}")
endif()
file(GLOB plugin ${prefix}/lib*/qt6/plugins/designer/libquindle_design.so)
run(${WORK}/host/widgets_host ${plugin})

# A prefix is not tied to its place: the tool runs from a moved one.
file(RENAME ${prefix} ${WORK}/moved)
run(${WORK}/moved/bin/quindle export ${LABEL} --output ${WORK}/label.pdf --quiet)
if(NOT EXISTS ${WORK}/label.pdf)
  message(FATAL_ERROR "the installed tool wrote no PDF")
endif()
