// The audio engine on real OpenAL Soft: what it mixed, captured, and OpenAL's own view of its sources.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "tests/media/engine.h"

using namespace zk_test;

// A tone at `hertz` lasting `seconds`, 8- or 16-bit, mono or stereo with a silent left; returns its path.
std::string write_tone(const std::string& name, double hertz, double seconds, int bits = 16,
                       bool stereo = false) {
    WavSpec w = wav_mono16(kCaptureRate, "");
    w.bits = bits, w.channels = stereo ? 2 : 1;
    for (int i = 0; i < int(seconds * kCaptureRate); ++i) {
        const double v = std::sin(2 * M_PI * hertz * i / kCaptureRate);
        for (double s : stereo ? std::vector<double>{0, v} : std::vector<double>{v}) {
            if (bits == 8) w.pcm += char(128 + int(90 * s));
            else wav_put16(w.pcm, uint16_t(int16_t(12000 * s)));
        }
    }
    return write_wav(AudioPath(name), w);
}

double loud_seconds(const Capture& c) {
    size_t first = c.left.size(), last = 0;
    for (size_t i = 0; i < c.left.size(); ++i)
        if (std::abs(c.left[i]) + std::abs(c.right[i]) > 1000) first = std::min(first, i), last = i;
    return first < last ? double(last - first) / kCaptureRate : 0;
}

class AudioEngine : public Engine {
protected:
    void SetUp() override {
        Engine::SetUp();
        tone = load(write_tone("tone.wav", 440, 0.5));
        blip = load(write_tone("blip.wav", 1000, 0.05));
        ASSERT_TRUE(tone && blip);
    }
    gxtkSample* load(const std::string& file) { return audio->LoadSample(String(file.c_str())); }

    gxtkSample* tone = nullptr;   // 0.5 s of 440 Hz
    gxtkSample* blip = nullptr;   // 0.05 s of 1000 Hz
};

// Each row compared with the plain tone of the first (energy < 0: not compared). A stereo file is not
// panned: its silent left stays silent.
TEST_F(AudioEngine, RateVolumePanAndSampleLayoutsShapeWhatIsHeard) {
    write_tone("mono8.wav", 440, 0.5, 8), write_tone("right8.wav", 440, 0.5, 8, true);
    write_tone("right16.wav", 440, 0.5, 16, true);
    const float kRight = float(M_PI / 2);
    // clang-format off
    struct { const char* file; float rate, volume, pan; double hertz, energy, right_share, seconds; } rows[] = {
        {"tone.wav", 1, 1, 0, 440, 1, 0.5, 0.5},
        {"tone.wav", 1.5f, 1, 0, 660, 0.67, 0.5, 0.33},   // rate is pitch, and the sound ends sooner
        {"tone.wav", 1, 0.5f, 0, 440, 0.25, 0.5, 0.5},    // volume is amplitude
        {"tone.wav", 1, 1, kRight, 440, 1.41, 1, 0.5},    // the mixer splits a centred sound 3 dB down on each side
        {"mono8.wav", 1, 1, 0, 440, -1, 0.5, 0.5},
        {"right8.wav", 1, 1, 0, 440, -1, 1, 0.5},
        {"right16.wav", 1, 1, 0, 440, -1, 1, 0.5}};
    // clang-format on
    double plain = 0;
    for (auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        if (!audio->alcDevice) Open();
        // Set before playing: they stay on the channel's source.
        audio->SetRate(5, row.rate), audio->SetVolume(5, row.volume), audio->SetPan(5, row.pan);
        ASSERT_EQ(audio->PlaySample(load(AudioPath(row.file)), 5, 0), 0);
        ASSERT_TRUE(WaitFor([&] { return audio->ChannelState(5) == 0; }));
        Capture c = Close();
        double left = Capture::Energy(c.left), right = Capture::Energy(c.right);
        if (plain == 0) plain = left + right;
        EXPECT_NEAR(c.Frequency(), row.hertz, 4.0);
        EXPECT_NEAR(row.energy < 0 ? row.energy : (left + right) / plain, row.energy, 0.05);
        EXPECT_NEAR(right / (left + right), row.right_share, 0.05);
        EXPECT_NEAR(loud_seconds(c), row.seconds, 0.02);
    }
}

