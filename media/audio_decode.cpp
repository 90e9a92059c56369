// media/audio_decode.cpp: the WAV and Ogg Vorbis decoders behind LoadAudioData.
//
// LoadWAV walks the RIFF chunks itself; LoadOGG drives stb_vorbis, whose implementation is compiled into
// this file (and only this one). Both work on an open FILE and never close it.
#include "media/audio_decode.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// stb_vorbis is third-party C: its own warnings are not ours to fix.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wunused-value"
#if __has_include(<stb/stb_vorbis.c>)
#include <stb/stb_vorbis.c>
#else
#include <stb/stb_vorbis.h>   // Debian ships the whole implementation under this name
#endif
#pragma GCC diagnostic pop

// --- WAV ----------------------------------------------------------------------------------------------

namespace {

// Little-endian reads from a file whose end is known, so that every size a header claims can be checked
// against the bytes that really follow before anything is allocated for it.
struct RiffReader {
    FILE* f;
    long end;   // offset one past the file's last byte

    long left() const {
        long at = std::ftell(f);
        return at < 0 || at > end ? 0 : end - at;
    }
    bool read(void* out, size_t n) { return std::fread(out, 1, n, f) == n; }
    // A failed read gives -1, which every caller rejects.
    long u16() {
        unsigned char b[2];
        return read(b, 2) ? long(b[0] | b[1] << 8) : -1;
    }
    // Sizes are signed 32-bit in the file: a size with the top bit set comes back negative.
    long i32() {
        unsigned char b[4];
        if (!read(b, 4)) return -1;
        return long(int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24));
    }
    bool tag(char out[4]) { return read(out, 4); }
    bool expect(const char* want) {
        char t[4];
        return tag(t) && std::memcmp(t, want, 4) == 0;
    }
    // Moves past `n` bytes without reading them; false when fewer than `n` remain.
    bool skip(long n) { return n >= 0 && n <= left() && std::fseek(f, n, SEEK_CUR) == 0; }
    // Chunks of odd size are followed by a pad byte. Writers that forget it are tolerated: a pad byte is
    // always 0 and no chunk tag begins with 0, so only a 0 is taken as padding.
    void skipPad(long size) {
        if (!(size & 1)) return;
        int c = std::fgetc(f);
        if (c != 0 && c != EOF) std::ungetc(c, f);
    }
};

// The sample layout from a PCM fmt chunk.
struct WavFormat {
    long channels = 0, hertz = 0, bytesPerSample = 0;
};

// The file's end offset, the position left unchanged; -1 when the file cannot seek.
long file_end(FILE* f) {
    long at = std::ftell(f);
    if (at < 0 || std::fseek(f, 0, SEEK_END) != 0) return -1;
    long end = std::ftell(f);
    if (std::fseek(f, at, SEEK_SET) != 0) return -1;
    return end;
}

// 1. The RIFF header: "RIFF", a size we ignore, "WAVE", then the "fmt " chunk's tag.
bool read_header(RiffReader& r) {
    if (!r.expect("RIFF")) return false;
    r.i32();
    return r.expect("WAVE") && r.expect("fmt ");
}

// 2-4. The fmt chunk: PCM only, with at least one channel of samples at least one byte wide; extra fmt
// bytes (the 18- and 40-byte forms) are skipped. A chunk shorter than the 16 bytes read here would have
// its fields taken from the next chunk's header, and a rate of 0 cannot be played; both are malformed
// files and give null like any other.
bool read_format(RiffReader& r, WavFormat& fmt) {
    long size = r.i32();
    if (size < 16 || size > r.left()) return false;
    if (r.u16() != 1) return false;   // audio format 1 is PCM
    fmt.channels = r.u16();
    fmt.hertz = r.i32();
    r.i32();                          // byte rate: implied by the rest
    r.u16();                          // block align: likewise
    long bits = r.u16();
    fmt.bytesPerSample = bits / 8;
    if (fmt.channels <= 0 || fmt.bytesPerSample <= 0 || fmt.hertz <= 0) return false;
    if (!r.skip(size - 16)) return false;
    r.skipPad(size);
    return true;
}

