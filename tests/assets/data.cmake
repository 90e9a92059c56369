# Tests of the data generator: they read the data folder the build generated (target zk_data) through
# the game's own rules and decoders, and run the generator again to check it is deterministic.
zk_test(assets_data_test SOURCES data_test.cpp LIBS zk_codecs LABELS process)
add_dependencies(assets_data_test zk_data zk_assetgen)
target_compile_definitions(assets_data_test PRIVATE
  ZK_TEST_DATA_DIR="${ZK_DATA_DIR}"
  ZK_TEST_ASSETGEN="$<TARGET_FILE:zk_assetgen>")
