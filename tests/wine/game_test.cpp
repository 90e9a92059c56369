// The real tolvane-golf.exe under Wine driven by real X events. ZK_GAME_DIR is the Windows build folder,
// ZK_ZIP the zip made from it, ZK_WINE the Wine that runs them.
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

std::string Env(const char* name) { return std::getenv(name) ? std::getenv(name) : ""; }

class WineGame : public RunningGame {
protected:
    void SetUp() override {
        RunningGame::SetUp();
        if (Env("ZK_GAME_DIR").empty() || Env("ZK_WINE").empty() || Env("ZK_ZIP").empty())
            GTEST_SKIP() << "run by the Windows build's ctest";
        ASSERT_EQ(symlink((Env("ZK_GAME_DIR") + "/data").c_str(), (scratch / "data").c_str()), 0);
    }
    // Windows sees the scratch folder on Wine's Z: drive (the Linux root).
    void StartGame() {
        Start(scratch.path(), Env("ZK_GAME_DIR") + "/tolvane-golf.exe", "'" + Env("ZK_WINE") + "'");
    }

    zk_test::ScratchDir scratch{"zk_wine_Gr\xC3\xBC\x62nik_\xCE\xBB_\xE6\x97\xA5\xE6\x9C\xAC"};
};

std::vector<int16_t> Samples16(const std::string& bytes) {
    std::vector<int16_t> out;
    const size_t data = bytes.find("data");
    for (size_t i = data == std::string::npos ? bytes.size() : data + 8; i + 2 <= bytes.size(); i += 2)
        out.push_back(int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
    return out;
}

// Pearson correlation over n values, every `step`th of them.
template <class A, class B>
double Correlation(const A* a, const B* b, size_t n, size_t step = 1) {
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0, m = 0;
    for (size_t i = 0; i < n; i += step)
        ++m, sa += a[i], sb += b[i], saa += double(a[i]) * a[i], sbb += double(b[i]) * b[i],
            sab += double(a[i]) * b[i];
    const double va = saa - sa * sa / m, vb = sbb - sb * sb / m;
    return va > 0 && vb > 0 ? (sab - sa * sb / m) / std::sqrt(va * vb) : 0;
}

// In log scale, so that a loud effect played over a tune weighs little more than the tune's own notes.
std::vector<double> Loudness(const std::vector<int16_t>& s, size_t window) {
    std::vector<double> out;
    for (size_t at = 0; at + window <= s.size(); at += window) {
        double e = 0;
        for (size_t i = at; i < at + window; ++i) e += double(s[i]) * s[i];
        out.push_back(std::log(std::sqrt(e / window) + 30));
    }
    return out;
}

std::vector<double> Matches(const std::vector<double>& heard, const double* piece, size_t n) {
    std::vector<double> out;
    for (size_t at = 0; at + n <= heard.size(); ++at) out.push_back(Correlation(&heard[at], piece, n));
    return out;
}

// Loudness in 10 ms windows at the tunes' 32 kHz, the capture's rate; tunes in half seconds.
const int kTuneRate = 32000, kWindow = kTuneRate / 100, kPiece = kTuneRate / 2;

// Samples compared (every 4th) a window either way of the 8 best loudness matches: another tune of the
// same rhythm follows the piece's loudness as well, never its samples.
double PieceHeard(const std::vector<int16_t>& heard, const std::vector<double>& heardLoud,
                  const int16_t* piece, const double* loud) {
    const std::vector<double> m = Matches(heardLoud, loud, kPiece / kWindow);
    std::vector<std::pair<double, size_t>> peaks;
    for (size_t at = 1; at + 1 < m.size(); ++at)
        if (m[at] >= m[at - 1] && m[at] > m[at + 1]) peaks.push_back({m[at], at * kWindow});
    std::sort(peaks.rbegin(), peaks.rend());
    double best = -1;
    for (size_t i = 0; i < std::min<size_t>(peaks.size(), 8); ++i)
        for (size_t at = std::max<size_t>(peaks[i].second, kWindow) - kWindow;
             at <= peaks[i].second + kWindow && at + kPiece <= heard.size(); ++at)
            best = std::max(best, Correlation(&heard[at], piece, kPiece, 4));
    return best;
}

// Each half second of the tune found on its own: a gap in the capture delays what follows without hiding
// it, and an effect played over a piece (the stroke, the power meter's ticks) may spoil that one.
void ExpectJingleAndTuneHeard(const std::vector<int16_t>& heard, const std::string& data,
                              const std::string& scratch) {
    auto start = [](const std::vector<int16_t>& s, int rate) {
        const auto first = std::find_if(s.begin(), s.end(), [](int16_t v) { return v != 0; });
        return std::vector<int16_t>(first, first + std::min<long>(s.end() - first, rate / 2));
    };
    const std::vector<int16_t> heardStart = start(heard, kTuneRate);
    ASSERT_EQ(heardStart.size(), size_t(kTuneRate / 2)) << "nothing heard";
    const std::vector<double> jingle =
        Loudness(start(Samples16(zk_test::ReadFile(data + "/sfx/096.wav")), 44100), 441);
    const std::vector<double> m = Matches(Loudness(heardStart, kWindow), jingle.data(), jingle.size());
    EXPECT_GT(*std::max_element(m.begin(), m.end()), 0.95) << "the jingle";
    ASSERT_EQ(std::system(("oggdec -Q -o '" + scratch + "/tune.wav' '" + data + "/sfx/10.ogg'").c_str()), 0);
    const std::vector<int16_t> tune = Samples16(zk_test::ReadFile(scratch + "/tune.wav"));
    ASSERT_EQ(tune.size(), size_t(10 * kTuneRate)) << "ten seconds at " << kTuneRate << " Hz";
    const std::vector<double> heardLoud = Loudness(heard, kWindow), tuneLoud = Loudness(tune, kWindow);
    int pieces = 0;
    std::string scores;
    for (int at = 0; at < 10 * kTuneRate; at += kPiece) {
        const double score = PieceHeard(heard, heardLoud, &tune[at], &tuneLoud[at / kWindow]);
        pieces += score > 0.6, scores += " " + std::to_string(score).substr(0, 4);
    }
    EXPECT_GE(pieces, 14) << "half seconds of the tune heard, by their best correlations:" << scores;
}

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

TEST_F(WineGame, TheTitleMenuFullscreenAndBackAndAGameHeardWithItsJingleAndTune) {
    zk_test::UseWaveWriter(scratch.path(), "Z:" + scratch.path(), kTuneRate);   // as Windows sees it
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
