// Long play by a scripted player through the real game object at 60 updates a second of game clock, as
// fast as the machine renders: the credits, the options box (a sound mode changed and saved), games of all
// three types with a pause and a resume, one of them ended early from the pause menu, the others played to
// the end. Every saved text must pass the independent checker, and memory must level off: after each
// round, with a whole collection run first, the collector's live bytes, the bytes malloc has handed out
// (strings, decoded sound, renderer buffers) and the process's resident size may not climb past the
// figures of the first round by more than the bounds below.
//
// SOAK_FRAMES sets the length (default: two rounds, well under a minute); `make soak` runs an hour of
// game clock, 216,000 updates.
#include <malloc.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "tests/game/myapp_fixture.h"
#include "tests/game/saved_state.h"

namespace {

const int kEscape = 27, kEnter = 13, kLeft = 37, kRight = 39, kDown = 40, kSpace = 32, kShoulder = 78;
const int kGearItem = 4;

// Growth allowed over the first round's figures. The collector's live set after a whole collection is the
// game's arrays plus what a screen holds (about 480 KiB, varying by 10 KiB between screens); malloc and the
// resident size move by 2 to 3 MiB with the driver's own buffers. A collected array kept per update passes
// the first bound within a few hundred updates; a string of 20 units kept per update passes the malloc
// bound within an hour of play, not within the short run.
// Under AddressSanitizer malloc's figures are not kept and freed blocks wait in a quarantine of up to
// 256 MiB, so only the collector's bound holds there; its leak report covers the rest.
const long long kCollectedSlack = 16 << 10;
#ifdef __SANITIZE_ADDRESS__
const long long kMallocSlack = LLONG_MAX / 2, kResidentSlack = LLONG_MAX / 2;
#else
const long long kMallocSlack = 4 << 20, kResidentSlack = 8 << 20;
#endif

struct Memory {
    long long collected, malloced, resident;
};

Memory Measure() {
    gc_collect_all();
    long long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%lld %lld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return {gc_alloced_bytes, static_cast<long long>(mallinfo2().uordblks), resident * 4096};
}

class Soak : public Game {
protected:
    long long frames = 0;
    int saves = 0, checkedSaves = 0;

    void SetUp() override {
        Game::SetUp();
        saves = host->saves;
    }

    // One update and render, shown as the host loop shows it: without the swap the driver keeps every
    // frame queued and memory grows by about a megabyte a frame. A new save is checked at once.
    void Step() {
        Frame();
        glfwSwapBuffers(GameEnvironment::window);
        ++frames;
        if (host->saves == saves) return;
        saves = host->saves;
        ++checkedSaves;
        const std::string text = host->saved.ToUtf8();
        ASSERT_TRUE(saved_state::ChecksumsHold(text)) << "save " << checkedSaves << ": " << text;
    }
    void Steps(int n) {
        for (int i = 0; i < n && !HasFatalFailure(); ++i) Step();
    }
    // Steps until `done` holds; a player that gets nowhere in `budget` updates fails the test.
    void Until(const std::function<bool()>& done, int budget, const char* what) {
        for (int i = 0; i < budget && !HasFatalFailure(); ++i) {
            if (done()) return;
            Step();
        }
        ASSERT_TRUE(done()) << "still waiting for " << what << " after " << budget << " updates";
    }
    // A press held for one update, then released for two, so that the latch lets the next one through.
    void Key(int key) {
        Press(key);
        Step();
        Release(key);
        Steps(2);
    }

    void AtRestOnTheMenu() {
        Until([&] {
            return app->m_mode == 1 && app->m_menuY == 0 && app->m_overTimer == 0 && app->m_optionsAnim == 0 &&
                   app->m_creditsAnim == 0 && app->m_keyHeld == 0 && app->m_touchHeld == 0;
        }, 2000, "the title menu at rest");
    }
    void Choose(int item) {
        for (int i = 0; i < 8 && app->m_menuSel != item; ++i) Key(app->m_menuSel < item ? kRight : kLeft);
        ASSERT_EQ(app->m_menuSel, item);
    }

    void Credits() {
        Key(kShoulder);
        ASSERT_EQ(app->m_creditsOpen, 1);
        Steps(60);   // a few lines scroll by
        Key(kShoulder);
        AtRestOnTheMenu();
    }
    // The options box: the sound row stepped once (a new mode, saved on closing), then back.
    void Options() {
        Choose(kGearItem);
        Key(kEnter);
        ASSERT_EQ(app->m_optionsOpen, 1);
        Steps(40);
        Key(kDown);
        Key(kEnter);
        Steps(20);
        const int before = saves;
        Key(kEscape);
        EXPECT_GT(saves, before) << "closing the box saves";
        AtRestOnTheMenu();
    }
    // A game of `type`: a swing every second and a pause and resume in its second second; then either
    // the end button in a second pause, or play until the time is up and the game-over overlay has gone.
    void Play(int type, bool toTheEnd) {
        Choose(type);
        const int before = saves;
        Key(kEnter);
        Until([&] { return app->m_mode == 10; }, 10, "play");
        for (int second = 0; app->m_mode == 10 && !HasFatalFailure(); ++second) {
            if (second == 1 || (!toTheEnd && second == 3)) {
                Key(kEscape);
                Until([&] { return app->m_paused == 1 && app->m_pauseY >= 300; }, 100, "the pause menu");
                if (second == 3) {
                    Key(kLeft);
                    Key(kEnter);
                    ASSERT_EQ(app->m_gameOver, 1) << "the end button";
                    break;
                }
                Key(kEscape);
                Until([&] { return app->m_paused == 0; }, 100, "the end of the pause");
            }
            Key(kSpace);
            Steps(57);
        }
        AtRestOnTheMenu();
        EXPECT_GT(saves, before) << "the score of a game is saved";
    }
    // Rounds play the 10-, 20- and 30-second game to the end, two rounds each in turn, and end the other two
    // types early.
    void Round(int round) {
        Credits();
        if (!HasFailure()) Options();
        for (int type = 1; type <= 3 && !HasFailure(); ++type) Play(type, type == 3 - round / 2 % 3);
    }
};

}  // namespace

TEST_F(Soak, MemoryLevelsOffAndEverySaveIsValidThroughLongPlay) {
    const char* length = std::getenv("SOAK_FRAMES");
    const long long total = length ? std::atoll(length) : 0;
    AtRestOnTheMenu();
    Round(0);
    const Memory first = Measure();
    Memory peak = first;
    int rounds = 1;
    do {
        Round(rounds++);
        if (HasFailure()) return;
        const Memory now = Measure();
        peak = {std::max(peak.collected, now.collected), std::max(peak.malloced, now.malloced),
                std::max(peak.resident, now.resident)};
        std::printf("round %d, %lld updates: collected %lld, malloc %lld, resident %lld bytes\n", rounds, frames,
                    now.collected, now.malloced, now.resident);
    } while (frames < total);
    std::printf("%d rounds, %lld updates, %d saves checked; first round: collected %lld, malloc %lld, resident "
                "%lld; peak after it: collected %lld, malloc %lld, resident %lld\n",
                rounds, frames, checkedSaves, first.collected, first.malloced, first.resident, peak.collected,
                peak.malloced, peak.resident);
    EXPECT_LE(peak.collected, first.collected + kCollectedSlack);
    EXPECT_LE(peak.malloced, first.malloced + kMallocSlack);
    EXPECT_LE(peak.resident, first.resident + kResidentSlack);
}
