# Installs the build into PREFIX twice, as a second `cmake --install` over a
# first would, and checks the layout; then uninstalls and checks that exactly
# what the installs made is gone.
#
#   BUILD_DIR  the build folder         FILES       files the install must put in place
#   PREFIX     a scratch prefix         GZIPPED     those of FILES compressed with gzip -9n
#   PRESENT    folders under PREFIX that exist before (each gets a file of
#              another package); they and that file must survive
#   ADDED      a file someone adds after the install in a folder it made;
#              it and its folders must survive
#   RUN        the installed program, run with --version when given
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
foreach(folder IN LISTS PRESENT)
  file(WRITE ${PREFIX}/${folder}/other-package "not ours\n")
endforeach()
set(ENV{FERRAVANE_INSTALL_RECORD} ${PREFIX}.record)
file(REMOVE $ENV{FERRAVANE_INSTALL_RECORD})

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# 1. Install twice, stripped as the packages are.
foreach(round 1 2)
  run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} --strip)
endforeach()
foreach(f IN LISTS FILES)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# gzip -9n: no file name, no time stamp, maximum compression, so the same
# bytes from every build (the header's first nine bytes).
foreach(f IN LISTS GZIPPED)
  file(READ ${PREFIX}/${f} header LIMIT 9 HEX)
  if(NOT header STREQUAL "1f8b08000000000002")
    message(FATAL_ERROR "${f} is not compressed with gzip -9n: header ${header}")
  endif()
endforeach()
if(RUN)
  run("the installed ${RUN} --version" ${PREFIX}/${RUN} --version)
endif()

# 2. A file someone removed by hand is reported, not an error; one added by
# hand keeps its folder.
if(ADDED)
  file(WRITE ${PREFIX}/${ADDED} "added by hand\n")
endif()
list(GET FILES -1 removed_by_hand)
file(REMOVE ${PREFIX}/${removed_by_hand})
run("uninstall" ${CMAKE_COMMAND} --build ${BUILD_DIR} --target uninstall)
if(NOT out MATCHES "Already gone: [^\n]*${removed_by_hand}")
  message(FATAL_ERROR "uninstall did not report the missing ${removed_by_hand}:\n${out}")
endif()

# 3. Every file gone; every folder the install made gone; the folders that
# were there before kept, with what they hold.
foreach(f IN LISTS FILES)
  if(EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "left after uninstall: ${f}")
  endif()
  cmake_path(GET f PARENT_PATH folder)
  while(folder AND NOT folder IN_LIST PRESENT)
    string(FIND "${ADDED}" "${folder}/" at)
    if(NOT at EQUAL 0 AND EXISTS ${PREFIX}/${folder})
      message(FATAL_ERROR "folder left after uninstall: ${folder}")
    endif()
    cmake_path(GET folder PARENT_PATH folder)
  endwhile()
endforeach()
foreach(kept IN LISTS ADDED PRESENT)
  if(kept IN_LIST PRESENT)
    set(kept ${kept}/other-package)
  endif()
  if(NOT EXISTS ${PREFIX}/${kept})
    message(FATAL_ERROR "uninstall removed ${kept}, which it did not install")
  endif()
endforeach()

# 4. Nothing left to uninstall: said so, and a failure.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target uninstall
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(result EQUAL 0 OR NOT out MATCHES "Nothing to uninstall")
  message(FATAL_ERROR "a second uninstall should fail with 'Nothing to uninstall' (${result}):\n${out}")
endif()
file(REMOVE_RECURSE ${PREFIX})
