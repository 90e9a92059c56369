// tests/assets/sound_test.cpp: every sound effect and tune decodes through the game's own WAV and Ogg
// loaders, is audible, never clips, and fades to silence at its ends; the tunes last their game's length.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data_files.h"
#include "codecs/audio_decode.h"

namespace {

struct Pcm {
    std::vector<int16_t> samples;  // mono
    int hertz = 0;
    double seconds() const { return double(samples.size()) / hertz; }
};

bool decode(const std::string& file, bool ogg, Pcm& out) {
    FILE* f = std::fopen(data_path(file).c_str(), "rb");
    if (!f) return false;
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* data = ogg ? LoadOGG(f, &length, &channels, &format, &hertz)
                              : LoadWAV(f, &length, &channels, &format, &hertz);
    std::fclose(f);
    if (!data) return false;
    EXPECT_EQ(channels, 1) << file;
    EXPECT_EQ(format, 2) << file;
    const int16_t* s = reinterpret_cast<const int16_t*>(data);
    out.samples.assign(s, s + size_t(length) * channels);
    out.hertz = hertz;
    std::free(data);
    return true;
}

int peak(const Pcm& p, size_t from, size_t to) {
    int m = 0;
    for (size_t i = from; i < to && i < p.samples.size(); ++i) m = std::max(m, std::abs(int(p.samples[i])));
    return m;
}

double rms(const Pcm& p) {
    double sum = 0;
    for (int16_t v : p.samples) sum += double(v) * v;
    return std::sqrt(sum / p.samples.size());
}

constexpr int kClip = 32700;  // a sample this loud has been (or nearly been) clipped

}  // namespace

TEST(AssetSoundEffects, DecodeAreAudibleDoNotClipAndStartAndEndSilent) {
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 95, 96, 98, 99}) {
        char file[16];
        std::snprintf(file, sizeof file, "sfx/%03d.wav", n);
        Pcm p;
        ASSERT_TRUE(decode(file, false, p)) << file;
        ASSERT_GT(p.samples.size(), 100u) << file;
        EXPECT_GT(peak(p, 0, p.samples.size()), 16000) << file << " is too quiet";
        EXPECT_GT(rms(p), 600) << file << " is nearly silent";
        EXPECT_LT(peak(p, 0, p.samples.size()), kClip) << file << " clips";
        EXPECT_LT(std::abs(p.samples.front()), 64) << file << " starts with a click";
        EXPECT_LT(std::abs(p.samples.back()), 64) << file << " ends with a click";
        EXPECT_LT(p.seconds(), 2.5) << file;
    }
}

TEST(AssetTunes, LastTheirGameLengthAreAudibleAndEndQuietly) {
    const struct { const char* file; double seconds; } tunes[] = {
        {"sfx/30.ogg", 30}, {"sfx/20.ogg", 20}, {"sfx/10.ogg", 10}};
    for (auto& t : tunes) {
        Pcm p;
        ASSERT_TRUE(decode(t.file, true, p)) << t.file;
        EXPECT_NEAR(p.seconds(), t.seconds, 0.1) << t.file;
        EXPECT_GT(rms(p), 1000) << t.file << " is nearly silent";
        EXPECT_LT(peak(p, 0, p.samples.size()), kClip) << t.file << " clips";
        size_t n = p.samples.size(), tail = size_t(p.hertz * 0.02);
        EXPECT_LT(peak(p, n - tail, n), 1500) << t.file << " is cut off instead of ending";
        // the last bar is the final chord ringing out: the half second before the end is softer than
        // the music before it
        EXPECT_LT(peak(p, n - p.hertz / 2, n), peak(p, 0, n - p.hertz * 2)) << t.file;
    }
}
