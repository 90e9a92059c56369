# Whole frames through the graphics module and the renderer, with draw calls per frame as a counter.
# Needs a display. Run: xvfb-run -a build/bench/graphics_bench (from the source folder or anywhere).
add_executable(graphics_bench graphics_bench.cpp)
target_link_libraries(graphics_bench PRIVATE zk_framework benchmark::benchmark)
set_target_properties(graphics_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
