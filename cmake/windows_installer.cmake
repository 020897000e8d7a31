# Builds the Windows installer (.msi) of the files in a folder, those the
# zip holds, with wixl from msitools: packaging/windows/datum.wxs.in, with
# one <File> for each of them, the version, the publisher (who holds the
# copyright) and the description of the program's version resource.
#   cmake -DFILES=<folder> -DVERSION=1.1.0 -DPUBLISHER=<holder> -DOUTPUT=<file.msi> -P windows_installer.cmake
# The description as wixl reads it goes into <folder>.wxs, beside the folder.
# Two builds of one version give the same bytes: the product and package
# codes are name-based UUIDs of the version, and every time stamp is
# SOURCE_DATE_EPOCH, where it is set. Left to itself, wixl would write the
# time of the build into the summary information (so it runs under
# faketime), a random package code and the template of an English package
# (both of which msibuild sets anew), and the files' own times, in the
# local time zone, into the cabinet.
foreach(variable IN ITEMS FILES VERSION PUBLISHER OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "windows_installer.cmake: no -D${variable}")
  endif()
endforeach()
find_program(WIXL wixl REQUIRED)
find_program(MSIBUILD msibuild REQUIRED)
set(packaging ${CMAKE_CURRENT_LIST_DIR}/../packaging/windows)

file(STRINGS ${packaging}/version.rc.in resource REGEX "VALUE \"FileDescription\"")
string(REGEX REPLACE ".*\"FileDescription\", \"([^\"]*)\".*" "\\1" DESCRIPTION "${resource}")

# The codes are named in the namespace of the upgrade code, which names
# datum's installers for good.
file(READ ${packaging}/datum.wxs.in wxs)
string(REGEX MATCH "UpgradeCode=\"{([-0-9A-F]+)}\"" found "${wxs}")
string(UUID product_code NAMESPACE ${CMAKE_MATCH_1} NAME "product ${VERSION}" TYPE SHA1 UPPER)
string(UUID package_code NAMESPACE ${CMAKE_MATCH_1} NAME "package ${VERSION}" TYPE SHA1 UPPER)

# One <File> for each file of the folder, named by an identifier of its
# name (THIRD-PARTY-NOTICES.txt: THIRD_PARTY_NOTICES.txt). wixl finds
# them in the folder it runs in.
file(GLOB names RELATIVE ${FILES} ${FILES}/*)
list(SORT names)
set(files "")
foreach(name IN LISTS names)
  string(REPLACE "-" "_" id ${name})
  list(APPEND files "              <File Id=\"${id}\" Name=\"${name}\" Source=\"${name}\"/>")
endforeach()
list(JOIN files "\n" files)
configure_file(${packaging}/datum.wxs.in ${FILES}.wxs @ONLY)

set(faketime "")
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  find_program(FAKETIME faketime REQUIRED)
  # A clock that stands still: one that ran on from SOURCE_DATE_EPOCH
  # would give a slower build a later time.
  string(TIMESTAMP frozen "%Y-%m-%d %H:%M:%S" UTC)
  set(faketime ${FAKETIME} -f ${frozen})
  execute_process(COMMAND touch -d @$ENV{SOURCE_DATE_EPOCH} ${names} WORKING_DIRECTORY ${FILES}
    COMMAND_ERROR_IS_FATAL ANY)
endif()
file(REMOVE ${OUTPUT})
# wixl passes over what it does not know with a warning: that stops the
# build too.
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${faketime} ${WIXL} --arch x64 -o ${OUTPUT} ${FILES}.wxs
  WORKING_DIRECTORY ${FILES} RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR errors)
  message(FATAL_ERROR "wixl: ${errors}")
endif()
execute_process(COMMAND ${MSIBUILD} ${OUTPUT} -s datum "${PUBLISHER}" "x64;1031" "{${package_code}}"
  COMMAND_ERROR_IS_FATAL ANY)
