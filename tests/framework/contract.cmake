# Contract violations (checked in Debug and sanitizer builds; skipped elsewhere).
zk_test(framework_contract_test SOURCES contract_test.cpp LIBS zk_framework)
