# The application and input modules against a scripted host.
zk_test(framework_app_test SOURCES app_test.cpp LIBS zk_framework LABELS audio)
