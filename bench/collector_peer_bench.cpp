// bench/collector_peer_bench.cpp: the collector against the Boehm collector (libgc), in one run.
//
// Two workloads, each run by both in turn (ours, Boehm, ours, Boehm) so that a shared machine's load falls
// on both alike:
//   game   the game's own pattern. The real game is started through the harness, loaded, and driven from
//          the title menu through a whole game (a 10-second game, a swing every second, back to the menu at
//          rest); every collector allocation it makes from start-up on is recorded (size, and the frame it
//          fell in). The pattern is then replayed 10 times, frame by frame, with a collector step after each
//          frame; its objects stay in a ring of 4096 slots, so each lives about 4096 allocations. Ours runs inside the
//          real game's heap (its live set, about half a megabyte); Boehm gets a copy of that live set, the
//          same object count and sizes, number arrays as pointer-free blocks.
//   churn  a synthetic churn of small objects: 32 to 64 bytes (ours, header included), each linked to the
//          one before it half the time, held in a ring of 4096 slots so that each lives about 4096
//          allocations; a collector step every 2000 allocations (a frame).
// Ours: allocation through gc_object_alloc and the object's constructor, gc_collect() as the step (the
// host runs it after every update and render). Boehm: GC_MALLOC (GC_MALLOC_ATOMIC for pointer-free
// blocks) of the same object without our 24-byte list header and flags, incremental mode (BOEHM_STOP_WORLD=1
// in the environment: without), GC_collect_a_little as the step. Boehm scans the data of every loaded
// library for roots, the OpenGL driver's included, as it would in the game (GC_set_no_dls with incremental
// mode crashed it here).
// Figures: ns per allocation (all the frames' time, collector steps included, over the allocations), and
// the longest single collector step: a step call, or an allocation call, timed one by one on the thread's
// CPU clock in a second pass (the allocation is where Boehm collects, and where ours destroys garbage).
// Boehm marks on the calling thread (one marker), so its steps' CPU time is all on that clock.
//
// Run: cd build && xvfb-run -a -s "-screen 0 1920x1080x24" env ALSOFT_DRIVERS=null bench/collector_peer_bench
//   [rounds, default 2]
// Instruction counts per allocation of the churn (callgrind; divide the total by N):
//   valgrind --tool=callgrind --toggle-collect='*Timed*' bench/collector_peer_bench --one <ours|boehm> N
// Where the longest steps of ours go (the 6 longest by CPU time and by work, each cycle's completing step),
// saving the recorded pattern to FILE:
//   bench/collector_peer_bench --trace FILE      (under xvfb-run, as above)
// The saved pattern replayed without the game (a stand-in live set of the same sizes), and one step's
// instructions, STEP being an index the replay printed:
//   bench/collector_peer_bench --replay FILE <game|churn|churn+game>   (churn+game: the game after the churn)
//   valgrind --tool=callgrind --collect-atstart=no bench/collector_peer_bench --replay FILE <...> STEP
#include <gc.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <typeinfo>
#include <vector>

#include "harness/game_host.h"

// Every collector allocation of the game, recorded while `g_recording` is set. Array blocks come through
// gc_object_alloc, objects through gc_object::operator new; the calls inside the collector's own file are
// not wrapped, so none counts twice.
static bool g_recording = false;
static std::vector<int> g_sizes;
extern "C" {
void* __real__Z15gc_object_alloci(int size);
void* __wrap__Z15gc_object_alloci(int size) {
    if (g_recording) g_sizes.push_back(size);
    return __real__Z15gc_object_alloci(size);
}
void* __real__ZN9gc_objectnwEm(size_t size);
void* __wrap__ZN9gc_objectnwEm(size_t size) {
    if (g_recording) g_sizes.push_back(static_cast<int>(size));
    return __real__ZN9gc_objectnwEm(size);
}
}

