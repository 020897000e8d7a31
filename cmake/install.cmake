# What `cmake --install` puts where. The install components let each
# package take its own share (cmake/package_contents.cmake).
include(GNUInstallDirs)

if(WIN32)
  # A Windows download is one folder: the program beside its documents.
  install(TARGETS datum RUNTIME DESTINATION . COMPONENT program)
  install(FILES README.md LICENSE DESTINATION . COMPONENT program)
else()
  install(TARGETS datum RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
  install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT program)
  install(FILES doc/datum.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT manual)

  # Debian's layout: the manual page and a changelog compressed, a
  # copyright file, and the lintian override for the static program. Only
  # the .deb takes these.
  set(debian_dir ${CMAKE_CURRENT_BINARY_DIR}/debian)
  configure_file(packaging/debian/changelog.in ${debian_dir}/changelog @ONLY)
  foreach(text IN ITEMS ${CMAKE_CURRENT_SOURCE_DIR}/doc/datum.1 ${debian_dir}/changelog)
    get_filename_component(name ${text} NAME)
    add_custom_command(OUTPUT ${debian_dir}/${name}.gz
      COMMAND gzip -9 -n -c ${text} > ${debian_dir}/${name}.gz
      DEPENDS ${text}
      VERBATIM)
    list(APPEND debian_compressed ${debian_dir}/${name}.gz)
  endforeach()
  add_custom_target(debian_compressed ALL DEPENDS ${debian_compressed})
  install(FILES ${debian_dir}/datum.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT debian EXCLUDE_FROM_ALL)
  install(FILES ${debian_dir}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)
  install(FILES packaging/debian/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)
  install(FILES packaging/debian/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME datum
    COMPONENT debian EXCLUDE_FROM_ALL)
endif()
