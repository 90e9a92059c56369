// harness/game_host.h: a host for driving the real game without the GLFW loop. The test sets its clock,
// window size, first joystick and saved state, and it records the files the game asks for and the last
// text it saved. A hidden GLFW window gives the renderer a real OpenGL context. Used by the game's tests
// and its frame benchmark.
#pragma once

#include <GLFW/glfw3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "framework/input.h"
#include "game/myapp.h"
#include "game/startup.h"
#include "host/game.h"
#include "tests/common/gl_window.h"

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

// Start-up as the program does it, with a test host in place of the GLFW loop: a hidden 800 x 600
// window, the collector, the modules, the application and the delegate's start. Without a display or a
// window it says why and ends the process: a test that cannot start must fail, not be skipped.
inline GLFWwindow* StartTestGame(TestHost** host, c_MyApp** app) {
    glfwSetErrorCallback([](int code, const char* text) { std::fprintf(stderr, "GLFW error %d: %s\n", code, text); });
    GLFWwindow* window = zk_test::OpenTestWindow(800, 600, "game test");
    gc_init1();
    *host = new TestHost;
    zkInit();
    gc_mark();
    zkMain();
    *app = static_cast<c_MyApp*>(zk_app__app);
    (*host)->StartGame();
    (*host)->RenderGame();
    return window;
}
