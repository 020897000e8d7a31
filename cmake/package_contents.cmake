# Read by cpack for each generator: which install components go into which
# package. The .deb and the .rpm take their distributions' own layout
# instead of the plain manual pages and the licence texts among the
# documents, and their own program (CPACK_DATUM_PACKAGE_PROGRAM,
# cmake/packaging.cmake).
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL program package_program license debian)
elseif(CPACK_GENERATOR STREQUAL "RPM")
  set(CPACK_COMPONENTS_ALL program package_program rpm)
else()
  # The archives take what `cmake --install` installs.
  return()
endif()
include(${CPACK_DATUM_PACKAGE_PROGRAM_FILE})

# A dynamic program needs the C library of at least the newest version
# whose symbols it uses (rpmbuild finds that by itself); a static one uses
# none.
if(CPACK_GENERATOR STREQUAL "DEB")
  execute_process(COMMAND readelf --version-info --wide ${CPACK_DATUM_PACKAGE_PROGRAM}
    OUTPUT_VARIABLE versions COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "GLIBC_[0-9.]+" versions "${versions}")
  if(versions)
    list(TRANSFORM versions REPLACE "^GLIBC_" "")
    list(SORT versions COMPARE NATURAL ORDER DESCENDING)
    list(GET versions 0 newest)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= ${newest})")
  endif()
endif()

# The .rpm's License tag: datum's licence and those of the libraries
# linked into the program it carries.
if(CPACK_GENERATOR STREQUAL "RPM")
  # node is needed for packages alone (script/bootstrap release), not to
  # build the program.
  find_program(node node REQUIRED)
  execute_process(COMMAND ${node} ${CPACK_DATUM_LICENCE} ${CPACK_DATUM_PACKAGE_PROGRAM}
    OUTPUT_VARIABLE CPACK_RPM_PACKAGE_LICENSE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()
