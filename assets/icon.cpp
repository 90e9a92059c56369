// assets/icon.cpp: the desktop icon, Grubnik rising out of the water with a ball dropping onto his head,
// on a rounded tile of sky and water. Drawn in 64 logical pixels and rendered sharp at each size a
// desktop asks for, written as ICON_DIR/SIZExSIZE.png, and all of them in ICON_DIR/tolvane-golf.ico for the
// Windows program's resources.
#include <fstream>
#include <iterator>
#include <string>

#include "canvas.h"
#include "characters.h"
#include "palette.h"

namespace {

const int kIconSizes[] = {16, 32, 48, 64, 128, 256};

void draw_icon(cairo_t* cr) {
    rounded_rect(cr, 1, 1, 62, 62, 12);
    cairo_clip_preserve(cr);
    vertical_gradient(cr, 0, 0x8CD8FF, 1, 40, 0xE8F8FF, 1);   // sky
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, 32, 36);   // the monster's head and shoulders, larger than in play
    cairo_scale(cr, 1.15, 1.15);
    cairo_translate(cr, -32, -34);
    draw_monster_body(cr);
    cairo_restore(cr);
    cairo_rectangle(cr, 0, 46, 64, 18);   // the water hides his underside
    vertical_gradient(cr, 46, pal::kWaterLight, 1, 64, pal::kWater, 1);
    cairo_fill(cr);
    circle(cr, 44, 8, 5);   // the ball, about to bounce
    fill_outline(cr, 0xFFFFFF, pal::kInk, 1.2);
    rounded_rect(cr, 1, 1, 62, 62, 12);
    set_rgb(cr, pal::kInk);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

// A Windows icon file holding each size's PNG whole: a 6-byte header, a 16-byte directory entry per image
// (width and height bytes of 0 mean 256), then the images. Little-endian throughout.
void write_ico(const std::string& iconDir) {
    std::string dir, images;
    auto put = [&dir](unsigned value, int bytes) {
        for (int i = 0; i < bytes; ++i) dir += char((value >> (8 * i)) & 0xFF);
    };
    const int count = int(sizeof kIconSizes / sizeof kIconSizes[0]);
    put(0, 2), put(1, 2), put(unsigned(count), 2);   // reserved, type 1 (icon), image count
    for (int size : kIconSizes) {
        const std::string n = std::to_string(size);
        std::ifstream in(iconDir + "/" + n + "x" + n + ".png", std::ios::binary);
        const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        put(unsigned(size % 256), 1), put(unsigned(size % 256), 1), put(0, 1), put(0, 1);   // no palette
        put(1, 2), put(32, 2);   // one plane, 32 bits per pixel
        put(unsigned(png.size()), 4), put(unsigned(6 + 16 * count + images.size()), 4);
        images += png;
    }
    std::ofstream(iconDir + "/tolvane-golf.ico", std::ios::binary) << dir << images;
}

}  // namespace

void write_icons(const std::string& iconDir) {
    for (int size : kIconSizes) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(s);
        cairo_scale(cr, size / 64.0, size / 64.0);
        draw_icon(cr);
        cairo_destroy(cr);
        cairo_surface_flush(s);
        const std::string n = std::to_string(size);
        write_png(s, iconDir + "/" + n + "x" + n + ".png");
        cairo_surface_destroy(s);
    }
    write_ico(iconDir);
}
