# Read by cpack for each generator: which install components go into which
# package. The .deb takes Debian's own layout instead of the plain manual page.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL program debian)
endif()
