// The real executable in an X server of its own without GLX: no OpenGL, so no game window.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "tests/common/process.h"

TEST(Program, AWindowThatCannotBeOpenedIsAFailureThatSaysWhy) {
    // The game's own status is printed; displays are searched from a number of this process's own.
    const std::string command =
        "timeout 60 xvfb-run -a -n " + std::to_string(200 + getpid() % 500) +
        " -s '-screen 0 800x600x24 -extension GLX' sh -c '" +
        "ALSOFT_DRIVERS=null ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" \"$0\"; " +
        "echo \"status $?\"' '" GAME_PATH "' 2>&1";
    std::string output = Shell(command);
    for (int retry = 0; retry < 3 && output.find("Xvfb failed to start") != std::string::npos; ++retry)
        output = Shell(command);   // a display taken between the search and the start
    EXPECT_NE(output.find("The game window could not be opened: "), std::string::npos) << output;
    EXPECT_NE(output.find("GLX"), std::string::npos) << output;   // GLFW's own reason
    EXPECT_NE((output + "\n").find("status 1\n"), std::string::npos) << output;
}
