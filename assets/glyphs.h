// assets/glyphs.h: the project's own letter shapes, the single source of every letter in the data.
// Three bitmap alphabets:
// - the text face (codes 32..126, 9 rows: rows 0..6 capitals, lowercase x-height rows 2..6, descenders
//   rows 7..8; ink width = the game's glyph advance minus 2, so every pair of letters keeps a two-pixel
//   gap). `stroke_text` turns it into smooth, chunky vector lettering for the logo, the buttons and the
//   emblems: every ink pixel becomes a round dot joined to its neighbours, stroked at any resolution.
// - the pixel face (codes 33..126) of the bitmap fonts, on a coarser grid of units (pixel_face.cpp), so
//   that its strokes and gaps can be drawn wide enough to survive the game's nearest-neighbour shrinking.
// - a 3x5 label face for the insides of button and key icons.
#pragma once
#include <cairo.h>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct Glyph {
    int width = 0;                  // ink columns, 0 for the space
    std::vector<std::string> rows;   // one string of `width` characters per row, '#' is ink
    bool ink(int col, int row) const {
        return row >= 0 && row < int(rows.size()) && col >= 0 && col < width && rows[row][col] == '#';
    }
};

constexpr int kGlyphRows = 9;
const Glyph& text_glyph(int code);   // codes 32..126; anything else gives the empty glyph
const Glyph& label_glyph(char c);    // 3x5 label face: A B C D E L N R S V X Y Z and digits

// Pixel face: 6 unit rows (0..4 capitals and digits, lowercase on 1..4 under ascenders in 0, descenders
// in 5); 3 units wide for most codes, 1 for i l, 2 for f j, 5 for m w. Anything else gives the empty glyph.
constexpr int kPixelRows = 6;
const Glyph& pixel_glyph(int code);

// The pixel face's rows by code (pixel_face.cpp), read through pixel_glyph.
using GlyphRows = std::map<int, std::vector<std::string>>;
const GlyphRows& pixel_face_rows();

// Pixel advance of a code in the game's text layout (7 plus the game's per-letter adjustment).
int text_advance(int code);

// Width in cells of `text` set with the text face (advances as the game lays text out, minus the last gap).
double stroke_text_width(const std::string& text);

struct StrokeStyle {
    double cell;        // size of one glyph pixel in logical units
    double weight;      // stroke width as a fraction of the cell (about 1)
    uint32_t fill;      // letter colour
    uint32_t outline;   // rim colour
    double rim;         // rim width in logical units (0: none)
    uint32_t shine;     // highlight colour drawn on the upper part of each stroke
    bool useShine;
};

// Draws `text` with its left end of the baseline box at (x, y) (y = top of the capitals).
// Per-letter vertical offsets in `bounce` (in cells, may be empty) give the logo its wave.
void stroke_text(cairo_t* cr, const std::string& text, double x, double y, const StrokeStyle& st,
                 const std::vector<double>& bounce = {});
