# Compiling datum to WebAssembly for WASI with clang, against Debian's
# wasi-libc and the wasm32 builds of libc++ and compiler-rt. The module
# runs in the JavaScript host of host/, under node and in a browser.
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
# CMake has no platform file for WASI; ours is in cmake/Platform.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})

set(triple wasm32-wasi)
set(CMAKE_C_COMPILER clang)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET ${triple})

# GNU ar writes no symbol index that wasm-ld can read; llvm-ar does, that
# of the version of clang (Debian's llvm, as platforms.txt names it).
find_program(CMAKE_AR NAMES llvm-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib REQUIRED)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# Its tests are the end-to-end and fault cases through the node command
# and the page in a browser; the unit tests run on the other platforms.
set(DATUM_UNIT_TESTS OFF CACHE BOOL "")
