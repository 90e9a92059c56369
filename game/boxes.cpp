// game/boxes.cpp: the options box and the credits box, drawn over whatever screen is active.
//
// Both boxes slide in over 30 updates (m_optionsAnim, m_creditsAnim, stepped by the frame) and out over
// 30. While the options box is shown it holds the screen's latches m_keyHeld and m_touchHeld, so nothing
// behind it reacts, and keeps its own latches m_optKeyHeld and m_optTouchHeld: a press acts once, and
// nothing in the box acts until it is fully in. Every way out saves the settings, the Credits row too.
//
// The credits box is a test card: a grid of squares that fly in from outside, a coloured border, a
// circle with the scrolling credit lines, the logo, and four corner discs with the device size, the
// virtual size and the update and render rates.
#include <algorithm>
#include <cmath>

#include "framework/app.h"
#include "game/gamemath.h"
#include "game/myapp.h"

using namespace game;

namespace {

const int kBoxIn = 30;              // a box is fully in when its counter reaches this
const int kSlidePixels = 24;        // the options panel slides this far per update still to go
const float kCreditStep = 16;       // pixels between credit lines

// The options box's rows, top to bottom; the Credits row is left out while the game is paused.
enum OptionRow { kRowSound = 1, kRowICade, kRowDisplay, kRowCredits };

// A colour component of the test card's border: truncated and limited to 0..255.
float component(float v) { return std::clamp(std::trunc(v), 0.0f, 255.0f); }

String sound_label(c_MyApp* app) {
    int& mode = app->m_options[kOptionSound];
    const int last = zk_Dravo_HasMusicStream == 1 ? 3 : 1;
    if (mode < 0 || mode > last) mode = 0;   // out of range: off
    static const char* const kStream[] = {"Sound : Off", "Sound : SFX + Music", "Sound : SFX", "Sound : Music"};
    static const char* const kPlain[] = {"Sound : Off", "Sound : On"};
    return String(last == 3 ? kStream[mode] : kPlain[mode]);
}

String row_label(c_MyApp* app, int row) {
    switch (row) {
    case kRowSound: return sound_label(app);
    case kRowICade: return String(zk_Dravo_iCadeControls == 1 ? "iCade : On" : "iCade : Off");
    case kRowDisplay: return String(app->m_fullscreen == 1 ? "Windowed" : "Fullscreen");
    }
    return String("Credits");
}

// The sound mode cycles off, effects and music, effects, music; a mode without music stops the tune.
void cycle_sound(c_MyApp* app) {
    int& mode = app->m_options[kOptionSound];
    if (zk_Dravo_HasMusicStream == 1) {
        mode = (mode + 1) % 4;
        if (mode == 0 || mode == 2) app->p_StopTune();
    } else {
        mode = 1 - mode;
    }
    app->p_PlaySFX(kClickSound, 1);
}

void toggle_icade(c_MyApp* app) {
    zk_Dravo_iCadeControls = 1 - zk_Dravo_iCadeControls;
    app->p_iCade(zk_Dravo_iCadeControls);
    app->p_PlaySFX(kClickSound, 1);
    for (int i = 0; i < app->m_vkeys.Length(); ++i) app->m_vkeys[i] = 0;   // back-key hits included
}

// Acts for an activated row; false when the row asks to leave the box's latches free.
bool act_on_row(c_MyApp* app, int row) {
    switch (row) {
    case kRowSound: cycle_sound(app); break;
    case kRowICade: toggle_icade(app); break;
    case kRowDisplay:
        app->p_PlaySFX(kClickSound, 1);
        app->p_FullscreenFlip();
        break;
    case kRowCredits:   // straight over to the credits box, silently; saved like every way out
        app->m_creditsOpen = 1;
        app->m_optionsOpen = 0;
        app->p_Save();
        return false;
    }
    return true;
}

}  // namespace

// ---- Options box ----

