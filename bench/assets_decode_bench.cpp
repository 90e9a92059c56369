// bench/assets_decode_bench.cpp: whole-file decoding of the generated tunes and a sound effect through
// the game's own loaders, the work a game start and the loader do.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "codecs/audio_decode.h"

static void decode(benchmark::State& state, const char* name, bool ogg) {
    std::string path = std::string(ZK_BENCH_DATA_DIR) + "/" + name;
    for (auto _ : state) {
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) { state.SkipWithError("data file missing"); return; }
        int length = 0, channels = 0, format = 0, hertz = 0;
        unsigned char* pcm = ogg ? LoadOGG(f, &length, &channels, &format, &hertz)
                                 : LoadWAV(f, &length, &channels, &format, &hertz);
        std::fclose(f);
        if (!pcm) { state.SkipWithError("decode failed"); return; }
        benchmark::DoNotOptimize(pcm);
        std::free(pcm);
        state.counters["seconds_of_audio"] = double(length) / hertz;
    }
}

BENCHMARK_CAPTURE(decode, tune_30, "sfx/30.ogg", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode, tune_20, "sfx/20.ogg", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode, tune_10, "sfx/10.ogg", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode, jingle_096, "sfx/096.wav", false)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
