# Cross-compiling for Linux on s390x, a big-endian machine, with Debian's
# GNU cross toolchain (g++-s390x-linux-gnu). It exists for the tests, so
# that the code for the other byte order runs somewhere: they run under
# `qemu-s390x -L /usr/s390x-linux-gnu`, which finds their libraries. The
# program is linked dynamically, as that C library has no start file for a
# static PIE.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)

set(triple s390x-linux-gnu)
set(CMAKE_C_COMPILER ${triple}-gcc)
set(CMAKE_CXX_COMPILER ${triple}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(DATUM_STATIC OFF CACHE BOOL "")
# GoogleTest for the unit tests, built for the target from Debian's sources.
set(DATUM_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "")
