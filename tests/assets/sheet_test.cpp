// tests/assets/sheet_test.cpp: the image sheets as the game cuts and draws them, and the bitmap font as
// the text layout uses it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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

TEST(AssetFont, GlyphsAreDistinctAndCapitalsShareOneBaseline) {
    Rgba img;
    ASSERT_TRUE(load_png(data_path("fonts/editundo.png"), img));
    std::vector<FrameCut> cells;
    ASSERT_TRUE(cut_frames(img.width, img.height, 16, 16, 128, cells));
    std::set<std::vector<unsigned char>> seen;
    for (int f = 1; f <= 94; ++f) {  // the printable characters; icons share shapes and differ in colour
        std::vector<unsigned char> a;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) a.push_back(img.alpha(cells[f].x + x, cells[f].y + y) > 127);
        EXPECT_TRUE(seen.insert(a).second) << "cell " << f << " repeats another glyph";
    }
    // The lowest fully opaque row of every capital is the same row: text reads on a straight line.
    auto bottom = [&](char c) {
        FrameCut cut = cells[c - 32];
        for (int y = 15; y >= 0; --y)
            for (int x = 0; x < 16; ++x)
                if (img.alpha(cut.x + x, cut.y + y) == 255) return y;
        return -1;
    };
    for (char c = 'A'; c <= 'Z'; ++c) EXPECT_EQ(bottom(c), bottom('H')) << c;
}

TEST(AssetFont, FrameworkFontCutsIntoNinetySixPaddedFrames) {
    Rgba img;
    ASSERT_TRUE(load_png(data_path("zeto_font.png"), img));
    ASSERT_EQ(img.width % 96, 0);
    int w = img.width / 96;
    // the framework skips a one-pixel border left and right of each frame (PadX); nothing may be there
    for (int i = 0; i < 96; ++i)
        for (int y = 0; y < img.height; ++y) {
            EXPECT_EQ(img.alpha(i * w, y), 0) << "frame " << i;
            EXPECT_EQ(img.alpha(i * w + w - 1, y), 0) << "frame " << i;
        }
    EXPECT_TRUE(frame_has_ink(img, {('A' - 32) * w, 0}, w, img.height));
}

namespace {

// Ink bounding box and alpha-weighted centre of one frame, in the frame's own pixels.
struct Ink { int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1; double cx = 0; };
Ink ink_of(const Rgba& img, FrameCut f, int w, int h) {
    Ink k;
    double sum = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int a = img.alpha(f.x + x, f.y + y);
            if (a < 32) continue;
            k.left = std::min(k.left, x); k.right = std::max(k.right, x);
            k.top = std::min(k.top, y); k.bottom = std::max(k.bottom, y);
            k.cx += a * x; sum += a;
        }
    if (sum > 0) k.cx /= sum;
    return k;
}

}  // namespace

TEST(AssetSheets, ArtLinesUpWithWhereTheGameDrawsIt) {
    Rgba gfx, gfxb;
    ASSERT_TRUE(load_png(data_path("gfx-hd.png"), gfx));
    ASSERT_TRUE(load_png(data_path("gfxb-hd.png"), gfxb));
    std::vector<FrameCut> g, b;
    ASSERT_TRUE(cut_frames(gfx.width, gfx.height, 128, 128, 16, g));
    ASSERT_TRUE(cut_frames(gfxb.width, gfxb.height, 64, 64, 64, b));
    // The golfer is drawn with his frame's bottom edge on the top of the tee's grass: feet on that edge.
    for (int pose = 0; pose < 4; ++pose) EXPECT_GE(ink_of(gfx, g[pose], 128, 128).bottom, 122) << "pose " << pose;
    // Scenery scrolls across the screen eight times enlarged: nothing may reach the frame's sides, and
    // the land pieces stand on the bottom edge, which is the screen's.
    for (int f = 8; f <= 11; ++f) {
        Ink k = ink_of(gfx, g[f], 128, 128);
        EXPECT_GT(k.left, 0) << "scenery " << f;
        EXPECT_LT(k.right, 127) << "scenery " << f;
        if (f != 11) {
            EXPECT_EQ(k.bottom, 127) << "scenery " << f;
        }
    }
    // One wing frame serves both sides of the monster, so it is symmetric about its centre.
    for (int f : {14, 15}) EXPECT_NEAR(ink_of(gfx, g[f], 128, 128).cx, 63.5, 1.5) << "wing " << f;
    // The tee marker sits on the ground line (its frame's bottom); when open, the waiting ball (centred
    // 9 pixels above that line) and the cup of the peg under it are seen through its middle, above the
    // pit's rim.
    for (int f : {0, 1, 2, 14, 15}) EXPECT_GE(ink_of(gfxb, b[f], 64, 64).bottom, 60) << "marker " << f;
    for (int f : {1, 2, 14, 15})
        for (int y = 2 * 17; y < 2 * 27; ++y) EXPECT_EQ(gfxb.alpha(b[f].x + 32, b[f].y + y), 0) << "marker " << f;
    // Ball and peg spin about their frame centre, so they are centred on it.
    EXPECT_NEAR(ink_of(gfxb, b[4], 64, 64).cx, 31.5, 1.0);
    EXPECT_NEAR(ink_of(gfxb, b[3], 64, 64).cx, 31.5, 1.0);
}

