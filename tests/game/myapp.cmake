# The game object through real frames, in a hidden window with real art and sounds from data/.
zk_test(game_myapp_test SOURCES myapp_test.cpp LIBS zk_game LABELS gl audio)
if(TARGET zk_data)
  add_dependencies(game_myapp_test zk_data)
endif()

