// The audio engine when OpenAL cannot open a device: the start-up message is printed once, the engine
// exists, sounds still load (without a buffer), and nothing ever plays; no operation crashes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "host/game.h"
#include "media/audio.h"
#include "tests/common/scratch.h"
#include "tests/common/wav.h"

namespace {

TEST(SilentAudio, NoDeviceLeavesTheGameRunningSilently) {
    setenv("ALSOFT_DRIVERS", "no-such-driver", 1);   // before OpenAL reads its configuration
    setenv("ALSOFT_CONF", "/dev/null", 1);
    gc_init1();
    new ZKGlfwGame();

    testing::internal::CaptureStdout();
    gxtkAudio* audio = new gxtkAudio();
    std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(said, "OpenAl error: alcOpenDevice failed\n");
    EXPECT_EQ(gxtkAudio::audio, audio);
    EXPECT_EQ(audio->alcDevice, nullptr);

    // A real, decodable file still loads, as a sample without a buffer, and the game holds it as usual;
    // playing it plays nothing. A tune that loads is played as far as the engine can: nothing sounds.
    zk_test::ScratchDir dir("zk_silent");
    zk_test::WavSpec four = zk_test::wav_mono16(8000, std::string("\1\0\2\0\3\0\4\0", 8));   // four frames
    std::string path = zk_test::write_wav(dir / "silent.wav", four);
    gxtkSample* loaded = audio->LoadSample(String(path.c_str()));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->buffer, 0u);
    EXPECT_EQ(audio->PlaySample(loaded, 3, 0), -1);
    EXPECT_EQ(audio->ChannelState(3), 0);
    EXPECT_EQ(audio->PlayMusic(String(path.c_str()), 1), 0);
    EXPECT_EQ(audio->MusicState(), 0);
    // A file that is not there is still no sound and no tune.
    std::string missing = dir / "no-such-sound.wav";
    EXPECT_EQ(audio->LoadSample(String(missing.c_str())), nullptr);
    EXPECT_EQ(audio->PlayMusic(String(missing.c_str()), 1), -1);

    gxtkSample* empty = new gxtkSample();
    EXPECT_EQ(audio->PlaySample(empty, 0, 1), -1);
    EXPECT_EQ(audio->ChannelState(0), 0);
    for (int channel : {0, 31, gxtkAudio::kMusicChannel}) {
        EXPECT_EQ(audio->SetVolume(channel, 0.5f), 0);
        EXPECT_EQ(audio->SetPan(channel, 1.0f), 0);
        EXPECT_EQ(audio->SetRate(channel, 2.0f), 0);
        EXPECT_EQ(audio->PauseChannel(channel), 0);
        EXPECT_EQ(audio->ResumeChannel(channel), 0);
        EXPECT_EQ(audio->StopChannel(channel), 0);
        EXPECT_EQ(audio->ChannelState(channel), 0);
    }
    EXPECT_EQ(audio->Suspend(), 0);
    EXPECT_EQ(audio->Resume(), 0);
    EXPECT_EQ(audio->MusicState(), 0);
}

}  // namespace
