// The real executable where no game window can be opened: an X server of its own, started without the
// GLX extension, has no OpenGL to give. The program must say why on standard error and end with a failure
// status, not quietly with 0 as if the player had quit.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

struct Outcome {
    int status = -1;
    std::string output;
};

// Runs `command` through the shell with standard error joined to the output.
Outcome RunShell(const std::string& command) {
    Outcome out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) out.output += buffer;
    int raw = pclose(pipe);
    out.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

TEST(Program, AWindowThatCannotBeOpenedIsAFailureThatSaysWhy) {
    // timeout: a window that did open would otherwise keep the game (and this test) running.
    // Display numbers are searched from one of this process's own, so X servers that other tests start at
    // the same moment do not race for the same number.
    const std::string command =
        "timeout 60 xvfb-run -a -n " + std::to_string(200 + getpid() % 500) +
        " -s '-screen 0 800x600x24 -extension GLX' " +
        "env ALSOFT_DRIVERS=null ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" '" GAME_PATH "'";
    Outcome run = RunShell(command);
    for (int retry = 0; retry < 3 && run.output.find("Xvfb failed to start") != std::string::npos; ++retry)
        run = RunShell(command);   // a display taken between the search and the start
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("The game window could not be opened: "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("GLX"), std::string::npos) << run.output;   // GLFW's own reason
}

}  // namespace
