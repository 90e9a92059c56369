// assets/sheet_title.cpp: the big pictures of the title, loading and credits screens.
// "logo" (256x128, one frame): "Grubnik in Tolvane Golf" in the project's own stroked lettering, four
//   lines over a white swoosh. Drawn at 1.5x on the menu (left of centre, near the top), 0.4x in the
//   credits. The lettering stands left of the frame's centre, in its upper three quarters, narrow
//   enough for a portrait screen (see logo()).
// "menu" (4 frames of 256x256, two to a row):
//   1 the title art, drawn 4x centred at (W/2, 0.4H): a transparent sky over a horizon, Grubnik hovering
//     over the water with a ball bouncing off its head, the golfer on his island tee at the left; laid out
//     so that every screen shape shows them (see title_art());
//   2 the backdrop, drawn 3x centred at (W/2, 0.6H) behind it: soft sunburst rays that fade out before
//     the frame's edge, so the menu's (0, 80, 140) background shows around it.
//   0 and 3 unused.
// "common/PlinLogo" (256x256): the maker's emblem, a navy roundel with a gold rim, Grubnik's face and a
//   "TOLVANE GAMES" banner, kept within 88 of the centre. Shown over a yellow disc and an orange band on the loading screen, as the
//   menu's credits button at 0.35x and in the credits at 0.3x.
// "common/Testcard_Circle" (256x256): a test-card circle behind the scrolling credits: colour bars above,
//   a black band across the middle for the white credit lines, a grey wedge and gratings below.
#include <cairo.h>

#include <cmath>
#include <string>

#include "canvas.h"
#include "characters.h"
#include "glyphs.h"
#include "palette.h"
#include "sheets.h"

using namespace pal;

