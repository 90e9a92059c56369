// harness/wav.h: builds RIFF/WAVE files byte by byte for tests and benchmarks.
//
// WavSpec describes one file; every header field can be bent to make a broken one, and wav_bytes() lays it
// out exactly as described (no field is corrected). wav_tone() makes the PCM of a 16-bit mono tone;
// write_wav() writes a described file to disk. Header only; needs nothing but the C++ library.
#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>

namespace zk_test {

struct WavSpec {
    int audioFormat = 1;      // 1: integer PCM
    int channels = 1;
    int hertz = 8000;
    int bits = 16;
    int fmtSize = 16;         // 18 and 40 carry extra bytes, filled with zeros; under 16 cuts the fields
    std::string before;       // whole chunks placed between fmt and data (see wav_chunk)
    std::string pcm;          // the data chunk's bytes
    int64_t dataSize = -1;    // the data chunk's stated size; -1: the real size
};

inline void wav_put16(std::string& s, uint32_t v) { s += char(v), s += char(v >> 8); }
inline void wav_put32(std::string& s, uint32_t v) { for (int i = 0; i < 4; ++i) s += char(v >> (8 * i)); }

// One chunk: tag, little-endian size, body, and the pad byte after an odd body unless `pad` is false.
inline std::string wav_chunk(const char* tag, const std::string& body, bool pad = true) {
    std::string s(tag, 4);
    wav_put32(s, uint32_t(body.size()));
    s += body;
    if (pad && body.size() % 2) s += '\0';
    return s;
}

inline std::string wav_bytes(const WavSpec& w) {
    std::string fmt;
    wav_put16(fmt, w.audioFormat);
    wav_put16(fmt, w.channels);
    wav_put32(fmt, w.hertz);
    wav_put32(fmt, w.hertz * w.channels * w.bits / 8);
    wav_put16(fmt, w.channels * w.bits / 8);
    wav_put16(fmt, w.bits);
    fmt.resize(w.fmtSize, '\0');
    std::string body = "WAVE" + wav_chunk("fmt ", fmt) + w.before + "data";
    wav_put32(body, uint32_t(w.dataSize < 0 ? w.pcm.size() : w.dataSize));
    body += w.pcm;
    std::string file = "RIFF";
    wav_put32(file, uint32_t(body.size()));
    return file + body;
}

// 16-bit samples of a sine tone of `amplitude` at `hertz`, `frames` long at `rate`.
inline std::string wav_tone(double hertz, int frames, int rate, int amplitude = 12000) {
    std::string pcm;
    for (int i = 0; i < frames; ++i)
        wav_put16(pcm, uint16_t(int16_t(amplitude * std::sin(2 * M_PI * hertz * i / rate))));
    return pcm;
}

// A 16-bit mono file of `pcm` at `hertz`.
inline WavSpec wav_mono16(int hertz, std::string pcm) {
    WavSpec w;
    w.hertz = hertz, w.pcm = std::move(pcm);
    return w;
}

// Writes the file and returns its path.
inline std::string write_wav(const std::string& path, const WavSpec& w) {
    std::ofstream(path, std::ios::binary) << wav_bytes(w);
    return path;
}

}  // namespace zk_test
