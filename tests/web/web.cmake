# tests/web/web.cmake: the page in Debian's chromium (label web), registered in the browser build only
# (make check-web runs them there). Each case of page_test.mjs is a test of its own, run by node's test
# runner, which prints "# pass 1" for a case that ran and passed. One browser at a time: software WebGL
# is slow enough on two cores without another beside it.
find_program(ZK_NODE node REQUIRED)
set(zk_web_cases
  "TitleMenuAfterAClick=title menu after a click"
  "TenSecondGameFiledAndKeptAfterAReload=ten-second game filed and kept after a reload"
  "QuitShowsThanksAndAClickPlaysAgain=quit shows the thanks page and a click plays again"
  "CanvasFollowsTheWindowAndFullscreen=canvas follows the window and fullscreen"
  "StandardGamepadPlays=standard gamepad plays"
  "HiddenPageSaves=hidden page saves")
foreach(zk_case ${zk_web_cases})
  string(REGEX REPLACE "=.*" "" zk_name "${zk_case}")
  string(REGEX REPLACE "^[^=]*=" "" zk_pattern "${zk_case}")
  add_test(NAME Web.${zk_name}
           COMMAND ${ZK_NODE} --test --test-name-pattern "^${zk_pattern}$" ${CMAKE_CURRENT_LIST_DIR}/page_test.mjs)
  set_tests_properties(Web.${zk_name} PROPERTIES LABELS web ENVIRONMENT WEB_BUILD=${CMAKE_BINARY_DIR}
                       PASS_REGULAR_EXPRESSION "# pass 1" FAIL_REGULAR_EXPRESSION "# fail [1-9]"
                       RESOURCE_LOCK chromium TIMEOUT 300)
endforeach()
