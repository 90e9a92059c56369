// runtime/string.cpp: String construction, operations, number formatting and UTF-8/UTF-16 decoding.
#include "runtime/string.h"

#include <cstddef>
#include <cstring>
#include <cwctype>
#include <vector>

#include "runtime/array.h"

String::Rep String::emptyRep = {1, 0, {0}};

void String::Rep::release() {
    if (--refs == 0 && this != &emptyRep) std::free(this);
}

String::Rep* String::Rep::alloc(int length) {
    if (length <= 0) {
        emptyRep.retain();
        return &emptyRep;
    }
    Rep* r = static_cast<Rep*>(zk_malloc(offsetof(Rep, data) + sizeof(Char) * length));
    r->refs = 1;
    r->length = length;
    return r;
}

String::String(const Char* data, int length) : rep_(Rep::alloc(length)) {
    if (length > 0) std::memcpy(rep_->data, data, sizeof(Char) * length);
}

// One unit per byte, each byte widened as a signed 8-bit value so that narrowing gives it back.
static String::Rep* narrow_rep(const char* text) {
    String::Rep* r = String::Rep::alloc(static_cast<int>(std::strlen(text)));
    for (int i = 0; i < r->length; ++i) r->data[i] = static_cast<Char>(static_cast<signed char>(text[i]));
    return r;
}

static String::Rep* int_rep(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%i", value);
    return narrow_rep(buf);
}

// 17 significant digits; ".0" is added when the text shows neither a point nor an exponent.
static String::Rep* float_rep(float value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17lg", static_cast<double>(value));
    if (!std::strchr(buf, '.') && !std::strchr(buf, 'e')) std::strcat(buf, ".0");
    return narrow_rep(buf);
}

String::String(const char* text) : rep_(narrow_rep(text)) {}
String::String(Char unit) : rep_(Rep::alloc(1)) { rep_->data[0] = unit; }
String::String(int value) : rep_(int_rep(value)) {}
String::String(float value) : rep_(float_rep(value)) {}

String& String::operator=(const String& s) {
    s.rep_->retain();
    rep_->release();
    rep_ = s.rep_;
    return *this;
}

String& String::operator=(String&& s) noexcept {
    if (this != &s) {
        rep_->release();
        rep_ = s.rep_;
        s.rep_ = &emptyRep;
        emptyRep.retain();
    }
    return *this;
}

String String::operator+(const String& s) const {
    if (!Length()) return s;   // an empty side shares the other's rep
    if (!s.Length()) return *this;
    Rep* r = Rep::alloc(Length() + s.Length());
    std::memcpy(r->data, Data(), sizeof(Char) * Length());
    std::memcpy(r->data + Length(), s.Data(), sizeof(Char) * s.Length());
    return String(r);
}

bool String::operator==(const String& s) const {
    if (rep_ == s.rep_) return true;
    return Length() == s.Length() && std::memcmp(Data(), s.Data(), sizeof(Char) * Length()) == 0;
}

int String::Compare(const String& s) const {
    int n = Length() < s.Length() ? Length() : s.Length();
    for (int i = 0; i < n; ++i)
        if (int d = (*this)[i] - s[i]) return d;
    return Length() - s.Length();
}

int String::Find(const String& sub, int start) const {
    if (start < 0) start = 0;
    if (sub.Length() > Length() - start) return -1;   // start + sub length past the end, without overflow
    size_t bytes = sizeof(Char) * sub.Length();
    for (int i = start; i <= Length() - sub.Length(); ++i)
        if (std::memcmp(Data() + i, sub.Data(), bytes) == 0) return i;
    return -1;
}

bool String::StartsWith(const String& prefix) const {
    return prefix.Length() <= Length() &&
           std::memcmp(Data(), prefix.Data(), sizeof(Char) * prefix.Length()) == 0;
}

bool String::EndsWith(const String& suffix) const {
    return suffix.Length() <= Length() &&
           std::memcmp(Data() + Length() - suffix.Length(), suffix.Data(), sizeof(Char) * suffix.Length()) == 0;
}

// A negative index counts from the end (never below 0); a non-negative one is clamped to the length.
static int clamp_index(int i, int length) {
    if (i < 0) return length + i > 0 ? length + i : 0;
    return i < length ? i : length;
}

String String::Slice(int from, int to) const {
    from = clamp_index(from, Length());
    to = clamp_index(to, Length());
    if (to <= from) return String();
    if (from == 0 && to == Length()) return *this;
    return String(Data() + from, to - from);
}

Array<String> String::Split(const String& separator) const {
    if (!separator.Length()) {
        Array<String> units(Length());
        for (int i = 0; i < Length(); ++i) units[i] = String((*this)[i]);
        return units;
    }
    int count = 1;
    for (int at = 0, j; (j = Find(separator, at)) != -1; at = j + separator.Length()) ++count;
    Array<String> pieces(count);
    if (count == 1) {
        pieces[0] = *this;
        return pieces;
    }
    int at = 0, k = 0;
    for (int j; (j = Find(separator, at)) != -1; at = j + separator.Length()) pieces[k++] = Slice(at, j);
    pieces[k] = Slice(at);
    return pieces;
}

String String::Join(const Array<String>& pieces) const {
    int n = pieces.Length();
    if (n == 0) return String();
    if (n == 1) return pieces[0];
    int length = (n - 1) * Length();
    for (int i = 0; i < n; ++i) length += pieces[i].Length();
    Rep* r = Rep::alloc(length);
    Char* out = r->data;
    for (int i = 0; i < n; ++i) {
        if (i) {
            std::memcpy(out, Data(), sizeof(Char) * Length());
            out += Length();
        }
        std::memcpy(out, pieces[i].Data(), sizeof(Char) * pieces[i].Length());
        out += pieces[i].Length();
    }
    return String(r);
}

