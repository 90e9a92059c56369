// Text decoding: the bytes as a file through String::Load, and as raw code units; both texts must come
// back unchanged through UTF-8.
#include <string>
#include <vector>

#include "fuzz/fuzz.h"
#include "runtime/string.h"

namespace {

// A leading U+FEFF is read back as a byte-order mark, so it is the one unit the trip may drop.
void check_round_trip(const String& s) {
    const std::string bytes = s.ToUtf8();
    const String back = String::FromUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()));
    FUZZ_CHECK(back == (s.Length() && s[0] == 0xfeff ? s.Slice(1) : s));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = open_bytes(data, size);
    const String text = String::Load(f);
    std::fclose(f);
    const long n = long(size);
    const bool utf16 = n >= 2 && ((data[0] == 0xfe && data[1] == 0xff) || (data[0] == 0xff && data[1] == 0xfe));
    if (utf16) FUZZ_CHECK(text.Length() == (n - 2) / 2);
    else FUZZ_CHECK(text.Length() <= n && 3L * text.Length() >= n - 3);   // 1 to 3 bytes a unit, a mark
    check_round_trip(text);
    std::vector<Char> units(size / 2);
    for (size_t i = 0; i < units.size(); ++i) units[i] = Char(data[2 * i] | data[2 * i + 1] << 8);
    check_round_trip(String(units.data(), int(units.size())));
    return 0;
}
