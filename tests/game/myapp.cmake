# The game object through real frames, in a hidden window with real art and sounds from data/: one binary
# for every file of the game, one link instead of ten; each case still runs as its own process.
set(ZK_GAME_TESTS myapp controls draw resources play creatures menu boxes overlays progress)
list(TRANSFORM ZK_GAME_TESTS PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
list(TRANSFORM ZK_GAME_TESTS APPEND _test.cpp)
zk_test(game_test SOURCES ${ZK_GAME_TESTS} LIBS zk_game LABELS gl audio)
if(TARGET zk_data)
  add_dependencies(game_test zk_data)
endif()
