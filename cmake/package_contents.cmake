# Read by cpack for each generator: which install components go into which
# package. The .deb and the .rpm take their distributions' own layout
# instead of the plain manual pages and the licence texts among the
# documents.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL program license debian)
elseif(CPACK_GENERATOR STREQUAL "RPM")
  set(CPACK_COMPONENTS_ALL program rpm)
endif()
