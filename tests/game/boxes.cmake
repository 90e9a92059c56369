# The options and credits boxes through real frames, in a hidden window with real art and sounds.
zk_test(game_boxes_test SOURCES boxes_test.cpp LIBS zk_game LABELS gl audio)
if(TARGET zk_data)
  add_dependencies(game_boxes_test zk_data)
endif()