namespace {

void close_options(c_MyApp* app) {
    app->m_optionsOpen = 0;
    app->p_PlaySFX(kClickSound, 1);
    app->p_Save();
    app->m_optKeyHeld = app->m_optTouchHeld = 1;   // one press closes once, never twice in a frame
}

bool box_free(c_MyApp* app) { return app->m_optKeyHeld == 0 && app->m_optTouchHeld == 0; }

// Draws one row (bar, then label) and acts when it is touched, or selected while a fire button is down.
void option_row(c_MyApp* app, int row, float x, float y, float barX, float barW) {
    if (app->m_optionSel == row) app->p_SetCol(0, 180, 255, 0.5f);
    else app->p_SetCol(0, 0, 160, 0.5f);
    const bool touched = app->p_Touch(barX, y - 2, barW, 24) != 0;
    if (touched) app->m_optionSel = row;
    app->p_SetCol(255, 255, 255, 1);
    app->p_SetSize(2);
    app->p_Text(x, y, row_label(app, row), 0, 0);
    app->p_SetSize(1);
    const bool fire = app->m_optionSel == row && app->p_AnyPlayer(kRowFire);
    if ((touched || fire) && box_free(app)) {
        const bool hold = act_on_row(app, row);
        app->m_optKeyHeld = app->m_optTouchHeld = hold ? 1 : 0;
    }
}

// Keys move the cursor between the back item (0) and the rows, and fire on the back item closes.
void option_navigation(c_MyApp* app, int rows) {
    if (app->m_optKeyHeld != 0) return;
    if (app->m_optionSel == 0 && app->p_AnyPlayer(kCloseBox)) {
        if (box_free(app)) close_options(app);
    } else if (app->p_AnyPlayer(kPrevious)) {
        if (app->m_optionSel > 0) {
            --app->m_optionSel;
            app->m_optKeyHeld = 1;
            app->p_PlaySFX(kClickSound, 1);
        }
    } else if (app->p_AnyPlayer(kNext)) {
        if (app->m_optionSel < rows) {
            ++app->m_optionSel;
            app->m_optKeyHeld = 1;
            app->p_PlaySFX(kClickSound, 1);
        }
    }
}

void release_option_latches(c_MyApp* app) {
    if (app->m_mouseDown == 0) app->m_optTouchHeld = 0;
    if (!app->p_AnyPlayer(kEveryAction)) app->m_optKeyHeld = 0;
}

}  // namespace

int c_MyApp::p_OptionBox() {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    const int A = m_optionsAnim;
    p_ResetDraw();                                                       // 1.
    m_keyHeld = 1;                                                       // 2. the screen behind waits
    m_touchHeld = 1;
    if (A != kBoxIn) m_optKeyHeld = m_optTouchHeld = 1;                  //    nothing acts until fully in
    const float top = static_cast<float>((kBoxIn - A) * kSlidePixels);
    p_SetCol(150, 75, 0, 0.85f);                                         // 3. panel
    p_Rect(50, top, W - 100, H);
    p_ResetDraw();

    m_gearAngle += 0.2f;                                                 // 4. back item
    const float gearX = static_cast<float>((3 * A - 90) * 4 + 100);
    p_SetSize(m_optionSel == 0 ? 2.0f : 1.5f);
    const bool gearHit = p_Gear(gearX, 60) != 0;
    p_SetSize(2);
    p_Text(gearX + 76, 60, String("<[BACK]"), 0, 1);
    p_SetSize(1);
    if ((gearHit || p_AnyPlayer(kActionBack)) && box_free(this)) close_options(this);

    const int rows = m_paused == 1 ? kRowDisplay : kRowCredits;          // 5. rows
    float y = top + 130;
    for (int row = kRowSound; row <= rows; ++row) {
        if (row == kRowCredits) {   // apart from the others, at the right
            y += 50;
            const float x = static_cast<float>(to_int(W - 264));
            option_row(this, row, x, y, x - 16, 180);
        } else {
            if (row > kRowSound) y += 40;
            option_row(this, row, 100, y, 84, W - 168);
        }
    }
    option_navigation(this, rows);                                       // 6.
    release_option_latches(this);                                        // 7.
    p_ResetDraw();
    return 0;
}

