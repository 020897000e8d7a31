# Linux on s390x, a big-endian machine, with Debian's GNU cross toolchain
# (g++-s390x-linux-gnu). It exists for the tests, so that the code for the
# other byte order runs somewhere. The program is linked dynamically, with
# nothing but the builder's flags: nothing is released for it.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(triple s390x-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)

set(DATUM_STATIC OFF CACHE BOOL "")
