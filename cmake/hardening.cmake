# How the programs are linked and hardened.
#
# With DATUM_STATIC (the default, and every release and package build),
# datum is one self-contained program, hardened as the platform's row of
# platforms.txt promises (its column hardening): the build adds each flag
# of the row, and stops if the compiler or its C library does not have
# one for the target, rather than leave the protection out. A WebAssembly
# module is linked statically by nature and runs in its host's sandbox;
# wasi-libc has no stack protector, so its row promises nothing.
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
  if(NOT platform)
    message(FATAL_ERROR "datum: ${CMAKE_SYSTEM_NAME}/${CMAKE_SYSTEM_PROCESSOR} has no row in platforms.txt that "
      "promises its hardening: add one, or configure with -DDATUM_STATIC=OFF")
  endif()
  datum_platform(${platform} hardening promised)
  include(CheckCXXCompilerFlag)
  include(CheckCXXSourceCompiles)
  include(CheckLinkerFlag)
  # The row's flags tried together first, in one compile and link: only
  # where that fails is each tried on its own below, which names the one
  # missing.
  set(compile_words ${promised})
  list(FILTER compile_words INCLUDE REGEX "^-[fmD]")
  set(link_words ${promised})
  list(FILTER link_words INCLUDE REGEX "^-(Wl,|static)")
  set(CMAKE_REQUIRED_LINK_OPTIONS ${link_words})
  if(WIN32)
    list(APPEND CMAKE_REQUIRED_LINK_OPTIONS ${compile_words})
  endif()
  list(JOIN compile_words " " CMAKE_REQUIRED_FLAGS)
  set(CMAKE_REQUIRED_FLAGS "-Werror -O2 -U_FORTIFY_SOURCE ${CMAKE_REQUIRED_FLAGS}")
  # A program that compiles only where the C library's headers fortify
  # at the promised level, if the row promises one.
  set(fortified "int main() { return 0; }")
  if(promised MATCHES "-D_FORTIFY_SOURCE=([0-9])")
    string(PREPEND fortified "#include <cstring>
      #ifdef __USE_FORTIFY_LEVEL
      static_assert(__USE_FORTIFY_LEVEL == ${CMAKE_MATCH_1});
      #else
      static_assert(__MINGW_FORTIFY_LEVEL == ${CMAKE_MATCH_1});
      #endif\n")
  endif()
  string(MD5 together "${promised}")
  check_cxx_source_compiles("${fortified}" DATUM_HAS_ALL_${together})
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  set(linker_words "")
  foreach(word IN LISTS promised)
    string(MAKE_C_IDENTIFIER "DATUM_HAS${word}" has_word)
    if(DATUM_HAS_ALL_${together} AND (word IN_LIST compile_words OR word IN_LIST link_words))
      set(${has_word} TRUE)
    endif()
    if(word MATCHES "^-D_FORTIFY_SOURCE=([0-9])$")
      # The C library's headers fortify at that level only where the
      # compiler has what it takes (level 3: gcc 12, clang 9), and only
      # with optimisation, so Debug builds go without.
      set(CMAKE_REQUIRED_FLAGS "-O2 -U_FORTIFY_SOURCE ${word}")
      check_cxx_source_compiles("${fortified}" ${has_word})
      add_compile_options(-U_FORTIFY_SOURCE "$<$<NOT:$<CONFIG:Debug>>:${word}>")
    elseif(word MATCHES "^-Wl,")
      check_linker_flag(CXX ${word} ${has_word})
      list(APPEND linker_words ${word})
    elseif(word MATCHES "^-(static|static-pie|pie)$")
      # -static-pie needs the C library's start file for it (rcrt1.o),
      # which not every one has (Debian 12's for armhf and riscv64 lack
      # it). Such a platform promises -static, a program that runs on any
      # Linux of its architecture at a fixed address, and -pie, a dynamic
      # PIE for the distributions' packages (datum_pie), whose systems
      # bring the C library, with the C++ runtime inside, so that it needs
      # nothing else.
      set(CMAKE_REQUIRED_LINK_OPTIONS ${word})
      check_cxx_source_compiles("int main() { return 0; }" ${has_word})
      unset(CMAKE_REQUIRED_LINK_OPTIONS)
      if(word STREQUAL "-pie")
        set(DATUM_PIE_LINK_OPTIONS -pie -static-libstdc++ -static-libgcc)
      else()
        list(APPEND DATUM_PROGRAM_LINK_OPTIONS ${word})
      endif()
    else()
      # clang only warns about a flag it does not use for the target.
      set(CMAKE_REQUIRED_FLAGS -Werror)
      check_cxx_compiler_flag(${word} ${has_word})
      add_compile_options(${word})
      # mingw-w64 takes the stack protector from GCC's libssp, which the
      # driver links only if the flag is given when linking too.
      if(WIN32 AND word MATCHES "^-fstack-protector")
        list(APPEND DATUM_PROGRAM_LINK_OPTIONS ${word})
      endif()
    endif()
    unset(CMAKE_REQUIRED_FLAGS)
    if(NOT ${has_word})
      message(FATAL_ERROR "platforms.txt promises ${word} for ${platform}, which ${CMAKE_CXX_COMPILER_ID} "
        "${CMAKE_CXX_COMPILER_VERSION} and its C library do not give ${CMAKE_SYSTEM_PROCESSOR}")
    endif()
  endforeach()
  list(APPEND DATUM_PROGRAM_LINK_OPTIONS ${linker_words})
  if(DATUM_PIE_LINK_OPTIONS)
    list(APPEND DATUM_PIE_LINK_OPTIONS ${linker_words})
  endif()
else()
  # Executables are linked as PIEs (-pie) only when this check has run.
  include(CheckPIESupported)
  check_pie_supported()
endif()
