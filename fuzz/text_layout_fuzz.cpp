// Bitmap-font text with any string, font size, scale, rotation and alignment, on a list that may be
// nearly full: every command it adds is a font glyph (frame 1 to 127) at a finite place, at most one a
// unit, and the list never grows past its 2500 commands.
#include <cmath>
#include <vector>

#include "fuzz/fuzz.h"
#include "game/myapp.h"

namespace {

c_MyApp* app;

// A small float from two input bytes: -128 to 128 in steps of 1/256.
float small(const uint8_t*& data, size_t& size) { return take<int16_t>(data, size) / 256.0f; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (gc_init1(), app = new c_MyApp, gc_root(app), gc_mark(), true);
    (void)ready;
    app->m_fontSlot = take<uint8_t>(data, size) % 100;
    app->m_imageInfo[app->m_fontSlot * 3] = take<uint8_t>(data, size);
    app->m_imageInfo[app->m_fontSlot * 3 + 1] = take<uint8_t>(data, size);
    app->m_controlStyle = take<uint8_t>(data, size) % 3;
    app->m_sizeX = small(data, size), app->m_sizeY = small(data, size), app->m_rot = small(data, size) * 8;
    const float x = small(data, size) * 8, y = small(data, size) * 8;
    const float alignX = small(data, size), alignY = small(data, size);
    const int start = app->m_drawCount = 15 * (take<uint16_t>(data, size) % 2501);
    std::vector<Char> units(size / 2);
    for (size_t i = 0; i < units.size(); ++i) units[i] = Char(data[2 * i] | data[2 * i + 1] << 8);
    app->p_Text(x, y, String(units.data(), int(units.size())), alignX, alignY);
    const int end = app->m_drawCount;
    FUZZ_CHECK(end >= start && end <= 37500 && end % 15 == 0 && (end - start) / 15 <= int(units.size()) + 1);
    for (const float* c = app->m_drawList.Data() + start; c < app->m_drawList.Data() + end; c += 15) {
        FUZZ_CHECK(c[0] == app->m_fontSlot && c[6] >= 1 && c[6] <= 127);
        FUZZ_CHECK(std::isfinite(c[1]) && std::isfinite(c[2]));
    }
    return 0;
}
