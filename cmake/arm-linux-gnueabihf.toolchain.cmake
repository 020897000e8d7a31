# Linux on 32-bit ARM with hardware floating point (Debian's armhf: ARMv7,
# Thumb-2, VFPv3-D16), as Raspberry Pi OS runs it from the Raspberry Pi 2
# on, with Debian's GNU cross toolchain (g++-arm-linux-gnueabihf).
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(triple arm-linux-gnueabihf)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)

# The unit tests run on arm64 and s390x; here every end-to-end and fault
# case holds both programs to their bytes, at less cost to every check run.
set(DATUM_UNIT_TESTS OFF CACHE BOOL "")
