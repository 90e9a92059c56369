// codecs/audio_decode.cpp: the WAV and Ogg Vorbis decoders behind LoadAudioData.
//
// LoadWAV walks the RIFF chunks itself; LoadOGG drives stb_vorbis, whose implementation is compiled into
// this file (and only this one). Both work on an open FILE and never close it.
#include "codecs/audio_decode.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/contract.h"

// stb_vorbis's declarations; its implementation is compiled apart, in vorbis.c.
#define STB_VORBIS_HEADER_ONLY
#if __has_include(<stb/stb_vorbis.c>)
#include <stb/stb_vorbis.c>
#else
#include <stb/stb_vorbis.h>
#endif

// ---- WAV ----

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
        unsigned char* pcm = static_cast<unsigned char*>(zk_malloc(size_t(size)));   // size checked above
        if (!r.read(pcm, size_t(size))) {
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

// ---- Ogg Vorbis ----

namespace {

// stb_vorbis takes every block it needs (its state, codebooks, channel buffers, scratch) from one arena
// of this size instead of malloc: the largest setup a file can make it build is bounded (past it the
// open fails as out of memory), and none of its blocks can leak or be freed twice whatever error path a
// damaged file takes, since the arena goes back whole. The test files of ordinary encoders need about
// 160 KiB; sixteen channels of 8192-sample blocks about 1 MiB more.
const int kOggArenaBytes = 4 << 20;
const int kOggFrameRoom = kOggFrameFrames;   // samples per channel kept free for the next frame: a Vorbis frame
                                  // never decodes to more than 4096 samples per channel

// One Ogg page header: its flags and its segment lengths (the lacing values).
struct OggPage {
    int flags = 0, count = 0;
    unsigned char lacing[255];
};

bool read_page_header(FILE* f, OggPage& page) {
    unsigned char h[27];
    if (std::fread(h, 1, 27, f) != 27 || std::memcmp(h, "OggS", 4) != 0) return false;
    page.flags = h[5];
    page.count = h[26];
    return std::fread(page.lacing, 1, page.count, f) == size_t(page.count);
}

// The second packet of the stream as stb_vorbis reads it: the first page holds the identification
// packet alone (stb_vorbis refuses anything else), the comment packet starts on the next page and runs
// on over its segments and continuation pages until a segment shorter than 255. A page without segments
// (which stb_vorbis would read as the previous page's) ends it. Short when the file ends early.
std::vector<unsigned char> read_comment_packet(FILE* f) {
    std::vector<unsigned char> packet;
    OggPage page;
    if (!read_page_header(f, page) || page.count != 1 || std::fseek(f, page.lacing[0], SEEK_CUR) != 0) return packet;
    bool done = false;
    while (!done && read_page_header(f, page) && page.count > 0) {
        for (int i = 0; i < page.count && !done; ++i) {
            size_t at = packet.size();
            packet.resize(at + page.lacing[i]);
            size_t got = std::fread(packet.data() + at, 1, page.lacing[i], f);
            packet.resize(at + got);
            done = page.lacing[i] < 255 || got < page.lacing[i];
        }
    }
    return packet;
}

// stb_vorbis trusts the comment header's lengths: it sizes blocks from them in int arithmetic that wraps
// (a vendor length of 2^31 - 1, a count of 2^29 + 1) and then writes that many bytes or pointers, past
// the block. So the header is read here first: the vendor text, the comment count and every comment must
// lie inside the packet. A packet that is not a comment header is left to stb_vorbis to refuse. The
// file's position is left unchanged.
bool comment_header_fits(FILE* f) {
    const long start = std::ftell(f);
    const std::vector<unsigned char> packet = read_comment_packet(f);
    if (start < 0 || std::fseek(f, start, SEEK_SET) != 0) return false;
    if (packet.size() < 7 || packet[0] != 3 || std::memcmp(&packet[1], "vorbis", 6) != 0) return true;
    size_t at = 7;
    auto length = [&](uint32_t* n) {   // a little-endian u32, when four bytes are left
        if (packet.size() - at < 4) return false;
        *n = uint32_t(packet[at]) | uint32_t(packet[at + 1]) << 8 | uint32_t(packet[at + 2]) << 16 |
             uint32_t(packet[at + 3]) << 24;
        at += 4;
        return true;
    };
    uint32_t vendor = 0, count = 0, n = 0;
    if (!length(&vendor) || vendor > packet.size() - at) return false;
    at += vendor;
    if (!length(&count) || count > (packet.size() - at) / 4) return false;
    for (uint32_t i = 0; i < count; ++i) {
        if (!length(&n) || n > packet.size() - at) return false;
        at += n;
    }
    return true;
}

// 4. Decodes every frame into a growing block of 16-bit samples; returns the sample count, or -1 when
// the stream goes past kOggMaxSamples (the block is freed then). Counts stay 64-bit; the block never grows
// past the cap plus one frame's room, so its size is bounded before it is asked for.
int64_t decode_frames(stb_vorbis* v, int ch, short** block) {
    const int64_t frame_room = int64_t(ch) * kOggFrameRoom;
    int64_t room = frame_room, total = 0;
    short* pcm = static_cast<short*>(zk_malloc(size_t(room) * sizeof(short)));
    for (;;) {
        int n = stb_vorbis_get_frame_short_interleaved(v, ch, pcm + total, int(room - total));
        if (n == 0) break;
        total += int64_t(n) * ch;
        if (total > kOggMaxSamples) {   // too long to hold whole: rejected like a damaged file
            std::free(pcm);
            *block = nullptr;
            return -1;
        }
        if (total + frame_room > room) {
            room = std::min<int64_t>(room * 2, kOggMaxSamples + frame_room);
            pcm = static_cast<short*>(zk_realloc(pcm, size_t(room) * sizeof(short)));
        }
    }
    *block = pcm;
    return total;
}

// 1-2. A decoder on the file's position that leaves the file open (close_on_free 0), its memory our arena,
// and the stream's layout; null (the arena freed) when the headers are refused or describe nothing playable.
stb_vorbis* open_vorbis(FILE* f, stb_vorbis_alloc* arena, int* ch, int* hertz) {
    if (!comment_header_fits(f)) return nullptr;
    *arena = stb_vorbis_alloc{static_cast<char*>(zk_malloc(kOggArenaBytes)), kOggArenaBytes};
    int error = 0;
    stb_vorbis* v = arena->alloc_buffer ? stb_vorbis_open_file(f, 0, &error, arena) : nullptr;
    stb_vorbis_info info = v ? stb_vorbis_get_info(v) : stb_vorbis_info{};
    // The rate is unsigned in the stream header: one past INT_MAX would reach the caller negative.
    if (!v || info.channels <= 0 || info.sample_rate == 0 || info.sample_rate > unsigned(INT_MAX)) {
        if (v) stb_vorbis_close(v);
        std::free(arena->alloc_buffer);
        return nullptr;
    }
    *ch = info.channels;
    *hertz = int(info.sample_rate);
    return v;
}

}  // namespace

unsigned char* LoadOGG(FILE* f, int* length, int* channels, int* format, int* hertz) {
    // 1-2. Decoder and stream info.
    stb_vorbis_alloc arena{};
    int ch = 0, rate = 0;
    stb_vorbis* v = open_vorbis(f, &arena, &ch, &rate);
    if (!v) return nullptr;
    // 3. Every frame, decoded.
    short* pcm = nullptr;
    int64_t total = decode_frames(v, ch, &pcm);
    stb_vorbis_close(v);
    std::free(arena.alloc_buffer);
    if (total <= 0 || total > kOggMaxSamples) {   // too long, or not a single sample
        std::free(pcm);
        return nullptr;
    }
    // 4. Trimmed to what was decoded.
    pcm = static_cast<short*>(zk_realloc(pcm, size_t(total) * sizeof(short)));
    *length = int(total / ch);
    *channels = ch;
    *format = 2;
    *hertz = rate;
    return reinterpret_cast<unsigned char*>(pcm);
}

// ---- Ogg Vorbis, a slice at a time ----

struct OggStream {
    FILE* f;
    stb_vorbis* v;
    stb_vorbis_alloc arena;
    int ch;
    int64_t total;   // samples decoded so far, all channels together
    bool ended;      // the decoder gave its last frame
};

OggStream* OpenOGGStream(FILE* f, int* channels, int* hertz) {
    stb_vorbis_alloc arena{};
    int ch = 0;
    stb_vorbis* v = open_vorbis(f, &arena, &ch, hertz);
    if (!v) {
        std::fclose(f);
        return nullptr;
    }
    *channels = ch;
    return new OggStream{f, v, arena, ch, 0, false};
}

// The frame loop of decode_frames, with the room left always at least one frame's.
int ReadOGGStream(OggStream* s, short* pcm, int frames) {
    ZK_CONTRACT(frames >= kOggFrameRoom, "room for a whole Vorbis frame");
    int done = 0;
    while (!s->ended && frames - done >= kOggFrameRoom && s->total < kOggMaxSamples) {
        int n = stb_vorbis_get_frame_short_interleaved(s->v, s->ch, pcm + int64_t(done) * s->ch,
                                                       (frames - done) * s->ch);
        if (n == 0) {   // the end, or damage from here on: nothing more to read either way
            s->ended = true;
            break;
        }
        n = int(std::min<int64_t>(n, (kOggMaxSamples - s->total) / s->ch));   // never past the cap
        done += n;
        s->total += int64_t(n) * s->ch;
    }
    return done;
}

void CloseOGGStream(OggStream* s) {
    if (!s) return;
    stb_vorbis_close(s->v);
    std::free(s->arena.alloc_buffer);
    std::fclose(s->f);
    delete s;
}
