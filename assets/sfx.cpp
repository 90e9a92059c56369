// assets/sfx.cpp: the sound effects, one function per sound number, each designed for where the game
// plays it. All are mono 44.1 kHz, peak-normalised to -1 dBFS and faded at both ends.
//   001 a coin blip (loaded, never played)       095 a rising power-up (loaded, never played)
//   002 the swing: a crisp club "tock" trailing into a whoosh (played at rates 0.8..1.2)
//   003 the bounce on a monster: a rubbery boing; the game raises its rate 0.7..2 with every bounce,
//       so it is pitched low enough to stay pleasant at twice the speed
//   004 the peg's extra knock, layered on 003: a short woody tok
//   005 the ball's splash: a deep bloop, a splash of water and a few droplets
//   006 the peg's splash: a smaller, higher plip
//   007 the clock tick, played once a second at volume 0.15: a soft, short wooden tick
//   008, 009 the power meter turning at the bottom and the top: a low and a high square blip
//   096 the logo jingle: a rising arpeggio landing on a bright major chord
//   098 the start and pause chime, played at rates 0.5..1.2: a two-note FM bell
//   099 the menu click: a tiny bright blip
#include <cmath>
#include <cstdio>
#include <string>

#include "audio.h"
#include "synth.h"

namespace {

constexpr double kPeak = 0.89;  // -1 dBFS: headroom for the mixer

Env perc(double decay, double length, double attack = 0.001) {
    Env e;
    e.attack = attack; e.decay = decay; e.sustain = 0; e.length = length; e.release = 0.01;
    return e;
}

Buffer coin() {
    Synth s(kSfxRate, 0.32);
    Env e = perc(0.08, 0.07);
    add_pulse(s, 0.0, e, 0.5, 83, 0.5);
    e.length = 0.22; e.decay = 0.12;
    add_pulse(s, 0.07, e, 0.5, 88, 0.5);
    finish(s, kPeak, 0.002, 0.02);
    return s.out;
}

Buffer swing() {
    Synth s(kSfxRate, 0.5);
    Rng rng(2);
    // the club meets the ball: two stiff modes and a click
    add_tone(s, 0, perc(0.018, 0.08), 0.7, [](double) { return 1850.0; }, [](double p, double) { return std::sin(2 * M_PI * p); });
    add_tone(s, 0, perc(0.03, 0.1), 0.4, [](double) { return 720.0; }, [](double p, double) { return std::sin(2 * M_PI * p); });
    add_noise(s, 0, perc(0.006, 0.02), 0.8, rng, [](double) { return 4000.0; }, 1.2);
    // the whoosh of the follow-through: band-passed noise sweeping up and back down
    Env w; w.attack = 0.09; w.decay = 0.12; w.sustain = 0; w.length = 0.38; w.release = 0.06;
    add_noise(s, 0.02, w, 0.9, rng, [](double t) { return 500 + 2600 * std::sin(M_PI * std::min(t / 0.4, 1.0)); }, 2.5);
    finish(s, kPeak, 0.0005, 0.05);
    return s.out;
}

Buffer boing() {
    Synth s(kSfxRate, 0.42);
    // a springy tone: fast upward glide, then a wobble that settles
    auto hz = [](double t) {
        double glide = 190 + 140 * (1 - std::exp(-t / 0.025));
        return glide * (1 + 0.06 * std::exp(-t / 0.12) * std::sin(2 * M_PI * 16 * t));
    };
    Env e; e.attack = 0.003; e.decay = 0.14; e.sustain = 0; e.length = 0.34; e.release = 0.06;
    add_tone(s, 0, e, 0.6, hz, [](double p, double) { return std::sin(2 * M_PI * p) + 0.3 * std::sin(4 * M_PI * p); });
    add_tone(s, 0, e, 0.18, hz, [](double p, double dp) { return pulse_blep(p, dp, 0.25); });
    add_tone(s, 0, perc(0.04, 0.08), 0.5, [](double t) { return 120 - 60 * t; }, [](double p, double) { return std::sin(2 * M_PI * p); });
    finish(s, kPeak, 0.001, 0.05);
    return s.out;
}

Buffer knock() {
    Synth s(kSfxRate, 0.14);
    Rng rng(4);
    const double modes[3][3] = {{880, 0.045, 0.6}, {1430, 0.025, 0.4}, {2350, 0.014, 0.25}};  // Hz, decay, gain
    for (auto& m : modes) {
        double f = m[0];
        add_tone(s, 0, perc(m[1], 0.12), m[2], [f](double) { return f; }, [](double p, double) { return std::sin(2 * M_PI * p); });
    }
    add_noise(s, 0, perc(0.003, 0.01), 0.6, rng, [](double) { return 3000.0; }, 1.0);
    finish(s, kPeak, 0.0005, 0.02);
    return s.out;
}

Buffer splash(double size, uint64_t seed) {
    // size 1: the ball; smaller: the peg (shorter, higher, fewer droplets)
    Synth s(kSfxRate, 0.25 + 0.4 * size);
    Rng rng(seed);
    double lo = 260 / size, hi = 800 / size;
    add_tone(s, 0, perc(0.05 * size, 0.1 * size), 0.7, [=](double t) { return lo + (hi - lo) * std::min(t / (0.06 * size), 1.0); },
             [](double p, double) { return std::sin(2 * M_PI * p); });
    Env w; w.attack = 0.01; w.decay = 0.12 * size; w.sustain = 0; w.length = 0.3 * size + 0.05; w.release = 0.08;
    add_noise(s, 0.005, w, 0.9, rng, [=](double t) { return 1800 / size - 900 * t; }, 0.8);
    int drops = int(2 + 5 * size);  // (droplets land within the noise's tail)
    for (int i = 0; i < drops; ++i) {
        double t0 = rng.range(0.06, 0.15 + 0.3 * size), f0 = rng.range(900, 1800) / std::sqrt(size);
        add_tone(s, t0, perc(0.015, 0.04), rng.range(0.15, 0.3), [=](double t) { return f0 + 12000 * t; },
                 [](double p, double) { return std::sin(2 * M_PI * p); });
    }
    trim_tail(s, 0.003, 0.03);
    finish(s, kPeak, 0.001, 0.06);
    return s.out;
}

Buffer tick() {
    Synth s(kSfxRate, 0.07);
    add_tone(s, 0, perc(0.006, 0.05), 0.7, [](double) { return 2100.0; }, [](double p, double) { return std::sin(2 * M_PI * p); });
    add_tone(s, 0, perc(0.012, 0.06), 0.5, [](double) { return 1050.0; }, [](double p, double) { return std::sin(2 * M_PI * p); });
    finish(s, kPeak, 0.0008, 0.01);
    return s.out;
}

Buffer blip(double midi, double bend) {
    Synth s(kSfxRate, 0.09);
    double f = note_hz(midi);
    Env e = perc(0.035, 0.07, 0.002);
    add_tone(s, 0, e, 0.5, [=](double t) { return f * std::pow(2.0, bend * std::min(t / 0.05, 1.0) / 12); },
             [](double p, double dp) { return pulse_blep(p, dp, 0.25); });
    finish(s, kPeak, 0.002, 0.012);
    return s.out;
}

Buffer power_up() {
    Synth s(kSfxRate, 0.5);
    for (int i = 0; i < 8; ++i) add_triangle(s, i * 0.045, perc(0.05, 0.06), 0.5, 60 + i * 3 + (i % 2) * 4);
    finish(s, kPeak, 0.002, 0.05);
    return s.out;
}

Buffer jingle() {
    Synth s(kSfxRate, 1.9);
    const int run[5] = {72, 76, 79, 84, 88};  // C E G C E, up into the chord
    for (int i = 0; i < 5; ++i) {
        Env e = perc(0.12, 0.1, 0.003);
        add_pulse(s, i * 0.09, e, 0.35, run[i], 0.25);
        add_triangle(s, i * 0.09, e, 0.3, run[i] - 12);
    }
    Env hold; hold.attack = 0.004; hold.decay = 0.45; hold.sustain = 0; hold.length = 1.3; hold.release = 0.12;
    for (int n : {84, 88, 91}) add_pulse(s, 0.45, hold, 0.22, n, 0.5, 0.15, 0.25);
    add_triangle(s, 0.45, hold, 0.5, 48);
    for (int i = 0; i < 10; ++i)  // sparkle on top
        add_bell(s, 0.5 + i * 0.07, perc(0.08, 0.12), 0.12 * (1 - i / 12.0), note_hz(96 + (i % 3) * 4), 3.5, 1.5);
    finish(s, kPeak, 0.001, 0.2);
    return s.out;
}

Buffer chime() {
    Synth s(kSfxRate, 0.9);
    Env e = perc(0.25, 0.75, 0.002);
    add_bell(s, 0, e, 0.5, note_hz(79), 2.0, 2.2);    // G5
    add_bell(s, 0.1, e, 0.5, note_hz(86), 2.0, 2.2);  // D6
    finish(s, kPeak, 0.001, 0.12);
    return s.out;
}

Buffer click() {
    Synth s(kSfxRate, 0.045);
    add_tone(s, 0, perc(0.01, 0.035), 0.6, [](double t) { return 1500 - 6000 * t; }, [](double p, double dp) { return pulse_blep(p, dp, 0.5); });
    finish(s, kPeak, 0.0008, 0.008);
    return s.out;
}

}  // namespace

void write_sound_effects(const std::string& dataDir) {
    struct Effect { int number; Buffer (*make)(); };
    const Effect effects[] = {
        {1, coin}, {2, swing}, {3, boing}, {4, knock},
        {5, [] { return splash(1.0, 5); }}, {6, [] { return splash(0.55, 6); }},
        {7, tick}, {8, [] { return blip(64, -2); }}, {9, [] { return blip(76, 2); }},
        {95, power_up}, {96, jingle}, {98, chime}, {99, click},
    };
    for (const Effect& e : effects) {
        char name[32];
        std::snprintf(name, sizeof name, "/sfx/%03d.wav", e.number);
        write_wav(dataDir + name, e.make(), kSfxRate);
    }
}
