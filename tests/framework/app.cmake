# The application and input modules against scripted hosts.
zk_test(framework_app_test SOURCES app_test.cpp LIBS zk_framework LABELS audio)
zk_test(framework_input_test SOURCES input_test.cpp LIBS zk_framework)
# A visible window takes the focus: run one at a time with the other window tests.
zk_test(framework_app_start_test SOURCES app_start_test.cpp LIBS zk_framework PkgConfig::ZK_TEST_X11
        LABELS gl audio process)
