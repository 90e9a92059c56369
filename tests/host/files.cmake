# The host's file layer on real files in a temporary working folder.
zk_test(host_files_test SOURCES files_test.cpp LIBS zk_host)
