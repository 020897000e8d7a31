# One manual page as a web page for the Windows zip: with the version of
# the build, its SEE ALSO section replaced by one that names what the zip
# holds and of its examples those for Windows (cmake/manual_text.cmake),
# rendered by mandoc, marked with its language, and for German with the
# German name of its volume, which mandoc gives in English alone.
#   -DMANDOC=... -DPAGE=datum.1 -DVERSION=1.1.0 -DSEE_ALSO=... -DLANGUAGE=en -DOUTPUT=datum.html
include(${CMAKE_CURRENT_LIST_DIR}/manual_text.cmake)
set(source "${OUTPUT}.1")
datum_manual_text("${PAGE}" "${VERSION}" "${SEE_ALSO}" "${source}")
datum_windows_examples("${source}")
execute_process(COMMAND "${MANDOC}" -T html "${source}" OUTPUT_VARIABLE html RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "mandoc failed on ${source}")
endif()
# The page's own comments are for the roff source, not for the web page.
string(REGEX REPLACE "<!--[^>]*-->\n" "" html "${html}")
string(REPLACE "<html>" "<html lang=\"${LANGUAGE}\">" html "${html}")
if(NOT html MATCHES "<html lang=\"${LANGUAGE}\">")
  message(FATAL_ERROR "no <html> element in what mandoc made of ${PAGE}")
endif()
if(LANGUAGE STREQUAL "de")
  string(REPLACE ">General Commands Manual<" ">Allgemeine Befehle<" html "${html}")
endif()
file(WRITE "${OUTPUT}" "${html}")
