// framework/app.h: the application module: c_App, the game delegate, the zk_app_ functions and the
// async-event dispatcher.
//
// The host (host/game.h) calls the one c_GameDelegate for every lifecycle step and input event; the
// delegate owns the renderer, the audio engine and the input device, creates them when the game starts,
// and turns host calls into the application's p_OnCreate, p_OnUpdate, p_OnRender, p_OnSuspend and
// p_OnResume in a fixed order:
//   start    renderer, default font, audio engine, input device, device size, display modes, OnCreate
//   suspend  OnSuspend, then the audio engine's Suspend;   resume: audio Resume, then OnResume
//   update   device size, input BeginUpdate (joysticks), OnUpdate, input EndUpdate (hits cleared)
//   render   device size, renderer BeginRender, graphics bracket around OnRender, renderer EndRender
//   keys     after the input device saw it, a KeyDown of 416 (back) or 432 (close) ends the program
//
// The game reaches the host only through the zk_app_ functions. Exactly one application exists; a
// second c_App::m_new raises "App has already been created". The program ends through zk_app_EndApp
// (exit status 0), never by tearing anything down.
//
// zk_app_init() and zk_asyncevent_init() give the module globals their start values and register the
// object globals as collector roots; start-up calls them once.
#pragma once

#include "framework/async_event.h"
#include "framework/containers.h"
#include "framework/display_mode.h"
#include "host/game.h"

class gxtkGraphics;
struct gxtkAudio;
struct c_InputDevice;

// The event codes the host passes as the first argument of KeyEvent, MouseEvent, TouchEvent and
// MotionEvent, by name (the host's own enum in host/game.h holds the same values).
struct c_ZKGameEvent {
    static const int KeyDown = kEventKeyDown;          // data: key code
    static const int KeyUp = kEventKeyUp;              // data: key code
    static const int KeyChar = kEventKeyChar;          // data: character code
    static const int MouseDown = kEventMouseDown;      // data: button, 0 left, 1 right, 2 middle
    static const int MouseUp = kEventMouseUp;
    static const int MouseMove = kEventMouseMove;      // data: -1
    static const int TouchDown = kEventTouchDown;      // data: finger
    static const int TouchUp = kEventTouchUp;
    static const int TouchMove = kEventTouchMove;
    static const int MotionAccel = kEventMotionAccel;  // data ignored; x, y, z
};

// Key codes the delegate acts on: the back key, and the close key the host sends (kKeyClose, host/game.h).
const int kKeyBack = 416;

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

struct c_GameDelegate : ZKGameDelegate {
    gxtkGraphics* m__graphics = nullptr;   // the renderer, from StartGame on
    gxtkAudio* m__audio = nullptr;         // the audio engine, from StartGame on
    c_InputDevice* m__input = nullptr;     // the input state, from StartGame on

    c_GameDelegate* m_new() { return this; }
    void mark() override;

    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;
};

// Module globals (the object ones are collector roots).
extern c_App* zk_app__app;
extern c_GameDelegate* zk_app__delegate;
extern ZKGame* zk_app__game;
extern int zk_app__devWidth, zk_app__devHeight;        // cached drawable size, pixels
extern Array<c_DisplayMode*> zk_app__displayModes;     // distinct sizes, in first-seen order
extern c_DisplayMode* zk_app__desktopMode;
extern int zk_app__updateRate;                         // last rate asked for
extern c_Stack3* zk_asyncevent__sources;               // registered async-event sources
extern c_IAsyncEventSource* zk_asyncevent__current;    // source being updated, else null

void zk_app_init();
void zk_asyncevent_init();

void zk_app_SetUpdateRate(int hertz);
int zk_app_Millisecs();
int zk_app_DeviceWidth();
int zk_app_DeviceHeight();
String zk_app_LoadState();
void zk_app_SaveState(String state);
[[noreturn]] void zk_app_EndApp();
void zk_app_ValidateDeviceWindow(bool flag);
void zk_app_EnumDisplayModes();
int zk_asyncevent_UpdateAsyncEvents();
