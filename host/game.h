// host/game.h: the native host game classes.
//
// ZKGame is the host seen by the framework: timing, files and saved state, joysticks, the window's size
// and display modes, and the guarded forwarders that carry every lifecycle and input call to the game's
// delegate. ZKGlfwGame implements it on GLFW (window, OpenGL context, event pump, fixed-rate loop);
// ZKZanthGame is the concrete class the entry point creates. Host objects are plain heap objects, outside
// the collector; exactly one exists, reachable through ZKGame::_game.
//
// Failure is reported as a negative int (-1 cannot open, -2 short write) or a null/empty result; host
// operations never throw. Every forwarder catches ThrowableObject pointers from the game and calls Die.
//
// Where each operation lives:
//   host/game.cpp        ZKGame base behaviour, accessors and the guarded forwarders
//   host/files.cpp       paths, OpenFile, LoadString, LoadData, saved state, GetDate, OpenUrl, LoadAudioData
//   host/image_data.cpp  LoadImageData (stb_image)
//   host/glfw_game.cpp   ZKGlfwGame timing and the host loop Run
//   host/window.cpp      SetGlfwWindow, display modes, swap interval, mouse cursor, window close
//   host/input.cpp       key translation, key/char/mouse callbacks, PollJoystick
//   host/program.cpp     ZKZanthGame::Main, the start-up sequence (main/main.cpp calls it)
//
// The loop (ZKGlfwGame::Run) reaches the platform only through the protected hooks Now, SleepFor,
// PumpEvents, WindowOpen, WindowActive and SwapWindowBuffers, so a test can subclass ZKGlfwGame with a
// fake clock and drive the real scheduling pass by pass (RunPass).
#pragma once

#include <cstdio>
#include <string>

#include "runtime/array.h"
#include "runtime/error.h"
#include "runtime/gc.h"
#include "runtime/string.h"

// Event codes passed from the host through the delegate to the input device.
enum {
    kEventKeyDown = 1, kEventKeyUp, kEventKeyChar, kEventMouseDown, kEventMouseUp, kEventMouseMove,
    kEventTouchDown, kEventTouchUp, kEventTouchMove, kEventMotionAccel
};

// Buttons per joystick in PollJoystick's button array; the framework's key space gives each pad as many.
const int kJoyButtonCount = 32;
// The key code the close button sends (a press and a release); the framework ends the program on it.
const int kKeyClose = 432;

struct GLFWwindow;
struct OggStream;

// Incremented each time a window (an OpenGL context) is opened, whether or not the open succeeded.
// The renderer and the surfaces compare it to notice that their OpenGL objects are gone.
extern int glfwGraphicsSeq;

// Receiver of every lifecycle and input call; the framework's c_GameDelegate overrides all of them.
struct ZKGameDelegate : Object {
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int /*event*/, int /*data*/) {}
    virtual void MouseEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void TouchEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
    virtual void MotionEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/, float /*z*/) {}
    virtual void DiscardGraphics() {}
};

// A screen mode as the framework sees it; this host fills only width and height.
struct ZKDisplayMode : Object {
    int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
};

// A screen mode with its colour bits as GLFW reports them.
struct ZKGlfwVideoMode : Object {
    int width = 0, height = 0, red = 0, green = 0, blue = 0;
};

class ZKGame {
public:
    ZKGame();
    virtual ~ZKGame() {}

    virtual void SetDelegate(ZKGameDelegate* delegate) { _delegate = delegate; }
    virtual ZKGameDelegate* Delegate() { return _delegate; }
    virtual void SetKeyboardEnabled(bool enabled) { _keyboardEnabled = enabled; }
    virtual bool KeyboardEnabled() { return _keyboardEnabled; }
    virtual void SetUpdateRate(int hertz) { _updateRate = hertz; }
    virtual int UpdateRate() { return _updateRate; }
    virtual bool Started() { return _started; }
    virtual bool Suspended() { return _suspended; }
    virtual int Millisecs() { return 0; }
    virtual void GetDate(Array<int> date);
    virtual int SaveState(String state);
    virtual String LoadState();
    virtual String LoadString(String path);
    virtual bool PollJoystick(int /*port*/, Array<float> /*joyx*/, Array<float> /*joyy*/, Array<float> /*joyz*/,
                              Array<bool> /*buttons*/) { return false; }
    virtual void OpenUrl(String /*url*/) {}
    virtual void SetMouseVisible(bool /*visible*/) {}
    virtual int GetDeviceWidth() { return 0; }
    virtual int GetDeviceHeight() { return 0; }
    virtual void SetDeviceWindow(int /*width*/, int /*height*/, int /*flags*/) {}
    virtual Array<ZKDisplayMode*> GetDisplayModes() { return Array<ZKDisplayMode*>(); }
    virtual ZKDisplayMode* GetDesktopMode() { return nullptr; }
    virtual void SetSwapInterval(int /*interval*/) {}
    virtual String PathToFilePath(String path) { return path; }
    virtual FILE* OpenFile(String path, String mode);
    virtual unsigned char* LoadData(String path, int* length);
    virtual unsigned char* LoadImageData(String /*path*/, int* /*width*/, int* /*height*/, int* /*depth*/) { return nullptr; }
    virtual unsigned char* LoadAudioData(String /*path*/, int* /*length*/, int* /*channels*/, int* /*format*/, int* /*hertz*/) {
        return nullptr;
    }
    // A sound file opened to be decoded a slice at a time (codecs/audio_decode.h), or null when it is not
    // one the host streams or cannot be opened; the caller then loads it whole with LoadAudioData.
    virtual OggStream* OpenAudioStream(String /*path*/, int* /*channels*/, int* /*hertz*/) { return nullptr; }
    [[noreturn]] virtual void Die(ThrowableObject* ex);
    virtual void gc_collect();
    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();

