// assets/sheet_font.cpp: the game's bitmap font "fonts/editundo" and the framework's "zeto_font.png".
//
// editundo: 128 cells of 16x16 logical pixels, 16 to a row; cell g holds the character with code g + 32
// (the frame the game's text layout draws). The game draws each cell centred on the pen and advances 7
// pixels (with its per-letter adjustments) and 10 per line, so every glyph's ink starts at the same column
// of its cell (cell x 5, three pixels left of the centre) and the capitals stand on rows 5..11 around the
// cell's centre. White ink with a soft shadow one pixel down-right, so tinted text stays readable on the
// bright menu colours. Cells 96..108 hold gamepad icons and 112..124 the matching keyboard icons for the
// icon escapes, in the order of the escape letters J K L I U O Q E F W S A D. Pixel art: the -hd and -hd2
// sheets scale every pixel by 2 and 4; the icons' round shapes are drawn as vectors.
//
// zeto_font.png: 96 frames of 8x12 in one row, characters 32..127, each with a one-pixel empty border left
// and right (the framework cuts it with its PadX flag). Single resolution; the game never draws it.
#include <cairo.h>

#include <cmath>

#include "canvas.h"
#include "glyphs.h"
#include "sheets.h"

namespace {

constexpr int kInkX = 5;  // cell column of every glyph's first ink column
constexpr int kInkY = 5;  // cell row of the capitals' top row
constexpr uint32_t kWhite = 0xFFFFFF, kShadow = 0x101028;

void pixels(cairo_t* cr, const Glyph& g, double x, double y, uint32_t colour, double alpha) {
    for (int r = 0; r < int(g.rows.size()); ++r)
        for (int c = 0; c < g.width; ++c)
            if (g.ink(c, r)) cairo_rectangle(cr, x + c, y + r, 1, 1);
    set_rgb(cr, colour, alpha);
    cairo_fill(cr);
}

void text_cell(cairo_t* cr, int code) {
    const Glyph& g = text_glyph(code);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    pixels(cr, g, kInkX + 1, kInkY + 1, kShadow, 0.55);
    pixels(cr, g, kInkX, kInkY, kWhite, 1);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
}

// ---- icons: the escape letters J K L I U O Q E F W S A D, index 0..12 -------------------------------

enum Icon { kFire1, kFire2, kFire3, kFire4, kShoulderL, kShoulderR, kBack, kStart, kMenu, kUp, kDown, kLeft, kRight };

void label(cairo_t* cr, char c, double cx, double top, uint32_t colour) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    pixels(cr, label_glyph(c), std::floor(cx - 1.5 + 0.5), top, colour, 1);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
}

// A small filled triangle pointing in direction (dx, dy) centred at (x, y).
void arrow(cairo_t* cr, double x, double y, double dx, double dy, double size, uint32_t colour) {
    double px = -dy, py = dx;
    cairo_move_to(cr, x + dx * size, y + dy * size);
    cairo_line_to(cr, x - dx * size * 0.7 + px * size, y - dy * size * 0.7 + py * size);
    cairo_line_to(cr, x - dx * size * 0.7 - px * size, y - dy * size * 0.7 - py * size);
    cairo_close_path(cr);
    set_rgb(cr, colour);
    cairo_fill(cr);
}

void dir_of(int icon, double& dx, double& dy) {
    dx = icon == kLeft ? -1 : icon == kRight ? 1 : 0;
    dy = icon == kUp ? -1 : icon == kDown ? 1 : 0;
}