namespace {

void centred_text(cairo_t* cr, const std::string& text, double cx, double top, const StrokeStyle& st,
                  const std::vector<double>& bounce = {}) {
    stroke_text(cr, text, cx - stroke_text_width(text) * st.cell / 2, top, st, bounce);
}

// ---- logo ----------------------------------------------------------------------------------------------

// The menu draws the logo 1.5 times enlarged centred at (0.4W, 128), over the title art and left of the
// 140-wide highscore panel at the right edge, W being 800 on landscape screens and 600 x aspect on
// portrait ones. A 9:16 portrait screen (W 337.5) shows the frame from x 38 (its left edge) to x 169
// (the panel), a 3:4 one from 8 to 214; a 21:9 landscape screen (H 343) has the carousel's selected item
// reaching up to frame y 105. So the lettering stands in four stacked lines inside x 42..166 and above
// y 100 (kLogoLeft..kLogoRight, kLogoBottom), which every shape from 9:16 to 21:9 shows whole.
constexpr double kLogoLeft = 42, kLogoRight = 166, kLogoBottom = 100;
constexpr double kLogoX = (kLogoLeft + kLogoRight) / 2;

void logo(cairo_t* cr, int) {
    // a swoosh under the words, like the flight of a long drive
    cairo_move_to(cr, kLogoLeft + 1, 97);
    cairo_curve_to(cr, kLogoX - 30, 87, kLogoX + 20, 85, kLogoRight - 1, 90);
    cairo_curve_to(cr, kLogoX + 20, 89, kLogoX - 30, 91, kLogoLeft + 1, 97);
    cairo_close_path(cr);
    fill_outline(cr, 0xFFFFFF, kMonsterInk, 1.4);
    StrokeStyle title{2.9, 1.08, kGold, kMonsterInk, 1.6, 0xFFF4C0, true};
    centred_text(cr, "Grubnik", kLogoX, 5, title, {0.3, -0.2, 0.2, -0.3, 0.1, -0.2, 0.3});
    StrokeStyle small{1.5, 1.1, 0xFFFFFF, kMonsterInk, 0.9, 0, false};
    centred_text(cr, "in", kLogoX, 31, small);
    StrokeStyle sub{2.5, 1.1, 0x9CF078, 0x10361C, 1.4, 0xE0FFD0, true};
    centred_text(cr, "Tolvane", kLogoX, 45, sub);
    centred_text(cr, "Golf", kLogoX, 66, sub);
}

// ---- menu ----------------------------------------------------------------------------------------------

void backdrop(cairo_t* cr) {
    cairo_pattern_t* fade = cairo_pattern_create_radial(128, 128, 0, 128, 128, 126);
    cairo_pattern_add_color_stop_rgba(fade, 0, 0.45, 0.78, 1.0, 0.55);
    cairo_pattern_add_color_stop_rgba(fade, 0.5, 0.25, 0.6, 0.9, 0.3);
    cairo_pattern_add_color_stop_rgba(fade, 1, 0.1, 0.4, 0.7, 0);
    const int rays = 18;
    for (int i = 0; i < rays; ++i) {
        double a0 = i * 2 * M_PI / rays, a1 = a0 + M_PI / rays;
        cairo_move_to(cr, 128, 128);
        cairo_arc(cr, 128, 128, 130, a0, a1);
        cairo_close_path(cr);
    }
    cairo_set_source(cr, fade);
    cairo_fill(cr);
    cairo_pattern_destroy(fade);
    cairo_pattern_t* glow = cairo_pattern_create_radial(128, 128, 0, 128, 128, 70);
    cairo_pattern_add_color_stop_rgba(glow, 0, 0.7, 0.9, 1.0, 0.35);
    cairo_pattern_add_color_stop_rgba(glow, 1, 0.7, 0.9, 1.0, 0);
    cairo_set_source(cr, glow);
    circle(cr, 128, 128, 70);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
}

// The title art is drawn four times enlarged, centred at (W/2, 0.4H), so a screen shows only a window of
// the frame: x from 128 - W/8 to 128 + W/8, y from 128 - 0.1H to 128 + 0.15H. Landscape screens are 800
// wide and 600 (4:3) to 450 (16:9) high; portrait ones are 600 high and 450 (3:4) wide or wider. Every
// shape therefore shows at least x 72..184, y 83..195: the island, the golfer, Grubnik and a band of water
// sit there, below the logo (which covers the upper part of that window) and clear of the right-hand
// panel in landscape. Sky and sea run on to the frame's edges and far islets stand in the wings, so a
// taller or wider screen just sees more of the same scene.
constexpr double kWaterTop = 176;
constexpr double kTeeX = 91;          // centre of the tee island
constexpr double kMonsterX = 132;     // centre of Grubnik
constexpr double kMonsterScale = 0.62;
constexpr double kMonsterTop = 136.5;  // top of its 64x64 body frame; the wings reach 7 higher
constexpr double kBallX = 155, kBallY = 121;  // the ball, just bounced off its head

void sea(cairo_t* cr, double top) {
    cairo_move_to(cr, 0, top);
    for (int x = 0; x <= 256; x += 8) cairo_curve_to(cr, x + 2, top - 1.2, x + 6, top + 1.2, x + 8, top);
    cairo_line_to(cr, 256, 256);
    cairo_line_to(cr, 0, 256);
    cairo_close_path(cr);
    vertical_gradient(cr, top, kWater, 1, 250, 0x0E3470, 1);
    cairo_fill(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int row = 0; row < 12; ++row)  // ripples, wider and further apart towards the viewer
        for (int i = -1; i < 10; ++i) {
            double gap = 24 + row * 2, w = 7 + row * 0.8;
            double x = 6 + i * gap + (row % 2) * gap / 2, y = top + 4 + row * (5 + row * 0.5);
            cairo_move_to(cr, x, y);
            cairo_curve_to(cr, x + w / 3, y - 1.2, x + 2 * w / 3, y - 1.2, x + w, y);
        }
    set_rgb(cr, kWaterLight, 0.55); cairo_set_line_width(cr, 0.9); cairo_stroke(cr);
}

void horizon(cairo_t* cr, double base) {
    cairo_move_to(cr, 0, base);
    cairo_curve_to(cr, 20, base - 14, 50, base - 20, 80, base - 9);
    cairo_curve_to(cr, 110, base - 2, 140, base - 22, 176, base - 15);
    cairo_curve_to(cr, 210, base - 8, 235, base - 18, 256, base - 10);
    cairo_line_to(cr, 256, base + 4);
    cairo_line_to(cr, 0, base + 4);
    cairo_close_path(cr);
    vertical_gradient(cr, base - 24, 0x2E7A7A, 1, base + 4, 0x1A4A5A, 1);
    cairo_fill(cr);
}

void cloud(cairo_t* cr, double x, double y, double s) {
    circle(cr, x - 7 * s, y + 1 * s, 4 * s);
    circle(cr, x, y - 2 * s, 6 * s);
    circle(cr, x + 7 * s, y + 0.5 * s, 4.5 * s);
    rounded_rect(cr, x - 11 * s, y, 22 * s, 5 * s, 2.5 * s);
    set_rgb(cr, 0xFFFFFF, 0.22);
    cairo_fill(cr);
}

// Far islets in the wings, seen only on wide screens: a green with its flag on the left, crags on the
// right. Small and hazy, so they read as distance behind the action.
void far_isles(cairo_t* cr, double base) {
    ellipse(cr, 44, base + 0.5, 15, 3.2);
    fill_outline(cr, 0x3A9A4A, 0x1A4A3A, 0.5);
    cairo_move_to(cr, 47, base); cairo_line_to(cr, 47, base - 15);
    set_rgb(cr, 0xE8E8F0); cairo_set_line_width(cr, 0.7); cairo_stroke(cr);
    cairo_move_to(cr, 47.3, base - 15); cairo_line_to(cr, 54, base - 13); cairo_line_to(cr, 47.3, base - 11);
    cairo_close_path(cr);
    set_rgb(cr, 0xFFA030); cairo_fill(cr);
    const double crag[][2] = {{198, base + 1}, {202, base - 6}, {206, base - 5}, {210, base - 12},
                              {215, base - 9}, {219, base - 3}, {224, base + 1}};
    cairo_move_to(cr, crag[0][0], crag[0][1]);
    for (auto& p : crag) cairo_line_to(cr, p[0], p[1]);
    cairo_close_path(cr);
    fill_outline(cr, 0x2A4A6A, 0x1A2A4A, 0.5);
}

void grubnik(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, kMonsterX - 32 * kMonsterScale, kMonsterTop);
    cairo_scale(cr, kMonsterScale, kMonsterScale);
    cairo_save(cr); cairo_translate(cr, 0, 26); draw_monster_lower(cr); cairo_restore(cr);
    draw_monster_body(cr);
    cairo_save(cr); cairo_translate(cr, -17, -22); draw_monster_wing(cr, false); cairo_restore(cr);
    cairo_save(cr); cairo_translate(cr, 13, -22); draw_monster_wing(cr, false); cairo_restore(cr);
    cairo_restore(cr);
}

