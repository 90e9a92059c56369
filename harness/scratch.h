// harness/scratch.h: a scratch folder of one's own under /tmp, removed with everything in it.
//
// ScratchDir makes a fresh folder (mkdtemp), or ends the program saying why. Enter() makes it the working
// folder until Leave() or the destructor goes back. The destructor removes the folder, even one a test
// made read-only, only in the process that made it: a death test's child leaves it alone. ReadFile and
// WriteFile move a file's whole bytes. Header only; POSIX and C++17 <filesystem>.
#pragma once

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zk_test {

// A file's bytes; empty when it cannot be read (a folder included).
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Writes `bytes` as the whole file, through a link if `path` is one.
inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix = "zk_test") : owner_(getpid()) {
        std::string pattern = "/tmp/" + prefix + "_XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror(("no scratch folder " + pattern).c_str());
            std::abort();
        }
        path_ = pattern;
    }
    ~ScratchDir() {
        if (getpid() != owner_) return;
        Leave();
        std::error_code ignored;
        namespace fs = std::filesystem;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    // The path of `name` inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Makes the folder the working folder; returns false when that fails.
    bool Enter() {
        if (!entered_ && !getcwd(home_, sizeof home_)) return false;
        entered_ = chdir(path_.c_str()) == 0;
        return entered_;
    }
    // Goes back to the folder that was current at Enter(); returns false when that fails.
    bool Leave() {
        if (!entered_) return true;
        entered_ = false;
        return chdir(home_) == 0;
    }
    // The names in the folder, "." and ".." left out.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& e : std::filesystem::directory_iterator(path_, ignored))
            names.push_back(e.path().filename().string());
        return names;
    }

private:
    std::string path_;
    pid_t owner_;
    bool entered_ = false;
    char home_[PATH_MAX] = {};
};

}  // namespace zk_test
