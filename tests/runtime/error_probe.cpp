// error_probe: raises the runtime failure its argument names, for tests of a whole process's report.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define pipe(fd) _pipe(fd, 256, _O_BINARY)
#else
#include <unistd.h>
#endif

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/error.h"

const Char kZeroInside[] = {'a', 0x100, 'b'};   // narrows to a zero byte in the middle

struct Probe : Object {
    bool zero;
    explicit Probe(bool z) : zero(z) {}
    String debug() override { return zero ? String(kZeroInside, 3) : String("Probe object"); }
};

static Object* keep = nullptr;

// Real faults of the processor, not raised signals: volatile keeps the compiler from seeing through them,
// and the undefined-behaviour sanitizer, which would report them first, leaves them alone.
static int* volatile nowhere = nullptr;
static volatile int zero = 0;
__attribute__((no_sanitize("undefined"))) static int write_nowhere() { return *nowhere = 1; }
__attribute__((no_sanitize("undefined"))) static int divide_by_zero(int n) { return n / zero; }

// The volatile frame keeps each call a real one with a real frame.
static int recurse(int n) {
    volatile char frame[512];
    frame[n % 512] = static_cast<char>(n);
    return n < 0 ? 0 : recurse(n + 1) + frame[0];
}

int main(int argc, char** argv) {
    gc_init1(), gc_root(keep);
    const std::string what = argc > 1 ? argv[1] : "";
    zk_catch_fatal_signals();
    const Char cafe[] = {'c', 'a', 'f', 0xe9};
    if (what == "empty") zkError(String());
    if (what == "boom") zkError(String("boom"));
    if (what == "accent") zkError(String(cafe, 4));
    if (what == "uncaught") zk_die_uncaught(new ThrowableObject);
    if (what == "segv") std::raise(SIGSEGV);
    if (what == "overflow") return recurse(argc);
    if (what == "null") return write_nowhere();
    if (what == "divide") return divide_by_zero(argc);
    if (what == "trap") __builtin_trap();
    if (what == "print") return zkPrint(String(cafe, 4)), 0;
    // A runtime error whose debugger is asked "@<address>" of a live object (zero-object: its debug text
    // narrows to a zero byte in the middle), then "q".
    if (what == "object" || what == "zero-object") {
        keep = new Probe(what[0] == 'z');
        char input[64];
        std::snprintf(input, sizeof input, "@%p\nq\n", static_cast<void*>(keep));
        int fd[2];
        if (pipe(fd) != 0 || write(fd[1], input, std::strlen(input)) < 0) return 4;
        close(fd[1]), dup2(fd[0], 0);
        zkError(String("boom"));
    }
    return 3;
}
