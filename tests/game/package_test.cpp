// The Debian package as a player gets it: unpacked with dpkg-deb into a temporary root, its launcher started
// with a temporary HOME. The launcher makes the per-user folder under the XDG data home, links data there
// to the installed data and runs the game in it: the game reaches its menu, saves there, and quits on F4.
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/game/running_game.h"

namespace {

// The package unpacked into a temporary root with an empty home beside it; removed at the end.
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

    // Where the `data` link in a per-user folder leads, as an absolute path ("" if it is not a link).
    static std::string LinkTarget(const std::string& folder) {
        struct stat st;
        if (lstat((folder + "/data").c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return "";
        char resolved[PATH_MAX];
        return realpath((folder + "/data").c_str(), resolved) ? resolved : "";
    }
    std::string Real(const std::string& path) {
        char resolved[PATH_MAX];
        return realpath(path.c_str(), resolved) ? resolved : "";
    }
};

// Without a display the game ends at once ("glfwInit failed"), which is enough to see where the launcher
// ran it: the folder it chose holds the link to the installed data.
struct FolderCase {
    const char* name;
    const char* xdgDataHome;   // nullptr: unset; relative values are ignored by the XDG rule
    const char* folder;        // under the temporary home
};
const FolderCase kFolderCases[] = {
    {"unset", nullptr, "/.local/share/tolvane-golf"},
    {"absolute", "@HOME/xdg", "/xdg/tolvane-golf"},
    {"relative", "xdg", "/.local/share/tolvane-golf"},
    {"empty", "", "/.local/share/tolvane-golf"},
};

TEST_F(UnpackedPackage, TheLauncherRunsTheGameInThePerUserFolderUnderTheXdgDataHome) {
    for (const FolderCase& c : kFolderCases) {
        SCOPED_TRACE(c.name);
        Shell("rm -rf '" + home + "' && mkdir '" + home + "'");
        std::string xdg = c.xdgDataHome ? c.xdgDataHome : "";
        if (xdg.rfind("@HOME", 0) == 0) xdg = home + xdg.substr(5);
        const std::string env = c.xdgDataHome ? "XDG_DATA_HOME='" + xdg + "'" : "-u XDG_DATA_HOME";
        // Started from another folder through a relative path: the launcher finds its files by itself.
        const std::string out =
            Shell("cd / && env -u DISPLAY -u WAYLAND_DISPLAY " + env + " '." + launcher + "' 2>&1; echo status $?");
        EXPECT_EQ(out, "glfwInit failed\nstatus 255");
        EXPECT_EQ(LinkTarget(home + c.folder), Real(installedData));
    }
}

TEST_F(UnpackedPackage, ARealDataFolderInThePerUserFolderIsLeftAloneAndAStaleLinkIsRenewed) {
    const std::string folder = home + "/.local/share/tolvane-golf";
    const std::string run = "env -u DISPLAY -u WAYLAND_DISPLAY '" + launcher + "' >/dev/null 2>&1";
    // A link left by an earlier installation elsewhere, whose folder is still there.
    Shell("mkdir -p '" + folder + "' '" + home + "/old' && ln -s '" + home + "/old' '" + folder + "/data' && " + run);
    EXPECT_EQ(LinkTarget(folder), Real(installedData)) << "a link to another installation is renewed";
    Shell("rm '" + folder + "/data' && mkdir '" + folder + "/data' && touch '" + folder + "/data/mine' && " + run);
    EXPECT_EQ(Shell("ls '" + folder + "/data'"), "mine");
}

TEST_F(UnpackedPackage, TheInstalledGameReachesItsMenuSavesInThePerUserFolderAndQuitsWithF4) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const std::string folder = home + "/.local/share/tolvane-golf";
    Start(home, launcher);
    ASSERT_FALSE(Menu().empty()) << game->Transcript();
    Display* display = XOpenDisplay(nullptr);   // the focus taken away, as switching to another program does
    ASSERT_NE(display, nullptr);
    XSetInputFocus(display, None, RevertToNone, CurrentTime);
    XCloseDisplay(display);
    const std::string state = folder + "/.zanthstate";
    ASSERT_TRUE(Poll([&] { return access(state.c_str(), F_OK) == 0; })) << "saved on losing the focus";
    Key("F4");
    EXPECT_EQ(game->WaitExit(), 0) << game->Transcript();
    EXPECT_TRUE(saved_state::ChecksumsHold(zk_test::ReadFile(state))) << zk_test::ReadFile(state);
    EXPECT_EQ(LinkTarget(folder), Real(installedData));
}

}  // namespace
