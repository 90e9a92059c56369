// assets/music.cpp: the three game tunes, sfx/30.ogg, sfx/20.ogg and sfx/10.ogg.
// Upbeat chiptune at 144 beats a minute, where one 4/4 bar lasts 5/3 s, so 18, 12 and 6 bars give exactly
// 30, 20 and 10 seconds. Each tune is a list of bars, one chord each, played by four parts: a triangle bass
// bouncing in octaves, a quiet 12.5% pulse arpeggio, noise-and-sine drums, and a pulse lead with a short
// echo. The lead's phrases come from a seeded melody maker (chord tones on the beats, scale steps
// between), and a phrase repeats when its section repeats, so each tune has a hook. Every tune ends the
// same way, since the game ends when its tune does: a dominant-seventh bar with a drum fill and a run up
// to the leading tone, then the tonic chord struck with a cymbal on the last bar's downbeat, ringing out
// to silence at the exact end.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "audio.h"
#include "synth.h"

namespace {

constexpr double kBeat = 60.0 / 144;  // seconds per beat
constexpr double kStep = kBeat / 4;   // one sixteenth
constexpr double kBar = kBeat * 4;

struct Chord { int root; bool minor; bool seventh; };
const Chord I{0, false, false}, ii{2, true, false}, iii{4, true, false}, IV{5, false, false},
    V{7, false, false}, vi{9, true, false}, V7{7, false, true};

// What a bar does beyond bass, arpeggio and drums.
enum class Lead { None, A, B, C, Run, Final };
struct Bar { Chord chord; Lead lead; };

std::vector<int> chord_tones(const Chord& c) {
    std::vector<int> t = {c.root, c.root + (c.minor ? 3 : 4), c.root + 7};
    if (c.seventh) t.push_back(c.root + 10);
    return t;
}

const int kScale[7] = {0, 2, 4, 5, 7, 9, 11};
int degree_to_semis(int d) { return 12 * (d / 7) + kScale[d % 7]; }  // d >= 0

bool is_chord_tone(int semis, const Chord& c) {
    for (int t : chord_tones(c)) if (((semis - t) % 12 + 12) % 12 == 0) return true;
    return false;
}

struct Note { double step; double length; int semis; int degree; };  // sixteenths; above the lead's tonic

// One bar of melody over `chord`; `cadence` makes the bar end on a long note.
std::vector<Note> make_bar(Rng& rng, const Chord& chord, int& degree, bool cadence) {
    static const char* kRhythms[6] = {"x-x-x-x-x-x-x---", "x--x--x-x-x-x---", "x-xxx-x-x--x-x--",
                                      "x---x-x-x---x-x-", "x-x-xx-xx-x-x---", "x--x--x---x-xxx-"};
    const char* rhythm = cadence ? "x-x-x---x-------" : kRhythms[rng.below(6)];
    std::vector<Note> notes;
    for (int s = 0; s < 16; ++s) {
        if (rhythm[s] != 'x') continue;
        int len = 1;
        while (s + len < 16 && rhythm[s + len] == '-') ++len;
        bool strong = s % 4 == 0;
        // beats land on chord tones near the current note; off-beats step through the scale
        int best = degree, bestCost = 1 << 20;
        for (int d = std::max(0, degree - 4); d <= std::min(11, degree + 4); ++d) {
            bool ct = is_chord_tone(degree_to_semis(d), chord);
            if (strong && !ct) continue;
            int cost = std::abs(d - degree) * 10 + rng.below(25) + (d == degree ? 12 : 0);
            if (!strong && std::abs(d - degree) > 2) cost += 40;
            if (cost < bestCost) { bestCost = cost; best = d; }
        }
        degree = best;
        notes.push_back({double(s), double(len), degree_to_semis(degree), degree});
    }
    return notes;
}

// The nearest degree to `d` (within 0..11) that is a tone of `chord`.
int nearest_chord_degree(int d, const Chord& chord) {
    for (int off = 0; off < 7; ++off)
        for (int cand : {d - off, d + off})
            if (cand >= 0 && cand <= 11 && is_chord_tone(degree_to_semis(cand), chord)) return cand;
    return d;
}

// The third bar of a phrase answers the first: the same rhythm and contour, moved to the new chord
// (a melodic sequence), with the notes on the beats settled on its chord tones.
std::vector<Note> sequence_of(const std::vector<Note>& first, const Chord& chord, int& degree) {
    int shift = nearest_chord_degree(first[0].degree, chord) - first[0].degree;
    std::vector<Note> notes;
    for (const Note& n : first) {
        int d = std::clamp(n.degree + shift, 0, 11);
        if (int(n.step) % 4 == 0) d = nearest_chord_degree(d, chord);
        notes.push_back({n.step, n.length, degree_to_semis(d), d});
        degree = d;
    }
    return notes;
}

struct Tune {
    std::string name;
    int tonic;  // MIDI note of the key's tonic for the bass octave (lead is 2 octaves up)
    uint64_t seed;
    std::vector<Bar> bars;
};

class Band {
public:
    Band(Synth& s, int tonic) : s_(s), tonic_(tonic), rng_(99) {}

