// Audio engine on real OpenAL Soft. The mixed output is captured by OpenAL Soft's wave writer (a config
// file written here selects it), so what the engine played can be measured: pitch and pan. Channel
// states, focus suspension, source recycling under exhaustion, deferred buffer deletion and the samples'
// lifetime under the collector are checked against OpenAL's own view of its sources.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "host/game.h"
#include "media/audio.h"
#include "tests/common/capture.h"
#include "tests/common/collector.h"
#include "tests/common/scratch.h"
#include "tests/common/wav.h"

namespace {

using namespace zk_test;

const int kRate = kCaptureRate;

std::string folder() {
    static ScratchDir dir("zk_audio");   // config, sounds, captured output
    return dir.path();
}

// A 16-bit mono WAV file of a sine tone; returns its path.
std::string write_tone(const std::string& name, double hertz, double seconds) {
    return write_wav(folder() + "/" + name, wav_mono16(kRate, wav_tone(hertz, int(seconds * kRate), kRate)));
}

// A WAV file of `frames` loud frames in a layout of `channels` and `bits`; returns its path.
std::string write_layout(const std::string& name, int channels, int bits, int frames) {
    WavSpec w;
    w.channels = channels, w.bits = bits, w.hertz = kRate;
    int bytes = bits / 8;
    for (int i = 0; i < frames * channels; ++i) {
        for (int b = 0; b < bytes; ++b) w.pcm += char(b == bytes - 1 ? ((i / channels / 20) % 2 ? 0x60 : 0xA0) : 0);
    }
    return write_wav(folder() + "/" + name, w);
}

Capture read_capture() { return ReadCapture(folder()); }

// Waits (within a generous limit) until `done` holds; the wave writer mixes in real time.
template <class Done>
bool wait_for(Done done) {
    for (int i = 0; i < 1000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

ALint al_state(ALuint source) {
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

gxtkAudio* keep = nullptr;   // collector root for the engine under test

class AudioEngine : public ::testing::Test {
protected:
    // One OpenAL configuration per process: the wave writer into the scratch folder.
    static void SetUpTestSuite() {
        UseWaveWriter(folder());
        gc_init1();
        gc_root(keep);
        gc_init2();
        new ZKGlfwGame();   // the host that reads sound files
    }

    void SetUp() override { open(); }
    void TearDown() override { close(); }

    // A fresh engine on a fresh device, with the two test sounds loaded.
    void open() {
        audio = new gxtkAudio();
        gc_assign(keep, audio);
        ASSERT_NE(audio->alcContext, nullptr);
        tone = audio->LoadSample(String(write_tone("tone.wav", 440, 0.5).c_str()));
        blip = audio->LoadSample(String(write_tone("blip.wav", 1000, 0.05).c_str()));
        ASSERT_NE(tone, nullptr);
        ASSERT_NE(blip, nullptr);
    }
    // Ends the device so that the wave writer completes its file; only tests ever close OpenAL. First the
    // device's samples are collected and their buffers deleted, so that no buffer name of a closed device
    // ever reaches the discard list of the next one.
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
    bool ended(int channel) {
        return wait_for([&] { return audio->ChannelState(channel) == 0; });
    }

    gxtkAudio* audio = nullptr;
    gxtkSample* tone = nullptr;   // 0.5 s of 440 Hz
    gxtkSample* blip = nullptr;   // 0.05 s of 1000 Hz
};

TEST_F(AudioEngine, APlayedToneComesOutAtItsPitch) {
    ASSERT_EQ(audio->PlaySample(tone, 0, 0), 0);
    ASSERT_TRUE(ended(0));
    close();
    Capture c = read_capture();
    EXPECT_NEAR(c.Frequency(), 440.0, 3.0);
    // Rate is pitch: the same sample at rate 1.5 sounds at 660 Hz.
    open();
    audio->SetRate(3, 1.5f);
    ASSERT_EQ(audio->PlaySample(tone, 3, 0), 0);
    ASSERT_TRUE(ended(3));
    close();
    EXPECT_NEAR(read_capture().Frequency(), 660.0, 4.0);
}

TEST_F(AudioEngine, PanMovesTheSoundToThatSide) {
    for (float pan : {float(M_PI / 2), float(-M_PI / 2)}) {
        if (pan < 0) open();
        audio->SetPan(5, pan);   // set before playing: pan stays on the channel's source
        ASSERT_EQ(audio->PlaySample(tone, 5, 0), 0);
        ASSERT_TRUE(ended(5));
        close();
        Capture c = read_capture();
        double left = Capture::Energy(c.left), right = Capture::Energy(c.right);
        ASSERT_GT(left + right, 0.0) << "something was heard";
        if (pan > 0)
            EXPECT_GT(right, 10 * left) << "panned right";
        else
            EXPECT_GT(left, 10 * right) << "panned left";
    }
}

TEST_F(AudioEngine, AOneShotFallsToStoppedALoopKeepsPlaying) {
    ASSERT_EQ(audio->PlaySample(blip, 1, 1), 0);   // looping
    ASSERT_EQ(audio->PlaySample(blip, 2, 0), 0);   // once
    EXPECT_EQ(audio->ChannelState(2), 1);
    ASSERT_TRUE(ended(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));   // three times the blip's length
    EXPECT_EQ(audio->ChannelState(1), 1);
    EXPECT_EQ(al_state(audio->channels[1].source), AL_PLAYING);

    // Pausing a sound that has already ended leaves it stopped.
    ASSERT_EQ(audio->PlaySample(blip, 2, 0), 0);
    ASSERT_TRUE(wait_for([&] { return al_state(audio->channels[2].source) == AL_STOPPED; }));
    EXPECT_EQ(audio->channels[2].state, 1) << "not yet noticed";
    audio->PauseChannel(2);
    EXPECT_EQ(audio->ChannelState(2), 0);
    // Pause and resume of a playing channel; stop ends it.
    audio->PauseChannel(1);
    EXPECT_EQ(audio->ChannelState(1), 2);
    EXPECT_EQ(al_state(audio->channels[1].source), AL_PAUSED);
    audio->ResumeChannel(1);
    EXPECT_EQ(audio->ChannelState(1), 1);
    audio->StopChannel(1);
    EXPECT_EQ(audio->ChannelState(1), 0);
    EXPECT_EQ(al_state(audio->channels[1].source), AL_STOPPED);

    // Playing over a playing channel restarts it with the new sample.
    ASSERT_EQ(audio->PlaySample(tone, 1, 1), 0);
    ASSERT_EQ(audio->PlaySample(blip, 1, 0), 0);
    ALint buffer = 0, looping = 1;
    alGetSourcei(audio->channels[1].source, AL_BUFFER, &buffer);
    alGetSourcei(audio->channels[1].source, AL_LOOPING, &looping);
    EXPECT_EQ(ALuint(buffer), blip->buffer);
    EXPECT_EQ(looping, AL_FALSE);
}

TEST_F(AudioEngine, SuspendAndResumeLeaveGamePausedChannelsPaused) {
    ASSERT_EQ(audio->PlaySample(tone, 3, 1), 0);   // the game pauses this one
    ASSERT_EQ(audio->PlaySample(tone, 4, 1), 0);   // this one plays on
    ASSERT_EQ(audio->PlaySample(tone, gxtkAudio::kMusicChannel, 1), 0);
    audio->PauseChannel(3);
    audio->PauseMusic();

    audio->Suspend();
    EXPECT_EQ(al_state(audio->channels[4].source), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(4), 1) << "a suspension is not the game's pause";
    EXPECT_EQ(audio->ChannelState(3), 2);

    audio->Resume();
    EXPECT_EQ(al_state(audio->channels[4].source), AL_PLAYING);
    EXPECT_EQ(al_state(audio->channels[3].source), AL_PAUSED);
    EXPECT_EQ(audio->ChannelState(3), 2);
    EXPECT_EQ(al_state(audio->channels[gxtkAudio::kMusicChannel].source), AL_PAUSED);
    EXPECT_EQ(audio->MusicState(), 2);

    // A game pause during the suspension survives the resume.
    audio->Suspend();
    audio->PauseChannel(4);
    audio->Resume();
    EXPECT_EQ(audio->ChannelState(4), 2);
    EXPECT_EQ(al_state(audio->channels[4].source), AL_PAUSED);
}

// With OpenAL out of sources, a channel takes the source of the first sound channel, lowest number first,
// whose sound has ended; with none ended it gets none, and the music channel never gives its source up.
TEST_F(AudioEngine, AFinishedChannelGivesItsSourceUpWhenOpenAlHasNoMore) {
    std::vector<ALuint> hogged;
    for (;;) {
        ALuint s = 0;
        alGetError();
        alGenSources(1, &s);
        if (alGetError() != AL_NO_ERROR) break;
        hogged.push_back(s);
        ASSERT_LT(hogged.size(), 100000u);
    }
    ASSERT_GE(hogged.size(), 3u);
    alDeleteSources(3, &hogged[hogged.size() - 3]);   // room for exactly three more
    hogged.resize(hogged.size() - 3);

    ASSERT_EQ(audio->PlaySample(tone, 6, 0), 0);   // ends after 0.5 s
    ASSERT_EQ(audio->PlaySample(tone, 7, 1), 0);   // never ends
    ASSERT_EQ(audio->PlaySample(tone, 2, 0), 0);   // ends after 0.5 s
    ALuint low = audio->channels[2].source, high = audio->channels[6].source;
    EXPECT_EQ(audio->PlaySample(blip, 8, 0), -1) << "every source is busy";
    EXPECT_EQ(audio->channels[8].source, 0u);
    EXPECT_EQ(audio->SetVolume(8, 0.5f), 0) << "a channel without a source ignores settings";

    ASSERT_TRUE(ended(6));
    ASSERT_TRUE(ended(2));
    EXPECT_EQ(audio->PlaySample(tone, 8, 1), 0);
    EXPECT_EQ(audio->channels[8].source, low) << "the lowest finished channel gives first";
    EXPECT_EQ(audio->channels[2].source, 0u);
    EXPECT_EQ(audio->channels[6].source, high);
    EXPECT_EQ(audio->PlaySample(tone, 9, 1), 0);
    EXPECT_EQ(audio->channels[9].source, high);
    EXPECT_EQ(audio->channels[6].source, 0u);
    EXPECT_EQ(audio->PlaySample(blip, 10, 0), -1) << "7, 8 and 9 loop; nothing else has a source";
    EXPECT_NE(audio->channels[7].source, 0u);
    EXPECT_NE(audio->channels[gxtkAudio::kMusicChannel].source, 0u);
    alDeleteSources(ALsizei(hogged.size()), hogged.data());
}

// A discarded buffer is deleted only once no source holds it, at the next load or play.
TEST_F(AudioEngine, DiscardedBuffersWaitUntilNoSourceHoldsThem) {
    int before = gxtkAudio::DiscardPending();
    ASSERT_EQ(audio->PlaySample(tone, 0, 1), 0);
    ALuint buffer = tone->buffer;
    tone->Discard();
    EXPECT_EQ(tone->buffer, 0u);
    tone->Discard();   // a second discard does nothing
    EXPECT_EQ(gxtkAudio::DiscardPending(), before + 1);

    ASSERT_EQ(audio->PlaySample(blip, 1, 0), 0);   // a flush: the buffer is still playing
    EXPECT_EQ(gxtkAudio::DiscardPending(), before + 1);
    EXPECT_TRUE(alIsBuffer(buffer));

    audio->StopChannel(0);   // stopped by the game: it lets go at the next flush
    ASSERT_EQ(audio->PlaySample(blip, 1, 0), 0);
    EXPECT_EQ(gxtkAudio::DiscardPending(), 0);
    EXPECT_FALSE(alIsBuffer(buffer));
}

// A sample stays alive while a channel plays it, and goes (its buffer discarded) once nothing does.
TEST_F(AudioEngine, ASampleLivesWhileAChannelPlaysIt) {
    ASSERT_EQ(audio->PlaySample(tone, 0, 1), 0);
    ASSERT_EQ(audio->PlaySample(blip, 1, 0), 0);
    ALuint toneBuffer = tone->buffer;
    ASSERT_TRUE(ended(1));

    std::string said = CollectEverything();
    EXPECT_TRUE(gc_holds(tone)) << "the looping sample is alive";
    EXPECT_EQ(tone->buffer, toneBuffer);
    EXPECT_FALSE(gc_holds(blip)) << "the finished sample was collected";
    EXPECT_NE(said.find("Discarding sample"), std::string::npos);
    EXPECT_EQ(gxtkAudio::DiscardPending(), 1);

    audio->StopChannel(0);
    CollectEverything();
    EXPECT_FALSE(gc_holds(tone));
    audio->LoadSample(String());   // flushes, and makes no buffer that could reuse the name
    EXPECT_EQ(gxtkAudio::DiscardPending(), 0);
    EXPECT_FALSE(alIsBuffer(toneBuffer));
}

// A file that decodes to a layout OpenAL has no format for still loads: its sample has a buffer that
// OpenAL made but left empty, and playing it is silence that ends at once. A loud 16-bit stereo file of
// the same length, played beside nothing else, is heard, so the capture would show a mistake.
TEST_F(AudioEngine, ADecodedLayoutOpenAlCannotTakeLoadsAndPlaysAsSilence) {
    gxtkSample* deep = audio->LoadSample(String(write_layout("deep.wav", 1, 24, kRate / 4).c_str()));
    gxtkSample* wide = audio->LoadSample(String(write_layout("wide.wav", 3, 16, kRate / 4).c_str()));
    for (gxtkSample* sample : {deep, wide}) {
        ASSERT_NE(sample, nullptr);
        ASSERT_NE(sample->buffer, 0u);
        EXPECT_TRUE(alIsBuffer(sample->buffer));
        ALint size = -1;
        alGetBufferi(sample->buffer, AL_SIZE, &size);
        EXPECT_EQ(size, 0) << "OpenAL took no data";
    }
    ASSERT_EQ(audio->PlaySample(deep, 0, 0), 0);
    ASSERT_EQ(audio->PlaySample(wide, 1, 0), 0);
    ASSERT_TRUE(ended(0));
    ASSERT_TRUE(ended(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));   // longer than either file would sound
    close();
    Capture quiet = read_capture();
    EXPECT_EQ(quiet.Energy(), 0.0);

    open();
    gxtkSample* loud = audio->LoadSample(String(write_layout("loud.wav", 2, 16, kRate / 4).c_str()));
    ASSERT_NE(loud, nullptr);
    ASSERT_EQ(audio->PlaySample(loud, 0, 0), 0);
    ASSERT_TRUE(ended(0));
    close();
    Capture heard = read_capture();
    EXPECT_GT(heard.Energy(), 0.0);
}

TEST_F(AudioEngine, MusicPlaysWholeFilesOnItsOwnChannel) {
    EXPECT_EQ(audio->PlayMusic(String((folder() + "/missing.ogg").c_str()), 1), -1);
    EXPECT_EQ(audio->MusicState(), 0);
    ASSERT_EQ(audio->PlayMusic(String((folder() + "/tone.wav").c_str()), 1), 0);
    EXPECT_EQ(audio->MusicState(), 1);
    audio->SetMusicVolume(0.25f);
    ALfloat gain = 0;
    alGetSourcef(audio->channels[gxtkAudio::kMusicChannel].source, AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.25f);
    audio->PauseMusic();
    EXPECT_EQ(audio->MusicState(), 2);
    audio->ResumeMusic();
    EXPECT_EQ(audio->MusicState(), 1);
    audio->StopMusic();
    EXPECT_EQ(audio->MusicState(), 0);
    // Files that are not sounds load as nothing.
    std::ofstream(folder() + "/junk.wav") << "not a sound";
    EXPECT_EQ(audio->LoadSample(String((folder() + "/junk.wav").c_str())), nullptr);
    EXPECT_EQ(audio->LoadSample(String((folder() + "/tone.mp3").c_str())), nullptr);
}

}  // namespace
