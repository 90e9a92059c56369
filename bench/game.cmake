# The game's frame: update and recording, and the render pass's submission. Needs a display and data/.
# Run: cd build && xvfb-run -a bench/game_bench
add_executable(game_bench game_bench.cpp)
target_link_libraries(game_bench PRIVATE zk_harness benchmark::benchmark)
set_target_properties(game_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
# The collector's two allocation entry points, wrapped to count allocations per frame.
target_link_options(game_bench PRIVATE -Wl,--wrap=_Z15gc_object_alloci -Wl,--wrap=_ZN9gc_objectnwEm)
