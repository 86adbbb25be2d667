# The runtime libraries, one per group of layers, each linking only the ones below it:
#   quindle_vcl      drawing, elements and the label (Qt Gui): enough to draw and export
#   quindle_print    printing on the system's printers (Qt Print Support, CUPS)
#   quindle_widgets  dialogs, editor, inspector and the label component of a form (Qt Widgets)
# Each folder adds its sources to its library (label/ splits its files between the three).
include(QuindleLayers)
quindle_layer_library(quindle_vcl EXPORT_HEADER drawing/Zor.VclExport.h)
quindle_layer_link(quindle_vcl PUBLIC quindle_rtl Qt6::Gui)
# GIF images are written by the export pipeline only. XPS packages are written with libzip and
# map tiles downloaded with libcurl, each loaded when first needed (label/Zor.LazyLibrary.h):
# linked, they and the libraries they bring (OpenSSL, GnuTLS, Kerberos …) would load and
# initialise in every program, most of the start of one label's export.
quindle_layer_link(quindle_vcl PRIVATE GIF::GIF ${CMAKE_DL_LIBS})
target_include_directories(quindle_vcl SYSTEM PRIVATE $<TARGET_PROPERTY:CURL::libcurl,INTERFACE_INCLUDE_DIRECTORIES>
  $<TARGET_PROPERTY:libzip::zip,INTERFACE_INCLUDE_DIRECTORIES>)
target_compile_definitions(quindle_vcl PRIVATE QUINDLE_CURL_LIBRARY="libcurl.so.4"
  QUINDLE_ZIP_LIBRARY="$<TARGET_SONAME_FILE_NAME:libzip::zip>")
quindle_warnings(quindle_vcl)

quindle_layer_library(quindle_print EXPORT_HEADER label/Zor.PrintExport.h)
quindle_layer_link(quindle_print PUBLIC quindle_vcl Qt6::PrintSupport)
# Custom papers go to CUPS queues as PWG raster.
quindle_layer_link(quindle_print PRIVATE Cups::Cups)
quindle_warnings(quindle_print)

quindle_layer_library(quindle_widgets EXPORT_HEADER dialogs/Zor.WidgetsExport.h)
quindle_layer_link(quindle_widgets PUBLIC quindle_vcl quindle_print Qt6::Widgets)
quindle_warnings(quindle_widgets)

# Includes run one way between the folders (cmake/CheckLayers.cmake); a wrong one stops the build.
add_custom_target(quindle_layers
  COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -P ${CMAKE_SOURCE_DIR}/cmake/CheckLayers.cmake
  COMMENT "Checking the include layers" VERBATIM)
add_dependencies(quindle_rtl quindle_layers)
foreach(dir drawing label elements/lines elements/text elements/composite editor inspector dialogs)
  add_subdirectory(${dir})
endforeach()