namespace {

// Screen shapes in the game's logical pixels: a 4:3 window, a 16:9 fullscreen and a 3:4 portrait window.
struct Shape { const char* name; double w, h; };
const Shape kShapes[] = {{"4:3", 800, 600}, {"16:9", 800, 450}, {"3:4 portrait", 450, 600}};

struct Box { double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9; bool empty() const { return right < left; } };

// Bounding box of the fully opaque pixels of a frame whose colour passes `is`, in frame pixels.
template <class Pred>
Box colour_box(const Rgba& img, FrameCut f, int size, Pred is) {
    Box b;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const unsigned char* p = &img.pixels[size_t((f.y + y) * img.width + f.x + x) * 4];
            if (p[3] < 255 || !is(p[0], p[1], p[2])) continue;
            b.left = std::min<double>(b.left, x); b.right = std::max<double>(b.right, x + 1);
            b.top = std::min<double>(b.top, y); b.bottom = std::max<double>(b.bottom, y + 1);
        }
    return b;
}

bool grubnik_purple(int r, int g, int b) { return b > 150 && r > 100 && g < r - 40; }
bool golfer_shirt(int r, int g, int b) { return r > 180 && g < 110 && b < 90; }
bool tee_grass(int r, int g, int b) { return g > 165 && r < 80 && b < 80; }
bool sea_blue(int r, int g, int b) { return b > 100 && b > r + 40 && b > g; }

}  // namespace

// The menu draws the title art 4x centred at (W/2, 0.4H) and the logo 1.5x centred at (0.4W, 128), with
// a 140-wide panel at the right edge. On every screen shape Grubnik, the golfer and his island must be
// on screen and below the logo, the sea must reach the bottom edge, and the logo must stay left of the
// panel.
TEST(AssetTitle, EveryScreenShapeShowsTheWholeScene) {
    Rgba menu, logo;
    ASSERT_TRUE(load_png(data_path("menu.png"), menu));
    ASSERT_TRUE(load_png(data_path("logo.png"), logo));
    FrameCut art{256, 0};
    const Box parts[] = {colour_box(menu, art, 256, grubnik_purple), colour_box(menu, art, 256, golfer_shirt),
                         colour_box(menu, art, 256, tee_grass)};
    const char* names[] = {"Grubnik", "golfer", "tee island"};
    Ink lk = ink_of(logo, {0, 0}, 256, 128);
    for (const Shape& s : kShapes) {
        auto sx = [&](double fx) { return s.w / 2 + 4 * (fx - 128); };
        auto sy = [&](double fy) { return 0.4 * s.h + 4 * (fy - 128); };
        double logoBottom = 128 + 1.5 * (lk.bottom + 1 - 64);
        for (int i = 0; i < 3; ++i) {
            ASSERT_FALSE(parts[i].empty()) << names[i];
            EXPECT_GE(sx(parts[i].left), 0) << s.name << ": " << names[i];
            EXPECT_LE(sx(parts[i].right), s.w - 140) << s.name << ": " << names[i] << " under the panel";
            EXPECT_GE(sy(parts[i].top), logoBottom) << s.name << ": " << names[i] << " under the logo";
            EXPECT_LE(sy(parts[i].bottom), s.h) << s.name << ": " << names[i];
        }
        int bottomRow = int(128 + 0.15 * s.h) - 1;  // the frame row at the screen's bottom edge
        int seaFrom = int(128 - s.w / 8), seaTo = int(128 + s.w / 8);
        for (int x = seaFrom; x < seaTo; x += 4) {
            const unsigned char* p = &menu.pixels[size_t(bottomRow * menu.width + art.x + x) * 4];
            EXPECT_TRUE(p[3] == 255 && sea_blue(p[0], p[1], p[2])) << s.name << ": no sea at the bottom, x " << x;
        }
        EXPECT_GE(0.4 * s.w + 1.5 * (lk.left - 128), 0) << s.name << ": logo";
        EXPECT_LE(0.4 * s.w + 1.5 * (lk.right + 1 - 128), s.w - 140) << s.name << ": logo under the panel";
    }
}

// The menu's credits button shows the maker emblem at 0.35x centred 32 pixels below the top edge.
TEST(AssetTitle, CreditsButtonEmblemIsNotCutByTheTopEdge) {
    Rgba emblem;
    ASSERT_TRUE(load_png(data_path("common/PlinLogo.png"), emblem));
    EXPECT_GE(32 + 0.35 * (ink_of(emblem, {0, 0}, 256, 256).top - 128), 0);
}
