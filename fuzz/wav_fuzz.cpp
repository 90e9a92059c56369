// The WAV loader: a decoded block holds every frame it claims, and its samples are the file's own bytes.
#include <cstring>

#include "fuzz/fuzz.h"
#include "codecs/audio_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = open_bytes(data, size);
    int length = -1, channels = -1, format = -1, hertz = -1;
    unsigned char* pcm = LoadWAV(f, &length, &channels, &format, &hertz);
    std::fclose(f);
    if (!pcm) return 0;
    FUZZ_CHECK(length > 0 && channels > 0 && format > 0 && hertz > 0);
    const size_t bytes = size_t(length) * size_t(channels) * size_t(format);
    FUZZ_CHECK(bytes <= size && memmem(data, size, pcm, bytes) != nullptr);
    std::free(pcm);
    return 0;
}
