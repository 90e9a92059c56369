// host/image_data.cpp: ZKGlfwGame::LoadImageData, image files decoded to pixel blocks with stb_image.
//
// The one place in the program where stb_image's implementation is compiled. Failure is soft: a file
// that cannot be opened, or is not an image stb_image can read (corrupt, truncated), gives null and
// nothing is reported; the renderer turns that into a null surface and the framework into a null image.
//
// The game's art is PNG, and PNG alone is decoded: stb_image would otherwise try every format it knows,
// TGA among them, which has no signature, so that almost any bytes pass as a TGA image and a 127-byte
// file could describe a 4112 x 4112 picture. Neither side may exceed 8192 pixels (more than any texture
// the game makes; 256 MiB of RGBA at most), checked before anything is allocated.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_MAX_DIMENSIONS 8192
#include <stb/stb_image.h>

#include "host/game.h"

// Decodes the file in its own channel count (1 grey, 2 grey-alpha, 3 RGB, 4 RGBA), rows top to bottom.
// The block comes from malloc and belongs to the caller; its size is reported to the collector as
// outside memory.
unsigned char* ZKGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    unsigned char* pixels = stbi_load_from_file(file, width, height, depth, 0);
    std::fclose(file);
    if (!pixels) return nullptr;
    gc_ext_malloced(*width * *height * *depth);
    return pixels;
}
