// Images: bytes through the host's image loader into a surface, as the renderer loads art. Only a PNG
// loads; a loaded surface is at most 8192 pixels a side and its pixels are premultiplied (no colour
// above its alpha).
#include <cstring>

#include "fuzz/fuzz.h"
#include "host/game.h"
#include "media/graphics.h"
#include "media/surface.h"

namespace {

// The host, its files served from the fuzz input.
struct BytesHost : ZKGlfwGame {
    const uint8_t* data = nullptr;
    size_t size = 0;
    FILE* OpenFile(String, String) override { return open_bytes(data, size); }
};

BytesHost* host;
gxtkGraphics* graphics;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready =
        (gc_init1(), host = new BytesHost, graphics = new gxtkGraphics, gc_root(graphics), gc_mark(), true);
    (void)ready;
    host->data = data;
    host->size = size;
    gxtkSurface* s = new gxtkSurface;
    if (graphics->LoadSurface__UNSAFE__(s, String("zanth://data/image.png"))) {
        FUZZ_CHECK(size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0);
        FUZZ_CHECK(s->data && s->width > 0 && s->height > 0 && s->width <= 8192 && s->height <= 8192);
        FUZZ_CHECK(s->depth >= 1 && s->depth <= 4);
        const long long pixels = 1LL * s->width * s->height;
        for (long long i = 0; s->depth % 2 == 0 && i < pixels; ++i) {
            const unsigned char* p = s->data + i * s->depth;
            for (int c = 0; c < s->depth - 1; ++c) FUZZ_CHECK(p[c] <= p[s->depth - 1]);
        }
    }
    s->Discard();
    gc_collect_all();   // the surface becomes garbage
    return 0;
}
