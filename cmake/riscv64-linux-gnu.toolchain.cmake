# Linux on 64-bit RISC-V (RV64GC, the lp64d ABI), with Debian's GNU cross
# toolchain (g++-riscv64-linux-gnu).
set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(triple riscv64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)

# The unit tests run on arm64 and s390x; here every end-to-end and fault
# case holds both programs to their bytes, at less cost to every check run.
set(DATUM_UNIT_TESTS OFF CACHE BOOL "")
