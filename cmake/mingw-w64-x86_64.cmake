# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Windows with Debian's mingw-w64, the posix-threads compilers
# (std::thread needs them). Only the cross toolchain's own headers and libraries are used.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PICORA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PICORA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PICORA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${PICORA_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PICORA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The tests run under Wine, in a Wine prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