// The ball's dotted flight from the tee over to Grubnik's head, the bounce, and the ball itself with a
// spark where it hit.
void ball_flight(cairo_t* cr) {
    const double headY = kMonsterTop + 11 * kMonsterScale;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    double dash[2] = {0.1, 3.0};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_move_to(cr, kTeeX + 8, kWaterTop - 3);
    cairo_curve_to(cr, kTeeX + 12, 111, kMonsterX - 12, 111, kMonsterX, headY);
    cairo_curve_to(cr, kMonsterX + 4, headY - 12, kBallX - 8, kBallY - 2, kBallX, kBallY);
    set_rgb(cr, 0xFFFFFF, 0.85); cairo_set_line_width(cr, 1.2); cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    circle(cr, kBallX, kBallY, 2.4);
    fill_outline(cr, 0xFFFFFF, kInk, 0.7);
    for (int i = 0; i < 6; ++i) {
        double a = -M_PI / 2 + (i - 2.5) * 0.45;
        cairo_move_to(cr, kMonsterX + 4 * std::cos(a), headY + 1 + 4 * std::sin(a));
        cairo_line_to(cr, kMonsterX + 7.5 * std::cos(a), headY + 1 + 7.5 * std::sin(a));
    }
    set_rgb(cr, 0xFFF080); cairo_set_line_width(cr, 1.0); cairo_stroke(cr);
}

