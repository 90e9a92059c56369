// fuzz/replay_main.cpp: the corpus replay for builds without libFuzzer. Feeds every file named on the
// command line, and every file in every folder named, to the target once, in name order; a target's
// failed check aborts the process, so ctest reports the corpus as failed. Afterwards the collector frees
// everything, so that a leak check at exit sees any block a target lost.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz.h"
#include "runtime/gc.h"

namespace fs = std::filesystem;

static void replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "%s (%zu bytes)\n", file.c_str(), bytes.size());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

int main(int argc, char** argv) {
    int count = 0;
    for (int a = 1; a < argc; ++a) {
        std::vector<fs::path> files;
        if (fs::is_directory(argv[a])) {
            for (const auto& entry : fs::directory_iterator(argv[a])) files.push_back(entry.path());
        } else {
            files.push_back(argv[a]);
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) replay(file), ++count;
    }
    std::fprintf(stderr, "%d inputs replayed\n", count);
    gc_teardown();   // the leak check at exit then sees only what is really lost
    return count > 0 ? 0 : 1;   // an empty corpus is a mistake, not a pass
}
