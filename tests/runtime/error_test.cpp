// Diagnostics as whole processes: the report lines, the debugger's line protocol on standard input and
// standard error, and the exit statuses (-1 reaches a POSIX parent as 255).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace {

struct Result {
    std::string out, err;
    int status = -1;
};

std::string read_all(int fd) {
    std::string to;
    char buf[4096];
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) to.append(buf, n);
    return to;
}

// Runs the probe and gives it `input`. With `at_object`, the first line the probe prints is an object's
// address, and the reply "@<address>" goes before `input`.
Result run(const std::string& what, const std::string& input, bool at_object = false) {
    int in[2], out[2], err[2];
    EXPECT_EQ(pipe(in) | pipe(out) | pipe(err), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0), dup2(out[1], 1), dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        execl(ERROR_PROBE, ERROR_PROBE, what.c_str(), static_cast<char*>(nullptr));
        _exit(99);
    }
    close(in[0]), close(out[1]), close(err[1]);
    Result r;
    std::string send = input;
    if (at_object) {
        for (char c; read(out[0], &c, 1) == 1 && c != '\n';) r.out += c;
        send = "@" + r.out + "\n" + input;
        r.out.clear();
    }
    EXPECT_EQ(write(in[1], send.data(), send.size()), ssize_t(send.size()));
    close(in[1]);
    r.out = read_all(out[0]), r.err = read_all(err[0]);
    close(out[0]), close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

const std::string kReport = "Zanth Runtime Error : boom\n\n";
const std::string kMarker = "{{~~~~}}\n\n";

TEST(Diagnostics, ProbeRuns) {
    const struct { const char* what; std::string input, out, err; int status; } runs[] = {
        {"empty", "", "", "", 0},
        {"boom", "", kReport, kMarker, 255},                                 // no debugger
        {"boom", "q\n", kReport, kMarker, 0},
        {"boom", "?\nq\n", kReport, kMarker, 0},
        {"boom", "x\n", kReport + "????? x ?????\n", kMarker, 255},
        {"boom", "r\nq\n", kReport + kReport, kMarker + kMarker, 0},        // continue: reported again
        {"boom", "q", kReport, kMarker, 255},                               // a line without its end
        // A bogus address, null and garbage all answer with an empty line, and the process lives on.
        {"boom", "@0x10\n@0\n@zzz\n@0xdeadbeefcafe\nq\n", kReport, kMarker + "\n\n\n\n", 0},
        {"uncaught", "", "Zanth Runtime Error : Uncaught Zanth Exception\n", "", 255},
        {"segv", "", "Zanth Runtime Error : Memory access violation\n\n", kMarker, 255},
        {"overflow", "", "Zanth Runtime Error : Memory access violation\n\n", kMarker, 255},   // a stack overflow
        {"print", "", "caf\xc3\xa9\n", "", 0},
        {"accent", "", "Zanth Runtime Error : caf\xc3\xa9\n\n", kMarker, 255},   // narrowed and widened back
    };
    for (auto& r : runs) {
        Result got = run(r.what, r.input);
        EXPECT_EQ(got.out, r.out) << r.what << " given " << r.input;
        EXPECT_EQ(got.err, r.err) << r.what << " given " << r.input;
        EXPECT_EQ(got.status, r.status) << r.what << " given " << r.input;
    }
}

TEST(Diagnostics, AtCommandPrintsTheDebugTextOfALiveObjectEveryUnitAsItsLowByte) {
    Result live = run("object", "q\n", true);
    EXPECT_EQ(live.err, kMarker + "Probe object\n");
    Result zero = run("zero-object", "q\n", true);
    EXPECT_EQ(zero.err, kMarker + std::string("a\0b\n", 4));
    EXPECT_EQ(zero.status, 0);
}

}  // namespace
