// assets/canvas.cpp: sheet rendering, PNG writing and the shared drawing vocabulary (see canvas.h).
#include "canvas.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "png_encode.h"

namespace {

// Every frame drawn into a new surface of cols x rows frames at `scale` texels a logical pixel.
cairo_surface_t* render_frames(const SheetLayout& layout, const FrameArt& art, double scale) {
    const int rows = (layout.frames + layout.cols - 1) / layout.cols;
    cairo_surface_t* s = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, int(layout.cols * layout.frameW * scale), int(rows * layout.frameH * scale));
    cairo_t* cr = cairo_create(s);
    for (int f = 0; f < layout.frames; ++f) {
        cairo_save(cr);
        cairo_scale(cr, scale, scale);
        cairo_translate(cr, (f % layout.cols) * layout.frameW, (f / layout.cols) * layout.frameH);
        cairo_rectangle(cr, 0, 0, layout.frameW, layout.frameH);
        cairo_clip(cr);
        cairo_new_path(cr);
        art(cr, f);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}

// The surface's pixels as straight RGBA bytes, unpremultiplied as cairo's own PNG writer does it.
std::vector<uint8_t> straight_rgba(cairo_surface_t* surface) {
    const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<uint8_t> rgba(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t argb;   // premultiplied, in the machine's byte order
            std::memcpy(&argb, data + size_t(y) * stride + 4 * size_t(x), 4);
            const uint32_t a = argb >> 24;
            uint8_t* out = &rgba[(size_t(y) * w + x) * 4];
            for (int c = 0; c < 3; ++c) {
                const uint32_t v = argb >> (16 - 8 * c) & 255;
                out[c] = uint8_t(a == 0 ? 0 : (v * 255 + a / 2) / a);
            }
            out[3] = uint8_t(a);
        }
    return rgba;
}

}   // namespace

cairo_surface_t* render_sheet(const SheetLayout& layout, const FrameArt& art, int scale) {
    if (layout.drawnDetail == 1) return render_frames(layout, art, scale);
    cairo_surface_t* coarse = render_frames(layout, art, double(scale) / layout.drawnDetail);
    const int w = cairo_image_surface_get_width(coarse), h = cairo_image_surface_get_height(coarse);
    cairo_surface_t* s =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w * layout.drawnDetail, h * layout.drawnDetail);
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, layout.drawnDetail, layout.drawnDetail);
    cairo_set_source_surface(cr, coarse, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);   // each texel doubled, not blurred
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(coarse);
    cairo_surface_flush(s);
    return s;
}

void write_png(cairo_surface_t* surface, const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    cairo_surface_flush(surface);
    const std::vector<uint8_t> png =
        encode_png(straight_rgba(surface).data(), cairo_image_surface_get_width(surface),
                   cairo_image_surface_get_height(surface));
    FILE* f = std::fopen(path.c_str(), "wb");
    const bool written = f && std::fwrite(png.data(), 1, png.size(), f) == png.size();
    if (!f || std::fclose(f) != 0 || !written) {
        std::fprintf(stderr, "zk_assetgen: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

void write_sheet(const std::string& dataDir, const SheetLayout& layout, const FrameArt& art) {
    static const char* kSuffix[3] = {"", "-hd", "-hd2"};
    static const int kScale[3] = {1, 2, 4};  // the game's art scales: plain, twice, four times
    for (int i = 0; i < 3; ++i) {
        cairo_surface_t* s = render_sheet(layout, art, kScale[i]);
        write_png(s, dataDir + "/" + layout.name + kSuffix[i] + ".png");
        if (i == 0)
            preview_add(layout.name, s, layout.frameW, layout.frameH);  // the contact sheet keeps the plain picture
        else
            cairo_surface_destroy(s);
    }
}

void set_rgb(cairo_t* cr, uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0,
                          alpha);
}

void circle(cairo_t* cr, double x, double y, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_close_path(cr);
}

void ellipse(cairo_t* cr, double x, double y, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, rx, ry);
    circle(cr, 0, 0, 1);
    cairo_restore(cr);
}

void rounded_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void fill_outline(cairo_t* cr, uint32_t fill, uint32_t outline, double width, double alpha) {
    set_rgb(cr, fill, alpha);
    cairo_fill_preserve(cr);
    if (width > 0) {
        set_rgb(cr, outline, alpha);
        cairo_set_line_width(cr, width);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
}

void fill_gradient_outline(cairo_t* cr, cairo_pattern_t* g, uint32_t outline, double width) {
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    set_rgb(cr, outline);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

static void polyline(cairo_t* cr, const std::vector<double>& xy) {
    cairo_move_to(cr, xy[0], xy[1]);
    for (size_t i = 2; i + 1 < xy.size(); i += 2) cairo_line_to(cr, xy[i], xy[i + 1]);
}

void limb(cairo_t* cr, const std::vector<double>& xy, double width, uint32_t fill, uint32_t outline,
          double rim) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (rim > 0) {
        polyline(cr, xy);
        set_rgb(cr, outline);
        cairo_set_line_width(cr, width + 2 * rim);
        cairo_stroke(cr);
    }
    polyline(cr, xy);
    set_rgb(cr, fill);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void vertical_gradient(cairo_t* cr, double y0, uint32_t a, double alphaA, double y1, uint32_t b,
                       double alphaB) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, ((a >> 16) & 255) / 255.0, ((a >> 8) & 255) / 255.0,
                                      (a & 255) / 255.0, alphaA);
    cairo_pattern_add_color_stop_rgba(p, 1, ((b >> 16) & 255) / 255.0, ((b >> 8) & 255) / 255.0,
                                      (b & 255) / 255.0, alphaB);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}
