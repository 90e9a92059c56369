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

// Runs the probe with `input` on standard input, collects standard output and error, and waits for it.
// When `answer` is given, it is called with the first line of output and its reply is written too.
Result run(const std::string& what, const std::string& input,
           std::string (*answer)(const std::string&) = nullptr) {
    int in[2], out[2], err[2];
    EXPECT_EQ(pipe(in) | pipe(out) | pipe(err), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        execl(ERROR_PROBE, ERROR_PROBE, what.c_str(), static_cast<char*>(nullptr));
        _exit(99);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    Result r;
    auto read_all = [](int fd, std::string& to) {
        char buf[4096];
        for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) to.append(buf, n);
    };
    if (answer) {   // read up to the first line feed, then reply
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') r.out += c;
        std::string reply = answer(r.out);
        r.out += '\n';
        EXPECT_EQ(write(in[1], reply.data(), reply.size()), static_cast<ssize_t>(reply.size()));
    }
    if (!input.empty()) {
        EXPECT_EQ(write(in[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
    }
    close(in[1]);
    read_all(out[0], r.out);
    read_all(err[0], r.err);
    close(out[0]);
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

const std::string kReport = "Zanth Runtime Error : boom\n\n";
const std::string kMarker = "{{~~~~}}\n\n";

}  // namespace

TEST(Diagnostics, EmptyErrorQuitsAtOnceWithStatusZero) {
    Result r = run("empty", "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(Diagnostics, RuntimeErrorWithoutADebuggerExitsWithMinusOne) {
    Result r = run("boom", "");
    EXPECT_EQ(r.out, kReport);
    EXPECT_EQ(r.err, kMarker);
    EXPECT_EQ(r.status, 255);
}

TEST(Diagnostics, DebuggerCommands) {
    Result quit = run("boom", "q\n");
    EXPECT_EQ(quit.status, 0);
    EXPECT_EQ(quit.out, kReport);

    Result help_then_quit = run("boom", "?\nq\n");
    EXPECT_EQ(help_then_quit.status, 0);
    EXPECT_EQ(help_then_quit.err, kMarker);

    Result unknown = run("boom", "x\n");
    EXPECT_EQ(unknown.out, kReport + "????? x ?????\n");
    EXPECT_EQ(unknown.status, 255);

    // Continuing reports the error again and waits for the next command.
    Result resume = run("boom", "r\nq\n");
    EXPECT_EQ(resume.out, kReport + kReport);
    EXPECT_EQ(resume.err, kMarker + kMarker);
    EXPECT_EQ(resume.status, 0);

    Result no_line_feed = run("boom", "q");
    EXPECT_EQ(no_line_feed.status, 255);
}

TEST(Diagnostics, AtCommandAnswersOnlyForObjectsTheCollectorHolds) {
    // A bogus address, null and garbage text all answer with an empty line and the process lives on.
    Result bogus = run("boom", "@0x10\n@0\n@zzz\n@0xdeadbeefcafe\nq\n");
    EXPECT_EQ(bogus.status, 0);
    EXPECT_EQ(bogus.err, kMarker + "\n\n\n\n");

    // A live object's debug text is printed.
    Result live = run("object", "q\n", [](const std::string& address) { return "@" + address + "\n"; });
    EXPECT_EQ(live.status, 0);
    EXPECT_EQ(live.err, kMarker + "Probe object\n");

    // Every unit is written as its low byte, a zero byte included, and the line still ends.
    Result zero = run("zero-object", "q\n", [](const std::string& address) { return "@" + address + "\n"; });
    EXPECT_EQ(zero.status, 0);
    EXPECT_EQ(zero.err, kMarker + std::string("a\0b\n", 4));
}

TEST(Diagnostics, UncaughtExceptionAndSignals) {
    Result uncaught = run("uncaught", "");
    EXPECT_EQ(uncaught.out, "Zanth Runtime Error : Uncaught Zanth Exception\n");
    EXPECT_EQ(uncaught.status, 255);

    for (const char* what : {"segv", "overflow"}) {   // a stack overflow is reported the same way
        Result r = run(what, "");
        EXPECT_EQ(r.out, "Zanth Runtime Error : Memory access violation\n\n") << what;
        EXPECT_EQ(r.err, kMarker) << what;
        EXPECT_EQ(r.status, 255) << what;
    }
}

TEST(Diagnostics, PrintWritesUtf8Lines) {
    Result r = run("print", "");
    EXPECT_EQ(r.out, "caf\xc3\xa9\n");
    EXPECT_EQ(r.status, 0);

    // The error message is narrowed to bytes and widened back to the same letters for the report.
    Result accent = run("accent", "");
    EXPECT_EQ(accent.out, "Zanth Runtime Error : caf\xc3\xa9\n\n");
    EXPECT_EQ(accent.status, 255);
}
