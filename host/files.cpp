// host/files.cpp: the host's file layer: path scheme, opening and reading files, the saved state, the
// local date, opening a web address, and reading sound files for the audio engine.
//
// Paths are Strings of 16-bit code units. "zanth://data/", "zanth://internal/" and "zanth://external/"
// name folders in the working directory; any other "zanth:" path maps to the empty path, which no file
// operation opens. Other paths are used as they are, relative to the working directory.
//
// The saved state is one UTF-8 text in "./.zanthstate". It is replaced atomically: the new text goes to a
// temporary file beside it (its name plus ".tmp"), is flushed and synced, takes the old file's permissions,
// and only then is renamed over the old file, so a crash, a full disk or a power cut at any moment leaves
// either the old state or the new one, never a half file. A symbolic link at "./.zanthstate" is followed:
// the link stays and its target is replaced. A temporary file left by a crash is removed before the next
// save and when the state is loaded. When no temporary file can be made beside the state (a folder the
// player may not write to) but the state file itself is writable, the text is written into it in place.
// A state file the player has made read-only is kept as it is: the save fails and says so.
//
// On Windows every name goes to the system as UTF-16 (_wfopen and the wide file functions), so a folder
// or file named in any script works whatever the ANSI code page; links are not followed there.
//
// Failures are results, never exceptions: null files and blocks, empty strings, negative ints. The one
// line printed here is a failed save's, which the framework does not otherwise report.
#include <climits>
#include <cstdlib>
#include <ctime>
#include <string>

#ifdef __EMSCRIPTEN__
#include "host/web.h"
#endif
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#undef LoadString   // windows.h's name for LoadStringA would rename ZKGame::LoadString in this file
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
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
const char* const kTempSuffix = ".tmp";   // the temporary file sits beside the state, so the rename is atomic

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

String file_name(const std::string& path) {
    return String::FromUtf8(reinterpret_cast<const unsigned char*>(path.data()), int(path.size()));
}

#ifdef _WIN32
// The attributes of a file named in UTF-8, or INVALID_FILE_ATTRIBUTES when there is none.
DWORD attributes(const std::string& path) { return GetFileAttributesW(file_name(path).ToCString<wchar_t>()); }
#endif

// Writes the whole buffer to an open file and flushes it to the device; `f` is closed. 0, or -2 when any
// byte could not be written or synced.
int write_and_close(FILE* f, const std::string& bytes, bool truncate) {
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
#ifdef _WIN32
    if (truncate) ok = _chsize_s(_fileno(f), (long long)bytes.size()) == 0 && ok;
    ok = _commit(_fileno(f)) == 0 && ok;
#else
    if (truncate) ok = ftruncate(fileno(f), off_t(bytes.size())) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
#endif
    ok = std::fclose(f) == 0 && ok;
    return ok ? 0 : -2;
}

// Writes the buffer to a fresh file at `path` with the permissions of `like`, if that exists. 0, -1 when
// the file cannot be created, -2 when a byte could not be written or synced.
int write_synced(ZKGame* game, const std::string& path, [[maybe_unused]] const std::string& like,
                 const std::string& bytes) {
    FILE* f = game->OpenFile(file_name(path), String("wb"));
    if (!f) return -1;
#ifndef _WIN32
    struct stat old;
    if (stat(like.c_str(), &old) == 0) fchmod(fileno(f), old.st_mode & 07777);
#endif
    return write_and_close(f, bytes, false);
}

// The fallback when no temporary file can be made: the text goes into the state file itself, which is
// then cut to the text's length. The room is reserved first, so a full disk fails before any byte of the
// old state is overwritten. -1 when the state file cannot be opened for writing, -2 when there is no room.
int write_in_place(ZKGame* game, const std::string& path, const std::string& bytes) {
    FILE* f = game->OpenFile(file_name(path), String("r+b"));
    if (!f) return -1;
#ifdef _WIN32
    if (_filelengthi64(_fileno(f)) < (long long)bytes.size() &&
        _chsize_s(_fileno(f), (long long)bytes.size()) != 0) {
        std::fclose(f);
        return -2;
    }
#else
    if (!bytes.empty() && posix_fallocate(fileno(f), 0, off_t(bytes.size())) != 0) {
        std::fclose(f);
        return -2;
    }
#endif
    return write_and_close(f, bytes, true);
}

