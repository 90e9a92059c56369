// game/creatures.cpp: monsters, particles and stars (being built).
#include "game/myapp.h"

int c_MyApp::p_AddMonster() { return -1; }
int c_MyApp::p_FreeParticle() { return -1; }
int c_MyApp::p_AddParticle(int kind, float x, float y, float vx, float vy, int value, int colour, int life) { return 0; }
int c_MyApp::p_ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) { return 0; }
int c_MyApp::p_DoParticles() { return 0; }
int c_MyApp::p_ResetParticles(int n) { return 0; }
int c_MyApp::p_ResetStars(int n) { return 0; }
int c_MyApp::p_DoStars(float dx, float dy) { return 0; }
int c_MyApp::p_Ink(int colour, int brightness) { return 0; }
