// The options and credits boxes through real frames (texts read back have no spaces: they draw nothing).
#include "tests/game/myapp_fixture.h"

namespace {

class Boxes : public Game {
protected:
    void SetUp() override {
        Game::SetUp();
        app->m_optionsAnim = app->m_creditsAnim = app->m_optionSel = app->m_fullscreen = 0;
        host->windowRequests.clear();
    }
    void OpenOptions() {   // 30 updates to slide in, one more with the box fully in
        app->m_optionsOpen = 1;
        for (int i = 0; i <= 30; ++i) Step();
    }
    std::vector<std::string> OptionTexts() {
        const std::vector<Cmd> c = Commands();
        int panel = 0;   // the box: the last rectangle at x 50 in red 150
        for (size_t i = 0; i < c.size(); ++i)
            if (c[i].kind == kRectCommand && c[i].x == 50 && c[i].red == 150) panel = kCommandFloats * int(i);
        std::vector<std::string> out;
        for (const Line& line : Text(panel)) out.push_back(line.text);
        return out;
    }
    std::string Label(int row) { return OptionTexts().at(row); }
};

}   // namespace

// A tap acts once however long it is held; the iCade switch also clears the virtual keys.
TEST_F(Boxes, EachRowShowsItsLabelAndActsOnceOnATapAndTheCreditsBoxScrollsAndCloses) {
    const std::tuple<int, float, float, const char*, const char*, int*, int> cases[] = {
        {1, 400, 140, "Sound:SFX+Music", "Sound:SFX", &app->m_options[kOptionSound], 1},
        {2, 400, 180, "iCade:Off", "iCade:On", &zk_Dravo_iCadeControls, 1},
        {3, 400, 220, "Fullscreen", "Windowed", &app->m_fullscreen, 1},
        {4, 600, 270, "Credits", "Credits", &app->m_creditsOpen, 0},
    };
    for (auto [row, x, y, label, next, state, sounds] : cases) {   // (x, y) inside the row's bar
        OpenOptions();
        app->m_vkeys[18] = 2;
        const int was = *state, cursor = app->m_channelCursor;
        EXPECT_EQ(Label(row), label);
        Tap(x, y), Step(), Step(), Untap(), Step();
        EXPECT_EQ(Label(row), next);
        EXPECT_EQ((Ints{*state - was, app->m_channelCursor, app->m_vkeys[18]}),
                  (Ints{1, (cursor + sounds) % 24, row == 2 ? 0 : 2}));
        if (zk_Dravo_iCadeControls) app->p_iCade(0);
    }
    EXPECT_EQ(app->m_optionsOpen, 0);
    // The credit lines scroll 0.3 a frame (faster while up or down is held), 16 apart, fading from the centre.
    auto line = [&](const char* text) {
        for (const Line& l : Text())
            if (l.text == text) return l;
        return Line{"", -1, -1};
    };
    app->m_creditsOpen = 1;
    for (int i = 0; i < 30; ++i) Frame();
    app->m_creditScroll = 0;
    app->m_creditLine = 35;   // the last line: the first follows it
    Frame();
    const Line centre = line("End"), next = line("AGameby"), above = line("andeveryoneelse");
    // the first line follows the last, 16 below; three lines up: faded
    EXPECT_TRUE(centre.alpha == 1 && std::abs(next.y - centre.y - 16) < 0.01f && above.alpha < 0.25f);
    for (int i = 1; i < 53; ++i) Frame();
    EXPECT_EQ(app->m_creditLine, 35);
    Frame();
    EXPECT_EQ(app->m_creditLine, 36);   // one line per 16 pixels at 0.3 a frame
    Key(kKeyDown, 9);                   // faster
    EXPECT_EQ(app->m_creditLine, 37);
    for (int closer : {0, int('Z'), int('X'), int('N')}) {
        app->m_creditsOpen = 1;
        for (int i = 0; i < 30; ++i) Frame();
        const int cursor = app->m_channelCursor;
        closer ? (Press(closer), Frame(), Release(closer)) : (Tap(400, 300), Frame(), Untap());
        EXPECT_EQ((Ints{app->m_creditsOpen, app->m_channelCursor}), (Ints{0, (cursor + 1) % 24})) << closer;
        for (int i = 0; i < 30; ++i) Frame();
        EXPECT_EQ(line("End").y, -1) << "closed: nothing drawn";
    }
}