namespace {

using Clock = std::chrono::steady_clock;
double Ns(Clock::duration d) { return std::chrono::duration<double, std::nano>(d).count(); }

// CPU time of this thread, in microseconds: a single step timed on it leaves out the time the shared
// machine gave to other processes, which the wall clock counts (tens of milliseconds, now and then).
double CpuUs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

const int kHeader = 24;   // our list links and flags: what a Boehm object of the same class does without
const int kRing = 4096, kChurnFrame = 2000, kChurnAllocs = 1000000;

// ---- the game's pattern ----------------------------------------------------------------------------------

struct Pattern {
    std::vector<std::vector<int>> frames;   // the sizes allocated in each update and render
    std::vector<int> live;                  // the game's live objects after a whole collection: sizes
    std::vector<bool> atomic;               // ... and whether Boehm may skip scanning them
    int allocs = 0;
};

struct Driver {
    TestGame& game;
    Pattern* pattern = nullptr;

    void Frame() {
        g_sizes.clear();
        game.Frame();
        glfwSwapBuffers(game.window);
        if (pattern) pattern->frames.push_back(g_sizes);
    }
    void Key(int key) {   // held for one frame, then released
        game.Key(key, [this] { Frame(); });
    }
    bool AtRest() const {
        const c_MyApp* app = game.app;
        return app->m_mode == 1 && app->m_menuY == 0 && app->m_overTimer == 0 && app->m_keyHeld == 0;
    }
    void Until(bool (Driver::*done)() const, int budget) {
        for (int i = 0; i < budget && !(this->*done)(); ++i) Frame();
    }
};

bool PointerFree(const gc_object* p) {
    const std::string name = typeid(*p).name();
    for (const char* t : {"ArrayIfE", "ArrayIiE", "ArrayIbE", "ArrayI6StringE"})
        if (name.find(t) != std::string::npos) return true;
    return false;
}

Pattern RecordGame(TestGame& game) {
    Pattern p;
    p.frames.push_back(g_sizes);   // start-up: the modules, the application, the first render
    Driver d{game, &p};
    c_MyApp* app = game.app;
    for (int i = 0; i < TestGame::kLoadFrames && app->m_loadStep > 0; ++i) d.Frame();
    d.Until(&Driver::AtRest, 2000);
    gc_collect_all();
    for (const gc_object* o = gc_unmarked_list.succ; o != &gc_unmarked_list; o = o->succ) {
        p.live.push_back(o->gc_size());
        p.atomic.push_back(PointerFree(o));
    }
    // A game start and a whole game: Enter on the first game type, a swing a second.
    while (app->m_menuSel != 1) d.Key(app->m_menuSel < 1 ? 39 : 37);
    d.Key(13);
    for (int second = 0; second < 40 && app->m_mode != 1; ++second) {
        d.Key(32);
        for (int i = 0; i < 57; ++i) d.Frame();
    }
    d.Until(&Driver::AtRest, 2000);   // the game-over overlay, and back to the menu at rest
    g_recording = false;
    for (const auto& f : p.frames) p.allocs += static_cast<int>(f.size());
    return p;
}

// ---- our side ----------------------------------------------------------------------------------------------

// A collected object of any block size: one reference, to the object allocated before it (or none).
// Work counters for the trace: Blobs scanned and destroyed.
long g_blobMarks = 0, g_blobDestroys = 0;

struct Blob : gc_object {
    Blob* link = nullptr;
    ~Blob() override { ++g_blobDestroys; }
    void mark() override {
        ++g_blobMarks;
        gc_mark_q(link);
    }
};

Array<Blob*> g_ring;   // the live window of the churn, and the game pattern's objects of the last frame

inline Blob* OurAlloc(int size, Blob* link) {
    Blob* b = new (gc_object_alloc(size < int(sizeof(Blob)) ? int(sizeof(Blob)) : size)) Blob();
    gc_assign(b->link, link);
    return b;
}

// ---- Boehm's side ----------------------------------------------------------------------------------------

void** g_boehmRing = nullptr;   // GC_MALLOC'ed: Boehm finds it through this static
void** g_boehmLive = nullptr;   // the copy of the game's live set

inline void* BoehmAlloc(int size, void* link) {
    const size_t n = size - kHeader < 16 ? 16 : size - kHeader;
    void** p = static_cast<void**>(GC_MALLOC(n));
    p[1] = link;   // word 0 stands for the object's vtable pointer
    return p;
}

// ---- the timed work ----------------------------------------------------------------------------------------

struct Result {
    double nsPerAlloc = 0, maxStepUs = 0;
    long allocs = 0;
};

struct Side {
    const char* name;
    Blob* ourLast = nullptr;
    void* boehmLast = nullptr;
};

// The two collectors behind one face: an allocation linked to an earlier object, keeping an object in the
// live ring's slot, and one incremental step.
struct Ours {
    using Ptr = Blob*;
    static Ptr Alloc(int size, Ptr link) { return OurAlloc(size, link); }
    static void Keep(int slot, Ptr p) { gc_assign(g_ring[slot], p); }
    static void Step() { gc_collect(); }
};
struct Boehm {
    using Ptr = void*;
    static Ptr Alloc(int size, Ptr link) { return BoehmAlloc(size, link); }
    static void Keep(int slot, Ptr p) { g_boehmRing[slot] = p; }
    static void Step() { GC_collect_a_little(); }
};

// One frame's allocations, `next(i, last)` making the i-th, then a step; `timeEach` times every allocation
// and the step on their own (for the longest pause), and the whole frame is timed for throughput.
template <class C, class Next>
void TimedFrame(Result& r, int count, bool timeEach, Next next) {
    const auto t0 = Clock::now();
    typename C::Ptr last = nullptr;
    for (int i = 0; i < count; ++i) {
        const double a = timeEach ? CpuUs() : 0;
        last = next(i, last);
        if (timeEach) r.maxStepUs = std::max(r.maxStepUs, CpuUs() - a);
    }
    const double s = timeEach ? CpuUs() : 0;
    C::Step();
    if (timeEach) r.maxStepUs = std::max(r.maxStepUs, CpuUs() - s);
    r.nsPerAlloc += Ns(Clock::now() - t0);   // the total, divided once all frames are done
    r.allocs += count;
}

// The recorded game pattern, frame by frame, `repeats` times.
template <class C>
__attribute__((noinline)) Result TimedGame(const Pattern& p, int repeats, bool timeEach) {
    Result r;
    for (int k = 0; k < repeats; ++k) {
        for (const auto& frame : p.frames) {
            TimedFrame<C>(r, static_cast<int>(frame.size()), timeEach, [&](int i, typename C::Ptr last) {
                typename C::Ptr o = C::Alloc(frame[i], last);
                C::Keep(i % kRing, o);
                return o;
            });
        }
    }
    r.nsPerAlloc /= std::max(1L, r.allocs);
    return r;
}

// Sizes 32 to 64 bytes (header included) from a fixed sequence; half the objects link to the one before.
inline int ChurnSize(unsigned& seed) {
    seed = seed * 1664525u + 1013904223u;
    return 32 + static_cast<int>(seed >> 29) % 5 * 8;
}

template <class C>
__attribute__((noinline)) Result TimedChurn(int allocs, bool timeEach) {
    Result r;
    unsigned seed = 1;
    for (int done = 0; done < allocs; done += kChurnFrame) {
        TimedFrame<C>(r, kChurnFrame, timeEach, [&](int i, typename C::Ptr last) {
            const int size = ChurnSize(seed);
            typename C::Ptr o = C::Alloc(size, (seed & 1) ? last : nullptr);
            C::Keep((done + i) % kRing, o);
            return o;
        });
    }
    r.nsPerAlloc /= std::max(1L, r.allocs);
    return r;
}

// ---- tracing the longest steps ------------------------------------------------------------------------------

// One timed step of ours with what it did: an allocation (its size, the objects it destroyed) or a collector
// run (the grey objects it found queued, the objects it scanned, whether it completed a cycle).
struct Step {
    double us = 0;
    long index = 0, work = 0;
    int frame = 0, size = 0, queued = 0;
    bool collect = false, cycle = false;
};

void Keep(std::vector<Step>& top, const Step& s, bool byWork) {
    top.push_back(s);
    std::sort(top.begin(), top.end(),
              [byWork](const Step& a, const Step& b) { return byWork ? a.work > b.work : a.us > b.us; });
    if (top.size() > 6) top.pop_back();
}

void Print(const char* title, const std::vector<Step>& top) {
    std::printf("%s\n", title);
    for (const Step& s : top) {
        if (s.collect)
            std::printf("  %8.1f us step %7ld frame %5d collect: %d grey queued, %ld objects scanned, %d new bytes%s\n",
                        s.us, s.index, s.frame, s.queued, s.work, s.size, s.cycle ? ", completed a cycle" : "");
        else
            std::printf("  %8.1f us step %7ld frame %5d alloc %d bytes: destroyed %ld objects\n", s.us, s.index,
                        s.frame, s.size, s.work);
    }
}

// Replays the pattern `repeats` times (or the churn once), timing every allocation and collector run, and
// prints the longest by CPU time and by work (objects destroyed or scanned), with the longest time of an
// empty timed step as the clock's noise floor. Under callgrind (--collect-atstart=no) only step
// `callgrindStep` is collected, so the total is that step's instructions.
void TraceOurs(const Pattern& p, bool churn, int repeats, long callgrindStep) {
    std::vector<Step> byTime, byWork;
    Blob* last = nullptr;
    unsigned seed = 1;
    long index = 0;
    double noise = 0;
    const int frames = churn ? kChurnAllocs / kChurnFrame : static_cast<int>(p.frames.size());
    auto timed = [&](Step& s, auto&& op) {
        const long marks = g_blobMarks, destroys = g_blobDestroys;
        s.index = index;
        if (index == callgrindStep) CALLGRIND_TOGGLE_COLLECT;
        const double a = CpuUs();
        op();
        s.us = CpuUs() - a;
        if (index++ == callgrindStep) CALLGRIND_TOGGLE_COLLECT;
        s.work = s.collect ? g_blobMarks - marks : g_blobDestroys - destroys;
        const double e = CpuUs();
        noise = std::max(noise, CpuUs() - e);
        Keep(byTime, s, false);
        Keep(byWork, s, true);
    };
    for (int k = 0; k < repeats; ++k) {
        for (int f = 0; f < frames; ++f) {
            const int n = churn ? kChurnFrame : static_cast<int>(p.frames[f].size());
            for (int i = 0; i < n; ++i) {
                Step s;
                s.frame = f;
                s.size = churn ? ChurnSize(seed) : p.frames[f][i];
                Blob* b = nullptr;
                timed(s, [&] { b = OurAlloc(s.size, (!churn || (seed & 1)) ? last : nullptr); });
                gc_assign(g_ring[(churn ? f * kChurnFrame + i : i) % kRing], b);
                last = b;
            }
            Step s;
            s.frame = f;
            s.collect = true;
            s.queued = gc_list_count(gc_queued_list);
            s.size = gc_new_bytes;
            timed(s, [] { gc_collect(); });
            s.cycle = gc_new_bytes == 0 && s.size > 0;
            if (s.cycle) std::printf("  cycle completed at step %ld: %.1f us, %ld objects scanned\n", s.index,
                                     s.us, g_blobMarks);
        }
    }
    std::printf("trace %s, %ld steps; the longest empty timed step (the clock's noise): %.1f us\n",
                churn ? "churn" : "game", index, noise);
    Print(" longest by CPU time:", byTime);
    Print(" most work:", byWork);
}

// The pattern without the game, for callgrind: frame sizes, then the live set's sizes and pointer-freeness.
void SavePattern(const Pattern& p, const char* path) {
    FILE* f = std::fopen(path, "w");
    std::fprintf(f, "%zu %zu\n", p.frames.size(), p.live.size());
    for (const auto& frame : p.frames) {
        std::fprintf(f, "%zu", frame.size());
        for (int size : frame) std::fprintf(f, " %d", size);
        std::fprintf(f, "\n");
    }
    for (size_t i = 0; i < p.live.size(); ++i) std::fprintf(f, "%d %d\n", p.live[i], int(p.atomic[i]));
    std::fclose(f);
}

// Reads a saved pattern and builds a stand-in for the game's live set: Blobs of the live sizes in one
// rooted array (so a cycle's marking meets as many objects and bytes as in the game).
Pattern LoadPattern(const char* path, Array<Blob*>& live) {
    Pattern p;
    FILE* f = std::fopen(path, "r");
    size_t frames = 0, objects = 0;
    if (!f || std::fscanf(f, "%zu %zu", &frames, &objects) != 2) return p;
    p.frames.resize(frames);
    for (auto& frame : p.frames) {
        size_t n = 0;
        if (std::fscanf(f, "%zu", &n) != 1) break;
        frame.resize(n);
        for (int& size : frame)
            if (std::fscanf(f, "%d", &size) != 1) break;
        p.allocs += static_cast<int>(n);
    }
    gc_assign(live.rep, Array<Blob*>(static_cast<int>(objects)).rep);
    for (size_t i = 0; i < objects; ++i) {
        int size = 0, atomic = 0;
        if (std::fscanf(f, "%d %d", &size, &atomic) != 2) break;
        p.live.push_back(size);
        p.atomic.push_back(atomic != 0);
        gc_assign(live[static_cast<int>(i)], OurAlloc(size, nullptr));
    }
    std::fclose(f);
    return p;
}

Array<Blob*> g_live;   // the replay's stand-in for the game's live set

// The longest of `n` empty steps timed as the steps are: what the clock and the shared machine add to a
// single step on their own (the thread's CPU clock is read through a system call, and on a loaded virtual
// machine it also counts time the host took away). A longest step near this says nothing about the collector;
// the --replay mode under callgrind gives the longest step's instructions instead.
__attribute__((noinline)) double EmptyStepNoiseUs(long n) {
    double worst = 0;
    for (long i = 0; i < n; ++i) {
        const double a = CpuUs();
        worst = std::max(worst, CpuUs() - a);
    }
    return worst;
}

void StartBoehm(const Pattern& p) {
    setenv("GC_MARKERS", "1", 1);   // marking on the calling thread, where a step's CPU time is measured
    GC_INIT();
    if (!std::getenv("BOEHM_STOP_WORLD")) GC_enable_incremental();
    g_boehmRing = static_cast<void**>(GC_MALLOC(kRing * sizeof(void*)));
    g_boehmLive = static_cast<void**>(GC_MALLOC(p.live.size() * sizeof(void*)));
    for (size_t i = 0; i < p.live.size(); ++i) {
        const size_t n = p.live[i] - kHeader < 16 ? 16 : p.live[i] - kHeader;
        g_boehmLive[i] = p.atomic[i] ? GC_MALLOC_ATOMIC(n) : GC_MALLOC(n);
        if (p.atomic[i]) std::memset(g_boehmLive[i], 0, n);
    }
    GC_gcollect();
}

struct Row {
    const char* workload;
    const char* side;
    std::vector<double> ns;   // per round
    double maxStep = 0;
    long allocs = 0;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    // The churn alone, for callgrind: no game, no window (the game under callgrind takes too long).
    if (argc == 4 && std::string(argv[1]) == "--one") {
        gc_init1();
        gc_root(g_ring.rep);
        gc_assign(g_ring.rep, Array<Blob*>(kRing).rep);
        StartBoehm(Pattern());
        std::string(argv[2]) == "ours" ? TimedChurn<Ours>(std::atoi(argv[3]), false)
                                       : TimedChurn<Boehm>(std::atoi(argv[3]), false);
        return 0;
    }
    // A saved pattern replayed without the game: --replay FILE <game|churn> [STEP to collect under callgrind]
    if (argc >= 4 && std::string(argv[1]) == "--replay") {
        gc_init1();
        gc_root(g_ring.rep);
        gc_root(g_live.rep);
        gc_assign(g_ring.rep, Array<Blob*>(kRing).rep);
        const Pattern pattern = LoadPattern(argv[2], g_live);
        gc_collect_all();
        const std::string what = argv[3];
        const long step = argc > 4 ? std::atol(argv[4]) : -1;
        if (what == "churn+game") {   // as the default run meets the game: after the churn's garbage
            TraceOurs(pattern, true, 1, -1);
            TraceOurs(pattern, false, 1, step);
        } else {
            TraceOurs(pattern, what == "churn", what == "churn" ? 1 : 40, step);
        }
        return 0;
    }
    g_recording = true;
    TestGame game;
    const Pattern pattern = RecordGame(game);
    game.RequireData("collector_peer_bench");
    gc_root(g_ring.rep);
    gc_assign(g_ring.rep, Array<Blob*>(kRing).rep);
    StartBoehm(pattern);
    const int repeats = 10;

