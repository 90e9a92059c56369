// framework/delegate.h: the game delegate, through which the host drives the application.
//
// The host (host/game.h) calls the one c_GameDelegate for every lifecycle step and input event. The
// delegate owns the renderer, the audio engine and the input device, creates them when the game starts,
// and turns host calls into the application's p_OnCreate, p_OnUpdate, p_OnRender, p_OnSuspend and
// p_OnResume (framework/app.h) in a fixed order:
//   start    renderer, default font, audio engine, input device, device size, display modes, OnCreate
//   suspend  OnSuspend, then the audio engine's Suspend;   resume: audio Resume, then OnResume
//   update   the tune's next slice, device size, input BeginUpdate (joysticks), OnUpdate, input EndUpdate
//   render   device size, renderer BeginRender, graphics bracket around OnRender, renderer EndRender
//   keys     after the input device saw it, a KeyDown of kKeyBack or kKeyClose ends the program
// c_App::m_new creates it; it lives to the end of the program.
#pragma once

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
