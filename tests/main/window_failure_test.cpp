// The real executable where no game window can be opened: an X server of its own, started without the
// GLX extension, has no OpenGL to give. The program must say why on standard error and end with a failure
// status, not quietly with 0 as if the player had quit.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Runs `command` through the shell with standard error joined to the output; the whole output.
std::string RunShell(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    pclose(pipe);
    return output;
}

TEST(Program, AWindowThatCannotBeOpenedIsAFailureThatSaysWhy) {
    // The game's own status is printed after it, so that xvfb-run's (it may fail to tidy up its
    // temporary files) does not stand in for it. timeout: a window that did open would otherwise keep the
    // game, and this test, running.
    const std::string command =
        std::string("timeout 60 xvfb-run -a -s '-screen 0 800x600x24 -extension GLX' sh -c '") +
        "ALSOFT_DRIVERS=null ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" \"$0\"; " +
        "echo \"status $?\"' '" GAME_PATH "'";
    const std::string output = RunShell(command);
    EXPECT_NE(output.find("status 1\n"), std::string::npos) << output;
    EXPECT_NE(output.find("The game window could not be opened: "), std::string::npos) << output;
    EXPECT_NE(output.find("GLX"), std::string::npos) << output;   // GLFW's own reason
}

}  // namespace
