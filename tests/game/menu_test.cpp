// The title menu through real frames: keys, taps and drags on the carousel, its row and column layouts
// read back from the display list, the score panel's line count, and the ways into the two boxes.
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/game/myapp_fixture.h"

namespace {

const int kUp = 38, kLeft = 37, kRight = 39, kDown = 40, kReturn = 13, kKeyN = 78;

// An image command of the display list.
struct Cmd {
    int slot, frame;
    float x, y, red;
};
std::vector<Cmd> images(c_MyApp* app, int slot) {
    std::vector<Cmd> out;
    const float* c = app->m_drawList.Data();
    for (int n = 0; n < app->m_drawCount; n += 15)
        if (static_cast<int>(c[n]) == slot) out.push_back({slot, static_cast<int>(c[n + 6]), c[n + 1], c[n + 2], c[n + 10]});
    return out;
}

// The lines of text drawn in the given red, read back from the font glyphs (spaces draw nothing).
std::vector<std::string> text_lines(c_MyApp* app, float red) {
    std::map<float, std::string> by_y;
    for (const Cmd& g : images(app, app->m_fontSlot))
        if (g.red == red) by_y[g.y] += static_cast<char>(g.frame + 32);
    std::vector<std::string> out;
    for (auto& line : by_y) out.push_back(line.second);
    return out;
}

class Menu : public Game {
protected:
    void SetUp() override {
        Game::SetUp();
        Rest(1);
    }
    // The menu slid in and the carousel at rest on `item`.
    void Rest(int item) {
        app->m_mode = 1;
        app->m_menuY = 0;
        app->m_menuSel = item;
        if (item <= 3) app->m_gameType = item;
        app->m_menuPending = 0;
        app->m_scrollPos = app->m_scrollTarget = (1.0f - item) * 88;
        app->m_scrollVel = 0;
        Frame();
    }
    void Resize(int w, int h) {
        host->width = w;
        host->height = h;
        Frame();
        GameEnvironment::FinishLoading();
        Rest(app->m_menuSel);
    }
    void Key(int key) {
        Press(key);
        Frame();
        Release(key);
        Frame();
    }
    void Click(float x, float y) {
        Tap(x, y);
        Frame();
        Untap();
        Frame();
    }
    // A press at (x, y), moved by dx in each of `frames` frames, then released.
    void Drag(float x, float dx, int frames, float y = 300) {
        Tap(x, y);
        Frame();
        for (int i = 1; i <= frames; ++i) {
            host->MouseEvent(kEventMouseMove, 0, x + i * dx, y);
            Frame();
        }
        Untap();
    }
    // Frames until the carousel stops moving, edge pull included.
    void Settle() {
        for (int i = 0; i < 400; ++i) {
            const float target = app->m_scrollTarget;
            Frame();
            if (target == app->m_scrollTarget && std::fabs(app->m_scrollPos - target) < 0.5f) return;
        }
        FAIL() << "the carousel never came to rest";
    }
};

}  // namespace

TEST_F(Menu, RightTwiceAndReturnStartATenSecondGame) {
    Key(kRight);
    Key(kRight);
    EXPECT_EQ(app->m_menuSel, 3);
    Press(kReturn);
    Frame();
    Release(kReturn);
    EXPECT_EQ(app->m_mode, 11);
    Frame();
    EXPECT_EQ(app->m_mode, 10);
    EXPECT_EQ(app->m_gameType, 3);
    EXPECT_EQ(app->m_seconds, 10);
    app->p_StopTune();
}

TEST_F(Menu, KeysStopAtBothEndsSilently) {
    struct Case {
        int from, key, to;
    };
    const Case cases[] = {{1, kUp, 1}, {1, kLeft, 1}, {4, kDown, 4}, {4, kRight, 4}, {2, kUp, 1}, {3, kDown, 4}};
    for (const Case& c : cases) {
        Rest(c.from);
        const int cursor = app->m_channelCursor;
        Key(c.key);
        EXPECT_EQ(app->m_menuSel, c.to) << "from " << c.from << " key " << c.key;
        EXPECT_EQ(app->m_channelCursor != cursor, c.to != c.from) << "a sound only for a move";
    }
}

TEST_F(Menu, TheControllerThatFiredIsRemembered) {
    const int pad1_y = kKeyJoyBase + 1 * 32 + 3, pad2_a = kKeyJoyBase + 2 * 32, pad3_b = kKeyJoyBase + 3 * 32 + 1;
    struct Case {
        std::vector<int> keys;
        int pad, style;
    };
    const Case cases[] = {{{kReturn}, 0, 0}, {{pad2_a}, 2, 1}, {{pad1_y}, 1, 1}, {{pad3_b, pad1_y}, 1, 1},
                          {{pad2_a, kReturn}, 0, 0}};
    for (const Case& c : cases) {
        Rest(2);
        for (int key : c.keys) Press(key);
        Frame();
        for (int key : c.keys) Release(key);
        EXPECT_EQ(app->m_mode, 11) << "keys from " << c.keys[0];
        EXPECT_EQ(app->m_padIndex, c.pad) << "keys from " << c.keys[0];
        EXPECT_EQ(app->m_controlStyle, c.style) << "keys from " << c.keys[0];
    }
}

