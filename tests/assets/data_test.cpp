// The data folder the build generated, read through the game's own decoders, and the generator run again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "codecs/audio_decode.h"
#include "harness/scratch.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace {

// The image slots the game loads: frame size and count, and the frames it draws (empty: all).
const struct Sheet { std::string name; int frameW, frameH, frames; std::vector<int> drawn;
} kSheets[] = {
    {"gfx", 64, 64, 16, {0, 1, 2, 3, 8, 9, 10, 11, 12, 13, 14, 15}},
    {"gfxb", 32, 32, 64, {0, 1, 2, 3, 4, 14, 15}},
    {"tolvane", 8, 8, 256, {}},
    {"BadgesA", 64, 64, 64, {}},
    {"fonts/editundo", 16, 16, 128, {1}},   // every glyph: see the font tests
    {"common/Testcard_Circle", 256, 256, 1, {0}},
    {"common/PlinLogo", 256, 256, 1, {0}},
    {"common/dpad", 32, 32, 16, {}},
    {"common/Buttons", 64, 64, 16, {0, 1, 2, 8, 9, 10, 12}},
    {"parts", 8, 8, 256, {}},
    {"common/icons", 32, 32, 16, {0, 1, 3, 6}},
    {"logo", 256, 128, 1, {0}},
    {"menu", 256, 256, 4, {1, 2}},
};
const struct { const char* suffix; int scale; } kResolutions[] = {{"", 1}, {"-hd", 2}, {"-hd2", 4}};
const std::pair<const char*, int> kAdvances[] = {{"wm", 9}, {"WM", 8}, {"ifl", 4}, {"jskrztn", 6}};

std::string data(const std::string& file) { return std::string(ZK_TEST_DATA_DIR) + "/" + file; }

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    explicit Image(const std::string& file) {
        int n = 0;
        if (unsigned char* p = stbi_load(data(file).c_str(), &width, &height, &n, 4)) {
            rgba.assign(p, p + size_t(width) * height * 4);
            stbi_image_free(p);
        }
    }
    const unsigned char* at(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
    // Pixels with some alpha in the w x h cell at (x, y); with `edge`, on the cell's outermost ring only.
    int Ink(int x, int y, int w, int h, bool edge = false) const {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if (!edge || j == y || j == y + h - 1 || i == x || i == x + w - 1) n += at(i, j)[3] > 0;
        return n;
    }
};

TEST(AssetData, EverySheetScalesInEachResolutionAndEveryDrawnFrameHasInk) {
    for (const Sheet& s : kSheets) {
        const Image plain(s.name + ".png");
        for (auto& r : kResolutions) {
            const std::string file = s.name + r.suffix + ".png";
            const Image img(file);
            EXPECT_EQ(img.width * 10000 + img.height, (plain.width * 10000 + plain.height) * r.scale) << file;
            const int w = s.frameW * r.scale, h = s.frameH * r.scale, cols = img.width / w;   // cut row by row
            ASSERT_TRUE(cols > 0 && (s.frames - 1) / cols * h + h <= img.height) << file << ": frame outside surface";
            for (int i = 0; i < s.frames; ++i) {
                if (!s.drawn.empty() && !std::count(s.drawn.begin(), s.drawn.end(), i)) continue;
                EXPECT_GT(img.Ink(i % cols * w, i / cols * h, w, h), 0) << file << " frame " << i;
            }
        }
    }
}

