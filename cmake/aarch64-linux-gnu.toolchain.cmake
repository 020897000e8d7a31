# Linux on arm64, cross-compiled with clang against Debian's GNU cross
# toolchain (g++-aarch64-linux-gnu).
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(triple aarch64-linux-gnu)
set(compiler clang)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
