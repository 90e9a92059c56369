# The Debian package unpacked into a temporary root and its launcher started with a temporary HOME.
# Building this test builds the package (zk_deb: the game and its data only).
if(TARGET zk_deb)
  zk_test(game_package_test SOURCES package_test.cpp LIBS PkgConfig::ZK_TEST_X11 SERIAL)
  add_dependencies(game_package_test zk_deb)
  target_compile_definitions(game_package_test PRIVATE DEB_PATH="${ZK_DEB_PATH}")
endif()
