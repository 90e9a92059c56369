// Saves that survive a crash, on the real executable: taking the X focus away and back makes the game
// save over and over (a lost focus suspends it, which saves), and it is killed with signal 9 at a random
// moment. The state file must then be the old text or the new one, whole, with valid checksums.
// CRASH_KILLS sets the number of kills (default 200; `make kill-test` runs 1000).
#include <sys/stat.h>
#include <unistd.h>

#include <random>

#include "tests/game/running_game.h"

namespace {

class CrashSave : public RunningGame {
protected:
    zk_test::ScratchDir scratch{"crash-save"};
    const std::string state = scratch / ".zanthstate";

    // The game's window found through Xlib, polled: quicker than a search by a separate program, which
    // matters when the game is started hundreds of times.
    Window FindGameWindow(Display* display) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < end) {
            Window root, parent, *children = nullptr;
            unsigned count = 0;
            Window found = 0;
            if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
                for (unsigned i = 0; i < count && !found; ++i) {
                    char* name = nullptr;
                    XWindowAttributes a;
                    if (XFetchName(display, children[i], &name) && name && kTitle == name &&
                        XGetWindowAttributes(display, children[i], &a) && a.map_state == IsViewable)
                        found = children[i];
                    if (name) XFree(name);
                }
                if (children) XFree(children);
            }
            if (found) return found;
            usleep(2000);
        }
        return 0;
    }
    long Inode() const {
        struct stat st;
        return stat(state.c_str(), &st) == 0 ? long(st.st_ino) : -1;
    }
};

}  // namespace

TEST_F(CrashSave, AKillAtAnyMomentOfRepeatedSavesLeavesTheOldOrTheNewStateWhole) {
    ASSERT_EQ(symlink(BUILD_DIR "/data", (scratch / "data").c_str()), 0);
    const char* count = std::getenv("CRASH_KILLS");
    const int kills = count ? std::atoi(count) : 200;
    std::string old;   // a valid state whose settings block the game rewrites: every number 0
    for (int i = 0; i < 203; ++i) old += "0|";
    ASSERT_TRUE(saved_state::ChecksumsHold(old));
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    std::mt19937 random(2024);
    std::string newer;
    int saves = 0, oldSeen = 0, newSeen = 0;
    for (int kill = 0; kill < kills && !HasFailure(); ++kill) {
        zk_test::WriteFile(state, old);
        game.reset(new ChildProcess(GAME_PATH, scratch.path()));
        const Window id = FindGameWindow(display);
        ASSERT_NE(id, 0u) << "kill " << kill << ": no window";
        // Focus in and out until a random moment within about half a second, counting finished saves
        // (each replaces the file, so its inode changes).
        const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(random() % 500000);
        long inode = Inode();
        for (bool in = true; std::chrono::steady_clock::now() < end; in = !in) {
            XSetInputFocus(display, in ? id : PointerRoot, RevertToPointerRoot, CurrentTime);
            XSync(display, False);
            usleep(random() % 8000);
            if (Inode() != inode) ++saves, inode = Inode();
        }
        game.reset();   // signal 9
        const std::string now = zk_test::ReadFile(state);
        if (now == old) {
            ++oldSeen;
            continue;
        }
        ASSERT_TRUE(saved_state::ChecksumsHold(now)) << "kill " << kill << ": " << now.size() << " bytes: " << now;
        if (newer.empty()) newer = now;
        ASSERT_EQ(now, newer) << "kill " << kill;
        ++newSeen;
    }
    XCloseDisplay(display);
    std::printf("%d kills: the old text after %d, the new one after %d; %d saves seen\n", kills, oldSeen, newSeen,
                saves);
    EXPECT_GT(newSeen, 0) << "the focus changes made the game save";
}
