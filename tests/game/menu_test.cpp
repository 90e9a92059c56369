// The title menu through real frames: keys, pads, taps and flings on the carousel, its layouts.
#include <cmath>
#include <string>

#include "tests/game/myapp_fixture.h"

namespace {

const int kUp = 38, kLeft = 37, kRight = 39, kDown = 40, kReturn = 13;

class Menu : public Game {
protected:
    // The menu slid in and the carousel at rest on `item`.
    void Rest(int item) {
        app->m_mode = 1, app->m_menuY = app->m_menuPending = 0, app->m_menuSel = item;
        if (item <= 3) app->m_gameType = item;
        app->m_scrollPos = app->m_scrollTarget = (1.0f - item) * 88, app->m_scrollVel = 0;
        Frame();
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

// The keyboard counts for every player, so a pad is named only when no keyboard fire is down, the lowest pad
// first. The right shoulder opens the credits box.
TEST_F(Menu, KeysMoveOneItemStopAtBothEndsSilentlyAndFireStartsTheGameTypeRememberingTheController) {
    const int moves[][3] = {{1, kUp, 1},    {1, kLeft, 1}, {4, kDown, 4},
                            {4, kRight, 4}, {2, kUp, 1},   {3, kDown, 4}};
    for (auto [from, key, to] : moves) {
        Rest(from);
        const int cursor = app->m_channelCursor;
        Key(key);
        EXPECT_EQ(app->m_menuSel, to) << "from " << from << " key " << key;
        EXPECT_EQ(app->m_channelCursor != cursor, to != from) << "a sound only for a move";
    }
    const int pad0_x = kKeyJoyBase + 2, pad1_y = kKeyJoyBase + 32 + 3, pad2_a = kKeyJoyBase + 64,
              pad3_b = kKeyJoyBase + 96 + 1;
    const std::tuple<Ints, int, int> cases[] = {{{kReturn}, 0, 0},
                                                {{pad2_a}, 2, 1},
                                                {{pad3_b, pad1_y}, 1, 1},
                                                {{pad0_x, pad3_b}, 0, 1},
                                                {{pad2_a, kReturn}, 0, 0}};
    for (const auto& [keys, pad, style] : cases) {
        Rest(3);
        for (int key : keys) Press(key);
        Frame();
        for (int key : keys) Release(key);
        EXPECT_EQ((Ints{app->m_mode, app->m_gameType, app->m_padIndex, app->m_controlStyle}),
                  (Ints{11, 3, pad, style}));
    }
    Rest(1);
    Key('O');
    EXPECT_EQ(app->m_creditsOpen, 1);
}

// The click that closes the credits box (opened by the maker's logo) starts nothing under it.
TEST_F(Menu, AClickSelectsAGameTypeAndASecondClickOrThePlayButtonStartsIt) {
    const int cases[][4] = {{418, 330, 504, 2}, {506, 730, 552, 3}};
    for (auto [x1, x2, y2, type] : cases) {   // the first click on the row at y 504, then the confirming one
        Rest(1);
        Click(x1, 504);
        Settle();
        EXPECT_EQ(app->m_menuSel * 10 + app->m_mode, type * 10 + 1) << "nothing selected on the way";
        Click(730, 32);
        ASSERT_EQ(app->m_creditsOpen, 1);
        for (int i = 0; i < 30; ++i) Frame();
        Click(x2, y2);
        EXPECT_EQ(app->m_creditsOpen + app->m_mode, 1) << x2 << ": closed, still in the menu";
        Click(x2, y2);
        EXPECT_EQ((Ints{app->m_mode, app->m_gameType, app->m_controlStyle}), (Ints{10, type, 2}));
    }
}

// The score panel shows as many lines of the best and last ten as fit in half the height.
TEST_F(Menu, LayoutsFollowTheWindow) {
    // The window; the first item's place and the step to the next; the panel's lines and its title.
    const std::tuple<int, int, float, float, float, float, size_t, const char*> cases[] = {
        {800, 600, 242, 504, 88, 0, 10, "Top10"},
        {480, 800, 110, 272, 0, 88, 10, "Top10"},
        {800, 300, 242, 204, 88, 0, 4, "Top4"},
        {800, 200, 242, 104, 88, 0, 1, "Highscore"}};
    app->m_highscores[10] = 777;   // game type 2: its best and its last score
    int lastScore = 554;
    for (auto [w, h, x1, y1, dx, dy, lines, title] : cases) {
        SCOPED_TRACE(testing::Message() << w << "x" << h);
        host->width = w, host->height = h;
        app->m_highscores[40] = ++lastScore;   // new each time: the panel keeps its text between frames
        Frame();
        GameEnvironment::game->FinishLoading();
        Rest(2);   // item 1 stands one place before the centre
        std::vector<Cmd> items;
        for (const Cmd& i : Commands())
            if (i.kind == kButtonsSlot && i.frame <= 2) items.push_back(i);
        ASSERT_EQ(items.size(), 3u);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(std::make_pair(items[k].x, items[k].y), std::make_pair(x1 + k * dx, y1 + k * dy));
        const auto top = Text([](const Cmd& g) { return g.red == 255; });
        const auto last = Text([](const Cmd& g) { return g.red == 200; });
        ASSERT_TRUE(top.size() == 1 + lines && last.size() == 1 + lines);
        EXPECT_EQ(top[0].text + "/" + top[1].text + "/" + last[1].text,
                  title + ("/777/" + std::to_string(lastScore)));
    }
}

TEST_F(Menu, AFlingComesToRestOnTheNearestItemWithinTheEdgesAndStartsNothing) {
    // The item chosen by keys first; where the press starts and its move in each frame; the item it stops on.
    // "across the items" starts from the gap between items 2 and 3, over item 2.
    const std::tuple<const char*, int, float, float, float, int, int> cases[] = {
        {"gentle", 2, 500, 300, -20, 3, 3},
        {"across the items", 1, 462, 504, -6, 30, 4},
        {"hard", 1, 500, 300, -40, 6, 4},
        {"hard to the right", 3, 100, 300, 40, 6, 1}};
    for (auto [fling, from, x, y, dx, frames, sel] : cases) {
        SCOPED_TRACE(fling);
        Rest(1);
        for (int k = 1; k < from; ++k) Key(kRight);
        Settle();
        Tap(x, y);
        Frame();
        for (int i = 1; i <= frames; ++i) host->MouseEvent(kEventMouseMove, 0, x + i * dx, y), Frame();
        Untap();
        Settle();
        EXPECT_EQ(app->m_mode + app->m_optionsOpen, 1) << "nothing started";
        EXPECT_EQ(app->m_menuSel, sel);
        const float first = 330 + app->m_scrollPos, sel_x = first + 88 * (sel - 1);
        for (int k = 1; k <= 4; ++k)
            EXPECT_LE(std::fabs(sel_x - 330), std::fabs(first + 88 * (k - 1) - 330)) << k;
        EXPECT_TRUE(first + 3 * 88 >= 200 && first <= 495) << "the gear and item 1 kept off the edges";
    }
}
