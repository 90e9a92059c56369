// assets/sheet_ui.cpp: the menu and control sheets.
// "common/Buttons", 16 frames of 64x64, four to a row, drawn in true colour on the title menu:
//   0, 1, 2  the game-type buttons "30", "20" and "10" seconds (green, orange, red clock faces);
//   8, 9, 10 the options gear in three layers drawn on top of each other and turned at different speeds
//            and directions: 8 a toothed outer ring, 9 a pierced middle wheel, 10 a small gold hub gear.
//            Each is a complete gear on its own, so any combination of angles looks assembled;
//   12       the credits emblem, a gold trophy;  other frames unused.
// "common/icons", 16 frames of 32x32, four to a row; the game tints them (red, blue, yellow, green), so
// symbols are white on a dark translucent plate: 0 pause, 1 end game, 3 play, 6 a highlight ring that
// circles a button at 2.5 times size; 2 restart, 4 sound, 5 music, 7 back as spares.
// "common/dpad", 16 frames of 32x32: on-screen pad pieces: 0..3 arms up, right, down, left; 4 the centre;
// 5 the base ring; 6..9 the arms pressed; 10..13 face buttons A, B, X, Y; 14 stick knob; 15 stick base.
#include <cairo.h>

#include <cmath>
#include <string>

#include "canvas.h"
#include "glyphs.h"
#include "palette.h"
#include "sheets.h"

using namespace pal;

namespace {

// ---- game-type buttons ---------------------------------------------------------------------------------

void time_button(cairo_t* cr, const std::string& digits, uint32_t face, uint32_t rim) {
    circle(cr, 32, 32, 28);
    fill_outline(cr, rim, kInk, 1.6);
    circle(cr, 32, 32, 24.5);
    cairo_pattern_t* g = cairo_pattern_create_radial(26, 22, 2, 32, 32, 26);
    cairo_pattern_add_color_stop_rgb(g, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(g, 0.25, ((face >> 16) & 255) / 255.0, ((face >> 8) & 255) / 255.0,
                                     (face & 255) / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, ((rim >> 16) & 255) / 300.0, ((rim >> 8) & 255) / 300.0,
                                     (rim & 255) / 300.0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // clock ticks around the face
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 12; ++i) {
        double a = i * M_PI / 6, r0 = i % 3 ? 22.6 : 21.4;
        cairo_move_to(cr, 32 + r0 * std::cos(a), 32 + r0 * std::sin(a));
        cairo_line_to(cr, 32 + 24 * std::cos(a), 32 + 24 * std::sin(a));
    }
    set_rgb(cr, 0xFFFFFF, 0.8); cairo_set_line_width(cr, 1.2); cairo_stroke(cr);
    StrokeStyle big{3.1, 1.05, 0xFFFFFF, kInk, 1.3, 0xFFFFFF, false};
    double w = stroke_text_width(digits) * big.cell;
    stroke_text(cr, digits, 32 - w / 2, 16.5, big);
    StrokeStyle small{1.05, 1.1, 0xFFFFFF, kInk, 0.7, 0, false};
    w = stroke_text_width("sec") * small.cell;
    stroke_text(cr, "sec", 32 - w / 2, 40.8, small);
}

// ---- the gear ------------------------------------------------------------------------------------------

void gear_path(cairo_t* cr, int teeth, double outer, double root, double hole) {
    for (int i = 0; i < teeth * 4; ++i) {
        double a = i * 2 * M_PI / (teeth * 4), r = (i % 4 == 1 || i % 4 == 2) ? outer : root;
        double ax = a + ((i % 4 == 1) ? 0.25 : (i % 4 == 2) ? -0.25 : 0) * 2 * M_PI / (teeth * 4);
        if (i == 0) cairo_move_to(cr, 32 + r * std::cos(ax), 32 + r * std::sin(ax));
        else cairo_line_to(cr, 32 + r * std::cos(ax), 32 + r * std::sin(ax));
    }
    cairo_close_path(cr);
    if (hole > 0) {
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, 32, 32, hole, 0, -2 * M_PI);
        cairo_close_path(cr);
    }
}

void metal(cairo_t* cr, uint32_t light, uint32_t dark, double r) {
    cairo_pattern_t* g = cairo_pattern_create_linear(32 - r, 32 - r, 32 + r, 32 + r);
    cairo_pattern_add_color_stop_rgb(g, 0, ((light >> 16) & 255) / 255.0, ((light >> 8) & 255) / 255.0, (light & 255) / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, ((dark >> 16) & 255) / 255.0, ((dark >> 8) & 255) / 255.0, (dark & 255) / 255.0);
    cairo_set_source(cr, g);
    cairo_pattern_destroy(g);
}

void gear_outer(cairo_t* cr) {
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    gear_path(cr, 12, 29, 24.5, 16.5);
    metal(cr, 0xA8B8D8, 0x4A5878, 29);
    cairo_fill_preserve(cr);
    set_rgb(cr, kInk); cairo_set_line_width(cr, 1.3); cairo_stroke(cr);
    circle(cr, 32, 32, 21); set_rgb(cr, 0x2A3450, 0.5); cairo_set_line_width(cr, 0.8); cairo_stroke(cr);
}

void gear_middle(cairo_t* cr) {
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    gear_path(cr, 9, 18.5, 15.8, 0);
    for (int i = 0; i < 6; ++i) {  // lightening holes
        double a = i * M_PI / 3;
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, 32 + 11 * std::cos(a), 32 + 11 * std::sin(a), 2.4, 0, -2 * M_PI);
    }
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, 32, 32, 6.5, 0, -2 * M_PI);
    metal(cr, 0xE0E8F4, 0x8898B4, 18);
    cairo_fill_preserve(cr);
    set_rgb(cr, kInk); cairo_set_line_width(cr, 1.1); cairo_stroke(cr);
}

