// The host's file layer in folders named beyond ASCII, on Linux and under Wine (chattr +i stops even root).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "harness/scratch.h"
#include "harness/wav.h"
#include "host/game.h"
#include "tests/common/collector.h"

#ifdef _WIN32
#include <windows.h>
#undef LoadString   // windows.h's ANSI/wide switch would rename the host's own LoadString
#else
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

const std::string kState = ".zanthstate";
// Latin, Greek and CJK letters: none of them survives the ANSI code page of a Western Windows whole.
const std::string kBeyondAscii = "Gr\xC3\xBC\x62nik_\xCE\xBB_\xE6\x97\xA5";

#ifdef _WIN32
std::wstring wide(const std::string& utf8) { return zk_test::Utf8Path(utf8).wstring(); }
void make_read_only(const std::string& f) { SetFileAttributesW(wide(f).c_str(), FILE_ATTRIBUTE_READONLY); }
void unlock() { SetFileAttributesW(wide(kState).c_str(), FILE_ATTRIBUTE_NORMAL); }
#else
bool Sh(const std::string& command) { return std::system(command.c_str()) == 0; }
const char* const kLock = "chattr +i . 2>/dev/null || chmod a-w .";
const char* const kUnlock = "chattr -i . .zanthstate 2>/dev/null; chmod -R u+w .";
void make_read_only(const std::string& file) { Sh("chmod 444 " + file); }
void unlock() { Sh(kUnlock); }
#endif

String utf8(const std::string& bytes) {
    return String::FromUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()));
}

class Files : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        zk_test::StartCollectorOnce();
        if (!game) game = new ZKGlfwGame();
#ifndef _WIN32
        signal(SIGXFSZ, SIG_IGN);   // a write past the file-size limit comes up short instead
#endif
    }
    void SetUp() override { ASSERT_TRUE(scratch.Enter()); }
    void TearDown() override { unlock(); }

    static std::pair<int, std::string> Save(const std::string& text) {
        testing::internal::CaptureStdout();
        const int result = game->SaveState(String(text.c_str()));
        return {result, testing::internal::GetCapturedStdout()};
    }
    static inline ZKGlfwGame* game = nullptr;
    zk_test::ScratchDir scratch{"zk_files_" + kBeyondAscii};
};

TEST_F(Files, SchemePathsMapToFoldersOfTheWorkingDirectory) {
    // clang-format off
    const char* const paths[][2] = {
        {"zanth://data/graphics/b.png", "./data/graphics/b.png"}, {"zanth://internal/a", "./internal/a"},
        {"zanth://external/b/c", "./external/b/c"}, {"images/ball.png", "images/ball.png"},
        {"zanth://other/x", ""}, {"zanth:", ""}, {"zanth://data", ""}};
    // clang-format on
    for (auto& p : paths) EXPECT_EQ(game->PathToFilePath(String(p[0])), String(p[1])) << p[0];
}

// Data is read in 4096-byte pieces; loading the state removes a temporary file left by a save cut short.
TEST_F(Files, FilesNamedBeyondAsciiAreReadWhole) {
    zk_test::fs::create_directory("data");
    const std::string name = "data/caf\xC3\xA9-\xE2\x82\xAC-" + kBeyondAscii,
                      text = "h\xC3\xA9llo \xE2\x82\xAC";
    zk_test::WriteFile(name + ".txt", text);
    EXPECT_EQ(game->LoadString(utf8("zanth://" + name + ".txt")).ToUtf8(), text);
    std::string bytes;
    for (int i = 0; i < 3 * 4096 + 17; ++i) bytes += char(i * 7 + 3);
    zk_test::WriteFile(name + ".bin", bytes);
    int length = -1;
    unsigned char* data = game->LoadData(utf8("zanth://" + name + ".bin"), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), length), bytes);
    std::free(data);
    zk_test::WriteFile(kState + ".tmp", "half");   // left by a save cut short
    EXPECT_EQ(game->LoadState(), String());
    EXPECT_EQ(scratch.Entries(), std::vector<std::string>{"data"}) << "the leftover is removed";
}

