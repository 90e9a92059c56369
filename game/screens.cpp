// game/screens.cpp: the screens the frame already calls but that are not built yet: the title menu,
// the boxes, golf play, the game-over overlay, the pause menu, badges and saved progress. Each does
// nothing for now; the frame calls them exactly where they belong.
#include "game/myapp.h"

int c_MyApp::p_Menu() { return 0; }
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
