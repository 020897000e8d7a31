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

# datum_day_names(VAR DATE): "Www Mmm DD YYYY" of a date YYYY-MM-DD, the
# weekday counted from a Sunday (0) on the Gregorian calendar.
function(datum_day_names var date)
  string(REGEX MATCH "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$" valid "${date}")
  set(year ${CMAKE_MATCH_1})
  set(day ${CMAKE_MATCH_3})
  string(REGEX REPLACE "^0" "" month "${CMAKE_MATCH_2}")
  string(REGEX REPLACE "^0" "" day_number "${day}")
  set(lengths 31 28 31 30 31 30 31 31 30 31 30 31)
  if(valid AND month GREATER_EQUAL 1 AND month LESS_EQUAL 12)
    math(EXPR index "${month} - 1")
    list(GET lengths ${index} length)
    math(EXPR by_4 "${year} % 4")
    math(EXPR by_100 "${year} % 100")
    math(EXPR by_400 "${year} % 400")
    if(month EQUAL 2 AND by_4 EQUAL 0 AND (NOT by_100 EQUAL 0 OR by_400 EQUAL 0))
      set(length 29)
    endif()
  endif()
  if(NOT valid OR month LESS 1 OR month GREATER 12 OR day_number LESS 1 OR day_number GREATER length)
    message(FATAL_ERROR "${CHANGELOG}: '${date}' is no date (YYYY-MM-DD)")
  endif()
  # The weekday by Sakamoto's method: January and February count with the
  # year before, so that a leap day comes at the end of a year; each
  # month's offset is the weekday of its first day relative to March's.
  set(shifted_year ${year})
  if(month LESS 3)
    math(EXPR shifted_year "${year} - 1")
  endif()
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  list(GET offsets ${index} offset)
  math(EXPR weekday "(${shifted_year} + ${shifted_year} / 4 - ${shifted_year} / 100 + ${shifted_year} / 400 + ${offset} + ${day_number}) % 7")
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekdays ${weekday} weekday)
  list(GET months ${index} month)
  set(${var} "${weekday} ${month} ${day} ${year}" PARENT_SCOPE)
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
