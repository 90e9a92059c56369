// runtime/string.h: immutable, shared, reference-counted text of 16-bit code units.
//
// A String holds exactly one pointer to a String::Rep: a block from malloc holding the reference count,
// the length and that many code units (no spare capacity, no terminator). Strings live outside the
// collector. No operation changes the units of an existing rep: each returns one of its operands' reps
// (count incremented) or a new rep with refs 1.
//
// Invariant: every empty String points at the one static empty rep; no operation allocates an empty rep.
// Its count moves like any other but it is never freed.
//
// Code units are opaque: nothing pairs surrogates, normalises or validates. Counts are plain ints (one
// thread only).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/contract.h"

typedef unsigned short Char;

template <class T> class Array;

class String {
public:
    struct Rep {
        int refs;
        int length;
        Char data[1];   // `length` units follow the two counters; the 1 only keeps the type complete

        void retain() { ++refs; }
        void release();
        static Rep* alloc(int length);   // refs 1; the empty rep when length is 0
    };

    String() : rep_(&emptyRep) { rep_->retain(); }
    String(const String& s) : rep_(s.rep_) { rep_->retain(); }
    String(String&& s) noexcept : rep_(s.rep_) { s.rep_ = &emptyRep; emptyRep.retain(); }
    String(const Char* data, int length);
    String(const char* text);                 // one unit per byte, each widened as a signed 8-bit value
    explicit String(Char unit);
    explicit String(int value);               // "%i"
    explicit String(float value);             // "%.17lg", with ".0" added when neither "." nor "e" shows
    String(char) = delete;                    // ambiguous: a code unit or a number?
    String(double) = delete;                  // numbers are 32-bit floats throughout
    ~String() { rep_->release(); }

    String& operator=(const String& s);
    String& operator=(String&& s) noexcept;
    String& operator+=(const String& s) { return *this = *this + s; }

    int Length() const { return rep_->length; }
    Char operator[](int i) const { return rep_->data[i]; }
    const Char* Data() const { return rep_->data; }
    const Rep* GetRep() const { return rep_; }   // tests: sharing is observable

    String operator+(const String& s) const;
    bool operator==(const String& s) const;
    bool operator!=(const String& s) const { return !(*this == s); }
    int Compare(const String& s) const;   // <0, 0, >0 by code units, then length

    int Find(const String& sub, int start = 0) const;
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    String Slice(int from) const { return Slice(from, Length()); }
    String Slice(int from, int to) const;
    Array<String> Split(const String& separator) const;
    String Join(const Array<String>& pieces) const;
    String Replace(const String& find, const String& replacement) const;
    int ToInt() const;
    String ToLower() const;

    // Reads an open file from its position to its end and decodes it: UTF-16 with either byte-order
    // mark, else UTF-8 (optional mark skipped); invalid UTF-8 gives the bytes one per unit instead.
    static String Load(FILE* file);
    // Decodes bytes as String::Load does (no UTF-16 detection).
    static String FromUtf8(const unsigned char* bytes, int count);
    // One to three bytes per unit, no byte-order mark; the inverse of the decoder.
    std::string ToUtf8() const;
    // Appends the UTF-8 bytes to `out`, reusing its capacity.
    void AppendUtf8(std::string& out) const;

    // A narrow, zero-terminated copy for system calls that take 8-bit text: byte i is the low 8 bits of
    // unit i. One malloc block with its own count.
    template <class C>
    class CString {
    public:
        explicit CString(const String& s);
        CString(const CString& c) : rep_(c.rep_) { ++rep_->refs; }
        CString& operator=(const CString& c);
        ~CString() { release(); }
        operator const C*() const { return rep_->data; }
        const C* c_str() const { return rep_->data; }

    private:
        struct Rep {
            int refs;
            C data[1];
        };
        void release() {
            if (--rep_->refs == 0) std::free(rep_);
        }
        Rep* rep_;
    };
    template <class C>
    CString<C> ToCString() const { return CString<C>(*this); }

    static Rep emptyRep;

private:
    explicit String(Rep* adopted) : rep_(adopted) {}   // takes over one count
    Rep* rep_;
};

inline String operator+(const char* a, const String& b) { return String(a) + b; }

// Raw-storage helpers used by Array<String>.
String* t_create(int n, String* p);
String* t_create(int n, String* p, const String* src);
void t_destroy(int n, String* p);

// Encodes one code unit as UTF-8 into `out` (at least 3 bytes); returns the bytes written.
int zk_utf8_encode(Char unit, unsigned char* out);

template <class C>
String::CString<C>::CString(const String& s) {
    int n = s.Length();
    rep_ = static_cast<Rep*>(zk_malloc(sizeof(Rep) + n * sizeof(C)));
    rep_->refs = 1;
    for (int i = 0; i < n; ++i) rep_->data[i] = static_cast<C>(s[i]);
    rep_->data[n] = 0;
}

template <class C>
typename String::CString<C>& String::CString<C>::operator=(const CString& c) {
    ++c.rep_->refs;
    release();
    rep_ = c.rep_;
    return *this;
}
