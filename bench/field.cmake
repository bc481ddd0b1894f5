# The field solver: one solve of each kind of line, its losses and syntheses.
ferravane_bench(bench_field ${CMAKE_CURRENT_SOURCE_DIR}/bench_field.cpp)
target_link_libraries(bench_field PRIVATE ferravane_field)