// 5. Chunks up to "data": other chunks (LIST, fact, cue ...) are skipped without allocating. Returns the
// data chunk's bytes and their count, or null for a missing, empty, oversized or unreadable data chunk.
unsigned char* read_data(RiffReader& r, long* bytes) {
    for (;;) {
        char t[4];
        if (!r.tag(t)) return nullptr;   // ran out of chunks before "data"
        long size = r.i32();
        if (size < 0 || size > r.left()) return nullptr;
        if (std::memcmp(t, "data", 4) != 0) {
            if (!r.skip(size)) return nullptr;
            r.skipPad(size);
            continue;
        }
        if (size == 0) return nullptr;
        unsigned char* pcm = static_cast<unsigned char*>(std::malloc(size_t(size)));
        if (pcm && !r.read(pcm, size_t(size))) {
            std::free(pcm);
            pcm = nullptr;
        }
        *bytes = size;
        return pcm;
    }
}

}  // namespace

unsigned char* LoadWAV(FILE* f, int* length, int* channels, int* format, int* hertz) {
    RiffReader r{f, file_end(f)};
    WavFormat fmt;
    if (r.end < 0 || !read_header(r) || !read_format(r, fmt)) return nullptr;
    long bytes = 0;
    unsigned char* pcm = read_data(r, &bytes);
    long frames = pcm ? bytes / (fmt.channels * fmt.bytesPerSample) : 0;
    if (frames == 0) {   // data shorter than one frame: nothing to play, a malformed file
        std::free(pcm);
        return nullptr;
    }
    // 6. The PCM is the file's own sample data.
    *length = int(frames);
    *channels = int(fmt.channels);
    *format = int(fmt.bytesPerSample);
    *hertz = int(fmt.hertz);
    return pcm;
}

// --- Ogg Vorbis ---------------------------------------------------------------------------------------

namespace {

const int kOggFrameRoom = 4096;   // samples per channel kept free for the next frame: a Vorbis frame
                                  // never decodes to more than 4096 samples per channel

// 4. Decodes every frame into a growing block of 16-bit samples; returns the sample count, or -1 when
// memory ran out or the stream went past kOggMaxSamples (the block is freed then). Counts stay 64-bit;
// the block never grows past the cap plus one frame's room.
int64_t decode_frames(stb_vorbis* v, int ch, short** block) {
    const int64_t frame_room = int64_t(ch) * kOggFrameRoom;
    int64_t room = frame_room, total = 0;
    short* pcm = static_cast<short*>(std::malloc(size_t(room) * sizeof(short)));
    while (pcm) {
        int n = stb_vorbis_get_frame_short_interleaved(v, ch, pcm + total, int(room - total));
        if (n == 0) break;
        total += int64_t(n) * ch;
        if (total > kOggMaxSamples) {   // too long to hold whole: rejected like a damaged file
            std::free(pcm);
            pcm = nullptr;
        } else if (total + frame_room > room) {
            room = std::min<int64_t>(room * 2, kOggMaxSamples + frame_room);
            short* grown = static_cast<short*>(std::realloc(pcm, size_t(room) * sizeof(short)));
            if (!grown) std::free(pcm);
            pcm = grown;
        }
    }
    *block = pcm;
    return pcm ? total : -1;
}

}  // namespace

unsigned char* LoadOGG(FILE* f, int* length, int* channels, int* format, int* hertz) {
    // 1. stb_vorbis reads from the file's position and leaves the file open (close_on_free 0).
    int error = 0;
    stb_vorbis* v = stb_vorbis_open_file(f, 0, &error, nullptr);
    if (!v) return nullptr;
    // 2. Stream info.
    stb_vorbis_info info = stb_vorbis_get_info(v);
    int ch = info.channels;
    short* pcm = nullptr;
    int64_t total = ch > 0 && info.sample_rate > 0 ? decode_frames(v, ch, &pcm) : -1;
    stb_vorbis_close(v);
    if (total <= 0 || total > kOggMaxSamples) {   // no memory, too long, or not a single sample
        std::free(pcm);
        return nullptr;
    }
    // 5. Trim to what was decoded.
    short* trimmed = static_cast<short*>(std::realloc(pcm, size_t(total) * sizeof(short)));
    if (trimmed) pcm = trimmed;
    *length = int(total / ch);
    *channels = ch;
    *format = 2;
    *hertz = int(info.sample_rate);
    return reinterpret_cast<unsigned char*>(pcm);
}
