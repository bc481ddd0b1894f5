# Fails when a source folder includes a header of a folder above it. The
# layers, lowest first: platform and math (the correctly rounded elementary
# functions), textio, model and field (the 2-D solver), state, input and cli (the two front ends, which
# know nothing of each other), run.
#   cmake -DSRC=<src folder> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)
set(allowed_platform platform)
set(allowed_math math)
set(allowed_textio textio platform)
set(allowed_model model math)
set(allowed_field field math)
set(allowed_state state model math textio platform)
set(allowed_input input state model math textio platform)
set(allowed_cli cli model math textio platform)
set(allowed_run run cli input state model math textio platform)

file(GLOB_RECURSE sources RELATIVE ${SRC} ${SRC}/*.hpp ${SRC}/*.cpp ${SRC}/*.in)
set(faults "")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder "${source}")
  if(NOT DEFINED allowed_${folder})
    list(APPEND faults "${source}: folder '${folder}' has no place in the layers")
    continue()
  endif()
  file(STRINGS ${SRC}/${source} includes REGEX "^#include \"[^/\"]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^/\"]+)/.*" "\\1" target "${line}")
    if(NOT target IN_LIST allowed_${folder})
      list(APPEND faults "${source}: ${folder} must not include ${target} (${line})")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Includes against the layers:\n${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} sources, every include points down")
