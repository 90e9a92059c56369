// game/app.cpp: c_MyApp.
#include "game/app.h"

#include "framework/graphics.h"

int c_MyApp::p_OnCreate() {
    zk_app_SetUpdateRate(60);
    return 0;
}

// The render device is set between the delegate's frame brackets; clear to the sky's blue.
int c_MyApp::p_OnRender() {
    if (zk_graphics_renderDevice) zk_graphics_renderDevice->Cls(32, 96, 160);
    return 0;
}
