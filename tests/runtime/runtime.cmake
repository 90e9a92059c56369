zk_test(runtime_string_test SOURCES string_test.cpp LIBS zk_runtime)
zk_test(runtime_gc_test SOURCES gc_test.cpp LIBS zk_runtime)

# Diagnostics are checked as whole processes: error_probe raises errors, error_test runs it.
add_executable(error_probe error_probe.cpp)
target_link_libraries(error_probe PRIVATE zk_runtime)
set_target_properties(error_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
zk_test(runtime_error_test SOURCES error_test.cpp LIBS zk_runtime LABELS process)
target_compile_definitions(runtime_error_test PRIVATE ERROR_PROBE="$<TARGET_FILE:error_probe>")
add_dependencies(runtime_error_test error_probe)