// The tee: an island of grass with the golfer in his follow-through.
void tee_island(cairo_t* cr) {
    ellipse(cr, kTeeX, kWaterTop + 4, 19, 5.5);
    fill_outline(cr, 0x6A4A2A, kInk, 0.8);
    ellipse(cr, kTeeX, kWaterTop + 1.5, 19, 4.2);
    fill_outline(cr, kGrass, 0x146A14, 0.8);
    cairo_save(cr);
    cairo_translate(cr, kTeeX - 3 - 32 * 0.5, kWaterTop + 1 - 64 * 0.5);
    cairo_scale(cr, 0.5, 0.5);
    draw_golfer(cr, 2);
    cairo_restore(cr);
}

void sparkles(cairo_t* cr) {
    const double sp[][2] = {{124, 184}, {178, 190}, {60, 188}, {210, 200}, {90, 204}, {150, 212}, {36, 214}};
    for (auto& s : sp) {
        cairo_move_to(cr, s[0] - 1.4, s[1]); cairo_line_to(cr, s[0] + 1.4, s[1]);
        cairo_move_to(cr, s[0], s[1] - 1.4); cairo_line_to(cr, s[0], s[1] + 1.4);
    }
    set_rgb(cr, 0xFFFFFF, 0.6); cairo_set_line_width(cr, 0.45); cairo_stroke(cr);
}

void title_art(cairo_t* cr) {
    cloud(cr, 40, 94, 1.0);
    cloud(cr, 214, 86, 0.8);
    horizon(cr, kWaterTop);
    far_isles(cr, kWaterTop);
    ball_flight(cr);
    grubnik(cr);
    sea(cr, kWaterTop);  // over the tentacles' tips: Grubnik hovers with them in the water
    tee_island(cr);
    sparkles(cr);
}

void menu_frame(cairo_t* cr, int f) {
    if (f == 1) title_art(cr);
    if (f == 2) backdrop(cr);
}

// ---- maker emblem --------------------------------------------------------------------------------------

// The menu's credits button shows the emblem at 0.35x centred 32 pixels below the screen's top, so the
// roundel keeps within 88 of the frame's centre (31 on screen) and is never cut by the top edge.
void emblem(cairo_t* cr, int) {
    cairo_translate(cr, 128, 128);
    cairo_scale(cr, 0.72, 0.72);
    cairo_translate(cr, -128, -128);
    circle(cr, 128, 128, 120);
    fill_outline(cr, kGold, kInk, 3);
    circle(cr, 128, 128, 110);
    cairo_pattern_t* g = cairo_pattern_create_radial(110, 90, 10, 128, 128, 115);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.22, 0.24, 0.5);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.07, 0.07, 0.2);
    fill_gradient_outline(cr, g, kGoldShade, 2);
    // water line and Grubnik rising out of it
    cairo_save(cr);
    circle(cr, 128, 128, 109);
    cairo_clip(cr);
    cairo_save(cr);
    cairo_translate(cr, 128 - 32 * 2.7, 110 - 32 * 2.7);
    cairo_scale(cr, 2.7, 2.7);
    cairo_save(cr); cairo_translate(cr, -17, -22); draw_monster_wing(cr, false); cairo_restore(cr);
    cairo_save(cr); cairo_translate(cr, 13, -22); draw_monster_wing(cr, false); cairo_restore(cr);
    draw_monster_body(cr);
    cairo_restore(cr);
    cairo_rectangle(cr, 0, 156, 256, 110);
    vertical_gradient(cr, 156, kWater, 1, 240, 0x0C2A5A, 1);
    cairo_fill(cr);
    cairo_restore(cr);
    // banner
    cairo_move_to(cr, 22, 160); cairo_line_to(cr, 234, 160); cairo_line_to(cr, 226, 178);
    cairo_line_to(cr, 234, 196); cairo_line_to(cr, 22, 196); cairo_line_to(cr, 30, 178); cairo_close_path(cr);
    fill_outline(cr, 0xE0383C, kInk, 2.5);
    StrokeStyle word{3.3, 1.1, 0xFFFFFF, kInk, 1.5, 0, false};
    centred_text(cr, "TOLVANE", 128, 167, word);
    StrokeStyle games{2.1, 1.1, kGold, kInk, 1.2, 0, false};
    centred_text(cr, "GAMES", 128, 206, games);
}

