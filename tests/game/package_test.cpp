// The Debian package unpacked into a temporary root, its launcher started with a temporary HOME.
#include <stdlib.h>

#include "tests/game/running_game.h"

namespace {

class UnpackedPackage : public RunningGame {
protected:
    zk_test::ScratchDir scratch{"package-test"};
    const std::string root = scratch / "root", home = scratch / "home", launcher = root + "/usr/games/tolvane-golf",
                      installedData = root + "/usr/share/games/tolvane-golf/data";

    void SetUp() override {
        ASSERT_EQ(Shell("mkdir -p '" + root + "' '" + home + "' && dpkg-deb -x '" DEB_PATH "' '" + root + "' && echo ok"), "ok");
        setenv("HOME", home.c_str(), 1);
        unsetenv("XDG_DATA_HOME");
    }
    // The absolute path `path` leads to, "" when it does not resolve; with `link`, only if it is a link.
    static std::string Real(const std::string& path, bool link = false) {
        return Shell((link ? "test -L '" + path + "' && " : std::string()) + "readlink -e '" + path + "'");
    }
};

// Without a display the game ends at once, enough to see where it ran: that folder links to the installed
// data. A relative XDG_DATA_HOME is ignored; a stale link is renewed; a real data folder is left alone.
TEST_F(UnpackedPackage, TheLauncherRunsTheGameInThePerUserFolderUnderTheXdgDataHome) {
    const std::string local = "/.local/share/tolvane-golf",
                      run = "cd / && env -u DISPLAY -u WAYLAND_DISPLAY ";
    // XDG_DATA_HOME (nullptr: unset; a leading "/": under the temporary home), the folder under the home.
    const std::pair<const char*, std::string> cases[] = {
        {"/xdg", "/xdg/tolvane-golf"}, {"xdg", local}, {"", local}, {nullptr, local}};
    for (const auto& [xdgDataHome, folder] : cases) {
        Shell("rm -rf '" + home + "' && mkdir '" + home + "'");
        const std::string xdg = !xdgDataHome ? "" : xdgDataHome[0] == '/' ? home + xdgDataHome : xdgDataHome;
        const std::string env = xdgDataHome ? "XDG_DATA_HOME='" + xdg + "'" : "-u XDG_DATA_HOME";
        EXPECT_EQ(Shell(run + env + " '." + launcher + "' 2>&1; echo status $?"),
                  "glfwInit failed\nstatus 255");
        EXPECT_EQ(Real(home + folder + "/data", true), Real(installedData)) << xdg;
    }
    const std::string data = home + "/.local/share/tolvane-golf/data";   // made by the last row
    const std::string again = " && " + run + "'" + launcher + "' >/dev/null 2>&1";
    Shell("ln -sfn '" + home + "' '" + data + "'" + again);
    EXPECT_EQ(Real(data, true), Real(installedData)) << "a stale link renewed";
    Shell("rm '" + data + "' && mkdir '" + data + "' && touch '" + data + "/mine'" + again);
    EXPECT_EQ(Shell("ls '" + data + "'"), "mine");
}

TEST_F(UnpackedPackage,
       TheInstalledGameReachesItsMenuSavesInThePerUserFolderWhenItLosesTheFocusAndQuitsWithF4) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const std::string folder = home + "/.local/share/tolvane-golf", state = folder + "/.zanthstate";
    Start(home, launcher);
    ASSERT_FALSE(Menu().empty()) << game->Transcript();
    Display* display = XOpenDisplay(nullptr);   // the focus taken away, as switching to another program does
    ASSERT_NE(display, nullptr);
    XSetInputFocus(display, None, RevertToNone, CurrentTime);
    XCloseDisplay(display);
    ASSERT_TRUE(Poll([&] { return access(state.c_str(), F_OK) == 0; })) << "saved on losing the focus";
    Key("F4");
    EXPECT_EQ(game->WaitExit(), 0) << game->Transcript();
    EXPECT_TRUE(saved_state::ChecksumsHold(zk_test::ReadFile(state))) << zk_test::ReadFile(state);
    EXPECT_EQ(Real(folder + "/data", true), Real(installedData));
}

}  // namespace
