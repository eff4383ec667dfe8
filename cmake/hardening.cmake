# Hardening of release builds (Release, RelWithDebInfo, MinSizeRel), the set Debian's
# dpkg-buildflags gives for hardening=+all:
#   -D_FORTIFY_SOURCE=2 (it needs the optimisation these build types have),
#   -fstack-protector-strong, -fstack-clash-protection, -fcf-protection (where the compiler
#   knows them), -Wl,-z,relro,-z,now, and PIE for every executable.
# A distribution that passes its own flags keeps them: a family of flags already named in
# CMAKE_<LANG>_FLAGS or CMAKE_EXE_LINKER_FLAGS (from CFLAGS, CXXFLAGS, LDFLAGS at the first
# configure, or on the command line) is not added again, and -DORVANTE_HARDENING=OFF adds none.
# Debian's debhelper configures with CMAKE_BUILD_TYPE=None, so its build takes dpkg-buildflags'
# flags alone; so do the sanitizer builds (.ci/configure-sanitized).
option(ORVANTE_HARDENING "Harden release builds (fortify, stack protector, RELRO, BIND_NOW)" ON)

include(CheckPIESupported)
check_pie_supported(OUTPUT_VARIABLE _pie_message LANGUAGES C CXX)
if(CMAKE_CXX_LINK_PIE_SUPPORTED)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
else()
  message(WARNING "PIE is not supported here: ${_pie_message}")
endif()

if(ORVANTE_HARDENING)
  include(CheckCXXCompilerFlag)
  include(CheckLinkerFlag)
  set(_release "$<OR:$<CONFIG:Release>,$<CONFIG:RelWithDebInfo>,$<CONFIG:MinSizeRel>>")
  set(_given "${CMAKE_C_FLAGS} ${CMAKE_CXX_FLAGS}")
  set(_given_link "${CMAKE_EXE_LINKER_FLAGS}")
  set(_added "")

  if(NOT _given MATCHES "_FORTIFY_SOURCE")
    add_compile_options("$<${_release}:-D_FORTIFY_SOURCE=2>")
    list(APPEND _added -D_FORTIFY_SOURCE=2)
  endif()
  foreach(_flag -fstack-protector-strong -fstack-clash-protection -fcf-protection)
    # -fstack-protector-strong and -fno-stack-protector are one family, and so on.
    string(REGEX REPLACE "^-f(.*protection|stack-protector).*$" "\\1" _family "${_flag}")
    string(MAKE_C_IDENTIFIER "ORVANTE_HAS${_flag}" _known)
    check_cxx_compiler_flag(${_flag} ${_known})
    if(${_known} AND NOT _given MATCHES "-f(no-)?${_family}")
      add_compile_options("$<${_release}:${_flag}>")
      list(APPEND _added ${_flag})
    endif()
  endforeach()
  if(NOT _given_link MATCHES "-z[, ]*(no)?(relro|now|lazy)")
    check_linker_flag(CXX "LINKER:-z,relro,-z,now" ORVANTE_HAS_RELRO_NOW)
    if(ORVANTE_HAS_RELRO_NOW)
      add_link_options("$<${_release}:LINKER:-z,relro,-z,now>")
      list(APPEND _added -Wl,-z,relro,-z,now)
    endif()
  endif()
  list(JOIN _added " " _added)
  message(STATUS "Release builds hardened with: ${_added}")
endif()
