# The changelogs of the .deb and the .rpm, made from CHANGELOG.md, which is
# the one place for a release's date and text. Each released version
# ("## [1.1.0] - 2026-12-09"; not "Unreleased") becomes one entry of its
# date, its bullet points in the package's format and the headings between
# them left out, at noon UTC of its day. The newest must be VERSION, so
# that no package of a version goes out without its entry. Nothing depends
# on the time of the build.
#   cmake -DCHANGELOG=CHANGELOG.md -DVERSION=1.1.0 -DRPM_RELEASE=1 "-DMAINTAINER=Name <mail>"
#         -DDEBIAN=debian/changelog -DRPM=rpm-changelog -P package_changelogs.cmake

# Debian asks for lines of at most 80 characters; rpm's are kept alike.
set(width 80)

# datum_fold(VAR TEXT FIRST NEXT): TEXT as lines of at most `width`
# characters, between words, the first line begun with FIRST and every
# other with NEXT.
function(datum_fold var text first next)
  string(REGEX REPLACE "[ \t]+" " " text "${text}")
  string(STRIP "${text}" text)
  set(folded "")
  set(line "${first}")
  set(empty TRUE)
  while(NOT text STREQUAL "")
    string(REGEX MATCH "^[^ ]+" word "${text}")
    string(LENGTH "${word}" skip)
    string(SUBSTRING "${text}" ${skip} -1 text)
    string(STRIP "${text}" text)
    string(LENGTH "${line} ${word}" length)
    if(empty)
      string(APPEND line "${word}")
      set(empty FALSE)
    elseif(length GREATER width)
      string(APPEND folded "${line}\n")
      set(line "${next}${word}")
    else()
      string(APPEND line " ${word}")
    endif()
  endwhile()
  set(${var} "${folded}${line}\n" PARENT_SCOPE)
endfunction()

# datum_day_names(VAR DATE): "Www Mmm DD YYYY" of a date YYYY-MM-DD, as
# date(1) names it in the C locale; a date that is none stops the build.
function(datum_day_names var date)
  set(status 1)
  if(date MATCHES "^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$")
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C date -u -d "${date}" "+%a %b %d %Y"
      OUTPUT_VARIABLE names OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status ERROR_QUIET)
  endif()
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CHANGELOG}: '${date}' is no date (YYYY-MM-DD)")
  endif()
  set(${var} "${names}" PARENT_SCOPE)
endfunction()

# Markdown's code spans and links as plain text.
function(datum_plain var text)
  string(REPLACE "`" "" text "${text}")
  string(REGEX REPLACE "\\[([^]]*)\\]\\([^)]*\\)" "\\1" text "${text}")
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

file(READ "${CHANGELOG}" text)
set(debian "")
set(rpm "")
set(version "")
set(newest "")
set(number 0)
set(bullet "")
set(in_release FALSE)

# datum_end_bullet(): the bullet point read so far into both changelogs.
macro(datum_end_bullet)
  if(NOT bullet STREQUAL "")
    datum_plain(bullet "${bullet}")
    datum_fold(folded "${bullet}" "  * " "    ")
    string(APPEND debian "${folded}")
    # rpm expands macros in its changelog: a percent sign is written twice.
    string(REPLACE "%" "%%" bullet "${bullet}")
    datum_fold(folded "${bullet}" "- " "  ")
    string(APPEND rpm "${folded}")
    set(bullet "")
  endif()
endmacro()

# datum_end_version(): the entry of the version read so far ends.
macro(datum_end_version)
  datum_end_bullet()
  if(NOT version STREQUAL "")
    if(NOT has_bullets)
      message(FATAL_ERROR "${CHANGELOG}: [${version}] has no bullet point for the packages' changelogs")
    endif()
    string(APPEND debian "\n -- ${MAINTAINER}  ${debian_date}\n")
    set(version "")
  endif()
endmacro()

while(NOT text STREQUAL "")
  string(FIND "${text}" "\n" end)
  if(end EQUAL -1)
    set(line "${text}")
    set(text "")
  else()
    string(SUBSTRING "${text}" 0 ${end} line)
    math(EXPR end "${end} + 1")
    string(SUBSTRING "${text}" ${end} -1 text)
  endif()
  math(EXPR number "${number} + 1")

  if(line MATCHES "^## ")
    datum_end_version()
    if(line MATCHES "^## \\[Unreleased\\]")
      set(in_release FALSE)
    elseif(line MATCHES "^## \\[([0-9]+(\\.[0-9]+)+)\\] - ([^ ]+)$")
      set(version ${CMAKE_MATCH_1})
      set(date ${CMAKE_MATCH_3})
      datum_day_names(names "${date}")
      string(REGEX REPLACE "^([A-Za-z]+) ([A-Za-z]+) ([0-9]+) ([0-9]+)$" "\\1, \\3 \\2 \\4 12:00:00 +0000"
        debian_date "${names}")
      set(rpm_release ${RPM_RELEASE})
      if(NOT newest STREQUAL "")
        # Every earlier version went out as its first .rpm.
        set(rpm_release 1)
        string(APPEND debian "\n")
      else()
        set(newest ${version})
      endif()
      string(APPEND debian "datum (${version}) stable; urgency=medium\n\n")
      string(APPEND rpm "* ${names} ${MAINTAINER} - ${version}-${rpm_release}\n")
      set(in_release TRUE)
      set(has_bullets FALSE)
    else()
      message(FATAL_ERROR "${CHANGELOG}:${number}: '${line}' is neither '## [Unreleased]' "
        "nor a release as '## [1.1.0] - YYYY-MM-DD'")
    endif()
  elseif(NOT in_release OR line MATCHES "^### ")
    # Before the first release, the file's introduction and what is not
    # released yet; within one, the headings that group its points.
  elseif(line MATCHES "^[-*] (.*)$")
    datum_end_bullet()
    set(bullet "${CMAKE_MATCH_1}")
    set(has_bullets TRUE)
  elseif(line MATCHES "^[ \t]+[^ \t]" AND NOT bullet STREQUAL "")
    string(APPEND bullet " ${line}")
  elseif(line MATCHES "^[ \t]*$")
    datum_end_bullet()
  else()
    message(FATAL_ERROR "${CHANGELOG}:${number}: in [${version}], a line that is neither a heading nor "
      "part of a bullet point: the packages' changelogs take only bullet points")
  endif()
endwhile()
datum_end_version()

if(NOT newest STREQUAL "${VERSION}")
  if(newest STREQUAL "")
    set(newest "none")
  endif()
  message(FATAL_ERROR "${CHANGELOG} has no entry for version ${VERSION}, the version of the project() line "
    "(its newest release: ${newest}). A release needs its entry at the top: '## [${VERSION}] - YYYY-MM-DD'.")
endif()
file(WRITE "${DEBIAN}" "${debian}")
file(WRITE "${RPM}" "${rpm}")
