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
foreach(dir drawing elements label dialogs editor inspector)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quindle/${dir}
    FILES_MATCHING PATTERN "*.h")
endforeach()

set(QUINDLE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/quindle)
install(EXPORT quindleTargets NAMESPACE quindle:: DESTINATION ${QUINDLE_CMAKE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/quindleConfig.cmake.in
  ${CMAKE_BINARY_DIR}/quindleConfig.cmake INSTALL_DESTINATION ${QUINDLE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/quindleConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/quindleConfig.cmake ${CMAKE_BINARY_DIR}/quindleConfigVersion.cmake
  DESTINATION ${QUINDLE_CMAKE_DIR})
