# A configure that found no compiler must not spoil the next one: configures
# SOURCE_DIR in OUT/stale first with no PATH (the compiler COMPILER, a bare
# name, cannot be found, as on a machine without it), then as usual; the
# cache must then be the one a first configure in OUT/fresh makes.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT}/empty-path)
set(args -S ${SOURCE_DIR} -G Ninja -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM} -DCMAKE_CXX_COMPILER=${COMPILER}
    -DCMAKE_BUILD_TYPE=Release -DFERRAVANE_TESTS=OFF)

execute_process(COMMAND ${CMAKE_COMMAND} -E env PATH=${OUT}/empty-path ${CMAKE_COMMAND} ${args} -B ${OUT}/stale
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(result EQUAL 0)
  message(FATAL_ERROR "the configure without a compiler should have failed")
endif()
foreach(folder stale fresh)
  execute_process(COMMAND ${CMAKE_COMMAND} ${args} -B ${OUT}/${folder}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the configure in ${folder} failed (${result}):\n${out}")
  endif()
endforeach()

# The caches without comments, their own folder's name, and the path CMake
# found uname at (/bin or /usr/bin: the same file where /bin is a link).
foreach(folder stale fresh)
  file(STRINGS ${OUT}/${folder}/CMakeCache.txt lines REGEX "^[^#/]")
  list(FILTER lines EXCLUDE REGEX "^CMAKE_UNAME:")
  list(TRANSFORM lines REPLACE "${OUT}/${folder}" "BUILD")
  set(${folder} "${lines}")
endforeach()
foreach(line IN LISTS fresh)
  if(NOT line IN_LIST stale)
    message(SEND_ERROR "after the failed configure the cache lacks: ${line}")
  endif()
endforeach()
foreach(line IN LISTS stale)
  if(NOT line IN_LIST fresh)
    message(SEND_ERROR "after the failed configure the cache holds: ${line}")
  endif()
endforeach()
file(REMOVE_RECURSE ${OUT})
