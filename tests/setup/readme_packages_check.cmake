# The README's set-up lines name the packages tools/check's table gives for
# each scope, so that the two cannot drift apart.
cmake_minimum_required(VERSION 3.25)
file(READ ${SOURCE_DIR}/README.md readme)
foreach(scope release quick all)
  execute_process(COMMAND ${BASH} ${SOURCE_DIR}/tools/check --packages ${scope}
                  RESULT_VARIABLE result OUTPUT_VARIABLE packages OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT result EQUAL 0 OR packages STREQUAL "")
    message(FATAL_ERROR "tools/check --packages ${scope} failed (${result})")
  endif()
  set(line "apt-get update && apt-get install -y --no-install-recommends ${packages}")
  string(FIND "${readme}" "    ${line}\n" at)
  if(at EQUAL -1)
    message(SEND_ERROR "README.md lacks the ${scope} line:\n    ${line}")
  endif()
endforeach()