void gear_hub(cairo_t* cr) {
    gear_path(cr, 6, 9.5, 7.2, 0);
    metal(cr, 0xFFE890, 0xD08C18, 9.5);
    cairo_fill_preserve(cr);
    set_rgb(cr, kInk); cairo_set_line_width(cr, 1); cairo_stroke(cr);
    circle(cr, 32, 32, 2.8);
    fill_outline(cr, 0x6A4A18, kInk, 0.8);
    cairo_move_to(cr, 29.6, 32); cairo_line_to(cr, 34.4, 32);  // bolt slot shows the hub turning
    set_rgb(cr, 0xFFE890); cairo_set_line_width(cr, 0.9); cairo_stroke(cr);
}

void trophy(cairo_t* cr) {
    // handles
    for (int side : {-1, 1}) {
        ellipse(cr, 32 + side * 14, 22, 6, 7);
        set_rgb(cr, kInk); cairo_set_line_width(cr, 4.4); cairo_stroke_preserve(cr);
        set_rgb(cr, kGold); cairo_set_line_width(cr, 2.4); cairo_stroke(cr);
    }
    cairo_move_to(cr, 17, 11);  // bowl
    cairo_line_to(cr, 47, 11);
    cairo_curve_to(cr, 47, 28, 40, 36, 32, 37);
    cairo_curve_to(cr, 24, 36, 17, 28, 17, 11);
    cairo_close_path(cr);
    metal(cr, 0xFFF0A0, kGoldShade, 22);
    cairo_fill_preserve(cr);
    set_rgb(cr, kInk); cairo_set_line_width(cr, 1.4); cairo_stroke(cr);
    rounded_rect(cr, 29.5, 36, 5, 9, 1); fill_outline(cr, kGoldShade, kInk, 1.2);
    rounded_rect(cr, 22, 44, 20, 5, 1.5); fill_outline(cr, kGold, kInk, 1.2);
    rounded_rect(cr, 18, 49, 28, 7, 2); fill_outline(cr, 0x7A4A2A, kInk, 1.2);
    // star on the bowl
    cairo_save(cr);
    cairo_translate(cr, 32, 21);
    for (int i = 0; i < 10; ++i) {
        double a = -M_PI / 2 + i * M_PI / 5, r = i % 2 ? 2.6 : 6;
        if (i == 0) cairo_move_to(cr, r * std::cos(a), r * std::sin(a));
        else cairo_line_to(cr, r * std::cos(a), r * std::sin(a));
    }
    cairo_close_path(cr);
    fill_outline(cr, 0xFFFFFF, kGoldShade, 0.8);
    cairo_restore(cr);
}

