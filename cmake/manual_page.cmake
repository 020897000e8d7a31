# One manual page with the SEE ALSO section of a package, for the npm
# package, which has no /usr/share/doc and no German page.
#   -DPAGE=doc/datum.1 -DSEE_ALSO=packaging/npm/see-also.1 -DOUTPUT=man/datum.1
include(${CMAKE_CURRENT_LIST_DIR}/see_also.cmake)
datum_replace_see_also("${PAGE}" "${SEE_ALSO}" "${OUTPUT}")
