// tests/game/myapp_fixture.h: the real game object, once per process, in a hidden window with the real data,
// driven by a test host; read back as display-list commands, text lines and the effects played.
#pragma once

#include <gtest/gtest.h>

#include <AL/al.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "framework/random.h"
#include "harness/game_host.h"
#include "media/audio.h"

class GameEnvironment : public ::testing::Environment {
public:
    static TestGame* game;
    static int jingleChannelMoves;   // how far the first loader pass moved the effect channel cursor

    void SetUp() override {
        // The game quits through exit(0): inside a test that would end the process as a pass unseen.
        std::atexit([] {
            if (!::testing::UnitTest::GetInstance()->current_test_info()) return;
            std::fprintf(stderr, "the game quit in the middle of a test\n");
            std::_Exit(1);
        });
        game = new TestGame();
        const int cursor = game->app->m_channelCursor;
        game->FinishLoading();
        jingleChannelMoves = game->app->m_channelCursor - cursor;
    }
};

inline TestGame* GameEnvironment::game = nullptr;
inline int GameEnvironment::jingleChannelMoves = 0;
inline ::testing::Environment* const kGameEnvironment = ::testing::AddGlobalTestEnvironment(new GameEnvironment);

using Ints = std::vector<int>;
using Floats = std::vector<float>;

// Each test starts in the menu with nothing held, the loader idle and the window at 800 x 600.
class Game : public ::testing::Test {
protected:
    TestHost* host = nullptr;
    c_MyApp* app = nullptr;

    void SetUp() override {
        host = GameEnvironment::game->host;
        app = GameEnvironment::game->app;
        for (int key = 1; key < kKeyCount; ++key)
            if (zk_input_KeyDown(key)) host->KeyEvent(kEventKeyUp, key);
        host->MouseEvent(kEventMouseUp, 0, 0, 0);
        host->padPresent = true, host->padX = host->padY = 0;   // an absent pad keeps its last axes
        host->width = 800, host->height = 600;
        zk_Dravo_overscan = 0;
        if (zk_Dravo_iCadeControls) app->p_iCade(0);
        Frame();
        host->padPresent = false;
        GameEnvironment::game->FinishLoading();
        app->m_mode = 1;
        app->m_paused = app->m_optionsOpen = app->m_creditsOpen = app->m_keyHeld = app->m_touchHeld = 0;
        app->m_hideHud = app->m_controlStyle = zk_Dravo_DebugMode = 0;
        app->m_options[kOptionSound] = 1;
        Frame();
    }

    void Frame() { GameEnvironment::game->Frame(); }
    // Screens drawn over play do not empty the display list (play does).
    void Step() { app->m_drawCount = 0, Frame(); }
    void Update() { GameEnvironment::game->Update(); }   // an update without its render
    void Press(int key) { host->KeyEvent(kEventKeyDown, key); }
    void Release(int key) { host->KeyEvent(kEventKeyUp, key); }
    void Key(int key, int held = 1) {   // down for `held` steps, then up for one
        Press(key);
        for (int i = 0; i < held; ++i) Step();
        Release(key), Step();
    }
    void Tap(float x, float y) {   // pointer down at a device position (design pixels at 800 x 600)
        host->MouseEvent(kEventMouseMove, 0, x, y), host->MouseEvent(kEventMouseDown, 0, x, y);
    }
    void Untap() { host->MouseEvent(kEventMouseUp, 0, 0, 0); }
    void Click(float x, float y) { Tap(x, y), Step(), Untap(), Step(); }
    // Starts a game of the given type from a known seed and runs `updates` updates of it.
    void StartGame(int type, int seed = 77, int updates = 0) {
        zk_random_Seed = seed, app->m_gameType = type, app->m_mode = 11;
        Frame();
        for (int i = 0; i < updates; ++i) Update();
    }
    float* Record(int r) { return &app->m_objects[r * kRecordFloats]; }
    float* Particle(int r) { return &app->m_particles[r * kRecordFloats]; }

    // The effects played since the channel cursor stood at `mark`, oldest first, as OpenAL has them: the
    // sound slot (-1 for none), pitch and gain of each.
    Floats Played(int mark) const {
        Floats out;
        for (int c = mark; c != app->m_channelCursor;) {
            c = (c + 1) % 24;
            const gxtkChannel& ch = zk_audio_device->channels[app->m_channels[c]];
            float sound = -1, rate = 0, volume = 0;
            for (int n = 0; n < 100; ++n)
                if (app->m_sounds[n] && app->m_sounds[n]->m_sample == ch.sample) sound = n;
            alGetSourcef(ch.source, AL_PITCH, &rate);
            alGetSourcef(ch.source, AL_GAIN, &volume);
            out.insert(out.end(), {sound, rate, volume});
        }
        return out;
    }

    struct Cmd {
        float kind, x, y, rot, w, h, frame, alpha, red, green, blue;
    };
    std::vector<Cmd> Commands(int from = 0) const {
        std::vector<Cmd> out;
        for (int n = from; n < app->m_drawCount; n += kCommandFloats) {
            const float* c = app->m_drawList.Data() + n;
            out.push_back({c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[10], c[11], c[12]});
        }
        return out;
    }
    template <class F> int Count(F match) const {
        const std::vector<Cmd> all = Commands();
        return static_cast<int>(std::count_if(all.begin(), all.end(), match));
    }
    // The glyphs `keep` picks from command `from` on, as lines top to bottom (spaces draw nothing).
    struct Line {
        std::string text;
        float y, alpha;
    };
    template <class F> std::vector<Line> Text(F keep, int from = 0) const {
        std::vector<Line> lines;
        for (const Cmd& c : Commands(from)) {
            if (c.kind != app->m_fontSlot || !keep(c)) continue;
            auto same = std::find_if(lines.begin(), lines.end(), [&](const Line& l) { return l.y == c.y; });
            if (same == lines.end()) same = lines.insert(lines.end(), {"", c.y, c.alpha});
            same->text += static_cast<char>(c.frame + 32);
        }
        std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.y < b.y; });
        return lines;
    }
    std::vector<Line> Text(int from = 0) const { return Text([](const Cmd&) { return true; }, from); }
};
