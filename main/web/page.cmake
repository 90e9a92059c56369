# main/web/page.cmake: the browser build's page in the build folder: index.html, tolvane-golf.js (the
# module factory TolvaneGolf), tolvane-golf.wasm and tolvane-golf.data (the data folder, mounted at
# /game/data; the game runs in /game).
set(zk_web_module ${PROJECT_SOURCE_DIR}/host/web_module.js)
target_link_options(tolvane-golf PRIVATE
  -sENVIRONMENT=web
  -sMODULARIZE=1 -sEXPORT_NAME=TolvaneGolf       # a fresh program for every play, in a fresh canvas
  -sEXPORTED_RUNTIME_METHODS=callMain,FS         # started by the page's click (which lets sound play); FS for tests
  -sEXIT_RUNTIME=1                               # the game's end runs the exit handlers
  -sALLOW_MEMORY_GROWTH=1
  -lidbfs.js
  --pre-js ${zk_web_module}
  --preload-file ${ZK_WEB_DATA}@/game/data)
file(GLOB_RECURSE zk_web_data CONFIGURE_DEPENDS ${ZK_WEB_DATA}/*)
set_target_properties(tolvane-golf PROPERTIES LINK_DEPENDS "${zk_web_module};${zk_web_data}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/index.html ${CMAKE_BINARY_DIR}/index.html COPYONLY)
