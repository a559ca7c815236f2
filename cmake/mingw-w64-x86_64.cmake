# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix threads).
# Pass the folder of a Qt built for this toolchain as CMAKE_PREFIX_PATH, and
# QT_HOST_PATH=/usr so that Debian's own moc, rcc and uic are used.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

# Libraries, headers and CMake packages come from the mingw sysroot and the
# given prefixes only, never from the Linux system; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Link the C and C++ runtimes and winpthreads in, so that no MinGW DLL has to
# travel with a program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Windows programs built here (tests included) run under Wine.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(WINE64_PROGRAM NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
    if(WINE64_PROGRAM)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE64_PROGRAM})
    endif()
endif()
