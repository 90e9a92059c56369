// assets/sheet_gfxb.cpp: "gfxb", 64 frames of 32x32, eight to a row.
//   0..2   the tee marker, drawn centred at (94, H-64) over the waiting ball and peg, so the frame's bottom
//          edge is the ground line: 0 a closed hatch flush with the grass, 1 its two doors opening,
//          2 open, doors standing up at the sides. The middle stays clear in 1 and 2: the ball (frame
//          centre 7 pixels above the peg's) and the peg rise there, seen between the doors.
//   3      the tee peg, drawn centred where the ball rests 7 pixels above it: cup at the top of the
//          frame's centre, shaft down to a point. It spins in flight about the frame centre.
//   4      the ball, 8 pixels across, centred.
//   14, 15 the open tee marker again, though the game never draws them: the marker keeps its own frame
//          (0..2) while the monsters flap their wings (frames 14 and 15 of "gfx").
//   other frames unused.
#include <cairo.h>

#include <cmath>

#include "canvas.h"
#include "palette.h"
#include "sheets.h"

using namespace pal;

namespace {

constexpr uint32_t kHatch = 0x8C6A48, kHatchDark = 0x4A3422, kRimMetal = 0xB8BCC8;

// opening: 0 closed .. 1 fully open. The hatch is an oval pit in the ground with two hinged doors.
void tee_marker(cairo_t* cr, double opening) {
    ellipse(cr, 16, 31, 11, 3.2);  // the pit's rim, flat on the ground line
    fill_outline(cr, kRimMetal, kInk, 0.9);
    if (opening == 0) {
        ellipse(cr, 16, 30.6, 9.4, 2.4);
        fill_outline(cr, kHatch, kHatchDark, 0.8);
        cairo_move_to(cr, 16, 28.4); cairo_line_to(cr, 16, 32.8);
        set_rgb(cr, kHatchDark); cairo_set_line_width(cr, 0.8); cairo_stroke(cr);
        circle(cr, 16, 30.4, 0.9); set_rgb(cr, kGold); cairo_fill(cr);  // the handle
        return;
    }
    ellipse(cr, 16, 31.2, 8.6, 1.9);  // dark pit mouth, only along the ground line
    set_rgb(cr, 0x141018); cairo_fill(cr);
    // Each door hinges on its outer edge and swings up: at full opening it stands upright.
    for (int side : {-1, 1}) {
        double hingeX = 16 + side * 9.4, angle = opening * M_PI / 2, len = 9;
        double tipX = hingeX - side * len * std::cos(angle), tipY = 31 - len * std::sin(angle) - 0.5;
        cairo_move_to(cr, hingeX, 31.6);
        cairo_line_to(cr, hingeX, 29.6);
        cairo_line_to(cr, tipX, tipY);
        cairo_line_to(cr, tipX + side * 0.2, tipY + 2.2);
        cairo_close_path(cr);
        fill_outline(cr, kHatch, kHatchDark, 0.8);
    }
    // little pennant on the right door when it is fully open: the tee is ready
    if (opening >= 1) {
        cairo_move_to(cr, 25.4, 22); cairo_line_to(cr, 25.4, 14);
        set_rgb(cr, kInk); cairo_set_line_width(cr, 0.8); cairo_stroke(cr);
        cairo_move_to(cr, 25.8, 14); cairo_line_to(cr, 30, 15.6); cairo_line_to(cr, 25.8, 17.4);
        cairo_close_path(cr);
        fill_outline(cr, 0xF03C3C, kInk, 0.5);
    }
}

void peg(cairo_t* cr) {
    cairo_move_to(cr, 11.5, 12.6);   // cup rim
    cairo_line_to(cr, 20.5, 12.6);
    cairo_curve_to(cr, 20, 15, 18, 16, 17.2, 16.6);
    cairo_line_to(cr, 16.9, 26);     // shaft
    cairo_line_to(cr, 16, 28.5);     // point
    cairo_line_to(cr, 15.1, 26);
    cairo_line_to(cr, 14.8, 16.6);
    cairo_curve_to(cr, 14, 16, 12, 15, 11.5, 12.6);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(12, 0, 20, 0);
    cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.86, 0.35);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.85, 0.52, 0.12);
    fill_gradient_outline(cr, g, kInk, 0.8);
}

void ball(cairo_t* cr) {
    circle(cr, 16, 16, 4);
    cairo_pattern_t* g = cairo_pattern_create_radial(14.6, 14.4, 0.5, 16, 16, 4.2);
    cairo_pattern_add_color_stop_rgb(g, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(g, 0.7, 0.93, 0.93, 0.96);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.72, 0.74, 0.82);
    fill_gradient_outline(cr, g, kInk, 0.8);
    const double dimples[][2] = {{17.4, 15.6}, {15.6, 17.8}, {17.8, 18}, {18.6, 16.8}};
    for (auto& d : dimples) { circle(cr, d[0], d[1], 0.45); set_rgb(cr, 0xA8ACBC); cairo_fill(cr); }
}

void gfxb_frame(cairo_t* cr, int f) {
    if (f == 0) tee_marker(cr, 0);
    else if (f == 1) tee_marker(cr, 0.45);
    else if (f == 2 || f == 14 || f == 15) tee_marker(cr, 1);
    else if (f == 3) peg(cr);
    else if (f == 4) ball(cr);
}

}  // namespace

void write_gfxb_sheet(const std::string& dataDir) { write_sheet(dataDir, {"gfxb", 32, 32, 64, 8}, gfxb_frame); }
