# Checks the house rules of the source tree and of the product binary:
# - src/protocol includes only Qt Core (no widgets, no GUI, no hidapi, nothing of src/usb);
# - only src/usb includes <hidapi/hidapi.h>;
# - src/pages never includes src/usb;
# - `orvante` links the system's libhidapi-hidraw and contains nothing of the virtual controller.
# Run as: cmake -DSOURCE_DIR=... -DPRODUCT=... -P check_layers.cmake

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

scan_includes(src/protocol "#include[ \t]*[<\"](Qt(Widgets|Gui|Concurrent)|QWidget|QPainter|QImage|hidapi|usb/|pages/|app/)" "protocol reaches beyond Qt Core")
scan_includes(src/pages "#include[ \t]*[<\"](usb/|hidapi)" "a page reaches into the transport")
scan_includes(src/app "#include[ \t]*[<\"]hidapi" "hidapi outside src/usb")

execute_process(COMMAND ldd "${PRODUCT}" OUTPUT_VARIABLE ldd_out RESULT_VARIABLE ldd_rc)
if(NOT ldd_rc EQUAL 0 OR NOT ldd_out MATCHES "libhidapi-hidraw\\.so")
  set(failures "${failures}\n${PRODUCT} does not link libhidapi-hidraw.so:\n${ldd_out}")
endif()

execute_process(COMMAND nm -C "${PRODUCT}" OUTPUT_VARIABLE nm_out)
if(nm_out MATCHES "VirtualFC::")
  set(failures "${failures}\n${PRODUCT} contains the virtual flight controller")
endif()

if(failures)
  message(FATAL_ERROR "House rules broken:${failures}")
endif()
message(STATUS "layers and product linkage as they should be")
