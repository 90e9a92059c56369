// error_probe: raises the runtime failure its argument names, so that tests can check the report, the
// debugger protocol and the exit status of a whole process: empty (quit), boom (a runtime error),
// uncaught, segv, overflow (a stack overflow), print and accent (a text with e acute), object and
// zero-object (print a live object's address, then "boom"; the second's debug text narrows to a zero byte
// in the middle).
#include <csignal>
#include <cstdio>
#include <string>

#include "runtime/error.h"

struct Probe : Object {
    bool zero;
    explicit Probe(bool z) : zero(z) {}
    String debug() override {
        const Char text[] = {'a', 0x100, 'b'};
        return zero ? String(text, 3) : String("Probe object");
    }
};

static Object* keep = nullptr;

// Recurses until the stack runs out; the volatile frame keeps it a real call with a real frame.
static int recurse(int n) {
    volatile char frame[512];
    frame[n % 512] = static_cast<char>(n);
    return n < 0 ? 0 : recurse(n + 1) + frame[0];
}

int main(int argc, char** argv) {
    gc_init1();
    gc_root(keep);
    const std::string what = argc > 1 ? argv[1] : "";
    zk_catch_fatal_signals();
    const Char cafe[] = {'c', 'a', 'f', 0xe9};
    if (what == "empty") zkError(String());
    if (what == "boom") zkError(String("boom"));
    if (what == "accent") zkError(String(cafe, 4));
    if (what == "uncaught") zk_die_uncaught(new ThrowableObject);
    if (what == "segv") std::raise(SIGSEGV);
    if (what == "overflow") return recurse(argc);
    if (what == "print") return zkPrint(String(cafe, 4)), 0;
    if (what == "object" || what == "zero-object") {
        keep = new Probe(what[0] == 'z');
        std::printf("%p\n", static_cast<void*>(keep));
        std::fflush(stdout);
        zkError(String("boom"));
    }
    return 3;
}
