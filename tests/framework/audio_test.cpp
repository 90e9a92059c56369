// The audio module over a real engine on OpenAL Soft's null output: asset names reach the data folder,
// sounds without a sample play nothing, an effect's volume, rate and pan reach its channel's OpenAL source
// and stay for the next sound, music runs on its own channel, and held sounds survive collections.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>

#include "framework/audio.h"
#include "host/game.h"
#include "tests/common/collector.h"
#include "tests/common/scratch.h"
#include "tests/common/wav.h"

namespace {

c_Sound* held = nullptr;   // a sound the test keeps, as the game keeps its sound table

class AudioModule : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("ALSOFT_DRIVERS", "null", 1);
        setenv("ALSOFT_CONF", "/dev/null", 1);
        gc_init1();
        gc_root(held);
        zk_audio_init();
        gc_init2();
        new ZKGlfwGame();
        zk_audio_SetAudioDevice(new gxtkAudio());
    }
    // A data folder of its own, with 0.2 s of a quiet square wave as its one sound.
    void SetUp() override {
        ASSERT_TRUE(dir.Enter());
        mkdir("data", 0755);
        mkdir("data/sfx", 0755);
        zk_test::write_wav("data/sfx/ping.wav", zk_test::wav_mono16(8000, zk_test::wav_square(1600, 10)));
    }
    static ALuint source(int channel) { return zk_audio_device->channels[channel].source; }

    zk_test::ScratchDir dir{"zk_audio_module"};
};

TEST_F(AudioModule, SoundsLoadFromTheDataFolderAndOnlySoundsWithASamplePlay) {
    EXPECT_EQ(zk_audio_LoadSound(String("sfx/missing.wav")), nullptr);
    std::ofstream("data/sfx/bad.wav") << "RIFF....WAVE";
    EXPECT_EQ(zk_audio_LoadSound(String("sfx/bad.wav")), nullptr);
    zk_audio_PlaySound(nullptr, 4, 0);
    zk_audio_PlaySound((new c_Sound())->m_new2(), 4, 0);
    EXPECT_EQ(zk_audio_device->ChannelState(4), 0);
    c_Sound* sound = zk_audio_LoadSound(String("sfx/ping.wav"));
    ASSERT_NE(sound, nullptr);
    zk_audio_PlaySound(sound, 4, 1);   // flags other than 0 loop
    ALint looping = 0;
    alGetSourcei(source(4), AL_LOOPING, &looping);
    EXPECT_EQ(zk_audio_device->ChannelState(4) * 10 + looping, 11);
    zk_audio_StopChannel(4);
    EXPECT_EQ(zk_audio_device->ChannelState(4), 0);
}

TEST_F(AudioModule, AnEffectsVolumeRateAndPanReachItsSourceAndStayForTheNextSound) {
    zk_audio_SetChannelVolume(9, 0.25f);
    zk_audio_SetChannelRate(9, 1.5f);
    zk_audio_SetChannelPan(9, 0.5f);
    zk_audio_PlaySound(zk_audio_LoadSound(String("sfx/ping.wav")), 9, 0);
    ALfloat gain = 0, pitch = 0, x = 0, y = 1, z = 0;
    alGetSourcef(source(9), AL_GAIN, &gain);
    alGetSourcef(source(9), AL_PITCH, &pitch);
    alGetSource3f(source(9), AL_POSITION, &x, &y, &z);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    EXPECT_FLOAT_EQ(pitch, 1.5f);
    EXPECT_NEAR(x, 0.479426f, 1e-5);    // the pan is an angle in radians: right of centre, ahead
    EXPECT_NEAR(z, -0.877583f, 1e-5);
    zk_audio_StopChannel(9);
}

TEST_F(AudioModule, MusicPlaysPausesResumesAndStopsOffTheSoundChannels) {
    EXPECT_EQ(zk_audio_PlayMusic(String("sfx/missing.ogg"), 0), -1);
    ASSERT_EQ(zk_audio_PlayMusic(String("sfx/ping.wav"), 1), 0);
    zk_audio_PauseMusic();
    EXPECT_EQ(zk_audio_device->MusicState(), 2);
    zk_audio_ResumeMusic();
    EXPECT_EQ(zk_audio_device->MusicState(), 1);
    EXPECT_EQ(zk_audio_device->ChannelState(0), 0);
    zk_audio_StopMusic();
    EXPECT_EQ(zk_audio_device->MusicState(), 0);
}

TEST_F(AudioModule, HeldSoundsAndTheEngineSurviveCollection) {
    gc_assign(held, zk_audio_LoadSound(String("sfx/ping.wav")));
    c_Sound* dropped = zk_audio_LoadSound(String("sfx/ping.wav"));
    std::string said = zk_test::CollectEverything();
    EXPECT_TRUE(gc_holds(zk_audio_device) && gc_holds(held) && gc_holds(held->m_sample));
    EXPECT_FALSE(gc_holds(dropped));
    EXPECT_NE(said.find("Discarding sample"), std::string::npos);
    gc_assign(held, static_cast<c_Sound*>(nullptr));
}

}  // namespace
