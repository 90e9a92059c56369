// WAV and Ogg Vorbis decoding. The binary is linked with malloc and realloc wrapped (--wrap) to see the
// largest block the decoders ask for: never what a hostile header claims.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "codecs/audio_decode.h"
#include "harness/scratch.h"
#include "harness/wav.h"

static size_t largest_request = 0;
extern "C" void* __real_malloc(size_t size);
extern "C" void* __real_realloc(void* p, size_t size);
extern "C" void* __wrap_malloc(size_t size) {
    return largest_request = std::max(largest_request, size), __real_malloc(size);
}
extern "C" void* __wrap_realloc(void* p, size_t size) {
    return largest_request = std::max(largest_request, size), __real_realloc(p, size);
}

namespace {

using zk_test::WavSpec;
using zk_test::wav_bytes;

struct Decoded {
    unsigned char* pcm = nullptr;
    int length = -1, channels = -1, format = -1, hertz = -1;
    Decoded(const std::string& bytes, unsigned char* (*loader)(FILE*, int*, int*, int*, int*)) {
        largest_request = 0;
        FILE* f = std::tmpfile();
        std::fwrite(bytes.data(), 1, bytes.size(), f), std::rewind(f);
        pcm = loader(f, &length, &channels, &format, &hertz);
        std::fclose(f);
    }
    ~Decoded() { std::free(pcm); }
    std::vector<int> shape() const { return {length, channels, format, hertz}; }
};

std::string ramp(int n) {   // bytes that differ from their neighbours
    std::string s(n, '\0');
    for (int i = 0; i < n; ++i) s[i] = char(i * 37 + 11);
    return s;
}

TEST(Wav, PcmLayoutsAndChunkShapesComeBackByteForByte) {
    struct { int channels, bits, fmtSize; std::string before; int bytes, frames, hertz = 22050; } cases[] = {
        {1, 8, 16, "", 60, 60}, {2, 8, 16, "", 60, 30}, {1, 16, 16, "", 60, 30}, {2, 16, 16, "", 60, 15},
        {1, 16, 18, "", 20, 10}, {1, 16, 40, "", 20, 10}, {1, 16, 17, "", 20, 10},   // extra fmt bytes skipped
        {256, 8, 16, "", 512, 2}, {1, 8, 16, "", 4, 4, 1 << 25},   // every byte of a count is read
        {1, 16, 16, zk_test::wav_chunk("LIST", "INFOISFT\x05\0\0\0sox!!") + zk_test::wav_chunk("fact", "abcd"), 10, 5},
        {1, 16, 16, zk_test::wav_chunk("LIST", "INFOISFT\x05\0\0\0sox!!", false), 10, 5},   // pad forgotten
        {2, 16, 16, "", 14, 3},   // a trailing half frame is not part of the length
    };
    for (auto& c : cases) {
        const WavSpec w{1, c.channels, c.hertz, c.bits, c.fmtSize, c.before, ramp(c.bytes)};
        Decoded d(wav_bytes(w), LoadWAV);
        ASSERT_NE(d.pcm, nullptr) << c.channels << "x" << c.bits << " fmt " << c.fmtSize;
        EXPECT_EQ(d.shape(), std::vector<int>({c.frames, c.channels, c.bits / 8, c.hertz}));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(d.pcm), c.frames * c.channels * c.bits / 8),
                  w.pcm.substr(0, c.frames * c.channels * c.bits / 8));
    }
}

