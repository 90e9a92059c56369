// A tune decoded in slices while it plays must sound sample for sample as the file decoded whole.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/media/engine.h"

using namespace zk_test;

const int kTuneFrames = kCaptureRate * 3;   // three seconds: the first slice and many more

// Chirps, loud from the first frame, so that a slice out of place, missing or repeated shows.
std::string write_tune(const std::string& name, int frames) {
    WavSpec w = wav_mono16(kCaptureRate, "");
    w.channels = 2;
    for (int i = 0; i < frames; ++i) {
        double t = double(i) / kCaptureRate;
        wav_put16(w.pcm, uint16_t(int16_t(9000 * std::cos(2 * M_PI * (200 + 300 * t) * t))));
        wav_put16(w.pcm, uint16_t(int16_t(9000 * std::cos(2 * M_PI * (1500 - 300 * t) * t))));
    }
    const std::string wav = AudioPath(name + ".wav"), ogg = AudioPath(name + ".ogg");
    write_wav(wav, w);
    EXPECT_EQ(std::system(("oggenc -Q -o '" + ogg + "' '" + wav + "'").c_str()), 0);
    return ogg;
}

std::vector<uint32_t> heard(const Capture& c) {
    std::vector<uint32_t> frames;
    for (size_t i = 0; i < c.left.size(); ++i) {
        if (frames.empty() && c.left[i] == 0 && c.right[i] == 0) continue;
        frames.push_back(uint32_t(uint16_t(c.left[i])) << 16 | uint16_t(c.right[i]));
    }
    return frames;
}

std::vector<uint32_t> without_silence(std::vector<uint32_t> frames) {
    frames.erase(std::remove(frames.begin(), frames.end(), 0u), frames.end());
    return frames;
}

// A joined thread may stay listed for a moment: callers poll.
using Dir = std::filesystem::directory_iterator;
int threads() { return int(std::distance(Dir("/proc/self/task"), Dir())); }

class Music : public Engine {
protected:
    static void SetUpTestSuite() {
        Engine::SetUpTestSuite();
        tune = new std::string(write_tune("tune", kTuneFrames));
    }
    template <class Done>   // the game's frames
    bool frames_until(Done done) {
        return WaitFor([&] { return audio->StreamMusic(), done(); });
    }
    int played() {
        ALint offset = 0;
        alGetSourcei(audio->channels[gxtkAudio::kMusicChannel].source, AL_SAMPLE_OFFSET, &offset);
        return offset;
    }
    std::vector<uint32_t> whole() {
        ok(audio->PlaySample(audio->LoadSample(String(tune->c_str())), gxtkAudio::kMusicChannel, 0));
        EXPECT_TRUE(frames_until([&] { return audio->MusicState() == 0; }));
        std::vector<uint32_t> ref = heard(Close());
        EXPECT_GE(ref.size(), size_t(kTuneFrames));
        ref.resize(kTuneFrames);
        Open();
        return ref;
    }
    void ok(int result) { ASSERT_EQ(result, 0); }

    static inline std::string* tune = nullptr;
};

TEST_F(Music, ALoopingSlicedTunePlaysTheWholeTuneTwiceBackToBack) {
    const std::vector<uint32_t> ref = whole();
    ASSERT_EQ(audio->PlayMusic(String(tune->c_str()), 1), 0);
    EXPECT_TRUE(audio->MusicStreaming()) << "only the first part was decoded";
    gxtkSample* sample = audio->channels[gxtkAudio::kMusicChannel].sample;
    int last = 0, wraps = 0;   // into its third pass
    ASSERT_TRUE(frames_until([&] {
        int now = played();
        wraps += now < last;
        last = now;
        return wraps == 2;
    }));
    EXPECT_EQ(audio->MusicState(), 1);
    EXPECT_GT(sample->slices.size(), 4u);
    std::vector<uint32_t> got = heard(Close());
    ASSERT_GE(got.size(), 2 * ref.size());
    EXPECT_TRUE(std::equal(ref.begin(), ref.end(), got.begin()));
    EXPECT_TRUE(std::equal(ref.begin(), ref.end(), got.begin() + ref.size())) << "the second pass";
}

TEST_F(Music, ASlicedTunePausedMidwayResumesWhereItWas) {
    const std::vector<uint32_t> ref = whole();
    auto idle = [&] { return frames_until([&, n = 0]() mutable { return ++n > 40; }); };   // 40 frames
    ASSERT_EQ(audio->PlayMusic(String(tune->c_str()), 0), 0);
    ASSERT_TRUE(frames_until([&] { return played() > kCaptureRate * 3 / 2; }));   // past the first part
    audio->PauseMusic();
    const int at = played();
    idle();
    EXPECT_EQ(played(), at) << "paused, and no slice moved it";
    audio->ResumeMusic();
    ASSERT_TRUE(frames_until([&] { return played() > kCaptureRate * 2; }));
    audio->Suspend(), idle(), audio->Resume();
    ASSERT_TRUE(frames_until([&] { return audio->MusicState() == 0; }));
    EXPECT_EQ(without_silence(heard(Close())), without_silence(ref));   // with only silence between
}

// OpenAL's restart may lose a frame.
TEST_F(Music, ASlicedTuneThatRanDryGoesOnWhereItStopped) {
    const std::vector<uint32_t> ref = without_silence(whole());
    ASSERT_EQ(audio->PlayMusic(String(tune->c_str()), 0), 0);
    ASSERT_TRUE(WaitFor([&] { return AlState(gxtkAudio::kMusicChannel) == AL_STOPPED; }));
    EXPECT_EQ(audio->MusicState(), 1) << "not ended";
    ASSERT_TRUE(frames_until([&] { return audio->MusicState() == 0; }));
    EXPECT_NEAR(double(without_silence(heard(Close())).size()), double(ref.size()), 2);
}

// Long enough for its worker to wait for StreamMusic rather than finish.
TEST_F(Music, EndingATuneWhileItsSlicesDecodeLeavesNoThread) {
    const int before = threads();
    const String file(write_tune("long", kCaptureRate * 8).c_str());
    auto start = [&] {
        ok(audio->PlayMusic(file, 1));
        EXPECT_TRUE(audio->MusicStreaming() && threads() == before + 1) << "one worker";
    };
    auto joined = [&] { return WaitFor([&] { return threads() == before; }); };
    start(), audio->StopMusic();   // by the game
    EXPECT_TRUE(joined());
    start(), ok(audio->PlayMusic(file, 0));   // by a new tune, whose own worker then runs alone
    EXPECT_TRUE(WaitFor([&] { return threads() == before + 1; })) << "one worker, the new tune's";
    audio->StopMusic();
    EXPECT_TRUE(joined());
    start(), gc_assign(engine_root, static_cast<gxtkAudio*>(nullptr));   // by the engine's collection
    CollectEverything(), audio = nullptr;
    EXPECT_TRUE(joined());
}
