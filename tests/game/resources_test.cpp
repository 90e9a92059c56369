// The resources: the art scale and its file names, effects over their ring of channels, the sound modes.
#include "tests/game/myapp_fixture.h"

namespace {

class Resources : public Game {};

}  // namespace

TEST_F(Resources, ArtScaleFollowsTheLargerSide) {
    struct Case {
        int w, h, scale;
        const char* menu;
    } const cases[] = {{630, 630, 1, "menu.png"}, {631, 480, 2, "menu-hd.png"}, {1230, 100, 2, "menu-hd.png"},
                       {100, 1231, 4, "menu-hd2.png"}};
    for (const Case& c : cases) {
        host->width = c.w, host->height = c.h;
        zk_app_ValidateDeviceWindow();
        app->p_ArtScale();
        EXPECT_EQ(app->m_hdScale, c.scale) << c.w << "x" << c.h;
        EXPECT_EQ(app->p_ArtName(String("menu")).ToUtf8(), c.menu);
    }
}

TEST_F(Resources, EffectsRotateOverTwentyFourChannels) {
    app->m_channelCursor = 0;
    std::vector<int> cursors;
    for (int i = 0; i < 25; ++i) app->p_PlaySFX(99, 1), cursors.push_back(app->m_channelCursor);
    EXPECT_EQ((std::vector<int>{cursors[22], cursors[23], cursors[24]}), (std::vector<int>{23, 0, 1}));
}

// Sound modes: 0 off, 1 effects and music, 2 effects only, 3 music only.
TEST_F(Resources, TheSoundModeSaysWhetherEffectsAndTunesPlay) {
    for (int mode = 0; mode <= 3; ++mode) {
        app->m_options[kOptionSound] = mode;
        const int cursor = app->m_channelCursor;
        app->p_PlaySFX(99, 1);
        EXPECT_EQ(app->m_channelCursor != cursor, mode == 1 || mode == 2) << "mode " << mode;
        app->m_musicPlaying = 0;
        app->p_PlayTune(String("10"), 0);
        EXPECT_EQ(app->m_musicPlaying, mode == 1 || mode == 3 ? 1 : 0) << "mode " << mode;
    }
}

