// Host file layer on real files, each test in a fresh temporary working folder: the path scheme, reading
// files as text and bytes, UTF-8 file names, the saved state (its atomic replacement, its write in awkward
// places, and the failed saves it must report), opening a web address without a shell, and reading sound
// files by extension. Awkward places are made with shell commands; a folder that takes no new file is
// made immutable with chattr as root, whom permissions do not stop, and read-only otherwise.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "host/game.h"
#include "tests/common/collector.h"
#include "tests/common/scratch.h"
#include "tests/common/wav.h"

namespace {

bool Sh(const std::string& command) { return std::system(command.c_str()) == 0; }

const char* const kLock = "chattr +i . 2>/dev/null || chmod a-w .";
const char* const kUnlock = "chattr -i . .zanthstate 2>/dev/null; chmod -R u+w .";

String units(std::initializer_list<int> codes) {   // a text of these code units
    String s;
    for (int c : codes) s += String(Char(c));
    return s;
}

class Files : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        zk_test::StartCollectorOnce();
        if (!game) game = new ZKGlfwGame();
    }
    void SetUp() override { ASSERT_TRUE(scratch.Enter()); }
    void TearDown() override { Sh(kUnlock); }

    // Saves `text` in a child process with files limited to `limit` bytes (0: no limit); true when the
    // save returned `want` and printed one line saying it failed.
    static bool FailedSave(const std::string& text, int want, rlim_t limit = 0) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit r = {limit, limit};
            if (limit) setrlimit(RLIMIT_FSIZE, &r);
            testing::internal::CaptureStdout();
            const int result = game->SaveState(String(text.c_str()));
            const std::string out = testing::internal::GetCapturedStdout();
            const bool said = out.rfind("Saved state not written", 0) == 0 && out.find('\n') == out.size() - 1;
            _exit(result == want && said ? 0 : 1);
        }
        int status = 0;
        return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    static ZKGlfwGame* game;
    zk_test::ScratchDir scratch{"zk_files"};
};
using StateWrite = Files;

ZKGlfwGame* Files::game = nullptr;

// Scheme roots map to folders of the working directory; any other "zanth:" form is the empty path, even
// when a file of that name exists; other paths stay as they are.
TEST_F(Files, SchemePathsMapToFoldersOfTheWorkingDirectory) {
    const char* const paths[][2] = {
        {"zanth://data/graphics/ball.png", "./data/graphics/ball.png"}, {"zanth://internal/a", "./internal/a"},
        {"zanth://external/b/c", "./external/b/c"}, {"images/ball.png", "images/ball.png"},
        {"zanth://other/x", ""}, {"zanth:", ""}, {"zanth://data", ""},
    };
    for (auto& p : paths) EXPECT_EQ(game->PathToFilePath(String(p[0])), String(p[1])) << p[0];
    ASSERT_TRUE(Sh("mkdir other && echo x >other/x"));
    EXPECT_EQ(game->OpenFile(String("zanth://other/x"), String("rb")), nullptr);
}

// Text is read as UTF-8, file names beyond ASCII are UTF-8 on disk, and data of sizes around the
// 4096-byte reading piece comes back whole.
TEST_F(Files, TextFileNamesAndDataAreReadWhole) {
    mkdir("data", 0755);
    zk_test::WriteFile("data/caf\xC3\xA9-\xE2\x82\xAC.txt", "h\xC3\xA9llo \xE2\x82\xAC");
    String name = String("zanth://data/caf") + units({233, '-', 8364}) + String(".txt");
    EXPECT_EQ(game->LoadString(name), units({'h', 233, 'l', 'l', 'o', ' ', 8364}));
    for (int size : {0, 4096, 3 * 4096 + 17}) {
        std::string bytes(size, '\0');
        for (int i = 0; i < size; ++i) bytes[i] = char(i * 7 + 3);
        zk_test::WriteFile("data/blob.bin", bytes);
        int length = -1;
        unsigned char* data = game->LoadData(String("zanth://data/blob.bin"), &length);
        ASSERT_NE(data, nullptr) << size;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(data), length), bytes) << size;
        std::free(data);
    }
    int length = -1;
    EXPECT_EQ(game->LoadData(String("zanth://data/missing.bin"), &length), nullptr);
    EXPECT_EQ(game->LoadString(String("zanth://data/missing.txt")).Length(), 0);
}

