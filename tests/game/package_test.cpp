// The Debian package as a player gets it: unpacked with dpkg-deb into a temporary root, its launcher started
// with a temporary HOME. The launcher makes the per-user folder under the XDG data home on the first start,
// links data there to the installed data, and runs the game in it: the game reaches its title menu, saves
// its state there when its window loses focus, and F4 ends it with status 0.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "tests/game/saved_state.h"
#include "tests/host/process.h"

namespace {

const std::string kTitle = "Grubnik in Tolvane Golf";

// The package unpacked into a temporary root with an empty home beside it; removed at the end.
class UnpackedPackage : public ::testing::Test {
protected:
    std::string root, home, launcher, installedData;

    void SetUp() override {
        char dir[] = "/tmp/package-test-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        root = std::string(dir) + "/root";
        home = std::string(dir) + "/home";
        ASSERT_EQ(Shell("mkdir -p '" + root + "' '" + home + "' && dpkg-deb -x '" DEB_PATH "' '" + root +
                        "' && echo ok"),
                  "ok");
        launcher = root + "/usr/games/tolvane-golf";
        installedData = root + "/usr/share/games/tolvane-golf/data";
        setenv("HOME", home.c_str(), 1);
        unsetenv("XDG_DATA_HOME");
    }
    void TearDown() override {
        if (!root.empty()) Shell("rm -rf '" + root.substr(0, root.rfind('/')) + "'");
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

// Takes the keyboard focus away from every window, as switching to another program does.
void DropFocus() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    XSetInputFocus(display, None, RevertToNone, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
}

// The colour of one pixel of a window, 0xRRGGBB.
unsigned long Pixel(const std::string& window, int x, int y) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0;
    unsigned long rgb = 0;
    if (XImage* image = XGetImage(display, std::stoul(window), x, y, 1, 1, AllPlanes, ZPixmap)) {
        rgb = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return rgb;
}

bool Poll(const std::function<bool()>& done, int seconds = 30) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end)
        if (done()) return true;
    return false;
}

TEST_F(UnpackedPackage, TheInstalledGameReachesItsMenuSavesInThePerUserFolderAndQuitsWithF4) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    const std::string folder = home + "/.local/share/tolvane-golf";
    ChildProcess game(launcher, home);
    ASSERT_TRUE(game.started());
    const std::string window = Shell("xdotool search --sync --onlyvisible --name '" + kTitle + "' | head -1");
    ASSERT_FALSE(window.empty());
    // The title menu: the corner is neither the empty window nor the loading screen's plain background.
    ASSERT_TRUE(Poll([&] {
        const unsigned long corner = Pixel(window, 5, 5);
        return corner != 0 && corner != 0x282850;
    })) << game.Transcript();

    DropFocus();
    const std::string state = folder + "/.zanthstate";
    ASSERT_TRUE(Poll([&] { return access(state.c_str(), F_OK) == 0; })) << "saved on losing the focus";
    Shell("xdotool mousemove --window " + window + " 100 100 windowfocus --sync " + window + " key F4");
    EXPECT_EQ(game.WaitExit(), 0) << game.Transcript();

    std::ifstream in(state);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_TRUE(saved_state::ChecksumsHold(text.str())) << text.str();
    EXPECT_EQ(LinkTarget(folder), Real(installedData));
}

}  // namespace
