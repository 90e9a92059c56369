zk_test(framework_containers_test SOURCES containers_test.cpp LIBS zk_runtime)
target_sources(framework_containers_test PRIVATE ${PROJECT_SOURCE_DIR}/framework/containers.cpp)