    void bass(double t0, const Chord& c, const Chord& next) {
        Env e; e.attack = 0.004; e.sustain = 1; e.length = kStep * 1.7; e.release = 0.02;
        for (int i = 0; i < 8; ++i) {
            int n = tonic_ + c.root + (i % 2 ? 12 : 0);
            if (i == 7 && next.root != c.root) n = tonic_ + next.root + (next.root > c.root ? -1 : 1) + 12;  // lead-in
            add_triangle(s_, t0 + i * 2 * kStep, e, 0.42, n);
        }
    }

    void arpeggio(double t0, const Chord& c) {
        std::vector<int> t = chord_tones(c);
        t.push_back(c.root + 12);
        for (int i = 0; i < 16; ++i) {
            Env e; e.attack = 0.002; e.decay = 0.05; e.sustain = 0; e.length = kStep * 0.9; e.release = 0.01;
            add_pulse(s_, t0 + i * kStep, e, 0.075, tonic_ + 24 + t[i % t.size()], 0.125);
        }
    }

    void kick(double t) {
        add_tone(s_, t, perc(0.09, 0.18), 0.75, [](double x) { return 48 + 120 * std::exp(-x / 0.025); },
                 [](double p, double) { return std::sin(2 * M_PI * p); });
    }
    void snare(double t, double gain) {
        add_noise(s_, t, perc(0.07, 0.14), 0.55 * gain, rng_, [](double) { return 2600.0; }, 0.7);
        add_tone(s_, t, perc(0.04, 0.07), 0.25 * gain, [](double) { return 190.0; },
                 [](double p, double) { return std::sin(2 * M_PI * p); });
    }
    void hat(double t, bool open) {
        add_noise(s_, t, perc(open ? 0.09 : 0.02, open ? 0.16 : 0.04), 0.2, rng_, [](double) { return 4800.0; }, 0.6);
    }
    void crash(double t) {
        add_noise(s_, t, perc(0.45, 1.45), 0.32, rng_, [](double) { return 4300.0; }, 0.5);
    }

    // fill: snare roll over the last beat (before the final bar); turn: a short pickup closing a
    // four-bar group; busy: sixteenth hats (the B sections lift).
    void drums(double t0, bool fill, bool turn, bool busy) {
        for (int i = 0; i < 16; ++i) {
            double t = t0 + i * kStep;
            if (i == 0 || i == 8 || i == 10) kick(t);
            if (i == 4 || i == 12) snare(t, 1);
            if (i % 2 == 0 || busy) hat(t, i == 14);
            if (fill && i >= 12) snare(t, 0.5 + 0.15 * (i - 12));
            if (turn && !fill && (i == 14 || i == 15)) snare(t, 0.6);
        }
    }

    void lead(double t0, const std::vector<Note>& notes, double duty) {
        for (const Note& n : notes) {
            Env e; e.attack = 0.006; e.decay = 0.25; e.sustain = 0.65; e.length = n.length * kStep * 0.88; e.release = 0.03;
            int midi = tonic_ + 24 + n.semis;
            add_pulse(s_, t0 + n.step * kStep, e, 0.2, midi, duty, 0.18, 0.14);
            add_pulse(s_, t0 + (n.step + 3) * kStep, e, 0.06, midi, duty, 0.18, 0.14);  // echo
        }
    }

