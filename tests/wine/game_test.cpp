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

// The offset in `heard` at which `sound` matches best, found by loudness in windows of `window` samples
// and then sample by sample around it.
size_t BestOffset(const std::vector<int16_t>& heard, const std::vector<int16_t>& sound, size_t window) {
    const std::vector<double> h = Loudness(heard, window), s = Loudness(sound, window);
    size_t coarse = 0;
    double best = -2;
    for (size_t at = 0; at + s.size() <= h.size(); ++at) {
        const double c = Correlation(&h[at], s.data(), s.size());
        if (c > best) best = c, coarse = at;
    }
    const size_t span = std::min(sound.size(), 4 * window);
    size_t fine = coarse * window;
    best = -2;
    for (size_t at = coarse * window > window ? coarse * window - window : 0;
         at <= coarse * window + window && at + span <= heard.size(); ++at) {
        const double c = Correlation(&heard[at], sound.data(), span);
        if (c > best) best = c, fine = at;
    }
    return fine;
}

// The share of 10 ms windows, among those where `sound` is not quiet, in which `heard` from `at` is the
// sound itself, scaled: what is left after taking the sound out is below a hundredth of its energy.
// Windows where an effect played over it do not count as its.
double ShareHeardExactly(const std::vector<int16_t>& heard, size_t at, const std::vector<int16_t>& sound,
                         int rate) {
    const size_t window = size_t(rate / 100);
    std::vector<double> gains;   // the scale of each loud window, the typical one being the mixer's gain
    for (size_t w = 0; (w + 1) * window <= sound.size() && at + (w + 1) * window <= heard.size(); ++w) {
        double ht = 0, tt = 0;
        for (size_t i = w * window; i < (w + 1) * window; ++i)
            ht += double(heard[at + i]) * sound[i], tt += double(sound[i]) * sound[i];
        if (tt > window * 1e6) gains.push_back(ht / tt);
    }
    if (gains.empty()) return 0;
    std::nth_element(gains.begin(), gains.begin() + gains.size() / 2, gains.end());
    const double gain = gains[gains.size() / 2];
    size_t loud = 0, exact = 0;
    for (size_t w = 0; (w + 1) * window <= sound.size() && at + (w + 1) * window <= heard.size(); ++w) {
        double rest = 0, own = 0;
        for (size_t i = w * window; i < (w + 1) * window; ++i) {
            const double mine = gain * sound[i];
            rest += (heard[at + i] - mine) * (heard[at + i] - mine), own += mine * mine;
        }
        if (own <= window * 1e6 * gain * gain) continue;
        ++loud;
        exact += rest < own / 100;
    }
    return loud ? double(exact) / loud : 0;
}

// Mixing at the tunes' own 32 kHz, nothing of a tune is resampled: the 10-second game's tune, decoded by
// oggdec, is in the capture sample for sample wherever no effect plays over it. The jingle, the first
// sound the game makes, is mixed from 44.1 kHz: its first half second rises and falls with the capture's.
const int kTuneRate = 32000;
const int kJingleRate = 44100;   // sfx/096.wav's

void ExpectJingleAndTuneHeard(const std::vector<int16_t>& heard, const std::string& data,
                              const std::string& scratch) {
    const std::vector<int16_t> jingle = Samples16(zk_test::ReadFile(data + "/sfx/096.wav"), 1);
    auto fromFirstSound = [](const std::vector<int16_t>& s) {
        return std::vector<int16_t>(std::find_if(s.begin(), s.end(), [](int16_t v) { return v != 0; }), s.end());
    };
    const size_t kWindows = 50;   // of 10 ms: half a second
    const std::vector<double> heardStart = Loudness(fromFirstSound(heard), kTuneRate / 100),
                              jingleStart = Loudness(fromFirstSound(jingle), kJingleRate / 100);
    ASSERT_GE(std::min(heardStart.size(), jingleStart.size()), kWindows) << "nothing heard";
    EXPECT_GT(Correlation(heardStart.data(), jingleStart.data(), kWindows), 0.95) << "the jingle";

    ASSERT_EQ(std::system(("oggdec -Q -o '" + scratch + "/tune.wav' '" + data + "/sfx/10.ogg'").c_str()), 0);
    const std::vector<int16_t> tune = Samples16(zk_test::ReadFile(scratch + "/tune.wav"), 1);
    ASSERT_EQ(tune.size(), size_t(10 * kTuneRate)) << "ten seconds at " << kTuneRate << " Hz";
    ASSERT_GT(heard.size(), tune.size()) << "a capture longer than the tune";
    // Effects cover some of it (the power meter ticks at each end of its swing): most is the tune's alone.
    EXPECT_GT(ShareHeardExactly(heard, BestOffset(heard, tune, kTuneRate / 20), tune, kTuneRate), 0.7)
        << "the tune";
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
