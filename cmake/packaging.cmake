# CPack: the archives and distribution packages that the platform's row of
# platforms.txt names (a tarball, a .deb and an .rpm on Linux, a zip on
# Windows), each named by cmake/release_files.cmake; and the Windows
# installer (cmake/windows_installer.cmake).
set(CPACK_PACKAGE_NAME datum)
set(CPACK_PACKAGE_VENDOR "${DATUM_HOLDER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
# Archives take what `cmake --install` installs; the .deb takes the install
# components that cmake/package_contents.cmake names for it, in one file.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/cmake/package_contents.cmake)

include(cmake/release_files.cmake)
if(NOT platform)
  # A build for a system that platforms.txt does not list installs, but
  # makes no release files.
  return()
endif()
# The generators follow the kinds of file the platform releases; each
# file's name comes from cmake/release_files.cmake.
datum_platform(${platform} released kinds)
set(CPACK_GENERATOR "")
set(cpack_kinds tar.gz zip deb rpm)
set(cpack_generators TGZ ZIP DEB RPM)
foreach(kind generator IN ZIP_LISTS cpack_kinds cpack_generators)
  if(kind IN_LIST kinds)
    list(APPEND CPACK_GENERATOR ${generator})
  endif()
endforeach()
# The tarball and the zip each hold one folder named like them (cpack's
# default), so that unpacking one anywhere (unzip, 7-Zip's "extract here",
# tar -xf) gives that folder.
datum_archive_name(${platform} CPACK_PACKAGE_FILE_NAME)
if(NOT WIN32)
  datum_release_file(${platform} deb CPACK_DEBIAN_FILE_NAME)
  datum_platform(${platform} deb CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${DATUM_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The program the .deb and the .rpm carry, for cpack to read
  # (cmake/package_contents.cmake): static, or where datum is no PIE,
  # dynamic.
  set(CPACK_DATUM_PACKAGE_PROGRAM_FILE ${CMAKE_BINARY_DIR}/package-program.cmake)
  file(GENERATE OUTPUT ${CPACK_DATUM_PACKAGE_PROGRAM_FILE}
    CONTENT "set(CPACK_DATUM_PACKAGE_PROGRAM \"$<TARGET_FILE:${DATUM_PACKAGE_PROGRAM}>\")\n")
  set(linkage "The program is\nlinked statically and needs no library at run time.")
  if(NOT DATUM_PACKAGE_PROGRAM STREQUAL "datum")
    set(linkage "The program is\nlinked dynamically and needs no library but the C library.")
  endif()
  set(description "datum asks in German for a start date (Tag, Monat, Jahr) and a number of
days, steps through the calendar one day at a time while it announces the
length of February for every year it enters, and prints the resulting date.
Numbers may be hexadecimal (0x) or octal (leading 0); every line ends with a
carriage return and a line feed, as on a Windows console. ${linkage}")
  # cpack puts the summary above this as the synopsis line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${description}")

  # The .rpm, for dnf and zypper. Its License tag names datum's licence and
  # those of the libraries linked into the program it carries, found when
  # cpack runs (cmake/package_contents.cmake, packaging/licence.mjs). There
  # is no project web site; URL names the README that the package installs.
  set(CPACK_RPM_COMPONENT_INSTALL ON)
  datum_release_file(${platform} rpm CPACK_RPM_FILE_NAME)
  set(CPACK_RPM_PACKAGE_RELEASE ${DATUM_RPM_RELEASE})
  datum_platform(${platform} rpm CPACK_RPM_PACKAGE_ARCHITECTURE)
  set(CPACK_DATUM_LICENCE ${CMAKE_CURRENT_SOURCE_DIR}/packaging/licence.mjs)
  set(CPACK_RPM_PACKAGE_GROUP "Applications/Productivity")
  set(CPACK_RPM_PACKAGE_URL "file:///usr/share/doc/datum/README.md")
  set(CPACK_RPM_PACKAGE_DESCRIPTION "${description}")
  # Made from CHANGELOG.md by the build (cmake/install.cmake).
  set(CPACK_RPM_CHANGELOG_FILE ${rpm_changelog})
  # The package owns its own folders, not those of the system.
  set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION /usr/share/man /usr/share/man/man1 /usr/share/man/de
    /usr/share/man/de/man1 /usr/share/licenses)
  # The program is stripped when it is linked and the manual pages are
  # compressed by the build, so rpmbuild's own post-processing, which would
  # take the host's tools to an arm64 program, is left out.
  set(CPACK_RPM_SPEC_INSTALL_POST /bin/true)
  # Build time and host come from SOURCE_DATE_EPOCH and a fixed name, and
  # no file is newer than it, so that a rebuild gives the same bytes. The
  # static program needs no links for debugging symbols by its build id.
  set(CPACK_RPM_SPEC_MORE_DEFINE "%define use_source_date_epoch_as_buildtime 1
%define clamp_mtime_to_source_date_epoch 1
%define _buildhost reproducible
%define packager ${CPACK_DEBIAN_PACKAGE_MAINTAINER}
%define _build_id_links none")
  # Installed where it belongs, not elsewhere with --prefix.
  set(CPACK_PACKAGE_RELOCATABLE OFF)
endif()

# Every file gets the time SOURCE_DATE_EPOCH before it is packed.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/package_times.cmake)

include(CPack)

# The Windows installer holds what the zip holds: what `cmake --install`
# installs, into a folder of its own.
set(installer "")
if("msi" IN_LIST kinds)
  datum_release_file(${platform} msi msi)
  set(installer_files ${CMAKE_BINARY_DIR}/installer-files)
  add_custom_target(windows_installer
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${installer_files}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${installer_files}
    COMMAND ${CMAKE_COMMAND} -DFILES=${installer_files} -DVERSION=${PROJECT_VERSION} "-DPUBLISHER=${DATUM_HOLDER}"
      -DOUTPUT=${CMAKE_BINARY_DIR}/${msi}
      -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/windows_installer.cmake
    BYPRODUCTS ${CMAKE_BINARY_DIR}/${msi}
    VERBATIM)
  add_dependencies(windows_installer datum manual_html notices)
  set(installer ${CMAKE_BINARY_DIR}/${msi})
endif()

# Under fakeroot, archive entries are owned by root for whoever builds.
find_program(DATUM_FAKEROOT fakeroot)
if(NOT DATUM_FAKEROOT)
  set(DATUM_FAKEROOT "")
endif()
datum_release_target(COMMAND ${DATUM_FAKEROOT} ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  DEPENDS datum ${DATUM_PACKAGE_PROGRAM} notices ${installer})
