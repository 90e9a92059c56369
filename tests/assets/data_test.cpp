// tests/assets/data_test.cpp: the data folder the build generated, read through the game's own decoders,
// and the generator run again: its output is the same bytes each time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "codecs/audio_decode.h"
#include "harness/scratch.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace {

// The image slots the game loads: frame size and count, and the frames it draws (empty: all).
const struct Sheet { std::string name; int frameW, frameH, frames; std::vector<int> drawn; } kSheets[] = {
    {"gfx", 64, 64, 16, {0, 1, 2, 3, 8, 9, 10, 11, 12, 13, 14, 15}},
    {"gfxb", 32, 32, 64, {0, 1, 2, 3, 4, 14, 15}},
    {"tolvane", 8, 8, 256, {}},
    {"BadgesA", 64, 64, 64, {}},
    {"fonts/editundo", 16, 16, 128, {1}},   // every glyph: see the font test
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
    // Pixels with some alpha in the w x h cell at (x, y); with `edge`, on the cell's outermost ring only.
    int Ink(int x, int y, int w, int h, bool edge = false) const {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if (!edge || j == y || j == y + h - 1 || i == x || i == x + w - 1)
                    n += rgba[(size_t(j) * width + i) * 4 + 3] > 0;
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

// Printable codes 33..126 sit in cells 1..94, the pad icons in 96..108 and the key icons in 112..124.
TEST(AssetData, FontGlyphsHaveInkAwayFromTheirBorders) {
    for (auto& r : kResolutions) {
        const Image img(std::string("fonts/editundo") + r.suffix + ".png");
        const int c = 16 * r.scale;
        ASSERT_EQ(img.width, 16 * c);
        for (int f = 1; f <= 124; ++f) {
            if (f == 95 || (f > 108 && f < 112)) continue;
            EXPECT_GT(img.Ink(f % 16 * c, f / 16 * c, c, c), 0) << r.suffix << " cell " << f;
            EXPECT_EQ(img.Ink(f % 16 * c, f / 16 * c, c, c, true), 0) << r.suffix << " cell " << f;
        }
    }
    const Image zeto("zeto_font.png");   // 96 frames in a row, each with an empty column left and right
    const int w = zeto.width / 96;
    for (int i = 0; i < 96; ++i)
        EXPECT_EQ(zeto.Ink(i * w, 0, 1, zeto.height) + zeto.Ink(i * w + w - 1, 0, 1, zeto.height), 0) << i;
    EXPECT_GT(zeto.Ink(('A' - 32) * w, 0, w, zeto.height), 0);
}

struct Sound {
    std::vector<int16_t> pcm;
    int hertz = 1;
    int Peak(double from, double to) const {   // the loudest sample between two times in seconds
        int m = 0;
        for (size_t i = size_t(from * hertz); i < std::min(pcm.size(), size_t(to * hertz)); ++i)
            m = std::max(m, std::abs(int(pcm[i])));
        return m;
    }
    double Rms() const { return std::sqrt(std::inner_product(pcm.begin(), pcm.end(), pcm.begin(), 0.0) / pcm.size()); }
};

// Decodes a sound of the data folder with the game's own WAV or Ogg loader: mono 16-bit expected.
Sound Decode(const std::string& file) {
    Sound s;
    FILE* f = std::fopen(data(file).c_str(), "rb");
    int length = 0, channels = 0, format = 0;
    unsigned char* pcm = !f ? nullptr : file.back() == 'g' ? LoadOGG(f, &length, &channels, &format, &s.hertz)
                                                           : LoadWAV(f, &length, &channels, &format, &s.hertz);
    if (f) std::fclose(f);
    EXPECT_TRUE(pcm && channels == 1 && format == 2) << file;
    if (pcm) s.pcm.assign(reinterpret_cast<int16_t*>(pcm), reinterpret_cast<int16_t*>(pcm) + length);
    std::free(pcm);
    return s;
}

const int kClip = 32700;   // a sample this loud has been (or nearly been) clipped

TEST(AssetData, SoundEffectsAreAudibleDoNotClipAndStartAndEndSilent) {
    for (const char* n : {"001", "002", "003", "004", "005", "006", "007", "008", "009", "095", "096", "098", "099"}) {
        const std::string file = std::string("sfx/") + n + ".wav";
        const Sound s = Decode(file);
        ASSERT_GT(s.pcm.size(), 100u) << file;
        EXPECT_GT(s.Peak(0, 9), 16000) << file;
        EXPECT_LT(s.Peak(0, 9), kClip) << file;
        EXPECT_GT(s.Rms(), 600) << file;
        EXPECT_LT(std::abs(s.pcm.front()) + std::abs(s.pcm.back()), 64) << file << " clicks";
        EXPECT_LT(s.pcm.size(), 2.5 * s.hertz) << file;
    }
}

TEST(AssetData, TunesLastTheirGameAndRingOutQuietly) {
    for (int seconds : {30, 20, 10}) {
        const std::string file = "sfx/" + std::to_string(seconds) + ".ogg";
        const Sound s = Decode(file);
        const double end = double(s.pcm.size()) / s.hertz;
        EXPECT_NEAR(end, seconds, 0.1) << file;
        EXPECT_GT(s.Rms(), 1000) << file;
        EXPECT_LT(s.Peak(0, end), kClip) << file;
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
    EXPECT_EQ(a.size(), b.size());
    EXPECT_GT(a.size(), 40u);
    for (auto& [name, bytes] : a) {
        EXPECT_TRUE(b[name] == bytes) << name << " differs between two runs";
        EXPECT_TRUE(built[name] == bytes) << name << " differs from the build's copy";
    }
}

}  // namespace
