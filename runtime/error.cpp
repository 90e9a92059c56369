// runtime/error.cpp: console output, runtime errors and the debugger line protocol.
//
// Fatal faults reach sighandler as SIGSEGV, SIGILL and SIGFPE. On POSIX systems a stack overflow is a
// SIGSEGV too, handled on a stack of its own. Windows' C runtime raises those three signals for the
// structured exceptions nothing else handles, but not for a stack overflow, which a vectored exception
// handler reports instead, with the same message, on stack room the thread keeps back for it.
#include "runtime/error.h"

#include "runtime/contract.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <csignal>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

const char* dbg_info = nullptr;

namespace {

std::string print_buffer;   // zkPrint's output, reused between calls
char* dbg_buffer = nullptr;  // dbg_print's output: the text's bytes and a line feed
size_t dbg_capacity = 0;     // grown to the text length + 100 when they no longer fit

[[noreturn]] void quit(int status) {
    std::fflush(stdout);
    std::fflush(stderr);
#ifdef __EMSCRIPTEN__
    emscripten_force_exit(status);   // ends the page's frame loop too, which a plain exit leaves running
#endif
    std::exit(status);
}

// "@address": prints the object's debug text when the collector holds an object at that address, and an
// empty line for null or anything else, so a typo or hostile input never reaches a wild pointer.
void debug_object(const char* line) {
    void* p = nullptr;
    if (std::sscanf(line + 1, "%p", &p) != 1) p = nullptr;
    Object* object = gc_holds(p) ? dynamic_cast<Object*>(static_cast<gc_object*>(p)) : nullptr;
    dbg_print(object ? object->debug() : String());
}

}  // namespace

void zkPrint(const String& text) {
    print_buffer.clear();
    text.AppendUtf8(print_buffer);
    print_buffer += '\n';
    std::fputs(print_buffer.c_str(), stdout);
    std::fflush(stdout);
}

void zkError(const String& message) {
    if (!message.Length()) quit(0);   // the game's way to quit
    dbg_error(message.ToCString<char>());
}

// Widens each byte back to the code unit it was narrowed from (0x00-0xFF), so that a message in
// ISO 8859-1 letters is reported with those letters.
static String widen_bytes(const char* text) {
    size_t n = std::strlen(text);
    std::vector<Char> units(n);
    for (size_t i = 0; i < n; ++i) units[i] = static_cast<unsigned char>(text[i]);
    return String(units.data(), static_cast<int>(n));
}

void dbg_error(const char* text) {
    for (;;) {   // every continue command reports the error again
        zkPrint(String("Zanth Runtime Error : ") + widen_bytes(text));
        zkPrint(dbg_stacktrace());
        dbg_stop();
    }
}

// No call stack is recorded (nothing sets dbg_info), so the trace is always empty.
String dbg_stacktrace() { return String(); }

// Writes every byte, a zero byte included (a unit such as 0x100 narrows to 0), so the line feed that ends
// the debugger's line is never lost.
void dbg_print(const String& text) {
    size_t n = static_cast<size_t>(text.Length());
    if (n + 1 > dbg_capacity) {
        dbg_buffer = static_cast<char*>(zk_realloc(dbg_buffer, n + 100));
        dbg_capacity = n + 100;
    }
    for (size_t i = 0; i < n; ++i) dbg_buffer[i] = static_cast<char>(text[static_cast<int>(i)] & 0xff);
    dbg_buffer[n] = '\n';
    std::fwrite(dbg_buffer, 1, n + 1, stderr);
    std::fflush(stderr);
}

int dbg_command(const char* line) {
    switch (line[0]) {
    case '?':
        return kDbgAgain;
    case '@':
        debug_object(line);
        return kDbgAgain;
    case 'r': case 's': case 'e': case 'l':
        return kDbgResume;
    case 'q':
        return kDbgQuit;
    default:
        return kDbgUnknown;
    }
}

void dbg_stop() {
    std::fprintf(stderr, "{{~~%s~~}}\n", dbg_info ? dbg_info : "");
    dbg_print(dbg_stacktrace());
    std::fflush(stderr);
    for (;;) {
        char line[256];
        if (!std::fgets(line, sizeof line, stdin)) quit(-1);
        char* nl = std::strchr(line, '\n');
        if (!nl) quit(-1);
        *nl = 0;
        switch (dbg_command(line)) {
        case kDbgAgain:
            continue;
        case kDbgResume:
            return;
        case kDbgQuit:
            quit(0);
        default:
            std::printf("????? %s ?????\n", line);
            quit(-1);
        }
    }
}

#ifdef _WIN32

// A stack overflow seen by anyone: reported as the memory access violation it is elsewhere. Every other
// exception goes on to whoever handles it (the C++ runtime's own among them).
static LONG WINAPI report_stack_overflow(EXCEPTION_POINTERS* info) {
    if (info->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW) sighandler(SIGSEGV);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Stack kept back for the report of a stack overflow and the debugger's reading: the overflow is raised
// while this much is left.
const ULONG kOverflowRoom = 64 * 1024;

static void keep_overflow_room() {
    // Windows grows a stack a page at a time behind a guard page, which stops this far above its end.
    ULONG room = kOverflowRoom;
    SetThreadStackGuarantee(&room);
    // Wine commits the whole stack at once and guards only its last pages, where an overflow would leave
    // no room even to raise the exception: a guard page where the kept room begins does what the moving
    // guard does on Windows. Windows itself refuses it (its stack there is only reserved) and needs it not.
    MEMORY_BASIC_INFORMATION stack;
    DWORD old;
    if (VirtualQuery(&stack, &stack, sizeof stack))
        VirtualProtect(static_cast<char*>(stack.AllocationBase) + kOverflowRoom, 1,
                       PAGE_READWRITE | PAGE_GUARD, &old);
}

void zk_catch_fatal_signals() {
    // 1. Stack kept back past the overflow point.
    keep_overflow_room();
    // 2. Stack overflows first, before any frame's own handler could swallow them.
    AddVectoredExceptionHandler(1, report_stack_overflow);
    // 3. SIGSEGV, SIGILL and SIGFPE to sighandler.
    for (int sig : {SIGSEGV, SIGILL, SIGFPE}) std::signal(sig, sighandler);
}

#else

void zk_catch_fatal_signals() {
#ifndef __EMSCRIPTEN__   // WebAssembly raises no signals: a trap ends the page's program in the browser
    // 1. The handler's own stack: a stack overflow raises SIGSEGV with no room left on the stack that
    // overflowed, and a handler run there would die at once without a word.
    static char alternate_stack[64 * 1024];
    stack_t stack{};
    stack.ss_sp = alternate_stack;
    stack.ss_size = sizeof alternate_stack;
    sigaltstack(&stack, nullptr);
    // 2. SIGSEGV, SIGILL and SIGFPE to sighandler on that stack.
    struct sigaction action {};
    action.sa_handler = sighandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_ONSTACK | SA_RESTART;
    for (int sig : {SIGSEGV, SIGILL, SIGFPE}) sigaction(sig, &action, nullptr);
#endif
}

#endif

void sighandler(int sig) {
    switch (sig) {
    case SIGSEGV: dbg_error("Memory access violation");
    case SIGILL: dbg_error("Illegal instruction");
    case SIGFPE: dbg_error("Floating point exception");
    default: dbg_error("Unknown signal");
    }
}

void zk_die_uncaught(ThrowableObject*) {
    zkPrint(String("Zanth Runtime Error : Uncaught Zanth Exception"));
    quit(-1);
}
