# The pause menu, the game-over overlay and the badge pop-ups through real frames.
zk_test(game_overlays_test SOURCES overlays_test.cpp LIBS zk_game LABELS gl audio)
if(TARGET zk_data)
  add_dependencies(game_overlays_test zk_data)
endif()
