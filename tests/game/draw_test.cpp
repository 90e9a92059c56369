// The drawing layer: the design screen scaled to the window, text layout read back from the display list,
// right-aligned numbers and the list's capacity.
#include "tests/game/myapp_fixture.h"

namespace {

class Drawing : public Game {};

struct Glyph {
    int frame;
    float x, y;
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