// A writer killed at an arbitrary moment leaves either the old text or the new one, complete. The child
// saves two large texts in turn and reports each finished save through a pipe; after its first finished
// save it is killed the moment the state file looks incomplete, or after a while wherever it is.
TEST_F(Files, AKilledWriterNeverLeavesAHalfFile) {
    const int kUnits = 1 << 20;   // large enough that the kill usually lands inside a write
    std::string a(kUnits, 'a'), b;
    for (int i = 0; i < kUnits; ++i) b += "\xC3\xA9";
    for (int round = 0; round < 8; ++round) {
        ASSERT_EQ(game->SaveState(String("old")), 0);
        int done[2];
        ASSERT_EQ(pipe(done), 0);
        pid_t child = fork();
        if (child == 0) {
            std::vector<Char> ua(kUnits, 'a'), ub(kUnits, 233);
            String texts[2] = {String(ua.data(), kUnits), String(ub.data(), kUnits)};
            for (int i = 0; game->SaveState(texts[i % 2]) == 0 && write(done[1], "s", 1) == 1; ++i) {}
            _exit(1);
        }
        char byte;
        ASSERT_EQ(read(done[0], &byte, 1), 1);
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(30 + 10 * round);
        for (struct stat st; std::chrono::steady_clock::now() < until;) {
            const size_t size = stat(".zanthstate", &st) == 0 ? size_t(st.st_size) : 0;
            if (size != a.size() && size != b.size()) break;
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(done[0]);
        close(done[1]);
        std::string now = zk_test::ReadFile(".zanthstate");
        ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
}

// Every way into a save that must still happen: a shell command makes the place, the new text must land
// in `file`, no temporary file may be left beside it, and a shell test must hold afterwards. A longer
// text, then a shorter one, then none: an in-place write must not keep the longer text's tail.
TEST_F(StateWrite, SavesWhereTheTemporaryFileCannotGoThroughLinksAndKeepingPermissions) {
    struct Case { const char* what; const char* setup; std::string file; const char* after; } const cases[] = {
        {"a plain folder", "true", ".zanthstate", "test $(ls -A | wc -l) = 1"},
        {"a folder that takes no new file", kLock, ".zanthstate", "true"},
        {"a directory in the way of the temporary file", "mkdir .zanthstate.tmp && ln -s k .zanthstate.tmp/k",
         ".zanthstate", "test -L .zanthstate.tmp/k"},
        {"a link to a file in another folder", "mkdir sub && mv .zanthstate sub/real && ln -s sub/real .zanthstate",
         "sub/real", "test $(readlink .zanthstate) = sub/real"},
        {"a link whose target is missing", "ln -sf elsewhere .zanthstate", "elsewhere", "test -L .zanthstate"},
        {"a file only its owner may read", "chmod 600 .zanthstate", ".zanthstate",
         "test $(stat -c %a .zanthstate) = 600"},
        {"a temporary file planted as a link", "echo v >victim && ln -s victim .zanthstate.tmp", ".zanthstate",
         "test $(cat victim) = v"},
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

// A save that cannot happen prints one line saying so and leaves the old text whole: the disk is full (a
// file-size limit) for the temporary file (-2), nothing may be written at all (-1), or the disk is full
// where only an in-place write is possible (-2).
TEST_F(StateWrite, ASaveThatFailsSaysSoInOneLineAndKeepsTheOldText) {
    zk_test::WriteFile(".zanthstate", "old state");
    EXPECT_TRUE(FailedSave(std::string(6000, '6'), -2, 1000)) << "a short write of the temporary file";
    ASSERT_TRUE(Sh(std::string(kLock) + " && (chattr +i .zanthstate 2>/dev/null || chmod a-w .zanthstate)"));
    EXPECT_TRUE(FailedSave("new state", -1)) << "nothing writable";
    ASSERT_TRUE(Sh(std::string(kUnlock) + " && " + kLock));
    EXPECT_TRUE(FailedSave(std::string(200, '7'), -2, 100)) << "a short write in place";
    EXPECT_EQ(zk_test::ReadFile(".zanthstate"), "old state");
    EXPECT_EQ(scratch.Entries(), std::vector<std::string>{".zanthstate"});
}

// xdg-open is replaced by a script on PATH that records its arguments: the address must arrive as one
// argument, byte for byte, with nothing a shell would have expanded.
TEST_F(Files, OpenUrlHandsTheAddressToXdgOpenWithoutAShell) {
    ASSERT_TRUE(Sh("mkdir bin && printf '#!/bin/sh\\n{ echo $#; printf \"%%s\\\\n\" \"$@\"; } >a\\nmv a args\\n' "
                   ">bin/xdg-open && chmod +x bin/xdg-open"));
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
    for (const char* name : {"data/a.wav", "data/B.WAV", "data/c.mp3"})
        zk_test::WriteFile(name, zk_test::wav_bytes(zk_test::wav_mono16(8000, std::string(200, '\0'))));
    const char* const paths[] = {"zanth://data/a.wav", "zanth://data/B.WAV",   // WAV; then none
                                 "zanth://data/c.mp3", "zanth://data/none.wav", "zanth://x/a.wav"};
    for (int i = 0; i < 5; ++i) {
        int length = 0, channels = 0, format = 0, hertz = 0, before = gc_ext_new_bytes;
        unsigned char* pcm = game->LoadAudioData(String(paths[i]), &length, &channels, &format, &hertz);
        EXPECT_EQ(pcm != nullptr, i < 2) << paths[i];
        if (!pcm) continue;
        EXPECT_EQ(std::vector<int>({length, channels, format, hertz, gc_ext_new_bytes - before}),
                  std::vector<int>({100, 1, 2, 8000, 200}));
        std::free(pcm);
    }
}

}  // namespace
