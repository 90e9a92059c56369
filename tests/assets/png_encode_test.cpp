// The generator's PNG encoder and the sheets it writes from cairo, read back by stb_image as the game does.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "canvas.h"
#include "harness/scratch.h"
#include "png_encode.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace {

using Rgba = std::vector<uint8_t>;
using Pixel = std::function<Rgba(int x, int y)>;   // straight RGBA of one pixel

Rgba px(int r, int g, int b, int a) { return {uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a)}; }

struct Decoded {
    int w = 0, h = 0, channels = 0;
    Rgba rgba;   // empty when stb_image refuses the bytes
    explicit Decoded(const std::string& png) {
        const auto* bytes = reinterpret_cast<const stbi_uc*>(png.data());
        if (stbi_uc* p = stbi_load_from_memory(bytes, int(png.size()), &w, &h, &channels, 4)) {
            rgba.assign(p, p + size_t(w) * h * 4);
            stbi_image_free(p);
        }
    }
};

// One of `n` different colours, scattered so that no pattern repeats; the first is fully transparent
// when `clear`. (A repeating pattern deflates so well that its palette chunk would outweigh the gain.)
Pixel colours(int n, bool clear) {
    return [=](int x, int y) -> Rgba {
        uint32_t h = uint32_t(x) * 0x9E3779B1u ^ uint32_t(y) * 0x85EBCA77u;   // a hash of the position
        h = (h ^ h >> 15) * 0x2C1B3C6Du;
        h = (h ^ h >> 12) * 0x297A2D39u;
        const int i = int((h ^ h >> 15) % uint32_t(n));
        return clear && i == 0 ? px(0, 0, 0, 0) : px(i * 37, i * 11 + 5, i * 3 / 2, 255);
    };
}

// A frame like the sheets': transparent ground, opaque outlined shape, translucent fade, antialiased edges.
void art(cairo_t* cr, int frame) {
    rounded_rect(cr, 3, 4, 20, 14, 4);
    fill_outline(cr, 0x40A0E0 + frame, 0x101828, 1.3);
    vertical_gradient(cr, 5, 0xE0C040, 0.7, 27, 0x3060E0, 0);
    circle(cr, 20, 16, 11);
    cairo_fill(cr);
}

const SheetLayout kLayout{"test", 32, 24, 3, 2};

}   // namespace

// Widths that leave part of a byte at the end of each palette row (13, 27, 61) catch an index packed
// into the wrong place; a palette form decodes to 4 channels when some entry is transparent, else 3.
TEST(PngEncode, EveryPixelComesBackInTheNarrowestForm) {
    const struct Case {
        const char* name;
        int w, h;
        Pixel pixel;
        int channels;   // what stb_image, and so the game's loader, gives
        int colourType, bitDepth;
    } cases[] = {
        {"opaque grey", 300, 9, [](int x, int y) { return px(x + y, x + y, x + y, 255); }, 1, 0, 8},
        {"grey with alpha", 70, 40, [](int x, int y) { return px(x * 3, x * 3, x * 3, y * 6); }, 2, 4, 8},
        {"opaque colours", 40, 30, [](int x, int y) { return px(x * 6, y * 8, x ^ y, 255); }, 3, 2, 8},
        {"red = green", 40, 30, [](int x, int y) { return px(x * 6, x * 6, y * 8, 255); }, 3, 2, 8},
        {"translucent colours", 40, 30, [](int x, int y) { return px(x * 6, y * 8, 7, x + y); }, 4, 6, 8},
        {"two colours, one clear", 61, 40, colours(2, true), 4, 3, 1},
        {"four opaque colours", 59, 40, colours(4, false), 3, 3, 2},
        {"sixteen colours, one clear", 61, 40, colours(16, true), 4, 3, 4},
        {"256 colours", 61, 40, colours(256, true), 4, 3, 8},
        {"257 opaque colours", 61, 40, colours(257, false), 3, 2, 8},
        {"one clear pixel: grey beats a palette's chunks", 1, 1, colours(1, true), 2, 4, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rgba rgba;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                for (uint8_t v : c.pixel(x, y)) rgba.push_back(v);
        const Rgba png = encode_png(rgba.data(), c.w, c.h);
        ASSERT_GT(png.size(), 26u);
        EXPECT_EQ(png[24], c.bitDepth);   // in the header chunk, after the signature, width and height
        EXPECT_EQ(png[25], c.colourType);
        const Decoded back(std::string(png.begin(), png.end()));
        EXPECT_TRUE(back.channels == c.channels && back.rgba == rgba) << back.channels;
    }
}

TEST(Canvas, WrittenSheetDecodesAsCairoWritesIt) {
    zk_test::ScratchDir dir;
    for (int scale : {1, 4}) {
        cairo_surface_t* s = render_sheet(kLayout, art, scale);
        write_png(s, dir / "ours.png");
        ASSERT_EQ(cairo_surface_write_to_png(s, (dir / "cairo.png").c_str()), CAIRO_STATUS_SUCCESS);
        cairo_surface_destroy(s);
        const Decoded a(zk_test::ReadFile(dir / "ours.png")), b(zk_test::ReadFile(dir / "cairo.png"));
        ASSERT_FALSE(b.rgba.empty());
        EXPECT_TRUE(a.w == b.w && a.rgba == b.rgba) << scale;
    }
}

TEST(Canvas, HalfDetailSheetDoublesTheHalfScaleArt) {
    SheetLayout half = kLayout;
    half.drawnDetail = 2;
    cairo_surface_t *doubled = render_sheet(half, art, 4), *plain = render_sheet(kLayout, art, 2);
    const int w = cairo_image_surface_get_width(plain), h = cairo_image_surface_get_height(plain);
    ASSERT_EQ(cairo_image_surface_get_width(doubled), 2 * w);
    ASSERT_EQ(cairo_image_surface_get_height(doubled), 2 * h);
    auto texel = [](cairo_surface_t* s, int x, int y) {
        const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        return reinterpret_cast<const uint32_t*>(row)[x];
    };
    int differing = 0;
    for (int y = 0; y < 2 * h; ++y)
        for (int x = 0; x < 2 * w; ++x) differing += texel(doubled, x, y) != texel(plain, x / 2, y / 2);
    EXPECT_EQ(differing, 0);
    cairo_surface_destroy(doubled), cairo_surface_destroy(plain);
}