// The game draws size-1 text at (window scale) / (art scale) texels a pixel, with nearest sampling: the
// base sheet up to 630 pixels (0.79 at 630 x 472), "-hd" up to 1230 (0.39 at 631 x 473), "-hd2" beyond
// (0.38 at 1231 wide, and 0.31 for the credits' size-0.8 numbers). A run of texels keeps a sample at scale
// s when it is at least 1 / s long. Every stroke must be; in "-hd" and "-hd2" every gap inside a glyph and
// the gap to the next glyph too (f's arms excepted in "-hd"). The base sheet has no room for that in a
// 7-pixel advance: only its strokes are held. Printable codes 33..126 sit in cells 1..94, the pad icons in
// 96..108 and the key icons in 112..124, each away from its cell's border. The framework's default font:
// 96 frames in a row, a clear column each side.
TEST(AssetData, FontGlyphsHaveInkAwayFromTheirBordersAndStrokesAndGapsOutlastTheSmallestScaleOfTheirSheet) {
    const struct {
        const char* suffix;
        int scale;
        double least;         // texels a run needs: 1 / (texels a screen pixel at the smallest)
        bool gaps;            // the gaps are held too
        std::string closer;   // glyphs allowed nearer their neighbour
    } cases[] = {{"", 1, 800 / 630.0, false, ""},
                 {"-hd", 2, 800 * 2 / 631.0, true, "f"},
                 {"-hd2", 4, 800 * 4 / 1231.0 / 0.8, true, ""}};
    for (const auto& k : cases) {
        const Image img(std::string("fonts/editundo") + k.suffix + ".png");
        const int n = 16 * k.scale;
        ASSERT_EQ(img.width, 16 * n);
        for (int f = 1; f <= 124; ++f) {
            if (f == 95 || (f > 108 && f < 112)) continue;
            EXPECT_GT(img.Ink(f % 16 * n, f / 16 * n, n, n), 0) << k.suffix << " cell " << f;
            EXPECT_EQ(img.Ink(f % 16 * n, f / 16 * n, n, n, true), 0) << k.suffix << " cell " << f;
        }
        auto lit = [&](int f, int x, int y) {   // white ink, not its dark shadow
            const unsigned char* p = img.at(f % 16 * n + x, f / 16 * n + y);
            return p[3] >= 128 && p[0] >= 128;
        };
        int left = n;   // the first ink column of any glyph
        for (int f = 1; f <= 94; ++f)
            for (int x = 0; x < n; ++x)
                for (int y = 0; y < n; ++y)
                    if (lit(f, x, y)) left = std::min(left, x);
        for (int f = 1; f <= 94; ++f) {
            const char c = char(f + 32);
            int right = 0;
            for (int line = 0; line < 2 * n; ++line) {   // rows, then columns
                std::string runs;                        // the line's texels from its first ink to its last
                for (int i = 0; i < n; ++i)
                    runs += (line < n ? lit(f, i, line) : lit(f, line - n, i)) ? '#' : '.';
                if (line < n) right = std::max(right, int(runs.rfind('#') + 1));   // npos + 1 is 0
                runs = runs.substr(std::min(runs.find('#'), runs.size()));
                runs = runs.substr(0, runs.rfind('#') + 1);
                for (size_t i = 0, j; i < runs.size(); i = j) {
                    for (j = i; j < runs.size() && runs[j] == runs[i]; ++j) {}
                    EXPECT_TRUE(j - i >= k.least || (runs[i] == '.' && !k.gaps))
                        << k.suffix << " '" << c << "': " << (line < n ? "row " : "column ") << line % n
                        << " has " << (runs[i] == '#' ? "a stroke " : "a gap ") << j - i << " texels across";
                }
            }
            int advance = 7;   // the game's pen advance in design pixels
            for (auto [glyphs, a] : kAdvances) advance = std::strchr(glyphs, c) ? a : advance;
            const int gap = advance * k.scale + left - right;
            EXPECT_TRUE(!k.gaps || gap >= k.least || k.closer.find(c) != std::string::npos)
                << k.suffix << " '" << c << "' leaves " << gap << " texels to the next glyph";
        }
    }
    const Image zeto("zeto_font.png");
    const int w = zeto.width / 96;
    for (int i = 0; i < 96; ++i)
        EXPECT_EQ(zeto.Ink(i * w, 0, 1, zeto.height) + zeto.Ink(i * w + w - 1, 0, 1, zeto.height), 0) << i;
    EXPECT_GT(zeto.Ink(('A' - 32) * w, 0, w, zeto.height), 0);
}

// The title menu draws the logo 1.5 times enlarged, centred at (0.4 W, 128) of the virtual screen (W x H:
// 800 wide on landscape windows, 600 high on portrait ones); the highscore panel covers the right 140
// and, on landscape screens, the carousel's selected item reaches up to H - 152 (in portrait it starts
// far lower, at 0.6 H - 56). Every inked pixel of the logo must fall where each screen shape shows it.
TEST(AssetData, LogoFitsEveryScreenShapeFromNineBySixteenToTwentyOneByNine) {
    const struct { int w, h; } shapes[] = {{9, 16}, {3, 4}, {1, 1}, {4, 3}, {16, 9}, {21, 9}};
    for (auto& r : kResolutions) {
        const Image img(std::string("logo") + r.suffix + ".png");
        ASSERT_EQ(img.width, 256 * r.scale);
        for (auto& shape : shapes) {
            const bool landscape = shape.w * 3 >= shape.h * 4;
            const double W = landscape ? 800 : 600.0 * shape.w / shape.h,
                         H = landscape ? 800.0 * shape.h / shape.w : 600;
            const double bottom = landscape ? H - 152 : 0.6 * H - 56;
            int outside = 0;
            for (int y = 0; y < img.height; ++y)
                for (int x = 0; x < img.width; ++x) {
                    const double sx = 0.4 * W + ((x + 0.5) / r.scale - 128) * 1.5,
                                 sy = 128 + ((y + 0.5) / r.scale - 64) * 1.5;
                    outside += img.at(x, y)[3] > 0 && (sx < 0 || sx > W - 140 || sy < 0 || sy > bottom);
                }
            EXPECT_EQ(outside, 0) << "logo" << r.suffix << " on a " << shape.w << ":" << shape.h << " screen";
        }
    }
}

