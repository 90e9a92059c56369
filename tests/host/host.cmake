# Host tests: the loop on a fake clock, key and joystick translation, and a real window under Xvfb.
zk_test(host_loop_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/loop_test.cpp LIBS zk_host)
zk_test(host_input_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/input_test.cpp LIBS zk_host)

# host_probe: the real host with a test delegate that prints what reaches it (see probe_main.cpp).
add_executable(host_probe ${CMAKE_CURRENT_LIST_DIR}/probe_main.cpp)
target_link_libraries(host_probe PRIVATE zk_framework)
target_include_directories(host_probe PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(host_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# Window tests type into windows with real X key events: SERIAL runs them with nothing beside them.
pkg_check_modules(ZK_TEST_X11 REQUIRED IMPORTED_TARGET x11)
zk_test(host_window_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_test.cpp LIBS PkgConfig::ZK_TEST_X11 SERIAL)
add_dependencies(host_window_test host_probe)
target_compile_definitions(host_window_test PRIVATE PROBE_PATH="$<TARGET_FILE:host_probe>"
                           BUILD_DIR="${CMAKE_BINARY_DIR}")
# Visible windows take the focus: run one at a time with the other window tests.
zk_test(host_display_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/display_test.cpp LIBS zk_host LABELS gl process)
