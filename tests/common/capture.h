// tests/common/capture.h: OpenAL Soft's wave writer as a microphone. UseWaveWriter(folder), before the first
// device opens, sends the mix to folder/out.wav (`seenAs`: the folder as the player sees it, e.g. Wine's Z:).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "tests/common/env.h"

namespace zk_test {

const int kCaptureRate = 44100;   // the wave writer's mixing rate, set in the configuration

inline void UseWaveWriter(const std::string& folder, std::string seenAs = "", int rate = kCaptureRate) {
    if (seenAs.empty()) seenAs = folder;
    std::ofstream(folder + "/alsoft.conf")
        << "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
        << "frequency = " << rate << "\nstereo-mode = speakers\nstereo-encoding = panpot\ndither = false\n"
        << "[wave]\nfile = " << seenAs << "/out.wav\n";
    SetEnv("ALSOFT_CONF", seenAs + "/alsoft.conf");
    SetEnv("ALSOFT_DRIVERS", "wave");
}

struct Capture {
    std::vector<int16_t> left, right;

    static double Energy(const std::vector<int16_t>& s) {
        return std::inner_product(s.begin(), s.end(), s.begin(), 0.0);
    }
    // The louder channel's tone from its rising zero crossings between its first and last loud samples.
    double Frequency() const {
        const std::vector<int16_t>& s = Energy(left) > Energy(right) ? left : right;
        size_t from = s.size(), to = 0;
        for (size_t i = 0; i < s.size(); ++i)
            if (std::abs(s[i]) > 1000) from = std::min(from, i), to = i;
        std::vector<size_t> rising;
        for (size_t i = from + 1; i <= to; ++i)
            if (s[i - 1] < 0 && s[i] >= 0) rising.push_back(i);
        if (rising.size() < 2) return 0.0;
        return (rising.size() - 1) * double(kCaptureRate) / double(rising.back() - rising.front());
    }
};

inline Capture ReadCapture(const std::string& folder) {
    std::ifstream in(folder + "/out.wav", std::ios::binary);
    std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Capture c;
    size_t fmt = b.find("fmt "), data = b.find("data");
    if (fmt == std::string::npos || data == std::string::npos || fmt + 24 > b.size()) {
        ADD_FAILURE() << "no fmt or data chunk in " << folder << "/out.wav";
        return c;
    }
    EXPECT_TRUE(b[fmt + 10] == 2 && b[fmt + 22] == 16) << "not stereo 16-bit";
    for (size_t i = data + 8; i + 4 <= b.size(); i += 4) {   // to the end: a killed writer leaves no sizes
        c.left.push_back(int16_t(uint8_t(b[i]) | uint8_t(b[i + 1]) << 8));
        c.right.push_back(int16_t(uint8_t(b[i + 2]) | uint8_t(b[i + 3]) << 8));
    }
    return c;
}

}  // namespace zk_test
