# Linux on x86-64, this machine's own platform, with clang, as the release
# is built. Not a cross build: the programs run here as they are.
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
