# Golf play and its pools through real frames of the game object, with real art and sounds from data/.
zk_test(game_play_test SOURCES play_test.cpp creatures_test.cpp
        LIBS zk_game LABELS gl audio)
if(TARGET zk_data)
  add_dependencies(game_play_test zk_data)
endif()
