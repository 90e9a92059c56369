// assets/sheet_font.cpp: the game's bitmap font "fonts/editundo" and the framework's "zeto_font.png".
//
// editundo: 128 cells of 16x16 logical pixels, 16 to a row; cell g holds the character with code g + 32
// (the frame the game's text layout draws). The game draws each cell centred on the pen and advances 7
// pixels (with its per-letter adjustments) and 10 per line, so every glyph's ink starts at the same column
// of its cell (cell x 5, three pixels left of the centre) and the capitals stand on rows 4..12 around the
// cell's centre (7.5 pixels tall, 8 in the base sheet). White ink with a soft shadow one pixel down-right, so tinted text stays readable on the
// bright menu colours. Cells 96..108 hold gamepad icons and 112..124 the matching keyboard icons for the
// icon escapes, in the order of the escape letters J K L I U O Q E F W S A D; their round shapes are
// drawn as vectors.
//
// The letters are the pixel face (glyphs.h), whose units each sheet draws as whole blocks of texels sized
// for the smallest scale at which the game shows that sheet. The game draws a glyph at its text size times
// the window scale (the larger of width / 800 and height / 600) over the art scale, with nearest sampling,
// and picks the sheet by the window's larger side (base up to 630, -hd up to 1230, -hd2 beyond). For text
// of size 1 (0.8 for the credits' corner numbers) the sheets are thus sampled at:
//   sheet   texels per screen pixel          smallest at
//   base    up to 1.05                       0.79 (630x472)
//   -hd     0.39 .. 1.03 (size 0.8: 0.32)    631x473
//   -hd2    0.38 and up  (size 0.8: 0.31)    1231 wide
// A run of texels (a stroke or a gap) keeps at least one sample, whatever the sampling phase, when it is
// at least 1 / scale texels long: 2.54 in -hd, 3.25 in -hd2 (at size 0.8), 1.27 in the base sheet. So a
// unit is 3 texels in -hd and 6 in -hd2, 1.5 logical pixels in both, and nothing in a line is thinner:
// strokes, the gaps inside a glyph, and the gap to the next glyph (one exception: f's arms come within
// 2 texels of the next letter in -hd). The base sheet cannot draw 1.5: its units are 2 texels, which keeps
// every stroke, but a 3-unit glyph leaves 1 texel to its neighbour in a 7-pixel advance, and the capitals
// get 8 texels for their five units (the line is 10), so each glyph chooses which units shrink to 1 texel
// (fit_units): its strokes keep 2 and as many of its gaps as can.
//
// zeto_font.png: 96 frames of 8x12 in one row, characters 32..127, each with a one-pixel empty border left
// and right (the framework cuts it with its PadX flag): the pixel face with units of 2 texels. Single
// resolution; the game never draws it.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "canvas.h"
#include "glyphs.h"
#include "sheets.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kShadow = 0x101028;

// ---- text glyphs: the pixel face's units in texels ------------------------------------------------------

constexpr int kFontCapUnits = 5;   // units 0..4 hold the capitals; unit 5 the descenders

// Where one glyph's unit columns and rows lie in its cell, in texels of the sheet being drawn.
struct UnitGrid {
    std::vector<int> x, w;   // per unit column: first texel column and width
    std::vector<int> y, h;   // per unit row: first texel row and height
};

// Texels of the ink runs shorter than 2 (weighed heavily: a stroke that can vanish) and of the gaps
// between two inks shorter than 2 (a gap that can close), along `line` sized by `sizes`.
int thin_runs(const std::string& line, const std::vector<int>& sizes) {
    int cost = 0, first = int(line.find('#')), last = int(line.rfind('#'));
    if (first < 0) return 0;
    for (int i = first; i <= last;) {
        int j = i, texels = 0;
        for (; j <= last && line[j] == line[i]; ++j) texels += sizes[j];
        if (texels < 2) cost += line[i] == '#' ? 100 : 1;
        i = j;
    }
    return cost;
}

// Sizes of n units that share `budget` texels, each 1 or 2, followed by the fixed sizes `tail`: the split
// whose lines (the glyph's rows when sizing columns, its columns when sizing rows) have the fewest thin
// runs, and among those the one whose unit borders lie nearest to an even split.
std::vector<int> fit_units(const std::vector<std::string>& lines, int n, int budget,
                           const std::vector<int>& tail) {
    std::vector<int> best;
    double bestCost = 1e9;
    for (int mask = 0; mask < (1 << n); ++mask) {
        std::vector<int> sizes;
        int sum = 0;
        for (int i = 0; i < n; ++i) sum += sizes.emplace_back(mask >> i & 1 ? 2 : 1);
        if (sum != std::min(budget, 2 * n)) continue;
        double cost = 0, border = 0;
        for (int i = 0; i < n; ++i)
            cost += std::fabs((border += sizes[i]) - double(budget) * (i + 1) / n) / 100;
        sizes.insert(sizes.end(), tail.begin(), tail.end());
        for (const std::string& line : lines) cost += thin_runs(line, sizes);
        if (cost < bestCost) bestCost = cost, best = sizes;
    }
    return best;
}

