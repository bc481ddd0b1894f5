# Fails when the math library calls the C library's fma: a fused kernel
# left out of line, outside the entry points compiled for the instruction.
#   cmake -DNM=<nm> -DLIBRARY=<libferravane_math.a> -P check_no_library_fma.cmake
execute_process(COMMAND ${NM} -u ${LIBRARY} OUTPUT_VARIABLE undefined RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()
if(undefined MATCHES "(^|[ \n_])fmaf?l?\n")
  message(FATAL_ERROR "${LIBRARY} calls the C library's fma:\n${undefined}")
endif()
message(STATUS "no call of the C library's fma")
