// Audio engine on real OpenAL Soft. The mixed output is captured by OpenAL Soft's wave writer, so what the
// engine played can be measured; pauses, focus suspension, deferred buffer deletion and the samples'
// lifetime under the collector are checked against OpenAL's own view.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "harness/scratch.h"
#include "harness/wav.h"
#include "host/game.h"
#include "media/audio.h"
#include "tests/common/capture.h"
#include "tests/common/collector.h"

namespace {

using namespace zk_test;

std::string path(const std::string& name) {
    static ScratchDir dir("zk_audio");   // config, sounds, captured output
    return dir / name;
}

// A 16-bit mono WAV file of `frames` frames of a sine tone at `hertz`; returns its path.
std::string write_tone(const std::string& name, double hertz, int frames) {
    return write_wav(path(name), wav_mono16(kCaptureRate, wav_tone(hertz, frames, kCaptureRate)));
}

// Waits (within a generous limit) until `done` holds; the wave writer mixes in real time.
template <class Done>
bool wait_for(Done done) {
    for (int i = 0; i < 1000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

gxtkAudio* keep = nullptr;   // collector root for the engine under test

class AudioEngine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {   // one OpenAL configuration per process: the wave writer
        UseWaveWriter(path(""));
        gc_init1();
        gc_root(keep);
        gc_init2();
        new ZKGlfwGame();   // the host that reads sound files
    }
    void SetUp() override { open(); }
    void TearDown() override { close(); }
    // A fresh engine on a fresh device, with the two test sounds loaded.
    void open() {
        gc_assign(keep, audio = new gxtkAudio());
        ASSERT_NE(audio->alcContext, nullptr);
        tone = load(write_tone("tone.wav", 440, kCaptureRate / 2));
        blip = load(write_tone("blip.wav", 1000, kCaptureRate / 20));
        ASSERT_TRUE(tone && blip);
    }
    // Ends the device so that the wave writer completes its file. The device's samples are collected
    // and their buffers deleted first, so that no buffer name of a closed device reaches the next one.
    void close() {
        if (!audio->alcDevice) return;
        for (int i = 0; i < gxtkAudio::kChannels; ++i) audio->StopChannel(i);
        CollectEverything();
        audio->LoadSample(String());   // flushes the discard list
        EXPECT_EQ(gxtkAudio::DiscardPending(), 0);
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(audio->alcContext);
        alcCloseDevice(audio->alcDevice);
        audio->alcDevice = nullptr;
    }
    gxtkSample* load(const std::string& file) { return audio->LoadSample(String(file.c_str())); }
    bool ended(int channel) {
        return wait_for([&] { return audio->ChannelState(channel) == 0; });
    }
    ALint source_state(int channel) {
        ALint state = 0;
        alGetSourcei(audio->channels[channel].source, AL_SOURCE_STATE, &state);
        return state;
    }

    gxtkAudio* audio = nullptr;
    gxtkSample* tone = nullptr;   // 0.5 s of 440 Hz
    gxtkSample* blip = nullptr;   // 0.05 s of 1000 Hz
};

// What a channel's rate, volume and pan do to the sound, heard through the capture: each row plays the
// tone on a channel set up so, and is compared with the plain tone of the first row.
TEST_F(AudioEngine, RateVolumeAndPanShapeWhatIsHeard) {
    const float kRight = float(M_PI / 2);
    struct { float rate, volume, pan; double hertz, energy, right_share; } rows[] = {
        {1, 1, 0, 440, 1, 0.5},
        {1.5f, 1, 0, 660, 0.67, 0.5},   // rate is pitch, and the sound ends sooner
        {1, 0.5f, 0, 440, 0.25, 0.5},   // volume is amplitude
        {1, 1, kRight, 440, 1.41, 1},   // the mixer splits a centred sound 3 dB down on each side
    };
    double plain = 0;
    for (auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "rate " << row.rate << " volume " << row.volume << " pan " << row.pan);
        if (!audio->alcDevice) open();
        audio->SetRate(5, row.rate);   // set before playing: they stay on the channel's source
        audio->SetVolume(5, row.volume);
        audio->SetPan(5, row.pan);
        ASSERT_EQ(audio->PlaySample(tone, 5, 0), 0);
        ASSERT_TRUE(ended(5));
        close();
        Capture c = ReadCapture(path(""));
        double left = Capture::Energy(c.left), right = Capture::Energy(c.right);
        if (plain == 0) plain = left + right;
        EXPECT_NEAR(c.Frequency(), row.hertz, 4.0);
        EXPECT_NEAR((left + right) / plain, row.energy, 0.05);
        EXPECT_NEAR(right / (left + right), row.right_share, 0.05);
    }
}

// Music pauses and resumes with the game; a suspension (focus lost) pauses what plays and its resume
// leaves what the game paused, before or during the suspension, paused.
TEST_F(AudioEngine, MusicPausesAndResumesAndSuspensionsLeaveGamePausesAlone) {
    const int music = gxtkAudio::kMusicChannel;
    ASSERT_EQ(audio->PlayMusic(String(path("tone.wav").c_str()), 1), 0);
    ASSERT_EQ(audio->PlaySample(tone, 3, 1), 0);   // the game pauses this one
    ASSERT_EQ(audio->PlaySample(tone, 4, 1), 0);   // this one plays on
    audio->PauseChannel(3);
    audio->PauseMusic();
    EXPECT_EQ(audio->MusicState() * 10000 + source_state(music), 2 * 10000 + AL_PAUSED);
    audio->Suspend();
    EXPECT_EQ(source_state(4), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(4), 1) << "a suspension is not the game's pause";
    audio->Resume();
    EXPECT_EQ(source_state(4), AL_PLAYING);
    EXPECT_EQ(audio->ChannelState(3) * 10000 + source_state(3), 2 * 10000 + AL_PAUSED);
    EXPECT_EQ(audio->MusicState() * 10000 + source_state(music), 2 * 10000 + AL_PAUSED);
    audio->ResumeMusic();
    EXPECT_EQ(audio->MusicState() * 10000 + source_state(music), 1 * 10000 + AL_PLAYING);
    audio->Suspend();
    audio->PauseChannel(4);   // a game pause during the suspension survives the resume
    audio->Resume();
    EXPECT_EQ(audio->ChannelState(4) * 10000 + source_state(4), 2 * 10000 + AL_PAUSED);
}

// A discarded buffer is deleted only once no source holds it, at the next load or play; a sample stays
// alive while a channel plays it and is collected, its buffer discarded, once nothing does.
TEST_F(AudioEngine, BuffersAndSamplesLiveWhileAChannelHoldsThem) {
    ASSERT_EQ(audio->PlaySample(tone, 0, 1), 0);
    ASSERT_EQ(audio->PlaySample(blip, 1, 0), 0);
    ALuint toneBuffer = tone->buffer;
    // OpenAL's view only: the channel's record still says playing, and its ended sound holds nothing.
    ASSERT_TRUE(wait_for([&] { return source_state(1) == AL_STOPPED; }));
    CollectEverything();
    EXPECT_TRUE(gc_holds(tone)) << "the looping sample is alive";
    EXPECT_FALSE(gc_holds(blip)) << "the finished sample was collected";

    tone->Discard();
    tone->Discard();   // a second discard does nothing
    EXPECT_EQ(gxtkAudio::DiscardPending(), 2);
    gxtkSample* again = load(path("blip.wav"));   // a flush: one buffer still plays
    EXPECT_EQ(gxtkAudio::DiscardPending(), 1);
    EXPECT_TRUE(alIsBuffer(toneBuffer));
    audio->StopChannel(0);   // stopped by the game: it lets go at the next flush
    ASSERT_EQ(audio->PlaySample(again, 1, 0), 0);
    EXPECT_EQ(gxtkAudio::DiscardPending(), 0);
    EXPECT_FALSE(alIsBuffer(toneBuffer));
}

}  // namespace
