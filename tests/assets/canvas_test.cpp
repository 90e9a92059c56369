// tests/assets/canvas_test.cpp: pictures drawn with cairo and written by the generator's PNG writer.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <string>
#include <vector>

#include "canvas.h"
#include "harness/scratch.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace {

// A frame of what the sheets are made of: a transparent ground, an opaque outlined shape, a translucent
// fade and antialiased edges everywhere.
void art(cairo_t* cr, int frame) {
    rounded_rect(cr, 3, 4, 20, 14, 4);
    fill_outline(cr, 0x40A0E0 + frame, 0x101828, 1.3);
    vertical_gradient(cr, 5, 0xE0C040, 0.7, 27, 0x3060E0, 0);
    circle(cr, 20, 16, 11);
    cairo_fill(cr);
}

const SheetLayout kLayout{"test", 32, 24, 3, 2};

struct Decoded {
    int w = 0, h = 0;
    std::vector<unsigned char> rgba;
};

Decoded decode(const std::string& path) {
    Decoded d;
    int channels = 0;
    if (unsigned char* p = stbi_load(path.c_str(), &d.w, &d.h, &channels, 4)) {
        d.rgba.assign(p, p + size_t(d.w) * d.h * 4);
        stbi_image_free(p);
    }
    return d;
}

}   // namespace

// The writer's file decodes to the same straight pixels as cairo's own PNG writer gives.
TEST(Canvas, WrittenSheetDecodesAsCairoWritesIt) {
    zk_test::ScratchDir dir;
    for (int scale : {1, 4}) {
        cairo_surface_t* s = render_sheet(kLayout, art, scale);
        const std::string ours = dir.path() + "/ours.png", cairos = dir.path() + "/cairo.png";
        write_png(s, ours);
        ASSERT_EQ(cairo_surface_write_to_png(s, cairos.c_str()), CAIRO_STATUS_SUCCESS);
        cairo_surface_destroy(s);
        const Decoded a = decode(ours), b = decode(cairos);
        ASSERT_FALSE(b.rgba.empty());
        EXPECT_EQ(a.w * 10000 + a.h, b.w * 10000 + b.h) << scale;
        EXPECT_TRUE(a.rgba == b.rgba) << scale;
    }
}

// A sheet drawn at half detail keeps its size, and each 2 x 2 block of texels is one texel of the same
// art drawn at half the scale.
TEST(Canvas, HalfDetailSheetDoublesTheHalfScaleArt) {
    SheetLayout half = kLayout;
    half.drawnDetail = 2;
    cairo_surface_t* doubled = render_sheet(half, art, 4);
    cairo_surface_t* plain = render_sheet(kLayout, art, 2);
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
    cairo_surface_destroy(doubled);
    cairo_surface_destroy(plain);
}
