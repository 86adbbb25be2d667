# A layer library: shared, versioned, headers from the source tree (or the installed include
# folder), and linked with --no-undefined, so that a library that calls into a layer above it
# (one it does not link) fails to link. The include check keeps the headers apart the same way.
function(quindle_layer_library name)
  add_library(${name} SHARED)
  set_target_properties(${name} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/quindle>)
  quindle_no_undefined(${name})
endfunction()

# Links a library with --no-undefined. clang links its sanitizer runtimes into executables only,
# so the libraries of the fuzz build leave those symbols to the program and are not checked.
function(quindle_no_undefined name)
  if(NOT QUINDLE_FUZZ)
    target_link_options(${name} PRIVATE LINKER:--no-undefined)
  endif()
endfunction()
