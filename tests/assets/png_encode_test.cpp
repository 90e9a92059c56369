// tests/assets/png_encode_test.cpp: the generator's PNG encoder, read back by stb_image as the game reads
// it: every pixel comes back, in the narrowest form that holds the picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "png_encode.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace {

using Pixel = std::function<std::vector<uint8_t>(int x, int y)>;   // straight RGBA of one pixel

std::vector<uint8_t> picture(int w, int h, const Pixel& pixel) {
    std::vector<uint8_t> rgba;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::vector<uint8_t> p = pixel(x, y);
            rgba.insert(rgba.end(), p.begin(), p.end());
        }
    return rgba;
}

// One of `n` different colours, scattered so that no pattern repeats; the first is fully transparent
// when `clear`. (A repeating pattern deflates so well that its palette chunk would outweigh the gain.)
Pixel colours(int n, bool clear) {
    return [=](int x, int y) -> std::vector<uint8_t> {
        uint32_t h = uint32_t(x) * 0x9E3779B1u ^ uint32_t(y) * 0x85EBCA77u;   // a hash of the position
        h = (h ^ h >> 15) * 0x2C1B3C6Du;
        h = (h ^ h >> 12) * 0x297A2D39u;
        const int i = int((h ^ h >> 15) % uint32_t(n));
        if (clear && i == 0) return {0, 0, 0, 0};
        return {uint8_t(i * 37), uint8_t(i * 11 + 5), uint8_t(i * 3 / 2), 255};
    };
}

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
        {"opaque grey", 300, 9,
         [](int x, int y) -> std::vector<uint8_t> {
             uint8_t v = uint8_t(x + y);
             return {v, v, v, 255};
         },
         1, 0, 8},
        {"grey with alpha", 70, 40,
         [](int x, int y) -> std::vector<uint8_t> {
             return {uint8_t(x * 3), uint8_t(x * 3), uint8_t(x * 3), uint8_t(y * 6)};
         },
         2, 4, 8},
        {"opaque colours", 40, 30,
         [](int x, int y) -> std::vector<uint8_t> {
             return {uint8_t(x * 6), uint8_t(y * 8), uint8_t(x ^ y), 255};
         },
         3, 2, 8},
        {"red = green, blue apart", 40, 30,
         [](int x, int y) -> std::vector<uint8_t> {
             return {uint8_t(x * 6), uint8_t(x * 6), uint8_t(y * 8), 255};
         },
         3, 2, 8},
        {"translucent colours", 40, 30,
         [](int x, int y) -> std::vector<uint8_t> {
             return {uint8_t(x * 6), uint8_t(y * 8), 7, uint8_t(x + y)};
         },
         4, 6, 8},
        {"two colours, one clear", 61, 40, colours(2, true), 4, 3, 1},
        {"four opaque colours", 59, 40, colours(4, false), 3, 3, 2},
        {"sixteen colours, one clear", 61, 40, colours(16, true), 4, 3, 4},
        {"256 colours", 61, 40, colours(256, true), 4, 3, 8},
        {"257 opaque colours", 61, 40, colours(257, false), 3, 2, 8},
        {"one clear pixel: grey beats a palette's chunks", 1, 1, colours(1, true), 2, 4, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> rgba = picture(c.w, c.h, c.pixel);
        const std::vector<uint8_t> png = encode_png(rgba.data(), c.w, c.h);
        ASSERT_GT(png.size(), 26u);
        EXPECT_EQ(png[24], c.bitDepth);   // in the header chunk, after the signature, width and height
        EXPECT_EQ(png[25], c.colourType);
        int w = 0, h = 0, channels = 0;
        stbi_uc* back = stbi_load_from_memory(png.data(), int(png.size()), &w, &h, &channels, 4);
        ASSERT_NE(back, nullptr) << stbi_failure_reason();
        EXPECT_EQ(channels, c.channels);
        EXPECT_EQ(std::vector<uint8_t>(back, back + size_t(w) * h * 4), rgba);
        stbi_image_free(back);
    }
}
