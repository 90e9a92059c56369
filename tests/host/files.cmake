# The host's file layer on real files in a temporary working folder, the saved state's write in awkward
# places among them: unwritable folders, links, permissions, leftovers, failures.
zk_test(host_files_test SOURCES files_test.cpp LIBS zk_host)
