// Host file layer: the path scheme, reading files as text and bytes, the saved state's bytes and its
// atomic replacement (failed saves and killed writers), the date record, opening a web address without
// a shell, and reading sound files by extension. Every test runs in a fresh temporary working folder.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/game.h"
#include "tests/common/scratch.h"
#include "tests/common/wav.h"

namespace {

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

String units(std::initializer_list<int> codes) {   // a text of these code units
    String s;
    for (int c : codes) s += String(Char(c));
    return s;
}

// Each test gets its own working folder, removed afterwards; the state file is relative to it.
class Files : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gc_init1();
        if (!game) game = new ZKGlfwGame();
    }
    void SetUp() override { ASSERT_TRUE(scratch.Enter()); }

    static ZKGlfwGame* game;
    zk_test::ScratchDir scratch{"zk_files"};
    const std::string& dir = scratch.path();
};

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
    mkdir("other", 0755);
    zk_test::WriteFile("other/x", "x");
    EXPECT_EQ(game->OpenFile(String("zanth://other/x"), String("rb")), nullptr);
}

TEST_F(Files, LoadStringAndLoadDataReadWholeFilesThroughTheScheme) {
    mkdir("data", 0755);
    zk_test::WriteFile("data/hello.txt", "h\xC3\xA9llo \xE2\x82\xAC");
    EXPECT_EQ(game->LoadString(String("zanth://data/hello.txt")), units({'h', 233, 'l', 'l', 'o', ' ', 8364}));
    EXPECT_EQ(game->LoadString(String("zanth://data/missing.txt")).Length(), 0);

    // Sizes around the 4096-byte reading piece, and an empty file (a block, zero length).
    for (int size : {0, 1, 4095, 4096, 4097, 3 * 4096 + 17}) {
        std::string bytes(size, '\0');
        for (int i = 0; i < size; ++i) bytes[i] = char(i * 7 + 3);
        zk_test::WriteFile("data/blob.bin", bytes);
        int length = -1;
        unsigned char* data = game->LoadData(String("zanth://data/blob.bin"), &length);
        ASSERT_NE(data, nullptr) << size;
        EXPECT_EQ(length, size);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(data), length), bytes) << size;
        std::free(data);
    }
    int length = -1;
    EXPECT_EQ(game->LoadData(String("zanth://data/missing.bin"), &length), nullptr);
    EXPECT_EQ(length, -1);
}

TEST_F(Files, FileNamesBeyondAsciiAreUtf8OnDisk) {
    String name = String("caf") + units({233, '-', 8364}) + String(".txt");
    FILE* f = game->OpenFile(name, String("wb"));
    ASSERT_NE(f, nullptr);
    std::fputs("x", f);
    std::fclose(f);
    EXPECT_TRUE(exists("caf\xC3\xA9-\xE2\x82\xAC.txt"));
    EXPECT_EQ(game->LoadString(name), String("x"));
}

TEST_F(Files, SavedStateIsTheTextAsUtf8AndNothingElse) {
    EXPECT_EQ(game->LoadState().Length(), 0);   // before any save
    EXPECT_FALSE(exists(".zanthstate"));

    EXPECT_EQ(game->SaveState(units({'A', 233})), 0);
    EXPECT_EQ(zk_test::ReadFile(".zanthstate"), "A\xC3\xA9");
    EXPECT_EQ(game->SaveState(units({8364})), 0);
    EXPECT_EQ(zk_test::ReadFile(".zanthstate"), "\xE2\x82\xAC");
    // Each unit of a surrogate pair is encoded by itself, and reads back the same.
    String pair = units({0xD83D, 0xDE00, '1'});
    EXPECT_EQ(game->SaveState(pair), 0);
    EXPECT_EQ(zk_test::ReadFile(".zanthstate"), "\xED\xA0\xBD\xED\xB8\x80" "1");
    EXPECT_EQ(game->LoadState(), pair);

    // The empty text empties an existing file.
    EXPECT_EQ(game->SaveState(String()), 0);
    EXPECT_TRUE(exists(".zanthstate"));
    EXPECT_EQ(zk_test::ReadFile(".zanthstate"), "");
    EXPECT_EQ(game->LoadState().Length(), 0);
    EXPECT_FALSE(exists(".zanthstate.tmp"));   // nothing left beside it
}

