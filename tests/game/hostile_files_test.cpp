// Hostile files in a real run: the real executable under Xvfb in a scratch folder whose data/ is the build's
// (a tree of links) with one file broken, or with a broken saved state. Each start must reach the title
// menu and quit with F4 and status 0, and a valid saved state with its scores must still be there after.
#include <sys/stat.h>

#include <random>

#include "tests/game/running_game.h"

namespace {

void Write(const std::string& path, const std::string& bytes) {
    std::remove(path.c_str());   // a link into the build's data: replaced, never written through
    zk_test::WriteFile(path, bytes);
}

// A PNG whose header claims `size` by `size` pixels and which has no pixel data.
std::string HugePng(unsigned size) {
    auto be32 = [](unsigned v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
    return std::string("\x89PNG\r\n\x1a\n", 8) + be32(13) + "IHDR" + be32(size) + be32(size) +
           std::string("\x08\x06\x00\x00\x00", 5) + be32(0) + be32(0) + "IEND" + be32(0xAE426082);
}

std::string RandomBytes(size_t n) {
    std::mt19937 random(7);
    std::string b(n, '\0');
    for (char& c : b) c = char(random());
    return b;
}

// A valid state with a score of 500 at the top of both tables of the 30-second game.
std::string StateWithAScore() {
    std::string text;
    for (int i = 0; i < 203; ++i) text += (i == 35 || i == 36 ? "500" : i == 55 ? "3500" : "0") + std::string("|");
    return text;
}

class HostileFiles : public RunningGame {
protected:
    std::unique_ptr<zk_test::ScratchDir> scratch;
    std::string folder;

    // A fresh folder with the build's data as links and a state holding a score.
    void MakeFolder() {
        game.reset();
        scratch.reset(new zk_test::ScratchDir("hostile-files"));
        folder = scratch->path();
        Shell("cp -rs '" BUILD_DIR "/data' '" + folder + "/data'");
        zk_test::WriteFile(folder + "/.zanthstate", StateWithAScore());
    }
    std::string Data(const std::string& name) { return folder + "/data/" + name; }
};

}  // namespace

TEST_F(HostileFiles, EachBrokenFileStillReachesTheMenuAndKeepsTheSavedState) {
    struct Case {
        const char* what;
        std::function<void()> spoil;
        bool stateKept;   // false: the spoiled file is the state itself, which the game may replace
    } const cases[] = {
        {"a truncated PNG", [&] {
             for (const char* n : {"gfx.png", "gfx-hd.png", "gfx-hd2.png"}) Write(Data(n), zk_test::ReadFile(Data(n)).substr(0, 300));
         }, true},
        {"a PNG of absurd dimensions", [&] {
             for (const char* n : {"menu.png", "menu-hd.png", "menu-hd2.png"}) Write(Data(n), HugePng(0x40000000));
         }, true},
        {"a zero-byte WAV", [&] { Write(Data("sfx/098.wav"), ""); }, true},
        {"a WAV with an absurd chunk size", [&] {
             std::string wav = zk_test::ReadFile(Data("sfx/099.wav"));
             const size_t data = wav.find("data");
             wav.replace(data + 4, 4, "\xf0\xff\xff\xff");
             Write(Data("sfx/099.wav"), wav);
         }, true},
        {"a truncated Ogg", [&] {
             for (const char* n : {"sfx/10.ogg", "sfx/20.ogg", "sfx/30.ogg"}) Write(Data(n), zk_test::ReadFile(Data(n)).substr(0, 1000));
         }, true},
        {"no data folder", [&] { Shell("rm -rf '" + folder + "/data'"); }, true},
        {"a state of random bytes", [&] { Write(folder + "/.zanthstate", RandomBytes(4096)); }, false},
        {"a state of 50 MB", [&] { Write(folder + "/.zanthstate", RandomBytes(50 << 20)); }, false},
        {"a state that is a directory", [&] {
             std::remove((folder + "/.zanthstate").c_str());
             mkdir((folder + "/.zanthstate").c_str(), 0755);
         }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeFolder();
        c.spoil();
        const std::string before = zk_test::ReadFile(folder + "/.zanthstate");
        Start(folder, GAME_PATH);
        if (HasFailure()) return;
        EXPECT_FALSE(Menu().empty()) << game->Transcript();
        Key("F4");
        EXPECT_EQ(game->WaitExit(), 0) << game->Transcript();
        const std::string state = zk_test::ReadFile(folder + "/.zanthstate");
        if (!c.stateKept && state == before) continue;   // never saved over (a directory reads as empty)
        EXPECT_TRUE(saved_state::ChecksumsHold(state)) << state.size() << " bytes";
        const std::vector<std::string> v = saved_state::Split(state, '|');
        if (c.stateKept) {
            ASSERT_GT(v.size(), 36u);
            EXPECT_TRUE(v[35] == "500" && v[36] == "500") << "the score is kept: " << state;
        }
    }
}
