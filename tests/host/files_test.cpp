// Host file layer in a fresh working folder: the saved state's atomic replacement, its write in awkward
// places (made by shell commands; chattr +i as root, whom permissions do not stop) and failures, and more.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "harness/scratch.h"
#include "harness/wav.h"
#include "host/game.h"
#include "tests/common/collector.h"

namespace {

bool Sh(const std::string& command) { return std::system(command.c_str()) == 0; }

const char* const kLock = "chattr +i . 2>/dev/null || chmod a-w .";
const char* const kUnlock = "chattr -i . .zanthstate 2>/dev/null; chmod -R u+w .";

String units(std::initializer_list<Char> codes) {   // a text of these code units
    const std::vector<Char> v(codes);
    return String(v.data(), int(v.size()));
}

class Files : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        zk_test::StartCollectorOnce();
        if (!game) game = new ZKGlfwGame();
        signal(SIGXFSZ, SIG_IGN);   // a write past the file-size limit comes up short instead
    }
    void SetUp() override { ASSERT_TRUE(scratch.Enter()); }
    void TearDown() override { Sh(kUnlock); }

    // Saves with files limited to `limit` bytes: did it return `want` and print one line saying so?
    static bool FailedSave(const std::string& text, int want, rlim_t limit = RLIM_INFINITY) {
        struct rlimit old, r;
        getrlimit(RLIMIT_FSIZE, &old);
        r = {limit, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &r);
        testing::internal::CaptureStdout();
        const int got = game->SaveState(String(text.c_str()));
        const std::string out = testing::internal::GetCapturedStdout();
        setrlimit(RLIMIT_FSIZE, &old);
        return got == want && out.rfind("Saved state not written", 0) == 0 &&
               out.find('\n') + 1 == out.size();   // one line
    }

    static ZKGlfwGame* game;
    zk_test::ScratchDir scratch{"zk_files"};
};
using StateWrite = Files;

ZKGlfwGame* Files::game = nullptr;

// Scheme roots map to folders; any other "zanth:" form is the empty path, which nothing opens.
TEST_F(Files, SchemePathsMapToFoldersOfTheWorkingDirectory) {
    const char* const paths[][2] = {
        {"zanth://data/graphics/b.png", "./data/graphics/b.png"}, {"zanth://internal/a", "./internal/a"},
        {"zanth://external/b/c", "./external/b/c"}, {"images/ball.png", "images/ball.png"},
        {"zanth://other/x", ""}, {"zanth:", ""}, {"zanth://data", ""},
    };
    for (auto& p : paths) EXPECT_EQ(game->PathToFilePath(String(p[0])), String(p[1])) << p[0];
}

// Text is read as UTF-8, file names beyond ASCII are UTF-8 on disk, and data longer than the 4096-byte
// reading piece comes back whole.
TEST_F(Files, TextFileNamesAndDataAreReadWhole) {
    mkdir("data", 0755);
    zk_test::WriteFile("data/caf\xC3\xA9-\xE2\x82\xAC.txt", "h\xC3\xA9llo \xE2\x82\xAC");
    String name = String("zanth://data/caf") + units({233, '-', 8364}) + String(".txt");
    EXPECT_EQ(game->LoadString(name), units({'h', 233, 'l', 'l', 'o', ' ', 8364}));
    std::string bytes;
    for (int i = 0; i < 3 * 4096 + 17; ++i) bytes += char(i * 7 + 3);
    zk_test::WriteFile("data/blob.bin", bytes);
    int length = -1;
    unsigned char* data = game->LoadData(String("zanth://data/blob.bin"), &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), length), bytes);
    std::free(data);
}

