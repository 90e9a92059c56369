// game/overlays.cpp: the pause menu, the game-over overlay and badge pop-ups (still to be built).
#include "game/myapp.h"

int c_MyApp::p_PauseMenu() { return 0; }
int c_MyApp::p_GameOver() { return 0; }
int c_MyApp::p_ShowBadges() { return 0; }