    if (argc > 2 && std::string(argv[1]) == "--trace") {   // where the longest steps of ours go
        SavePattern(pattern, argv[2]);
        TraceOurs(pattern, false, 40, -1);
        TraceOurs(pattern, true, 1, -1);
        return 0;
    }
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 2;
    Row rows[4] = {{"game", "ours", {}, 0, 0}, {"game", "boehm", {}, 0, 0}, {"churn", "ours", {}, 0, 0},
                   {"churn", "boehm", {}, 0, 0}};
    auto add = [](Row& row, const Result& thru, const Result& each) {
        row.ns.push_back(thru.nsPerAlloc);
        row.allocs = thru.allocs;
        row.maxStep = std::max({row.maxStep, thru.maxStepUs, each.maxStepUs});
    };
    for (int round = 0; round < rounds; ++round) {
        add(rows[0], TimedGame<Ours>(pattern, repeats, false), TimedGame<Ours>(pattern, 1, true));
        add(rows[1], TimedGame<Boehm>(pattern, repeats, false), TimedGame<Boehm>(pattern, 1, true));
        add(rows[2], TimedChurn<Ours>(kChurnAllocs, false), TimedChurn<Ours>(kChurnAllocs / 4, true));
        add(rows[3], TimedChurn<Boehm>(kChurnAllocs, false), TimedChurn<Boehm>(kChurnAllocs / 4, true));
    }
    const double noise = EmptyStepNoiseUs(rounds * (kChurnAllocs / 4 + pattern.allocs));
    long live = 0;
    for (int s : pattern.live) live += s;
    std::printf("game pattern: %d allocations in %zu frames (a game start, a 10-second game, the menu); "
                "live set %zu objects, %ld bytes; Boehm %d.%d.%d %s\n",
                pattern.allocs, pattern.frames.size(), pattern.live.size(), live, GC_VERSION_MAJOR,
                GC_VERSION_MINOR, GC_VERSION_MICRO, GC_is_incremental_mode() ? "incremental" : "stop-the-world");
    std::printf("%-8s %-6s %12s %14s %12s\n", "workload", "side", "ns_per_op", "max_step_us", "allocs/run");
    for (const Row& row : rows)
        std::printf("%-8s %-6s %12.1f %14.1f %12ld\n", row.workload, row.side, Median(row.ns), row.maxStep,
                    row.allocs);
    for (int w = 0; w < 2; ++w) {
        const Row& ours = rows[2 * w];
        const Row& boehm = rows[2 * w + 1];
        std::printf("collector_peer %s throughput ours/boehm time per op %.2f (goal <= 1.00: %s)\n", ours.workload,
                    Median(ours.ns) / Median(boehm.ns), Median(ours.ns) <= Median(boehm.ns) ? "met" : "missed");
        std::printf("collector_peer %s longest step ours %.1f us, boehm %.1f us (goal < 200 us: %s)\n",
                    ours.workload, ours.maxStep, boehm.maxStep, ours.maxStep < 200 ? "met" : "missed");
    }
    std::printf("collector_peer clock noise: longest empty timed step %.1f us over as many steps\n", noise);
    return 0;
}
