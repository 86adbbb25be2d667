# Checks that includes run one way between the library's folders: a folder may include its own
# headers and those of the folders below it, never those of a folder above it or beside it.
#   cmake -DROOT=<tree> -P CheckLayers.cmake
# Fails, naming every offending include, when one runs the wrong way.

# Folders from the bottom up, each with its rank; folders of one rank may not include each other.
set(LAYERS
  "rtl:0" "drawing:1" "elements:2" "elements/lines:3" "elements/text:4" "elements/composite:5"
  "label:6" "dialogs:7" "editor:8" "inspector:8" "design:9")

if(NOT ROOT)
  message(FATAL_ERROR "CheckLayers: ROOT is not set")
endif()

function(layer_rank folder out)
  set(rank "")
  foreach(entry IN LISTS LAYERS)
    string(REPLACE ":" ";" pair "${entry}")
    list(GET pair 0 name)
    list(GET pair 1 value)
    if(name STREQUAL folder)
      set(rank ${value})
    endif()
  endforeach()
  set(${out} "${rank}" PARENT_SCOPE)
endfunction()

# The folder of the header an include names, as the compiler finds it: beside the including
# file, then from the tree's root, then among the model's headers; empty for a header of no
# folder of ours.
function(included_folder folder name out)
  if(EXISTS "${ROOT}/${folder}/${name}")
    get_filename_component(dir "${folder}/${name}" DIRECTORY)
  elseif(EXISTS "${ROOT}/${name}")
    get_filename_component(dir "${name}" DIRECTORY)
  elseif(EXISTS "${ROOT}/rtl/${name}")
    get_filename_component(dir "rtl/${name}" DIRECTORY)
  else()
    set(dir "")
  endif()
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()

set(wrong "")
foreach(entry IN LISTS LAYERS)
  string(REPLACE ":" ";" pair "${entry}")
  list(GET pair 0 folder)
  list(GET pair 1 rank)
  file(GLOB files "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" name "${line}")
      included_folder("${folder}" "${name}" target)
      if(target STREQUAL "" OR target STREQUAL folder)
        continue()
      endif()
      layer_rank("${target}" target_rank)
      if(target_rank STREQUAL "" OR target_rank LESS rank)
        continue()
      endif()
      file(RELATIVE_PATH rel "${ROOT}" "${file}")
      string(APPEND wrong "\n  ${rel}: #include \"${name}\" (${folder} may not use ${target})")
    endforeach()
  endforeach()
endforeach()

if(wrong)
  message(FATAL_ERROR "Includes that run against the layers "
    "(rtl <- drawing <- elements <- label <- dialogs <- editor / inspector <- design):${wrong}")
endif()
