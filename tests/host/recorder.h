// A game delegate that logs each call the host forwards ("key down 65"); an update runs `onUpdate`.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/game.h"

using Log = std::vector<std::string>;

struct Recorder : ZKGameDelegate {
    Log* log = nullptr;
    std::function<void()> onUpdate;

    explicit Recorder(Log* into) : log(into) {}
    void StartGame() override { log->push_back("start"); }
    void SuspendGame() override { log->push_back("suspend"); }
    void ResumeGame() override { log->push_back("resume"); }
    void UpdateGame() override {
        log->push_back("update");
        if (onUpdate) onUpdate();
    }
    void RenderGame() override { log->push_back("render"); }
    void KeyEvent(int event, int data) override { put(event, std::to_string(data)); }
    void MouseEvent(int event, int data, float x, float y) override {
        put(event, (event == kEventMouseMove ? "" : std::to_string(data) + " ") + std::to_string(int(x)) +
                       " " + std::to_string(int(y)));
    }
    void TouchEvent(int event, int data, float, float) override { put(event, std::to_string(data)); }
    void MotionEvent(int event, int data, float, float, float) override { put(event, std::to_string(data)); }
    void DiscardGraphics() override { log->push_back("discard"); }

private:
    void put(int event, const std::string& what) {
        static const char* const kNames[] = {"",           "key down",   "key up",     "key char",
                                             "mouse down", "mouse up",   "mouse move", "touch down",
                                             "touch up",   "touch move", "motion"};
        log->push_back(std::string(kNames[event]) + " " + what);
    }
};

inline int Count(const Log& log, const std::string& text) {
    int n = 0;
    for (const std::string& line : log) n += line.rfind(text, 0) == 0;
    return n;
}
