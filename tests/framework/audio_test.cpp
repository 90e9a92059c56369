// The audio module over a real engine on OpenAL Soft's null output and the game's own sounds in build/data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/audio.h"
#include "host/game.h"
#include "tests/common/collector.h"
#include "tests/common/env.h"

namespace {

c_Sound* held = nullptr;   // a sound the test keeps, as the game keeps its sound table

class AudioModule : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        zk_test::SetEnv("ALSOFT_DRIVERS", "null"), zk_test::SetEnv("ALSOFT_CONF", "/dev/null");
        gc_init1(), gc_root(held), zk_audio_init(), gc_init2();
        new ZKGlfwGame(), zk_audio_SetAudioDevice(new gxtkAudio());
    }
};

TEST_F(AudioModule, OnlySoundsWithASamplePlayAndWithTheVolumeRateAndPanSetOnTheirChannel) {
    zk_audio_PlaySound((new c_Sound())->m_new2(), 9, 0);
    EXPECT_EQ(zk_audio_device->ChannelState(9), 0);
    zk_audio_SetChannelVolume(9, 0.25f), zk_audio_SetChannelRate(9, 1.5f), zk_audio_SetChannelPan(9, 0.5f);
    zk_audio_PlaySound(zk_audio_LoadSound(String("sfx/004.wav")), 9, 1);   // flags other than 0 loop
    const ALuint source = zk_audio_device->channels[9].source;
    ALint looping = 0;
    ALfloat gain = 0, pitch = 0, x = 0, y = 1, z = 0;
    alGetSourcei(source, AL_LOOPING, &looping), alGetSource3f(source, AL_POSITION, &x, &y, &z);
    alGetSourcef(source, AL_GAIN, &gain), alGetSourcef(source, AL_PITCH, &pitch);
    EXPECT_EQ(zk_audio_device->ChannelState(9) * 10 + looping, 11);
    EXPECT_TRUE(gain == 0.25f && pitch == 1.5f) << gain << " " << pitch;
    EXPECT_NEAR(x, 0.479426f, 1e-5);   // the pan is an angle in radians: right of centre
    zk_audio_StopChannel(9);
    EXPECT_EQ(zk_audio_device->ChannelState(9), 0);
}

// Pausing and resuming are the game tests' (the tune follows the game's pause).
TEST_F(AudioModule, MusicPlaysAndStopsOffTheSoundChannels) {
    EXPECT_TRUE(zk_audio_PlayMusic(String("sfx/missing.ogg"), 0) == -1 &&
                !zk_audio_LoadSound(String("sfx/missing.wav")));
    ASSERT_EQ(zk_audio_PlayMusic(String("sfx/10.ogg"), 1), 0);
    EXPECT_EQ(zk_audio_device->MusicState() * 10 + zk_audio_device->ChannelState(0), 10);
    zk_audio_StopMusic();
    EXPECT_EQ(zk_audio_device->MusicState(), 0);
}

TEST_F(AudioModule, HeldSoundsAndTheEngineSurviveCollection) {
    gc_assign(held, zk_audio_LoadSound(String("sfx/004.wav")));
    c_Sound* dropped = zk_audio_LoadSound(String("sfx/004.wav"));
    zk_test::CollectEverything();
    EXPECT_TRUE(gc_holds(zk_audio_device) && gc_holds(held) && gc_holds(held->m_sample));
    EXPECT_FALSE(gc_holds(dropped));
    gc_assign(held, static_cast<c_Sound*>(nullptr));
}

}  // namespace
