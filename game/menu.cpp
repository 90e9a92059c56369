// game/menu.cpp: the title menu. Until the carousel is built it shows its background: the sunburst
// backdrop, the title art and the logo, sliding in after a game.
#include "game/myapp.h"

int c_MyApp::p_Menu() {
    const float W = zk_Dravo_jscrw, H = zk_Dravo_jscrh;
    p_CLS2D(0, 80, 140, 1);
    p_SetSize(3);
    p_DrawImg(99, W / 2 + 20 * m_menuY, 0.6f * H, 2);
    p_SetSize(4);
    p_DrawImg(99, W / 2, 0.4f * H - 24 * m_menuY, 1);
    p_SetSize(1.5f);
    p_DrawImg(98, 0.4f * W, 128 + 12.0f * m_menuY, 0);
    p_ResetDraw();
    if (m_menuY < 0) ++m_menuY;   // slides in
    return 0;
}