// Each place: where the text lands, the folder's entries after, a shell check after, whether the state is
// read-only (the player's to keep). A longer, a shorter and the empty text must each be the whole file (a
// write in place must not keep a tail).
TEST_F(Files, EachSaveLeavesExactlyItsTextWhereverItIsWrittenAndNoneTouchesAReadOnlyState) {
    const std::string temp = kState + ".tmp";
    const std::string kept = "Saved state not written (read-only): the previous state is kept\n";
    // clang-format off
    struct Case { const char* what; std::function<void()> setup; std::string file;
                  std::vector<std::string> entries; const char* after; bool readOnly = false; };
    const Case cases[] = {
        {"a plain folder", [] {}, kState, {kState}, "true"},
        {"a temporary file left by a crash", [&] { zk_test::WriteFile(temp, "half"); }, kState, {kState}, "true"},
        {"a directory in the way", [&] { zk_test::fs::create_directory(temp); }, kState, {kState, temp}, "true"},
        {"read-only", [] { make_read_only(kState); }, kState, {kState}, "true", true},
        {"read-only, in place only", [&] { zk_test::fs::create_directory(temp), make_read_only(kState); },
         kState, {kState, temp}, "true", true},
#ifndef _WIN32
        {"a folder that takes no new file", [] { Sh(kLock); }, kState, {kState}, "true"},
        {"a link to a file in another folder", [] { Sh("mkdir s && mv .zanthstate s/real && ln -s s/real .zanthstate"); },
         "s/real", {kState, "s"}, "test $(readlink .zanthstate) = s/real"},
        {"a link whose target is missing", [] { Sh("ln -sf gone .zanthstate"); }, "gone", {kState, "gone"}, "test -L .zanthstate"},
        {"a file only its owner may read", [] { Sh("chmod 600 .zanthstate"); }, kState, {kState},
         "test $(stat -c %a .zanthstate) = 600"},
        {"a temporary file planted as a link", [] { Sh("echo v >v && ln -s v .zanthstate.tmp"); }, kState, {kState, "v"},
         "test $(cat v) = v"},
#endif
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        zk_test::ScratchDir place{"zk_state_" + kBeyondAscii};
        ASSERT_TRUE(place.Enter());
        zk_test::WriteFile(kState, "old state"), c.setup();
        for (const std::string text : {"a new state much longer than the old one", "short", ""}) {
            const std::string want = c.readOnly ? "old state" : text;
            EXPECT_EQ(Save(text), c.readOnly ? std::make_pair(-1, kept) : std::make_pair(0, std::string()));
            EXPECT_EQ(zk_test::ReadFile(c.file), want);
            EXPECT_EQ(game->LoadState(), String(want.c_str()));
        }
        std::vector<std::string> left = place.Entries();
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, c.entries);
#ifndef _WIN32
        EXPECT_TRUE(Sh(c.after)) << c.after;
#endif
        unlock();
    }
}

// Year, month, day, hour, minute, second, then 0 for the milliseconds.
TEST_F(Files, GetDateFillsAsManyFieldsAsTheRecordHolds) {
    for (int n : {0, 3, 7, 8}) {
        Array<int> date(n);
        for (int i = 0; i < n; ++i) date[i] = -1;
        std::time_t t;
        do {   // within one second
            t = std::time(nullptr);
            game->GetDate(date);
        } while (std::time(nullptr) != t);
        char now[32];
        std::strftime(now, sizeof now, "%Y %m %d %H %M %S", std::localtime(&t));
        std::vector<int> want(6), got(date.Data(), date.Data() + n);
        std::istringstream(now) >> want[0] >> want[1] >> want[2] >> want[3] >> want[4] >> want[5];
        want.push_back(0), want.push_back(-1), want.resize(n);
        EXPECT_EQ(got, want) << n << " fields";
    }
}

// A stand-in xdg-open first on PATH (here, or the Wine suite's, that Wine's shell starts) logs its arguments.
TEST_F(Files, OpenUrlHandsTheAddressOverWholeWithNothingInItRun) {
    const std::string url = "https://example.test/a b;touch pwned&q=$(touch pwned2)`touch pwned3`";
#ifdef _WIN32
    const char* env = std::getenv("ZK_URL_ARGS");
    if (!env) GTEST_SKIP() << "needs the stand-in xdg-open of the Wine suite";
    const std::string args = env;
    DeleteFileW(wide(args).c_str());
    game->OpenUrl(String(url.c_str()));
#else
    const std::string args = scratch / "args";
    ASSERT_TRUE(
        Sh("mkdir bin && printf '#!/bin/sh\\n{ echo $#; printf \"%%s\\\\n\" \"$@\"; } >a\\n"
           "mv a args' >bin/xdg-open && chmod +x bin/xdg-open"));
    const std::string path = std::getenv("PATH");
    setenv("PATH", (scratch.path() + "/bin:" + path).c_str(), 1);
    game->OpenUrl(String(url.c_str()));
    setenv("PATH", path.c_str(), 1);
#endif
    std::string got;
    for (int i = 0; i < 1000 && got.find('\n', 2) == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        got = zk_test::ReadFile(args);
    }
    std::string decoded;   // Wine escapes the address's spaces and quotes as a browser would
    for (size_t i = 0; i < got.size(); ++i) {
        if (got[i] == '%' && i + 2 < got.size())
            decoded += char(std::stoi(got.substr(i + 1, 2), nullptr, 16)), i += 2;
        else decoded += got[i];
    }
    EXPECT_EQ(decoded, "1\n" + url + "\n");
    for (const std::string& entry : scratch.Entries()) EXPECT_EQ(entry.find("pwned"), std::string::npos);
}

