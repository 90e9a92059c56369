// tests/assets/data_test.cpp: the data folder as a whole: every file the game loads is there in every
// resolution, and the generator writes the same bytes each time it runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <unistd.h>

#include "data_files.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

namespace fs = std::filesystem;

const std::vector<SlotSheet>& game_sheets() {
    static const std::vector<SlotSheet> sheets = {
        {"gfx", 64, 64, 16, {0, 1, 2, 3, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"gfxb", 32, 32, 64, {0, 1, 2, 3, 4, 14, 15}},
        {"tolvane", 8, 8, 256, {}},
        {"BadgesA", 64, 64, 64, {}},
        {"fonts/editundo", 16, 16, 128, {33 - 32}},  // every glyph is checked by the font tests
        {"common/Testcard_Circle", 256, 256, 1, {0}},
        {"common/PlinLogo", 256, 256, 1, {0}},
        {"common/dpad", 32, 32, 16, {}},
        {"common/Buttons", 64, 64, 16, {0, 1, 2, 8, 9, 10, 12}},
        {"parts", 8, 8, 256, {}},
        {"common/icons", 32, 32, 16, {0, 1, 3, 6}},
        {"logo", 256, 128, 1, {0}},
        {"menu", 256, 256, 4, {1, 2}},
    };
    return sheets;
}

const std::vector<Resolution>& resolutions() {
    static const std::vector<Resolution> r = {{"", 1}, {"-hd", 2}, {"-hd2", 4}};
    return r;
}

std::string data_path(const std::string& relative) { return std::string(ZK_TEST_DATA_DIR) + "/" + relative; }

bool load_png(const std::string& path, Rgba& out) {
    int w, h, n;
    unsigned char* p = stbi_load(path.c_str(), &w, &h, &n, 4);
    if (!p) return false;
    out.width = w;
    out.height = h;
    out.pixels.assign(p, p + size_t(w) * h * 4);
    stbi_image_free(p);
    return true;
}

bool cut_frames(int srcW, int srcH, int frameW, int frameH, int frames, std::vector<FrameCut>& out) {
    out.clear();
    int x = 0, y = 0;
    for (int i = 0; i < frames; ++i) {
        if (x + frameW > srcW) {
            y += frameH;
            if (frameW > srcW) return false;
            x = 0;
        }
        if (y + frameH > srcH) return false;
        out.push_back({x, y});
        x += frameW;
    }
    return true;
}

namespace {

std::vector<std::string> files_the_game_loads() {
    std::vector<std::string> files = {"zeto_font.png", "sfx/30.ogg", "sfx/20.ogg", "sfx/10.ogg"};
    for (const SlotSheet& s : game_sheets())
        for (const Resolution& r : resolutions()) files.push_back(s.name + r.suffix + ".png");
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 95, 96, 98, 99}) {
        char name[16];
        std::snprintf(name, sizeof name, "sfx/%03d.wav", n);
        files.push_back(name);
    }
    return files;
}

std::map<std::string, std::string> read_tree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path(), std::ios::binary);
        files[fs::relative(e.path(), root).string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

}  // namespace

TEST(AssetDataFolder, HoldsEveryFileTheGameLoadsAndEachResolutionScalesThePlainSheet) {
    for (const std::string& f : files_the_game_loads())
        EXPECT_TRUE(fs::is_regular_file(data_path(f)) && fs::file_size(data_path(f)) > 0) << f;
    for (const SlotSheet& s : game_sheets()) {
        Rgba plain, scaled;
        ASSERT_TRUE(load_png(data_path(s.name + ".png"), plain)) << s.name;
        for (const Resolution& r : resolutions()) {
            ASSERT_TRUE(load_png(data_path(s.name + r.suffix + ".png"), scaled)) << s.name << r.suffix;
            EXPECT_EQ(scaled.width * 10000 + scaled.height, (plain.width * 10000 + plain.height) * r.scale) << s.name << r.suffix;
        }
    }
}

TEST(AssetGenerator, TwoRunsWriteIdenticalBytes) {
    fs::path tmp = fs::temp_directory_path() / ("zk_assetgen_test_" + std::to_string(::getpid()));
    fs::remove_all(tmp);
    for (const char* run : {"a", "b"}) {
        fs::create_directories(tmp / run);
        std::string cmd = std::string("\"") + ZK_TEST_ASSETGEN + "\" \"" + (tmp / run / "data").string() + "\" \"" +
                          (tmp / run / "preview.png").string() + "\"";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    auto a = read_tree(tmp / "a"), b = read_tree(tmp / "b");
    EXPECT_EQ(a.size(), b.size());
    EXPECT_GT(a.size(), 40u);
    for (auto& [name, bytes] : a) {
        ASSERT_TRUE(b.count(name)) << name;
        EXPECT_TRUE(bytes == b[name]) << name << " differs between two runs";
    }
    // The build's own data folder came from the same generator, so it matches too.
    auto built = read_tree(ZK_TEST_DATA_DIR);
    for (auto& [name, bytes] : built)
        if (a.count("data/" + name)) {
            EXPECT_TRUE(bytes == a["data/" + name]) << name << " differs from the build's copy";
        }
    fs::remove_all(tmp);
}
