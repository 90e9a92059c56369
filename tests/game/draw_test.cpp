// The drawing layer: the design screen scaled to the window, text layout read back from the display list,
// right-aligned numbers, the list's capacity, and small text on screen at the smallest window of each
// font sheet.
#include <stb/stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "tests/common/pixels.h"
#include "tests/game/myapp_fixture.h"

namespace {

struct Glyph {
    int frame;
    float x, y;
};

// Lit cells of a picture, one string per row, '#' lit.
using Cells = std::vector<std::string>;

Cells Transposed(const Cells& c) {
    Cells t(c.empty() ? 0 : c[0].size(), std::string(c.size(), '.'));
    for (size_t y = 0; y < c.size(); ++y)
        for (size_t x = 0; x < c[y].size(); ++x) t[x][y] = c[y][x];
    return t;
}

// The picture without its blank border and with every run of equal rows and of equal columns cut to one:
// what nearest sampling leaves unchanged as long as it keeps every stroke and every gap, however often
// it repeats or drops a texel.
Cells Squeezed(Cells c) {
    for (int pass = 0; pass < 2; ++pass) {
        while (!c.empty() && c.back().find('#') == std::string::npos) c.pop_back();
        while (!c.empty() && c.front().find('#') == std::string::npos) c.erase(c.begin());
        c.erase(std::unique(c.begin(), c.end()), c.end());
        c = Transposed(c);
    }
    return c;
}

std::string Picture(const Cells& c) {
    std::string s;
    for (const std::string& row : c) s += row + "\n";
    return s;
}

// The font's base sheet: a glyph's white ink is lit, its dark shadow and the clear texels are not.
struct BaseFont {
    int width = 0, height = 0;
    std::vector<bool> lit;
    BaseFont() {
        int depth = 0;
        unsigned char* p = stbi_load("data/fonts/editundo.png", &width, &height, &depth, 4);
        for (int i = 0; p && i < width * height; ++i) lit.push_back(p[i * 4 + 3] >= 128 && p[i * 4] >= 128);
        std::free(p);
    }
};

class Drawing : public Game {
protected:
    // The base sheet's cell of a glyph frame.
    static Cells SheetCell(const BaseFont& font, int frame) {
        Cells cell(16, std::string(16, '.'));
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (font.lit[(frame / 16 * 16 + y) * font.width + frame % 16 * 16 + x]) cell[y][x] = '#';
        return cell;
    }
    // The device pixels whose centres lie in the design rectangle [x0, x1) x [y0, y1), a bright one lit.
    // The device's picture sits at the bottom of the larger test window.
    Cells ScreenCells(const zk_test::Screenshot& shot, float x0, float x1, float y0, float y1) const {
        auto first = [&](float v) { return static_cast<int>(std::ceil(v * app->m_scaleX - 0.5f)); };
        const int below = shot.height - host->height;
        Cells cells;
        for (int j = first(y0); j < first(y1); ++j) {
            cells.emplace_back();
            for (int i = first(x0); i < first(x1); ++i) {
                const unsigned char* p = shot.at(i, j + below);
                cells.back() += p[0] > 128 && p[1] > 128 ? '#' : '.';
            }
        }
        return cells;
    }
};

}  // namespace

TEST_F(Drawing, RenderScalesTheDesignScreenToTheWindow) {
    struct Case {
        int w, h, overscan;
        float scale, jw, jh;
        int landscape;
    } const cases[] = {{1600, 1200, 0, 2, 800, 600, 1}, {1600, 900, 0, 2, 800, 450, 1},
                       {800, 1000, 0, 1000 / 600.0f, 480, 600, 0}, {1600, 1200, 64, 1.84f, 800, 600, 1}};
    for (const Case& c : cases) {
        host->width = c.w, host->height = c.h;
        zk_Dravo_overscan = static_cast<float>(c.overscan);
        host->RenderGame();
        const float got[] = {app->m_scaleX, app->m_scaleY, zk_Dravo_jscrw, zk_Dravo_jscrh, float(app->m_landscape)},
                    want[] = {c.scale, c.scale, c.jw, c.jh, float(c.landscape)};
        for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(got[i], want[i]) << c.w << "x" << c.h << " value " << i;
    }
    // The pointer maps back through the overscan: device (64 + 184, 48 + 92) is design (100, 50).
    host->MouseEvent(kEventMouseMove, 0, 64 + 184, 48 + 92);
    host->UpdateGame();
    EXPECT_TRUE(app->m_mouseX == 100 && app->m_mouseY == 50);
}