std::vector<int> starts(int first, const std::vector<int>& sizes) {
    std::vector<int> at;
    for (int s : sizes) at.push_back(first), first += s;
    return at;
}

// The grid of a glyph whose units are 1.5 logical pixels (scale 2 and 4), or, at scale 1, 2 texels shrunk
// where the room is short: `advanceRoom` texels across (its advance less the 1-texel gap; at least one a
// unit) and `capRows` down for units 0..4. Its first unit starts at texel (inkX, inkY) of the cell.
UnitGrid unit_grid(const Glyph& g, int scale, int inkX, int inkY, int advanceRoom, int capRows) {
    UnitGrid grid;
    if (scale >= 2) {
        const int unit = scale * 3 / 2;
        grid.w.assign(g.width, unit);
        grid.h.assign(kPixelRows, unit);
    } else {
        std::vector<std::string> columns(g.width);
        for (const std::string& row : g.rows)
            for (int c = 0; c < g.width; ++c) columns[c] += row[c];
        grid.w = fit_units(g.rows, g.width, advanceRoom, {});
        grid.h = fit_units(columns, kFontCapUnits, capRows, {2});
    }
    grid.x = starts(inkX, grid.w);
    grid.y = starts(inkY, grid.h);
    return grid;
}

// The scale the sheet is being drawn at: device pixels per logical pixel of the context.
int sheet_scale(cairo_t* cr) {
    double x = 1, y = 0;
    cairo_user_to_device_distance(cr, &x, &y);
    return int(std::lround(x));
}

// Fills the glyph's ink units shifted by (dx, dy) texels; the context counts logical pixels.
void units(cairo_t* cr, const Glyph& g, const UnitGrid& grid, int scale, int dx, int dy, uint32_t colour,
           double alpha) {
    for (int r = 0; r < kPixelRows; ++r)
        for (int c = 0; c < g.width; ++c)
            if (g.ink(c, r))
                cairo_rectangle(cr, double(grid.x[c] + dx) / scale, double(grid.y[r] + dy) / scale,
                                double(grid.w[c]) / scale, double(grid.h[r]) / scale);
    set_rgb(cr, colour, alpha);
    cairo_fill(cr);
}

constexpr int kInkX = 5;          // cell column of every glyph's first ink column, in logical pixels
constexpr int kBaseCapRows = 8;   // the base sheet's capitals: 8 of the 10-pixel line, 2 left between lines
constexpr int kBaseCapTop = 4;    // so they stand on cell rows 4..11, around the centre
constexpr double kCapTop = 4.5;   // the capitals' top in the other sheets: 7.5 pixels tall, 4.5..12

void text_cell(cairo_t* cr, int code) {
    const Glyph& g = pixel_glyph(code);
    const int scale = sheet_scale(cr);
    const int inkY = scale == 1 ? kBaseCapTop : int(kCapTop * scale);
    const UnitGrid grid = unit_grid(g, scale, kInkX * scale, inkY, text_advance(code) - 1, kBaseCapRows);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    units(cr, g, grid, scale, scale, scale, kShadow, 0.55);
    units(cr, g, grid, scale, 0, 0, kWhite, 1);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
}

void pixels(cairo_t* cr, const Glyph& g, double x, double y, uint32_t colour, double alpha) {
    for (int r = 0; r < int(g.rows.size()); ++r)
        for (int c = 0; c < g.width; ++c)
            if (g.ink(c, r)) cairo_rectangle(cr, x + c, y + r, 1, 1);
    set_rgb(cr, colour, alpha);
    cairo_fill(cr);
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

// The framework font: the pixel face in units of 2 pixels, 6 wide and 12 tall inside the frame's border.
void zeto_cell(cairo_t* cr, int frame) {
    const Glyph& g = pixel_glyph(frame + 32);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    units(cr, g, unit_grid(g, 1, 1, 0, 6, 10), 1, 0, 0, kWhite, 1);
}

}  // namespace

void write_font_sheets(const std::string& dataDir) {
    write_sheet(dataDir, {"fonts/editundo", 16, 16, 128, 16}, font_cell);
    SheetLayout zeto{"zeto_font", 8, 12, 96, 96};
    cairo_surface_t* s = render_sheet(zeto, zeto_cell, 1);
    write_png(s, dataDir + "/zeto_font.png");
    preview_add("zeto_font", s, zeto.frameW, zeto.frameH);
}
