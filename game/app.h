// game/app.h: c_MyApp, the game. For now only a running window: 60 updates per second and a clear screen.
#pragma once

#include "framework/app.h"

struct c_MyApp : c_App {
    c_MyApp* m_new() {
        c_App::m_new();
        return this;
    }
    int p_OnCreate() override;
    int p_OnRender() override;
};