// With a font of advance 16 and line height 10. A text starts with a space that draws nothing but
// advances; it is measured from there to its last code unit but one, an icon escape counting 2 and its
// letter nothing; the backslash-n pair breaks the line back to the start point.
TEST_F(Drawing, TextLayout) {
    app->m_imageInfo[90 * 3] = 16;
    app->m_imageInfo[90 * 3 + 1] = 10;
    const Char kEsc = 0xAC;
    struct Case {
        const char* what;
        std::vector<Char> text;
        float x, y, alignX, alignY;
        int style;
        float sizeX, sizeY, rot;
        std::vector<Glyph> glyphs;
    } const cases[] = {
        {"centred", {'a', 'b'}, 100, 50, 1, 1, 0, 1, 1, 0, {{65, 100, 50}, {66, 116, 50}}},
        {"a line break", {'a', '\\', 'n', 'b'}, 100, 50, 0, 0, 0, 1, 1, 0, {{65, 116, 55}, {66, 100, 65}}},
        {"right-aligned break", {'a', '\\', 'n', 'b'}, 100, 50, 2, 1, 0, 1, 1, 0, {{65, 53, 50}, {66, 37, 50 + 10}}},
        {"a measured icon", {kEsc, 'J', 'b'}, 100, 50, 2, 1, 1, 1, 1, 0, {{96, 82, 50}, {66, 102, 50}}},
        {"a unit 0", {'a', 0, 'b'}, 100, 50, 2, 1, 1, 1, 1, 0, {{65, 68, 50}, {66, 84, 50}}},
        {"pad icons", {kEsc, 'U', 'b', kEsc, '9', 'b'}, 0, 0, 0, 0, 1, 1, 1, 0,
         {{100, 16, 5}, {66, 38, 5}, {57, 54, 5}, {66, 74, 5}}},
        {"keyboard icons", {kEsc, 'J', kEsc, '9', 'b', 'w', 'b'}, 0, 0, 0, 0, 0, 1, 1, 0,
         {{112, 16, 5}, {73, 36, 5}, {66, 49, 5}, {87, 65, 5}, {66, 83, 5}}},
        {"an escape at the end", {'x', kEsc}, 0, 0, 0, 0, 1, 1, 1, 0, {{88, 16, 5}}},
        {"bottom-aligned at 2 x 3", {'a', '\\', 'n', 'b'}, 0, 100, 0, 2, 0, 2, 3, 0, {{65, 32, 85}, {66, 0, 115}}},
        {"turned clockwise", {'a', 'b'}, 0, 0, 0, 1, 0, 2, 2, 90, {{65, 0, 32}, {66, 0, 64}}},
    };
    for (const Case& c : cases) {
        app->p_CLS2D();
        app->m_controlStyle = c.style;
        app->p_SetSize(c.sizeX, c.sizeY);
        app->p_SetRot(c.rot);
        app->p_Text(c.x, c.y, String(c.text.data(), static_cast<int>(c.text.size())), c.alignX, c.alignY);
        ASSERT_EQ(app->m_drawCount, 15 * static_cast<int>(c.glyphs.size())) << c.what;
        for (size_t i = 0; i < c.glyphs.size(); ++i) {
            const float* g = &app->m_drawList[15 * static_cast<int>(i)];
            EXPECT_EQ(g[6], c.glyphs[i].frame) << c.what << " glyph " << i;
            EXPECT_NEAR(g[1], c.glyphs[i].x, 1e-3) << c.what << " glyph " << i;
            EXPECT_NEAR(g[2], c.glyphs[i].y, 1e-3) << c.what << " glyph " << i;
        }
    }
}