TEST_F(Menu, AClickSelectsAGameTypeAndASecondClickOrThePlayButtonStartsIt) {
    struct Case {
        float x1, x2, y2;   // the first click on the row at y 504, then the confirming click
        int type;
    };
    const Case cases[] = {{418, 330, 504, 2}, {506, 730, 552, 3}};
    for (const Case& c : cases) {
        Rest(1);
        Click(c.x1, 504);
        EXPECT_EQ(app->m_menuSel, c.type);
        EXPECT_EQ(app->m_mode, 1);
        Settle();
        EXPECT_EQ(app->m_menuSel, c.type) << "passing an item on the way does not select it";
        Click(c.x2, c.y2);
        EXPECT_EQ(app->m_mode, 10) << "type " << c.type;   // started, and loaded in the next frame
        EXPECT_EQ(app->m_gameType, c.type);
        EXPECT_EQ(app->m_controlStyle, 2);
    }
}

TEST_F(Menu, TheCarouselIsARowInLandscapeAndAColumnInPortrait) {
    struct Case {
        int w, h;
        float x1, y1, dx, dy;
    };
    const Case cases[] = {{800, 600, 330, 504, 88, 0}, {480, 800, 110, 360, 0, 88}};
    for (const Case& c : cases) {
        Resize(c.w, c.h);
        std::vector<Cmd> items;
        for (const Cmd& i : images(app, 95))
            if (i.frame <= 2) items.push_back(i);
        ASSERT_EQ(items.size(), 3u) << c.w << "x" << c.h;
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(items[k].frame, k);
            EXPECT_EQ(items[k].x, c.x1 + k * c.dx) << c.w << "x" << c.h << " item " << k + 1;
            EXPECT_EQ(items[k].y, c.y1 + k * c.dy) << c.w << "x" << c.h << " item " << k + 1;
        }
    }
}

TEST_F(Menu, TheScorePanelShowsAsManyLinesAsFitInHalfTheHeight) {
    struct Case {
        int h;
        const char *top, *last;
        size_t lines;
    };
    const Case cases[] = {{480, "Top10", "Last10", 10}, {300, "Top4", "Last4", 4}, {200, "Highscore", "Last", 1}};
    app->m_highscores[10] = 777;   // game type 2: its best and its last score
    app->m_highscores[40] = 555;
    for (const Case& c : cases) {
        Resize(800, c.h);
        Rest(2);
        const std::vector<std::string> top = text_lines(app, 255), last = text_lines(app, 200);
        ASSERT_EQ(top.size(), 1 + c.lines) << "height " << c.h;
        ASSERT_EQ(last.size(), 1 + c.lines) << "height " << c.h;
        EXPECT_EQ(top[0], c.top);
        EXPECT_EQ(last[0], c.last);
        EXPECT_EQ(top[1], "777");
        EXPECT_EQ(last[1], "555");
    }
}

TEST_F(Menu, TheCreditsButtonTheRightShoulderAndTheGearOpenTheirBoxes) {
    struct Case {
        const char* way;
        std::function<void()> act;
        int credits, options;
    };
    const Case cases[] = {
        {"credits button", [&] { Click(730, 32); }, 1, 0},
        {"right shoulder", [&] { Key(kKeyN); }, 1, 0},
        {"gear clicked twice", [&] { Click(594, 504), Settle(), Click(330, 504); }, 0, 1},
        {"gear by keys", [&] { Key(kRight), Key(kRight), Key(kRight), Key(kReturn); }, 0, 1},
    };
    for (const Case& c : cases) {
        app->m_creditsOpen = app->m_optionsOpen = app->m_creditsAnim = app->m_optionsAnim = 0;   // shut at once
        Rest(1);
        c.act();
        EXPECT_EQ(app->m_creditsOpen, c.credits) << c.way;
        EXPECT_EQ(app->m_optionsOpen, c.options) << c.way;
        EXPECT_EQ(app->m_mode, 1) << c.way;
    }
}

TEST_F(Menu, AFlingComesToRestOnTheNearestItemWithinTheEdgesAndStartsNothing) {
    struct Case {
        const char* fling;
        int from;            // the item chosen by keys first
        float x, y, dx;      // where the press starts, and its move in each frame
        int frames, sel;
    };
    const Case cases[] = {
        {"gentle", 2, 500, 300, -20, 3, 3},
        {"across the items", 1, 462, 504, -6, 30, 4},   // from the gap between items 2 and 3, over item 2
        {"hard", 1, 500, 300, -40, 6, 4},
        {"hard to the right", 3, 100, 300, 40, 6, 1},
    };
    for (const Case& c : cases) {
        Rest(1);
        for (int k = 1; k < c.from; ++k) Key(kRight);
        Settle();
        Drag(c.x, c.dx, c.frames, c.y);
        Settle();
        EXPECT_EQ(app->m_mode, 1) << c.fling;
        EXPECT_EQ(app->m_optionsOpen, 0) << c.fling;
        EXPECT_EQ(app->m_menuSel, c.sel) << c.fling;
        const float first = 330 + app->m_scrollPos, sel_x = first + 88 * (c.sel - 1);
        for (int k = 1; k <= 4; ++k)
            EXPECT_LE(std::fabs(sel_x - 330), std::fabs(first + 88 * (k - 1) - 330)) << c.fling << ": item " << k << " is nearer";
        EXPECT_GE(first + 3 * 88, 200) << c.fling << ": the gear is pulled back into the left quarter";
        EXPECT_LE(first, 495) << c.fling << ": item 1 is pulled back from the right quarter";
    }
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GameEnvironment);
    return RUN_ALL_TESTS();
}
