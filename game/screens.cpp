// game/screens.cpp: the screens the frame already calls but that are not built yet: the title menu,
// the boxes, golf play, the game-over overlay, the pause menu, badges and saved progress. The frame calls
// them exactly where they belong; until they are built, the menu shows its background and the others do
// nothing.
#include "game/myapp.h"

// The title menu's background: sunburst backdrop, title art and logo, so the menu mode has a screen.
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
int c_MyApp::p_Game() { return 0; }
int c_MyApp::p_GameOver() { return 0; }
int c_MyApp::p_PauseMenu() { return 0; }
int c_MyApp::p_CreditBox() { return 0; }
int c_MyApp::p_OptionBox() { return 0; }
int c_MyApp::p_ShowBadges() { return 0; }
int c_MyApp::p_Load() { return 0; }
int c_MyApp::p_Save() { return 0; }
int c_MyApp::p_LoadMenu() { return 0; }
int c_MyApp::p_ResetStars(int count) { return 0; }
