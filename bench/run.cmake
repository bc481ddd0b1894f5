# Rows of each table kind through their layouts, and the model-only sweep
# that bench/throughput compares the whole program against.
ferravane_bench(bench_rows ${CMAKE_CURRENT_SOURCE_DIR}/bench_rows.cpp)
target_link_libraries(bench_rows PRIVATE ferravane_run)

add_executable(sweep_model ${CMAKE_CURRENT_SOURCE_DIR}/sweep_model.cpp)
target_link_libraries(sweep_model PRIVATE ferravane_run ferravane_warnings)
