// assets/synth.cpp: voices, envelopes and finishing of the generator's synthesiser (see synth.h).
#include "synth.h"

#include <algorithm>
#include <cmath>

double Env::at(double t) const {
    if (t < 0) return 0;
    double g = t < attack ? t / attack : sustain + (1 - sustain) * std::exp(-(t - attack) / decay);
    if (t >= length) g *= std::max(0.0, 1 - (t - length) / release);
    return g;
}

// PolyBLEP residual that rounds off a unit step at phase 0 (t in cycles, dt the phase step).
static double blep(double t, double dt) {
    if (t < dt) { t /= dt; return t + t - t * t - 1; }
    if (t > 1 - dt) { t = (t - 1) / dt; return t * t + t + t + 1; }
    return 0;
}

double pulse_blep(double phase, double dphase, double duty) {
    double p = phase - std::floor(phase);
    double v = p < duty ? 1.0 : -1.0;
    v += blep(p, dphase);
    double q = p - duty;
    q -= std::floor(q);
    v -= blep(q, dphase);
    return v - (2 * duty - 1);  // remove the DC of an asymmetric pulse
}

double triangle(double phase) {
    double p = phase - std::floor(phase);
    return 4 * std::fabs(p - 0.5) - 1;
}

double note_hz(double midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

void add_tone(Synth& s, double start, const Env& env, double gain, const std::function<double(double)>& hz,
              const std::function<double(double, double)>& shape) {
    size_t i0 = s.at(start), n = size_t((env.length + env.release) * s.rate) + 1;
    double phase = 0;
    for (size_t k = 0; k < n && i0 + k < s.out.size(); ++k) {
        double t = double(k) / s.rate, dphase = hz(t) / s.rate;
        s.out[i0 + k] += float(gain * env.at(t) * shape(phase, dphase));
        phase += dphase;
    }
}

void add_pulse(Synth& s, double start, const Env& env, double gain, double midi, double duty,
               double vibratoDepth, double vibratoDelay) {
    double base = note_hz(midi);
    add_tone(s, start, env, gain,
             [=](double t) {
                 double v = t > vibratoDelay ? vibratoDepth * std::sin(2 * M_PI * 5.5 * (t - vibratoDelay)) : 0;
                 return base * std::pow(2.0, v / 12);
             },
             [=](double ph, double dph) { return pulse_blep(ph, dph, duty); });
}

void add_triangle(Synth& s, double start, const Env& env, double gain, double midi) {
    double hz = note_hz(midi);
    add_tone(s, start, env, gain, [=](double) { return hz; }, [](double ph, double) { return triangle(ph); });
}

void add_bell(Synth& s, double start, const Env& env, double gain, double hz, double ratio, double index) {
    size_t i0 = s.at(start), n = size_t((env.length + env.release) * s.rate) + 1;
    for (size_t k = 0; k < n && i0 + k < s.out.size(); ++k) {
        double t = double(k) / s.rate, e = env.at(t);
        double mod = index * e * std::sin(2 * M_PI * hz * ratio * t);
        s.out[i0 + k] += float(gain * e * std::sin(2 * M_PI * hz * t + mod));
    }
}

void add_noise(Synth& s, double start, const Env& env, double gain, Rng& rng,
               const std::function<double(double)>& centre, double q) {
    // Chamberlin state-variable filter, band-pass output.
    size_t i0 = s.at(start), n = size_t((env.length + env.release) * s.rate) + 1;
    double low = 0, band = 0;
    for (size_t k = 0; k < n && i0 + k < s.out.size(); ++k) {
        double t = double(k) / s.rate;
        double f = 2 * std::sin(M_PI * std::min(centre(t), s.rate / 6.5) / s.rate);
        double x = rng.range(-1, 1);
        double high = x - low - band / q;
        band += f * high;
        low += f * band;
        s.out[i0 + k] += float(gain * env.at(t) * band);
    }
}

void finish(Synth& s, double peak, double fadeIn, double fadeOut) {
    float top = 0;
    for (float v : s.out) top = std::max(top, std::fabs(v));
    float k = top > 0 ? float(peak / top) : 0.f;
    size_t n = s.out.size(), in = size_t(fadeIn * s.rate), out = size_t(fadeOut * s.rate);
    for (size_t i = 0; i < n; ++i) {
        double g = k;
        if (i < in) g *= 0.5 - 0.5 * std::cos(M_PI * double(i) / in);
        if (i + out >= n && out > 0) g *= 0.5 - 0.5 * std::cos(M_PI * double(n - 1 - i) / out);
        s.out[i] = float(s.out[i] * g);
    }
}

void trim_tail(Synth& s, double floor, double keep) {
    float top = 0;
    for (float v : s.out) top = std::max(top, std::fabs(v));
    size_t last = 0;
    for (size_t i = 0; i < s.out.size(); ++i)
        if (std::fabs(s.out[i]) > floor * top) last = i;
    s.out.resize(std::min(s.out.size(), last + size_t(keep * s.rate)));
}

void saturate(Synth& s, double drive) {
    float top = 0;
    for (float v : s.out) top = std::max(top, std::fabs(v));
    if (top == 0) return;
    for (float& v : s.out) v = float(std::tanh(drive * v / top) / std::tanh(drive));
}
