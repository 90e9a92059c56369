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

std::string ramp(int n) {   // bytes that differ from their neighbours
    std::string s(n, '\0');
    for (int i = 0; i < n; ++i) s[i] = char(i * 37 + 11);
    return s;
}

// A folder for files made by the command-line tools, removed afterwards.
class EncodedFiles : public ::testing::Test {
protected:
    void run(const std::string& cmd) { ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd; }
    // A sine tone written by sox at `rate` Hz, `channels` of `bits`, `seconds` long; returns its path.
    std::string sox(const std::string& name, int rate, int channels, int bits, double seconds) {
        std::string path = scratch / name;
        run("sox -n -r " + std::to_string(rate) + " -c " + std::to_string(channels) + " -b " + std::to_string(bits) +
            " '" + path + "' synth " + std::to_string(seconds) + " sine 440 2>/dev/null");
        return path;
    }
    zk_test::ScratchDir scratch{"zk_wav"};
};

TEST(Wav, PcmLayoutsAndChunkShapesComeBackByteForByte) {
    struct { int channels, bits, fmtSize; std::string before; int bytes, frames; } cases[] = {
        {1, 8, 16, "", 60, 60}, {2, 8, 16, "", 60, 30}, {1, 16, 16, "", 60, 30}, {2, 16, 16, "", 60, 15},
        {1, 16, 18, "", 20, 10}, {1, 16, 40, "", 20, 10},   // extra fmt bytes are skipped
        {1, 16, 16, wav_chunk("LIST", "INFOISFT\x05\0\0\0sox!!") + wav_chunk("fact", "abcd"), 10, 5},
        {1, 16, 16, wav_chunk("LIST", "INFOISFT\x05\0\0\0sox!!", false), 10, 5},   // its pad byte forgotten
        {2, 16, 16, "", 14, 3},   // a trailing half frame is not part of the length
    };
    for (auto& c : cases) {
        WavSpec w;
        w.channels = c.channels, w.bits = c.bits, w.hertz = 22050, w.fmtSize = c.fmtSize, w.before = c.before;
        w.pcm = ramp(c.bytes);
        Decoded d;
        decode_bytes(wav_bytes(w), LoadWAV, d);
        ASSERT_NE(d.pcm, nullptr) << c.channels << "x" << c.bits << " fmt " << c.fmtSize;
        EXPECT_EQ(std::vector<int>({d.length, d.channels, d.format, d.hertz}),
                  std::vector<int>({c.frames, c.channels, c.bits / 8, 22050}));
        EXPECT_EQ(d.bytes(), w.pcm.substr(0, d.bytes().size()));
    }
}

TEST(Wav, FilesThatAreNotPlainPcmOrAreCutShortAreRejected) {
    WavSpec w;
    w.pcm = ramp(100);
    auto bent = [&](auto change) { WavSpec b = w; change(b); return wav_bytes(b); };
    std::string good = wav_bytes(w);
    std::string files[] = {
        bent([](WavSpec& b) { b.audioFormat = 3; }),                   // IEEE float
        bent([](WavSpec& b) { b.audioFormat = 0xFFFE, b.fmtSize = 40; }),   // extensible
        bent([](WavSpec& b) { b.channels = 0; }), bent([](WavSpec& b) { b.bits = 4; }),
        bent([](WavSpec& b) { b.hertz = 0; }),
        bent([](WavSpec& b) { b.fmtSize = 14; }),                       // fmt shorter than its fields
        bent([](WavSpec& b) { b.pcm.clear(); }),                        // no samples
        bent([](WavSpec& b) { b.pcm = ramp(1), b.dataSize = 1; }),      // less than one frame
        "X" + good.substr(1), good.substr(0, 0), good.substr(0, 11), good.substr(0, 36), good.substr(0, 43),
    };
    for (const std::string& f : files) {
        Decoded d;
        decode_bytes(f, LoadWAV, d);
        EXPECT_TRUE(d.pcm == nullptr && d.length == -1) << "file " << &f - files;   // out-parameters untouched
    }
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

// Sox's WAV files load as they are; Vorbis decodes to 16-bit frames at the stream's rate whatever the
// source precision, and the tone is there: the samples swing both ways well away from zero.
TEST_F(EncodedFiles, FilesFromSoxAndOggencLoad) {
    struct { int rate, channels, bits; bool ogg; } cases[] = {
        {22050, 1, 8, false}, {44100, 2, 16, false}, {44100, 1, 16, true}, {22050, 2, 24, true}, {48000, 2, 8, true},
    };
    for (auto& c : cases) {
        std::string wav = sox("t.wav", c.rate, c.channels, c.bits, 0.5), ogg = scratch / "t.ogg";
        if (c.ogg) run("oggenc -Q -o '" + ogg + "' '" + wav + "'");
        Decoded d;
        decode_path(c.ogg ? ogg : wav, c.ogg ? LoadOGG : LoadWAV, d);
        ASSERT_NE(d.pcm, nullptr) << c.rate << (c.ogg ? " ogg" : " wav");
        EXPECT_EQ(std::vector<int>({d.length, d.channels, d.format, d.hertz}),
                  std::vector<int>({c.rate / 2, c.channels, c.ogg ? 2 : c.bits / 8, c.rate}));
        if (!c.ogg) continue;
        const int16_t* s = reinterpret_cast<const int16_t*>(d.pcm);
        auto range = std::minmax_element(s, s + d.length * d.channels);
        EXPECT_LT(*range.first, -10000);
        EXPECT_GT(*range.second, 10000);
    }
}

TEST_F(EncodedFiles, BrokenOggFilesAreRejectedOrCutShort) {
    std::string ogg = scratch / "t.ogg";
    run("oggenc -Q -o '" + ogg + "' '" + sox("t.wav", 44100, 1, 16, 1) + "'");
    std::ifstream in(ogg, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string damaged = bytes;   // garbage in the middle of the audio
    for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 300; ++i) damaged[i] = char(i * 13);
    for (const std::string& junk : {std::string(), std::string("OggS"), std::string(1000, 'x'),
                                    wav_bytes(WavSpec{}), bytes.substr(0, 200)}) {
        Decoded d;
        decode_bytes(junk, LoadOGG, d);
        EXPECT_EQ(d.pcm, nullptr) << junk.size() << " bytes";
    }
    for (const std::string& cut : {bytes.substr(0, bytes.size() / 2), damaged}) {
        Decoded d;
        decode_bytes(cut, LoadOGG, d);
        EXPECT_LE(d.length, 44100 + 4096) << "at most the frames that were there";
    }
}

}  // namespace
