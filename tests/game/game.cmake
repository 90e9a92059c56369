# The real executable's window and close button.
pkg_check_modules(ZK_GAME_TEST_X11 REQUIRED IMPORTED_TARGET x11)
# zk_focus_test (tests/host/host.cmake): a window test that runs with nothing else beside it.
zk_focus_test(game_window_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_test.cpp
              LIBS zk_runtime PkgConfig::ZK_GAME_TEST_X11)
add_dependencies(game_window_test tolvane-golf)
target_compile_definitions(game_window_test PRIVATE GAME_PATH="$<TARGET_FILE:tolvane-golf>"
                           BUILD_DIR="${CMAKE_BINARY_DIR}")
