// runtime/error.h: the normal exit, runtime errors, uncaught exceptions, fatal signals, and the console
// debugger's line protocol.
//
// zkError("") is how the program quits normally (exit status 0). zkError with a message reports a runtime
// error on standard output and hands control to a debugger on standard input/standard error; without one
// (standard input at its end) the program exits with -1. Execution never continues past a runtime error.
// zkPrint writes one UTF-8 line to standard output.
#pragma once

#include "runtime/gc.h"
#include "runtime/string.h"

// Base of the exception objects game code can throw; the host catches pointers to it around every call
// into the game.
struct ThrowableObject : Object {};

// Describes the current source position for the debugger; nothing sets it.
extern const char* dbg_info;

void zkPrint(const String& text);
[[noreturn]] void zkError(const String& message);
[[noreturn]] void dbg_error(const char* text);
String dbg_stacktrace();
void dbg_stop();
// One debugger command line (without its line feed): "?" asks again, "@address" prints the debug text of
// the collected object at that address (an empty line for anything else) and asks again, "r", "s", "e"
// and "l" resume, "q" quits; any other first byte is an unknown command.
enum { kDbgAgain, kDbgResume, kDbgQuit, kDbgUnknown };
int dbg_command(const char* line);
void dbg_print(const String& text);
[[noreturn]] void sighandler(int sig);
// Sends SIGSEGV, SIGILL and SIGFPE to sighandler, and a stack overflow too, as the memory access violation
// it is: on POSIX systems the handler runs on a stack of its own; on Windows a vectored exception handler
// reports the overflow on stack room the thread keeps back.
void zk_catch_fatal_signals();
// Reports an exception that escaped the game and ends the program with status -1.
[[noreturn]] void zk_die_uncaught(ThrowableObject* ex);
