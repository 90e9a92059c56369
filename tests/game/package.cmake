# The Debian package unpacked into a temporary root and its launcher started with a temporary HOME.
# Building this test builds the package (zk_deb: the game and its data only).
if(TARGET zk_deb)
  pkg_check_modules(ZK_PACKAGE_TEST_X11 REQUIRED IMPORTED_TARGET x11)
  zk_test(game_package_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/package_test.cpp
          LIBS PkgConfig::ZK_PACKAGE_TEST_X11 SERIAL)
  add_dependencies(game_package_test zk_deb)
  target_compile_definitions(game_package_test PRIVATE DEB_PATH="${ZK_DEB_PATH}")
endif()
