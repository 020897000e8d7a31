# What every cross build for Linux shares, included by its toolchain file
# after it has set CMAKE_SYSTEM_PROCESSOR and `triple`, the GNU triple of
# Debian's cross toolchain (g++-TRIPLE: its C library, C++ runtime and
# binutils in /usr/TRIPLE). The toolchain's g++ compiles, unless the file
# has chosen clang with `set(compiler clang)`, which then builds for the
# triple against that same toolchain. The tests run under the platform's
# emulator (platforms.txt), which finds the libraries in /usr/TRIPLE.
set(CMAKE_SYSTEM_NAME Linux)

if(compiler STREQUAL "clang")
  set(CMAKE_C_COMPILER clang)
  set(CMAKE_C_COMPILER_TARGET ${triple})
  set(CMAKE_CXX_COMPILER clang++)
  set(CMAKE_CXX_COMPILER_TARGET ${triple})
else()
  set(CMAKE_C_COMPILER ${triple}-gcc)
  set(CMAKE_CXX_COMPILER ${triple}-g++)
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GoogleTest for the unit tests, built for the target from Debian's sources.
set(DATUM_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "")
