# The game object through real frames, in a hidden window with real art and sounds from data/: one binary
# for every file of the game, one link instead of ten; each case still runs as its own process.
zk_test(game_test SOURCES myapp_test.cpp controls_test.cpp draw_test.cpp resources_test.cpp play_test.cpp
        creatures_test.cpp menu_test.cpp boxes_test.cpp overlays_test.cpp progress_test.cpp
        LIBS zk_harness LABELS gl audio)
if(TARGET zk_data)
  add_dependencies(game_test zk_data)
endif()
