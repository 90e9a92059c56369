// WAV and Ogg Vorbis decoding: the PCM layouts and chunk shapes that real files use, files written by
// sox and oggenc, and rejection of files that lie about their contents, without ever allocating what a
// hostile header asks for. The test binary is linked with the decoders' malloc and realloc wrapped, so
// the largest block the decoders asked for is observable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "codecs/audio_decode.h"
#include "tests/common/scratch.h"
#include "tests/common/wav.h"

// The largest request seen by malloc or realloc from code linked statically into this test.
static size_t largest_request = 0;
extern "C" void* __real_malloc(size_t size);
extern "C" void* __real_realloc(void* p, size_t size);
extern "C" void* __wrap_malloc(size_t size) {
    if (size > largest_request) largest_request = size;
    return __real_malloc(size);
}
extern "C" void* __wrap_realloc(void* p, size_t size) {
    if (size > largest_request) largest_request = size;
    return __real_realloc(p, size);
}

namespace {

using zk_test::WavSpec;
using zk_test::wav_bytes;
using zk_test::wav_chunk;

struct Decoded {
    unsigned char* pcm = nullptr;
    int length = -1, channels = -1, format = -1, hertz = -1;
    ~Decoded() { std::free(pcm); }
    std::string bytes() const { return std::string(reinterpret_cast<char*>(pcm), length * channels * format); }
};

// Decodes `bytes` from a real file; `loader` is LoadWAV or LoadOGG.
template <class Loader>
void decode_bytes(const std::string& bytes, Loader loader, Decoded& d) {
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    d.pcm = loader(f, &d.length, &d.channels, &d.format, &d.hertz);
    std::fclose(f);
}

template <class Loader>
void decode_path(const std::string& path, Loader loader, Decoded& d) {
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr) << path;
    d.pcm = loader(f, &d.length, &d.channels, &d.format, &d.hertz);
    std::fclose(f);
}

std::string ramp(int n) {
    std::string s(n, '\0');
    for (int i = 0; i < n; ++i) s[i] = char(i * 37 + 11);
    return s;
}

// A folder for files made by the command-line tools, removed afterwards.
class EncodedFiles : public ::testing::Test {
protected:
    void run(const std::string& cmd) { ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd; }
    zk_test::ScratchDir scratch{"zk_wav"};
    std::string dir = scratch.path();
};

TEST(Wav, PcmLayoutsComeBackByteForByte) {
    struct Case { int channels, bits; } cases[] = {{1, 8}, {2, 8}, {1, 16}, {2, 16}};
    for (Case c : cases) {
        WavSpec w;
        w.channels = c.channels;
        w.bits = c.bits;
        w.hertz = 22050;
        w.pcm = ramp(60 * c.channels * c.bits / 8);
        Decoded d;
        decode_bytes(wav_bytes(w), LoadWAV, d);
        ASSERT_NE(d.pcm, nullptr) << c.channels << "x" << c.bits;
        EXPECT_EQ(d.length, 60);
        EXPECT_EQ(d.channels, c.channels);
        EXPECT_EQ(d.format, c.bits / 8);
        EXPECT_EQ(d.hertz, 22050);
        EXPECT_EQ(d.bytes(), w.pcm);
    }
}

TEST(Wav, ExtraFmtBytesAndChunksBeforeDataAreSkipped) {
    for (int fmtSize : {18, 40}) {
        WavSpec w;
        w.fmtSize = fmtSize;
        w.pcm = ramp(20);
        Decoded d;
        decode_bytes(wav_bytes(w), LoadWAV, d);
        ASSERT_NE(d.pcm, nullptr) << fmtSize;
        EXPECT_EQ(d.bytes(), w.pcm);
    }
    // A LIST chunk of odd size with its pad byte, and one whose writer forgot the pad.
    for (bool pad : {true, false}) {
        WavSpec w;
        w.before = wav_chunk("LIST", "INFOISFT\x05\0\0\0sox!!", pad) + wav_chunk("fact", "abcd");
        w.pcm = ramp(10);
        Decoded d;
        decode_bytes(wav_bytes(w), LoadWAV, d);
        ASSERT_NE(d.pcm, nullptr) << pad;
        EXPECT_EQ(d.length, 5);
        EXPECT_EQ(d.bytes(), w.pcm);
    }
    // A trailing half frame is not part of the length.
    WavSpec w;
    w.channels = 2;
    w.pcm = ramp(4 * 3 + 2);
    Decoded d;
    decode_bytes(wav_bytes(w), LoadWAV, d);
    ASSERT_NE(d.pcm, nullptr);
    EXPECT_EQ(d.length, 3);
}

