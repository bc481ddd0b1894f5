# Fails when a source folder includes a header of a folder above it. The
# layers, lowest first: platform and math (the correctly rounded elementary
# functions), network (S-parameters of line sections, on math), textio,
# model and field (the 2-D solver), engine (whole rows of a line, from
# either), state, input and cli (the two front ends, which know nothing of
# each other), run. A private header may be included only by the folders
# listed for it.
#   cmake -DSRC=<src folder> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)
set(allowed_platform platform)
set(allowed_math math)
set(allowed_network network math)
set(allowed_textio textio platform)
set(allowed_model model math)
set(allowed_field field math)
set(allowed_engine engine model field math)
set(allowed_state state model math textio platform)
set(allowed_input input state model math textio platform)
set(allowed_cli cli engine network model math textio platform)
set(allowed_run run cli input state engine network model math textio platform)

# The model's parts: the row engine alone puts them together.
set(private_headers model/parts.hpp)
set(private_model/parts.hpp model engine)

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
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    if(header IN_LIST private_headers AND NOT folder IN_LIST private_${header})
      list(APPEND faults "${source}: ${folder} must not include ${header}, private to ${private_${header}}")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Includes against the layers:\n${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} sources, every include points down")
