# Host tests: the loop on a fake clock, key and joystick translation, and a real window under Xvfb.
zk_test(host_loop_test SOURCES loop_test.cpp LIBS zk_host)
zk_test(host_input_test SOURCES input_test.cpp LIBS zk_host)

# host_probe: the real host with a test delegate that prints what reaches it (see probe_main.cpp).
zk_test_program(host_probe SOURCES probe_main.cpp LIBS zk_framework)

# Window tests type into windows with real X key events: SERIAL runs them with nothing beside them.
zk_test(host_window_test SOURCES window_test.cpp LIBS PkgConfig::ZK_TEST_X11 SERIAL)
add_dependencies(host_window_test host_probe)
target_compile_definitions(host_window_test PRIVATE PROBE_PATH="$<TARGET_FILE:host_probe>"
                           BUILD_DIR="${CMAKE_BINARY_DIR}")
# Visible windows take the focus: run one at a time with the other window tests.
zk_test(host_display_test SOURCES display_test.cpp LIBS zk_host PkgConfig::ZK_TEST_X11 LABELS gl process)
