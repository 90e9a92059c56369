// The real tolvane-golf.exe under Wine, in the test run's X server, driven by real X events: a whole
// 10-second game without any audio device in a working folder named in three scripts, filed and shown
// after a restart; the title menu, fullscreen and back, and a game heard through OpenAL Soft's wave
// writer; the zip a player unpacks. ZK_GAME_DIR is the Windows build folder (the game, OpenAL32.dll,
// data/), ZK_ZIP the zip made from it, ZK_WINE the Wine that runs them; WINEPREFIX is the run's prefix.
#include "tests/game/running_game.h"   // first: gtest before the X headers' macros

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/common/capture.h"
#include "tests/common/env.h"
#include "tests/common/x_screen.h"

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class WineGame : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        if (Env("ZK_GAME_DIR").empty() || Env("ZK_WINE").empty() || Env("ZK_ZIP").empty())
            GTEST_SKIP() << "run by the Windows build's ctest";
        ASSERT_EQ(symlink((Env("ZK_GAME_DIR") + "/data").c_str(), (scratch / "data").c_str()), 0);
    }
    // The game started from the scratch folder, which Windows sees on Wine's Z: drive (the Linux root).
    void StartGame() {
        Start(scratch.path(), Env("ZK_GAME_DIR") + "/tolvane-golf.exe", "'" + Env("ZK_WINE") + "'");
    }
    std::string SeenFromWindows(const std::string& path) { return "Z:" + path; }

    // Latin, Greek and Japanese letters in the working folder's name: the game works there on UTF-16 names.
    zk_test::ScratchDir scratch{"zk_wine_Gr\xC3\xBC\x62nik_\xCE\xBB_\xE6\x97\xA5\xE6\x9C\xAC"};
};

