# The title menu through real frames, in a hidden window with real art and sounds from data/.
zk_test(game_menu_test SOURCES menu_test.cpp LIBS zk_game LABELS gl audio)
if(TARGET zk_data)
  add_dependencies(game_menu_test zk_data)
endif()
