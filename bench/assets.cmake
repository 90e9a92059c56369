# Decoding the generated tunes: a game decodes its whole tune when it starts, so the 30-second tune must
# decode well under 100 ms. Run: build/bench/assets_decode_bench (from the build folder).
add_executable(assets_decode_bench assets_decode_bench.cpp)
target_link_libraries(assets_decode_bench PRIVATE zk_codecs benchmark::benchmark)
if(TARGET zk_data)
  add_dependencies(assets_decode_bench zk_data)
endif()
target_compile_definitions(assets_decode_bench PRIVATE ZK_BENCH_DATA_DIR="${ZK_DATA_DIR}")
set_target_properties(assets_decode_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
