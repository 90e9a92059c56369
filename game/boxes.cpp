// game/boxes.cpp: the options box and the credits box (still to be built: they draw nothing yet).
#include "game/myapp.h"

int c_MyApp::p_OptionBox() { return 0; }
int c_MyApp::p_CreditBox() { return 0; }
