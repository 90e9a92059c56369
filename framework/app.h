// framework/app.h: the application: c_App, the module's globals and the zk_app_ functions.
//
// The game reaches the host only through the zk_app_ functions: update rate, clock, device size, saved
// state, display modes, ending the program. Exactly one application exists; a second c_App::m_new raises
// "App has already been created". c_App::m_new also creates the game delegate (framework/delegate.h),
// which turns the host's calls into p_OnCreate, p_OnUpdate, p_OnRender, p_OnSuspend and p_OnResume. The
// program ends through zk_app_EndApp (exit status 0), never by tearing anything down.
//
// The cached device size starts at 0 x 0 and is refreshed by zk_app_ValidateDeviceWindow, which the
// delegate runs when the game starts and before every update and render.
//
// zk_app_init() gives the module globals their start values (the host handle is ZKGame::_game) and
// registers the object globals as collector roots; start-up calls it once.
#pragma once

#include "framework/display_mode.h"
#include "host/game.h"
#include "runtime/array.h"
#include "runtime/gc.h"

struct c_GameDelegate;

struct c_App : Object {
    c_App* m_new();   // registers the application and hands a new delegate to the host

    virtual int p_OnCreate() { return 0; }
    virtual int p_OnSuspend() { return 0; }
    virtual int p_OnResume() { return 0; }
    virtual int p_OnUpdate() { return 0; }
    virtual int p_OnRender() { return 0; }
    int p_OnResize() { return 0; }
    int p_OnLoading() { return 0; }
    int p_OnClose();   // ends the program
    int p_OnBack();    // ends the program
};

// Module globals (the object ones are collector roots).
extern c_App* zk_app__app;
extern c_GameDelegate* zk_app__delegate;
extern ZKGame* zk_app__game;
extern int zk_app__devWidth, zk_app__devHeight;        // cached drawable size, pixels
extern Array<c_DisplayMode*> zk_app__displayModes;     // distinct sizes, in first-seen order
extern c_DisplayMode* zk_app__desktopMode;
extern int zk_app__updateRate;                         // last rate asked for

void zk_app_init();

void zk_app_SetUpdateRate(int hertz);
int zk_app_Millisecs();
int zk_app_DeviceWidth();
int zk_app_DeviceHeight();
String zk_app_LoadState();
// The host writes the state and reports a failed save itself, with the one line that says why
// ("Saved state not written (...): the previous state is kept"); nothing here adds to it.
void zk_app_SaveState(String state);
[[noreturn]] void zk_app_EndApp();
// Refreshes the cached device size from the host.
void zk_app_ValidateDeviceWindow();
// The host's modes, one per distinct size in first-seen order, and the desktop's size (the device size
// when the host has no desktop mode).
void zk_app_EnumDisplayModes();
