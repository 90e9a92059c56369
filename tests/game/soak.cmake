# Long play by a scripted player, with memory measured between rounds; SOAK_FRAMES sets the length.
zk_test(game_soak_test SOURCES soak_test.cpp LIBS zk_harness LABELS gl audio)
if(TARGET zk_data)
  add_dependencies(game_soak_test zk_data)
endif()
