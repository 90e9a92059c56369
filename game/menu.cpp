// game/menu.cpp: the title menu. A backdrop with the title art and the logo, a side panel with the best
// ten and the last ten scores of the selected game type, and a carousel of four items: the three game
// types (30, 20 and 10 seconds) and a turning gear that opens the options box. The carousel is a row in a
// landscape window and a column in a portrait one; it is moved by keys, by tapping an item, or by
// dragging and flinging it, and the item that comes to rest nearest its centre point is selected.
// Confirming a game type (fire, a second tap, or the play button) starts a game (mode 11).
//
// Selection has one subtlety: a key press or a tap names the item at once (m_menuPending) while the
// carousel is still scrolling toward it, and until it arrives the "nearest item" rule must not select
// the items it passes on the way.
#include <algorithm>
#include <cmath>

#include "game/gamemath.h"
#include "game/myapp.h"
#include "runtime/error.h"

namespace {

const int kItemSpacing = 88;      // carousel pixels from one item to the next
const float kPanelWidth = 140;    // the side panel at the right edge
const int kItems = 4;             // three game types and the options gear
const int kGearItem = 4;

// The carousel's geometry for this update: its centre point and where item 1 stands; item k stands
// (k - 1) item spacings further along the row or down the column.
struct Carousel {
    bool column;
    float cx, cy;     // the centre point, truncated
    float x1, y1;     // item 1
    float ItemX(int k) const { return column ? x1 : x1 + kItemSpacing * (k - 1); }
    float ItemY(int k) const { return column ? y1 + kItemSpacing * (k - 1) : y1; }
};

Carousel layout(const c_MyApp& app, float W, float H) {
    using game::to_int;
    Carousel c;
    c.column = app.m_landscape == 0;
    c.cx = static_cast<float>(to_int((W - kPanelWidth) / 2));
    if (c.column) {
        c.cy = static_cast<float>(to_int(0.6f * H));
        c.x1 = c.cx;
        c.y1 = static_cast<float>(to_int(app.m_scrollPos + 0.6f * H));
    } else {
        c.cy = static_cast<float>(to_int(H - 96));
        c.x1 = static_cast<float>(to_int((W - kPanelWidth) / 2 + app.m_scrollPos));
        c.y1 = H - 96;
    }
    return c;
}

bool box_open(const c_MyApp& app) { return app.m_optionsOpen == 1 || app.m_creditsOpen == 1; }

// Moves the selection to `item` and sends the carousel there; scrolling selects nothing on the way.
void select_item(c_MyApp& app, int item) {
    app.m_menuSel = item;
    app.m_menuPending = item;
    app.p_PlaySFX(kClickSound, 1);
    app.m_scrollTarget = static_cast<float>((1 - item) * kItemSpacing);
    app.m_scrollVel = 0;
    app.m_dragSpeed = 0;
}

void start_game(c_MyApp& app, int type) {
    app.m_gameType = type;
    app.m_mode = 11;
    app.m_keyHeld = app.m_touchHeld = 1;
    app.p_PlaySFX(kChimeSound, 1);
}

void open_options(c_MyApp& app) {
    app.m_optionsOpen = 1;
    app.m_optionSel = 0;
    app.m_keyHeld = app.m_touchHeld = 1;
    app.p_PlaySFX(kChimeSound, 1);
}

void open_credits(c_MyApp& app) {
    app.p_PlaySFX(kClickSound, 1);
    app.m_creditsOpen = 1;
}

// One column of the score panel: its heading, then the first `lines` entries from `first`, each on its
// own line and right-aligned in 11 characters.
String score_column(c_MyApp& app, const char* heading, const char* single, int first, int lines) {
    String text = lines == 1 ? String(single) : String(heading) + String(lines);
    for (int j = 0; j < lines; ++j)
        text += String("\\n") + app.p_rstr(app.m_highscores[first + j], 11, String(" "));
    return text;
}

// Whether the panel's texts were built from these scores.
bool panel_holds(const c_ScorePanel& panel, const Array<int>& scores, int base, int lines) {
    if (base != panel.base || lines != panel.lines) return false;
    for (int i = 0; i < lines; ++i)
        if (panel.scores[0][i] != scores[base + i] || panel.scores[1][i] != scores[base + kLastTen + i])
            return false;
    return true;
}

void build_panel(c_MyApp& app, int base, int lines) {
    c_ScorePanel& panel = app.m_scorePanel;
    panel.base = base, panel.lines = lines;
    for (int i = 0; i < lines; ++i) {
        panel.scores[0][i] = app.m_highscores[base + i];
        panel.scores[1][i] = app.m_highscores[base + kLastTen + i];
    }
    panel.top = score_column(app, "Top ", "Highscore", base, lines);
    panel.last = score_column(app, "Last ", "Last", base + kLastTen, lines);
}

// Step 5: the best ten and the last ten scores of the selected game type, as many lines of each as fit
// in half the screen's height below the headings.
void draw_score_panel(c_MyApp& app, float W, float H) {
    if (app.m_gameType < 1 || app.m_gameType > 3) return;   // no table to show
    const int line = game::to_int(app.m_imageInfo[app.m_fontSlot * 3 + 1] * 1.5f);
    const int fit = line > 0 ? static_cast<int>(std::floor((H - 90 - H / 2) / line)) : 1;
    const int lines = std::clamp(fit, 1, kTableSize);
    const int base = best_ten(app.m_gameType);
    if (!panel_holds(app.m_scorePanel, app.m_highscores, base, lines)) build_panel(app, base, lines);
    const float x = W - kPanelWidth - 4 * app.m_menuY + 20;
    app.p_SetSize(1.5f);
    app.p_SetCol(255, 200, 100, 1);
    app.p_Text(x, 60, app.m_scorePanel.top, 0, 0);
    app.p_SetCol(200, 255, 100, 1);
    app.p_Text(x, H / 2 + 20, app.m_scorePanel.last, 0, 0);
    app.p_ResetDraw();
}

// Step 9: a carousel scrolled past either end is pulled back and its end item selected.
void pull_edges(c_MyApp& app, const Carousel& c, float W, float H) {
    bool first_beyond, last_beyond;
    if (c.column) {
        first_beyond = c.ItemY(1) > 0.75f * H;
        last_beyond = c.ItemY(kItems) < 0.45f * H;
    } else {
        first_beyond = c.ItemX(1) > 0.75f * (W - kPanelWidth);
        last_beyond = c.ItemX(kItems) < W / 4;
    }
    if (first_beyond) {
        app.m_menuSel = 1;
        app.m_scrollTarget -= 8;
    }
    if (last_beyond) {
        app.m_menuSel = kItems;
        app.m_scrollTarget += 8;
    }
}

// Step 4: the backdrop, the title art and the logo, sliding in with m_menuY, and the side panel's shade.
void draw_background(c_MyApp& app, float W, float H) {
    app.p_SetSize(3);
    app.p_DrawImg(kMenuSlot, W / 2 + 20 * app.m_menuY, 0.6f * H, 2);
    app.p_SetSize(4);
    app.p_DrawImg(kMenuSlot, W / 2, 0.4f * H - 24 * app.m_menuY, 1);
    app.p_SetSize(1.5f);
    app.p_DrawImg(kLogoSlot, 0.4f * W, 128 + 12.0f * app.m_menuY, 0);
    app.p_ResetDraw();
    app.p_SetCol(0, 0, 0, 0.4f);
    app.p_Rect(W - kPanelWidth - 4 * app.m_menuY, 0, kPanelWidth, H);
    app.p_ResetDraw();
}

// A tap on item k: the first selects it, a second confirms it.
void tap_item(c_MyApp& app, int k) {
    if (k != app.m_menuSel) {
        select_item(app, k);
        app.m_keyHeld = app.m_touchHeld = 1;
    } else if (k < kGearItem) {
        start_game(app, k);
        app.m_padIndex = 0;
        app.m_controlStyle = 2;
    } else {
        open_options(app);
    }
}

// The green play button beside the carousel, shown while a game type is selected.
bool play_button(c_MyApp& app, float W, float H) {
    app.p_SetSize(3, 2.5f);
    app.p_SetRot(0);
    app.p_SetCol(100, 255, 100, 0.3f);
    const bool pressed = app.p_Button2(W - 70, H - 48 - 4 * app.m_menuY, 3) != 0;
    app.p_ResetDraw();
    return pressed;
}

// Step 12, fire on a game type: remembers which controller started the game. The keyboard counts for
// every player, so a pad is named only when the keyboard alone has no fire action down.
void record_controller(c_MyApp& app) {
    app.m_padIndex = 0;
    app.m_controlStyle = 0;
    for (int p = 3; p >= 0; --p) {
        if (app.p_ActionDown(kMenuFire, p)) {
            app.m_padIndex = p;
            app.m_controlStyle = 1;
        }
    }
    if (app.p_ActionDown(kMenuFire, -1)) {
        app.m_padIndex = 0;
        app.m_controlStyle = 0;
    }
}

// Step 12: the keys, each acting once per press.
void menu_keys(c_MyApp& app) {
    if (box_open(app)) return;
    if (app.m_keyHeld == 0 && app.p_AnyPlayer(kPrevious) && app.m_menuSel >= 2) {
        select_item(app, app.m_menuSel - 1);
        app.m_keyHeld = 1;
    }
    if (app.m_keyHeld == 0 && app.p_AnyPlayer(kNext) && app.m_menuSel < kItems) {
        select_item(app, app.m_menuSel + 1);
        app.m_keyHeld = 1;
    }
    if (app.m_keyHeld == 0 && app.p_AnyPlayer(kMenuFire)) {
        if (app.m_menuSel >= 1 && app.m_menuSel < kGearItem) {
            start_game(app, app.m_menuSel);
            record_controller(app);
        } else if (app.m_menuSel == kGearItem) {
            open_options(app);
        }
    }
    if (app.m_keyHeld == 0 && app.p_AnyPlayer(kActionRightShoulder)) {
        app.m_keyHeld = 1;
        open_credits(app);
    }
}

// Step 10: each item at its place on the carousel, larger and opaque when selected, fading with its
// distance from the centre point otherwise; a tap on it acts unless a box over the menu takes the tap.
// The play button stands beside a selected game type. Returns the item nearest the centre point.
int draw_items(c_MyApp& app, const Carousel& c, float W, float H) {
    int nearest = 0;
    float nearest_d = 1024;
    for (int k = 1; k <= kItems; ++k) {
        const float x = c.ItemX(k), y = c.ItemY(k);
        const float d = std::sqrt((x - c.cx) * (x - c.cx) + (y - c.cy) * (y - c.cy));
        if (d < nearest_d) {
            nearest_d = d;
            nearest = k;
        }
        const bool selected = k == app.m_menuSel;
        app.p_ResetDraw();
        app.p_SetSize(selected ? 1.75f : 1.0f);
        app.p_Alpha(selected ? 1.0f : std::max(0.5f, 1 - d / 480));
        if (k < kGearItem) app.p_DrawImg(kButtonsSlot, x, y, k - 1);   // a game type, or the turning gear
        else app.p_Gear(x, y);
        bool hit = app.p_OnImage(kButtonsSlot, x, y);
        if (selected && k < kGearItem) hit = play_button(app, W, H) || hit;
        // A box over the menu takes the taps: the click that closes the credits box runs after the menu
        // in the same update, and must not also start a game under it.
        if (hit && app.m_touchHeld == 0 && app.m_keyHeld == 0 && !box_open(app)) tap_item(app, k);
    }
    app.p_ResetDraw();
    return nearest;
}

// Step 14: a pointer moving while held drags the carousel; past a small speed it is a drag, not a tap.
void drag_carousel(c_MyApp& app) {
    if (app.m_touchHeld == 1 || box_open(app) || app.m_mouseDown <= 0) return;
    const int moved = app.m_landscape == 0 ? app.m_mouseY - app.m_mouseYOld : app.m_mouseX - app.m_mouseXOld;
    app.m_dragSpeed = 1.5f * moved;
    if (std::fabs(app.m_dragSpeed) > 2) {
        app.m_touchHeld = 2;   // the release of a drag selects nothing
        app.m_scrollVel += app.m_dragSpeed;
    }
}

}  // namespace

