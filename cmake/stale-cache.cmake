# Included before project(). A configure that stopped before it identified
# the C++ compiler (none installed yet, say) leaves guesses in the cache that
# CMake never revisits once a compiler is there: empty compiler and linker
# flags (a release build without -O3 -DNDEBUG), an unknown executable format
# (installing then fails on the RPATH), a ranlib that does nothing, tools not
# found. Such a folder has a cache but no identified compiler; forget those
# guesses so that this configure makes them as a first one would.
if(EXISTS "${CMAKE_BINARY_DIR}/CMakeCache.txt"
   AND NOT EXISTS "${CMAKE_BINARY_DIR}/CMakeFiles/${CMAKE_VERSION}/CMakeCXXCompiler.cmake")
  get_cmake_property(cached CACHE_VARIABLES)
  foreach(entry IN LISTS cached)
    if(entry MATCHES "^(CMAKE_EXECUTABLE_FORMAT|CMAKE_RANLIB|_CMAKE_LINKER_PUSHPOP_STATE_SUPPORTED)$"
       OR (entry MATCHES "^CMAKE_.*_FLAGS(_[A-Z]+)?$" AND "$CACHE{${entry}}" STREQUAL "")
       OR "$CACHE{${entry}}" MATCHES "-NOTFOUND$")
      unset(${entry} CACHE)
    endif()
  endforeach()
endif()
