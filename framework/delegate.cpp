// framework/delegate.cpp: the game delegate's lifecycle steps and input forwarding.
#include "framework/delegate.h"

#include "framework/app.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "media/audio.h"
#include "media/graphics.h"

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
    zk_app_ValidateDeviceWindow();                            // 5. device size
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
    zk_app_ValidateDeviceWindow();
    m__input->p_BeginUpdate();
    zk_app__app->p_OnUpdate();
    m__input->p_EndUpdate();
}

// Our renderer's BeginRender always answers 1, a frame the game draws; its answer is not asked.
void c_GameDelegate::RenderGame() {
    zk_app_ValidateDeviceWindow();
    m__graphics->SetSize(zk_app__devWidth, zk_app__devHeight);   // the host's size: no window-system query
    m__graphics->BeginRender();
    zk_graphics_BeginRender();
    zk_app__app->p_OnRender();
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