// A save that cannot even start, or that runs out of room, leaves the old state exactly as it was.
TEST_F(Files, AFailedSaveLeavesTheOldStateUntouched) {
    ASSERT_EQ(game->SaveState(String("old state")), 0);

    // A full disk: the file-size limit makes the write come up short.
    pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {1000, 1000};
        setrlimit(RLIMIT_FSIZE, &limit);
        String big;
        for (int i = 0; i < 100; ++i) big += String("0123456789012345678901234567890123456789012345678901234567890");
        _exit(game->SaveState(big) == -2 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a short write reports -2";
    EXPECT_EQ(zk_test::ReadFile(".zanthstate"), "old state");
    EXPECT_FALSE(exists(".zanthstate.tmp"));

    // A temporary file that cannot be made, a link at the state's name, a save that cannot happen at all:
    // state_write_test.cpp.
}

// A writer killed at an arbitrary moment leaves either the old text or the new one, complete. The child
// saves two large texts in turn and reports each finished save through a pipe; after its first finished
// save it is killed as soon as the state file is seen in any other shape.
TEST_F(Files, AKilledWriterNeverLeavesAHalfFile) {
    const int kUnits = 1 << 20;   // large enough that the kill usually lands inside a write
    std::string a(kUnits, 'a'), b(2 * kUnits, '\xC3');
    for (size_t i = 1; i < b.size(); i += 2) b[i] = '\xA9';   // kUnits e-acutes, two bytes each
    for (int round = 0; round < 8; ++round) {
        ASSERT_EQ(game->SaveState(String("old")), 0);
        int done[2];
        ASSERT_EQ(pipe(done), 0);
        pid_t child = fork();
        if (child == 0) {
            std::vector<Char> ua(kUnits, 'a'), ub(kUnits, 233);
            String texts[2] = {String(ua.data(), kUnits), String(ub.data(), kUnits)};
            for (int i = 0;; ++i) {
                game->SaveState(texts[i % 2]);
                if (write(done[1], "s", 1) != 1) _exit(1);
            }
        }
        char byte;
        ASSERT_EQ(read(done[0], &byte, 1), 1);
        // Kill it the moment the state file looks incomplete; a file that never does is killed after a
        // while at whatever point the writer has reached.
        auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(30 + 10 * round);
        while (std::chrono::steady_clock::now() < until) {
            struct stat st;
            if (stat(".zanthstate", &st) != 0 || (size_t(st.st_size) != a.size() && size_t(st.st_size) != b.size()))
                break;
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(done[0]);
        close(done[1]);
        std::string now = zk_test::ReadFile(".zanthstate");
        ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
}

TEST_F(Files, GetDateFillsAsManyFieldsAsTheArrayHolds) {
    Array<int> date(8);
    date[7] = -5;
    game->GetDate(date);
    std::time_t now = std::time(nullptr);
    EXPECT_EQ(date[0], std::localtime(&now)->tm_year + 1900);
    EXPECT_EQ(date[6] * 100 + date[7], -5) << "no milliseconds; past the record: untouched";
}

// xdg-open is replaced by a script on PATH that records its arguments: the address must arrive as one
// argument, byte for byte, with nothing a shell would have expanded.
TEST_F(Files, OpenUrlHandsTheAddressToXdgOpenWithoutAShell) {
    std::string bin = dir + "/bin", log = dir + "/args.txt";
    mkdir(bin.c_str(), 0755);
    zk_test::WriteFile(bin + "/xdg-open",
               "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" + log + ".part'\n"
               "mv '" + log + ".part' '" + log + "'\n");
    chmod((bin + "/xdg-open").c_str(), 0755);
    std::string old_path = std::getenv("PATH");
    setenv("PATH", (bin + ":" + old_path).c_str(), 1);

    const std::string url = "https://example.test/a b;touch pwned&q=$(touch pwned2)`touch pwned3`";
    game->OpenUrl(String(url.c_str()));
    for (int i = 0; i < 1000 && !exists(log); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    setenv("PATH", old_path.c_str(), 1);

    EXPECT_EQ(zk_test::ReadFile(log), "1\n" + url + "\n");
    EXPECT_FALSE(exists("pwned") || exists("pwned2") || exists("pwned3"));
}

TEST_F(Files, LoadAudioDataPicksTheDecoderByExtensionInAnyCase) {
    mkdir("data", 0755);
    for (const char* name : {"data/a.wav", "data/B.WAV", "data/c.Wav", "data/d.mp3", "data/e"})
        zk_test::WriteFile(name, zk_test::wav_bytes(zk_test::wav_mono16(8000, std::string(200, '\0'))));
    for (const char* path : {"zanth://data/a.wav", "zanth://data/B.WAV", "zanth://data/c.Wav"}) {
        int length = 0, channels = 0, format = 0, hertz = 0;
        int before = gc_ext_new_bytes;
        unsigned char* pcm = game->LoadAudioData(String(path), &length, &channels, &format, &hertz);
        ASSERT_NE(pcm, nullptr) << path;
        EXPECT_EQ(length, 100);
        EXPECT_EQ(channels, 1);
        EXPECT_EQ(format, 2);
        EXPECT_EQ(hertz, 8000);
        EXPECT_EQ(gc_ext_new_bytes - before, 200) << "decoded PCM is reported as outside memory";
        std::free(pcm);
    }
    // WAV bytes under another extension, no extension, a missing file, an unknown scheme root.
    for (const char* path : {"zanth://data/d.mp3", "zanth://data/e", "zanth://data/none.wav", "zanth://x/a.wav"}) {
        int length = 0, channels = 0, format = 0, hertz = 0;
        EXPECT_EQ(game->LoadAudioData(String(path), &length, &channels, &format, &hertz), nullptr) << path;
    }
}

}  // namespace
