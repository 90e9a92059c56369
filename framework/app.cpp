// framework/app.cpp: c_App and the zk_app_ functions.
#include "framework/app.h"

#include "framework/containers.h"
#include "framework/delegate.h"

c_App* zk_app__app = nullptr;
c_GameDelegate* zk_app__delegate = nullptr;
ZKGame* zk_app__game = nullptr;
int zk_app__devWidth = 0, zk_app__devHeight = 0;
Array<c_DisplayMode*> zk_app__displayModes;
c_DisplayMode* zk_app__desktopMode = nullptr;
int zk_app__updateRate = 0;

namespace {

// The host every call of this module goes through; start-up sets it (zk_app_init).
ZKGame* host() {
    ZK_CONTRACT(zk_app__game, "the framework reaches the host only after start-up (zk_app_init)");
    return zk_app__game;
}

}  // namespace

// ---- C_App ----

c_App* c_App::m_new() {
    if (zk_app__app) zkError(String("App has already been created"));
    gc_assign(zk_app__app, this);
    gc_assign(zk_app__delegate, (new c_GameDelegate())->m_new());
    host()->SetDelegate(zk_app__delegate);
    return this;
}

int c_App::p_OnClose() { zk_app_EndApp(); }

int c_App::p_OnBack() { zk_app_EndApp(); }

// ---- Module functions ----

void zk_app_init() {
    zk_app__app = nullptr;
    zk_app__delegate = nullptr;
    zk_app__game = ZKGame::_game;
    zk_app__devWidth = zk_app__devHeight = 0;
    zk_app__displayModes = Array<c_DisplayMode*>();
    zk_app__desktopMode = nullptr;
    zk_app__updateRate = 0;
    gc_root(zk_app__app);
    gc_root(zk_app__delegate);
    gc_root(zk_app__displayModes);
    gc_root(zk_app__desktopMode);
}

void zk_app_SetUpdateRate(int hertz) {
    zk_app__updateRate = hertz;
    host()->SetUpdateRate(hertz);
}

int zk_app_Millisecs() { return host()->Millisecs(); }
int zk_app_DeviceWidth() { return zk_app__devWidth; }
int zk_app_DeviceHeight() { return zk_app__devHeight; }
String zk_app_LoadState() { return host()->LoadState(); }
void zk_app_SaveState(String state) { host()->SaveState(state); }

void zk_app_EndApp() { zkError(String()); }

void zk_app_ValidateDeviceWindow() {
    zk_app__devWidth = host()->GetDeviceWidth();
    zk_app__devHeight = host()->GetDeviceHeight();
}

void zk_app_EnumDisplayModes() {
    Array<ZKDisplayMode*> modes = host()->GetDisplayModes();
    c_IntMap* seen = (new c_IntMap())->m_new();
    c_Stack* list = (new c_Stack())->m_new();
    for (int i = 0; i < modes.Length(); ++i) {
        ZKDisplayMode* mode = modes[i];
        if (!mode) continue;
        int key = (mode->width << 16) | mode->height;   // only the size tells modes apart
        if (seen->p_Contains(key)) continue;
        c_DisplayMode* distinct = (new c_DisplayMode())->m_new(mode->width, mode->height);
        seen->p_Insert(key, distinct);
        list->p_Push(distinct);
    }
    gc_assign(zk_app__displayModes, list->p_ToArray());
    ZKDisplayMode* desktop = host()->GetDesktopMode();
    int w = desktop ? desktop->width : zk_app__devWidth, h = desktop ? desktop->height : zk_app__devHeight;
    gc_assign(zk_app__desktopMode, (new c_DisplayMode())->m_new(w, h));
}
