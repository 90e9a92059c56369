// host/image_data.cpp: ZKGlfwGame::LoadImageData, image files decoded to pixel blocks with stb_image.
//
// The one place in the program where stb_image's implementation is compiled. Failure is soft: a file
// that cannot be opened, or is not an image stb_image can read (corrupt, truncated), gives null and
// nothing is reported; the renderer turns that into a null surface and the framework into a null image.
//
// The game's art is PNG, and PNG alone is decoded: stb_image would otherwise try every format it knows,
// TGA among them, which has no signature, so that almost any bytes pass as a TGA image and a 127-byte
// file could describe a 4112 x 4112 picture. Neither side may exceed 8192 pixels (more than any texture
// the game makes; 256 MiB of RGBA at most), checked before anything is allocated. Every chunk must fit in
// what is left of the file, also checked first: stb_image grows its compressed-data block to a chunk's
// claimed length before it reads the chunk, so a 100-byte file could make it allocate 2 GiB.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_MAX_DIMENSIONS 8192
#include <stb/stb_image.h>

#include <cstdint>
#include <cstring>

#include "host/game.h"

namespace {

// True when the file from its position is a PNG signature followed by chunks that each fit in the rest
// of the file, up to IEND (or the file's end). The position is left unchanged.
bool png_chunks_fit(FILE* f) {
    const long start = std::ftell(f);
    if (start < 0 || std::fseek(f, 0, SEEK_END) != 0) return false;
    const long end = std::ftell(f);
    unsigned char b[8];
    bool fits = std::fseek(f, start, SEEK_SET) == 0 && std::fread(b, 1, 8, f) == 8 &&
                std::memcmp(b, "\x89PNG\r\n\x1a\n", 8) == 0;
    while (fits && std::fread(b, 1, 8, f) == 8) {   // length (big-endian) and type
        const uint32_t length = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
        const long left = end - std::ftell(f);
        fits = length <= uint32_t(left < 4 ? 0 : left - 4);   // data, then a 4-byte CRC
        if (!fits || std::memcmp(b + 4, "IEND", 4) == 0) break;
        fits = std::fseek(f, long(length) + 4, SEEK_CUR) == 0;
    }
    return std::fseek(f, start, SEEK_SET) == 0 && fits;
}

}  // namespace

// Decodes the file in its own channel count (1 grey, 2 grey-alpha, 3 RGB, 4 RGBA), rows top to bottom.
// The block comes from malloc and belongs to the caller; its size is reported to the collector as
// outside memory.
unsigned char* ZKGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    unsigned char* pixels = png_chunks_fit(file) ? stbi_load_from_file(file, width, height, depth, 0) : nullptr;
    std::fclose(file);
    if (!pixels) return nullptr;
    gc_ext_malloced(*width * *height * *depth);
    return pixels;
}