    static ZKGame* _game;

protected:
    ZKGameDelegate* _delegate = nullptr;
    bool _keyboardEnabled = false;
    int _updateRate = 0;   // updates per second; 0 means one update per rendered frame
    bool _started = false;
    bool _suspended = false;
    // Forwarded calls now running. A forwarder reached from inside another (the key releases a window
    // replacement sends from inside an update) skips its collector step: objects the game holds only in
    // local variables must survive until the outer call returns.
    int _gameCalls = 0;
};

class ZKGlfwGame : public ZKGame {
public:
    ZKGlfwGame();

    void SetUpdateRate(int hertz) override;
    int Millisecs() override;
    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                      Array<bool> buttons) override;
    void OpenUrl(String url) override;
    void SetMouseVisible(bool visible) override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    void SetDeviceWindow(int width, int height, int flags) override;
    Array<ZKDisplayMode*> GetDisplayModes() override;
    ZKDisplayMode* GetDesktopMode() override;
    void SetSwapInterval(int interval) override;
    String PathToFilePath(String path) override;
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) override;
    OggStream* OpenAudioStream(String path, int* channels, int* hertz) override;

    virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                               int stencil, bool fullscreen);
    virtual ZKGlfwVideoMode* GetGlfwDesktopMode();
    virtual Array<ZKGlfwVideoMode*> GetGlfwVideoModes();
    virtual void Run();

    // One pass of the loop: render, sleep until due, pump events, follow focus, 0 to 4 updates.
    void RunPass();
    // Its last steps. FollowFocus suspends or resumes the game with the window's focus and answers
    // whether the game runs; RunUpdates runs the due updates, at least one (the pass has slept until
    // the first was due), at most four. The browser's frame (host/web.cpp) calls them without sleeping.
    bool FollowFocus();
    void RunUpdates();
    // The current window, null when none is open.
    GLFWwindow* Window() const { return _window; }
    // Why the last window could not be opened, as GLFW said it; empty while a window is open.
    const std::string& WindowError() const { return _windowError; }
    // The window's size in screen coordinates; GetDeviceWidth and GetDeviceHeight give its framebuffer.
    int WindowWidth() const { return _windowWidth; }
    int WindowHeight() const { return _windowHeight; }

    static ZKGlfwGame* _glfwGame;

protected:
    friend struct WebHost;   // the browser's frame (host/web.cpp) keeps the schedule and the sizes

    // Platform hooks of the loop; the GLFW versions are in glfw_game.cpp.
    virtual double Now();                 // seconds on the glfwGetTime clock
    virtual void SleepFor(double seconds);
    virtual void PumpEvents(bool wait);   // wait: block until at least one event arrived
    virtual bool WindowOpen();
    virtual bool WindowActive();          // focused and not minimised
    virtual void SwapWindowBuffers();

    // Sends KeyUp for every translated key GLFW reports held (before the window goes away).
    void ReleaseHeldKeys();

    double _updatePeriod = 0.0;   // seconds between updates
    double _nextUpdate = 0.0;     // Now() when the next update is due; 0.0: no schedule running
    int _swapInterval = -1;       // applied to each new window when not negative
    GLFWwindow* _window = nullptr;
    std::string _windowError;
    // Sizes of the open window (0 without one): read once when it opens, then kept by GLFW's size
    // callbacks, which run in the event pump. Every size question is answered from here, so a frame
    // never waits for the X server to report a size.
    int _windowWidth = 0, _windowHeight = 0;
    int _framebufferWidth = 0, _framebufferHeight = 0;
    bool _mouseVisible = true;    // re-applied to each new window
};

class ZKZanthGame : public ZKGlfwGame {
public:
    // The program from GLFW to the end of the loop, with the game's start-up functions: `init` gives
    // the module globals their start values, `main` creates the application. Returns the exit status
    // when the loop ends without the game ending the program: 1, the window could not be opened (the
    // reason is printed on standard error); 0, no application was created.
    static int Main(int argc, const char** argv, void (*init)(), int (*main)());
};
