# Installing: the program, the commented defaults file to copy into the
# folder the program is started in, the README, the licence and the manual
# page (compressed, as Debian ships them). The Windows ZIP holds the program,
# the defaults file, the README and the licence side by side.
include(GNUInstallDirs)

# FILE.gz beside FILE, built with the program: gzip -9n, no name or time
# stamp in the header, so the same bytes every build (as Debian asks).
if(NOT WIN32)
  find_program(FERRAVANE_GZIP gzip REQUIRED)
endif()
function(ferravane_gzip target file)
  add_custom_command(OUTPUT ${file}.gz
    COMMAND ${FERRAVANE_GZIP} -9nkf ${file}
    DEPENDS ${file} VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${file}.gz)
endfunction()

if(WIN32)
  set(FERRAVANE_DATA_DESTINATION .)
  set(FERRAVANE_DOC_DESTINATION .)
  set(FERRAVANE_BIN_DESTINATION .)
else()
  set(FERRAVANE_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/ferravane)
  set(FERRAVANE_DOC_DESTINATION ${CMAKE_INSTALL_DOCDIR})
  set(FERRAVANE_BIN_DESTINATION ${CMAKE_INSTALL_BINDIR})
  set(FERRAVANE_MAN_DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  ferravane_gzip(ferravane_man ${PROJECT_BINARY_DIR}/src/cli/ferravane.1)
endif()

# Where `cmake --install` keeps what it installed, for the uninstall target;
# cpack's own staging installs are not recorded.
set(FERRAVANE_INSTALL_RECORD ${PROJECT_BINARY_DIR}/install_record.txt)

# 1. Before any file: note the folders the install is about to make.
install(CODE "set(FERRAVANE_RECORD \"${FERRAVANE_INSTALL_RECORD}\")
  set(FERRAVANE_DESTINATIONS \"${FERRAVANE_BIN_DESTINATION};${FERRAVANE_DATA_DESTINATION};${FERRAVANE_DOC_DESTINATION};${FERRAVANE_MAN_DESTINATION}\")
  set(FERRAVANE_RECORD_STEP folders)")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/install-record.cmake)

# 2. The files.
install(TARGETS ferravane RUNTIME DESTINATION ${FERRAVANE_BIN_DESTINATION})
if(NOT WIN32)
  # A stripped install (--strip, the packages) also drops the compilers'
  # .comment and .note sections, as Debian's own packaging does.
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${FERRAVANE_BIN_DESTINATION}/$<TARGET_FILE_NAME:ferravane>\"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()")
endif()
install(FILES data/Ferravane.DEF DESTINATION ${FERRAVANE_DATA_DESTINATION})
install(FILES README.md LICENSE DESTINATION ${FERRAVANE_DOC_DESTINATION})
if(NOT WIN32)
  install(FILES ${PROJECT_BINARY_DIR}/src/cli/ferravane.1.gz DESTINATION ${FERRAVANE_MAN_DESTINATION})
endif()

# 3. After the files: the record of what this install put in place.
install(CODE "set(FERRAVANE_RECORD_STEP files)")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/install-record.cmake)

add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DRECORD=${FERRAVANE_INSTALL_RECORD} -P ${CMAKE_CURRENT_LIST_DIR}/uninstall.cmake
  COMMENT "Removing what cmake --install put in place" VERBATIM)