TEST(Wav, FilesThatAreNotPlainPcmAreRejected) {
    auto rejected = [](const WavSpec& w) {
        Decoded d;
        decode_bytes(wav_bytes(w), LoadWAV, d);
        return d.pcm == nullptr && d.length == -1;   // out-parameters untouched
    };
    WavSpec w;
    w.pcm = ramp(100);
    ASSERT_FALSE(rejected(w));

    WavSpec floats = w;
    floats.audioFormat = 3;
    EXPECT_TRUE(rejected(floats)) << "IEEE float";
    WavSpec extensible = w;
    extensible.audioFormat = 0xFFFE;
    extensible.fmtSize = 40;
    EXPECT_TRUE(rejected(extensible)) << "extensible";
    WavSpec mute = w;
    mute.channels = 0;
    EXPECT_TRUE(rejected(mute)) << "zero channels";
    for (int bits : {0, 4}) {
        WavSpec thin = w;
        thin.bits = bits;
        EXPECT_TRUE(rejected(thin)) << bits << " bits";
    }
    WavSpec still = w;
    still.hertz = 0;
    EXPECT_TRUE(rejected(still)) << "zero rate";
    WavSpec shortFmt = w;
    shortFmt.fmtSize = 14;
    EXPECT_TRUE(rejected(shortFmt)) << "fmt chunk shorter than its fields";
    WavSpec empty = w;
    empty.pcm.clear();
    EXPECT_TRUE(rejected(empty)) << "no samples";
    WavSpec noData = w;
    noData.pcm = ramp(1);
    noData.dataSize = 1;
    EXPECT_TRUE(rejected(noData)) << "less than one frame";

    // Not a WAV at all, or cut off anywhere in its headers.
    std::string good = wav_bytes(w);
    for (size_t cut : {size_t(0), size_t(3), size_t(11), size_t(20), size_t(36), size_t(43)}) {
        Decoded d;
        decode_bytes(good.substr(0, cut), LoadWAV, d);
        EXPECT_EQ(d.pcm, nullptr) << "cut at " << cut;
    }
    std::string notRiff = good;
    notRiff[0] = 'X';
    Decoded d;
    decode_bytes(notRiff, LoadWAV, d);
    EXPECT_EQ(d.pcm, nullptr);
}

// Sizes that claim more than the file holds (truncated data, hostile headers) are refused before any
// allocation of that size; the decoder asks for nothing larger than the file itself.
TEST(Wav, ChunkSizesBeyondTheFileAreRefusedWithoutAllocating) {
    struct Lie { const char* what; int64_t dataSize; std::string before; } lies[] = {
        {"truncated data", 1000, ""},
        {"data of 2 GiB", 0x7FFFFFF0, ""},
        {"negative data size", 0xFFFFFFF0, ""},
        {"LIST of 2 GiB", -1, std::string("LIST") + std::string("\xF0\xFF\xFF\x7F", 4)},
        {"negative LIST size", -1, std::string("LIST") + std::string("\xF0\xFF\xFF\xFF", 4)},
    };
    for (const Lie& lie : lies) {
        WavSpec w;
        w.pcm = ramp(10);
        w.dataSize = lie.dataSize;
        w.before = lie.before;
        largest_request = 0;
        Decoded d;
        decode_bytes(wav_bytes(w), LoadWAV, d);
        EXPECT_EQ(d.pcm, nullptr) << lie.what;
        EXPECT_LT(largest_request, size_t(64 * 1024)) << lie.what;
    }
    // A fmt chunk claiming more than the file.
    std::string file = wav_bytes(WavSpec{});
    file[16] = '\xF0', file[17] = file[18] = '\xFF', file[19] = '\x7F';
    Decoded d;
    decode_bytes(file, LoadWAV, d);
    EXPECT_EQ(d.pcm, nullptr);
}

// Thousands of damaged copies of a file with a LIST chunk: bytes overwritten, sizes bent, tails cut.
// None may crash the decoder, ask for more memory than the file holds, or return PCM it does not have.
TEST(Wav, RandomDamageNeverCrashesOrOverAllocates) {
    WavSpec w;
    w.channels = 2;
    w.before = wav_chunk("LIST", "INFOISFT\x05\0\0\0sox!!");
    w.pcm = ramp(400);
    const std::string good = wav_bytes(w);
    uint32_t rng = 12345;
    auto next = [&] { return rng = rng * 1664525u + 1013904223u, rng >> 8; };
    for (int round = 0; round < 3000; ++round) {
        std::string bad = good;
        int damage = 1 + next() % 4;
        for (int i = 0; i < damage; ++i) bad[next() % 64] = char(next());   // the headers are in the first 64
        if (next() % 3 == 0) bad.resize(next() % bad.size());
        largest_request = 0;
        Decoded d;
        decode_bytes(bad, LoadWAV, d);
        ASSERT_LE(largest_request, bad.size()) << "round " << round;
        if (d.pcm) {
            ASSERT_GT(d.channels, 0);
            ASSERT_GT(d.format, 0);
            ASSERT_LE(size_t(d.length) * d.channels * d.format, bad.size()) << "round " << round;
        }
    }
}