// ---- test card -----------------------------------------------------------------------------------------

void testcard(cairo_t* cr, int) {
    cairo_save(cr);
    circle(cr, 128, 128, 124);
    cairo_clip(cr);
    set_rgb(cr, 0x7C7C7C); cairo_paint(cr);
    for (int i = 0; i <= 256; i += 16) {  // grid
        cairo_move_to(cr, i + 0.5, 0); cairo_line_to(cr, i + 0.5, 256);
        cairo_move_to(cr, 0, i + 0.5); cairo_line_to(cr, 256, i + 0.5);
    }
    set_rgb(cr, 0xE0E0E0); cairo_set_line_width(cr, 1); cairo_stroke(cr);
    static const uint32_t bars[8] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0x0000FF, 0x000000};
    for (int i = 0; i < 8; ++i) { cairo_rectangle(cr, 24 + i * 26, 24, 26, 44); set_rgb(cr, bars[i]); cairo_fill(cr); }
    cairo_rectangle(cr, 0, 72, 256, 112);  // the band behind the credit lines
    set_rgb(cr, 0x000000); cairo_fill(cr);
    cairo_rectangle(cr, 0, 72.5, 256, 111); set_rgb(cr, 0xFFFFFF); cairo_set_line_width(cr, 1); cairo_stroke(cr);
    for (int i = 0; i < 8; ++i) {  // grey wedge
        double v = i / 7.0;
        cairo_rectangle(cr, 24 + i * 26, 188, 26, 20);
        cairo_set_source_rgb(cr, v, v, v); cairo_fill(cr);
    }
    for (int block = 0; block < 4; ++block) {  // gratings, finer to the right
        double period = 8.0 / (1 << block);
        for (double x = 40 + block * 46; x < 40 + block * 46 + 40; x += period) {
            cairo_rectangle(cr, x, 212, period / 2, 24);
        }
    }
    set_rgb(cr, 0xFFFFFF); cairo_fill(cr);
    cairo_restore(cr);
    circle(cr, 128, 128, 123);
    set_rgb(cr, 0xFFFFFF); cairo_set_line_width(cr, 3); cairo_stroke(cr);
    cairo_move_to(cr, 4, 128); cairo_line_to(cr, 24, 128);
    cairo_move_to(cr, 232, 128); cairo_line_to(cr, 252, 128);
    cairo_set_line_width(cr, 2); cairo_stroke(cr);
}

}  // namespace

void write_title_sheets(const std::string& dataDir) {
    write_sheet(dataDir, {"logo", 256, 128, 1, 1}, logo);
    write_sheet(dataDir, {"menu", 256, 256, 4, 2}, menu_frame);
    write_sheet(dataDir, {"common/PlinLogo", 256, 256, 1, 1}, emblem);
    write_sheet(dataDir, {"common/Testcard_Circle", 256, 256, 1, 1}, testcard);
}
