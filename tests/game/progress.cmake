# Saved settings, badges and highscores on the real game object, through the real state file.
zk_test(game_progress_test SOURCES progress_test.cpp LIBS zk_game LABELS gl audio)
if(TARGET zk_data)
  add_dependencies(game_progress_test zk_data)
endif()
