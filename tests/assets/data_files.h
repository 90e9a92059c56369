// tests/assets/data_files.h: what the game loads from its data folder, as the game's resource tables
// name them, and small readers over the generated files shared by the asset tests.
#pragma once
#include <string>
#include <vector>

struct SlotSheet {
    std::string name;        // without resolution suffix and ".png"
    int frameW, frameH, frames;
    std::vector<int> drawn;  // frames the game draws; empty means all of them
};

// The image slots of the game, with their logical frame sizes and counts.
const std::vector<SlotSheet>& game_sheets();
// The three art resolutions: file suffix and scale.
struct Resolution { const char* suffix; int scale; };
const std::vector<Resolution>& resolutions();

std::string data_path(const std::string& relative);  // inside the build's data folder

struct Rgba {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;  // 4 bytes a pixel
    unsigned char alpha(int x, int y) const { return pixels[size_t(y * width + x) * 4 + 3]; }
};
bool load_png(const std::string& path, Rgba& out);  // false when the file is missing or not a PNG

struct FrameCut { int x, y; };
// Cuts frames out of a surface row by row exactly as the framework does; returns false where the
// framework would stop with "Image frame outside surface".
bool cut_frames(int surfaceW, int surfaceH, int frameW, int frameH, int frames, std::vector<FrameCut>& out);
