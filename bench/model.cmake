ferravane_bench(bench_model ${CMAKE_CURRENT_SOURCE_DIR}/bench_model.cpp)
target_link_libraries(bench_model PRIVATE ferravane_engine)
