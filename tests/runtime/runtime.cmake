zk_test(runtime_string_test SOURCES string_test.cpp LIBS zk_runtime)
zk_test(runtime_gc_test SOURCES gc_test.cpp LIBS zk_runtime)

# Diagnostics are checked as whole processes: error_probe raises errors, error_test runs it.
zk_test_program(error_probe SOURCES error_probe.cpp LIBS zk_runtime)
zk_test(runtime_error_test SOURCES error_test.cpp LIBS zk_runtime LABELS process)
target_compile_definitions(runtime_error_test PRIVATE ERROR_PROBE="$<TARGET_FILE:error_probe>")
add_dependencies(runtime_error_test error_probe)
