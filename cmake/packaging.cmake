# CPack: a tarball and a .deb on Linux, a zip on Windows, each named by the
# version and the platform.
set(CPACK_PACKAGE_NAME datum)
set(CPACK_PACKAGE_VENDOR "the datum authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "German console dialogue for date arithmetic")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
# Archives take what `cmake --install` installs; the .deb takes the install
# components that cmake/package_contents.cmake names for it, in one file.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/cmake/package_contents.cmake)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME datum-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
    set(platform arm64)
    set(debian_architecture arm64)
  else()
    set(platform x86_64)
    set(debian_architecture amd64)
  endif()
  set(CPACK_GENERATOR "TGZ;DEB")
  set(CPACK_PACKAGE_FILE_NAME datum-${PROJECT_VERSION}-linux-${platform})

  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${debian_architecture})
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "datum authors <datum@users.noreply.invalid>")
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # cpack puts the summary above this as the synopsis line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "datum asks in German for a start date (Tag, Monat, Jahr) and a number of
days, steps through the calendar one day at a time while it announces the
length of February for every year it enters, and prints the resulting date.
Numbers may be hexadecimal (0x) or octal (leading 0); every line ends with a
carriage return and a line feed, as on a Windows console. The program is
linked statically and needs no library at run time.")
endif()

include(CPack)
