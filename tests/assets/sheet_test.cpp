// tests/assets/sheet_test.cpp: the image sheets as the game cuts and draws them, and the two fonts as
// the text layout and the framework cut them.
#include <gtest/gtest.h>


#include "data_files.h"

namespace {

bool frame_has_ink(const Rgba& img, FrameCut f, int w, int h) {
    for (int y = f.y; y < f.y + h; ++y)
        for (int x = f.x; x < f.x + w; ++x)
            if (img.alpha(x, y) > 0) return true;
    return false;
}

bool frame_touches_border(const Rgba& img, FrameCut f, int w, int h) {
    for (int i = 0; i < w; ++i)
        if (img.alpha(f.x + i, f.y) || img.alpha(f.x + i, f.y + h - 1)) return true;
    for (int j = 0; j < h; ++j)
        if (img.alpha(f.x, f.y + j) || img.alpha(f.x + w - 1, f.y + j)) return true;
    return false;
}

// Frames of the font: printable codes 33..126 sit in cells 1..94; the two icon sets in 96..108, 112..124.
std::vector<int> font_frames() {
    std::vector<int> f;
    for (int code = 33; code <= 126; ++code) f.push_back(code - 32);
    for (int i = 96; i <= 108; ++i) f.push_back(i);
    for (int i = 112; i <= 124; ++i) f.push_back(i);
    return f;
}

}  // namespace

TEST(AssetSheets, CutIntoTheirFramesAndNoDrawnFrameIsEmpty) {
    for (const SlotSheet& s : game_sheets())
        for (const Resolution& r : resolutions()) {
            std::string file = s.name + r.suffix + ".png";
            Rgba img;
            ASSERT_TRUE(load_png(data_path(file), img)) << file;
            int w = s.frameW * r.scale, h = s.frameH * r.scale;
            std::vector<FrameCut> frames;
            ASSERT_TRUE(cut_frames(img.width, img.height, w, h, s.frames, frames))
                << file << ": Image frame outside surface";
            std::vector<int> drawn = s.drawn;
            if (drawn.empty())
                for (int i = 0; i < s.frames; ++i) drawn.push_back(i);
            for (int i : drawn) EXPECT_TRUE(frame_has_ink(img, frames[i], w, h)) << file << " frame " << i;
        }
}

TEST(AssetFont, EveryGlyphHasInkInsideItsCellAwayFromTheBorder) {
    for (const Resolution& r : resolutions()) {
        std::string file = std::string("fonts/editundo") + r.suffix + ".png";
        Rgba img;
        ASSERT_TRUE(load_png(data_path(file), img)) << file;
        int cell = 16 * r.scale;
        std::vector<FrameCut> cells;
        ASSERT_TRUE(cut_frames(img.width, img.height, cell, cell, 128, cells)) << file;
        for (int f : font_frames()) {
            EXPECT_TRUE(frame_has_ink(img, cells[f], cell, cell)) << file << " cell " << f;
            EXPECT_FALSE(frame_touches_border(img, cells[f], cell, cell)) << file << " cell " << f;
        }
        EXPECT_FALSE(frame_has_ink(img, cells[0], cell, cell)) << "the space is blank";
    }
}

TEST(AssetFont, FrameworkFontCutsIntoNinetySixPaddedFrames) {
    Rgba img;
    ASSERT_TRUE(load_png(data_path("zeto_font.png"), img));
    ASSERT_EQ(img.width % 96, 0);
    int w = img.width / 96;
    // the framework skips a one-pixel border left and right of each frame (PadX); nothing may be there
    for (int i = 0; i < 96; ++i)
        for (int y = 0; y < img.height; ++y)
            ASSERT_EQ(img.alpha(i * w, y) + img.alpha(i * w + w - 1, y), 0) << "frame " << i << " row " << y;
    EXPECT_TRUE(frame_has_ink(img, {('A' - 32) * w, 0}, w, img.height));
}