// The samples of a 16-bit WAV file's data chunk (the first channel of each frame).
std::vector<int16_t> Samples16(const std::string& bytes, int channels) {
    std::vector<int16_t> out;
    const size_t data = bytes.find("data");
    for (size_t i = data == std::string::npos ? bytes.size() : data + 8; i + 2 * channels <= bytes.size();
         i += 2 * channels)
        out.push_back(int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
    return out;
}

// Pearson correlation of a and b over n values from their starts.
template <class A, class B>
double Correlation(const A* a, const B* b, size_t n) {
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    for (size_t i = 0; i < n; ++i)
        sa += a[i], sb += b[i], saa += double(a[i]) * a[i], sbb += double(b[i]) * b[i],
            sab += double(a[i]) * b[i];
    const double va = saa - sa * sa / n, vb = sbb - sb * sb / n;
    return va > 0 && vb > 0 ? (sab - sa * sb / n) / std::sqrt(va * vb) : 0;
}

// The loudness of each `window` samples, in log scale so that a loud effect played over a tune weighs
// little more than the tune's own notes.
std::vector<double> Loudness(const std::vector<int16_t>& s, size_t window) {
    std::vector<double> out;
    for (size_t at = 0; at + window <= s.size(); at += window) {
        double e = 0;
        for (size_t i = at; i < at + window; ++i) e += double(s[i]) * s[i];
        out.push_back(std::log(std::sqrt(e / window) + 30));
    }
    return out;
}

// How closely `heard` rises and falls with `sound` where it matches best: the largest correlation of
// their loudness in 10 ms windows, `sound` at `rate`, `heard` at the tunes' 32 kHz.
const int kTuneRate = 32000;
double BestMatch(const std::vector<int16_t>& heard, const std::vector<int16_t>& sound, int rate) {
    const std::vector<double> h = Loudness(heard, kTuneRate / 100), s = Loudness(sound, size_t(rate / 100));
    double best = -2;
    for (size_t at = 0; at + s.size() <= h.size(); ++at)
        best = std::max(best, Correlation(&h[at], s.data(), s.size()));
    return best;
}

// The jingle (sfx/096.wav at 44.1 kHz), the first sound the game makes, rises and falls with the capture's
// first half second; the 10-second game's tune (sfx/10.ogg, decoded by oggdec) with a stretch of it as
// long as the tune, though effects play over some of it (the power meter ticks at each end of its swing).
void ExpectJingleAndTuneHeard(const std::vector<int16_t>& heard, const std::string& data,
                              const std::string& scratch) {
    // Half a second of each, from its first sound.
    auto start = [](const std::vector<int16_t>& s, int rate) {
        const auto first = std::find_if(s.begin(), s.end(), [](int16_t v) { return v != 0; });
        return std::vector<int16_t>(first, first + std::min<long>(s.end() - first, rate / 2));
    };
    const std::vector<int16_t> heardStart = start(heard, kTuneRate);
    ASSERT_EQ(heardStart.size(), size_t(kTuneRate / 2)) << "nothing heard";
    EXPECT_GT(
        BestMatch(heardStart, start(Samples16(zk_test::ReadFile(data + "/sfx/096.wav"), 1), 44100), 44100),
        0.95)
        << "the jingle";
    ASSERT_EQ(std::system(("oggdec -Q -o '" + scratch + "/tune.wav' '" + data + "/sfx/10.ogg'").c_str()), 0);
    const std::vector<int16_t> tune = Samples16(zk_test::ReadFile(scratch + "/tune.wav"), 1);
    ASSERT_EQ(tune.size(), size_t(10 * kTuneRate)) << "ten seconds at " << kTuneRate << " Hz";
    EXPECT_GT(BestMatch(heard, tune, kTuneRate), 0.9) << "the tune";
}

// The whole game without any audio device, in the working folder named beyond ASCII: the game says it has
// no sound and plays on; a game played and quit with F4 leaves its score filed with valid checksums;
// started again, the game loads it and shows it, and the window's close button ends it with status 0.
TEST_F(WineGame, ATenSecondGameWithoutAudioIsFiledAndShownAfterARestart) {
    zk_test::SetEnv("ALSOFT_DRIVERS", "no-such-driver");
    StartGame();
    EXPECT_TRUE(game->WaitFor("OpenAl error: alcOpenDevice failed")) << game->Transcript();
    std::vector<unsigned long> emptyPanel;
    ASSERT_TRUE(PlayTenSecondGame(emptyPanel));
    Key("F4");
    ASSERT_EQ(game->WaitExit(), 0) << game->Transcript();
    const long long score = FiledTenSecondScore(zk_test::ReadFile(scratch / ".zanthstate"));

    StartGame();
    ExpectScoreShown(score, emptyPanel);
    SendCloseRequest(std::stoul(window));
    EXPECT_EQ(game->WaitExit(), 0) << game->Transcript();
}

// With OpenAL Soft's wave writer listening: the titled window opens centred at 640 x 480 on the title
// menu, F11 re-creates it at the desktop's size and back, a 10-second game is left to play itself out,
// F4 ends the game with status 0, and the capture holds the jingle and the tune.
TEST_F(WineGame, TheTitleMenuFullscreenAndBackAndAGameHeardWithItsJingleAndTune) {
    zk_test::UseWaveWriter(scratch.path(), SeenFromWindows(scratch.path()), kTuneRate);
    StartGame();
    ASSERT_FALSE(Menu().empty()) << "no title menu";
    const zk_test::ScreenSize screen = zk_test::XScreenSize();
    const std::string info = Shell("xwininfo -id " + window);
    for (const std::string& line : {std::string("Width: 640"), std::string("Height: 480"),
                                    "Absolute upper-left X:  " + std::to_string((screen.width - 640) / 2),
                                    "Absolute upper-left Y:  " + std::to_string((screen.height - 480) / 2)})
        EXPECT_NE(info.find(line), std::string::npos) << line << " in " << info;
    const std::string full =
        "  Geometry: " + std::to_string(screen.width) + "x" + std::to_string(screen.height);
    for (const std::string& want : {full, std::string("  Geometry: 640x480")}) {
        Key("F11");
        EXPECT_TRUE(Poll([&] { return Geometry() == want; })) << want;
    }
    ASSERT_TRUE(ThirdItem());
    const std::vector<unsigned long> corner = Pixels(2, 2, 20, 20);
    ASSERT_TRUE(Hold("Return", [&] { return Pixels(2, 2, 20, 20) != corner; })) << "the game starts";
    ASSERT_TRUE(Poll([&] { return Pixels(2, 2, 20, 20) == corner; }, 40)) << "back on the title menu";
    Key("F4");
    ASSERT_EQ(game->WaitExit(), 0) << game->Transcript();
    ExpectJingleAndTuneHeard(zk_test::ReadCapture(scratch.path()).left, Env("ZK_GAME_DIR") + "/data",
                             scratch.path());
}

// The zip a player downloads, unpacked into a folder of its own: the game starts there with nothing but
// what the zip holds, reaches the title menu, and ends with F4.
TEST_F(WineGame, TheUnpackedZipPlaysOnItsOwn) {
    const std::string zip = Env("ZK_ZIP"), name = zip.substr(zip.rfind('/') + 1);
    ASSERT_EQ(std::system(("cd '" + scratch.path() + "' && unzip -q '" + zip + "'").c_str()), 0) << zip;
    const std::string folder = scratch / name.substr(0, name.size() - 4);
    zk_test::SetEnv("ALSOFT_DRIVERS", "null");
    Start(folder, folder + "/tolvane-golf.exe", "'" + Env("ZK_WINE") + "'");
    EXPECT_FALSE(Menu().empty()) << "no title menu";
    Key("F4");
    EXPECT_EQ(game->WaitExit(), 0) << game->Transcript();
}

}   // namespace
