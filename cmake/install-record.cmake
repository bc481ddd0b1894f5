# Runs inside `cmake --install` twice: before the files (FERRAVANE_RECORD_STEP
# "folders") and after them ("files"). It keeps in FERRAVANE_RECORD the
# folders the install made and the files it put in place, added to what an
# earlier install from the same build recorded, so that uninstalling after a
# second install still finds the folders the first one made. The environment
# variable FERRAVANE_INSTALL_RECORD, when set, names another record (tests);
# cpack's staging installs (FERRAVANE_PACKAGING set) are not recorded.
if(DEFINED ENV{FERRAVANE_PACKAGING})
  return()
endif()
if(DEFINED ENV{FERRAVANE_INSTALL_RECORD})
  set(FERRAVANE_RECORD "$ENV{FERRAVANE_INSTALL_RECORD}")
endif()
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

if(FERRAVANE_RECORD_STEP STREQUAL "folders")
  # Each destination and the parents up to the first folder that exists.
  set(FERRAVANE_MADE_FOLDERS "")
  foreach(destination IN LISTS FERRAVANE_DESTINATIONS)
    if(destination STREQUAL "")
      continue()
    elseif(IS_ABSOLUTE "${destination}")
      set(folder "$ENV{DESTDIR}${destination}")
    else()
      set(folder "${root}/${destination}")
    endif()
    cmake_path(NORMAL_PATH folder)
    string(REGEX REPLACE "(.)/$" "\\1" folder "${folder}")
    while(NOT EXISTS "${folder}")
      list(APPEND FERRAVANE_MADE_FOLDERS "${folder}")
      cmake_path(GET folder PARENT_PATH parent)
      if(parent STREQUAL folder)
        break()
      endif()
      set(folder "${parent}")
    endwhile()
  endforeach()
  return()
endif()

# The manifest lists the files without DESTDIR.
set(entries "")
if(EXISTS "${FERRAVANE_RECORD}")
  file(STRINGS "${FERRAVANE_RECORD}" entries)
endif()
foreach(folder IN LISTS FERRAVANE_MADE_FOLDERS)
  list(APPEND entries "folder ${folder}")
endforeach()
foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
  list(APPEND entries "file $ENV{DESTDIR}${file}")
endforeach()
list(REMOVE_DUPLICATES entries)
list(JOIN entries "\n" text)
file(WRITE "${FERRAVANE_RECORD}" "${text}\n")
