// assets/sheet_badges.cpp: "BadgesA", 64 medals of 64x64, eight to a row.
// Medal n hangs from a ribbon in colour n / 8 and carries symbol n % 8 (star, ball, flag, wing, wave,
// club, clock, crown) on a disc of one of four metals, so all 64 differ. Drawn at half size in the badge
// pop-ups, so shapes are bold and the outline thick, and the sheet carries only the detail drawn at that
// size (SheetLayout::drawnDetail 2), which halves its files.
#include <cairo.h>

#include <cmath>

#include "canvas.h"
#include "palette.h"
#include "sheets.h"

using namespace pal;

namespace {

void star_path(cairo_t* cr, double x, double y, double r, double ri, int n) {
    for (int i = 0; i < 2 * n; ++i) {
        double a = -M_PI / 2 + i * M_PI / n, rr = i % 2 ? ri : r;
        if (i == 0) cairo_move_to(cr, x + rr * std::cos(a), y + rr * std::sin(a));
        else cairo_line_to(cr, x + rr * std::cos(a), y + rr * std::sin(a));
    }
    cairo_close_path(cr);
}

void symbol(cairo_t* cr, int kind, uint32_t ink) {
    const double x = 32, y = 40;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    set_rgb(cr, ink);
    cairo_set_line_width(cr, 2.6);
    switch (kind) {
    case 0: star_path(cr, x, y, 10, 4.4, 5); cairo_fill(cr); break;
    case 1:  // golf ball on a peg
        circle(cr, x, y - 3, 6.5); cairo_fill(cr);
        cairo_move_to(cr, x - 4, y + 4); cairo_line_to(cr, x + 4, y + 4); cairo_line_to(cr, x, y + 11);
        cairo_close_path(cr); cairo_fill(cr);
        break;
    case 2:  // flag on a green
        cairo_move_to(cr, x - 4, y + 10); cairo_line_to(cr, x - 4, y - 10); cairo_stroke(cr);
        cairo_move_to(cr, x - 3, y - 10); cairo_line_to(cr, x + 8, y - 6); cairo_line_to(cr, x - 3, y - 2);
        cairo_close_path(cr); cairo_fill(cr);
        ellipse(cr, x - 1, y + 10, 9, 2.2); cairo_fill(cr);
        break;
    case 3:  // wing
        cairo_move_to(cr, x - 9, y + 6);
        cairo_curve_to(cr, x - 6, y - 10, x + 6, y - 12, x + 10, y - 8);
        cairo_curve_to(cr, x + 6, y - 4, x + 8, y, x + 3, y + 2);
        cairo_curve_to(cr, x + 4, y + 5, x, y + 6, x - 9, y + 6);
        cairo_fill(cr);
        break;
    case 4:  // waves
        for (int i = 0; i < 3; ++i) {
            double yy = y - 6 + i * 6;
            cairo_move_to(cr, x - 10, yy);
            cairo_curve_to(cr, x - 6, yy - 4, x - 2, yy + 4, x + 2, yy);
            cairo_curve_to(cr, x + 5, yy - 4, x + 8, yy + 2, x + 10, yy);
        }
        cairo_stroke(cr);
        break;
    case 5:  // club
        cairo_move_to(cr, x + 6, y - 11); cairo_line_to(cr, x - 3, y + 7); cairo_stroke(cr);
        rounded_rect(cr, x - 10, y + 5, 10, 5, 2); cairo_fill(cr);
        break;
    case 6:  // clock
        circle(cr, x, y, 9); cairo_stroke(cr);
        cairo_move_to(cr, x, y - 6); cairo_line_to(cr, x, y); cairo_line_to(cr, x + 5, y + 3); cairo_stroke(cr);
        break;
    default:  // crown
        cairo_move_to(cr, x - 10, y + 7); cairo_line_to(cr, x - 10, y - 6); cairo_line_to(cr, x - 5, y);
        cairo_line_to(cr, x, y - 9); cairo_line_to(cr, x + 5, y); cairo_line_to(cr, x + 10, y - 6);
        cairo_line_to(cr, x + 10, y + 7); cairo_close_path(cr); cairo_fill(cr);
        break;
    }
}

void badge(cairo_t* cr, int n) {
    static const uint32_t ribbons[8] = {0xE0383C, 0x2E6CE0, 0x30B050, 0xF0A020,
                                        0x9050D8, 0x20B8C8, 0xE860A8, 0x606878};
    static const uint32_t metals[4][2] = {{0xFFE070, 0xC08820}, {0xF0F4FA, 0x98A0B0},
                                          {0xF0A870, 0xA05A28}, {0xB8F0E0, 0x409080}};
    uint32_t rib = ribbons[n / 8];
    // ribbon: two straps meeting behind the medal
    for (int side : {-1, 1}) {
        cairo_move_to(cr, 32 + side * 3, 34);
        cairo_line_to(cr, 32 + side * 19, 3);
        cairo_line_to(cr, 32 + side * 9, 3);
        cairo_line_to(cr, 32 - side * 5, 30);
        cairo_close_path(cr);
        fill_outline(cr, rib, kInk, 1.4);
    }
    cairo_move_to(cr, 32 - 14, 3); cairo_line_to(cr, 32 - 8, 16);
    cairo_move_to(cr, 32 + 14, 3); cairo_line_to(cr, 32 + 8, 16);
    set_rgb(cr, 0xFFFFFF, 0.7); cairo_set_line_width(cr, 1.6); cairo_stroke(cr);
    const uint32_t* m = metals[(n + n / 8) % 4];
    circle(cr, 32, 40, 20);
    cairo_pattern_t* g = cairo_pattern_create_linear(14, 22, 50, 58);
    cairo_pattern_add_color_stop_rgb(g, 0, ((m[0] >> 16) & 255) / 255.0, ((m[0] >> 8) & 255) / 255.0, (m[0] & 255) / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, ((m[1] >> 16) & 255) / 255.0, ((m[1] >> 8) & 255) / 255.0, (m[1] & 255) / 255.0);
    fill_gradient_outline(cr, g, kInk, 1.8);
    circle(cr, 32, 40, 16);
    set_rgb(cr, m[1]); cairo_set_line_width(cr, 1.2); cairo_stroke(cr);
    symbol(cr, n % 8, m[1] == 0x98A0B0 ? 0x586070 : m[1]);
}

}  // namespace

void write_badge_sheet(const std::string& dataDir) {
    write_sheet(dataDir, {"BadgesA", 64, 64, 64, 8, 2}, badge);
}
