// assets/sheet_particles.cpp: the two 256-frame sheets of 8x8 specks, sixteen to a row.
//   "tolvane": splash droplets and the sparkles that drift in the water. The game picks frames at random,
//              tints droplets white and fades stars by their speed, so every frame is a light, watery
//              speck in its own colour: droplets, teardrops, glints, bubbles, in whites, cyans and blues.
//   "parts":   sparkles for the coloured particles, picked at random and tinted through the game's ink
//              palette, so they are drawn in white and light greys: glows, stars, rings, pluses, diamonds.
// Frame f has shape f % 8 and size (f / 8) % 4, so neighbouring random picks differ in shape and size.
// Soft-edged shapes keep their look when rotated and faded; nothing touches the frame border.
#include <cairo.h>

#include <cmath>

#include "canvas.h"
#include "sheets.h"

namespace {

void glow(cairo_t* cr, double r, double alpha) {
    cairo_pattern_t* g = cairo_pattern_create_radial(4, 4, 0, 4, 4, r);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, alpha);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0);
    cairo_set_source(cr, g);
    circle(cr, 4, 4, r);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// A star of `points` spikes with outer radius r and inner radius ri, centred in the frame.
void star(cairo_t* cr, int points, double r, double ri) {
    for (int i = 0; i < points * 2; ++i) {
        double a = -M_PI / 2 + i * M_PI / points, rr = i % 2 ? ri : r;
        if (i == 0) cairo_move_to(cr, 4 + rr * std::cos(a), 4 + rr * std::sin(a));
        else cairo_line_to(cr, 4 + rr * std::cos(a), 4 + rr * std::sin(a));
    }
    cairo_close_path(cr);
}

void speck(cairo_t* cr, int shape, double s, uint32_t colour, uint32_t deep) {
    switch (shape) {
    case 0:  // round droplet with a highlight
        circle(cr, 4, 4, 1.6 * s); set_rgb(cr, deep); cairo_fill(cr);
        circle(cr, 3.6, 3.6, 1.0 * s); set_rgb(cr, colour); cairo_fill(cr);
        break;
    case 1:  // teardrop
        cairo_move_to(cr, 4, 4 - 2.6 * s);
        cairo_curve_to(cr, 4 + 1.8 * s, 4, 4 + 1.8 * s, 4 + 2.2 * s, 4, 4 + 2.2 * s);
        cairo_curve_to(cr, 4 - 1.8 * s, 4 + 2.2 * s, 4 - 1.8 * s, 4, 4, 4 - 2.6 * s);
        set_rgb(cr, deep); cairo_fill(cr);
        circle(cr, 3.5, 4.4, 0.6 * s); set_rgb(cr, colour); cairo_fill(cr);
        break;
    case 2:  // four-point glint
        glow(cr, 2.4 * s, 0.5);
        star(cr, 4, 3.2 * s, 0.6 * s); set_rgb(cr, colour); cairo_fill(cr);
        break;
    case 3:  // plus sparkle
        cairo_rectangle(cr, 4 - 0.5 * s, 4 - 2.4 * s, 1.0 * s, 4.8 * s);
        cairo_rectangle(cr, 4 - 2.4 * s, 4 - 0.5 * s, 4.8 * s, 1.0 * s);
        set_rgb(cr, colour); cairo_fill(cr);
        break;
    case 4:  // a pair of tiny drops
        circle(cr, 2.8, 3.2, 1.0 * s); circle(cr, 5.2, 5.0, 0.8 * s);
        set_rgb(cr, colour); cairo_fill(cr);
        break;
    case 5:  // bubble ring
        circle(cr, 4, 4, 1.9 * s);
        set_rgb(cr, colour); cairo_set_line_width(cr, 0.7); cairo_stroke(cr);
        circle(cr, 3.4, 3.3, 0.45 * s); cairo_fill(cr);
        break;
    case 6:  // diamond glint
        cairo_move_to(cr, 4, 4 - 2.6 * s); cairo_line_to(cr, 4 + 1.5 * s, 4);
        cairo_line_to(cr, 4, 4 + 2.6 * s); cairo_line_to(cr, 4 - 1.5 * s, 4); cairo_close_path(cr);
        set_rgb(cr, colour); cairo_fill(cr);
        break;
    default:  // soft glow dot
        glow(cr, 2.8 * s, 0.9);
        circle(cr, 4, 4, 0.7 * s); set_rgb(cr, colour); cairo_fill(cr);
        break;
    }
}

double size_of(int f) { return 0.62 + 0.14 * ((f / 8) % 4); }

void tolvane_frame(cairo_t* cr, int f) {
    static const uint32_t light[4] = {0xFFFFFF, 0xC8F4FF, 0x9CDCFF, 0xB4FFF0};
    static const uint32_t deep[4] = {0xA8DCFF, 0x64C0F0, 0x4898E8, 0x50D0D0};
    int tone = (f / 32) % 4;
    speck(cr, f % 8, size_of(f), light[tone], deep[tone]);
}

void parts_frame(cairo_t* cr, int f) {
    // Greys stay light so the palette tint keeps its colour; shapes differ from tolvane's.
    static const uint32_t light[4] = {0xFFFFFF, 0xF0F0F0, 0xE4E4E4, 0xFFFFFF};
    static const uint32_t deep[4] = {0xD0D0D0, 0xC0C0C0, 0xB4B4B4, 0xDCDCDC};
    int tone = (f / 32) % 4, shape = f % 8;
    double s = size_of(f);
    if (shape == 1) { star(cr, 5, 3.2 * s, 1.3 * s); set_rgb(cr, light[tone]); cairo_fill(cr); return; }
    if (shape == 4) { glow(cr, 3.3 * s, 0.8); star(cr, 6, 2.2 * s, 0.9 * s); set_rgb(cr, light[tone]); cairo_fill(cr); return; }
    speck(cr, shape, s, light[tone], deep[tone]);
}

}  // namespace

void write_particle_sheets(const std::string& dataDir) {
    write_sheet(dataDir, {"tolvane", 8, 8, 256, 16}, tolvane_frame);
    write_sheet(dataDir, {"parts", 8, 8, 256, 16}, parts_frame);
}