TEST_F(Drawing, NumbersRightAlignAndTheListHolds2500Commands) {
    EXPECT_EQ(app->p_rstr(42, 6, String("0")).ToUtf8() + app->p_rstr(1234567, 3, String("0")).ToUtf8() +
              app->p_rstr(7, 0, String(" ")).ToUtf8(), "000042567 7");
    app->p_CLS2D();
    for (int i = 0; i < 2600; ++i) app->p_Rect(0, 0, 1, 1);
    EXPECT_EQ(app->m_drawCount, 37500);
}

// Text sampled at its smallest: size 1 in the "-hd" sheet at 640 x 480 and at 631 x 473 (0.39 texels a
// pixel), in the "-hd2" sheet at 1231 wide (0.38), and there at size 0.8, the credits' corner numbers
// (0.31). Every glyph on screen must keep every stroke and every gap of its cell in the base sheet (the
// same squeezed picture), and never touch its neighbour. (Size 0.8 in "-hd", 0.32 at 640 x 480, would
// need 4-texel strokes and gaps: more than a 7-pixel advance holds.)
TEST_F(Drawing, SmallTextKeepsEveryStrokeAndGapAtTheSmallestWindowOfItsSheet) {
    const BaseFont base;
    ASSERT_EQ(base.width, 256);
    std::string all;
    for (char c = 33; c < 127; ++c) all += c;
    struct Case {
        const char* what;
        int w, h;
        float size;
        bool hud;   // the place line of a play frame, else every character in three lines on black
    } const cases[] = {{"place line", 640, 480, 1, true},
                       {"place line", 631, 473, 1, true},
                       {"every character", 631, 473, 1, false},
                       {"every character", 1231, 693, 1, false},
                       {"every character", 1231, 693, 0.8f, false}};
    for (const Case& c : cases) {
        host->width = c.w, host->height = c.h;
        Frame();   // the render sees the new size and the loader reloads the art for it
        GameEnvironment::game->FinishLoading();
        if (c.hud) {
            StartGame(1, 77, 10);
            for (int i = 0; i < 10; ++i) app->m_highscores[i] = 0;
            Update();
            app->p_StopTune();
        } else {
            app->p_CLS2D(0, 0, 0, 1);
            app->p_SetSize(c.size);
            for (int k = 0; k < 3; ++k)
                app->p_Text(8, 100 + 60.0f * k, String(all.substr(32 * k, 32).c_str()), 0, 1);
        }
        host->RenderGame();
        const zk_test::Screenshot shot;
        std::vector<std::vector<Cmd>> lines;   // the glyphs of each line, left to right
        for (const Cmd& g : Commands()) {
            if (g.kind != app->m_fontSlot || g.w != c.size || (c.hud && g.y != 10)) continue;
            if (lines.empty() || lines.back().front().y != g.y) lines.emplace_back();
            lines.back().push_back(g);
        }
        ASSERT_EQ(lines.size(), c.hud ? 1u : 3u) << c.what;
        const float z = c.size;
        for (const std::vector<Cmd>& line : lines) {
            std::string edge;   // the last column of the previous glyph's share of the line
            for (size_t k = 0; k < line.size(); ++k) {
                // A glyph's share of the line: from half a design pixel before its ink (cell column 5)
                // to the same point of the next glyph.
                const Cmd& g = line[k];
                const std::string where = std::string(c.what) + " at " + std::to_string(c.w) + "x" +
                                          std::to_string(c.h) + ", size " + ::testing::PrintToString(z) +
                                          ": '" + static_cast<char>(g.frame + 32) + "'";
                const float next = k + 1 < line.size() ? line[k + 1].x : g.x + 8 * z;
                const Cells cells =
                    ScreenCells(shot, g.x - 3.5f * z, next - 3.5f * z, g.y - 8 * z, g.y + 8 * z);
                const Cells got = Squeezed(cells),
                            want = Squeezed(SheetCell(base, static_cast<int>(g.frame)));
                EXPECT_EQ(got, want) << where << "\non screen:\n"
                                     << Picture(got) << "in the base sheet:\n"
                                     << Picture(want);
                const Cells columns = Transposed(cells);
                for (size_t j = 0; j < edge.size() && j < columns.front().size(); ++j)
                    EXPECT_FALSE(edge[j] == '#' && columns.front()[j] == '#')
                        << where << " touches the glyph before it";
                edge = columns.back();
            }
        }
    }
    app->m_mode = 1;
}
