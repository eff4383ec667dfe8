# Checks the house rules of the source tree and of the product binary:
# - src/protocol and src/engine include only Qt Core: no widgets, no GUI, no hidapi, nothing of
#   src/usb; the protocol knows nothing above it, the engine nothing of the windows;
# - src/usb includes no widgets or GUI, and knows frames, not pages;
# - only src/usb includes <hidapi/hidapi.h>;
# - src/pages never includes src/usb or src/app;
# - src/widgets includes no page and nothing of src/app;
# - src/cli (when there) stays a Qt Core program: no widgets, pages or windows;
# - `orvante` links the system's libhidapi-hidraw and contains nothing of the virtual controller;
# - both programs load the Qt of the chosen major only (a QCustomPlot built for the other one
#   would bring a second Qt into the process);
# - `orvante-cli` links the system's libhidapi-hidraw and no Qt GUI or widget library.
# Run as: cmake -DSOURCE_DIR=... -DPRODUCT=... -DCLI=... -DQT_MAJOR=6|5 -P check_layers.cmake

set(failures "")

function(scan_includes folder pattern message)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(f ${files})
    file(STRINGS "${f}" hits REGEX "${pattern}")
    if(hits)
      set(failures "${failures}\n${f}: ${message}: ${hits}" PARENT_SCOPE)
    endif()
  endforeach()
endfunction()

# Headers of Qt's GUI and widget modules, and the plot widget.
set(gui "Qt(Widgets|Gui|PrintSupport)|QWidget|QPainter|QImage|QPixmap|QBitmap|QColor|QFont|QIcon|QTransform|QRegion|QGuiApplication|QApplication|QDialog|QLabel|QAbstractButton|QPushButton|QMainWindow|qcustomplot")
set(include "#include[ \t]*[<\"]")

scan_includes(src/protocol "${include}(${gui}|hidapi|usb/|engine/|widgets/|pages/|app/|cli/)" "protocol reaches beyond Qt Core")
scan_includes(src/engine "${include}(${gui}|hidapi|usb/|widgets/|pages/|app/|cli/)" "engine reaches beyond Qt Core")
scan_includes(src/usb "${include}(${gui}|widgets/|pages/|app/|cli/)" "the transport reaches into the windows")
scan_includes(src/pages "${include}(usb/|app/|hidapi)" "a page reaches into the transport or the main window")
scan_includes(src/widgets "${include}(pages/|app/|usb/|hidapi)" "a shared widget reaches into a page or the main window")
scan_includes(src/app "${include}hidapi" "hidapi outside src/usb")
scan_includes(src/cli "${include}(${gui}|hidapi|widgets/|pages/|app/)" "the command line reaches into the windows")

execute_process(COMMAND ldd "${PRODUCT}" OUTPUT_VARIABLE ldd_out RESULT_VARIABLE ldd_rc)
if(NOT ldd_rc EQUAL 0 OR NOT ldd_out MATCHES "libhidapi-hidraw\\.so")
  set(failures "${failures}\n${PRODUCT} does not link libhidapi-hidraw.so:\n${ldd_out}")
endif()

if(QT_MAJOR EQUAL 6)
  set(other_qt 5)
else()
  set(other_qt 6)
endif()
if(NOT ldd_out MATCHES "libQt${QT_MAJOR}Widgets\\.so" OR ldd_out MATCHES "libQt${other_qt}")
  set(failures "${failures}\n${PRODUCT} does not load Qt ${QT_MAJOR} alone:\n${ldd_out}")
endif()

execute_process(COMMAND nm -C "${PRODUCT}" OUTPUT_VARIABLE nm_out)
if(nm_out MATCHES "VirtualFC::")
  set(failures "${failures}\n${PRODUCT} contains the virtual flight controller")
endif()

execute_process(COMMAND ldd "${CLI}" OUTPUT_VARIABLE cli_ldd RESULT_VARIABLE cli_rc)
if(NOT cli_rc EQUAL 0 OR NOT cli_ldd MATCHES "libhidapi-hidraw\\.so")
  set(failures "${failures}\n${CLI} does not link libhidapi-hidraw.so:\n${cli_ldd}")
endif()
if(NOT cli_ldd MATCHES "libQt${QT_MAJOR}Core\\.so" OR cli_ldd MATCHES "libQt${other_qt}")
  set(failures "${failures}\n${CLI} does not load Qt ${QT_MAJOR} alone:\n${cli_ldd}")
endif()
if(cli_ldd MATCHES "libQt[56](Gui|Widgets|PrintSupport)|libqcustomplot|libQCustomPlot")
  set(failures "${failures}\n${CLI} links a GUI library:\n${cli_ldd}")
endif()
execute_process(COMMAND nm -C "${CLI}" OUTPUT_VARIABLE cli_nm)
if(cli_nm MATCHES "VirtualFC::")
  set(failures "${failures}\n${CLI} contains the virtual flight controller")
endif()

if(failures)
  message(FATAL_ERROR "House rules broken:${failures}")
endif()
message(STATUS "layers and product linkage as they should be")
