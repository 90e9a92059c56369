# The real executable with real files: saves under repeated kills, and hostile data and state files.
foreach(t crash_save hostile_files)
  zk_test(game_${t}_test SOURCES ${t}_test.cpp
          LIBS zk_runtime PkgConfig::ZK_TEST_X11 SERIAL)
  add_dependencies(game_${t}_test tolvane-golf)
  target_compile_definitions(game_${t}_test PRIVATE GAME_PATH="$<TARGET_FILE:tolvane-golf>"
                             BUILD_DIR="${CMAKE_BINARY_DIR}")
endforeach()
