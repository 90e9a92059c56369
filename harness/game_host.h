// harness/game_host.h: the real game driven without the GLFW loop, for the game's tests and benchmarks.
// TestHost is a host whose clock, window size, first joystick and saved state the caller sets; it records
// the files the game asks for and the last text it saved. TestGame starts the game on it in a hidden GLFW
// window, which gives the renderer a real OpenGL context, and runs its frames.
#pragma once

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/delegate.h"
#include "framework/input.h"
#include "game/myapp.h"
#include "game/startup.h"
#include "harness/gl_window.h"
#include "host/game.h"

struct TestHost : ZKGlfwGame {
    int width = 800, height = 600;
    int millis = 1000;
    int rate = -1;
    bool padPresent = false;
    float padX = 0, padY = 0;
    std::vector<std::string> audioPaths, imagePaths;
    int saves = 0;

    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
    int Millisecs() override { return millis; }
    void SetUpdateRate(int hertz) override {
        rate = hertz;
        ZKGame::SetUpdateRate(hertz);
    }
    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> /*joyz*/,
                      Array<bool> /*buttons*/) override {
        if (port != 0 || !padPresent) return false;
        joyx[0] = padX;
        joyy[0] = padY;
        return true;
    }
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override {
        audioPaths.push_back(path.ToUtf8());
        return ZKGlfwGame::LoadAudioData(path, length, channels, format, hertz);
    }
    OggStream* OpenAudioStream(String path, int* channels, int* hertz) override {
        audioPaths.push_back(path.ToUtf8());
        return ZKGlfwGame::OpenAudioStream(path, channels, hertz);
    }
    unsigned char* LoadImageData(String path, int* width_, int* height_, int* depth) override {
        imagePaths.push_back(path.ToUtf8());
        return ZKGlfwGame::LoadImageData(path, width_, height_, depth);
    }
    String saved;              // the text of the last save
    bool saveToFile = false;   // saves also go to the real state file in the working folder
    int SaveState(String state) override {
        ++saves;
        saved = state;
        return saveToFile ? ZKGlfwGame::SaveState(state) : 0;
    }
    // Window changes are recorded, not made: the test window stays and stands in for the new one.
    // `refuseWindow` fails the change as GLFW does when it cannot open a window (none is left open);
    // `noDesktop` hides the desktop mode.
    struct WindowRequest {
        int width, height;
        bool fullscreen;
    };
    std::vector<WindowRequest> windowRequests;
    bool refuseWindow = false, noDesktop = false;
    void SetGlfwWindow(int w, int h, int, int, int, int, int, int, bool fullscreen) override {
        windowRequests.push_back({w, h, fullscreen});
        _window = refuseWindow ? nullptr : glfwGetCurrentContext();
    }
    ZKGlfwVideoMode* GetGlfwDesktopMode() override {
        return noDesktop ? nullptr : ZKGlfwGame::GetGlfwDesktopMode();
    }
};

// The one game fixture of the tests and benchmarks: the real game started as the program starts it, on a
// TestHost in place of the GLFW loop, and driven a frame at a time as the loop drives it. Start-up: a
// hidden window of the given size (the host reports that size before the game reads it), the collector,
// the modules, the application, the delegate's start and the first render. Without a display or a window
// it says why and ends the process: a test that cannot start must fail, not be skipped.
struct TestGame {
    static constexpr int kFrameMs = 16;      // the clock's step per update, 60 updates a second
    static constexpr int kLoadFrames = 40;   // more than the loader's steps, so loading always ends

    TestHost* host = nullptr;
    c_MyApp* app = nullptr;
    GLFWwindow* window = nullptr;

    explicit TestGame(int width = 800, int height = 600, const char* title = "game test") {
        glfwSetErrorCallback(
            [](int code, const char* text) { std::fprintf(stderr, "GLFW error %d: %s\n", code, text); });
        window = zk_test::OpenTestWindow(width, height, title);
        gc_init1();
        host = new TestHost;
        host->width = width;
        host->height = height;
        zkInit();
        gc_mark();
        zkMain();
        app = static_cast<c_MyApp*>(zk_app__app);
        host->StartGame();
        host->RenderGame();
    }
    TestGame(const TestGame&) = delete;
    TestGame& operator=(const TestGame&) = delete;

    void Update() {   // the clock's step and one update, without a render
        host->millis += kFrameMs;
        host->UpdateGame();
    }
    void Frame() {
        Update();
        host->RenderGame();
    }
    // The loader's remaining steps, a frame each.
    void FinishLoading() {
        for (int i = 0; i < kLoadFrames && app->m_loadStep > 0; ++i) Frame();
    }
    // Held for one of the caller's frames and released for two, so the key latch lets the next press
    // through.
    template <class Step>
    void Key(int key, Step frame) {
        host->KeyEvent(kEventKeyDown, key);
        frame();
        host->KeyEvent(kEventKeyUp, key);
        frame();
        frame();
    }
    gxtkGraphics* Renderer() const { return zk_app__delegate->m__graphics; }
    // Ends the program when the art was not found: a benchmark of the game without it measures nothing.
    void RequireData(const char* program) const {
        if (app->m_images[kFontSlot]) return;   // the text font, read from data/ with the first images
        std::fprintf(stderr, "%s: run from the build folder (it reads data/)\n", program);
        std::exit(1);
    }
};

// The one game of a benchmark's process, started on first use with its loading finished; `program` names
// the benchmark when the art is not found.
inline TestGame& LoadedGame(const char* program) {
    static TestGame* game = nullptr;
    if (!game) {
        game = new TestGame();
        game->FinishLoading();
        game->RequireData(program);
    }
    return *game;
}