void gamepad_icon(cairo_t* cr, int icon) {
    const double cx = 9.5, cy = 8.5;  // centre of the 9x9 ink box at x 5..13, y 4..12
    static const uint32_t face[4] = {0x3CC850, 0xE63C3C, 0x3C78F0, 0xF0C828};
    static const char faceLabel[4] = {'A', 'B', 'X', 'Y'};
    if (icon <= kFire4) {
        circle(cr, cx, cy, 4.4);
        fill_outline(cr, face[icon], 0x101020, 0.6);
        label(cr, faceLabel[icon], cx, 6, kWhite);
    } else if (icon == kShoulderL || icon == kShoulderR) {
        rounded_rect(cr, 5.3, 5.3, 9.4, 6.4, 2.6);  // a bumper: wider pill, ink x 5..14
        fill_outline(cr, 0xB4B4C8, 0x101020, 0.6);
        label(cr, icon == kShoulderL ? 'L' : 'R', 10, 6, 0x202030);
    } else if (icon <= kMenu) {
        rounded_rect(cr, 5.3, 5.8, 8.4, 5.4, 2.2);
        fill_outline(cr, 0x9090A8, 0x101020, 0.6);
        if (icon == kBack) arrow(cr, cx, cy, -1, 0, 1.9, kWhite);
        if (icon == kStart) arrow(cr, cx, cy, 1, 0, 1.9, kWhite);
        if (icon == kMenu) {  // three bars on whole pixels, so they stay crisp at every scale
            for (int i = 0; i < 3; ++i) cairo_rectangle(cr, 8, 6.5 + i * 1.5 - 0.5, 3, 1);
            set_rgb(cr, kWhite); cairo_fill(cr);
        }
    } else {
        // A d-pad cross with the arm of this direction lit white and marked with a dark arrow.
        cairo_rectangle(cr, cx - 1.6, cy - 4.3, 3.2, 8.6);
        cairo_rectangle(cr, cx - 4.3, cy - 1.6, 8.6, 3.2);
        fill_outline(cr, 0x8C8CA4, 0x101020, 0.6);
        double dx, dy;
        dir_of(icon, dx, dy);
        cairo_rectangle(cr, cx + dx * 2.6 - (dx ? 1.7 : 1.6), cy + dy * 2.6 - (dy ? 1.7 : 1.6), dx ? 3.4 : 3.2,
                        dy ? 3.4 : 3.2);
        set_rgb(cr, kWhite); cairo_fill(cr);
        arrow(cr, cx + dx * 2.6, cy + dy * 2.6, dx, dy, 1.1, 0x202040);
    }
}

void keyboard_icon(cairo_t* cr, int icon) {
    static const char keyLabel[6] = {'Z', 'X', 'C', 'V', 'B', 'N'};  // the keys of actions 10..15
    bool wide = icon == kShoulderL || icon == kShoulderR;
    double w = wide ? 8.9 : 8.4;  // the wide keys stop a pixel short of the cell edge
    rounded_rect(cr, 5.3, 4.3, w, 8.4, 1.6);
    fill_outline(cr, 0x282840, kWhite, 0.8, 1);
    double cx = 5.3 + w / 2, cy = 8.5;
    if (icon <= kShoulderR) {
        label(cr, keyLabel[icon], cx, 6, kWhite);
    } else if (icon == kBack) {  // Esc: a cross
        cairo_set_line_width(cr, 1);
        cairo_move_to(cr, cx - 2, cy - 2); cairo_line_to(cr, cx + 2, cy + 2);
        cairo_move_to(cr, cx + 2, cy - 2); cairo_line_to(cr, cx - 2, cy + 2);
        set_rgb(cr, kWhite); cairo_stroke(cr);
    } else if (icon == kStart) {  // Enter: a return arrow
        cairo_set_line_width(cr, 1);
        cairo_move_to(cr, cx + 2, cy - 2.5); cairo_line_to(cr, cx + 2, cy + 0.5); cairo_line_to(cr, cx - 1, cy + 0.5);
        set_rgb(cr, kWhite); cairo_stroke(cr);
        arrow(cr, cx - 1.5, cy + 0.5, -1, 0, 1.6, kWhite);
    } else if (icon == kMenu) {  // Space: the space bar bracket
        cairo_set_line_width(cr, 1);
        cairo_move_to(cr, cx - 2.5, cy - 1); cairo_line_to(cr, cx - 2.5, cy + 1.5);
        cairo_line_to(cr, cx + 2.5, cy + 1.5); cairo_line_to(cr, cx + 2.5, cy - 1);
        set_rgb(cr, kWhite); cairo_stroke(cr);
    } else {
        double dx, dy;
        dir_of(icon, dx, dy);
        arrow(cr, cx, cy, dx, dy, 2.4, kWhite);
    }
}

void font_cell(cairo_t* cr, int frame) {
    if (frame >= 1 && frame <= 94) text_cell(cr, frame + 32);
    else if (frame >= 96 && frame <= 108) gamepad_icon(cr, frame - 96);
    else if (frame >= 112 && frame <= 124) keyboard_icon(cr, frame - 112);
}

// The framework font: glyphs of 7 columns lose their third column to fit the 6-pixel frame.
void zeto_cell(cairo_t* cr, int frame) {
    Glyph g = text_glyph(frame + 32);
    if (g.width > 6) {
        for (auto& row : g.rows) row.erase(2, 1);
        g.width = 6;
    }
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    pixels(cr, g, 1, 1, kWhite, 1);
}

}  // namespace

void write_font_sheets(const std::string& dataDir) {
    write_sheet(dataDir, {"fonts/editundo", 16, 16, 128, 16}, font_cell);
    SheetLayout zeto{"zeto_font", 8, 12, 96, 96};
    cairo_surface_t* s = render_sheet(zeto, zeto_cell, 1);
    write_png(s, dataDir + "/zeto_font.png");
    preview_add("zeto_font", s, zeto.frameW, zeto.frameH);
}
