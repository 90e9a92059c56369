// harness/saved_state.h: the saved text as the tests and the saved-state fuzz target read it, apart from
// the game's own code: the lines loading may print, splitting, and a checker of the 203 numbers and their
// checksums.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace saved_state {

using Lines = std::vector<std::string>;

// Every line p_Load may print, in the order of the blocks they belong to.
inline const Lines kLoaded = {"Settings Loaded", "Badges Loaded", "Highscore 0 Loaded", "Highscore 1 Loaded",
                              "Highscore 2 Loaded"};
inline const Lines kInvalid = {"Settings Checksum Invalid", "Badge Checksum Invalid",
                               "Highscore 0 Checksum Invalid", "Highscore 1 Checksum Invalid",
                               "Highscore 2 Checksum Invalid"};

inline std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> out(1);
    for (char c : text) {
        if (c == separator) out.emplace_back();
        else out.back().push_back(c);
    }
    return out;
}

// Checks a saved text on its own terms, apart from the game's code: 203 numbers in "%i" form, each
// followed by "|", and every block's checksum, summed in 64 bits and compared modulo 2^32.
inline ::testing::AssertionResult ChecksumsHold(const std::string& text) {
    std::vector<long long> v;
    std::vector<std::string> pieces = Split(text, '|');
    if (pieces.back() != "") return ::testing::AssertionFailure() << "no separator at the end: " << text;
    pieces.pop_back();
    for (const std::string& piece : pieces) {
        long long x = std::strtoll(piece.c_str(), nullptr, 10);
        if (std::to_string(x) != piece || x < INT_MIN || x > INT_MAX)
            return ::testing::AssertionFailure() << "not an int: \"" << piece << "\"";
        v.push_back(x);
    }
    if (v.size() != 203) return ::testing::AssertionFailure() << v.size() << " numbers";
    auto same = [](long long sum, long long stored) { return (sum - stored) % 4294967296LL == 0; };
    long long settings = 0, badges = 0;
    for (int i = 0; i < 25; ++i) settings += i * v[i];
    for (int g = 26; g < 34; ++g) badges += v[g];
    if (!same(settings, v[25]) || !same(badges, v[34])) return ::testing::AssertionFailure() << "settings or badges";
    for (int k = 0; k < 8; ++k) {
        long long sum = 0, *block = &v[35 + 21 * k];
        for (int j = 0; j < 10; ++j) sum += (j + 4) * block[2 * j] + (k + 3 + j) * block[2 * j + 1];
        if (!same(sum, block[20])) return ::testing::AssertionFailure() << "highscore block " << k;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace saved_state
