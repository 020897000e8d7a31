# Linux on 32-bit ARM with hardware floating point (Debian's armhf: ARMv7,
# Thumb-2, VFPv3-D16), as Raspberry Pi OS runs it from the Raspberry Pi 2
# on, with Debian's GNU cross toolchain (g++-arm-linux-gnueabihf).
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(triple arm-linux-gnueabihf)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
