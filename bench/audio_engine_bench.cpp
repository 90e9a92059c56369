// bench/audio_engine_bench.cpp: the per-call costs the game pays in the audio engine and the saved state.
//   play_effect  what one sound effect costs the game: stop, play, rate, volume, pan on a channel of the
//                24-channel ring, with OpenAL Soft mixing to its null output
//   save_state   one atomic save of a saved-state-sized text (written, synced, renamed), as after a game
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "harness/scratch.h"
#include "harness/wav.h"
#include "host/game.h"
#include "media/audio.h"

namespace {

const int kEffectChannels = 24;   // the game rotates its effects over this many channels

zk_test::ScratchDir& scratch() {
    static zk_test::ScratchDir dir("zk_audio_bench");
    return dir;
}

// 0.1 s of 16-bit mono noise at 22050 Hz, as a WAV file.
std::string effect_file() {
    std::string pcm;
    for (int i = 0; i < 2205; ++i) pcm += char(i * 31), pcm += char(i * 17);
    return zk_test::write_wav(scratch() / "effect.wav", zk_test::wav_mono16(22050, pcm));
}

ZKGlfwGame& host() {
    static ZKGlfwGame* game = [] {
        setenv("ALSOFT_DRIVERS", "null", 1);
        gc_init1();
        return new ZKGlfwGame();
    }();
    return *game;
}

void play_effect(benchmark::State& state) {
    host();
    static gxtkAudio* audio = new gxtkAudio();
    gxtkSample* sample = audio->LoadSample(String(effect_file().c_str()));
    if (!sample) {
        state.SkipWithError("no sample");
        return;
    }
    int channel = 0;
    for (auto _ : state) {
        channel = (channel + 1) % kEffectChannels;
        audio->StopChannel(channel);
        audio->PlaySample(sample, channel, 0);
        audio->SetRate(channel, 1.0f);
        audio->SetVolume(channel, 1.0f);
        audio->SetPan(channel, 0.0f);
    }
    for (int i = 0; i < kEffectChannels; ++i) audio->StopChannel(i);
}

void save_state(benchmark::State& state) {
    std::string text;
    for (int i = 0; i < 203; ++i) text += std::to_string(i * 7919 % 100000) + ",";   // 203 numbers
    String saved(text.c_str());
    if (!scratch().Enter()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(host().SaveState(saved));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    if (!scratch().Leave()) state.SkipWithError("cannot return to the working folder");
}

}  // namespace

BENCHMARK(play_effect)->Unit(benchmark::kMicrosecond);
BENCHMARK(save_state)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
