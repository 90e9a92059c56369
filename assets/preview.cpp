// assets/preview.cpp: the contact sheet data-preview.png, every sheet at its plain resolution on a
// checkerboard (so transparency shows), labelled with its name, with a faint grid on the frame borders,
// for reviewing the art at a glance.
#include <cairo.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "canvas.h"
#include "glyphs.h"

namespace {

struct Entry { std::string name; cairo_surface_t* plain; int frameW, frameH; };

std::vector<Entry>& entries() {
    static std::vector<Entry> list;
    return list;
}

constexpr int kMargin = 12, kLabelH = 16, kMaxRowW = 1100;
constexpr int kZoom = 2;  // sheets are shown twice their size (whole pixels) so small frames can be judged

void checkerboard(cairo_t* cr, int x, int y, int w, int h) {
    for (int j = 0; j < h; j += 8)
        for (int i = 0; i < w; i += 8) {
            cairo_rectangle(cr, x + i, y + j, std::min(8, w - i), std::min(8, h - j));
            set_rgb(cr, ((i + j) / 8) % 2 ? 0x9A9AA4 : 0x6C6C78);
            cairo_fill(cr);
        }
}

}  // namespace

static void frame_grid(cairo_t* cr, const Entry& e, double scale, int w, int h) {
    for (double x = e.frameW * scale; x < w - 0.5; x += e.frameW * scale) { cairo_move_to(cr, x, 0); cairo_line_to(cr, x, h); }
    for (double y = e.frameH * scale; y < h - 0.5; y += e.frameH * scale) { cairo_move_to(cr, 0, y); cairo_line_to(cr, w, y); }
    set_rgb(cr, 0x40E0FF, 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void preview_add(const std::string& name, cairo_surface_t* plain, int frameW, int frameH) {
    entries().push_back({name, plain, frameW, frameH});
}

void preview_write(const std::string& path) {
    // Shelf layout: sheets left to right, a new shelf when the row would grow too wide.
    struct Placed { int x, y, w, h; };
    std::vector<Placed> at;
    int x = kMargin, y = kMargin, shelfH = 0, width = 0;
    for (auto& e : entries()) {
        int w = std::min(cairo_image_surface_get_width(e.plain) * kZoom, kMaxRowW);
        int h = cairo_image_surface_get_height(e.plain) * kZoom * w /
                (cairo_image_surface_get_width(e.plain) * kZoom);
        if (x > kMargin && x + w > kMaxRowW) { x = kMargin; y += shelfH + kLabelH + kMargin; shelfH = 0; }
        at.push_back({x, y + kLabelH, w, h});
        x += w + kMargin;
        shelfH = std::max(shelfH, h);
        width = std::max(width, x);
    }
    int height = y + shelfH + kLabelH + kMargin;
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(out);
    set_rgb(cr, 0x202030);
    cairo_paint(cr);
    StrokeStyle labelStyle{1.2, 1.0, 0xFFFFFF, 0, 0, 0, false};
    for (size_t i = 0; i < at.size(); ++i) {
        const Placed& p = at[i];
        stroke_text(cr, entries()[i].name, p.x, p.y - kLabelH + 2, labelStyle);
        checkerboard(cr, p.x, p.y, p.w, p.h);
        cairo_save(cr);
        cairo_translate(cr, p.x, p.y);
        double sc = double(p.w) / cairo_image_surface_get_width(entries()[i].plain);
        cairo_scale(cr, sc, sc);
        cairo_set_source_surface(cr, entries()[i].plain, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_save(cr);
        cairo_translate(cr, p.x, p.y);
        frame_grid(cr, entries()[i], sc, p.w, p.h);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    write_png(out, path);
    cairo_surface_destroy(out);
    for (auto& e : entries()) cairo_surface_destroy(e.plain);
    entries().clear();
}
