# How the programs are linked and hardened.
#
# With DATUM_STATIC (the default, and every release and package build),
# datum is one self-contained program, hardened the way the release is
# reviewed: on Linux a static PIE, which runs on any Linux of its
# architecture and loads at a random address (where the C library cannot
# link a static PIE: a static program, and a dynamic PIE for the
# distributions' packages, both below), with full RELRO, the stack
# protector, fortified library calls, stack clash protection and the
# architecture's control-flow protection; on Windows a static .exe with the
# stack protector and fortified calls, which needs no DLL beyond KERNEL32,
# msvcrt and ADVAPI32, all part of Windows. A WebAssembly module is linked
# statically by nature and runs in its host's sandbox; wasi-libc has no
# stack protector, so it takes none of these flags.
#
# Without it, datum is a dynamic PIE built with nothing but the builder's
# own flags (CMAKE_CXX_FLAGS and CMAKE_EXE_LINKER_FLAGS, or CXXFLAGS and
# LDFLAGS), as a distribution builds it with its own hardening, or as a
# sanitizer needs it.
option(DATUM_STATIC "Link datum as one self-contained, hardened program (OFF: a dynamic PIE with the builder's own flags)" ON)

if(DATUM_STATIC AND "${CMAKE_CXX_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}" MATCHES "-fsanitize")
  message(FATAL_ERROR "A sanitizer needs a dynamic program: configure with -DDATUM_STATIC=OFF")
endif()

# Position-independent code would make a WebAssembly module one for dynamic
# linking, which no host of ours loads.
if(NOT WASI)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

# The link options of the programs that ship, for target_link_options:
# datum, and where it is not a PIE, datum_pie for the packages.
set(DATUM_PROGRAM_LINK_OPTIONS "")
set(DATUM_PIE_LINK_OPTIONS "")
if(WASI)
  # Nothing to add: see above.
elseif(DATUM_STATIC)
  if(WIN32)
    # The stack protector and fortified calls, from mingw-w64's libssp,
    # linked in: its random guard comes from ADVAPI32.dll, which is part of
    # every Windows like KERNEL32 and msvcrt. mingw-w64 fortifies to level
    # 2 at most. The linker's defaults give ASLR with high entropy and NX.
    add_compile_options(-fstack-protector-strong "$<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>")
    list(APPEND DATUM_PROGRAM_LINK_OPTIONS -static -fstack-protector-strong)
  else()
    add_compile_options(-fstack-protector-strong)
    # Level 3 checks sizes known only at run time; it needs gcc 12 or
    # clang 9, else level 2. It needs optimisation, so Debug builds go
    # without.
    set(fortify_level 2)
    if((CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12)
       OR (CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 9))
      set(fortify_level 3)
    endif()
    add_compile_options(-U_FORTIFY_SOURCE "$<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=${fortify_level}>")
    # Stack clash protection and the architecture's control-flow
    # protection, where the compiler has them for the target (clang 14 has
    # no stack clash protection for arm64).
    set(hardening_flags -fstack-clash-protection)
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
      list(APPEND hardening_flags -fcf-protection=full)
    elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
      list(APPEND hardening_flags -mbranch-protection=standard)
    endif()
    include(CheckCXXCompilerFlag)
    # clang only warns about a flag it does not use for the target.
    set(CMAKE_REQUIRED_FLAGS -Werror)
    # The flags taken, for the hardening check (tests/package/hardening.sh).
    set(DATUM_HARDENING_FLAGS "" CACHE INTERNAL "The stack clash and control-flow flags of the compiler for the target")
    foreach(flag IN LISTS hardening_flags)
      string(MAKE_C_IDENTIFIER "DATUM_HAS${flag}" has_flag)
      check_cxx_compiler_flag(${flag} ${has_flag})
      if(${has_flag})
        add_compile_options(${flag})
        set_property(CACHE DATUM_HARDENING_FLAGS APPEND PROPERTY VALUE ${flag})
      else()
        message(STATUS "datum: ${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION} has no ${flag} for ${CMAKE_SYSTEM_PROCESSOR}")
      endif()
    endforeach()
    unset(CMAKE_REQUIRED_FLAGS)
    # A static PIE needs the C library's start file for it (rcrt1.o), which
    # not every one has (Debian 12's for armhf and riscv64 lack it).
    include(CheckCXXSourceCompiles)
    set(CMAKE_REQUIRED_LINK_OPTIONS -static-pie)
    check_cxx_source_compiles("int main() { return 0; }" DATUM_HAS_STATIC_PIE)
    unset(CMAKE_REQUIRED_LINK_OPTIONS)
    if(DATUM_HAS_STATIC_PIE)
      list(APPEND DATUM_PROGRAM_LINK_OPTIONS -static-pie -Wl,-z,relro,-z,now)
    else()
      # Without it the program is static but not PIE, so that it still runs
      # on any Linux of its architecture, at a fixed address; its RELRO
      # segment is made read-only once the start code has relocated it.
      # The distributions' packages, whose systems bring the C library,
      # carry a dynamic PIE instead (datum_pie), hardened as the
      # distribution's own programs are, with the C++ runtime inside, so
      # that it needs nothing but the C library.
      list(APPEND DATUM_PROGRAM_LINK_OPTIONS -static -Wl,-z,relro,-z,now)
      set(DATUM_PIE_LINK_OPTIONS -pie -static-libstdc++ -static-libgcc -Wl,-z,relro,-z,now)
    endif()
  endif()
else()
  # Executables are linked as PIEs (-pie) only when this check has run.
  include(CheckPIESupported)
  check_pie_supported()
endif()
