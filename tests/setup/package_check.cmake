# Builds the packages of BUILD_DIR with cpack into the scratch folder OUT and
# checks what each holds: every generator in GENERATORS must carry the files
# of its table, and the .deb what Debian asks of a package.
#
#   BUILD_DIR, OUT, VERSION   the build, a scratch folder, the project version
#   GENERATORS                TGZ, DEB, ZIP
#   LICENSE                   the repository's licence, which every package carries
#   GZIP, DPKG_DEB, READELF   tools (a check whose tool is missing is skipped)
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${result}):\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

function(fail what)
  message(FATAL_ERROR "${generator} package: ${what}")
endfunction()

# What each package must hold, beside its top folder (TGZ, ZIP) or root (DEB).
set(TGZ_files bin/ferravane share/ferravane/Ferravane.DEF share/doc/ferravane/README.md
    share/doc/ferravane/LICENSE share/man/man1/ferravane.1.gz)
set(DEB_files usr/bin/ferravane usr/share/ferravane/Ferravane.DEF usr/share/doc/ferravane/README.md
    usr/share/doc/ferravane/LICENSE usr/share/doc/ferravane/copyright
    usr/share/doc/ferravane/changelog.gz usr/share/man/man1/ferravane.1.gz
    usr/share/lintian/overrides/ferravane)
set(ZIP_files ferravane.exe Ferravane.DEF README.md LICENSE)
# Compressed as Debian asks: gzip -9n, no name and no time stamp in the header.
set(TGZ_gzipped share/man/man1/ferravane.1.gz)
set(DEB_gzipped usr/share/man/man1/ferravane.1.gz usr/share/doc/ferravane/changelog.gz)
set(ZIP_gzipped "")
set(TGZ_binary bin/ferravane)
set(DEB_binary usr/bin/ferravane)
set(ZIP_binary "")

foreach(generator IN LISTS GENERATORS)
  if(generator STREQUAL "DEB" AND NOT DPKG_DEB)
    message(STATUS "DEB: no dpkg-deb, not checked")
    continue()
  endif()
  # 1. The package, and its files unpacked.
  run(${CMAKE_CPACK_COMMAND} -G ${generator} -B ${OUT}/${generator} --config ${BUILD_DIR}/CPackConfig.cmake)
  file(GLOB package ${OUT}/${generator}/*.deb ${OUT}/${generator}/*.tar.gz ${OUT}/${generator}/*.zip)
  list(LENGTH package count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "${generator}: expected one package, got '${package}'")
  endif()
  set(root ${OUT}/${generator}/unpacked)
  file(MAKE_DIRECTORY ${root})
  if(generator STREQUAL "DEB")
    run(${DPKG_DEB} -x ${package} ${root})
  else()
    run(${CMAKE_COMMAND} -E chdir ${root} ${CMAKE_COMMAND} -E tar xf ${package})
    file(GLOB top LIST_DIRECTORIES true ${root}/*)
    set(root ${top})
  endif()

  # 2. The files of the table, and nothing installed elsewhere.
  file(GLOB_RECURSE held RELATIVE ${root} ${root}/*)
  list(SORT held)
  set(expected ${${generator}_files})
  list(SORT expected)
  if(NOT held STREQUAL expected)
    fail("holds\n  ${held}\nexpected\n  ${expected}")
  endif()

  # 3. Every package carries the repository's licence unchanged.
  list(FILTER held INCLUDE REGEX "(^|/)LICENSE$")
  file(SHA256 ${root}/${held} got)
  file(SHA256 ${LICENSE} want)
  if(NOT got STREQUAL want)
    fail("${held} differs from the repository's LICENSE")
  endif()

  foreach(f IN LISTS ${generator}_gzipped)
    file(READ ${root}/${f} header LIMIT 9 HEX)
    if(NOT header STREQUAL "1f8b08000000000002")
      fail("${f} is not compressed with gzip -9n: header ${header}")
    endif()
  endforeach()

  # 4. The program stripped: no symbol table.
  if(${generator}_binary AND READELF)
    run(${READELF} -S -W ${root}/${${generator}_binary})
    if(out MATCHES "\\.symtab|\\.comment")
      fail("${${generator}_binary} is not stripped")
    endif()
  endif()

  if(NOT generator STREQUAL "DEB")
    message(STATUS "${generator}: ${package} checked")
    continue()
  endif()
  # 5. The .deb: a maintainer with an address, a machine-readable copyright
  # file holding the licence, a changelog whose first entry is this version.
  run(${DPKG_DEB} -f ${package} Maintainer)
  if(NOT out MATCHES "^[^<\n]+ <[^@> ]+@[^> ]+>\n$")
    fail("maintainer without a name and an address: ${out}")
  endif()
  file(READ ${root}/usr/share/doc/ferravane/copyright copyright)
  file(READ ${LICENSE} licence)
  string(REGEX MATCH "Permission[^\n]*" first_line "${licence}")
  if(NOT copyright MATCHES "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     OR NOT copyright MATCHES "\nLicense: Expat\n ${first_line}\n")
    fail("copyright is not in the machine-readable form with the licence:\n${copyright}")
  endif()
  if(GZIP)
    run(${GZIP} -dc ${root}/usr/share/doc/ferravane/changelog.gz)
    if(NOT out MATCHES "^ferravane \\(${VERSION}\\) ")
      string(REGEX MATCH "^[^\n]*" first "${out}")
      fail("the changelog starts with '${first}', not version ${VERSION}")
    endif()
  endif()
  message(STATUS "${generator}: ${package} checked")
endforeach()
file(REMOVE_RECURSE ${OUT})
