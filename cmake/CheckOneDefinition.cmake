# Fails when two of the shared libraries LIBS (a ;-list) both define one exported function or
# variable. Nothing else would tell: the dynamic linker takes the first definition it meets, so a
# function written again under an old name in another library silently replaces the original in
# every caller.
# Usage: cmake -DNM=<nm> -DLIBS="a.so;b.so" -P CheckOneDefinition.cmake
cmake_minimum_required(VERSION 3.20)
set(all "")
foreach(lib IN LISTS LIBS)
  execute_process(COMMAND ${NM} -D --defined-only ${lib} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot read the symbols of ${lib}")
  endif()
  string(REGEX MATCHALL "[0-9a-f]+ [TDB] [^\n]+" defined "${out}")
  list(TRANSFORM defined REPLACE "^[0-9a-f]+ [TDB] " "")
  # Our own definitions are C++ names; the linker's own (_end, __bss_start) stand in every library.
  list(FILTER defined INCLUDE REGEX "^_Z")
  list(REMOVE_DUPLICATES defined)
  list(APPEND all ${defined})
endforeach()
list(SORT all)
set(previous "")
set(clashes "")
foreach(name IN LISTS all)
  if(name STREQUAL previous)
    list(APPEND clashes "${name}")
  endif()
  set(previous "${name}")
endforeach()
if(clashes)
  list(JOIN clashes "\n  " text)
  message(FATAL_ERROR "defined in more than one library:\n  ${text}")
endif()
