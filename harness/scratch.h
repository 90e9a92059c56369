// harness/scratch.h: a scratch folder of one's own in the temporary folder, removed with everything in it.
//
// ScratchDir makes a fresh folder, or ends the program saying why. Enter() makes it the working folder
// until Leave() or the destructor goes back. The destructor removes the folder, even one a test made
// read-only, only in the process that made it: a death test's child leaves it alone. ReadFile and
// WriteFile move a file's whole bytes. Paths are UTF-8 on every system (on Windows they reach the system
// as UTF-16), so a prefix may hold any letters. Header only; C++17 <filesystem>, POSIX or Windows.
#pragma once

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace zk_test {

namespace fs = std::filesystem;

// A path named in UTF-8.
inline fs::path Utf8Path(const std::string& path) { return fs::u8path(path); }

// A file's bytes; empty when it cannot be read (a folder included).
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(Utf8Path(path), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Writes `bytes` as the whole file, through a link if `path` is one.
inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(Utf8Path(path), std::ios::binary) << bytes;
}

#ifdef _WIN32
inline int ProcessId() { return _getpid(); }
#else
inline int ProcessId() { return getpid(); }
#endif

class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix = "zk_test") : owner_(ProcessId()) {
        std::error_code error;
        fs::path temp = fs::temp_directory_path(error);
        std::random_device random;
        for (int tries = 0; tries < 100 && path_.empty(); ++tries) {
            fs::path p = temp / Utf8Path(prefix + "_" + std::to_string(random() % 1000000000));
            if (fs::create_directory(p, error)) path_ = p.u8string();
        }
        if (path_.empty()) {
            std::fprintf(stderr, "no scratch folder for %s in %s: %s\n", prefix.c_str(),
                         temp.u8string().c_str(), error.message().c_str());
            std::abort();
        }
    }
    ~ScratchDir() {
        if (ProcessId() != owner_) return;
        Leave();
        std::error_code ignored;
        fs::permissions(Utf8Path(path_), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(Utf8Path(path_), ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    // The path of `name` inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Makes the folder the working folder; returns false when that fails.
    bool Enter() {
        std::error_code error;
        if (!entered_) home_ = fs::current_path(error);
        if (error) return false;
        fs::current_path(Utf8Path(path_), error);
        entered_ = !error;
        return entered_;
    }
    // Goes back to the folder that was current at Enter(); returns false when that fails.
    bool Leave() {
        if (!entered_) return true;
        entered_ = false;
        std::error_code error;
        fs::current_path(home_, error);
        return !error;
    }
    // The names in the folder, "." and ".." left out.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& e : fs::directory_iterator(Utf8Path(path_), ignored))
            names.push_back(e.path().filename().u8string());
        return names;
    }

private:
    std::string path_;   // UTF-8
    int owner_;
    bool entered_ = false;
    fs::path home_;
};

}  // namespace zk_test
