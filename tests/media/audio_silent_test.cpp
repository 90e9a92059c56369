// The audio engine when OpenAL cannot open a device.
#include <gtest/gtest.h>

#include "host/game.h"
#include "media/audio.h"
#include "tests/common/env.h"

TEST(SilentAudio, NoDeviceLeavesTheGameRunningSilently) {
    zk_test::SetEnv("ALSOFT_DRIVERS", "no-such-driver");   // before OpenAL reads its configuration
    zk_test::SetEnv("ALSOFT_CONF", "/dev/null");
    gc_init1(), new ZKGlfwGame();
    testing::internal::CaptureStdout();
    gxtkAudio* audio = new gxtkAudio();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "OpenAl error: alcOpenDevice failed\n");
    gxtkSample* loaded = audio->LoadSample(String("data/sfx/004.wav"));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(audio->PlaySample(loaded, 3, 0), -1);
    EXPECT_EQ(audio->PlayMusic(String("data/sfx/10.ogg"), 1), 0);
    for (int channel : {0, 3, gxtkAudio::kMusicChannel}) {
        audio->SetVolume(channel, 0.5f), audio->SetPan(channel, 1), audio->SetRate(channel, 2);
        audio->PauseChannel(channel), audio->ResumeChannel(channel);
        EXPECT_EQ(audio->ChannelState(channel), 0);
    }
    audio->Suspend(), audio->Resume();
    EXPECT_EQ(audio->MusicState(), 0);
}