// ---- Credits box ----

namespace {

// The test card's grid: `c` columns and `r` rows of `cell` pixels centred on the screen, squares drawn at
// `size` (growing while the box opens), flying in from `fly` updates away.
struct TestCard {
    float cell, x0, y0, size;
    int c, r, fly;
};

TestCard test_card(int A) {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    TestCard t;
    t.cell = std::max(W, H) / 12;
    t.c = to_int(W / t.cell);
    t.r = to_int(H / t.cell);
    t.x0 = W / 2 - t.c * t.cell / 2;
    t.y0 = H / 2 - t.r * t.cell / 2;
    t.size = A < 20 ? t.cell * A / 20 : t.cell;
    t.fly = kBoxIn - A;
    return t;
}

// Offset of grid index `i` of `count` from the centre, never 0: squares left of the middle fly in from
// the left, the rest from the right. The flight grows with the square of the distance.
float fly_offset(int i, int count, int fly) {
    int u = i - count / 2;
    if (u < 1) u -= 1;
    return static_cast<float>(fly * u * std::abs(u));
}

// Border colour of the square at (i, j); the corners have none.
void border_colour(c_MyApp* app, const TestCard& t, int i, int j) {
    const float across = t.c - 2 > 0 ? 512.0f / (t.c - 2) * (i - 1) : 0;   // along the top and bottom
    const float down = t.r - 2 > 0 ? 512.0f / (t.r - 2) * (j - 1) : 0;     // along the sides
    if (j == 0) app->p_SetCol(component(across), component(512 - across), 0);
    else if (i == 0) app->p_SetCol(0, component(512 - down), component(down));
    else if (i == t.c) app->p_SetCol(component(512 - down), 0, component(down));
    else {
        const float grey = component(t.c - 2 > 0 ? 255.0f / (t.c - 2) * (i - 1) : 0);
        app->p_SetCol(grey, grey, grey);
    }
}

void grid_square(c_MyApp* app, const TestCard& t, int i, int j) {
    const float sq = t.size + 1;
    const float x = fly_offset(i, t.c, t.fly) + i * t.cell + t.x0 - t.size / 2;
    const float y = fly_offset(j, t.r, t.fly) + j * t.cell + t.y0 - t.size / 2;
    const bool onBorder = i == 0 || i == t.c || j == 0 || j == t.r;
    if (onBorder) app->p_SetCol(0, 0, 0);                                // 2. the square
    else app->p_SetCol(255, 255, 255);
    app->p_Rect(x, y, sq, sq);
    if (j >= 1 && j < t.r && i < t.c) {                                  // 3. grey inset
        float gx = x + 2, gw = sq - 4;
        if (j == t.r - 1 && i >= 4 && i <= t.c - 3) {   // the row above the bottom joins into a bar
            gx -= 6;
            gw += i == t.c - 3 ? 4 : 24;
        }
        app->p_SetCol(128, 128, 128);
        app->p_Rect(gx, y + 2, gw, sq - 4);
    }
    const bool corner = (i == 0 || i == t.c) && (j == 0 || j == t.r);
    if (!onBorder || corner) return;
    border_colour(app, t, i, j);                                         // 4. coloured border
    if (j == 0 || j == t.r) app->p_Rect(x + 8, y, sq - 16, sq);
    else app->p_Rect(x, y + 8, sq, sq - 16);
}

// A white disc with a grey one on top, for the corner readouts.
void corner_disc(c_MyApp* app, float x, float y, float radius) {
    app->p_SetCol(255, 255, 255);
    app->p_Oval(x, y, radius, radius);
    app->p_SetCol(128, 128, 128);
    app->p_Oval(x, y, radius - 3, radius - 3);
    app->p_SetCol(255, 255, 255);
}

// Three numbers, one above the other, centred on (x, y).
void three_numbers(c_MyApp* app, float x, float y, int a, int b, int c) {
    app->p_SetSize(0.8f);
    app->p_Text(x, y - 16, String(a), 0.8f, 0.8f);
    app->p_Text(x, y, String(b), 0.8f, 0.8f);
    app->p_Text(x, y + 16, String(c), 0.8f, 0.8f);
}

// Step 6: the credit lines scroll up, faster while up or down is held; eight of them are drawn around the
// circle's centre at `middle`, fading within about 50 pixels of it.
void credit_lines(c_MyApp* app, float middle) {
    app->m_creditScroll -= 0.3f;
    if (app->p_AnyPlayer(kScrollCredits)) app->m_creditScroll -= 1.5f;
    if (app->m_creditScroll < -kCreditStep) {
        app->m_creditScroll += kCreditStep;
        ++app->m_creditLine;
    }
    const int count = zk_Dravo_CreditText.Length();
    for (int k = -3; k <= 4 && count > 0; ++k) {
        const int index = ((app->m_creditLine + k) % count + count) % count;
        const float dy = kCreditStep * k + app->m_creditScroll;
        app->p_Alpha(std::clamp(1 - (std::fabs(dy) / 40 - 0.3f), 0.0f, 1.0f));
        app->p_Text(zk_Dravo_jscrw / 2 + 24, middle + dy, zk_Dravo_CreditText[index], 0.8f, 0.8f);
    }
}

// Step 8: the four corner discs, slid outwards while the box opens: the device size and the update rate,
// the virtual size and the render rate, a button picture and the maker's logo.
void corner_discs(c_MyApp* app, const TestCard& t) {
    const float S = static_cast<float>(t.fly);
    const float left = t.x0 + 1.5f * t.cell - 6 * S, right = t.x0 + (t.c - 1.5f) * t.cell + 6 * S;
    const float upper = t.y0 + 1.5f * t.cell - 3 * S, lower = t.y0 + (t.r - 1.5f) * t.cell + 3 * S;
    corner_disc(app, left, upper, t.size);
    three_numbers(app, left, upper, zk_app_DeviceWidth(), zk_app_DeviceHeight(), app->m_fps);
    corner_disc(app, right, upper, t.size);
    three_numbers(app, right, upper, to_int(std::floor(zk_Dravo_jscrw)), to_int(std::floor(zk_Dravo_jscrh)),
                  app->m_renderFps);
    corner_disc(app, left, lower, t.size);
    app->p_SetSize(1);
    app->p_DrawImg(kButtonsSlot, left, lower, 12);
    corner_disc(app, right, lower, t.size);
    app->p_SetSize(0.3f);
    app->p_DrawImg(kMakerLogoSlot, right, lower, 0);
}

}  // namespace