void buttons_frame(cairo_t* cr, int f) {
    switch (f) {
    case 0: time_button(cr, "30", 0x44D060, 0x1E8A3A); break;
    case 1: time_button(cr, "20", 0xFFA040, 0xC05A14); break;
    case 2: time_button(cr, "10", 0xFF5A78, 0xB01E44); break;
    case 8: gear_outer(cr); break;
    case 9: gear_middle(cr); break;
    case 10: gear_hub(cr); break;
    case 12: trophy(cr); break;
    default: break;
    }
}

// ---- icons ---------------------------------------------------------------------------------------------

void plate(cairo_t* cr) {
    rounded_rect(cr, 3, 3, 26, 26, 6);
    set_rgb(cr, 0x000000, 0.45); cairo_fill_preserve(cr);
    set_rgb(cr, 0xFFFFFF); cairo_set_line_width(cr, 2); cairo_stroke(cr);
}

void white_fill(cairo_t* cr) { set_rgb(cr, 0xFFFFFF); cairo_fill(cr); }

void icons_frame(cairo_t* cr, int f) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    switch (f) {
    case 0:  // pause
        plate(cr);
        rounded_rect(cr, 10.5, 9, 4, 14, 1); rounded_rect(cr, 17.5, 9, 4, 14, 1); white_fill(cr);
        break;
    case 1:  // end the game: a bold cross
        plate(cr);
        cairo_move_to(cr, 10.5, 10.5); cairo_line_to(cr, 21.5, 21.5);
        cairo_move_to(cr, 21.5, 10.5); cairo_line_to(cr, 10.5, 21.5);
        set_rgb(cr, 0xFFFFFF); cairo_set_line_width(cr, 4); cairo_stroke(cr);
        break;
    case 2:  // restart: a circular arrow
        plate(cr);
        cairo_arc(cr, 16, 16, 7, -M_PI * 0.35, M_PI * 1.35);
        set_rgb(cr, 0xFFFFFF); cairo_set_line_width(cr, 2.6); cairo_stroke(cr);
        cairo_move_to(cr, 19, 6.5); cairo_line_to(cr, 24.5, 10); cairo_line_to(cr, 18.5, 13); cairo_close_path(cr);
        white_fill(cr);
        break;
    case 3:  // play
        plate(cr);
        cairo_move_to(cr, 12, 8.5); cairo_line_to(cr, 23.5, 16); cairo_line_to(cr, 12, 23.5); cairo_close_path(cr);
        set_rgb(cr, 0xFFFFFF); cairo_fill_preserve(cr); cairo_set_line_width(cr, 1.5); cairo_stroke(cr);
        break;
    case 4:  // sound
        plate(cr);
        cairo_move_to(cr, 8, 13); cairo_line_to(cr, 12, 13); cairo_line_to(cr, 17, 8.5);
        cairo_line_to(cr, 17, 23.5); cairo_line_to(cr, 12, 19); cairo_line_to(cr, 8, 19); cairo_close_path(cr);
        white_fill(cr);
        cairo_arc(cr, 17, 16, 5, -0.8, 0.8); cairo_new_sub_path(cr); cairo_arc(cr, 17, 16, 8, -0.8, 0.8);
        set_rgb(cr, 0xFFFFFF); cairo_set_line_width(cr, 1.6); cairo_stroke(cr);
        break;
    case 5:  // music
        plate(cr);
        ellipse(cr, 12, 21.5, 3, 2.4); ellipse(cr, 21, 19.5, 3, 2.4); white_fill(cr);
        cairo_move_to(cr, 14.6, 21); cairo_line_to(cr, 14.6, 10); cairo_line_to(cr, 23.6, 8); cairo_line_to(cr, 23.6, 19);
        set_rgb(cr, 0xFFFFFF); cairo_set_line_width(cr, 1.8); cairo_stroke(cr);
        break;
    case 6:  // highlight ring with a soft halo
        for (int i = 3; i >= 1; --i) {
            circle(cr, 16, 16, 12.5);
            set_rgb(cr, 0xFFFFFF, 0.18); cairo_set_line_width(cr, 2.2 + i * 1.6); cairo_stroke(cr);
        }
        circle(cr, 16, 16, 12.5);
        set_rgb(cr, 0xFFFFFF); cairo_set_line_width(cr, 2.4); cairo_stroke(cr);
        break;
    case 7:  // back
        plate(cr);
        cairo_move_to(cr, 22, 16); cairo_line_to(cr, 10, 16);
        cairo_move_to(cr, 15, 10.5); cairo_line_to(cr, 9.5, 16); cairo_line_to(cr, 15, 21.5);
        set_rgb(cr, 0xFFFFFF); cairo_set_line_width(cr, 3); cairo_stroke(cr);
        break;
    default: break;
    }
}

