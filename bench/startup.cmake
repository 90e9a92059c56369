# Start-up, loading and a game's start: time since exec, resident memory per art scale, the longest update
# when a game starts. Needs a display and data/: cd build && xvfb-run -a bench/startup_bench W H
add_executable(startup_bench startup_bench.cpp)
target_link_libraries(startup_bench PRIVATE zk_harness)
set_target_properties(startup_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
