add_executable(tavlix_worker_bench ${CMAKE_CURRENT_LIST_DIR}/worker_bench.cpp)
target_link_libraries(tavlix_worker_bench PRIVATE tavlix_sim benchmark::benchmark tavlix_warnings)
