// framework/app.cpp: c_App, the game delegate, the zk_app_ functions and the async-event dispatcher.
#include "framework/app.h"

#include "framework/audio.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "media/audio.h"
#include "media/graphics.h"

c_App* zk_app__app = nullptr;
c_GameDelegate* zk_app__delegate = nullptr;
ZKGame* zk_app__game = nullptr;
int zk_app__devWidth = 0, zk_app__devHeight = 0;
Array<c_DisplayMode*> zk_app__displayModes;
c_DisplayMode* zk_app__desktopMode = nullptr;
int zk_app__updateRate = 0;
c_Stack3* zk_asyncevent__sources = nullptr;
c_IAsyncEventSource* zk_asyncevent__current = nullptr;

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

// ---- C_GameDelegate ----

void c_GameDelegate::mark() {
    gc_mark_q(m__graphics);
    gc_mark_q(m__audio);
    gc_mark_q(m__input);
}

void c_GameDelegate::StartGame() {
    gc_assign(m__graphics, new gxtkGraphics());               // 1. renderer, the graphics device
    zk_graphics_SetGraphicsDevice(m__graphics);
    zk_graphics_SetFont(nullptr, 32);                         // 2. default font
    gc_assign(m__audio, new gxtkAudio());                     // 3. audio engine
    zk_audio_SetAudioDevice(m__audio);
    gc_assign(m__input, (new c_InputDevice())->m_new());      // 4. input device
    zk_input_SetInputDevice(m__input);
    zk_app_ValidateDeviceWindow(false);                       // 5. device size
    zk_app_EnumDisplayModes();                                // 6. display modes
    zk_app__app->p_OnCreate();                                // 7. the game's own start
}

void c_GameDelegate::SuspendGame() {
    zk_app__app->p_OnSuspend();
    m__audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
    m__audio->Resume();
    zk_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
    if (m__audio) m__audio->StreamMusic();   // a tune's next slice, before the game's update can ask about it
    zk_app_ValidateDeviceWindow(false);
    m__input->p_BeginUpdate();
    zk_app__app->p_OnUpdate();
    m__input->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
    zk_app_ValidateDeviceWindow(false);
    m__graphics->SetSize(zk_app__devWidth, zk_app__devHeight);   // the host's size: no window-system query
    int mode = m__graphics->BeginRender();
    if (mode == 0) {   // a renderer that draws without the graphics module
        zk_app__app->p_OnRender();
        m__graphics->EndRender();
        return;
    }
    zk_graphics_BeginRender();
    if (mode != 2) zk_app__app->p_OnRender();   // mode 2: a loading frame, nothing of the game's
    zk_graphics_EndRender();
    m__graphics->EndRender();
}

void c_GameDelegate::KeyEvent(int event, int data) {
    m__input->p_KeyEvent(event, data);
    if (event != kEventKeyDown) return;
    if (data == kKeyBack) zk_app__app->p_OnBack();
    else if (data == kKeyClose) zk_app__app->p_OnClose();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) {
    m__input->p_MouseEvent(event, data, x, y);
}

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) {
    m__input->p_TouchEvent(event, data, x, y);
}

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    m__input->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() { m__graphics->DiscardGraphics(); }

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

void zk_asyncevent_init() {
    // zk_asyncevent__current is set only while the dispatcher runs, inside an update, and the collector
    // never runs there, so it needs no root (an interface pointer could not be one as it stands).
    zk_asyncevent__current = nullptr;
    gc_assign(zk_asyncevent__sources, (new c_Stack3())->m_new());
    gc_root(zk_asyncevent__sources);
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

void zk_app_ValidateDeviceWindow(bool) {
    int w = host()->GetDeviceWidth(), h = host()->GetDeviceHeight();
    if (w == zk_app__devWidth && h == zk_app__devHeight) return;
    zk_app__devWidth = w;
    zk_app__devHeight = h;
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

int zk_asyncevent_UpdateAsyncEvents() {
    if (zk_asyncevent__current) return 0;   // already dispatching
    int i = 0;
    while (i < zk_asyncevent__sources->p_Length2()) {
        zk_asyncevent__current = zk_asyncevent__sources->p_Get(i);
        zk_asyncevent__current->p_UpdateAsyncEvents();
        if (zk_asyncevent__current) ++i;   // a source that removed itself cleared it: same index again
    }
    zk_asyncevent__current = nullptr;
    return 0;
}
