# The game object through real frames, in a hidden window with real art and sounds from data/.
zk_test(game_myapp_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/myapp_test.cpp LIBS zk_game LABELS gl audio)
if(TARGET zk_data)
  add_dependencies(game_myapp_test zk_data)
endif()

# The real executable, quit and switched by real X key events.
zk_test(game_quit_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/quit_test.cpp LIBS zk_runtime LABELS gl process)
add_dependencies(game_quit_test tolvane-golf)
target_compile_definitions(game_quit_test PRIVATE GAME_PATH="$<TARGET_FILE:tolvane-golf>"
                           BUILD_DIR="${CMAKE_BINARY_DIR}")