TEST_F(EncodedFiles, WavFilesWrittenBySoxLoad) {
    struct Case { int rate, channels, bits; } cases[] = {{22050, 1, 8}, {44100, 2, 16}, {11025, 1, 16}};
    for (Case c : cases) {
        std::string path = dir + "/t.wav";
        run("sox -n -r " + std::to_string(c.rate) + " -c " + std::to_string(c.channels) + " -b " +
            std::to_string(c.bits) + " '" + path + "' synth 0.25 sine 440 2>/dev/null");
        Decoded d;
        decode_path(path, LoadWAV, d);
        ASSERT_NE(d.pcm, nullptr) << c.rate;
        EXPECT_EQ(d.length, c.rate / 4);
        EXPECT_EQ(d.channels, c.channels);
        EXPECT_EQ(d.format, c.bits / 8);
        EXPECT_EQ(d.hertz, c.rate);
    }
}

// Whatever the source precision, Vorbis decodes to 16-bit frames at the stream's rate.
TEST_F(EncodedFiles, OggVorbisFromOggencDecodesToSixteenBitFrames) {
    struct Case { int rate, channels, bits; } cases[] = {{44100, 1, 16}, {22050, 2, 24}, {48000, 2, 8}};
    for (Case c : cases) {
        std::string wav = dir + "/t.wav", ogg = dir + "/t.ogg";
        run("sox -n -r " + std::to_string(c.rate) + " -c " + std::to_string(c.channels) + " -b " +
            std::to_string(c.bits) + " '" + wav + "' synth 0.5 sine 440 2>/dev/null");
        run("oggenc -Q -o '" + ogg + "' '" + wav + "'");
        Decoded d;
        decode_path(ogg, LoadOGG, d);
        ASSERT_NE(d.pcm, nullptr) << c.rate;
        EXPECT_EQ(d.format, 2);
        EXPECT_EQ(d.channels, c.channels);
        EXPECT_EQ(d.hertz, c.rate);
        EXPECT_EQ(d.length, c.rate / 2);
        // The tone is there: the samples swing both ways well away from zero.
        const int16_t* s = reinterpret_cast<const int16_t*>(d.pcm);
        int lo = 0, hi = 0;
        for (int i = 0; i < d.length * d.channels; ++i) lo = std::min<int>(lo, s[i]), hi = std::max<int>(hi, s[i]);
        EXPECT_LT(lo, -10000);
        EXPECT_GT(hi, 10000);
    }
}

TEST_F(EncodedFiles, BrokenOggFilesAreRejectedOrCutShort) {
    std::string wav = dir + "/t.wav", ogg = dir + "/t.ogg";
    run("sox -n -r 44100 -c 1 -b 16 '" + wav + "' synth 1 sine 440 2>/dev/null");
    run("oggenc -Q -o '" + ogg + "' '" + wav + "'");
    std::ifstream in(ogg, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    for (const std::string& junk : {std::string(), std::string("OggS"), std::string(1000, 'x'), wav_bytes(WavSpec{})}) {
        Decoded d;
        decode_bytes(junk, LoadOGG, d);
        EXPECT_EQ(d.pcm, nullptr);
    }
    // Cut inside the headers: nothing; cut inside the audio: at most the frames that were there.
    Decoded headers;
    decode_bytes(bytes.substr(0, 200), LoadOGG, headers);
    EXPECT_EQ(headers.pcm, nullptr);
    Decoded half;
    decode_bytes(bytes.substr(0, bytes.size() / 2), LoadOGG, half);
    if (half.pcm) {
        EXPECT_LT(half.length, 44100);
    }
    // Garbage in the middle of the audio does not crash the decoder.
    std::string damaged = bytes;
    for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 300; ++i) damaged[i] = char(i * 13);
    Decoded hurt;
    decode_bytes(damaged, LoadOGG, hurt);
    if (hurt.pcm) {
        EXPECT_LE(hurt.length, 44100 + 4096);
    }
}

}  // namespace