TEST_F(AudioEngine, MusicPausesAndResumesAndSuspensionsLeaveGamePausesAlone) {
    const int music = gxtkAudio::kMusicChannel;
    ASSERT_EQ(audio->PlayMusic(String(AudioPath("tone.wav").c_str()), 1), 0);
    ASSERT_EQ(audio->PlaySample(tone, 3, 1), 0);   // the game pauses this one
    ASSERT_EQ(audio->PlaySample(tone, 4, 1), 0);   // this one plays on
    audio->PauseChannel(3), audio->PauseMusic();
    EXPECT_EQ(audio->MusicState() * 10000 + AlState(music), 2 * 10000 + AL_PAUSED);
    audio->Suspend();
    EXPECT_EQ(audio->ChannelState(4) * 10000 + AlState(4), 1 * 10000 + AL_PAUSED) << "not the game's pause";
    audio->Resume();
    EXPECT_EQ(AlState(4), AL_PLAYING);
    EXPECT_EQ(audio->ChannelState(3) * 10000 + AlState(3), 2 * 10000 + AL_PAUSED);
    EXPECT_EQ(audio->MusicState() * 10000 + AlState(music), 2 * 10000 + AL_PAUSED);
    audio->ResumeMusic();
    EXPECT_EQ(audio->MusicState() * 10000 + AlState(music), 1 * 10000 + AL_PLAYING);
    // A game pause during the suspension survives the resume.
    audio->Suspend(), audio->PauseChannel(4), audio->Resume();
    EXPECT_EQ(audio->ChannelState(4) * 10000 + AlState(4), 2 * 10000 + AL_PAUSED);
}

TEST_F(AudioEngine, ChannelsOutOfSourcesTakeThoseOfStoppedSoundsOnly) {
    for (int channel = 0; channel < kSources - 2; ++channel)
        ASSERT_EQ(audio->PlaySample(tone, channel, 1), 0);
    ASSERT_EQ(audio->PlaySample(blip, 6, 0), 0);   // the last source; the music has its own
    ASSERT_TRUE(WaitFor([&] { return AlState(6) == AL_STOPPED; }));
    audio->PauseChannel(6);   // asked after its end, not yet noticed: it stays stopped, not paused
    EXPECT_EQ(audio->PlaySample(tone, 7, 1), 0) << "channel 6's";
    EXPECT_EQ(audio->PlaySample(blip, 6, 0), -1) << "given up: every other sound plays";
    audio->StopMusic();
    EXPECT_EQ(audio->PlaySample(blip, 8, 0), -1) << "the music keeps its source";
    audio->StopChannel(3);
    EXPECT_EQ(audio->PlaySample(blip, 8, 0), 0) << "channel 3's";
    EXPECT_EQ(audio->channels[3].source, 0u);
}

// A discarded buffer is deleted only once no source holds it, at the next load or play.
TEST_F(AudioEngine, SamplesAndBuffersLiveWhileAChannelHoldsThem) {
    gxtkSample* paused = load(AudioPath("tone.wav"));
    gxtkSample* suspended = load(AudioPath("tone.wav"));
    ASSERT_EQ(audio->PlaySample(tone, 0, 1), 0);
    ASSERT_EQ(audio->PlaySample(blip, 1, 0), 0);
    ASSERT_EQ(audio->PlaySample(paused, 2, 0), 0);
    ASSERT_EQ(audio->PlaySample(suspended, 4, 1), 0);   // looping: it cannot end before the suspension
    audio->PauseChannel(2);
    // OpenAL's view only: the channel's record still says playing, and its ended sound holds nothing.
    ASSERT_TRUE(WaitFor([&] { return AlState(1) == AL_STOPPED; }));
    audio->Suspend();
    EXPECT_EQ(CollectEverything(), "Discarding sample\n") << "the finished sample, alone";
    EXPECT_TRUE(gc_holds(tone) && gc_holds(paused) && gc_holds(suspended) && !gc_holds(blip));
    audio->Resume();

    ALuint toneBuffer = tone->buffer;
    tone->Discard(), tone->Discard();   // a second discard does nothing
    EXPECT_EQ(gxtkAudio::DiscardPending(), 2);
    gxtkSample* again = load(AudioPath("blip.wav"));   // a flush: one buffer still plays
    EXPECT_EQ(gxtkAudio::DiscardPending(), 1);
    EXPECT_TRUE(alIsBuffer(toneBuffer));
    audio->StopChannel(0);   // stopped by the game: it lets go at the next flush
    ASSERT_EQ(audio->PlaySample(again, 1, 0), 0);
    EXPECT_EQ(gxtkAudio::DiscardPending(), 0);
    EXPECT_FALSE(alIsBuffer(toneBuffer));
}
