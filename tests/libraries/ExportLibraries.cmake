# Runs an export by the command-line tool with the dynamic loader telling every library it
# loads (LD_DEBUG=files: those it was linked with and those opened while it runs, such as Qt's
# plugins), and checks that neither Qt Widgets nor Qt Print Support is among them, nor libcurl
# and libzip (with OpenSSL), which the library loads for maps and XPS packages only. (Qt Gui
# itself loads Qt D-Bus on Linux.)
# Inputs: TOOL (the quindle tool), LABEL (a label file), WORK (a scratch folder).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(ENV{LD_DEBUG} files)
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${TOOL} export ${LABEL} --output ${WORK}/label.png --quiet
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE loaded)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the export failed (${rc}):\n${out}\n${loaded}")
endif()
file(GLOB written ${WORK}/*.png)
if(NOT written)
  message(FATAL_ERROR "the export wrote no image:\n${out}")
endif()
if(NOT loaded MATCHES "file=[^ ]*libQt6Gui")
  message(FATAL_ERROR "the loader told nothing of the libraries it loaded:\n${loaded}")
endif()
foreach(library libQt6Widgets libQt6PrintSupport libquindle_print libquindle_widgets libcurl libzip libcrypto)
  if(loaded MATCHES "file=[^ ]*${library}")
    message(FATAL_ERROR "the export loaded ${library}")
  endif()
endforeach()
