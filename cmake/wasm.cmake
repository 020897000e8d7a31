# The WebAssembly build: datum.wasm, made resumable at its one read; the
# node command around it, staged as an npm package in build/.../npm and
# packed into datum-VERSION.tgz by the target npm_tarball; and the page,
# datum.html.

# A page can hand the program its input only asynchronously, when the user
# has typed a line, while the program's read is a plain call. Asyncify
# (binaryen's wasm-opt) lets the host unwind the program out of a read that
# has to wait and rewind it into the same call once input is there. Only
# the fd_read import may do this, so the rest of the module stays as it is.
find_program(DATUM_WASM_OPT wasm-opt REQUIRED)
add_custom_command(TARGET datum POST_BUILD
  COMMAND ${DATUM_WASM_OPT} -O2 --asyncify
    --pass-arg=asyncify-imports@wasi_snapshot_preview1.fd_read
    $<TARGET_FILE:datum> -o $<TARGET_FILE:datum>
  COMMENT "Making the module's read resumable"
  VERBATIM)

include(cmake/release_files.cmake)
set(npm_dir ${CMAKE_BINARY_DIR}/npm)
find_program(DATUM_NODE node REQUIRED)

# The notices of the module's libraries, with the versions of the packages
# that it was linked with (packaging/licence.mjs).
set(notices ${CMAKE_BINARY_DIR}/THIRD-PARTY-NOTICES)
add_custom_command(OUTPUT ${notices}
  COMMAND ${DATUM_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/packaging/licence.mjs $<TARGET_FILE:datum>
    ${CMAKE_CURRENT_SOURCE_DIR}/packaging/notices/wasm.txt ${notices}
  DEPENDS datum packaging/notices/wasm.txt packaging/licence.mjs packaging/libraries.mjs
  VERBATIM)

# Each file of the package, its mode, and where it comes from.
set(npm_files
  bin/datum.mjs 0755 ${CMAKE_CURRENT_SOURCE_DIR}/host/node/datum.mjs
  lib/datum_host.mjs 0644 ${CMAKE_CURRENT_SOURCE_DIR}/host/datum_host.mjs
  lib/datum.wasm 0644 $<TARGET_FILE:datum>
  README.md 0644 ${CMAKE_CURRENT_SOURCE_DIR}/README.md
  LIESMICH.md 0644 ${CMAKE_CURRENT_SOURCE_DIR}/LIESMICH.md
  CHANGELOG.md 0644 ${CMAKE_CURRENT_SOURCE_DIR}/CHANGELOG.md
  LICENSE 0644 ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE
  THIRD-PARTY-NOTICES 0644 ${notices})
set(staged "")
while(npm_files)
  list(POP_FRONT npm_files name mode source)
  add_custom_command(OUTPUT ${npm_dir}/${name}
    COMMAND install -D -m ${mode} ${source} ${npm_dir}/${name}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND staged ${npm_dir}/${name})
endwhile()
# The English manual page, with the version of the build and a SEE ALSO
# that names what the package holds: npm links man pages by section only,
# so a German page would take the English one's place.
set(npm_see_also ${CMAKE_CURRENT_SOURCE_DIR}/packaging/npm/see-also.1)
add_custom_command(OUTPUT ${npm_dir}/man/datum.1
  COMMAND ${CMAKE_COMMAND} -DPAGE=${CMAKE_CURRENT_SOURCE_DIR}/doc/datum.1 -DVERSION=${PROJECT_VERSION}
    -DSEE_ALSO=${npm_see_also} -DOUTPUT=${npm_dir}/man/datum.1 -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/manual_page.cmake
  DEPENDS doc/datum.1 ${npm_see_also} cmake/manual_page.cmake cmake/manual_text.cmake
  VERBATIM)
list(APPEND staged ${npm_dir}/man/datum.1)
# package.json's "files" names exactly the staged files, so that npm packs
# these and nothing else the folder may come to hold.
set(DATUM_NPM_FILES "")
foreach(file IN LISTS staged)
  file(RELATIVE_PATH name ${npm_dir} ${file})
  list(APPEND DATUM_NPM_FILES ${name})
endforeach()
list(JOIN DATUM_NPM_FILES "\",\n    \"" DATUM_NPM_FILES)
# Its "license" is datum's licence and those of the libraries linked into
# the module, found once the module is linked (packaging/licence.mjs).
set(LICENCE @LICENCE@)
configure_file(host/node/package.json.in ${npm_dir}/package.json.in @ONLY)
add_custom_command(OUTPUT ${npm_dir}/package.json
  COMMAND ${DATUM_NODE} ${CMAKE_CURRENT_SOURCE_DIR}/packaging/licence.mjs $<TARGET_FILE:datum>
    ${npm_dir}/package.json.in ${npm_dir}/package.json
  DEPENDS datum ${npm_dir}/package.json.in packaging/licence.mjs packaging/libraries.mjs
  VERBATIM)
list(APPEND staged ${npm_dir}/package.json)
add_custom_target(node_command ALL DEPENDS ${staged})

# npm sets every file's time in the archive to one fixed date, so the
# tarball depends only on the files and their modes.
datum_release_file(${platform} tgz npm_tarball)
set(npm_tarball ${CMAKE_BINARY_DIR}/${npm_tarball})
find_program(DATUM_NPM npm)
add_custom_command(OUTPUT ${npm_tarball}
  COMMAND ${CMAKE_COMMAND} -E env npm_config_cache=${CMAKE_BINARY_DIR}/npm-cache
    npm_config_update_notifier=false npm_config_fund=false
    ${DATUM_NPM} pack --ignore-scripts --pack-destination ${CMAKE_BINARY_DIR}
  WORKING_DIRECTORY ${npm_dir}
  DEPENDS ${staged}
  VERBATIM)
add_custom_target(npm_tarball DEPENDS ${npm_tarball})

# The page: one self-contained HTML file with the module, the host and the
# page's own script, its ES modules bundled by esbuild. The build writes a
# dependency file of every file esbuild and it read, so nothing here lists
# the page's sources.
find_program(DATUM_ESBUILD esbuild REQUIRED)
set(page_build ${CMAKE_COMMAND} -E env ESBUILD=${DATUM_ESBUILD} ${DATUM_NODE})
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/datum.html
  COMMAND ${page_build} ${CMAKE_CURRENT_SOURCE_DIR}/host/page/build.mjs
    $<TARGET_FILE:datum> ${CMAKE_BINARY_DIR}/datum.html ${PROJECT_VERSION}
    ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE ${notices}
  DEPENDS datum ${notices}
  DEPFILE ${CMAKE_BINARY_DIR}/datum.html.d
  VERBATIM)
