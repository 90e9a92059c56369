# The saved state's write in awkward places: unwritable folders, links, permissions, leftovers, failures.
zk_test(host_state_write_test SOURCES state_write_test.cpp LIBS zk_host)
