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
const int kFireActions[] = {10, 11, 12, 13, 16, 17};

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

bool any_player(c_MyApp& app, int action) {
    for (int p = 0; p <= 3; ++p)
        if (app.p_PlayKey(action, 1, p)) return true;
    return false;
}

bool fire_down(c_MyApp& app, int player) {
    for (int action : kFireActions)
        if (app.p_PlayKey(action, 1, player)) return true;
    return false;
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
    for (app.m_j = 0; app.m_j < lines; ++app.m_j)
        text += String("\\n") + app.p_rstr(app.m_highscores[first + app.m_j], 11, String(" "));
    return text;
}

// The panel's two columns as last built, and what they were built from. The title menu shows the same
// panel frame after frame; building its texts costs dozens of string allocations, so they are built again
// only when the game type, the number of lines or a shown score changes.
struct ScorePanelText {
    int base = -1, lines = 0;
    int scores[2][10] = {};
    String top, last;

    bool Holds(const c_MyApp& app, int first, int count) const {
        if (first != base || count != lines) return false;
        for (int i = 0; i < count; ++i)
            if (scores[0][i] != app.m_highscores[first + i] || scores[1][i] != app.m_highscores[first + 30 + i])
                return false;
        return true;
    }
    void Build(c_MyApp& app, int first, int count) {
        base = first, lines = count;
        for (int i = 0; i < count; ++i) {
            scores[0][i] = app.m_highscores[first + i];
            scores[1][i] = app.m_highscores[first + 30 + i];
        }
        top = score_column(app, "Top ", "Highscore", first, count);
        last = score_column(app, "Last ", "Last", first + 30, count);
    }
};

// The best ten and the last ten scores of the selected game type, as many lines of each as fit in half
// the screen's height below the headings.
void draw_score_panel(c_MyApp& app, float W, float H) {
    if (app.m_gameType < 1 || app.m_gameType > 3) return;   // no table to show
    const int line = game::to_int(app.m_imageInfo[app.m_fontSlot * 3 + 1] * 1.5f);
    int lines = line > 0 ? static_cast<int>(std::floor((H - 90 - H / 2) / line)) : 1;
    lines = std::max(1, std::min(10, lines));
    const int base = 10 * (app.m_gameType - 1);
    static ScorePanelText panel;
    if (panel.Holds(app, base, lines))
        app.m_j = lines;   // where building the columns leaves the shared loop counter
    else
        panel.Build(app, base, lines);
    const float x = W - kPanelWidth - 4 * app.m_menuY + 20;
    app.p_SetSize(1.5f);
    app.p_SetCol(255, 200, 100, 1);
    app.p_Text(x, 60, panel.top, 0, 0);
    app.p_SetCol(200, 255, 100, 1);
    app.p_Text(x, H / 2 + 20, panel.last, 0, 0);
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

// Draws item k: a game type's button, or the gear of three wheels turning at their own speeds.
void draw_item(c_MyApp& app, int k, float x, float y) {
    if (k < kGearItem) {
        app.p_DrawImg(kButtonsSlot, x, y, k - 1);
        return;
    }
    const float turns[] = {0.66f, -0.33f, -1.0f};
    for (int wheel = 0; wheel < 3; ++wheel) {
        app.p_SetRot(turns[wheel] * app.m_gearAngle);
        app.p_DrawImg(kButtonsSlot, x, y, 8 + wheel);
    }
    app.p_SetRot(0);
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
    for (app.m_j = 3; app.m_j >= 0; --app.m_j) {
        if (fire_down(app, app.m_j)) {
            app.m_padIndex = app.m_j;
            app.m_controlStyle = 1;
        }
    }
    if (fire_down(app, -1)) {
        app.m_padIndex = 0;
        app.m_controlStyle = 0;
    }
}

// Step 12: the keys, each acting once per press.
void menu_keys(c_MyApp& app) {
    if (box_open(app)) return;
    if (app.m_keyHeld == 0 && (any_player(app, 0) || any_player(app, 3)) && app.m_menuSel >= 2) {
        select_item(app, app.m_menuSel - 1);
        app.m_keyHeld = 1;
    }
    if (app.m_keyHeld == 0 && (any_player(app, 8) || any_player(app, 5)) && app.m_menuSel < kItems) {
        select_item(app, app.m_menuSel + 1);
        app.m_keyHeld = 1;
    }
    bool fire = false;
    for (int p = 0; p <= 3; ++p) fire = fire || fire_down(app, p);
    if (app.m_keyHeld == 0 && fire) {
        if (app.m_menuSel >= 1 && app.m_menuSel < kGearItem) {
            start_game(app, app.m_menuSel);
            record_controller(app);
        } else if (app.m_menuSel == kGearItem) {
            open_options(app);
        }
    }
    if (app.m_keyHeld == 0 && any_player(app, 15)) {
        app.m_keyHeld = 1;
        open_credits(app);
    }
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
    if (m_keyHeld == 0 && m_touchHeld == 0 && any_player(*this, 99))     // 3. the back action quits
        zkError(String());

    p_SetSize(3);                                                        // 4. background
    p_DrawImg(kMenuSlot, W / 2 + 20 * m_menuY, 0.6f * H, 2);
    p_SetSize(4);
    p_DrawImg(kMenuSlot, W / 2, 0.4f * H - 24 * m_menuY, 1);
    p_SetSize(1.5f);
    p_DrawImg(kLogoSlot, 0.4f * W, 128 + 12.0f * m_menuY, 0);
    p_ResetDraw();
    p_SetCol(0, 0, 0, 0.4f);
    p_Rect(W - kPanelWidth - 4 * m_menuY, 0, kPanelWidth, H);
    p_ResetDraw();

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

    int nearest = 0;                                                     // 10. the items
    float nearest_d = 1024;
    bool play_shown = false;
    for (m_i = 1; m_i <= kItems; ++m_i) {
        const float x = c.ItemX(m_i), y = c.ItemY(m_i);
        const float scale = m_i == m_menuSel ? 1.75f : 1.0f;
        const float d = std::sqrt((x - c.cx) * (x - c.cx) + (y - c.cy) * (y - c.cy));
        if (d < nearest_d) {
            nearest_d = d;
            nearest = m_i;
        }
        p_ResetDraw();
        p_SetSize(scale);
        p_Alpha(m_i == m_menuSel ? 1.0f : std::max(0.5f, 1 - d / 480));
        draw_item(*this, m_i, x, y);
        bool hit = m_mouseDown > 0 && p_MouseIn_Centered(x, y, m_imageInfo[kButtonsSlot * 3] * m_drawScale * scale,
                                                         m_imageInfo[kButtonsSlot * 3 + 1] * m_drawScale * scale);
        if (m_i == m_menuSel && m_menuSel < kGearItem && !play_shown) {
            play_shown = true;
            hit = play_button(*this, W, H) || hit;
        }
        // A box over the menu takes the taps: the click that closes the credits box runs after the menu
        // in the same update, and must not also start a game under it.
        if (hit && m_touchHeld == 0 && m_keyHeld == 0 && !box_open(*this)) tap_item(*this, m_i);
    }
    p_ResetDraw();

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
