# The audio engine's per-effect cost and the saved state's atomic write. Run: build/bench/audio_engine_bench
add_executable(audio_engine_bench audio_engine_bench.cpp)
target_link_libraries(audio_engine_bench PRIVATE zk_media benchmark::benchmark)
set_target_properties(audio_engine_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