int c_MyApp::p_Menu() {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    p_CLS2D(0, 80, 140, 1);                                              // 1. clear colour, draw state
    if (m_menuY < 0) ++m_menuY;                                          // 2. slides in after a game
    if (m_keyHeld == 0 && m_touchHeld == 0 && p_AnyPlayer(kActionBack))  // 3. the back action quits
        zkError(String());
    draw_background(*this, W, H);                                        // 4.
    if (!box_open(*this) && m_menuSel < 4) draw_score_panel(*this, W, H);   // 5. scores
    if (m_menuSel >= 1 && m_menuSel <= 3) {                              // 6. selection bookkeeping
        m_gameType = m_menuSel;
    } else if (m_menuSel == kGearItem) {
        m_gearAngle += 0.5f;
    } else {
        m_menuSel = 1;
        m_gameType = 1;
    }
    if (m_mouseDown == 0) m_dragSpeed = 0;                               // 7. carousel motion
    m_scrollTarget += m_scrollVel;
    m_scrollPos += (m_scrollTarget - m_scrollPos) / 8;
    m_scrollVel *= 0.2f;
    if (std::fabs(m_scrollVel) < 3) m_scrollVel = 0;
    const Carousel c = layout(*this, W, H);                              // 8. layout
    pull_edges(*this, c, W, H);                                          // 9. edge pull
    const int nearest = draw_items(*this, c, W, H);                      // 10. the items
    if (nearest > 0 && nearest != m_menuSel && m_menuPending == 0) {     // 11. the nearest item
        m_menuSel = nearest;
        p_PlaySFX(kClickSound, 1);
    }
    if (std::fabs(m_scrollPos - m_scrollTarget) < 32) m_menuPending = 0;
    menu_keys(*this);                                                    // 12. keys
    p_SetSize(0.35f);                                                    // 13. the credits button
    if (p_Button(kMakerLogoSlot, W - 70, 4.0f * m_menuY + 32, 0) && m_touchHeld == 0 && !box_open(*this)) {
        m_touchHeld = 1;
        open_credits(*this);
    }
    p_ResetDraw();
    drag_carousel(*this);                                                // 14. dragging
    return 0;
}
