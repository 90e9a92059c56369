# tests/wine/driver.cmake: the native half of the Windows build's tests. The Windows build configures the
# same sources for this machine in native/ with ZK_WINE_DRIVER on (tools/windows.cmake), and this builds
# there the Linux program that starts the real tolvane-golf.exe under Wine and drives it with X events;
# tests/wine/wine.cmake makes it a test of the Windows build.
find_package(GTest REQUIRED)
pkg_check_modules(ZK_DRIVER_X11 REQUIRED IMPORTED_TARGET x11)
add_executable(wine_game_test ${CMAKE_CURRENT_LIST_DIR}/game_test.cpp)
target_link_libraries(wine_game_test PRIVATE GTest::gtest GTest::gtest_main PkgConfig::ZK_DRIVER_X11
                      Threads::Threads)
target_include_directories(wine_game_test PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(wine_game_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
