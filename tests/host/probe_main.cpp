// host_probe: a tiny game on the real GLFW host that prints, one line each, what reaches it: host events
// as they arrive ("key down 65", "key char 97", "mouse down 0 10 20", "suspend", "resume") and, in each
// update, the input device's hits and characters ("hit 65 1", "typed 97"). F11 replaces the window from
// the next update, as the game's fullscreen switch does.
#include <GLFW/glfw3.h>

#include <cstdio>

#include "framework/app.h"
#include "framework/input.h"

namespace {

const int kF11 = 122;

void line(const char* format, int a = 0, int b = 0, int c = 0, int d = 0) {
    std::printf(format, a, b, c, d);
    std::printf("\n");
    std::fflush(stdout);
}

struct ProbeDelegate : ZKGameDelegate {
    c_InputDevice* input = nullptr;
    bool replace = false;

    void mark() override { gc_mark_q(input); }

    void StartGame() override {
        gc_assign(input, (new c_InputDevice())->m_new());
        line("start");
    }
    void SuspendGame() override { line("suspend"); }
    void ResumeGame() override { line("resume"); }
    void UpdateGame() override {
        input->p_BeginUpdate();
        for (int i = 0; i < input->m__keyHitPut; ++i) {
            int key = input->m__keyHitQueue[i];
            line("hit %d %d", key, input->p_KeyHit(key));
        }
        for (int c = input->p_GetChar(); c; c = input->p_GetChar()) line("typed %d", c);
        input->p_EndUpdate();
        if (replace) {
            replace = false;
            ZKGlfwGame::_glfwGame->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
            line("window seq %d", glfwGraphicsSeq);
        }
    }
    void KeyEvent(int event, int data) override {
        if (event == kEventKeyDown) line("key down %d", data);
        if (event == kEventKeyUp) line("key up %d", data);
        if (event == kEventKeyChar) line("key char %d", data);
        input->p_KeyEvent(event, data);
        if (event == kEventKeyDown && data == kF11) replace = true;
    }
    void MouseEvent(int event, int data, float x, float y) override {
        if (event == kEventMouseDown) line("mouse down %d %d %d", data, int(x), int(y));
        input->p_MouseEvent(event, data, x, y);
    }
};

ProbeDelegate* probe = nullptr;   // a collector root

}  // namespace

int main() {
    glfwSetErrorCallback([](int code, const char* text) { line("glfw error %d", code), std::puts(text); });
    if (!glfwInit()) {
        std::puts("glfwInit failed");
        return 1;
    }
    ZKGlfwGame* host = new ZKGlfwGame();
    zk_app__game = host;   // the framework's handle on the host, as start-up sets it
    gc_init1();
    gc_root(probe);
    gc_assign(probe, new ProbeDelegate());
    gc_mark();
    host->SetDelegate(probe);
    host->SetUpdateRate(60);
    host->Run();
    glfwTerminate();
    return 0;
}
