// tests/common/process.h: a program of the build as a child process whose output lines are read as they
// come. Deadlines only keep a broken build from hanging the suite.
#pragma once

#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

class ChildProcess {
public:
    // Starts `path` in `dir`, its output piped here, through `launcher` (Wine) if given. No leak check at
    // exit: the program ends through exit() with its GL and audio threads still running.
    ChildProcess(const std::string& path, const std::string& dir, const std::string& launcher = "") {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::string cmd = "cd '" + dir +
                          "' && exec env ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\" " +
                          launcher + " '" + path + "'";
        const char* argv[] = {"/bin/sh", "-c", cmd.c_str(), nullptr};
        if (posix_spawn(&pid_, "/bin/sh", &actions, nullptr, const_cast<char**>(argv), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        fd_ = fds[0];
    }
    ~ChildProcess() {
        if (pid_ > 0 && !exited_) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
        if (fd_ >= 0) close(fd_);
    }
    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }   // the program itself once the shell has exec'd it

    // Waits until a line read contains `text`; false when the child ended first.
    bool WaitFor(const std::string& text, double seconds = 20.0) {
        auto end = Clock::now() + std::chrono::duration<double>(seconds);
        for (size_t next = 0;; ++next) {
            while (next >= lines_.size()) {
                double left = std::chrono::duration<double>(end - Clock::now()).count();
                if (left <= 0 || eof_) return false;
                ReadMore(left < 0.1 ? left : 0.1);
            }
            if (lines_[next].find(text) != std::string::npos) return true;
        }
    }
    std::string Transcript() const {   // every line so far, for failure messages
        std::string out;
        for (const std::string& l : lines_) out += l + "\n";
        return out;
    }
    // Waits for the child to end; its exit status, -1000 - signal, or -1000 if it did not end in time.
    int WaitExit(double seconds = 20.0) {
        for (auto end = Clock::now() + std::chrono::duration<double>(seconds); Clock::now() < end;
             ReadMore(0.05)) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) != pid_) continue;
            exited_ = true;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1000 - WTERMSIG(status);
        }
        return -1000;
    }

private:
    using Clock = std::chrono::steady_clock;
    bool ReadMore(double seconds) {
        pollfd p = {fd_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(seconds * 1000)) <= 0) return false;
        char buf[4096];
        ssize_t n = read(fd_, buf, sizeof buf);
        if (n <= 0) return !(eof_ = true);
        for (ssize_t i = 0; i < n; ++i) {
            if (buf[i] != '\n') partial_ += buf[i];
            else lines_.push_back(partial_), partial_.clear();
        }
        return true;
    }

    pid_t pid_ = -1;
    int fd_ = -1;
    bool exited_ = false, eof_ = false;
    std::vector<std::string> lines_;
    std::string partial_;
};

// Runs a shell command and returns its standard output without the last newline.
inline std::string Shell(const std::string& cmd) {
    std::string out;
    if (FILE* f = popen(cmd.c_str(), "r")) {
        for (int c; (c = std::fgetc(f)) != EOF;) out += char(c);
        pclose(f);
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

// Sends the window manager's close request (what the title bar's close button sends) to an X window.
inline void SendCloseRequest(unsigned long window) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    XEvent e = {};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &e);
    XCloseDisplay(display);
}
