cmake_minimum_required(VERSION 3.25)
# tools/check for a user who cannot install (not root, no sudo) on a machine
# where only some packages are installed: for each case it must stop with
# status 3 before building anything and print the one apt-get line naming
# exactly the missing packages of its scope.
#
#   SOURCE_DIR, BASH, OUT (a scratch folder)
file(REMOVE_RECURSE ${OUT})
# Stand-ins: dpkg-query knows the packages in FAKE_INSTALLED, id says a
# user, and sudo asks for a password.
file(WRITE ${OUT}/bin/dpkg-query [[#!/bin/sh
for last; do :; done
for p in $FAKE_INSTALLED; do
  if [ "$p" = "$last" ]; then printf installed; exit 0; fi
done
exit 1
]])
file(WRITE ${OUT}/bin/id "#!/bin/sh\necho 1000\n")
file(WRITE ${OUT}/bin/sudo "#!/bin/sh\nexit 1\n")
file(CHMOD ${OUT}/bin/dpkg-query ${OUT}/bin/id ${OUT}/bin/sudo
     PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE)

set(quick "cmake ninja-build g++ libgtest-dev libmpfr-dev pkg-config python3-scikit-rf")
set(cross "clang libclang-rt-dev libbenchmark-dev g++-mingw-w64-x86-64 wine64 g++-aarch64-linux-gnu qemu-user-static")
# argument | installed | missing
set(cases
  "--quick|NONE|${quick}"
  "--quick|cmake ninja-build g++|libgtest-dev libmpfr-dev pkg-config python3-scikit-rf"
  "|${quick}|${cross}"
  "|NONE|${quick} ${cross}")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 argument)
  list(GET fields 1 installed)
  list(GET fields 2 missing)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env PATH=${OUT}/bin:$ENV{PATH} FAKE_INSTALLED=${installed}
            ${BASH} ${SOURCE_DIR}/tools/check ${argument}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(line "\n    apt-get update && apt-get install -y --no-install-recommends ${missing}\n")
  string(FIND "${err}" "tools/check: missing packages: ${missing}\n" at_head)
  string(FIND "${err}" "${line}" at_line)
  if(NOT result EQUAL 3 OR NOT at_head EQUAL 0 OR at_line EQUAL -1 OR NOT out STREQUAL "")
    message(SEND_ERROR "tools/check ${argument} with '${installed}' installed: status ${result}\n"
                       "stdout:\n${out}\nstderr:\n${err}\nexpected status 3 and the line${line}")
  endif()
endforeach()
file(REMOVE_RECURSE ${OUT})