// Puts the synced temporary file in place of `to`. On failure `to` is untouched.
bool replace_file(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return MoveFileExW(file_name(from).ToCString<wchar_t>(), file_name(to).ToCString<wchar_t>(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    // The rename itself lives in the folder: sync it too so that it survives a power cut.
    std::string folder = to.substr(0, to.find_last_of('/') + 1);
    int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
#endif
}

// The file that holds the state: "./.zanthstate", or the file a symbolic link there points to (a link
// whose target is missing still names it, so the first save creates it).
std::string state_file() {
#ifndef _WIN32
    struct stat st;
    if (lstat(kStatePath, &st) != 0 || !S_ISLNK(st.st_mode)) return kStatePath;
    char target[PATH_MAX];
    if (realpath(kStatePath, target)) return target;
    ssize_t n = readlink(kStatePath, target, sizeof target - 1);
    if (n > 0) return std::string(target, size_t(n));   // relative to the link's folder, the working folder
#endif
    return kStatePath;
}

// Whether the state file exists without a write permission for us, judged by its mode bits: the owner's
// when it is ours, anyone's otherwise. Not by access(): root may write anything, and would replace it.
bool write_protected(const std::string& file) {
#ifndef _WIN32
    struct stat st;
    if (stat(file.c_str(), &st) != 0) return false;   // no file yet: nothing to keep
    const mode_t bits = st.st_uid == geteuid() ? S_IWUSR : S_IWUSR | S_IWGRP | S_IWOTH;
    return (st.st_mode & bits) == 0;
#else
    // Its read-only attribute. Windows would refuse to replace the file or open it for writing, but not
    // every system that runs Windows programs does (Wine, run as root, does both).
    const DWORD a = attributes(file);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
#endif
}

// The line of a failed save, which the framework does not otherwise report; returns `result`.
int unsaved(int result, const char* why) {
    std::printf("Saved state not written (%s): the previous state is kept\n", why);
    std::fflush(stdout);
    return result;
}

// Removes a temporary file left by a save that was cut short; anything else in its place is left alone.
void remove_stale_temp(const std::string& temp) {
#ifdef _WIN32
    DWORD a = attributes(temp);
    if (a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW(file_name(temp).ToCString<wchar_t>());
#else
    struct stat st;
    if (lstat(temp.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) unlink(temp.c_str());
#endif
}

#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
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
    const std::string file = state_file(), temp = file + kTempSuffix;
    if (write_protected(file)) return unsaved(-1, "read-only");   // the player keeps this state as it is
    remove_stale_temp(temp);
    int result = write_synced(this, temp, file, bytes);
    // 4. Only a complete copy replaces the old state; anything less is thrown away.
    if (result == 0 && !replace_file(temp, file)) result = -1;
    if (result != 0) remove_stale_temp(temp);
    // 5. No temporary file to be had: the state file itself, if it may be written.
    if (result == -1) result = write_in_place(this, file, bytes);
#ifdef __EMSCRIPTEN__
    if (result == 0) WebSyncSaves();   // a page's saved state lives in its IndexedDB
#endif
    return result == 0 ? 0 : unsaved(result, result == -2 ? "write failed" : "cannot open");
}

String ZKGame::LoadState() {
    remove_stale_temp(state_file() + kTempSuffix);
    return LoadString(String(kStatePath));
}

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
#if defined(__EMSCRIPTEN__)
    WebOpenUrl(url);
#elif defined(_WIN32)
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

// Ogg Vorbis only: a WAV is its own PCM and costs nothing to load whole. The collector hears of the PCM
// as the engine decodes it.
OggStream* ZKGlfwGame::OpenAudioStream(String path, int* channels, int* hertz) {
    if (!path.ToLower().EndsWith(String(".ogg"))) return nullptr;
    FILE* f = OpenFile(path, String("rb"));
    return f ? OpenOGGStream(f, channels, hertz) : nullptr;
}