// ---- on-screen pad -------------------------------------------------------------------------------------

void pad_arm(cairo_t* cr, int dir, bool pressed) {
    cairo_save(cr);
    cairo_translate(cr, 16, 16);
    cairo_rotate(cr, dir * M_PI / 2);
    rounded_rect(cr, -7, -13, 14, 19, 3);
    fill_outline(cr, pressed ? 0xB8C4E0 : 0x5A6480, 0xFFFFFF, 1.4, pressed ? 0.95 : 0.7);
    cairo_move_to(cr, 0, -10); cairo_line_to(cr, 4.5, -4); cairo_line_to(cr, -4.5, -4); cairo_close_path(cr);
    set_rgb(cr, pressed ? 0x2A3050 : 0xFFFFFF); cairo_fill(cr);
    cairo_restore(cr);
}

void dpad_frame(cairo_t* cr, int f) {
    static const uint32_t face[4] = {0x3CC850, 0xE63C3C, 0x3C78F0, 0xF0C828};
    static const char name[4] = {'A', 'B', 'X', 'Y'};
    if (f <= 3) { pad_arm(cr, f, false); return; }
    if (f >= 6 && f <= 9) { pad_arm(cr, f - 6, true); return; }
    if (f == 4) { rounded_rect(cr, 8, 8, 16, 16, 3); fill_outline(cr, 0x5A6480, 0xFFFFFF, 1.4, 0.7); circle(cr, 16, 16, 3.5); set_rgb(cr, 0x2A3050); cairo_fill(cr); return; }
    if (f == 5) { circle(cr, 16, 16, 14); set_rgb(cr, 0xFFFFFF, 0.8); cairo_set_line_width(cr, 2); cairo_stroke(cr); return; }
    if (f >= 10 && f <= 13) {
        circle(cr, 16, 16, 12.5);
        fill_outline(cr, face[f - 10], 0xFFFFFF, 1.6, 0.9);
        StrokeStyle st{2.0, 1.1, 0xFFFFFF, kInk, 0.8, 0, false};
        double w = stroke_text_width(std::string(1, name[f - 10])) * st.cell;
        stroke_text(cr, std::string(1, name[f - 10]), 16 - w / 2, 9, st);
        return;
    }
    if (f == 14) {
        circle(cr, 16, 16, 9);
        cairo_pattern_t* g = cairo_pattern_create_radial(13, 13, 1, 16, 16, 10);
        cairo_pattern_add_color_stop_rgb(g, 0, 0.95, 0.95, 1);
        cairo_pattern_add_color_stop_rgb(g, 1, 0.45, 0.5, 0.65);
        cairo_set_source(cr, g); cairo_fill_preserve(cr); cairo_pattern_destroy(g);
        set_rgb(cr, 0xFFFFFF); cairo_set_line_width(cr, 1.2); cairo_stroke(cr);
        return;
    }
    circle(cr, 16, 16, 14);  // stick base
    set_rgb(cr, 0x000000, 0.35); cairo_fill_preserve(cr);
    set_rgb(cr, 0xFFFFFF, 0.8); cairo_set_line_width(cr, 1.6); cairo_stroke(cr);
}

}  // namespace

void write_ui_sheets(const std::string& dataDir) {
    write_sheet(dataDir, {"common/Buttons", 64, 64, 16, 4}, buttons_frame);
    write_sheet(dataDir, {"common/icons", 32, 32, 16, 4}, icons_frame);
    write_sheet(dataDir, {"common/dpad", 32, 32, 16, 4}, dpad_frame);
}
