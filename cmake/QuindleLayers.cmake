include(GenerateExportHeader)

# A layer library: versioned, headers from the source tree (or the installed include folder), and
# linked with --no-undefined, so that a library that calls into a layer above it (one it does not
# link) fails to link. The include check keeps the headers apart the same way.
#
# Shared (the default) or static, as BUILD_SHARED_LIBS says. A shared one shows other programs
# only what its headers mark with its export macro (EXPORT_HEADER, generated: `<PREFIX>_EXPORT`,
# e.g. QUINDLE_VCL_EXPORT); inline functions and the copies of the standard library's and
# nlohmann's templates stay inside it (cmake/QuindleLibrary.map).
#
# `<name>_internal` is the same objects as a static library: the tests and benchmarks link it to
# reach the units a host does not see. It is built only when something links it.
function(quindle_layer_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "EXPORT_HEADER" "")
  add_library(${name})
  set_target_properties(${name} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON POSITION_INDEPENDENT_CODE ON)
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/quindle>)
  if(arg_EXPORT_HEADER)
    quindle_export_header(${name} ${arg_EXPORT_HEADER})
  endif()
  if(BUILD_SHARED_LIBS)
    quindle_no_undefined(${name})
    target_link_options(${name} PRIVATE "LINKER:--version-script=${QUINDLE_LAYERS_DIR}/QuindleLibrary.map")
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${QUINDLE_LAYERS_DIR}/QuindleLibrary.map)
    add_library(${name}_internal STATIC EXCLUDE_FROM_ALL $<TARGET_OBJECTS:${name}>)
    add_dependencies(${name}_internal ${name})
    foreach(property INCLUDE_DIRECTORIES COMPILE_DEFINITIONS)
      set_target_properties(${name}_internal PROPERTIES
        INTERFACE_${property} "$<TARGET_PROPERTY:${name},INTERFACE_${property}>")
    endforeach()
  else()
    add_library(${name}_internal ALIAS ${name})
  endif()
endfunction()
set(QUINDLE_LAYERS_DIR ${CMAKE_CURRENT_LIST_DIR})

# Generates the export macro header of a layer library into the build tree's `generated` folder
# (installed beside the library's own headers) and puts that folder on its include path.
function(quindle_export_header name header)
  string(TOUPPER ${name} prefix)
  set(folder ${CMAKE_BINARY_DIR}/generated)
  generate_export_header(${name} BASE_NAME ${prefix} EXPORT_FILE_NAME ${folder}/${header})
  get_filename_component(dir ${header} DIRECTORY)
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${folder}> $<BUILD_INTERFACE:${folder}/${dir}>)
  if(NOT BUILD_SHARED_LIBS)
    target_compile_definitions(${name} PUBLIC ${prefix}_STATIC_DEFINE)
  endif()
endfunction()

# Links a layer library and its internal twin: the twin links the twins of the layers below it
# (`quindle_layer_link(quindle_vcl PUBLIC quindle_rtl Qt6::Gui PRIVATE GIF::GIF)`).
function(quindle_layer_link name)
  target_link_libraries(${name} ${ARGN})
  if(NOT BUILD_SHARED_LIBS)
    return()
  endif()
  quindle_internal_twins(twins ${ARGN})
  target_link_libraries(${name}_internal ${twins})
endfunction()

# The list of link items with each layer library replaced by its internal twin, into out.
function(quindle_internal_twins out)
  set(twins "")
  foreach(item IN LISTS ARGN)
    if(TARGET ${item}_internal)
      list(APPEND twins ${item}_internal)
    else()
      list(APPEND twins ${item})
    endif()
  endforeach()
  set(${out} "${twins}" PARENT_SCOPE)
endfunction()

# Links a library with --no-undefined. clang links its sanitizer runtimes into executables only,
# so the libraries of the fuzz build leave those symbols to the program and are not checked.
function(quindle_no_undefined name)
  if(NOT QUINDLE_FUZZ)
    target_link_options(${name} PRIVATE LINKER:--no-undefined)
  endif()
endfunction()
