// The Ogg Vorbis loader: a decoded block holds every frame it claims, never more than the cap; and the
// same file decoded a slice at a time gives exactly that block, whatever room each slice is given.
#include <cstring>
#include <vector>

#include "codecs/audio_decode.h"
#include "fuzz/fuzz.h"

namespace {

// Every frame the stream gives, in slices of `room` frames, and whether it opened at all.
std::vector<short> stream_all(const uint8_t* data, size_t size, int room, bool* opened) {
    int channels = 0, hertz = 0;
    OggStream* s = OpenOGGStream(open_bytes(data, size), &channels, &hertz);
    std::vector<short> all;
    *opened = s != nullptr;
    if (!s) return all;
    std::vector<short> slice(size_t(room) * channels);
    for (int got; (got = ReadOGGStream(s, slice.data(), room)) > 0;) {
        FUZZ_CHECK(got <= room);
        all.insert(all.end(), slice.begin(), slice.begin() + size_t(got) * channels);
        FUZZ_CHECK(static_cast<long long>(all.size()) <= kOggMaxSamples);
    }
    CloseOGGStream(s);
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = open_bytes(data, size);
    int length = -1, channels = -1, format = -1, hertz = -1;
    unsigned char* pcm = LoadOGG(f, &length, &channels, &format, &hertz);
    std::fclose(f);
    const int room = kOggFrameFrames + (size ? data[size - 1] * 61 : 0);
    bool opened = false;
    const std::vector<short> streamed = stream_all(data, size, room, &opened);
    if (!pcm) return 0;
    FUZZ_CHECK(length > 0 && channels > 0 && format == 2 && hertz > 0);
    const long long samples = 1LL * length * channels;
    FUZZ_CHECK(samples <= kOggMaxSamples);
    volatile unsigned char last = pcm[2 * samples - 1];   // AddressSanitizer: the block is that long
    (void)last;
    FUZZ_CHECK(opened && static_cast<long long>(streamed.size()) == samples);
    FUZZ_CHECK(std::memcmp(streamed.data(), pcm, size_t(2 * samples)) == 0);
    std::free(pcm);
    return 0;
}
