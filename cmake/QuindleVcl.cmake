# quindle_vcl: the runtime library. Each subsystem folder adds its own sources to it.
add_library(quindle_vcl SHARED)
set_target_properties(quindle_vcl PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
target_include_directories(quindle_vcl PUBLIC
  $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/quindle>)
target_link_libraries(quindle_vcl PUBLIC quindle_rtl Qt6::Widgets Qt6::PrintSupport)
# GIF images and XPS packages are written by the export pipeline only.
target_link_libraries(quindle_vcl PRIVATE GIF::GIF libzip::zip)
# Map tiles are downloaded with libcurl; custom papers go to CUPS queues as PWG raster.
target_link_libraries(quindle_vcl PRIVATE CURL::libcurl Cups::Cups)
quindle_warnings(quindle_vcl)
# Includes run one way between the folders (cmake/CheckLayers.cmake); a wrong one stops the build.
add_custom_target(quindle_layers
  COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
  COMMENT "Checking the include layers" VERBATIM)
add_dependencies(quindle_rtl quindle_layers)
foreach(dir drawing label elements/lines elements/text elements/composite editor inspector dialogs)
  add_subdirectory(${dir})
endforeach()
