// Diagnostics of whole processes; exit status -1 reaches a POSIX parent as 255 (Windows: its low byte).
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <string>
#include <tuple>

#include "harness/scratch.h"

namespace {

using Result = std::tuple<std::string, std::string, int>;   // output, error output, exit status

// Windows' C runtime writes each line feed of a text-mode stream as CR LF.
std::string lines(std::string text) {
#ifdef _WIN32
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
#endif
    return text;
}

Result run(const std::string& what, const std::string& input) {
    static zk_test::ScratchDir dir("zk_error_probe");
    zk_test::WriteFile(dir / "in", input);
    const std::string cmd = std::string(ERROR_PROBE) + " " + what + " <" + dir / "in" + " >" + dir / "out" +
                            " 2>" + dir / "err";
    const int status = std::system(cmd.c_str());
#ifdef _WIN32
    const int exit_status = status & 0xFF;   // the program's own exit code, through the command interpreter
#else
    const int exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return {lines(zk_test::ReadFile(dir / "out")), lines(zk_test::ReadFile(dir / "err")), exit_status};
}

const std::string kReport = "Zanth Runtime Error : boom\n\n";
const std::string kMarker = "{{~~~~}}\n\n";

TEST(Diagnostics, ProbeRuns) {
    const struct {
        const char* what;
        std::string input, out, err;
        int status;
    } runs[] = {
        {"empty", "", "", "", 0},
        {"boom", "", kReport, kMarker, 255},   // no debugger
        {"boom", "q\n", kReport, kMarker, 0},
        {"boom", "?\nq\n", kReport, kMarker, 0},
        {"boom", "x\n", kReport + "????? x ?????\n", kMarker, 255},
        {"boom", "r\nq\n", kReport + kReport, kMarker + kMarker, 0},   // continue: reported again
        {"boom", "q", kReport, kMarker, 255},                          // a line without its end
        // A bogus address, null and garbage all answer with an empty line, and the process lives on.
        {"boom", "@0x10\n@0\n@zzz\n@0xdeadbeefcafe\nq\n", kReport, kMarker + "\n\n\n\n", 0},
        // "@" and a live object's address print its debug text, every unit as its low byte.
        {"object", "", kReport, kMarker + "Probe object\n", 0},
        {"zero-object", "", kReport, kMarker + std::string("a\0b\n", 4), 0},
        {"uncaught", "", "Zanth Runtime Error : Uncaught Zanth Exception\n", "", 255},
        {"segv", "", "Zanth Runtime Error : Memory access violation\n\n", kMarker, 255},
        {"overflow", "", "Zanth Runtime Error : Memory access violation\n\n", kMarker, 255},
        {"null", "", "Zanth Runtime Error : Memory access violation\n\n", kMarker, 255},
        {"trap", "", "Zanth Runtime Error : Illegal instruction\n\n", kMarker, 255},
        {"divide", "", "Zanth Runtime Error : Floating point exception\n\n", kMarker, 255},   // integer
        {"print", "", "caf\xc3\xa9\n", "", 0},
        {"accent", "", "Zanth Runtime Error : caf\xc3\xa9\n\n", kMarker, 255},   // narrowed and widened back
    };
    for (auto& r : runs)
        EXPECT_EQ(run(r.what, r.input), std::tie(r.out, r.err, r.status)) << r.what << " given " << r.input;
}

}  // namespace
