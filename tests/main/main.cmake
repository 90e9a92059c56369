# The real executable on a display without OpenGL, in an X server of its own.
zk_test(main_window_failure_test SOURCES window_failure_test.cpp LABELS process)
add_dependencies(main_window_failure_test tolvane-golf)
target_compile_definitions(main_window_failure_test PRIVATE GAME_PATH="$<TARGET_FILE:tolvane-golf>")
