# Installs the build into a scratch DESTDIR with the default prefix /usr/local and checks the
# tree a pilot's system would get:
# - exactly the two programs, their manual pages, the command line's bash completion, the
#   copyright and changelog, the udev rule, the desktop entry, the metainfo and three icons;
# - the manual pages gzip files that man renders, the completion completing the command words,
#   the copyright machine-readable and naming the programs' and the fonts' licences;
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
set(cli "${prefix}/bin/orvante-cli")
set(manpages "${prefix}/share/man/man1/orvante.1.gz" "${prefix}/share/man/man1/orvante-cli.1.gz")
set(completion "${prefix}/share/bash-completion/completions/orvante-cli")
set(copyright "${prefix}/share/doc/orvante/copyright")
set(changelog "${prefix}/share/doc/orvante/changelog.gz")
set(rule "${UDEV_RULES_DIR}/70-orvante.rules")
set(desktop "${prefix}/share/applications/${APP_ID}.desktop")
set(metainfo "${prefix}/share/metainfo/${APP_ID}.metainfo.xml")
set(sizes 48 128 256)
set(expected ${bin} ${cli} ${manpages} ${completion} ${copyright} ${changelog} ${rule} ${desktop}
  ${metainfo})
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

# The programs.
foreach(program ${bin} ${cli})
  if(NOT EXISTS "${root}${program}" OR IS_DIRECTORY "${root}${program}")
    fail("no program at ${program}")
  else()
    execute_process(COMMAND test -x "${root}${program}" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      fail("${program} is not executable")
    endif()
  endif()
endforeach()

# The manual pages: gzip without a time stamp, rendered by man without a warning.
foreach(page ${manpages})
  if(EXISTS "${root}${page}")
    file(READ "${root}${page}" head LIMIT 8 HEX)
    if(NOT head MATCHES "^1f8b08.000000000")
      fail("${page} is not gzip without a time stamp: ${head}")
    endif()
    execute_process(COMMAND sh -c "man --warnings -l '${root}${page}' 2>&1 >/dev/null"
      OUTPUT_VARIABLE warnings RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0 OR warnings)
      fail("man ${page}: ${warnings}")
    endif()
  endif()
endforeach()

# The completion: completes the command words and the command's own options.
if(EXISTS "${root}${completion}" AND EXISTS /usr/share/bash-completion/bash_completion)
  foreach(case "orvante-cli fl|flash" "orvante-cli info --j|--json" "orvante-cli record --c|--csv")
    string(REPLACE "|" ";" case "${case}")
    list(GET case 0 line)
    list(GET case 1 want)
    string(LENGTH "${line}" point)
    execute_process(COMMAND bash -c
      "source /usr/share/bash-completion/bash_completion; source '${root}${completion}'; COMP_LINE='${line}'; COMP_POINT=${point}; read -ra COMP_WORDS <<< \"$COMP_LINE\"; COMP_CWORD=$((\${#COMP_WORDS[@]} - 1)); _orvante_cli; echo \"\${COMPREPLY[*]}\""
      OUTPUT_VARIABLE got OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0 OR NOT got STREQUAL want)
      fail("completion of '${line}' gives '${got}', expected '${want}'")
    endif()
  endforeach()
endif()

# The copyright: machine-readable, the programs under GPL-3.0+, the fonts under their own.
if(EXISTS "${root}${copyright}")
  file(READ "${root}${copyright}" text)
  foreach(piece
      "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
      "\nFiles: *\n" "\nLicense: GPL-3.0+\n" "\nLicense: OFL-1.1\n" "\nLicense: Apache-2.0\n"
      "/usr/share/common-licenses/GPL-3")
    string(FIND "${text}" "${piece}" at)
    if(at EQUAL -1)
      fail("copyright lacks ${piece}")
    endif()
  endforeach()
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
      "<project_license>GPL-3.0-or-later</project_license>"
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
