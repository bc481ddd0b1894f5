# Packages: .tar.gz and .deb on Linux, .zip for Windows (cpack in the build
# folder). Every package holds the licence; the .deb adds what Debian asks of
# a package: a machine-readable copyright file, a compressed changelog, a
# stripped binary and a compressed manual page.
set(FERRAVANE_MAINTAINER "The Ferravane developers <ferravane@example.org>" CACHE STRING
    "Maintainer of the Debian package, a name and an address")

set(CPACK_PACKAGE_VENDOR "Stripline Design Tools")
set(CPACK_PACKAGE_CONTACT "${FERRAVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)
# Read by cpack for each generator: tells the install which one is staging.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack-options.cmake)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x64)
else()
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_SYSTEM_NAME linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${FERRAVANE_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  # The summary above is the first line; this is the extended description.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Ferravane computes stripline transmission lines: flat strips between two
ground planes in a homogeneous dielectric. Its dialog analyses a centred
strip (impedance, wavelengths, Q and losses over frequency, or the
sensitivities over width) or synthesises strip widths for a range of
impedances, in fixed-column tables and report files. Its command line gives
the same rows, and with a 2-D field solver edge-coupled pairs and strips off
centre, as aligned text, CSV, JSON or Touchstone files.")
  # Only the C and C++ runtimes; listed by hand so cross builds need no
  # dpkg-shlibdeps for the target.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1")
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  endif()

  # The copyright file in Debian's machine-readable form, its licence text
  # taken from LICENSE (from "Permission" on, each line indented by one
  # space, an empty line written " .").
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
  string(FIND "${licence}" "Permission" start)
  string(SUBSTRING "${licence}" ${start} -1 licence)
  string(STRIP "${licence}" licence)
  string(REGEX REPLACE "\n\n" "\n.\n" licence "${licence}")
  string(REPLACE "\n" "\n " licence "${licence}")
  set(FERRAVANE_LICENSE_BODY " ${licence}")
  set(debian_dir ${PROJECT_BINARY_DIR}/debian)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/copyright.in ${debian_dir}/copyright @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${debian_dir}/changelog @ONLY)
  ferravane_gzip(ferravane_changelog ${debian_dir}/changelog)
  # Only the .deb gets them: a staging install for it sets FERRAVANE_PACKAGING.
  install(CODE "if(\"\$ENV{FERRAVANE_PACKAGING}\" STREQUAL \"DEB\")
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${FERRAVANE_DOC_DESTINATION}\" TYPE FILE
         FILES \"${debian_dir}/copyright\" \"${debian_dir}/changelog.gz\")
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/lintian/overrides\" TYPE FILE
         FILES \"${PROJECT_SOURCE_DIR}/packaging/debian/lintian-overrides\" RENAME ferravane)
  endif()")
endif()
include(CPack)
