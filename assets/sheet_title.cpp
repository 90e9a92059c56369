// assets/sheet_title.cpp: the big pictures of the title, loading and credits screens.
// "logo" (256x128, one frame): "Grubnik in Tolvane Golf" in the project's own stroked lettering over a
//   white swoosh. Drawn at 1.5x on the menu (left of centre, near the top), 0.4x in the credits.
// "menu" (4 frames of 256x256, two to a row):
//   1 the title art, drawn 4x centred at (W/2, 0.4H): a transparent sky over a horizon, Grubnik hovering
//     over the water with a ball bouncing off its head, the golfer on the tee at the left;
//   2 the backdrop, drawn 3x centred at (W/2, 0.6H) behind it: soft sunburst rays that fade out before
//     the frame's edge, so the menu's (0, 80, 140) background shows around it.
//   0 and 3 unused.
// "common/PlinLogo" (256x256): the maker's emblem, a navy roundel with a gold rim, Grubnik's face and a
//   "TOLVANE GAMES" banner. Shown over a yellow disc and an orange band on the loading screen, as the
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

void logo(cairo_t* cr, int) {
    // a swoosh under the words, like the flight of a long drive
    cairo_move_to(cr, 34, 112);
    cairo_curve_to(cr, 90, 98, 170, 96, 224, 104);
    cairo_curve_to(cr, 170, 103, 90, 106, 34, 112);
    cairo_close_path(cr);
    fill_outline(cr, 0xFFFFFF, kMonsterInk, 1.4);
    StrokeStyle title{5.1, 1.08, kGold, kMonsterInk, 2.3, 0xFFF4C0, true};
    centred_text(cr, "Grubnik", 128, 8, title, {0.3, -0.2, 0.2, -0.3, 0.1, -0.2, 0.3});
    StrokeStyle small{2.2, 1.1, 0xFFFFFF, kMonsterInk, 1.2, 0, false};
    centred_text(cr, "in", 128, 52, small);
    StrokeStyle sub{3.05, 1.1, 0x9CF078, 0x10361C, 1.8, 0xE0FFD0, true};
    centred_text(cr, "Tolvane Golf", 128, 70, sub);
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

void sea(cairo_t* cr, double top) {
    cairo_move_to(cr, 0, top);
    for (int x = 0; x <= 256; x += 8) cairo_curve_to(cr, x + 2, top - 1.2, x + 6, top + 1.2, x + 8, top);
    cairo_line_to(cr, 256, 256);
    cairo_line_to(cr, 0, 256);
    cairo_close_path(cr);
    vertical_gradient(cr, top, kWater, 1, 236, 0x103C78, 1);
    cairo_fill(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int row = 0; row < 5; ++row)
        for (int i = 0; i < 9; ++i) {
            double x = 10 + i * 30 + (row % 2) * 15, y = top + 4 + row * 6;
            cairo_move_to(cr, x, y);
            cairo_curve_to(cr, x + 3, y - 1.2, x + 6, y - 1.2, x + 9, y);
        }
    set_rgb(cr, kWaterLight, 0.6); cairo_set_line_width(cr, 0.9); cairo_stroke(cr);
}

void horizon(cairo_t* cr, double base) {
    cairo_move_to(cr, 0, base);
    cairo_curve_to(cr, 20, base - 14, 50, base - 20, 80, base - 8);
    cairo_curve_to(cr, 110, base + 2, 140, base - 26, 180, base - 16);
    cairo_curve_to(cr, 210, base - 8, 235, base - 18, 256, base - 10);
    cairo_line_to(cr, 256, base + 4);
    cairo_line_to(cr, 0, base + 4);
    cairo_close_path(cr);
    vertical_gradient(cr, base - 26, 0x2E7A7A, 1, base + 4, 0x1A4A5A, 1);
    cairo_fill(cr);
}

void title_art(cairo_t* cr) {
    const double waterTop = 196;
    horizon(cr, waterTop);
    // the ball's flight from the tee, then its bounce off Grubnik's head
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    double dash[2] = {0.1, 3.2};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_move_to(cr, 66, 180);
    cairo_curve_to(cr, 90, 110, 140, 100, 150, 136);
    cairo_curve_to(cr, 156, 122, 166, 114, 176, 116);
    set_rgb(cr, 0xFFFFFF, 0.85); cairo_set_line_width(cr, 1.3); cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // Grubnik, hovering with its tentacles in the water
    cairo_save(cr);
    cairo_translate(cr, 150 - 32 * 0.95, 160 - 32 * 0.95);
    cairo_scale(cr, 0.95, 0.95);
    cairo_save(cr); cairo_translate(cr, 0, 26); draw_monster_lower(cr); cairo_restore(cr);
    draw_monster_body(cr);
    cairo_save(cr); cairo_translate(cr, -17, -22); draw_monster_wing(cr, false); cairo_restore(cr);
    cairo_save(cr); cairo_translate(cr, 13, -22); draw_monster_wing(cr, false); cairo_restore(cr);
    cairo_restore(cr);
    // the ball, just bounced, with a spark where it hit
    circle(cr, 177, 116, 2.6);
    fill_outline(cr, 0xFFFFFF, kInk, 0.7);
    for (int i = 0; i < 6; ++i) {
        double a = -M_PI / 2 + (i - 2.5) * 0.45;
        cairo_move_to(cr, 150 + 5 * std::cos(a), 137 + 5 * std::sin(a));
        cairo_line_to(cr, 150 + 9 * std::cos(a), 137 + 9 * std::sin(a));
    }
    set_rgb(cr, 0xFFF080); cairo_set_line_width(cr, 1.1); cairo_stroke(cr);
    sea(cr, waterTop);
    // the tee: an island of grass with the golfer in his follow-through
    ellipse(cr, 58, 199, 26, 7);
    fill_outline(cr, 0x6A4A2A, kInk, 0.8);
    ellipse(cr, 58, 196, 26, 5.5);
    fill_outline(cr, kGrass, 0x146A14, 0.8);
    cairo_save(cr);
    cairo_translate(cr, 56 - 32 * 0.5, 196 - 64 * 0.5);
    cairo_scale(cr, 0.5, 0.5);
    draw_golfer(cr, 2);
    cairo_restore(cr);
    // sparkles on the water
    const double sp[][2] = {{100, 206}, {200, 210}, {130, 222}, {230, 226}, {30, 218}, {180, 240}};
    for (auto& s : sp) {
        cairo_move_to(cr, s[0] - 1.4, s[1]); cairo_line_to(cr, s[0] + 1.4, s[1]);
        cairo_move_to(cr, s[0], s[1] - 1.4); cairo_line_to(cr, s[0], s[1] + 1.4);
    }
    set_rgb(cr, 0xFFFFFF, 0.6); cairo_set_line_width(cr, 0.45); cairo_stroke(cr);
}

void menu_frame(cairo_t* cr, int f) {
    if (f == 1) title_art(cr);
    if (f == 2) backdrop(cr);
}

// ---- maker emblem --------------------------------------------------------------------------------------

void emblem(cairo_t* cr, int) {
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
