// framework/display_mode.h: a screen size as the framework offers it to the game.
#pragma once

#include "runtime/gc.h"

struct c_DisplayMode : Object {
    int m_width = 0;
    int m_height = 0;

    c_DisplayMode* m_new(int width, int height) {
        m_width = width;
        m_height = height;
        return this;
    }
};
