# Host tests: the loop on a fake clock, key and joystick translation, and real windows under Xvfb.
zk_test(host_loop_test SOURCES loop_test.cpp LIBS zk_host)
zk_test(host_input_test SOURCES input_test.cpp LIBS zk_host)
# Real windows typed into with real X key events: SERIAL runs them with nothing beside them. Xvfb's OpenGL
# has no swap control to read back: the test sees the host's swap intervals on their way to GLFW.
zk_test(host_window_test SOURCES window_test.cpp LIBS zk_host PkgConfig::ZK_TEST_X11 SERIAL)
target_link_options(host_window_test PRIVATE -Wl,--wrap=glfwSwapInterval)
# The host's file layer on real files in a temporary working folder, the saved state's write in awkward
# places among them: unwritable folders, links, permissions, leftovers, failures.
zk_test(host_files_test SOURCES files_test.cpp LIBS zk_host)