add_custom_target(page ALL DEPENDS ${CMAKE_BINARY_DIR}/datum.html)

# The web site: the page as index.html with its web app manifest, service
# worker and icons, for any static web host. The icons are drawn once, in
# icon.svg, and rendered by site.mjs with rsvg-convert.
find_program(DATUM_RSVG_CONVERT rsvg-convert REQUIRED)
set(site_build ${CMAKE_COMMAND} -E env ESBUILD=${DATUM_ESBUILD} RSVG_CONVERT=${DATUM_RSVG_CONVERT} ${DATUM_NODE})
set(site_dir ${CMAKE_BINARY_DIR}/site)
# datum_site(FOLDER VERSION [NOTICES]): builds the site into FOLDER, as of
# VERSION, its page with the notices of the module's libraries or those of
# NOTICES; FOLDER.d names what it is made of.
function(datum_site folder version)
  if(ARGC GREATER 2)
    set(notices ${ARGV2})
  endif()
  add_custom_command(OUTPUT ${folder}/index.html
    COMMAND ${site_build} ${PROJECT_SOURCE_DIR}/host/page/site.mjs
      $<TARGET_FILE:datum> ${version} ${PROJECT_SOURCE_DIR}/LICENSE ${notices} ${folder}
    DEPENDS datum ${notices}
    DEPFILE ${folder}.d
    VERBATIM)
endfunction()
datum_site(${site_dir} ${PROJECT_VERSION})
add_custom_target(site ALL DEPENDS ${site_dir}/index.html)
# The browser test puts the site of another release in this one's place,
# and the same release built again with one file changed: its page shows
# the licence where the notices belong.
if(BUILD_TESTING)
  datum_site(${CMAKE_BINARY_DIR}/other-release/site ${PROJECT_VERSION}-other)
  datum_site(${CMAKE_BINARY_DIR}/rebuilt/site ${PROJECT_VERSION} ${PROJECT_SOURCE_DIR}/LICENSE)
  add_custom_target(test_sites ALL
    DEPENDS ${CMAKE_BINARY_DIR}/other-release/site/index.html ${CMAKE_BINARY_DIR}/rebuilt/site/index.html)
endif()

# The site as a zip file with one folder, datum/, for the release: every
# entry with the time SOURCE_DATE_EPOCH and nothing of who packed it.
datum_release_file(${platform} web.zip site_zip)
set(site_zip ${CMAKE_BINARY_DIR}/${site_zip})
add_custom_command(OUTPUT ${site_zip}
  COMMAND ${CMAKE_COMMAND} -DSITE=${site_dir} -DZIP=${site_zip} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/zip_site.cmake
  DEPENDS ${site_dir}/index.html ${CMAKE_CURRENT_SOURCE_DIR}/cmake/zip_site.cmake
  VERBATIM)
add_custom_target(site_zip DEPENDS ${site_zip})

# The release files: the npm package, the page (built as datum.html) and
# the web site's zip.
datum_release_target(MADE html ${CMAKE_BINARY_DIR}/datum.html DEPENDS npm_tarball page site_zip)
