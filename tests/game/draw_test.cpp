// The drawing layer: scaling to the window, text layout, the display list and its replay read back as pixels.
#include <cmath>
#include <set>
#include <string_view>

#include "tests/common/pixels.h"
#include "tests/game/myapp_fixture.h"

using Drawing = Game;
using namespace std::literals;

// A window minimised to nothing keeps the last layout. Each row: device width, height, overscan; then both
// scales, the virtual width and height, landscape, reloading. At equal scales the width decides.
TEST_F(Drawing, ReplayDrawsEveryCommandThroughTheOverscanAndRenderScalesToTheWindowReloadingTheArt) {
    // With an overscan of 40 at 800 x 600 the scale is 0.9 and the offset (40, 30). The tee peg turned and
    // stretched has its shaft 4 to 90 device pixels left of its centre; the glyph is sampled nearest.
    zk_Dravo_overscan = 40;
    app->p_CLS2D(0, 0, 80, 1);
    app->p_CLS2D();
    app->p_SetCol(255, 0, 0);
    app->p_Rect(0, 0, 100, 100);   // device (40, 30) to (130, 120)
    app->p_SetCol(0, 0, 255);
    app->p_Rect(50, 50, 100, 100);   // covers the red one from (85, 75) on
    app->p_DrawImg(55, 600, 100, 0);
    app->p_DrawImg(-1, 600, 100, 0);
    app->p_SetCol(255, 255, 0, 0.5f);
    app->p_Rect(600, 400, 50, 50);   // device (580, 390) to (625, 435)
    app->p_SetCol(255, 255, 255, 1);
    app->p_SetSize(4, 8);
    app->p_SetRot(90);
    app->p_DrawImg(kGfxbSlot, 500, 150, 3);   // device (490, 165)
    app->p_ResetDraw();
    app->p_SetSize(6);
    app->p_DrawImg(kFontSlot, 150, 420, 'A' - 32);   // 2.7 device pixels a texel
    app->p_ResetDraw();
    app->p_SetCol(0, 255, 0);
    app->p_Oval(400, 300, 30, 10);   // the last command: device radii 27 and 9
    host->RenderGame();
    const zk_test::Probe probes[] = {{35, 60, 0x000050},   {799, 599, 0x000050}, {45, 60, 0xff0000},
                                     {60, 25, 0x000050},   {60, 35, 0xff0000},   {100, 100, 0x0000ff},
                                     {400, 300, 0x00ff00}, {420, 300, 0x00ff00}, {430, 300, 0x000050},
                                     {400, 312, 0x000050}, {580, 130, 0x000050}, {620, 130, 0x000050}};
    for (const zk_test::Probe& probe : probes) zk_test::ExpectPixels({probe});
    zk_test::ExpectPixels({{600, 410, 0x808028}}, 1);
    const zk_test::Screenshot shot;
    auto peg = [](const unsigned char* p) { return p[0] > 150; };
    EXPECT_GT(shot.Count(425, 163, 440, 168, peg), 30) << "the shaft, turned and stretched";
    EXPECT_EQ(shot.Count(380, 160, 395, 170, peg) + shot.Count(486, 205, 495, 255, peg), 0) << "no further";
    EXPECT_EQ(shot.Count(130, 363, 149, 453, peg) + shot.Count(191, 363, 215, 453, peg), 0) << "40 wide";
    std::set<unsigned> colours;
    shot.Count(130, 363, 220, 453,
               [&](const unsigned char* p) { return colours.insert(p[0] << 16 | p[1] << 8 | p[2]).second; });
    EXPECT_LE(colours.size(), 4u);
    app->p_CLS2D(0, 0, 80, 1);
    app->p_Rect(0, 0, 10, 10);   // a list of one command
    host->RenderGame();
    zk_test::ExpectPixels({{45, 35, 0xffffff}});
    app->p_CLS2D(255, 0, 0, 0.5f);   // a background at half alpha: the last picture shows through
    host->RenderGame();
    zk_test::ExpectPixels({{45, 35, 0xff8080}, {20, 20, 0x800028}}, 1);
    const float cases[][8] = {{1600, 1200, 0, 2, 800, 600, 1, 1},
                              {1600, 900, 0, 2, 800, 450, 1, 1},
                              {1600, 900, 0, 2, 800, 450, 1, 0},
                              {1200, 900, 0, 1.5f, 800, 600, 1, 1},
                              {800, 1000, 0, 1000 / 600.0f, 480, 600, 0, 1},
                              {600, 600, 0, 1, 600, 600, 1, 1},
                              {880, 680, 40, 1, 800, 680 / 1.1f, 1, 1},
                              {1600, 1200, 64, 1.84f, 800, 600, 1, 1},
                              {1600, 0, 64, 1.84f, 800, 600, 1, 1},
                              {0, 0, 64, 1.84f, 800, 600, 1, 1}};
    for (const auto& c : cases) {
        host->width = static_cast<int>(c[0]), host->height = static_cast<int>(c[1]);
        zk_Dravo_overscan = c[2];
        app->m_loadStep = 0;
        host->RenderGame();
        const float got[] = {app->m_scaleX,  app->m_scaleY,           zk_Dravo_jscrw,
                             zk_Dravo_jscrh, float(app->m_landscape), float(app->m_loadStep)};
        const float want[] = {c[3], c[3], c[4], c[5], c[6], c[7]};
        for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(got[i], want[i]) << c[0] << "x" << c[1] << " value " << i;
    }
    GameEnvironment::game->FinishLoading();   // minimised: the base art, and updates go on
    EXPECT_EQ(app->m_hdScale, 1);
    host->width = 1600, host->height = 1200;   // back: device (64 + 184, 48 + 92) is design (100, 50)
    host->MouseEvent(kEventMouseMove, 0, 64 + 184, 48 + 92);
    Frame();
    GameEnvironment::game->FinishLoading();
    EXPECT_TRUE(app->m_hdScale == 4 && app->m_mouseX == 100 && app->m_mouseY == 50);
}

