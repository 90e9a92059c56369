# The application and input modules against scripted hosts.
zk_test(framework_app_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_test.cpp LIBS zk_framework LABELS audio)
zk_test(framework_input_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/input_test.cpp LIBS zk_framework)
# A visible window takes the focus: run one at a time with the other window tests.
zk_test(framework_app_start_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/app_start_test.cpp LIBS zk_framework
        LABELS gl audio process)
