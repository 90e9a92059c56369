// game/startup.cpp: zkInit and zkMain.
#include "game/startup.h"

#include "framework/app.h"
#include "framework/async_event.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "framework/random.h"
#include "game/myapp.h"

// Gives every module global its start value, in dependency order; each module registers its object
// globals as collector roots here, once.
void zkInit() {
    zk_app_init();          // application, delegate, host game, device size, display modes, update rate
    zk_graphics_init();     // graphics device, context, image default flags, render device
    zk_audio_init();        // audio device
    zk_input_init();        // input device
    zk_Dravo_init();        // the game module's globals and credit lines
    zk_asyncevent_init();   // current source, source stack
    zk_random_init();       // seed 1234
}

int zkMain() {
    c_MyApp* app = new c_MyApp();
    app->m_new();
    return 0;
}
