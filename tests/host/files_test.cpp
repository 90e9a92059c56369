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
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/game.h"

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

String units(std::initializer_list<int> codes) {
    String s;
    for (int c : codes) s += String(Char(c));
    return s;
}

// Bytes of a little PCM WAV: 16-bit mono, `frames` frames of silence at 8000 Hz.
std::string tiny_wav(int frames) {
    std::string w;
    auto u32 = [&](unsigned v) { for (int i = 0; i < 4; ++i) w += char(v >> (8 * i)); };
    auto u16 = [&](unsigned v) { w += char(v); w += char(v >> 8); };
    w += "RIFF";
    u32(36 + frames * 2);
    w += "WAVEfmt ";
    u32(16), u16(1), u16(1), u32(8000), u32(16000), u16(2), u16(16);
    w += "data";
    u32(frames * 2);
    w += std::string(frames * 2, '\0');
    return w;
}

// Each test gets its own working folder, removed afterwards; the state file is relative to it.
class Files : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        gc_init1();
        if (!game) game = new ZKGlfwGame();
    }
    void SetUp() override {
        char tmpl[] = "/tmp/zk_files_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        ASSERT_EQ(getcwd(saved_cwd, sizeof saved_cwd), saved_cwd);
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }
    void TearDown() override {
        ASSERT_EQ(chdir(saved_cwd), 0);
        chmod(dir.c_str(), 0755);
        std::string cmd = "rm -rf '" + dir + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }

    static ZKGlfwGame* game;
    std::string dir;
    char saved_cwd[PATH_MAX];
};

ZKGlfwGame* Files::game = nullptr;

TEST_F(Files, SchemePathsMapToFoldersOfTheWorkingDirectory) {
    EXPECT_EQ(game->PathToFilePath(String("zanth://data/graphics/ball.png")), String("./data/graphics/ball.png"));
    EXPECT_EQ(game->PathToFilePath(String("zanth://internal/a")), String("./internal/a"));
    EXPECT_EQ(game->PathToFilePath(String("zanth://external/b/c")), String("./external/b/c"));
    EXPECT_EQ(game->PathToFilePath(String("images/ball.png")), String("images/ball.png"));
    EXPECT_EQ(game->PathToFilePath(String("./.zanthstate")), String("./.zanthstate"));
    // Any other "zanth:" form is the empty path, even when a file of that name exists.
    mkdir("other", 0755);
    write_file("other/x", "x");
    EXPECT_EQ(game->PathToFilePath(String("zanth://other/x")).Length(), 0);
    EXPECT_EQ(game->PathToFilePath(String("zanth:")).Length(), 0);
    EXPECT_EQ(game->PathToFilePath(String("zanth://data")).Length(), 0);   // the prefix needs its slash
    EXPECT_EQ(game->OpenFile(String("zanth://other/x"), String("rb")), nullptr);
    // The base host leaves every path as it is.
    struct PlainGame : ZKGame {} plain;
    ZKGame::_game = game;
    EXPECT_EQ(plain.PathToFilePath(String("zanth://data/a")), String("zanth://data/a"));
}

TEST_F(Files, LoadStringAndLoadDataReadWholeFilesThroughTheScheme) {
    mkdir("data", 0755);
    write_file("data/hello.txt", "h\xC3\xA9llo \xE2\x82\xAC");
    EXPECT_EQ(game->LoadString(String("zanth://data/hello.txt")), units({'h', 233, 'l', 'l', 'o', ' ', 8364}));
    EXPECT_EQ(game->LoadString(String("zanth://data/missing.txt")).Length(), 0);

    // Sizes around the 4096-byte reading piece, and an empty file (a block, zero length).
    for (int size : {0, 1, 4095, 4096, 4097, 3 * 4096 + 17}) {
        std::string bytes(size, '\0');
        for (int i = 0; i < size; ++i) bytes[i] = char(i * 7 + 3);
        write_file("data/blob.bin", bytes);
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
    EXPECT_EQ(read_file(".zanthstate"), "A\xC3\xA9");
    EXPECT_EQ(game->SaveState(units({8364})), 0);
    EXPECT_EQ(read_file(".zanthstate"), "\xE2\x82\xAC");
    // Each unit of a surrogate pair is encoded by itself, and reads back the same.
    String pair = units({0xD83D, 0xDE00, '1'});
    EXPECT_EQ(game->SaveState(pair), 0);
    EXPECT_EQ(read_file(".zanthstate"), "\xED\xA0\xBD\xED\xB8\x80" "1");
    EXPECT_EQ(game->LoadState(), pair);

    // The empty text empties an existing file.
    EXPECT_EQ(game->SaveState(String()), 0);
    EXPECT_TRUE(exists(".zanthstate"));
    EXPECT_EQ(read_file(".zanthstate"), "");
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
    EXPECT_EQ(read_file(".zanthstate"), "old state");
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
        std::string now = read_file(".zanthstate");
        ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    }
}

TEST_F(Files, GetDateFillsAsManyFieldsAsTheArrayHolds) {
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);

    Array<int> none;
    game->GetDate(none);   // nothing to fill, nothing touched

    Array<int> three(3);
    game->GetDate(three);
    EXPECT_GE(three[0], local.tm_year + 1900);
    EXPECT_LE(three[0], 9999);
    EXPECT_TRUE(three[1] >= 1 && three[1] <= 12);
    EXPECT_TRUE(three[2] >= 1 && three[2] <= 31);

    Array<int> eight(8);
    for (int i = 0; i < 8; ++i) eight[i] = -5;
    game->GetDate(eight);
    EXPECT_TRUE(eight[3] >= 0 && eight[3] <= 23);
    EXPECT_TRUE(eight[4] >= 0 && eight[4] <= 59);
    EXPECT_TRUE(eight[5] >= 0 && eight[5] <= 60);
    EXPECT_EQ(eight[6], 0);    // milliseconds are not available
    EXPECT_EQ(eight[7], -5);   // past the record: untouched
}

// xdg-open is replaced by a script on PATH that records its arguments: the address must arrive as one
// argument, byte for byte, with nothing a shell would have expanded.
TEST_F(Files, OpenUrlHandsTheAddressToXdgOpenWithoutAShell) {
    std::string bin = dir + "/bin", log = dir + "/args.txt";
    mkdir(bin.c_str(), 0755);
    write_file(bin + "/xdg-open",
               "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" + log + ".part'\n"
               "mv '" + log + ".part' '" + log + "'\n");
    chmod((bin + "/xdg-open").c_str(), 0755);
    std::string old_path = std::getenv("PATH");
    setenv("PATH", (bin + ":" + old_path).c_str(), 1);

    const std::string url = "https://example.test/a b;touch pwned&q=$(touch pwned2)`touch pwned3`";
    game->OpenUrl(String(url.c_str()));
    for (int i = 0; i < 1000 && !exists(log); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    setenv("PATH", old_path.c_str(), 1);

    EXPECT_EQ(read_file(log), "1\n" + url + "\n");
    EXPECT_FALSE(exists("pwned") || exists("pwned2") || exists("pwned3"));
}

TEST_F(Files, LoadAudioDataPicksTheDecoderByExtensionInAnyCase) {
    mkdir("data", 0755);
    for (const char* name : {"data/a.wav", "data/B.WAV", "data/c.Wav", "data/d.mp3", "data/e"})
        write_file(name, tiny_wav(100));
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