// A writer killed at any moment leaves the old text or the new one, whole: the child saves two texts in
// turn and, once its first save is in place, dies when the file looks incomplete or after a while.
TEST_F(Files, AKilledWriterNeverLeavesAHalfFile) {
    const int kUnits = 1 << 20;   // large enough that the kill usually lands inside a write
    std::vector<Char> ua(kUnits, 'a'), ub(kUnits, 233);
    const String texts[2] = {String(ua.data(), kUnits), String(ub.data(), kUnits)};
    const std::string a = texts[0].ToUtf8(), b = texts[1].ToUtf8();
    auto size = [] {
        struct stat st;
        return stat(".zanthstate", &st) == 0 ? size_t(st.st_size) : 0;
    };
    for (int round = 0; round < 8; ++round) {
        ASSERT_EQ(game->SaveState(String("old")), 0);
        const pid_t child = fork();
        if (child == 0) {
            for (int i = 0; game->SaveState(texts[i % 2]) == 0; ++i) {}
            _exit(1);
        }
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (size() != a.size() && std::chrono::steady_clock::now() < until) {}
        until = std::chrono::steady_clock::now() + std::chrono::milliseconds(30 + 10 * round);
        while (std::chrono::steady_clock::now() < until && (size() == a.size() || size() == b.size())) {}
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = zk_test::ReadFile(".zanthstate");
        ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
}

// Saves that must still happen: the text lands in `file`, no temporary file is left, `after` holds; a
// longer text, then shorter ones: an in-place write must not keep the longer text's tail.
TEST_F(StateWrite, SavesWhereTheTemporaryFileCannotGoThroughLinksAndKeepingPermissions) {
    struct Case { const char *what, *setup; std::string file; const char* after; } const cases[] = {
        {"a plain folder", "true", ".zanthstate", "test $(ls -A | wc -l) = 1"},
        {"a folder that takes no new file", kLock, ".zanthstate", "true"},
        {"a directory in the way of the temporary file", "mkdir .zanthstate.tmp && ln -s k .zanthstate.tmp/k",
         ".zanthstate", "test -L .zanthstate.tmp/k"},
        {"a link to a file in another folder", "mkdir s && mv .zanthstate s/real && ln -s s/real .zanthstate",
         "s/real", "test $(readlink .zanthstate) = s/real"},
        {"a link whose target is missing", "ln -sf gone .zanthstate", "gone", "test -L .zanthstate"},
        {"a file only its owner may read", "chmod 600 .zanthstate", ".zanthstate",
         "test $(stat -c %a .zanthstate) = 600"},
        {"a temporary file planted as a link", "echo v >v && ln -s v .zanthstate.tmp", ".zanthstate",
         "test $(cat v) = v"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        zk_test::ScratchDir place{"zk_state"};
        ASSERT_TRUE(place.Enter());
        zk_test::WriteFile(".zanthstate", "old state");
        EXPECT_TRUE(Sh(c.setup)) << "cannot be set up here";
        for (const std::string text : {"a new state much longer than the old one", "short", ""}) {
            EXPECT_EQ(game->SaveState(String(text.c_str())), 0) << text;
            EXPECT_EQ(zk_test::ReadFile(c.file), text);
            EXPECT_EQ(game->LoadState(), String(text.c_str()));
        }
        EXPECT_TRUE(Sh("test ! -f " + c.file + ".tmp -a ! -L " + c.file + ".tmp")) << "a temporary file left";
        EXPECT_TRUE(Sh(c.after)) << c.after;
        Sh(kUnlock);
    }
}

TEST_F(StateWrite, ATemporaryFileLeftByACrashIsRemovedOnLoading) {
    ASSERT_TRUE(Sh("echo -n old >.zanthstate && echo -n half >.zanthstate.tmp"));
    EXPECT_EQ(game->LoadState(), String("old"));
    EXPECT_EQ(scratch.Entries(), std::vector<std::string>{".zanthstate"});
}

// A save that cannot happen says so in one line and keeps the old text whole: a state file the player
// made read-only (as root too, whom its mode does not stop), a full disk (a file-size limit) for the
// temporary file, nothing writable, a full disk where only an in-place write can go.
TEST_F(StateWrite, ASaveThatFailsSaysSoInOneLineAndKeepsTheOldText) {
    zk_test::WriteFile(".zanthstate", "old state");
    ASSERT_TRUE(Sh("chmod 444 .zanthstate"));
    EXPECT_TRUE(FailedSave("new state", -1)) << "a read-only state file";
    EXPECT_TRUE(Sh("test $(stat -c %a .zanthstate) = 444")) << "its mode kept";
    ASSERT_TRUE(Sh("chmod 644 .zanthstate"));
    EXPECT_TRUE(FailedSave(std::string(6000, '6'), -2, 1000)) << "a short write of the temporary file";
    ASSERT_TRUE(Sh(std::string(kLock) + " && (chattr +i .zanthstate 2>/dev/null || chmod a-w .zanthstate)"));
    EXPECT_TRUE(FailedSave("new state", -1)) << "nothing writable";
    ASSERT_TRUE(Sh(std::string(kUnlock) + " && " + kLock));
    EXPECT_TRUE(FailedSave(std::string(200, '7'), -2, 100)) << "a short write in place";
    EXPECT_EQ(zk_test::ReadFile(".zanthstate"), "old state");
    EXPECT_EQ(scratch.Entries(), std::vector<std::string>{".zanthstate"});
}

// A script on PATH stands in for xdg-open: the address arrives as one argument, nothing expanded.
TEST_F(Files, OpenUrlHandsTheAddressToXdgOpenWithoutAShell) {
    ASSERT_TRUE(Sh("mkdir bin && printf '#!/bin/sh\\n{ echo $#; printf \"%%s\\\\n\" \"$@\"; } >a\\n"
                   "mv a args' >bin/xdg-open && chmod +x bin/xdg-open"));
    std::string old_path = std::getenv("PATH");
    setenv("PATH", (scratch.path() + "/bin:" + old_path).c_str(), 1);
    const std::string url = "https://example.test/a b;touch pwned&q=$(touch pwned2)`touch pwned3`";
    game->OpenUrl(String(url.c_str()));
    for (int i = 0; i < 1000 && !Sh("test -f args"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    setenv("PATH", old_path.c_str(), 1);
    EXPECT_EQ(zk_test::ReadFile("args"), "1\n" + url + "\n");
    EXPECT_TRUE(Sh("test ! -e pwned -a ! -e pwned2 -a ! -e pwned3"));
}

// The decoder follows the extension in any letter case; the PCM is reported as memory outside the heap.
TEST_F(Files, LoadAudioDataPicksTheDecoderByExtensionInAnyCase) {
    mkdir("data", 0755);
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

}  // namespace
