// The Ogg Vorbis loader: a decoded block holds every frame it claims, never more than the cap.
#include "fuzz/fuzz.h"
#include "codecs/audio_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = open_bytes(data, size);
    int length = -1, channels = -1, format = -1, hertz = -1;
    unsigned char* pcm = LoadOGG(f, &length, &channels, &format, &hertz);
    std::fclose(f);
    if (!pcm) return 0;
    FUZZ_CHECK(length > 0 && channels > 0 && format == 2 && hertz > 0);
    const long long samples = 1LL * length * channels;
    FUZZ_CHECK(samples <= kOggMaxSamples);
    volatile unsigned char last = pcm[2 * samples - 1];   // AddressSanitizer: the block is that long
    (void)last;
    std::free(pcm);
    return 0;
}
