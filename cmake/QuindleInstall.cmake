# Installs the libraries, their headers and a package configuration, so that a host project
# finds them with find_package(quindle) and links quindle::quindle_widgets (the editor, inspector,
# preview and dialogs), quindle::quindle_print (printing), quindle::quindle_vcl (drawing and
# export with Qt Gui alone) or quindle::quindle_rtl (the model alone).
include(CMakePackageConfigHelpers)

install(TARGETS quindle_rtl quindle_vcl quindle_print quindle_widgets EXPORT quindleTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quindle RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS quindle_print_command LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/quindle)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/rtl/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quindle/rtl
  FILES_MATCHING PATTERN "*.h")
# The units the libraries keep to themselves are not installed.
set(internal_headers "")
foreach(unit RasterPages StagedFiles ExportBudget GifWriter XpsWriter)
  list(APPEND internal_headers PATTERN Zor.${unit}.h EXCLUDE)
endforeach()
foreach(dir drawing elements label dialogs editor inspector)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quindle/${dir}
    FILES_MATCHING PATTERN "*.h" ${internal_headers})
endforeach()
# The export macros of the libraries, generated beside their headers.
install(DIRECTORY ${CMAKE_BINARY_DIR}/exports/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quindle)

set(QUINDLE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/quindle)
install(EXPORT quindleTargets NAMESPACE quindle:: DESTINATION ${QUINDLE_CMAKE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/quindleConfig.cmake.in
  ${CMAKE_BINARY_DIR}/quindleConfig.cmake INSTALL_DESTINATION ${QUINDLE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/quindleConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/quindleConfig.cmake ${CMAKE_BINARY_DIR}/quindleConfigVersion.cmake
  DESTINATION ${QUINDLE_CMAKE_DIR})
