# Field editing and field reading.
ferravane_bench(bench_textio ${CMAKE_CURRENT_SOURCE_DIR}/bench_textio.cpp)
target_link_libraries(bench_textio PRIVATE ferravane_textio)