int c_MyApp::p_CreditBox() {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    const TestCard t = test_card(m_creditsAnim);                         // 1. the grid
    const float S = static_cast<float>(t.fly), fade = m_creditsAnim / 30.0f;
    p_ResetDraw();
    p_Alpha(fade);
    for (int i = 0; i <= t.c; ++i)                                       // 2. to 4. squares and border
        for (int j = 0; j <= t.r; ++j) grid_square(this, t, i, j);
    p_SetCol(255, 255, 255, fade);                                       // 5. the circle
    p_DrawImg(kCircleSlot, W / 2, H / 2 - 24 * S, 0);
    credit_lines(this, H / 2 - 24 * S);                                  // 6.
    p_SetSize(0.4f);                                                     // 7. the logo
    p_Alpha(fade);
    p_DrawImg(kLogoSlot, W / 2, t.y0 + 4 * S + (t.r - 1) * t.cell, 0);
    p_SetSize(1);
    corner_discs(this, t);                                               // 8.
    if (m_creditsOpen == 1) {                                            // 9. closing
        if (m_mouseDown > 0 && m_touchHeld == 0) {
            m_touchHeld = 1;
            m_creditsOpen = 0;
            p_PlaySFX(kClickSound, 1);
        } else if (m_keyHeld == 0 && p_AnyPlayer(kCloseBox)) {
            m_keyHeld = 1;
            m_creditsOpen = 0;
            p_PlaySFX(kClickSound, 1);
        }
    }
    p_ResetDraw();
    return 0;
}
