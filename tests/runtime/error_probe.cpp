// error_probe: raises one kind of runtime failure, chosen by its argument, so that tests can check the
// report, the debugger protocol and the exit status of a whole process.
//   empty    zkError("")                  quit          exit 0, no output
//   boom     zkError("boom")              runtime error with the debugger protocol
//   uncaught an exception escaping the game
//   segv     a fatal signal
//   overflow a stack overflow (unbounded recursion)
//   print    zkPrint of a text with e acute
//   accent   zkError of a text with e acute
//   object   prints the address of a live object, then raises "boom" (for the "@" command)
//   zero-object  the same with an object whose debug text narrows to a zero byte in the middle
#include <csignal>
#include <cstdio>
#include <cstring>

#include "runtime/error.h"

struct Probe : Object {
    String debug() override { return String("Probe object"); }
};

// Its debug text holds the unit 0x100, which narrows to a zero byte.
struct ZeroProbe : Object {
    String debug() override {
        const Char text[] = {'a', 0x100, 'b'};
        return String(text, 3);
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
    const char* what = argc > 1 ? argv[1] : "";
    zk_catch_fatal_signals();
    if (!std::strcmp(what, "empty")) zkError(String());
    if (!std::strcmp(what, "boom")) zkError(String("boom"));
    if (!std::strcmp(what, "accent")) {
        Char text[] = {'c', 'a', 'f', 0xe9};
        zkError(String(text, 4));
    }
    if (!std::strcmp(what, "uncaught")) zk_die_uncaught(new ThrowableObject);
    if (!std::strcmp(what, "segv")) std::raise(SIGSEGV);
    if (!std::strcmp(what, "overflow")) return recurse(argc);
    if (!std::strcmp(what, "print")) {
        Char text[] = {'c', 'a', 'f', 0xe9};
        zkPrint(String(text, 4));
        return 0;
    }
    if (!std::strcmp(what, "object") || !std::strcmp(what, "zero-object")) {
        if (what[0] == 'z') keep = new ZeroProbe;
        else keep = new Probe;
        std::printf("%p\n", static_cast<void*>(keep));
        std::fflush(stdout);
        zkError(String("boom"));
    }
    return 3;
}