// A sound of the data folder decoded with the game's own WAV or Ogg loader: mono 16-bit expected.
struct Sound {
    std::vector<int16_t> pcm;
    int hertz = 1;
    explicit Sound(const std::string& file) {
        FILE* f = std::fopen(data(file).c_str(), "rb");
        int length = 0, channels = 0, format = 0;
        unsigned char* p = !f                   ? nullptr
                           : file.back() == 'g' ? LoadOGG(f, &length, &channels, &format, &hertz)
                                                : LoadWAV(f, &length, &channels, &format, &hertz);
        if (f) std::fclose(f);
        EXPECT_TRUE(p && channels == 1 && format == 2) << file;
        if (p) pcm.assign(reinterpret_cast<int16_t*>(p), reinterpret_cast<int16_t*>(p) + length);
        std::free(p);
    }
    double Seconds() const { return double(pcm.size()) / hertz; }
    int Peak(double from, double to) const {   // the loudest sample between two times in seconds
        int m = 0;
        for (size_t i = size_t(from * hertz); i < std::min(pcm.size(), size_t(to * hertz)); ++i)
            m = std::max(m, std::abs(int(pcm[i])));
        return m;
    }
    double Rms() const { return std::sqrt(std::inner_product(pcm.begin(), pcm.end(), pcm.begin(), 0.0) / pcm.size()); }
};

const int kClip = 32700;   // a sample this loud has been (or nearly been) clipped

TEST(AssetData, SoundEffectsAreAudibleDoNotClipAndStartAndEndSilent) {
    for (const char* n : {"001", "002", "003", "004", "005", "006", "007", "008", "009", "095", "096", "098", "099"}) {
        SCOPED_TRACE(n);
        const Sound s(std::string("sfx/") + n + ".wav");
        ASSERT_GT(s.pcm.size(), 100u);
        EXPECT_TRUE(s.Peak(0, 9) > 16000 && s.Peak(0, 9) < kClip && s.Rms() > 600 && s.Seconds() < 2.5);
        EXPECT_LT(std::abs(s.pcm.front()) + std::abs(s.pcm.back()), 64) << "clicks";
    }
}

TEST(AssetData, TunesLastTheirGameAndRingOutQuietly) {
    for (int seconds : {30, 20, 10}) {
        const std::string file = "sfx/" + std::to_string(seconds) + ".ogg";
        const Sound s(file);
        const double end = s.Seconds();
        EXPECT_NEAR(end, seconds, 0.1) << file;
        EXPECT_TRUE(s.Rms() > 1000 && s.Peak(0, end) < kClip) << file;
        EXPECT_LT(s.Peak(end - 0.02, end), 1500) << file << " is cut off";
        EXPECT_LT(s.Peak(end - 0.5, end), s.Peak(0, end - 2)) << file << ": the last chord rings out";
    }
}

std::map<std::string, std::string> Tree(const std::string& root) {
    std::map<std::string, std::string> files;
    for (auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[std::filesystem::relative(e.path(), root).string()] = zk_test::ReadFile(e.path().string());
    return files;
}

TEST(AssetGenerator, TwoRunsWriteIdenticalBytesAndTheBuildsDataFolderMatches) {
    zk_test::ScratchDir dir("zk_assetgen");
    for (std::string run : {"a", "b"}) {
        const std::string cmd = std::string(ZK_TEST_ASSETGEN) + " '" + dir / run + "' '" + dir / run + ".png'";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    auto a = Tree(dir / "a"), b = Tree(dir / "b"), built = Tree(ZK_TEST_DATA_DIR);
    EXPECT_TRUE(a.size() == b.size() && a.size() > 40u);
    for (auto& [name, bytes] : a) EXPECT_TRUE(b[name] == bytes && built[name] == bytes) << name << " differs";
}

}  // namespace
