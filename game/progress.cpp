// game/progress.cpp: saved settings, badges and highscores (still to be built: nothing is saved yet).
#include "game/myapp.h"

int c_MyApp::p_Load() { return 0; }
int c_MyApp::p_Save() { return 0; }
int c_MyApp::p_LoadMenu() { return 0; }
String c_MyApp::p_MyNth() { return String(); }

String c_MyApp::p_Nth(int place) {
    static const char* const kPlaces[] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th"};
    return place >= 1 && place <= 10 ? String(kPlaces[place - 1]) : String();
}

String c_MyApp::p_BadgeID(int n) { return String(); }
String c_MyApp::p_BadgeName(int n) { return String(); }
String c_MyApp::p_BadgeDetail(int n) { return String(); }
int c_MyApp::p_GC_PostScore(int score, int table) { return 0; }
int c_MyApp::p_GC_Badges() { return 0; }
