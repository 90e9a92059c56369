# Contract violations (checked in Debug and sanitizer builds; skipped elsewhere).
zk_test(framework_contract_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/contract_test.cpp LIBS zk_framework)