    // The last bar: tonic chord on the downbeat with a cymbal, everything ringing out.
    void final_chord(double t0) {
        Env hold; hold.attack = 0.004; hold.decay = 0.5; hold.sustain = 0; hold.length = kBar * 0.92; hold.release = 0.1;
        for (int n : {0, 4, 7, 12}) add_pulse(s_, t0, hold, 0.1, tonic_ + 24 + n, 0.5);
        Env lead = hold; lead.decay = 0.9;
        add_pulse(s_, t0, lead, 0.24, tonic_ + 36, 0.25, 0.25, 0.2);
        add_triangle(s_, t0, hold, 0.5, tonic_);
        kick(t0);
        crash(t0);
    }

private:
    static Env perc(double decay, double length) {
        Env e; e.attack = 0.001; e.decay = decay; e.sustain = 0; e.length = length; e.release = 0.02;
        return e;
    }
    Synth& s_;
    int tonic_;
    Rng rng_;
};

std::vector<float> render(const Tune& tune) {
    Synth s(kMusicRate, tune.bars.size() * kBar);
    Band band(s, tune.tonic);
    Rng rng(tune.seed);
    // Each lead section (A, B, C) is composed once, at its first use, and repeated after that.
    std::vector<std::vector<Note>> phrase[3];
    int phraseBar[3] = {0, 0, 0};
    int degree = 7;  // start on the tonic an octave up
    for (size_t b = 0; b < tune.bars.size(); ++b) {
        const Bar& bar = tune.bars[b];
        const Chord& next = b + 1 < tune.bars.size() ? tune.bars[b + 1].chord : I;
        double t0 = b * kBar;
        if (bar.lead == Lead::Final) { band.final_chord(t0); continue; }
        band.bass(t0, bar.chord, next);
        if (b > 0) band.arpeggio(t0, bar.chord);
        band.drums(t0, bar.lead == Lead::Run, b % 4 == 3, bar.lead == Lead::B);
        if (bar.lead == Lead::Run) {
            // up the dominant seventh to the leading tone, which the final bar resolves
            band.lead(t0, {{0, 2, 7, 4}, {2, 2, 11, 6}, {4, 2, 14, 8}, {6, 2, 17, 10}, {8, 2, 19, 11}, {10, 2, 17, 10},
                           {12, 4, 11, 6}}, 0.25);
        } else if (bar.lead != Lead::None) {
            int k = int(bar.lead) - int(Lead::A);
            int& i = phraseBar[k];  // bar within the section's four-bar phrase
            if (i == int(phrase[k].size()))
                phrase[k].push_back(i == 2 ? sequence_of(phrase[k][0], bar.chord, degree)
                                           : make_bar(rng, bar.chord, degree, i == 3));
            band.lead(t0, phrase[k][i], k == 1 ? 0.5 : 0.25);
            i = (i + 1) % 4;
        }
    }
    saturate(s, 1.6);
    finish(s, 0.8, 0.004, 0.12);  // headroom for the encoder's overshoot
    return s.out;
}

std::vector<Bar> section(std::initializer_list<Chord> chords, Lead lead) {
    std::vector<Bar> bars;
    for (const Chord& c : chords) bars.push_back({c, lead});
    return bars;
}

std::vector<Bar> join(std::initializer_list<std::vector<Bar>> parts) {
    std::vector<Bar> all;
    for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

}  // namespace

void write_tunes(const std::string& dataDir) {
    const std::vector<Bar> ending = {{V7, Lead::Run}, {I, Lead::Final}};
    const Tune tunes[3] = {
        {"30", 48, 30,  // C major, 18 bars
         join({section({I, IV}, Lead::None), section({I, vi, IV, V}, Lead::A), section({IV, V, iii, vi}, Lead::B),
               section({I, vi, IV, V}, Lead::A), section({IV, V}, Lead::C), ending})},
        {"20", 50, 20,  // D major, 12 bars
         join({section({I}, Lead::None), section({I, vi, ii, V}, Lead::A), section({IV, V, I, vi}, Lead::B),
               section({IV}, Lead::C), ending})},
        {"10", 53, 10,  // F major, 6 bars
         join({section({I, vi, IV, V}, Lead::A), ending})},
    };
    for (const Tune& t : tunes) write_ogg(dataDir + "/sfx/" + t.name + ".ogg", render(t), kMusicRate, 0.25f);
}
