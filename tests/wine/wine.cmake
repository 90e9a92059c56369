# tests/wine/wine.cmake: the Windows build's tests, all labelled wine, run under Wine by ctest. Included by
# tests/CMakeLists.txt in place of the Linux suite when the build is for Windows.
#
#   wine_prefix_start, wine_prefix_stop  one Wine prefix and wineserver for the whole run (a fixture)
#   the suites that need no X server     cross-built from the same test sources, started through Wine
#                                        (CMAKE_CROSSCOMPILING_EMULATOR); one ctest test per program
#   wine_game_test                       the real tolvane-golf.exe under Wine in the run's X server, driven
#                                        by a native program built in native/ (tests/wine/driver.cmake)
file(GLOB zk_gtest_dir ${ZK_WINDOWS_DEPS}/googletest-*)
find_package(GTest REQUIRED CONFIG PATHS ${zk_gtest_dir} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)

set(ZK_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(zk_wine_env WINEPREFIX=${ZK_WINE_PREFIX} WINEDEBUG=-all ALSOFT_DRIVERS=null)
add_test(NAME wine_prefix_start COMMAND ${CMAKE_CURRENT_LIST_DIR}/prefix.sh start ${ZK_WINE_PREFIX})
add_test(NAME wine_prefix_stop COMMAND ${CMAKE_CURRENT_LIST_DIR}/prefix.sh stop ${ZK_WINE_PREFIX})
set_tests_properties(wine_prefix_start PROPERTIES FIXTURES_SETUP wine LABELS wine)
set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine LABELS wine)

# zk_wine_test(NAME SOURCES a.cpp LIBS zk_runtime [ARGS --gtest_filter=...]): a test program cross-built
# from sources named relative to tests/, run from the build folder under Wine.
function(zk_wine_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ARGS" ${ARGN})
  list(TRANSFORM T_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/tests/)
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(${name} zk_openal_dll)
  add_test(NAME ${name} COMMAND ${name} ${T_ARGS} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES LABELS wine FIXTURES_REQUIRED wine ENVIRONMENT "${zk_wine_env}")
endfunction()

zk_wine_test(runtime_string_test_wine SOURCES runtime/string_test.cpp LIBS zk_runtime)
zk_wine_test(runtime_gc_test_wine SOURCES runtime/gc_test.cpp LIBS zk_runtime)
# Fatal faults and the debugger protocol as whole processes, the probe started by the command interpreter.
add_executable(error_probe ${PROJECT_SOURCE_DIR}/tests/runtime/error_probe.cpp)
target_link_libraries(error_probe PRIVATE zk_runtime)
target_include_directories(error_probe PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(error_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
zk_wine_test(runtime_error_test_wine SOURCES runtime/error_test.cpp LIBS zk_runtime)
target_compile_definitions(runtime_error_test_wine PRIVATE ERROR_PROBE="\\"tests\\\\error_probe.exe\\"")
add_dependencies(runtime_error_test_wine error_probe)
# The decoders; files made by sox and oggenc are left to the Linux suite (no such tools under Wine).
zk_wine_test(codecs_wav_test_wine SOURCES codecs/wav_test.cpp LIBS zk_codecs ARGS --gtest_filter=-EncodedFiles.*)
target_link_options(codecs_wav_test_wine PRIVATE -Wl,--wrap=malloc -Wl,--wrap=realloc)
zk_wine_test(framework_containers_test_wine SOURCES framework/containers_test.cpp LIBS zk_runtime)
target_sources(framework_containers_test_wine PRIVATE ${PROJECT_SOURCE_DIR}/framework/containers.cpp)
zk_wine_test(framework_random_test_wine SOURCES framework/random_test.cpp LIBS zk_framework)
zk_wine_test(framework_app_test_wine SOURCES framework/app_test.cpp LIBS zk_framework)
zk_wine_test(framework_audio_test_wine SOURCES framework/audio_test.cpp LIBS zk_framework)
zk_wine_test(host_loop_test_wine SOURCES host/loop_test.cpp LIBS zk_host)
zk_wine_test(host_input_test_wine SOURCES host/input_test.cpp LIBS zk_host)
# The file layer's Windows rules: UTF-16 names, the atomic save and its in-place fallback, read-only state.
# Wine's shell opens a web address with the Linux side's xdg-open: a stand-in put first on PATH writes its
# arguments where the test reads them (through Wine's Z: drive, the Linux root).
zk_wine_test(host_files_test_wine SOURCES host/files_test.cpp LIBS zk_host)
set(zk_url_args ${CMAKE_BINARY_DIR}/tests/url-args)
file(WRITE ${CMAKE_BINARY_DIR}/tests/bin/xdg-open "#!/bin/sh\n{ echo $#; printf '%s\\n' \"$@\"; } >'${zk_url_args}'\n")
file(CHMOD ${CMAKE_BINARY_DIR}/tests/bin/xdg-open PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set_tests_properties(host_files_test_wine PROPERTIES ENVIRONMENT "${zk_wine_env};ZK_URL_ARGS=Z:${zk_url_args}"
                     ENVIRONMENT_MODIFICATION PATH=path_list_prepend:${CMAKE_BINARY_DIR}/tests/bin)
# The Windows build's OpenAL Soft hands out sources beyond the configuration's limit: running out of them
# is left to the Linux suite.
zk_wine_test(media_audio_test_wine SOURCES media/audio_test.cpp LIBS zk_media
             ARGS --gtest_filter=-AudioEngine.ChannelsOutOfSourcesTakeThoseOfStoppedSoundsOnly)
zk_wine_test(media_audio_silent_test_wine SOURCES media/audio_silent_test.cpp LIBS zk_media)

# The real game under Wine in the run's X server, and the zip made for the run. The driver is a Linux
# program (native/); the game's folder, the zip and Wine reach it through the environment. Its windows
# take the focus: nothing runs beside it.
add_test(NAME wine_zip COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target zk_zip)
set_tests_properties(wine_zip PROPERTIES LABELS wine FIXTURES_SETUP wine_zip)
add_test(NAME wine_game_test COMMAND ${ZK_NATIVE_DIR}/tests/wine_game_test WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(wine_game_test PROPERTIES LABELS wine FIXTURES_REQUIRED "wine;wine_zip" RUN_SERIAL TRUE
                     TIMEOUT 600 ENVIRONMENT
                     "${zk_wine_env};ZK_WINE=${CMAKE_CROSSCOMPILING_EMULATOR};ZK_GAME_DIR=${CMAKE_BINARY_DIR};ZK_ZIP=${ZK_ZIP}")