// An empty find text would match at every position without advancing; it leaves the text unchanged.
String String::Replace(const String& find, const String& replacement) const {
    if (!find.Length()) return *this;
    int length = 0, at = 0, hits = 0;
    for (int j; (j = Find(find, at)) != -1; at = j + find.Length(), ++hits) length += j - at + replacement.Length();
    if (!hits) return *this;
    length += Length() - at;
    Rep* r = Rep::alloc(length);
    Char* out = r->data;
    at = 0;
    for (int j; (j = Find(find, at)) != -1; at = j + find.Length()) {
        std::memcpy(out, Data() + at, sizeof(Char) * (j - at));
        out += j - at;
        std::memcpy(out, replacement.Data(), sizeof(Char) * replacement.Length());
        out += replacement.Length();
    }
    std::memcpy(out, Data() + at, sizeof(Char) * (Length() - at));
    return String(r);
}

int String::ToInt() const {
    char buf[64];   // units past the 63rd are never looked at
    int n = Length() < 63 ? Length() : 63;
    for (int i = 0; i < n; ++i) buf[i] = static_cast<char>((*this)[i] & 0xff);
    buf[n] = 0;
    return std::atoi(buf);
}

String String::ToLower() const {
    Rep* r = Rep::alloc(Length());
    for (int i = 0; i < Length(); ++i) r->data[i] = static_cast<Char>(std::towlower((*this)[i]));
    return String(r);
}

// ---- Decoding ----

// Decodes UTF-8 (one, two and three byte forms) into `out`; false on any other lead byte, a bad
// continuation byte or a sequence cut short.
static bool decode_utf8(const unsigned char* p, const unsigned char* end, Char* out, int* count) {
    int n = 0;
    while (p < end) {
        int c = *p++;
        if (c < 0x80) {
            out[n++] = static_cast<Char>(c);
        } else if ((c & 0xe0) == 0xc0) {
            if (end - p < 1 || (p[0] & 0xc0) != 0x80) return false;
            out[n++] = static_cast<Char>(((c & 0x1f) << 6) | (p[0] & 0x3f));
            p += 1;
        } else if ((c & 0xf0) == 0xe0) {
            if (end - p < 2 || (p[0] & 0xc0) != 0x80 || (p[1] & 0xc0) != 0x80) return false;
            out[n++] = static_cast<Char>(((c & 0x0f) << 12) | ((p[0] & 0x3f) << 6) | (p[1] & 0x3f));
            p += 2;
        } else {
            return false;
        }
    }
    *count = n;
    return true;
}

String String::FromUtf8(const unsigned char* bytes, int count) {
    const unsigned char* p = bytes;
    const unsigned char* end = bytes + count;
    if (count >= 3 && p[0] == 0xef && p[1] == 0xbb && p[2] == 0xbf) p += 3;   // byte-order mark
    std::vector<Char> units(end - p);
    int n = 0;
    if (decode_utf8(p, end, units.data(), &n)) return String(units.data(), n);
    // Not UTF-8: take the bytes as they are, one unit each (ISO 8859-1).
    n = static_cast<int>(end - p);
    for (int i = 0; i < n; ++i) units[i] = p[i];
    return String(units.data(), n);
}

static String decode_utf16(const unsigned char* p, int count, bool big_endian) {
    int n = count / 2;   // an odd last byte is ignored
    std::vector<Char> units(n);
    for (int i = 0; i < n; ++i) {
        int a = p[2 * i], b = p[2 * i + 1];
        units[i] = static_cast<Char>(big_endian ? (a << 8 | b) : (b << 8 | a));
    }
    return String(units.data(), n);
}

String String::Load(FILE* file) {
    std::vector<unsigned char> buf;
    const int kBlock = 4096;   // read until a block comes back short
    for (;;) {
        size_t at = buf.size();
        buf.resize(at + kBlock);
        size_t got = std::fread(buf.data() + at, 1, kBlock, file);
        buf.resize(at + got);
        if (got < static_cast<size_t>(kBlock)) break;
    }
    int n = static_cast<int>(buf.size());
    if (n == 0) return String();
    if (n >= 2 && buf[0] == 0xfe && buf[1] == 0xff) return decode_utf16(buf.data() + 2, n - 2, true);
    if (n >= 2 && buf[0] == 0xff && buf[1] == 0xfe) return decode_utf16(buf.data() + 2, n - 2, false);
    return FromUtf8(buf.data(), n);
}

// ---- Encoding ----

int zk_utf8_encode(Char c, unsigned char* out) {
    if (c < 0x80) {
        out[0] = static_cast<unsigned char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<unsigned char>(0xc0 | (c >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (c & 0x3f));
        return 2;
    }
    out[0] = static_cast<unsigned char>(0xe0 | (c >> 12));
    out[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3f));
    out[2] = static_cast<unsigned char>(0x80 | (c & 0x3f));
    return 3;
}

void String::AppendUtf8(std::string& out) const {
    unsigned char bytes[3];
    for (int i = 0; i < Length(); ++i) {
        int n = zk_utf8_encode((*this)[i], bytes);
        out.append(reinterpret_cast<const char*>(bytes), n);
    }
}

std::string String::ToUtf8() const {
    std::string out;
    out.reserve(Length());
    AppendUtf8(out);
    return out;
}

// ---- Raw storage ----

String* t_create(int n, String* p) {
    for (int i = 0; i < n; ++i) new (p + i) String();
    return n > 0 ? p + n : p;
}

String* t_create(int n, String* p, const String* src) {
    for (int i = 0; i < n; ++i) new (p + i) String(src[i]);
    return n > 0 ? p + n : p;
}

void t_destroy(int n, String* p) {
    for (int i = 0; i < n; ++i) p[i].~String();
}
