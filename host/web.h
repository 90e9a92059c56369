// host/web.h: what the browser build's host (host/web.cpp, compiled only there) lends the shared host
// files at the few places where a page differs from a desktop window.
#pragma once

#include "runtime/string.h"

struct GLFWvidmode;

// The screen, in device pixels with 8 bits a colour: the size fullscreen gives the canvas (the browser's
// GLFW knows no video modes).
const GLFWvidmode* WebDesktopMode();

// The page keeps one canvas and one WebGL context for its whole life: a later window is the same canvas
// in or out of the browser's fullscreen (asked for, which the browser may refuse).
void WebSetFullscreen(bool fullscreen);
// Starts copying the saved-state folder to the page's IndexedDB; a copy asked for while one runs
// follows it.
void WebSyncSaves();
// Opens the address in a new tab.
void WebOpenUrl(String url);
