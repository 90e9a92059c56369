// Strings: sharing of reps, number formatting, the operations' edge cases, the byte-order marks and the
// UTF-8 decoder's fallback, and arrays' defaults and resizing.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/array.h"
#include "runtime/string.h"
#include "tests/common/collector.h"

namespace {

std::string narrow(const String& s) { return s.ToCString<char>().c_str(); }
String S(const char* s) { return String(s); }

std::string joined(const Array<String>& a) {
    std::string out;
    for (int i = 0; i < a.Length(); ++i) out += (i ? "|" : "") + narrow(a[i]);
    return out;
}

// The units String::Load makes of a file holding `bytes`.
std::vector<int> load(const std::vector<unsigned char>& bytes) {
    FILE* f = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    String s = String::Load(f);
    std::fclose(f);
    return std::vector<int>(s.Data(), s.Data() + s.Length());
}

TEST(String, EmptyResultsShareTheStaticRepAndCopiesShareTheirSource) {
    for (const String& s : {String(), String(""), String() + String(), S("abc").Slice(2, 1),
                            S(",").Join(Array<String>()), S("xx").Replace(S("x"), S(""))})
        EXPECT_EQ(s.GetRep(), &String::emptyRep);
    String a("shared");
    const int start = a.GetRep()->refs;
    {
        String b = a, c = a + String(), d = a.Slice(-6, 6), e = a.Replace(S("x"), S("y"));
        Array<String> split = a.Split(S(","));
        for (const String& s : {b, c, d, e, split[0], S("-").Join(split)}) EXPECT_EQ(s.GetRep(), a.GetRep());
    }
    zk_test::CollectEverything();   // the split array's destructor releases its element
    EXPECT_EQ(a.GetRep()->refs, start);
}

TEST(String, NumbersFormatWithSeventeenDigitsAndAPointUnlessThereIsAnExponent) {
    const std::pair<float, const char*> cases[] = {
        {1.0f, "1.0"}, {-2.0f, "-2.0"}, {0.5f, "0.5"}, {0.1f, "0.10000000149011612"},
        {1e20f, "1.0000000200408773e+20"}, {1e-10f, "1.000000013351432e-10"}};
    for (auto& [value, text] : cases) EXPECT_EQ(narrow(String(value)), text);
    EXPECT_EQ(narrow(String(-7)), "-7");
}

TEST(String, OperationsAtTheirEdges) {
    String abc("abc"), digits("12345");
    const std::pair<int, int> finds[] = {
        {abc.Find(S(""), 2), 2}, {abc.Find(S("a"), -5), 0}, {abc.Find(S("c"), 3), -1},
        {abc.Find(S("abcd")), -1}, {S("abab").Find(S("ab"), 1), 2}, {abc.Find(S("c"), INT_MAX), -1}};
    for (auto& [got, want] : finds) EXPECT_EQ(got, want);
    const std::pair<String, const char*> texts[] = {
        {digits.Slice(-3), "345"}, {digits.Slice(-9), "12345"}, {digits.Slice(1, -1), "234"},
        {digits.Slice(2, 99), "345"}, {digits.Slice(7), ""},
        {S(", ").Join(S("a,bb,c").Split(S(","))), "a, bb, c"},
        {S("a.b.c").Replace(S("."), S("::")), "a::b::c"}, {S("aaaa").Replace(S("aa"), S("b")), "bb"},
        {abc.Replace(S(""), S("-")), "abc"}, {S("MiXeD.WAV").ToLower(), "mixed.wav"}};
    for (auto& [got, want] : texts) EXPECT_EQ(narrow(got), want);
    EXPECT_EQ(joined(S("aaa").Split(S("aa"))) + joined(abc.Split(S(""))), "|aa|b|c");
    const std::pair<const char*, const char*> splits[] = {
        {"a,b,,c", "a|b||c"}, {",", "|"}, {"", ""}};
    for (auto& [text, pieces] : splits) EXPECT_EQ(joined(S(text).Split(S(","))), pieces) << text;
    EXPECT_TRUE(S("ball.png").EndsWith(S(".png")) && !S("g").EndsWith(S(".png")));
    EXPECT_LT(S("ab").Compare(S("abc")), 0);
    EXPECT_FALSE(S("ab") == S("abc"));
}

TEST(String, ToIntReadsLeadingDigitsOfTheFirst63Units) {
    EXPECT_EQ(S(" -42abc").ToInt(), -42);
    EXPECT_EQ(S((std::string(62, '0') + "7").c_str()).ToInt(), 7);    // the 63rd unit is read
    EXPECT_EQ(S((std::string(63, '0') + "7").c_str()).ToInt(), 0);    // the 64th is not
}

// Valid UTF-8 decodes; anything else falls back to one unit per byte (after a byte-order mark).
TEST(String, LoadDecodesByteOrderMarksAndFallsBackOnAnyInvalidUtf8) {
    const std::pair<std::vector<unsigned char>, std::vector<int>> cases[] = {
        {{0xef, 0xbb, 0xbf, 'h', 'i'}, {'h', 'i'}},
        {{0xff, 0xfe, 0x41, 0x00, 0x42}, {'A'}},
        {{0xfe, 0xff, 0x20, 0xac, 0x00, 0x41}, {0x20ac, 'A'}},
        {{0xe2, 0x82, 0xac, 0xc3, 0xa9}, {0x20ac, 0xe9}},
        {{0xef, 0xbb, 0xbf, 'a', 0xe2, 0x82}, {'a', 0xe2, 0x82}},        // cut short
        {{0xf0, 0x9f, 0x98, 0x80}, {0xf0, 0x9f, 0x98, 0x80}},            // a four-byte form
        {{'x', 0x80}, {'x', 0x80}},                                      // a stray continuation
        {{0xc3, 0x41}, {0xc3, 0x41}},                                    // bad second byte of two
        {{0xe2, 0x41, 0xac}, {0xe2, 0x41, 0xac}},                        // bad second byte of three
        {{0xe2, 0x82, 0x41}, {0xe2, 0x82, 0x41}},                        // bad third byte of three
    };
    for (auto& [bytes, units] : cases) EXPECT_EQ(load(bytes), units) << std::hex << int(bytes[0]);
    std::vector<unsigned char> long_file(4096 * 2, 'z');
    long_file.push_back('!');
    EXPECT_EQ(load(long_file).size(), 4096u * 2 + 1);
}

TEST(String, Utf8EncoderAndDecoderRoundTripEveryCodeUnit) {
    std::vector<Char> all(65536);
    for (int i = 0; i < 65536; ++i) all[i] = static_cast<Char>(i);
    String s(all.data(), 65536);
    std::string bytes = s.ToUtf8();
    EXPECT_EQ(bytes.size(), 128u * 1 + (2048 - 128) * 2 + (65536 - 2048) * 3);
    EXPECT_TRUE(String::FromUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size())) == s);
}

TEST(Array, EmptyArraysShareOneStaticRepAndCopiesShareTheirs) {
    EXPECT_EQ(Array<float>(4).Resize(0).rep, &Array<float>::Rep::empty);
    Array<int> a(3), alias = a, longer = a.Resize(5);
    alias[1] = 5;
    EXPECT_EQ(a[1] * 10 + longer[1], 50);   // a resize copies into a new array
}

}  // namespace
