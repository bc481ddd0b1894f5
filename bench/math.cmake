# The project's exp, log, pow, cosh and atan against the C library's.
ferravane_bench(bench_math ${CMAKE_CURRENT_SOURCE_DIR}/bench_math.cpp)
target_link_libraries(bench_math PRIVATE ferravane_math)
