// The application module against a scripted host: display modes, the device size cache, the delegate's
// update, suspend and resume sequences, the back and close keys, one application only, async events.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "framework/app.h"
#include "framework/input.h"
#include "media/audio.h"
#include "tests/common/collector.h"

namespace {

std::vector<std::string> journal;   // what the app, the audio engine and the host were asked, in order

struct ScriptedHost : ZKGame {
    std::vector<std::pair<int, int>> modes;
    bool hasDesktop = true;
    int width = 640, height = 480;

    Array<ZKDisplayMode*> GetDisplayModes() override {
        Array<ZKDisplayMode*> out(static_cast<int>(modes.size()));
        for (int i = 0; i < out.Length(); ++i) {
            ZKDisplayMode* m = new ZKDisplayMode();
            m->width = modes[i].first, m->height = modes[i].second, m->depth = i;
            gc_assign(out[i], m);
        }
        return out;
    }
    ZKDisplayMode* GetDesktopMode() override {
        if (!hasDesktop) return nullptr;
        ZKDisplayMode* m = new ZKDisplayMode();
        m->width = 1920, m->height = 1080;
        return m;
    }
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
    void SetUpdateRate(int hertz) override {
        journal.push_back("host rate " + std::to_string(hertz));
        ZKGame::SetUpdateRate(hertz);
    }
};

struct JournalApp : c_App {
    int p_OnSuspend() override { return journal.push_back("OnSuspend"), 0; }
    int p_OnResume() override { return journal.push_back("OnResume"), 0; }
    int p_OnUpdate() override {
        journal.push_back("OnUpdate hits " + std::to_string(zk_input_KeyHit(65)) + " size " +
                          std::to_string(zk_app_DeviceWidth()) + "x" + std::to_string(zk_app_DeviceHeight()));
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

    // The application, registered, with a delegate holding an input device (and optionally audio).
    c_GameDelegate* Registered() {
        (new JournalApp())->m_new();
        c_GameDelegate* d = zk_app__delegate;
        gc_assign(d->m__input, (new c_InputDevice())->m_new());
        zk_input_SetInputDevice(d->m__input);
        return d;
    }

    ScriptedHost host;
};

TEST_F(App, DisplayModesKeepOneEntryPerSizeInFirstSeenOrder) {
    host.modes = {{640, 480}, {800, 600}, {640, 480}, {1024, 768}, {800, 600}, {600, 800}};
    zk_app_EnumDisplayModes();
    std::vector<std::pair<int, int>> got;
    for (int i = 0; i < zk_app__displayModes.Length(); ++i)
        got.emplace_back(zk_app__displayModes[i]->m_width, zk_app__displayModes[i]->m_height);
    EXPECT_EQ(got, (std::vector<std::pair<int, int>>{{640, 480}, {800, 600}, {1024, 768}, {600, 800}}));
    EXPECT_EQ(zk_app__desktopMode->m_width, 1920);
    EXPECT_EQ(zk_app__desktopMode->m_height, 1080);
}

TEST_F(App, WithoutModesOrDesktopTheListIsEmptyAndTheDesktopIsTheWindow) {
    host.hasDesktop = false;
    zk_app_ValidateDeviceWindow(false);
    zk_app_EnumDisplayModes();
    EXPECT_EQ(zk_app__displayModes.Length(), 0);
    EXPECT_EQ(zk_app__desktopMode->m_width, 640);
    EXPECT_EQ(zk_app__desktopMode->m_height, 480);
}

TEST_F(App, TheDeviceSizeCacheFollowsTheHostEvenWhenOnlyOneSideChanges) {
    EXPECT_EQ(zk_app_DeviceWidth(), 0);   // nothing read before the game starts
    zk_app_ValidateDeviceWindow(true);
    EXPECT_EQ(zk_app_DeviceWidth(), 640);
    host.height = 500;
    zk_app_ValidateDeviceWindow(false);
    EXPECT_EQ(zk_app_DeviceWidth(), 640);
    EXPECT_EQ(zk_app_DeviceHeight(), 500);
}

TEST_F(App, UpdateRateIsStoredAndPassedToTheHost) {
    zk_app_SetUpdateRate(60);
    EXPECT_EQ(zk_app__updateRate, 60);
    EXPECT_EQ(host.UpdateRate(), 60);
    EXPECT_EQ(journal, std::vector<std::string>{"host rate 60"});
}

TEST_F(App, AnUpdateRefreshesTheSizeAndSeesEachHitOnce) {
    c_GameDelegate* d = Registered();
    d->KeyEvent(kEventKeyDown, 65);
    d->KeyEvent(kEventKeyUp, 65);
    d->UpdateGame();
    host.width = 800;
    d->UpdateGame();
    EXPECT_EQ(journal, (std::vector<std::string>{"OnUpdate hits 1 size 640x480", "OnUpdate hits 0 size 800x480"}));
}

TEST_F(App, SuspendTellsTheGameFirstAndResumeTellsItLast) {
    c_GameDelegate* d = Registered();
    gc_assign(d->m__audio, new JournalAudio());
    d->SuspendGame();
    d->ResumeGame();
    EXPECT_EQ(journal, (std::vector<std::string>{"OnSuspend", "audio Suspend", "audio Resume", "OnResume"}));
}

TEST_F(App, TheCloseAndBackKeysEndTheProgramWithStatusZeroOnTheirPressOnly) {
    c_GameDelegate* d = Registered();
    d->KeyEvent(kEventKeyUp, kKeyClose);   // a release alone ends nothing
    d->KeyEvent(kEventKeyChar, kKeyClose);
    EXPECT_EXIT(d->KeyEvent(kEventKeyDown, kKeyClose), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(d->KeyEvent(kEventKeyDown, kKeyBack), ::testing::ExitedWithCode(0), "");
}

TEST_F(App, ASecondApplicationIsARuntimeError) {
    Registered();
    EXPECT_EXIT(
        {
            std::freopen("/dev/null", "r", stdin);   // no debugger attached: the error ends the program
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
        // Remove self: the stack shifts down and the dispatcher must not skip the next source.
        c_Stack3* s = zk_asyncevent__sources;
        for (int i = 0; i + 1 < s->m_length; ++i) gc_assign(s->m_data[i], s->m_data[i + 1]);
        s->p_Length(s->m_length - 1);
        zk_asyncevent__current = nullptr;
    }
};

TEST_F(App, AsyncEventsRunEachSourceOnceAndSurviveASourceRemovingItself) {
    EXPECT_EQ(zk_asyncevent_UpdateAsyncEvents(), 0);   // no sources: nothing to do
    CountingSource* a = new CountingSource();
    CountingSource* b = new CountingSource();
    a->leave = true;
    c_Stack3* s = zk_asyncevent__sources;
    s->p_Length(2);
    gc_assign(s->m_data[0], static_cast<c_IAsyncEventSource*>(a));
    gc_assign(s->m_data[1], static_cast<c_IAsyncEventSource*>(b));
    zk_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(a->calls, 1);
    EXPECT_EQ(b->calls, 1);
    EXPECT_EQ(s->p_Length2(), 1);
    EXPECT_EQ(zk_asyncevent__current, nullptr);
}

}  // namespace
