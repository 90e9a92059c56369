// Long play by a scripted player through the real game object: credits, options, games of all three types
// with pauses, some ended early. Every save must pass the independent checker, and after each round the
// collector's live bytes, malloc's bytes and the resident size may not climb past the first round's by
// more than the bounds below. SOAK_FRAMES sets the length (default two rounds; `make soak`: an hour).
#include <malloc.h>

#include <array>
#include <climits>

#include "harness/saved_state.h"
#include "tests/game/myapp_fixture.h"

namespace {

const int kEscape = 27, kEnter = 13, kLeft = 37, kRight = 39, kDown = 40, kSpace = 32, kShoulder = 78;
const int kGearItem = 4;

// The live set varies by 10 KiB between screens; malloc and resident size by 2 to 3 MiB with the driver's
// buffers. Under AddressSanitizer (a quarantine, no malloc figures) only the collector's bound holds.
#ifdef __SANITIZE_ADDRESS__
const long long kSlack[3] = {16 << 10, LLONG_MAX / 2, LLONG_MAX / 2};
#else
const long long kSlack[3] = {16 << 10, 4 << 20, 8 << 20};   // collected, malloc, resident
#endif

std::array<long long, 3> Measure() {
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

    // One update and render, swapped as the host loop does (else the driver queues every frame); a new
    // save is checked at once.
    void Step() {
        Frame();
        glfwSwapBuffers(GameEnvironment::game->window);
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
    void Until(const std::function<bool()>& done, int budget, const char* what) {
        for (int i = 0; i < budget && !HasFatalFailure(); ++i) {
            if (done()) return;
            Step();
        }
        ASSERT_TRUE(done()) << "still waiting for " << what << " after " << budget << " updates";
    }
    // Held for one update, released for two: the latch lets the next press through.
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

    // A swing a second, a pause and resume in second 1; the end button in second 3 or play to the end.
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
    // Each round plays one type to the end in turn and ends the other two early.
    // The credits opened and closed, the options' sound row stepped once (saved on closing).
    void Round(int round) {
        Key(kShoulder);
        Steps(60);
        Key(kShoulder);
        AtRestOnTheMenu();
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
        for (int type = 1; type <= 3 && !HasFailure(); ++type) Play(type, type == 3 - round / 2 % 3);
    }
};

}  // namespace

TEST_F(Soak, MemoryLevelsOffAndEverySaveIsValidThroughLongPlay) {
    const char* length = std::getenv("SOAK_FRAMES");
    const long long total = length ? std::atoll(length) : 0;
    AtRestOnTheMenu();
    Round(0);
    const std::array<long long, 3> first = Measure();
    std::array<long long, 3> peak = first;
    int rounds = 1;
    do {
        Round(rounds++);
        if (HasFailure()) return;
        const std::array<long long, 3> now = Measure();
        for (int i = 0; i < 3; ++i) peak[i] = std::max(peak[i], now[i]);
    } while (frames < total);
    std::printf("%d rounds, %lld updates, %d saves checked\n", rounds, frames, checkedSaves);
    for (int i = 0; i < 3; ++i) {
        std::printf("first round %lld bytes, peak after it %lld\n", first[i], peak[i]);
        EXPECT_LE(peak[i], first[i] + kSlack[i]) << "collected, malloc, resident: " << i;
    }
}
