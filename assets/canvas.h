// assets/canvas.h: image sheets drawn with cairo at every art resolution.
// A sheet is a grid of equal frames, `cols` to a row, filled row by row, which is the order in which the
// game cuts frames out of a loaded image. Every frame is drawn by one function in logical pixels
// (0..frameW, 0..frameH); the sheet is rendered once per resolution (scale 1, 2 and 4, written as "name",
// "name-hd" and "name-hd2"), so vector art is re-rasterised sharp at each scale. Each frame is clipped to
// its own cell, so nothing drawn for one frame can bleed into its neighbour.
// Also here: the small drawing vocabulary shared by the sheets (colours, shapes, ink outlines).
#pragma once
#include <cairo.h>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SheetLayout {
    std::string name;  // file name without resolution suffix or ".png", e.g. "common/icons"
    int frameW, frameH, frames, cols;
    // 1, or 2 for a sheet the game only ever draws at half size or less: its art is rendered at half the
    // resolution and each texel doubled each way, since a screen samples at most one texel of every
    // 2 x 2 then. The file keeps the size the game cuts its frames from, and compresses far smaller.
    int drawnDetail = 1;
};

using FrameArt = std::function<void(cairo_t*, int frame)>;

// Renders the sheet at `scale` (1, 2 or 4); the caller owns the surface.
cairo_surface_t* render_sheet(const SheetLayout& layout, const FrameArt& art, int scale);

// Writes a surface as PNG (png_encode.h: every pixel kept, as small as zlib makes it), creating parent
// folders. Fails loudly (exit 1): the build must not go on with a half-written data folder.
void write_png(cairo_surface_t* surface, const std::string& path);

// Renders and writes name.png, name-hd.png and name-hd2.png under dataDir, and hands the plain
// resolution to the contact sheet.
void write_sheet(const std::string& dataDir, const SheetLayout& layout, const FrameArt& art);

// The contact sheet collects the plain-resolution picture of every sheet written (preview.cpp), with
// its frame size so the frame grid can be drawn over it; it takes ownership of the surface.
void preview_add(const std::string& name, cairo_surface_t* plain, int frameW, int frameH);
void preview_write(const std::string& path);

// ---- drawing vocabulary -------------------------------------------------------------------------------

void set_rgb(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
void circle(cairo_t* cr, double x, double y, double r);
void ellipse(cairo_t* cr, double x, double y, double rx, double ry);
void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r);
// Fills the current path with `fill` and strokes it with a dark outline of `width`; clears the path.
void fill_outline(cairo_t* cr, uint32_t fill, uint32_t outline, double width, double alpha = 1.0);
// Fills the current path with the gradient `g` (and releases it), then strokes it in `outline`.
void fill_gradient_outline(cairo_t* cr, cairo_pattern_t* g, uint32_t outline, double width);
// A thick round-capped line with a darker rim: limbs, club shafts, tentacles.
void limb(cairo_t* cr, const std::vector<double>& xy, double width, uint32_t fill, uint32_t outline,
          double rim);
// Vertical linear gradient source from colour a at y0 to colour b at y1.
void vertical_gradient(cairo_t* cr, double y0, uint32_t a, double alphaA, double y1, uint32_t b, double alphaB);
