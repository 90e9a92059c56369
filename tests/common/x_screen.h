// tests/common/x_screen.h: the X screen's size, asked of the X server; {0, 0} when no display opens.
#pragma once

#include <X11/Xlib.h>

namespace zk_test {

struct ScreenSize { int width = 0, height = 0; };

inline ScreenSize XScreenSize() {
    ScreenSize size;
    if (Display* dpy = XOpenDisplay(nullptr)) {
        size = {DisplayWidth(dpy, DefaultScreen(dpy)), DisplayHeight(dpy, DefaultScreen(dpy))};
        XCloseDisplay(dpy);
    }
    return size;
}

}  // namespace zk_test
