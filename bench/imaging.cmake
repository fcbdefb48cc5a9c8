# Picture conversions on a board-sized whiteboard picture, and the inputs for
# compare_peers.py, which runs the same conversions with other tools.
add_executable(tavlix_imaging_bench imaging_bench.cpp)
target_include_directories(tavlix_imaging_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tavlix_imaging_bench PRIVATE tavlix_imaging benchmark::benchmark_main tavlix_warnings)

add_executable(tavlix_bench_inputs bench_inputs.cpp)
target_include_directories(tavlix_bench_inputs PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tavlix_bench_inputs PRIVATE tavlix_imaging tavlix_warnings)
