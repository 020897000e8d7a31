# One manual page as a package installs it (cmake/manual_text.cmake): with
# the version of the build, and for the npm package, which has no
# /usr/share/doc and no German page, with the package's SEE ALSO section.
#   -DPAGE=doc/datum.1 -DVERSION=1.1.0 [-DSEE_ALSO=packaging/npm/see-also.1] -DOUTPUT=man/datum.1
include(${CMAKE_CURRENT_LIST_DIR}/manual_text.cmake)
datum_manual_text("${PAGE}" "${VERSION}" "${SEE_ALSO}" "${OUTPUT}")
