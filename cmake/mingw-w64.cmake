# SPDX-License-Identifier: GPL-2.0-or-later
# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 toolchain
# (g++-mingw-w64-x86-64-posix: the threads of the C++ library need the posix
# flavour), its zlib (libz-mingw-w64-dev) and pugixml, which Debian has no
# MinGW package of: scripts/windows.sh builds it statically from Debian's
# source package into the build folder's pugixml/. The programs are linked
# statically, so they run under Wine, or on Windows, without DLLs beside
# them; the tests run through wine64 (CMAKE_CROSSCOMPILING_EMULATOR) with a
# Wine prefix of their own in the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MOSWIT_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MOSWIT_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MOSWIT_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MOSWIT_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MOSWIT_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The static zlib, not the import library of zlib1.dll.
set(ZLIB_LIBRARY /usr/${MOSWIT_MINGW_TRIPLET}/lib/libz.a CACHE FILEPATH "zlib for Windows")
set(MOSWIT_WINDOWS_PUGIXML ${CMAKE_BINARY_DIR}/pugixml CACHE PATH "pugixml built for Windows")
set(pugixml_DIR ${MOSWIT_WINDOWS_PUGIXML}/lib/cmake/pugixml CACHE PATH "pugixml for Windows")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Test programs outgrow the object format's default section count.
set(CMAKE_CXX_FLAGS_INIT "-Wa,-mbig-obj")

find_program(MOSWIT_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(MOSWIT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
      ${MOSWIT_WINE})
endif()
