// game/startup.cpp: zkInit and zkMain.
#include "game/startup.h"

#include "framework/app.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "game/app.h"

void zkInit() {
    zk_app_init();          // application, delegate, host game, device size, display modes, update rate
    zk_graphics_init();     // graphics device, context, image default flags, render device
    // audio device: wired when the audio module lands
    zk_input_init();        // input device
    // game module globals: wired with the game
    zk_asyncevent_init();   // current source, source stack
    // random seed: wired when the random module lands
}

int zkMain() {
    (new c_MyApp())->m_new();
    return 0;
}
