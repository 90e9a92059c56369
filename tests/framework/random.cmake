# The random generator and the math module.
zk_test(framework_random_test SOURCES random_test.cpp LIBS zk_framework)