// A font of advance 16 and line height 10; a text starts with a space that advances; an icon escape (0xAC)
// measures 2 and its letter nothing. Each row: text, place, alignment, control style, size, rotation.
TEST_F(Drawing, TextLayoutNumbersRightAlignedAndTheListHolds2500Commands) {
    app->m_imageInfo[kFontSlot * 3] = 16;
    app->m_imageInfo[kFontSlot * 3 + 1] = 10;
    const struct {
        std::u16string_view text;
        float x, y, alignX, alignY, style, sizeX, sizeY, rot;
        std::vector<float> glyphs;   // frame, x, y of each
    } cases[] = {
        {u"ab", 100, 50, 1, 1, 0, 1, 1, 0, {65, 100, 50, 66, 116, 50}},
        {u"a\\nb", 100, 50, 0, 0, 0, 1, 1, 0, {65, 116, 55, 66, 100, 65}},
        {u"a\\nb", 100, 50, 2, 1, 0, 1, 1, 0, {65, 53, 50, 66, 37, 60}},
        {u"\u00ACJb", 100, 50, 2, 1, 1, 1, 1, 0, {96, 82, 50, 66, 102, 50}},
        {u"a\0b"sv, 100, 50, 2, 1, 1, 1, 1, 0, {65, 68, 50, 66, 84, 50}},
        {u"\u00ACUb\u00AC9b", 0, 0, 0, 0, 1, 1, 1, 0, {100, 16, 5, 66, 38, 5, 57, 54, 5, 66, 74, 5}},
        // clang-format off
        {u"\u00ACJ\u00AC9bwb", 0, 0, 0, 0, 0, 1, 1, 0, {112, 16, 5, 73, 36, 5, 66, 49, 5, 87, 65, 5, 66, 83, 5}},
        // clang-format on
        {u"Wtb", 0, 0, 0, 0, 0, 1, 1, 0, {55, 16, 5, 84, 33, 5, 66, 48, 5}},
        {u"x\u009F\u00AC", 0, 0, 0, 0, 1, 1, 1, 0, {88, 16, 5, 127, 32, 5}},   // frame 127; a last escape
        {u"ib", 100, 50, 1, 1, 0, 1.5f, 1.5f, 0, {73, 102.5f, 50, 66, 122, 50}},
        {u"a\\nb", 0, 100, 0, 2, 0, 2, 3, 0, {65, 32, 85, 66, 0, 115}},
        {u"a\\nb", 0, 0, 0, 0, 0, 2, kUnset, 0, {65, 32, 10, 66, 0, 30}},   // the size given once
        {u"ab", 0, 0, 0, 1, 0, 2, 2, 90, {65, 0, 32, 66, 0, 64}},           // turned clockwise
        {u"a\\nb", 0, 0, 0, 0, 0, 1, 1, 90, {65, -5, 16, 66, -15, 0}},
    };
    for (const auto& c : cases) {
        app->p_CLS2D();
        app->m_controlStyle = static_cast<int>(c.style);
        app->p_SetSize(c.sizeX, c.sizeY);
        app->p_SetRot(c.rot);
        const String text(reinterpret_cast<const Char*>(c.text.data()), static_cast<int>(c.text.size()));
        app->p_Text(c.x, c.y, text, c.alignX, c.alignY);
        std::vector<float> got;   // to a thousandth: the turned texts' sines leave a millionth
        auto milli = [](float v) { return std::round(v * 1000) / 1000; };
        for (const Cmd& d : Commands()) got.insert(got.end(), {d.frame, milli(d.x), milli(d.y)});
        EXPECT_EQ(got, c.glyphs) << "case " << &c - cases;
    }
    EXPECT_EQ(app->p_rstr(42, 6, String("0")).ToUtf8() + app->p_rstr(1234567, 3, String("0")).ToUtf8() +
                  app->p_rstr(7, 0, String(" ")).ToUtf8(),
              "000042567 7");
    app->p_CLS2D();
    for (int i = 0; i < 2600; ++i) app->p_Rect(0, 0, 1, 1);
    EXPECT_EQ(app->m_drawCount, 37500);
}
