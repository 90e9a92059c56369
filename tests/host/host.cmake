# Host tests: the loop on a fake clock, key and joystick translation, and a real window under Xvfb.
zk_test(host_loop_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/loop_test.cpp LIBS zk_host)
