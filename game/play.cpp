// game/play.cpp: golf play (being built).
#include "game/myapp.h"

int c_MyApp::p_Game() { return 0; }
int c_MyApp::p_NewBall() { return -1; }
int c_MyApp::p_NewPin() { return -1; }
int c_MyApp::p_Gimme(int points, float x, float y) { return 0; }
int c_MyApp::p_Rand(float a, float b) { return 0; }
int c_MyApp::p_ResetPlayers() { return 0; }
