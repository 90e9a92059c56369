// The application module against a scripted host: display modes, the device size, the delegate's update
// and suspend sequences, the back and close keys, one application only, and async events.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "framework/app.h"
#include "framework/input.h"
#include "media/audio.h"
#include "tests/common/collector.h"

namespace {

std::vector<std::string> journal;   // what the app and the audio engine were asked, in order

struct ScriptedHost : ZKGame {
    std::vector<std::pair<int, int>> modes;
    int width = 640, height = 480;
    Array<ZKDisplayMode*> GetDisplayModes() override {
        Array<ZKDisplayMode*> out(int(modes.size()));
        for (int i = 0; i < out.Length(); ++i) {
            gc_assign(out[i], new ZKDisplayMode());
            out[i]->width = modes[i].first, out[i]->height = modes[i].second;
        }
        return out;
    }
    ZKDisplayMode* GetDesktopMode() override { return nullptr; }
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
};

struct JournalApp : c_App {
    int p_OnSuspend() override { return journal.push_back("OnSuspend"), 0; }
    int p_OnResume() override { return journal.push_back("OnResume"), 0; }
    int p_OnUpdate() override {
        journal.push_back("hits " + std::to_string(zk_input_KeyHit(65)) + " width " + std::to_string(zk_app_DeviceWidth()));
        return 0;
    }
};

// The audio engine with OpenAL left out: it only reports the calls.
struct JournalAudio : gxtkAudio {
    int Suspend() override { return journal.push_back("audio Suspend"), 0; }
    int Resume() override { return journal.push_back("audio Resume"), 0; }
};

class App : public ::testing::Test {
protected:
    App() {
        zk_test::StartCollectorOnce();
        journal.clear();
        zk_app_init();
        zk_input_init();
        zk_asyncevent_init();
    }
    // The application, registered, with a delegate holding an input device.
    c_GameDelegate* Registered() {
        (new JournalApp())->m_new();
        c_GameDelegate* d = zk_app__delegate;
        gc_assign(d->m__input, (new c_InputDevice())->m_new());
        zk_input_SetInputDevice(d->m__input);
        return d;
    }

    ScriptedHost host;
};

TEST_F(App, DisplayModesKeepOneEntryPerSizeAndWithoutADesktopItIsTheWindow) {
    host.modes = {{640, 480}, {800, 600}, {640, 480}, {640, 600}, {800, 600}};
    zk_app_ValidateDeviceWindow(false);
    zk_app_EnumDisplayModes();
    std::vector<std::pair<int, int>> got;
    for (int i = 0; i < zk_app__displayModes.Length(); ++i)
        got.emplace_back(zk_app__displayModes[i]->m_width, zk_app__displayModes[i]->m_height);
    EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{640, 480}, {800, 600}, {640, 600}}));
    EXPECT_EQ(zk_app__desktopMode->m_width * 10000 + zk_app__desktopMode->m_height, 6400480);
}

TEST_F(App, AnUpdateRefreshesTheSizeAndSeesEachHitOnce) {
    c_GameDelegate* d = Registered();
    d->KeyEvent(kEventKeyDown, 65);
    d->KeyEvent(kEventKeyUp, 65);
    d->UpdateGame();
    host.width = 800;
    d->UpdateGame();
    EXPECT_EQ(journal, (std::vector<std::string>{"hits 1 width 640", "hits 0 width 800"}));
}

TEST_F(App, SuspendTellsTheGameFirstAndResumeTellsItLast) {
    c_GameDelegate* d = Registered();
    gc_assign(d->m__audio, new JournalAudio());
    d->SuspendGame();
    d->ResumeGame();
    EXPECT_EQ(journal, (std::vector<std::string>{"OnSuspend", "audio Suspend", "audio Resume", "OnResume"}));
}

TEST_F(App, TheCloseAndBackKeysEndTheProgramOnTheirPressOnlyAndASecondAppIsAnError) {
    c_GameDelegate* d = Registered();
    EXPECT_EXIT((d->KeyEvent(kEventKeyUp, kKeyClose), d->KeyEvent(kEventKeyChar, kKeyBack), std::_Exit(7)),
                ::testing::ExitedWithCode(7), "");   // a release or a character ends nothing
    EXPECT_EXIT(d->KeyEvent(kEventKeyDown, kKeyClose), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(d->KeyEvent(kEventKeyDown, kKeyBack), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            if (!std::freopen("/dev/null", "r", stdin)) std::_Exit(3);   // no debugger: the error ends it
            (new JournalApp())->m_new();
        },
        ::testing::ExitedWithCode(255), "");
}

// A source that counts its calls and, when told to, removes itself while it runs.
struct CountingSource : Object, c_IAsyncEventSource {
    int calls = 0;
    bool leave = false;
    void p_UpdateAsyncEvents() override {
        ++calls;
        if (!leave) return;
        c_Stack3* s = zk_asyncevent__sources;   // the stack shifts down: the next source must not be skipped
        for (int i = 0; i + 1 < s->m_length; ++i) gc_assign(s->m_data[i], s->m_data[i + 1]);
        s->p_Length(s->m_length - 1);
        zk_asyncevent__current = nullptr;
    }
};

TEST_F(App, AsyncEventsRunEachSourceOnceAndSurviveASourceRemovingItself) {
    CountingSource* a = new CountingSource();
    CountingSource* b = new CountingSource();
    a->leave = true;
    c_Stack3* s = zk_asyncevent__sources;
    s->p_Length(2);
    gc_assign(s->m_data[0], static_cast<c_IAsyncEventSource*>(a));
    gc_assign(s->m_data[1], static_cast<c_IAsyncEventSource*>(b));
    zk_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(a->calls * 10 + b->calls, 11);
    EXPECT_EQ(s->p_Length2(), 1);
}

}  // namespace