TEST_F(Files, LoadAudioDataPicksTheDecoderByExtensionInAnyCase) {
    zk_test::fs::create_directory("data");
    for (const char* name : {"data/B.WAV", "data/c.mp3"})
        zk_test::WriteFile(name, zk_test::wav_bytes(zk_test::wav_mono16(8000, std::string(200, '\0'))));
    const char* const paths[] = {"zanth://data/B.WAV", "zanth://data/c.mp3", "zanth://data/none.wav"};
    for (int i = 0; i < 3; ++i) {
        int length = 0, channels = 0, format = 0, hertz = 0, before = gc_ext_new_bytes;
        unsigned char* pcm = game->LoadAudioData(String(paths[i]), &length, &channels, &format, &hertz);
        EXPECT_EQ(pcm != nullptr, i == 0) << paths[i];
        if (!pcm) continue;
        EXPECT_EQ(std::vector<int>({length, channels, format, hertz, gc_ext_new_bytes - before}),
                  std::vector<int>({100, 1, 2, 8000, 200}));
        std::free(pcm);
    }
}

#ifndef _WIN32
TEST_F(Files, AKilledWriterNeverLeavesAHalfFile) {
    const int kUnits = 1 << 20;   // large enough that the kill usually lands inside a write
    std::vector<Char> ua(kUnits, 'a'), ub(kUnits, 233);
    const String texts[2] = {String(ua.data(), kUnits), String(ub.data(), kUnits)};
    const std::string a = texts[0].ToUtf8(), b = texts[1].ToUtf8();
    auto size = [e = std::error_code()]() mutable { return zk_test::fs::file_size(".zanthstate", e); };
    for (int round = 0; round < 8; ++round) {
        ASSERT_EQ(game->SaveState(texts[0]), 0);
        const pid_t child = fork();
        if (child == 0) {
            for (int i = 0; game->SaveState(texts[i % 2]) == 0; ++i) {}
            _exit(1);
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(30 + 10 * round);
        while (std::chrono::steady_clock::now() < until && (size() == a.size() || size() == b.size())) {}
        kill(child, SIGKILL), waitpid(child, nullptr, 0);
        const std::string now = zk_test::ReadFile(".zanthstate");
        ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
}

TEST_F(Files, ASaveThatFailsSaysSoInOneLineAndKeepsTheOldText) {
    auto failed = [](const std::string& text, int want, rlim_t limit) {
        struct rlimit old, r;
        getrlimit(RLIMIT_FSIZE, &old), r = {limit, old.rlim_max}, setrlimit(RLIMIT_FSIZE, &r);
        const auto [result, said] = Save(text);
        setrlimit(RLIMIT_FSIZE, &old);
        return result == want && said.rfind("Saved state not written", 0) == 0 &&
               said.find('\n') + 1 == said.size();
    };
    zk_test::WriteFile(".zanthstate", "old state");
    EXPECT_TRUE(failed(std::string(6000, '6'), -2, 1000)) << "a short write of the temporary file";
    ASSERT_TRUE(Sh(std::string(kLock) + " && (chattr +i .zanthstate 2>/dev/null || chmod a-w .zanthstate)"));
    EXPECT_TRUE(failed("new state", -1, RLIM_INFINITY)) << "nothing writable";
    ASSERT_TRUE(Sh(std::string(kUnlock) + " && " + kLock));
    EXPECT_TRUE(failed(std::string(200, '7'), -2, 100)) << "a short write in place";
    EXPECT_EQ(zk_test::ReadFile(".zanthstate"), "old state");
    EXPECT_EQ(scratch.Entries(), std::vector<std::string>{".zanthstate"});
}
#endif