TEST_F(Boxes, SoundRowCyclesTheModesAndStopsTheTuneInModes0And2) {
    const std::tuple<int, int, int, const char*> cases[] = {
        {1, 0, 1, "Sound:SFX+Music"}, {1, 1, 2, "Sound:SFX"},       {1, 2, 3, "Sound:Music"},
        {1, 3, 0, "Sound:Off"},       {1, 7, 1, "Sound:SFX+Music"}, {0, 0, 1, "Sound:On"},
        {0, 1, 0, "Sound:Off"},       {0, 3, 1, "Sound:On"}};
    OpenOptions();
    for (auto [stream, from, to, label] : cases) {
        zk_Dravo_HasMusicStream = stream;
        app->m_options[kOptionSound] = from, app->m_optionSel = 1, app->m_musicPlaying = 1;
        Key('Z');   // fire
        EXPECT_EQ(app->m_options[kOptionSound], to) << stream << ": " << from;
        EXPECT_EQ(Label(1), label) << stream << ": " << from;
        EXPECT_EQ(app->m_musicPlaying, stream == 1 && (to == 0 || to == 2) ? 0 : 1) << from;
    }
}

TEST_F(Boxes, FromThePauseMenuNoCreditsRowAndHeldFireOnTheDisplayRowFlipsOnceOnlyAMadeWindowFlipsTheLabel) {
    for (int paused : {0, 1}) {
        app->m_mode = paused ? 10 : 1;
        app->m_paused = app->m_pauseDir = paused;   // a pause menu that stays up
        OpenOptions();
        std::vector<std::string> want = {"<[BACK]", "Sound:SFX+Music", "iCade:Off", "Fullscreen", "Credits"};
        if (paused) want.pop_back();
        EXPECT_EQ(OptionTexts(), want) << paused;
        const int cursor = app->m_channelCursor, last = static_cast<int>(want.size()) - 1;
        for (int i = 0; i < 6; ++i) Key(kKeyDown);
        EXPECT_EQ(app->m_optionSel, last) << paused;
        for (int i = 0; i < 6; ++i) Key(kKeyUp);
        EXPECT_EQ(app->m_optionSel, 0);
        EXPECT_EQ(app->m_channelCursor, (cursor + 2 * last) % 24) << "only real moves sound";
        app->m_optionsOpen = app->m_optionsAnim = 0;
    }
    OpenOptions();
    app->m_optionSel = 3;
    Key(kKeyEnter, 5);   // held for five updates
    Key(kKeyEnter);
    ASSERT_EQ(host->windowRequests.size(), 2u);
    EXPECT_TRUE(host->windowRequests[0].fullscreen && host->windowRequests[0].width == host->GetGlfwDesktopMode()->width);
    EXPECT_TRUE(!host->windowRequests[1].fullscreen && host->windowRequests[1].width == 640 &&
                host->windowRequests[1].height == 480);
    for (bool noDesktop : {true, false}) {   // no desktop mode: nothing tried; a refused window
        host->noDesktop = noDesktop, host->refuseWindow = !noDesktop;
        Key(kKeyEnter);
        EXPECT_EQ(Label(3), "Fullscreen") << noDesktop;
    }
    EXPECT_EQ(host->windowRequests.size(), 3u);
}

TEST_F(Boxes, EveryWayOutSavesOnceAndAPressHeldWhileItSlidesInDoesNothing) {
    const int ways[][3] = {{27, 0, 0}, {0, 100, 60}, {'Z', 0, 0}, {'X', 0, 0}, {'N', 0, 0}, {0, 600, 270}};
    for (auto [key, x, y] : ways) {   // a key, or 0 and a tap at (x, y)
        OpenOptions();
        app->m_optionSel = key == 27 || key == 0 ? 2 : 0;
        const int saves = host->saves;
        key ? Key(key, 3) : (Tap(x, y), Step(), Step(), Untap(), Step());
        EXPECT_EQ((Ints{app->m_optionsOpen, host->saves - saves}), (Ints{0, 1})) << key << " " << x;
        app->m_creditsOpen = 0;
        for (int i = 0; i < 30; ++i) Step();
    }
    app->m_optionsOpen = 1;
    for (int i = 0; i < 5; ++i) Step();
    Press(27);   // pressed while the box slides in, held after it is in
    for (int i = 0; i < 40; ++i) Step();
    EXPECT_EQ(app->m_optionsOpen, 1);
    Release(27), Step(), Key(27);
    EXPECT_EQ(app->m_optionsOpen, 0);
}
