// assets/audio_write.cpp: WAV and Ogg Vorbis writers for the generator's sounds.
// WAV: canonical 44-byte header, 16-bit PCM mono, little-endian. Ogg: libvorbis VBR with a fixed stream
// serial number and no comments but the library's vendor string, so the bytes depend only on the samples.
// A sample outside -1..1 is a bug in a sound's design and stops the build rather than being clipped.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "audio.h"

namespace {

FILE* open_for_writing(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "zk_assetgen: cannot write %s\n", path.c_str());
        std::exit(1);
    }
    return f;
}

void check_range(const std::string& path, const std::vector<float>& mono) {
    for (float v : mono)
        if (!(std::fabs(v) <= 1.0f)) {
            std::fprintf(stderr, "zk_assetgen: %s would clip (%f)\n", path.c_str(), v);
            std::exit(1);
        }
}

void put32(FILE* f, uint32_t v) { for (int i = 0; i < 4; ++i) std::fputc(int((v >> (8 * i)) & 255), f); }
void put16(FILE* f, uint16_t v) { std::fputc(v & 255, f); std::fputc(v >> 8, f); }

}  // namespace

void write_wav(const std::string& path, const std::vector<float>& mono, int rate) {
    check_range(path, mono);
    FILE* f = open_for_writing(path);
    uint32_t bytes = uint32_t(mono.size() * 2);
    std::fwrite("RIFF", 1, 4, f); put32(f, 36 + bytes); std::fwrite("WAVE", 1, 4, f);
    std::fwrite("fmt ", 1, 4, f); put32(f, 16); put16(f, 1); put16(f, 1);
    put32(f, uint32_t(rate)); put32(f, uint32_t(rate * 2)); put16(f, 2); put16(f, 16);
    std::fwrite("data", 1, 4, f); put32(f, bytes);
    for (float v : mono) put16(f, uint16_t(int16_t(std::lround(v * 32767.0f))));
    std::fclose(f);
}

void write_ogg(const std::string& path, const std::vector<float>& mono, int rate, float quality) {
    check_range(path, mono);
    FILE* f = open_for_writing(path);
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 1, rate, quality) != 0) {
        std::fprintf(stderr, "zk_assetgen: vorbis encoder refused %d Hz q%.2f\n", rate, quality);
        std::exit(1);
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x7A6B0001);  // fixed serial number: same bytes every build
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    auto write_page = [&] {
        std::fwrite(page.header, 1, size_t(page.header_len), f);
        std::fwrite(page.body, 1, size_t(page.body_len), f);
    };
    while (ogg_stream_flush(&os, &page)) write_page();

    const size_t kChunk = 4096;
    size_t pos = 0;
    for (;;) {
        size_t n = std::min(kChunk, mono.size() - pos);
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, int(n));
            for (size_t i = 0; i < n; ++i) buf[0][i] = mono[pos + i];
        }
        vorbis_analysis_wrote(&vd, int(n));  // 0 marks the end of the stream
        pos += n;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page)) write_page();
            }
        }
        if (n == 0) break;
    }
    while (ogg_stream_flush(&os, &page)) write_page();
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    std::fclose(f);
}
