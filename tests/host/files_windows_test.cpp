// The host file layer on Windows (run under Wine), in a fresh working folder whose name is not ASCII:
// file names reach the system as UTF-16, the saved state is replaced whole or written in place and cut to
// its new length, a read-only state file is left alone, and a web address goes to the shell in one piece.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "host/game.h"
#include "tests/common/collector.h"
#include "harness/scratch.h"

namespace {

const std::string kState = ".zanthstate";
// Texts saved in turn: each shorter than the last, so a write that is not cut keeps a tail.
const char* const kTexts[] = {"a new state much longer than the old one", "short", ""};

std::wstring wide(const std::string& utf8) { return zk_test::Utf8Path(utf8).wstring(); }

class WindowsFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        zk_test::StartCollectorOnce();
        if (!game) game = new ZKGlfwGame();
    }
    void SetUp() override { ASSERT_TRUE(scratch.Enter()); }
    void TearDown() override {
        SetFileAttributesW(wide(kState).c_str(), FILE_ATTRIBUTE_NORMAL);   // so the folder can go
    }

    // Saves `text`; its result and what it printed.
    static std::pair<int, std::string> Save(const std::string& text) {
        testing::internal::CaptureStdout();
        const int result = game->SaveState(String(text.c_str()));
        return {result, testing::internal::GetCapturedStdout()};
    }

    static ZKGlfwGame* game;
    // Latin, Greek and CJK letters: none of them survives the ANSI code page of a Western Windows whole.
    zk_test::ScratchDir scratch{"zk_files_Gr\xC3\xBC\x62nik_\xCE\xBB_\xE6\x97\xA5"};
};

ZKGlfwGame* WindowsFiles::game = nullptr;

// Data files named in any script are found through the path scheme and read whole.
TEST_F(WindowsFiles, FilesNamedBeyondAsciiAreRead) {
    ASSERT_TRUE(CreateDirectoryW(L"data", nullptr));
    const std::string name = "caf\xC3\xA9-\xE2\x82\xAC-\xE6\x97\xA5.txt", text = "h\xC3\xA9llo \xE2\x82\xAC";
    zk_test::WriteFile("data/" + name, text);
    const String path =
        String("zanth://data/") +
        String::FromUtf8(reinterpret_cast<const unsigned char*>(name.data()), int(name.size()));
    EXPECT_EQ(game->LoadString(path).ToUtf8(), text);
    int length = 0;
    unsigned char* data = game->LoadData(path, &length);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data), length), text);
    std::free(data);
    EXPECT_EQ(game->LoadState(), String()) << "no state saved yet";
}

// Saves that must happen: the temporary file replaces the state, or, where it cannot be made, the state
// is written in place. Either way each text is the whole file afterwards, and no temporary file is left.
TEST_F(WindowsFiles, EachSaveLeavesExactlyItsTextWhereverItIsWritten) {
    struct Case {
        const char* what;
        void (*setup)();
        bool keepsTempDir;
    } const cases[] = {
        {"a plain folder", [] {}, false},
        {"a temporary file left by a crash", [] { zk_test::WriteFile(kState + ".tmp", "half"); }, false},
        {"a directory in the way of the temporary file: written in place",
         [] { CreateDirectoryW(wide(kState + ".tmp").c_str(), nullptr); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        zk_test::ScratchDir place{"zk_state_\xC3\xA9t\xC3\xA9"};
        ASSERT_TRUE(place.Enter());
        zk_test::WriteFile(kState, "old state");
        c.setup();
        for (const std::string text : kTexts) {
            EXPECT_EQ(Save(text).first, 0) << text;
            EXPECT_EQ(zk_test::ReadFile(kState), text);
            EXPECT_EQ(game->LoadState(), String(text.c_str()));
        }
        const std::vector<std::string> left = place.Entries();
        EXPECT_EQ(left.size(), c.keepsTempDir ? 2u : 1u) << "a temporary file left";
    }
}

// A state file marked read-only is the player's to keep: no save touches it, whichever way it would go,
// and the failure is said in one line.
TEST_F(WindowsFiles, AReadOnlyStateFileIsLeftAlone) {
    for (bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "only an in-place write possible" : "a temporary file possible");
        zk_test::ScratchDir place{"zk_readonly"};
        ASSERT_TRUE(place.Enter());
        zk_test::WriteFile(kState, "kept state");
        if (inPlace) CreateDirectoryW(wide(kState + ".tmp").c_str(), nullptr);
        ASSERT_TRUE(SetFileAttributesW(wide(kState).c_str(), FILE_ATTRIBUTE_READONLY));
        const auto [result, said] = Save("new state");
        EXPECT_EQ(result, -1);
        EXPECT_EQ(said, "Saved state not written (read-only): the previous state is kept\n");
        EXPECT_EQ(zk_test::ReadFile(kState), "kept state");
        EXPECT_EQ(place.Entries().size(), inPlace ? 2u : 1u) << "a temporary file left";
        SetFileAttributesW(wide(kState).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// Wine's shell passes an address to the Linux side's xdg-open, which the test puts first on PATH: a stand-in
// that writes its arguments to ZK_URL_ARGS. The address arrives as one argument, nothing in it run.
TEST_F(WindowsFiles, OpenUrlHandsTheAddressToTheShellWhole) {
    const char* args = std::getenv("ZK_URL_ARGS");
    if (!args) GTEST_SKIP() << "needs the stand-in xdg-open of the Wine suite";
    DeleteFileW(wide(args).c_str());
    const std::string url = "https://example.test/a b;touch pwned&q=$(touch pwned2)`touch pwned3`";
    game->OpenUrl(String(url.c_str()));
    std::string got;
    for (int i = 0; i < 1000 && got.find('\n', 2) == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        got = zk_test::ReadFile(args);
    }
    // Wine escapes the address's spaces and quotes as a browser would; undo that before comparing.
    std::string decoded;
    for (size_t i = 0; i < got.size(); ++i) {
        if (got[i] == '%' && i + 2 < got.size())
            decoded += char(std::stoi(got.substr(i + 1, 2), nullptr, 16)), i += 2;
        else decoded += got[i];
    }
    EXPECT_EQ(decoded, "1\n" + url + "\n");
    EXPECT_EQ(scratch.Entries().size(), 0u) << "something in the address was run";
}

}   // namespace
