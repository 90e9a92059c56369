# The host and framework around one frame, on the real GLFW host. Needs a display.
# Run: xvfb-run -a build/bench/host_frame_bench
add_executable(host_frame_bench ${CMAKE_CURRENT_SOURCE_DIR}/host_frame_bench.cpp)
target_link_libraries(host_frame_bench PRIVATE zk_framework benchmark::benchmark)
set_target_properties(host_frame_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
