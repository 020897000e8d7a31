# Cross-compiling for Linux on arm64 with clang, against the GNU cross
# toolchain's C library and C++ runtime (Debian: g++-aarch64-linux-gnu).
# The release program is static; the tests run under
# `qemu-aarch64 -L /usr/aarch64-linux-gnu`, which finds their libraries.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(triple aarch64-linux-gnu)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${triple})

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GoogleTest for the unit tests, built for the target from Debian's sources.
set(DATUM_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "")