TEST(Wav, BadFormatsShortFilesAndSizesBeyondTheFileAreRefusedWithoutAllocating) {
    WavSpec w;
    w.pcm = ramp(100);
    auto bent = [&](auto change) { WavSpec b = w; change(b); return wav_bytes(b); };
    const std::string good = wav_bytes(w);
    const std::string hugeFmt = std::string(good).replace(16, 4, "\xF0\xFF\xFF\x7F");
    const std::string files[] = {
        bent([](WavSpec& b) { b.audioFormat = 3; }),                        // IEEE float
        bent([](WavSpec& b) { b.audioFormat = 0xFFFE, b.fmtSize = 40; }),   // extensible
        bent([](WavSpec& b) { b.channels = 0; }), bent([](WavSpec& b) { b.bits = 4; }),
        bent([](WavSpec& b) { b.hertz = 0; }), bent([](WavSpec& b) { b.fmtSize = 14; }),
        bent([](WavSpec& b) { b.pcm.clear(); }), bent([](WavSpec& b) { b.pcm = ramp(1), b.dataSize = 1; }),
        "X" + good.substr(1), "", good.substr(0, 11), good.substr(0, 36), good.substr(0, 43), hugeFmt,
        bent([](WavSpec& b) { b.dataSize = 1000; }), bent([](WavSpec& b) { b.dataSize = 0x7FFFFFF0; }),
        bent([](WavSpec& b) { b.dataSize = 0xFFFFFFF0; }),
        bent([](WavSpec& b) { b.before = std::string("LIST\xF0\xFF\xFF\x7F", 8); }),
        bent([](WavSpec& b) { b.before = std::string("LIST\xF0\xFF\xFF\xFF", 8); }),
    };
    for (const std::string& f : files) {
        Decoded d(f, LoadWAV);
        EXPECT_TRUE(d.pcm == nullptr && d.length == -1) << "file " << &f - files;
        EXPECT_LT(largest_request, size_t(64 * 1024)) << "file " << &f - files;
    }
}

// Vorbis decodes to 16-bit frames at the stream's rate whatever the source precision, and the tone swings
// both ways well away from zero.
TEST(EncodedFiles, FilesFromSoxAndOggencLoadAndBrokenOnesDoNot) {
    zk_test::ScratchDir scratch{"zk_wav"};
    const std::string wav = scratch / "t.wav", ogg = scratch / "t.ogg";
    struct { int rate, channels, bits; bool ogg; } cases[] = {
        {22050, 1, 8, false}, {44100, 2, 16, false}, {22050, 2, 24, true}, {48000, 2, 8, true},
        {44100, 1, 16, true},
    };
    for (auto& c : cases) {
        const std::string command =
            "sox -n -r " + std::to_string(c.rate) + " -c " + std::to_string(c.channels) + " -b " +
            std::to_string(c.bits) + " '" + wav + "' synth 0.5 sine 440 2>/dev/null" +
            (c.ogg ? " && oggenc -Q -o '" + ogg + "' '" + wav + "'" : "");
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        Decoded d(zk_test::ReadFile(c.ogg ? ogg : wav), c.ogg ? LoadOGG : LoadWAV);
        ASSERT_NE(d.pcm, nullptr) << command;
        EXPECT_EQ(d.shape(), std::vector<int>({c.rate / 2, c.channels, c.ogg ? 2 : c.bits / 8, c.rate}));
        if (!c.ogg) continue;
        const int16_t* s = reinterpret_cast<const int16_t*>(d.pcm);
        auto range = std::minmax_element(s, s + d.length * d.channels);
        EXPECT_TRUE(*range.first < -10000 && *range.second > 10000) << command;
    }
    const std::string bytes = zk_test::ReadFile(ogg);   // the last case: mono, 22050 frames
    std::string damaged = bytes;
    for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 300; ++i) damaged[i] = char(i * 13);
    for (const std::string& junk : {std::string(), std::string("OggS"), std::string(1000, 'x'),
                                    wav_bytes(WavSpec{}), bytes.substr(0, 200)})
        EXPECT_EQ(Decoded(junk, LoadOGG).pcm, nullptr) << junk.size() << " bytes";
    for (const std::string& cut : {bytes.substr(0, bytes.size() / 2), damaged})
        EXPECT_LE(Decoded(cut, LoadOGG).length, 22050 + 4096) << "at most the frames that were there";
    // A comment header whose vendor text runs one byte past its packet is refused; so is a file of headers.
    const size_t page2 = 28 + uint8_t(bytes[27]);   // page 1: the identification packet alone
    const size_t segments = uint8_t(bytes[page2 + 26]), packet = page2 + 27 + segments, vendor = packet + 7;
    size_t size = 0, page3 = packet;   // the comment packet's size; where page 3 starts
    for (size_t i = 0; i < segments; ++i) page3 += uint8_t(bytes[page2 + 27 + i]);
    for (size_t i = page2 + 27; size += uint8_t(bytes[i]), uint8_t(bytes[i]) == 255; ++i) {}
    std::string bent = bytes;
    for (int b = 0; b < 4; ++b) bent[vendor + b] = char((packet + size - vendor - 3) >> (8 * b));
    EXPECT_TRUE(!Decoded(bent, LoadOGG).pcm && !Decoded(bytes.substr(0, page3), LoadOGG).pcm);
}

}  // namespace
