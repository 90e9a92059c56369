// A fresh audio engine per test on real OpenAL Soft, its wave writer capturing into AudioPath("").
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "harness/scratch.h"
#include "harness/wav.h"
#include "host/game.h"
#include "media/audio.h"
#include "tests/common/capture.h"
#include "tests/common/collector.h"

namespace zk_test {

inline std::string AudioPath(const std::string& name) {
    static ScratchDir dir("zk_audio");
    return dir / name;
}

// The wave writer mixes in real time.
template <class Done>
bool WaitFor(Done done) {
    for (int i = 0; i < 3000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return done();
}

inline gxtkAudio* engine_root = nullptr;

class Engine : public ::testing::Test {
protected:
    static constexpr int kSources = 8;   // few, so that running out of them is within reach

    static void SetUpTestSuite() {   // one OpenAL configuration per process, read at its first device
        UseWaveWriter(AudioPath(""));
        std::ofstream(AudioPath("alsoft.conf"), std::ios::app) << "[general]\nsources = " << kSources << "\n";
        gc_init1(), gc_root(engine_root), gc_init2();
        new ZKGlfwGame();   // the host that reads sound files
    }
    void SetUp() override { Open(); }
    void TearDown() override { Close(); }
    void Open() {
        gc_assign(engine_root, audio = new gxtkAudio());
        ASSERT_NE(audio->alcContext, nullptr);
    }
    // No buffer name of a closed device may reach the next one; ending the device completes the capture.
    Capture Close() {
        if (!audio || !audio->alcDevice) return Capture();   // none, or already closed
        for (int i = 0; i < gxtkAudio::kChannels; ++i) audio->StopChannel(i);
        CollectEverything();
        audio->LoadSample(String());   // flushes the discard list, making an empty sample for nothing
        CollectEverything();           // which goes now, not in the next test's collection
        EXPECT_EQ(gxtkAudio::DiscardPending(), 0);
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(audio->alcContext), alcCloseDevice(audio->alcDevice);
        audio->alcDevice = nullptr;
        return ReadCapture(AudioPath(""));
    }
    ALint AlState(int channel) {
        ALint state = 0;
        alGetSourcei(audio->channels[channel].source, AL_SOURCE_STATE, &state);
        return state;
    }

    gxtkAudio* audio = nullptr;
};

}   // namespace zk_test
