// assets/synth.h: the generator's small synthesiser.
// Sounds are built as float buffers (-1..1) at a given rate by adding voices into them: band-limited
// pulses and triangles, sines with pitch glides, FM bells, filtered noise, each shaped by an envelope.
// Helpers at the end bring a finished buffer to a fixed peak and fade its ends, so no sound clips and
// none starts or stops with a click.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "rng.h"

using Buffer = std::vector<float>;

struct Synth {
    int rate;
    Buffer out;
    Synth(int sampleRate, double seconds) : rate(sampleRate), out(size_t(seconds * sampleRate + 0.5), 0.f) {}
    size_t at(double t) const { return size_t(t * rate + 0.5); }
};

// Amplitude envelope: attack to 1, exponential decay with time constant `decay`, hard gate at `length`
// followed by a `release` ramp to zero. Returns the gain at time t after the note's start.
struct Env {
    double attack = 0.005, decay = 1e9, sustain = 1.0, length = 1.0, release = 0.02;
    double at(double t) const;
};

// Oscillator shapes; phase is in cycles.
double pulse_blep(double phase, double dphase, double duty);  // band-limited pulse, -1..1
double triangle(double phase);
double note_hz(double midi);

// Adds a pitched voice. `hz` gives the frequency at time t (so glides and vibrato are free-form).
void add_tone(Synth& s, double start, const Env& env, double gain, const std::function<double(double)>& hz,
              const std::function<double(double phase, double dphase)>& shape);
void add_pulse(Synth& s, double start, const Env& env, double gain, double midi, double duty,
               double vibratoDepth = 0, double vibratoDelay = 0.12);
void add_triangle(Synth& s, double start, const Env& env, double gain, double midi);
// FM bell: carrier `hz`, modulator at `ratio` times it, modulation index falling with the envelope.
void add_bell(Synth& s, double start, const Env& env, double gain, double hz, double ratio, double index);
// Noise through a resonant band-pass whose centre (Hz) follows `centre(t)`; q about 0.5..8.
void add_noise(Synth& s, double start, const Env& env, double gain, Rng& rng,
               const std::function<double(double)>& centre, double q);

// Scales the buffer so that its peak is `peak`, then fades in over `fadeIn` and out over `fadeOut`
// seconds (raised-cosine ramps to exactly zero at both ends).
void finish(Synth& s, double peak, double fadeIn, double fadeOut);

// Drops the tail after the last sample louder than `floor` times the peak (keeping `keep` seconds of it),
// so a sound ends where it is heard to end.
void trim_tail(Synth& s, double floor, double keep);

// Gentle tape-like saturation with drive `drive` (about 1..2): raises the body of a mix against its
// drum peaks without hard clipping.
void saturate(Synth& s, double drive);
