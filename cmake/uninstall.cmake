# Removes what `cmake --install` put in place, from the record it keeps
# beside the build (cmake -DRECORD=FILE -P uninstall.cmake; the environment
# variable FERRAVANE_INSTALL_RECORD overrides RECORD): every file, then every
# folder the install made that is empty now, deepest first. A file already
# gone is reported, not an error; one that cannot be removed is, and the
# record is kept so that a second try can finish.
if(DEFINED ENV{FERRAVANE_INSTALL_RECORD})
  set(RECORD "$ENV{FERRAVANE_INSTALL_RECORD}")
endif()
if(NOT EXISTS "${RECORD}")
  message(FATAL_ERROR "Nothing to uninstall: no record of an install at ${RECORD}\n"
                      "(it is written by cmake --install from this build folder)")
endif()
file(STRINGS "${RECORD}" entries)

# 1. The files.
set(removed 0)
set(gone 0)
foreach(entry IN LISTS entries)
  if(NOT entry MATCHES "^file (.+)$")
    continue()
  endif()
  set(path "${CMAKE_MATCH_1}")
  if(EXISTS "${path}" OR IS_SYMLINK "${path}")
    file(REMOVE "${path}")
    if(EXISTS "${path}" OR IS_SYMLINK "${path}")
      message(FATAL_ERROR "Cannot remove ${path}")
    endif()
    message(STATUS "Removed: ${path}")
    math(EXPR removed "${removed} + 1")
  else()
    message(STATUS "Already gone: ${path}")
    math(EXPR gone "${gone} + 1")
  endif()
endforeach()

# 2. The folders the install made, deepest first, while empty; a folder that
# holds something else now is kept.
set(folders "")
foreach(entry IN LISTS entries)
  if(entry MATCHES "^folder (.+)$")
    list(APPEND folders "${CMAKE_MATCH_1}")
  endif()
endforeach()
list(SORT folders ORDER DESCENDING)
set(pruned 0)
foreach(folder IN LISTS folders)
  if(NOT IS_DIRECTORY "${folder}" OR IS_SYMLINK "${folder}")
    continue()
  endif()
  file(GLOB left LIST_DIRECTORIES true "${folder}/*" "${folder}/.*")
  if(left)
    message(STATUS "Kept, not empty: ${folder}")
    continue()
  endif()
  file(REMOVE_RECURSE "${folder}")
  if(EXISTS "${folder}")
    message(FATAL_ERROR "Cannot remove the folder ${folder}")
  endif()
  message(STATUS "Removed folder: ${folder}")
  math(EXPR pruned "${pruned} + 1")
endforeach()

file(REMOVE "${RECORD}")
message(STATUS "Uninstalled: ${removed} files and ${pruned} folders removed, ${gone} files already gone")
