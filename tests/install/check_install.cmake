# Installs the build into a scratch DESTDIR with the default prefix /usr/local and checks the
# tree a pilot's system would get:
# - exactly the program, the udev rule, the desktop entry, the metainfo and three icons;
# - the rule outside the prefix, in udev's own rules directory, named to sort before the seat
#   rules (73-seat-late.rules) that turn TAG+="uaccess" into access for the logged-in user,
#   matching hidraw nodes of 0483:5750 in lower-case hex, and opening nothing to everyone;
# - the desktop entry passing desktop-file-validate, the metainfo passing
#   appstreamcli validate --no-net, both naming the same id, icon and version;
# - every icon a PNG of its directory's size.
# Run as: cmake -DBUILD_DIR=... -DSCRATCH=... -DUDEV_RULES_DIR=... -DAPP_ID=... -DVERSION=...
#         -P check_install.cmake

cmake_minimum_required(VERSION 3.16)

set(failures "")
macro(fail message)
  string(APPEND failures "\n  ${message}")
endmacro()

set(prefix /usr/local)
set(root "${SCRATCH}/root")
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${root}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${root} ${CMAKE_COMMAND} --install ${BUILD_DIR}
    --prefix ${prefix}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}\n${err}")
endif()

# The whole tree, exactly.
set(bin "${prefix}/bin/orvante")
set(rule "${UDEV_RULES_DIR}/70-orvante.rules")
set(desktop "${prefix}/share/applications/${APP_ID}.desktop")
set(metainfo "${prefix}/share/metainfo/${APP_ID}.metainfo.xml")
set(sizes 48 128 256)
set(expected ${bin} ${rule} ${desktop} ${metainfo})
foreach(size ${sizes})
  list(APPEND expected "${prefix}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
endforeach()
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${root}" "${root}/*")
list(TRANSFORM installed PREPEND "/")
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  fail("installed tree:\n    ${installed}\n  expected:\n    ${expected}")
endif()

# The program.
if(NOT EXISTS "${root}${bin}" OR IS_DIRECTORY "${root}${bin}")
  fail("no program at ${bin}")
else()
  execute_process(COMMAND test -x "${root}${bin}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    fail("${bin} is not executable")
  endif()
endif()

# The udev rule: where udev reads rules, not under the prefix.
if(NOT UDEV_RULES_DIR MATCHES "^/(usr/)?lib/udev/rules\\.d$")
  fail("udev rules directory ${UDEV_RULES_DIR} is not one udev reads")
endif()
get_filename_component(rule_name "${rule}" NAME)
if(NOT rule_name STRLESS "73-seat-late.rules")
  fail("${rule_name} does not sort before 73-seat-late.rules: uaccess would come too late")
endif()
if(EXISTS "${root}${rule}")
  file(STRINGS "${root}${rule}" rule_lines REGEX "^[^#]")
  list(LENGTH rule_lines rule_count)
  if(NOT rule_count EQUAL 1)
    fail("the rule file holds ${rule_count} rules, expected one:\n    ${rule_lines}")
  endif()
  foreach(key
      "KERNEL==\"hidraw\\*\""
      "ATTRS{idVendor}==\"0483\""
      "ATTRS{idProduct}==\"5750\""
      "TAG\\+=\"uaccess\"")
    if(NOT rule_lines MATCHES "(^|[ ,])${key}(,|$)")
      fail("the rule lacks ${key}: ${rule_lines}")
    endif()
  endforeach()
  # udev compares the attribute text: upper-case hex never matches the kernel's.
  if(rule_lines MATCHES "ATTRS{id(Vendor|Product)}==\"[^\"]*[A-F]")
    fail("upper-case hex in the rule: ${rule_lines}")
  endif()
  # Access goes to the seat's user, never to everyone.
  if(rule_lines MATCHES "MODE[:]?=\"?0?[0-7][0-7][2367]")
    fail("the rule opens the node to every user: ${rule_lines}")
  endif()
endif()

# The desktop entry.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(NOT DESKTOP_FILE_VALIDATE OR NOT APPSTREAMCLI)
  fail("desktop-file-validate and appstreamcli are needed (desktop-file-utils, appstream)")
endif()
if(DESKTOP_FILE_VALIDATE AND EXISTS "${root}${desktop}")
  execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} "${root}${desktop}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR out MATCHES "error" OR err MATCHES "error")
    fail("desktop-file-validate: ${out}${err}")
  endif()
  # Read whole: the values hold ";", which a CMake list would split.
  file(READ "${root}${desktop}" entry)
  string(PREPEND entry "\n")
  foreach(pattern
      "\nExec=orvante\n"
      "\nIcon=${APP_ID}\n"
      "\nCategories=[^\n]*(Utility|Engineering);"
      "\nKeywords=[^\n]"
      "\nKeywords\\[zh_CN\\]=[^\n]")
    if(NOT entry MATCHES "${pattern}")
      fail("desktop entry has no line matching ${pattern}")
    endif()
  endforeach()
endif()

# The metainfo.
if(APPSTREAMCLI AND EXISTS "${root}${metainfo}")
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --no-color "${root}${metainfo}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    fail("appstreamcli validate --no-net: ${out}${err}")
  endif()
  file(READ "${root}${metainfo}" xml)
  foreach(piece
      "<id>${APP_ID}</id>"
      "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
      "<modalias>usb:v0483p5750d*</modalias>"
      "<translation type=\"qt\">"
      "<release version=\"${VERSION}\""
      "<summary xml:lang=\"zh_CN\">"
      "<p xml:lang=\"zh_CN\">")
    string(FIND "${xml}" "${piece}" at)
    if(at EQUAL -1)
      fail("metainfo lacks ${piece}")
    endif()
  endforeach()
endif()

# The icons: PNG files whose header gives their directory's size.
foreach(size ${sizes})
  set(icon "${root}${prefix}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
  if(NOT EXISTS "${icon}")
    continue()
  endif()
  file(READ "${icon}" head LIMIT 24 HEX)
  string(SUBSTRING "${head}" 0 16 signature)
  string(SUBSTRING "${head}" 32 8 width_hex)
  string(SUBSTRING "${head}" 40 8 height_hex)
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  if(NOT signature STREQUAL "89504e470d0a1a0a")
    fail("${size}x${size} icon is not a PNG")
  elseif(NOT width EQUAL size OR NOT height EQUAL size)
    fail("${size}x${size} icon is ${width}x${height}")
  endif()
endforeach()

file(REMOVE_RECURSE "${SCRATCH}")
if(failures)
  message(FATAL_ERROR "Installed tree is wrong:${failures}")
endif()
message(STATUS "installed tree as it should be (rule in ${UDEV_RULES_DIR})")
