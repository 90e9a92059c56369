// The resources: the art scale and its file names, effects over their ring of channels, the sound modes.
#include "tests/common/pixels.h"
#include "tests/game/myapp_fixture.h"

using Resources = Game;

TEST_F(Resources, AReloadTheArtScaleEffectsOverTwentyFourChannelsAndTheSoundModes) {
    app->p_CLS2D(255, 255, 255, 1);
    host->RenderGame();
    app->p_Reload();
    app->p_CLS2D();
    app->p_Text(100, 50, String("a\\nb"), 0, 0);
    host->RenderGame();
    zk_test::ExpectPixels({{5, 5, 0x000000}});
    Floats places;   // of the two glyphs
    for (const Cmd& g : Commands()) places.insert(places.end(), {g.x, g.y});
    EXPECT_EQ(places, (Floats{107, 55, 100, 65}));
    const std::tuple<int, int, int, const char*> cases[] = {{630, 630, 1, "menu.png"},
                                                            {631, 480, 2, "menu-hd.png"},
                                                            {1230, 100, 2, "menu-hd.png"},
                                                            {100, 1231, 4, "menu-hd2.png"}};
    for (auto [w, h, scale, menu] : cases) {
        host->width = w, host->height = h;
        zk_app_ValidateDeviceWindow();
        app->p_ArtScale();
        EXPECT_EQ(app->m_hdScale, scale) << w << "x" << h;
        EXPECT_EQ(app->m_drawScale, 1.0f / scale) << "the art shown at its design size";
        EXPECT_EQ(app->p_ArtName(String("menu")).ToUtf8(), menu);
    }
    app->m_channelCursor = 0;
    std::vector<int> cursors;
    for (int i = 0; i < 25; ++i) app->p_PlaySFX(99, 1), cursors.push_back(app->m_channelCursor);
    EXPECT_EQ((std::vector<int>{cursors[22], cursors[23], cursors[24]}), (std::vector<int>{23, 0, 1}));
    app->p_PlaySFX(-1, 1);   // no such sound: the channel's oldest effect stops all the same
    ALint state = 0;
    alGetSourcei(zk_audio_device->channels[app->m_channels[2]].source, AL_SOURCE_STATE, &state);
    EXPECT_NE(state, AL_PLAYING);
    // Sound modes: 0 off, 1 effects and music, 2 effects only, 3 music only.
    for (int mode = 0; mode <= 3; ++mode) {
        app->m_options[kOptionSound] = mode;
        const int cursor = app->m_channelCursor;
        app->p_PlaySFX(99, 1);
        EXPECT_EQ(app->m_channelCursor != cursor, mode == 1 || mode == 2) << "mode " << mode;
        app->m_musicPlaying = 1;
        app->p_PlayTune(String("10"), 0);
        EXPECT_EQ(app->m_musicPlaying, mode == 1 || mode == 3 ? 1 : 0) << "mode " << mode;
    }
}
