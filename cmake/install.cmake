# What `cmake --install` puts where. The install components let each
# package take its own share (cmake/package_contents.cmake).
include(GNUInstallDirs)

# A static program carries the libraries it is linked with: the archives
# carry their notices and licence texts in one file, the .deb in its
# copyright file. The parts are put together when configuring; the
# versions of the libraries are filled in from the packages that the
# program was linked with (packaging/licence.mjs) by the target notices,
# which the release files need: it takes node and Debian's package
# database, which building and installing the program do not.
set(notices_dir ${CMAKE_CURRENT_SOURCE_DIR}/packaging/notices)
function(datum_join_texts output)
  string(REPEAT "-" 72 separator)
  set(text "")
  foreach(part IN LISTS ARGN)
    file(READ ${notices_dir}/${part} part_text)
    if(NOT text STREQUAL "")
      string(APPEND text "\n\n${separator}\n\n")
    endif()
    string(APPEND text "${part_text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${notices_dir}/${part})
  endforeach()
  file(WRITE ${output} "${text}")
endfunction()
# datum_fill_notices(PROGRAM TEMPLATE OUTPUT): OUTPUT is TEMPLATE with the
# versions of the libraries linked into PROGRAM.
find_program(DATUM_NODE node)
function(datum_fill_notices program template output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${DATUM_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/packaging/licence.mjs $<TARGET_FILE:${program}>
      ${template} ${output}
    DEPENDS ${program} ${template} packaging/licence.mjs packaging/libraries.mjs
    VERBATIM)
  set_property(DIRECTORY APPEND PROPERTY datum_notices ${output})
endfunction()
set(notices_file ${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES)
if(WIN32)
  set(notices_file ${notices_file}.txt)
  datum_join_texts(${notices_file}.in windows.txt licenses/ZPL-2.1 licenses/Lucent licenses/David-Gay
    licenses/Keith-Marshall licenses/GCC-exception-3.1 licenses/GPL-3)
else()
  datum_join_texts(${notices_file}.in linux.txt licenses/GCC-exception-3.1 licenses/LGPL-2.1 licenses/GPL-3)
endif()
datum_fill_notices(datum ${notices_file}.in ${notices_file})

if(WIN32)
  # A Windows download is one folder: the program beside what its users
  # read, with the manual pages as web pages, as Windows has no `man`.
  find_program(DATUM_MANDOC mandoc REQUIRED)
  foreach(page IN ITEMS datum datum.de)
    set(language en)
    if(page STREQUAL "datum.de")
      set(language de)
    endif()
    set(html ${CMAKE_CURRENT_BINARY_DIR}/${page}.html)
    set(see_also ${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows/see-also.${language}.1)
    add_custom_command(OUTPUT ${html}
      COMMAND ${CMAKE_COMMAND} -DMANDOC=${DATUM_MANDOC} -DPAGE=${CMAKE_CURRENT_SOURCE_DIR}/doc/${page}.1
        -DVERSION=${PROJECT_VERSION} -DSEE_ALSO=${see_also} -DLANGUAGE=${language} -DOUTPUT=${html}
        -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/manual_html.cmake
      DEPENDS doc/${page}.1 ${see_also} cmake/manual_html.cmake cmake/manual_text.cmake
      VERBATIM)
    list(APPEND manual_html ${html})
  endforeach()
  add_custom_target(manual_html ALL DEPENDS ${manual_html})
  install(TARGETS datum RUNTIME DESTINATION . COMPONENT program)
  install(FILES ${manual_html} README.md LIESMICH.md CHANGELOG.md LICENSE DESTINATION . COMPONENT program)
  if(DATUM_STATIC)
    install(FILES ${notices_file} DESTINATION . COMPONENT notices OPTIONAL)
  endif()
else()
  # The archives carry datum, the .deb and the .rpm DATUM_PACKAGE_PROGRAM
  # (cmake/package_contents.cmake), which is datum too where datum is a PIE.
  install(TARGETS datum RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT archive_program)
  install(TARGETS ${DATUM_PACKAGE_PROGRAM} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    COMPONENT package_program EXCLUDE_FROM_ALL)
  install(FILES README.md LIESMICH.md CHANGELOG.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT program)
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT license)
  if(DATUM_STATIC)
    install(FILES ${notices_file} DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT notices OPTIONAL)
  endif()
  # The manual pages with the version of the build in their footer
  # (cmake/manual_text.cmake), each in the folder it is installed in.
  set(manual_dir ${CMAKE_CURRENT_BINARY_DIR}/man)
  set(pages datum datum.de)
  set(folders man1 de/man1)
  foreach(page folder IN ZIP_LISTS pages folders)
    set(manual ${manual_dir}/${folder}/datum.1)
    add_custom_command(OUTPUT ${manual}
      COMMAND ${CMAKE_COMMAND} -DPAGE=${CMAKE_CURRENT_SOURCE_DIR}/doc/${page}.1 -DVERSION=${PROJECT_VERSION}
        -DOUTPUT=${manual} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/manual_page.cmake
      DEPENDS doc/${page}.1 cmake/manual_page.cmake cmake/manual_text.cmake
      VERBATIM)
    list(APPEND manuals ${manual})
    install(FILES ${manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/${folder} COMPONENT manual)
  endforeach()
  add_custom_target(manual_pages ALL DEPENDS ${manuals})

  # The layout of the distributions' packages: the manual pages compressed
  # (with no name or time in the gzip header), and for the .deb a
  # compressed changelog, a copyright file and the lintian override for the
  # static program, for the .rpm its changelog and the licence texts where
  # rpm systems keep them. Only the packages take these.
  set(compressed_dir ${CMAKE_CURRENT_BINARY_DIR}/compressed)
  set(debian_dir ${CMAKE_CURRENT_BINARY_DIR}/debian)
  # Who the packages name as their maintainer, in their control data and
  # their changelogs (cmake/packaging.cmake takes it from here): the
  # holders of the copyright, without the article.
  string(REGEX REPLACE "^the " "" maintainer "${DATUM_HOLDER}")
  set(DATUM_MAINTAINER "${maintainer} <datum@users.noreply.invalid>")
  # Both packages' changelogs, made from CHANGELOG.md, the .rpm's for cpack
  # (CPACK_RPM_CHANGELOG_FILE). The build stops if CHANGELOG.md has no
  # entry for this version.
  include(cmake/release_files.cmake)
  set(rpm_changelog ${CMAKE_CURRENT_BINARY_DIR}/rpm-changelog)
  add_custom_command(OUTPUT ${debian_dir}/changelog ${rpm_changelog}
    COMMAND ${CMAKE_COMMAND} -DCHANGELOG=${CMAKE_CURRENT_SOURCE_DIR}/CHANGELOG.md -DVERSION=${PROJECT_VERSION}
      -DRPM_RELEASE=${DATUM_RPM_RELEASE} -DMAINTAINER=${DATUM_MAINTAINER}
      -DDEBIAN=${debian_dir}/changelog -DRPM=${rpm_changelog}
      -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/package_changelogs.cmake
    DEPENDS CHANGELOG.md cmake/package_changelogs.cmake
    VERBATIM)
  # Each text, and where its compressed copy goes.
  set(texts
    ${manual_dir}/man1/datum.1 man/man1
    ${manual_dir}/de/man1/datum.1 man/de/man1
    ${debian_dir}/changelog doc)
  while(texts)
    list(POP_FRONT texts text folder)
    get_filename_component(name ${text} NAME)
    set(compressed ${compressed_dir}/${folder}/${name}.gz)
    add_custom_command(OUTPUT ${compressed}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${compressed_dir}/${folder}
      COMMAND gzip -9 -n -c ${text} > ${compressed}
      DEPENDS ${text}
      VERBATIM)
    list(APPEND compressed_texts ${compressed})
  endwhile()
  add_custom_target(package_texts ALL DEPENDS ${compressed_texts} ${rpm_changelog})
  foreach(package IN ITEMS debian rpm)
    install(FILES ${compressed_dir}/man/man1/datum.1.gz
      DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${package} EXCLUDE_FROM_ALL)
    install(FILES ${compressed_dir}/man/de/man1/datum.1.gz
      DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1 COMPONENT ${package} EXCLUDE_FROM_ALL)
  endforeach()
  install(FILES ${compressed_dir}/doc/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)
  file(READ ${notices_dir}/licenses/GCC-exception-3.1 exception_text)
  # Debian's copyright format: continuation lines start with a blank, and
  # an empty line is a full stop.
  string(REGEX REPLACE "\n\n" "\n.\n" exception_text "${exception_text}")
  string(REGEX REPLACE "\n" "\n " gcc_runtime_exception " ${exception_text}")
  # The year of the newest release in CHANGELOG.md, which the build holds
  # to be this version (cmake/package_changelogs.cmake).
  file(STRINGS CHANGELOG.md release REGEX "^## \\[[0-9.]+\\] - [0-9]+-" LIMIT_COUNT 1)
  string(REGEX REPLACE "^.* - ([0-9]+)-.*$" "\\1" release_year "${release}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/CHANGELOG.md)
    configure_file(packaging/debian/copyright.in ${debian_dir}/copyright.in @ONLY)
  datum_fill_notices(${DATUM_PACKAGE_PROGRAM} ${debian_dir}/copyright.in ${debian_dir}/copyright)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${notices_dir}/licenses/GCC-exception-3.1)
  install(FILES ${debian_dir}/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)
  # The overrides are for the static datum.
  if(DATUM_PACKAGE_PROGRAM STREQUAL "datum")
    install(FILES packaging/debian/lintian-overrides
      DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME datum
      COMPONENT debian EXCLUDE_FROM_ALL)
  endif()

  # rpm systems keep licence texts in /usr/share/licenses/NAME; the notices
  # of the libraries inside the program are licence texts too.
  set(licence_texts LICENSE)
  if(DATUM_STATIC)
    list(APPEND licence_texts ${notices_file})
  endif()
  install(FILES ${licence_texts}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/licenses/${PROJECT_NAME} COMPONENT rpm EXCLUDE_FROM_ALL)
endif()
get_property(notices DIRECTORY PROPERTY datum_notices)
add_custom_target(notices DEPENDS ${notices})
