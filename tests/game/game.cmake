# The real executable: its window, the close button, F4 and F11, driven by real X events.
zk_test(game_window_test SOURCES window_test.cpp LIBS zk_runtime PkgConfig::ZK_TEST_X11 SERIAL)
add_dependencies(game_window_test tolvane-golf)
target_compile_definitions(game_window_test PRIVATE GAME_PATH="$<TARGET_FILE:tolvane-golf>"
                           BUILD_DIR="${CMAKE_BINARY_DIR}")
