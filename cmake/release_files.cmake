# The names of the release files, and the list of them that each package
# build leaves for script/release.
#
# Each kind of release file in the table of platforms (platforms.txt) has
# one name, made from the version and the platform's row:
#   tar.gz   datum-1.1.0-linux-x86_64.tar.gz  deb      datum_1.1.0_amd64.deb
#   rpm      datum-1.1.0-1.x86_64.rpm         zip      datum-1.1.0-windows-x64.zip
#   tgz      datum-1.1.0.tgz                  html     datum-1.1.0.html
#   web.zip  datum-1.1.0-web.zip             msi      datum-1.1.0-windows-x64.msi
include(${CMAKE_CURRENT_LIST_DIR}/platforms.cmake)

# The release of the .rpm of this version.
set(DATUM_RPM_RELEASE 1)

# datum_archive_name(PLATFORM VAR): the name of its tarball or zip, and of
# the one folder inside, without the ending.
function(datum_archive_name platform var)
  set(${var} datum-${PROJECT_VERSION}-${platform} PARENT_SCOPE)
endfunction()

# datum_release_file(PLATFORM KIND VAR): the name of one release file.
function(datum_release_file platform kind var)
  set(version ${PROJECT_VERSION})
  datum_archive_name(${platform} archive)
  if(kind STREQUAL "tar.gz")
    set(name ${archive}.tar.gz)
  elseif(kind STREQUAL "deb")
    datum_platform(${platform} deb architecture)
    set(name datum_${version}_${architecture}.deb)
  elseif(kind STREQUAL "rpm")
    datum_platform(${platform} rpm architecture)
    set(name datum-${version}-${DATUM_RPM_RELEASE}.${architecture}.rpm)
  elseif(kind STREQUAL "zip")
    set(name ${archive}.zip)
  elseif(kind STREQUAL "msi")
    set(name ${archive}.msi)
  elseif(kind STREQUAL "tgz")
    set(name datum-${version}.tgz)
  elseif(kind STREQUAL "html")
    set(name datum-${version}.html)
  elseif(kind STREQUAL "web.zip")
    set(name datum-${version}-web.zip)
  else()
    message(FATAL_ERROR "platforms.txt: ${platform} releases '${kind}', a kind of file that has no name here")
  endif()
  set(${var} ${name} PARENT_SCOPE)
endfunction()

# datum_release_target(MADE KIND FILE ... COMMAND ... DEPENDS ...): the
# target release_files, which makes every release file of this build's
# platform, and release-files.txt beside them, written when the build is
# configured, which names for script/release the version, datum's
# summary, each program (the platform's, and where that is no PIE,
# PLATFORM.pie, which the .deb and the .rpm carry instead) and each file
# with where it was made and the program it carries:
#   version 1.1.0
#   summary German console dialogue for date arithmetic
#   program linux-x86_64 /.../build/package/linux-x86_64/datum
#   file datum_1.1.0_amd64.deb /.../build/package/linux-x86_64/datum_1.1.0_amd64.deb linux-x86_64
# Each KIND FILE pair gives the file the build makes for a kind; a file
# without one is named as it is released, in the build folder.
function(datum_release_target)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "" "MADE;COMMAND;DEPENDS")
  datum_platform(${platform} released kinds)
  set(lines "version ${PROJECT_VERSION}\nsummary ${PROJECT_DESCRIPTION}\nprogram ${platform} $<TARGET_FILE:datum>\n")
  set(package_program ${platform})
  if(NOT DATUM_PACKAGE_PROGRAM STREQUAL "datum")
    set(package_program ${platform}.pie)
    string(APPEND lines "program ${package_program} $<TARGET_FILE:${DATUM_PACKAGE_PROGRAM}>\n")
  endif()
  foreach(kind IN LISTS kinds)
    datum_release_file(${platform} ${kind} name)
    set(made ${CMAKE_BINARY_DIR}/${name})
    list(FIND arg_MADE ${kind} at)
    if(NOT at EQUAL -1)
      math(EXPR at "${at} + 1")
      list(GET arg_MADE ${at} made)
    endif()
    set(program ${platform})
    if(kind MATCHES "^(deb|rpm)$")
      set(program ${package_program})
    endif()
    string(APPEND lines "file ${name} ${made} ${program}\n")
  endforeach()
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/release-files.txt CONTENT "${lines}")
  if(arg_COMMAND)
    add_custom_target(release_files COMMAND ${arg_COMMAND} DEPENDS ${arg_DEPENDS}
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR} VERBATIM)
  else()
    add_custom_target(release_files DEPENDS ${arg_DEPENDS})
  endif()
endfunction()
