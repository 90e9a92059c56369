// assets/main.cpp: zk_assetgen DATA_DIR PREVIEW_PNG [ICON_DIR]
// Writes the game's whole data folder (image sheets in three resolutions, the bitmap font, sound effects
// and tunes), a contact sheet of the art and, when ICON_DIR is given, the desktop icon at each size. Every byte is a pure function of this program's source: no
// clock, no system fonts, fixed random seeds, so two runs write identical files.
#include <cstdio>
#include <string>

#include "audio.h"
#include "canvas.h"
#include "sheets.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: zk_assetgen DATA_DIR PREVIEW_PNG [ICON_DIR]\n");
        return 2;
    }
    std::string data = argv[1];
    write_font_sheets(data);
    write_gfx_sheet(data);
    write_gfxb_sheet(data);
    write_particle_sheets(data);
    write_ui_sheets(data);
    write_title_sheets(data);
    write_badge_sheet(data);
    preview_write(argv[2]);
    write_sound_effects(data);
    write_tunes(data);
    if (argc == 4) write_icons(argv[3]);
    return 0;
}
