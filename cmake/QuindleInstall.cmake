# Installs the libraries, their headers and a package configuration, so that a host project
# finds them with find_package(quindle) and links quindle::quindle_widgets (the editor, inspector,
# preview and dialogs), quindle::quindle_print (printing), quindle::quindle_vcl (drawing and
# export with Qt Gui alone) or quindle::quindle_rtl (the model alone).
include(CMakePackageConfigHelpers)

# Installs run from any prefix: each installed binary finds the libraries it needs relative to
# itself ($ORIGIN), so neither LD_LIBRARY_PATH nor ldconfig is needed and a prefix may be moved.
# Dependencies outside the system's folders (a Qt of its own, say) are kept by their link paths.
# quindle_install_rpath(target dir): target is installed in dir (relative to the prefix).
function(quindle_install_rpath target dir)
  file(RELATIVE_PATH to_libdir /${dir} /${CMAKE_INSTALL_LIBDIR})
  string(REGEX REPLACE "/$" "" to_libdir "${to_libdir}")
  if(to_libdir)
    set(to_libdir "/${to_libdir}")
  endif()
  set_target_properties(${target} PROPERTIES
    INSTALL_RPATH "$ORIGIN${to_libdir}" INSTALL_RPATH_USE_LINK_PATH TRUE)
endfunction()

set(QUINDLE_PRINT_MODULE_DESTINATION ${CMAKE_INSTALL_LIBDIR}/quindle)
foreach(library quindle_rtl quindle_vcl quindle_print quindle_widgets)
  quindle_install_rpath(${library} ${CMAKE_INSTALL_LIBDIR})
endforeach()
quindle_install_rpath(quindle ${CMAKE_INSTALL_BINDIR})
quindle_install_rpath(quindle_print_command ${QUINDLE_PRINT_MODULE_DESTINATION})

# The Designer plugin goes where Designer looks: Qt's own designer folder when
# QUINDLE_DESIGNER_PLUGIN_DIR says so, else <prefix>/lib/qt6/plugins/designer (add
# <prefix>/lib/qt6/plugins to QT_PLUGIN_PATH). Under the prefix it finds the libraries relative to
# itself like the rest. A folder outside the prefix (Qt's own) moves with Qt, not with the prefix,
# so there the plugin names the prefix's library folder absolutely: that prefix is the configured
# one, and an install elsewhere (cmake --install --prefix) is refused rather than left with a
# plugin that cannot load. The check comes first, so that a refused install writes nothing.
set(QUINDLE_DESIGNER_PLUGIN_DIR ${CMAKE_INSTALL_LIBDIR}/qt6/plugins/designer
  CACHE PATH "Where cmake --install puts the Qt Designer plugin (relative: under the prefix)")
if(IS_ABSOLUTE "${QUINDLE_DESIGNER_PLUGIN_DIR}")
  set_target_properties(quindle_design PROPERTIES
    INSTALL_RPATH "${CMAKE_INSTALL_FULL_LIBDIR}" INSTALL_RPATH_USE_LINK_PATH TRUE)
  install(CODE "
    if(NOT CMAKE_INSTALL_PREFIX STREQUAL \"${CMAKE_INSTALL_PREFIX}\")
      message(FATAL_ERROR \"The Designer plugin goes to ${QUINDLE_DESIGNER_PLUGIN_DIR} and loads the \"
        \"libraries from ${CMAKE_INSTALL_FULL_LIBDIR}: install into the configured prefix \"
        \"${CMAKE_INSTALL_PREFIX} (or configure with -DCMAKE_INSTALL_PREFIX=\${CMAKE_INSTALL_PREFIX}).\")
    endif()")
else()
  quindle_install_rpath(quindle_design ${QUINDLE_DESIGNER_PLUGIN_DIR})
endif()

install(TARGETS quindle_design LIBRARY DESTINATION ${QUINDLE_DESIGNER_PLUGIN_DIR})
install(TARGETS quindle_rtl quindle_vcl quindle_print quindle_widgets EXPORT quindleTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quindle RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quindle_print_command LIBRARY DESTINATION ${QUINDLE_PRINT_MODULE_DESTINATION})

install(DIRECTORY ${CMAKE_SOURCE_DIR}/rtl/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quindle/rtl
  FILES_MATCHING PATTERN "*.h")
# The units the libraries keep to themselves are not installed.
set(internal_headers "")
foreach(unit RasterPages StagedFiles ExportBudget GifWriter XpsWriter LazyLibrary)
  list(APPEND internal_headers PATTERN Zor.${unit}.h EXCLUDE)
endforeach()
foreach(dir drawing elements label dialogs editor inspector)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quindle/${dir}
    FILES_MATCHING PATTERN "*.h" ${internal_headers})
endforeach()
# The headers the build makes (the version, the libraries' export macros), beside the others.
install(DIRECTORY ${CMAKE_BINARY_DIR}/generated/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quindle)

set(QUINDLE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/quindle)
install(EXPORT quindleTargets NAMESPACE quindle:: DESTINATION ${QUINDLE_CMAKE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/quindleConfig.cmake.in
  ${CMAKE_BINARY_DIR}/quindleConfig.cmake INSTALL_DESTINATION ${QUINDLE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/quindleConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/quindleConfig.cmake ${CMAKE_BINARY_DIR}/quindleConfigVersion.cmake
  DESTINATION ${QUINDLE_CMAKE_DIR})
