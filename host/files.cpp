// host/files.cpp: the host's file layer: path scheme, opening and reading files, the saved state, the
// local date, opening a web address, and reading sound files for the audio engine.
//
// Paths are Strings of 16-bit code units. "zanth://data/", "zanth://internal/" and "zanth://external/"
// name folders in the working directory; any other "zanth:" path maps to the empty path, which no file
// operation opens. Other paths are used as they are, relative to the working directory.
//
// The saved state is one UTF-8 text in "./.zanthstate". It is replaced atomically: the new text goes to
// "./.zanthstate.tmp", is flushed and synced, and only then renamed over the old file, so a crash, a full
// disk or a power cut at any moment leaves either the old state or the new one, never a half file.
//
// Failures are results, never exceptions: null files and blocks, empty strings, negative ints. Nothing
// here prints.
#include <cstdlib>
#include <ctime>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "codecs/audio_decode.h"
#include "host/game.h"
#include "runtime/contract.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace {

const char* const kStatePath = "./.zanthstate";
const char* const kStateTempPath = "./.zanthstate.tmp";   // same folder, so the rename stays atomic

// Path prefixes of the scheme and the folders they stand for, tested in this order.
struct SchemeRoot {
    const char* prefix;
    const char* folder;
};
const SchemeRoot kSchemeRoots[] = {
    {"zanth://data/", "./data/"},
    {"zanth://internal/", "./internal/"},
    {"zanth://external/", "./external/"},
};

// Writes the whole buffer to a fresh file at `path`, flushed to the device. 0, -1 when the file cannot
// be created, -2 when any byte could not be written or synced.
int write_synced(ZKGame* game, const char* path, const std::string& bytes) {
    FILE* f = game->OpenFile(String(path), String("wb"));
    if (!f) return -1;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
#ifdef _WIN32
    ok = _commit(_fileno(f)) == 0 && ok;
#else
    ok = fsync(fileno(f)) == 0 && ok;
#endif
    ok = std::fclose(f) == 0 && ok;
    return ok ? 0 : -2;
}

// Puts the synced temporary file in place of `to`. On failure `to` is untouched.
bool replace_file(const char* from, const char* to) {
#ifdef _WIN32
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    if (std::rename(from, to) != 0) return false;
    // The rename itself lives in the folder: sync it too so that it survives a power cut.
    int dir = open(".", O_RDONLY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
#endif
}

#ifndef _WIN32
// Children started by OpenUrl that have not been waited for yet; reaped on the next call so that none
// stays a zombie for long without ever blocking the game.
pid_t url_children[16];
int url_child_count = 0;

void reap_url_children() {
    int kept = 0;
    for (int i = 0; i < url_child_count; ++i) {
        if (waitpid(url_children[i], nullptr, WNOHANG) == 0) url_children[kept++] = url_children[i];
    }
    url_child_count = kept;
}
#endif

}  // namespace

// ---- Paths and reading ----

String ZKGlfwGame::PathToFilePath(String path) {
    if (!path.StartsWith(String("zanth:"))) return path;
    for (const SchemeRoot& root : kSchemeRoots) {
        String prefix(root.prefix);
        if (path.StartsWith(prefix)) return String(root.folder) + path.Slice(prefix.Length());
    }
    return String();   // an unknown root: the empty path, which nothing opens
}

FILE* ZKGame::OpenFile(String path, String mode) {
    String file = PathToFilePath(path);
    if (file.Length() == 0) return nullptr;
#ifdef _WIN32
    return _wfopen(file.ToCString<wchar_t>(), mode.ToCString<wchar_t>());
#else
    // Linux file names are bytes; UTF-8 is what the rest of the system uses for text in them.
    return std::fopen(file.ToUtf8().c_str(), mode.ToUtf8().c_str());
#endif
}

String ZKGame::LoadString(String path) {
    FILE* f = OpenFile(path, String("rb"));
    if (!f) return String();
    String text = String::Load(f);
    std::fclose(f);
    return text;
}

unsigned char* ZKGame::LoadData(String path, int* length) {
    FILE* f = OpenFile(path, String("rb"));
    if (!f) return nullptr;
    const size_t kPiece = 4096;   // read until a piece comes back short
    size_t size = 0;
    unsigned char* data = nullptr;
    for (;;) {
        data = static_cast<unsigned char*>(zk_realloc(data, size + kPiece));
        size_t got = std::fread(data + size, 1, kPiece, f);
        size += got;
        if (got < kPiece) {
            std::fclose(f);
            *length = int(size);
            return data;
        }
    }
}

// ---- Saved state ----

int ZKGame::SaveState(String state) {
    // 1-2. The text as UTF-8, every code unit by itself, no byte-order mark.
    std::string bytes = state.ToUtf8();
    // 3. Into a temporary file beside the state file, flushed and synced.
    int result = write_synced(this, kStateTempPath, bytes);
    // 4. Only a complete copy replaces the old state; anything less is thrown away.
    if (result == 0 && !replace_file(kStateTempPath, kStatePath)) result = -1;
    if (result != 0) std::remove(kStateTempPath);
    return result;
}

String ZKGame::LoadState() { return LoadString(String(kStatePath)); }

// ---- Date and web addresses ----

void ZKGame::GetDate(Array<int> date) {
    int n = date.Length();
    if (n == 0) return;
    std::time_t now = std::time(nullptr);
    const std::tm* clock = std::localtime(&now);
    if (!clock) return;   // no local time to be had: the record stays as it was
    std::tm local = *clock;
    const int fields[7] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec, 0 /* milliseconds: not available */};
    for (int i = 0; i < n && i < 7; ++i) date[i] = fields[i];
}

void ZKGlfwGame::OpenUrl(String url) {
#ifdef _WIN32
    ShellExecuteA(nullptr, "open", url.ToCString<char>(), nullptr, nullptr, SW_SHOWNORMAL);
#else
    // The address is one argument of xdg-open, started directly: no shell ever parses it.
    reap_url_children();
    if (url_child_count == int(sizeof url_children / sizeof url_children[0])) return;
    std::string address = url.ToUtf8();
    char program[] = "xdg-open";
    char* argv[] = {program, &address[0], nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) == 0) url_children[url_child_count++] = pid;
#endif
}

// ---- Sound files ----

unsigned char* ZKGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) {
    // 1. Open through the path scheme.
    FILE* f = OpenFile(path, String("rb"));
    if (!f) return nullptr;
    // 2. The decoder follows the extension, in any letter case.
    String lower = path.ToLower();
    unsigned char* pcm = nullptr;
    if (lower.EndsWith(String(".wav")))
        pcm = LoadWAV(f, length, channels, format, hertz);
    else if (lower.EndsWith(String(".ogg")))
        pcm = LoadOGG(f, length, channels, format, hertz);
    // 3. The decoded PCM is memory outside the collector's heap until the engine frees it.
    std::fclose(f);
    if (pcm) {
        long long bytes = (long long)*length * *channels * *format;
        gc_ext_malloced(bytes > 0x7fffffff ? 0x7fffffff : int(bytes));
    }
    return pcm;
}
