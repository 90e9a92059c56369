// The debugger's command lines: the first byte alone picks the command, and "@" with any text never
// reaches anything but an object the collector holds. A line that starts with "#" is turned into
// "@" and the address of a live object, so the printing path runs too.
#include <cstring>
#include <string>

#include "fuzz/fuzz.h"
#include "runtime/error.h"

namespace {

Object* live;

int expected(char first) {
    if (first == '?' || first == '@') return kDbgAgain;
    if (std::strchr("rsel", first) && first) return kDbgResume;
    return first == 'q' ? kDbgQuit : kDbgUnknown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (gc_init1(), live = new Object, gc_root(live), true);
    (void)ready;
    // A line as dbg_stop reads one: at most 254 bytes before its line feed, ending at a zero byte.
    std::string line(reinterpret_cast<const char*>(data), std::min<size_t>(size, 254));
    line = line.substr(0, std::min(line.find('\n'), line.find('\0')));
    if (!line.empty() && line[0] == '#') {
        char address[32];
        std::snprintf(address, sizeof address, "@%p", static_cast<void*>(live));
        line = address + line.substr(1);
    }
    FUZZ_CHECK(dbg_command(line.c_str()) == expected(line.c_str()[0]));
    return 0;
}
