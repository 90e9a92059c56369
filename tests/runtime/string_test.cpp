#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/array.h"
#include "runtime/string.h"

namespace {

std::string narrow(const String& s) { return std::string(s.Data(), s.Data() + s.Length()); }
String S(const std::string& s) { return String(s.c_str()); }

std::string joined(const Array<String>& a) { return narrow(S("|").Join(a)); }

TEST(String, OperationsAtTheirEdges) {
    String abc("abc"), digits("12345");
    const std::pair<int, int> ints[] = {
        {abc.Find(S(""), 2), 2}, {abc.Find(S("a"), -5), 0}, {abc.Find(S("c"), 3), -1}, {abc.Find(S("abcd")), -1},
        {S("abab").Find(S("ab"), 1), 2}, {abc.Find(S("c"), INT_MAX), -1}, {S(" -42abc").ToInt(), -42},
        {S(std::string(62, '0') + "7").ToInt(), 7}, {S(std::string(63, '0') + "7").ToInt(), 0},   // 63 units read
        {S("ab").Compare(S("abc")) < 0, 1}, {S("ab") == S("abc"), 0}, {S("ab").StartsWith(abc), 0},
        {abc.EndsWith(S("bc")), 1}, {S("b").EndsWith(S("ab")), 0}};
    for (auto& [got, want] : ints) EXPECT_EQ(got, want);
    const std::pair<String, const char*> texts[] = {
        {digits.Slice(-3), "345"}, {digits.Slice(-9), "12345"}, {digits.Slice(1, -1), "234"},
        {digits.Slice(2, 99), "345"}, {digits.Slice(7), ""}, {S("") + abc, "abc"},
        {S(", ").Join(S("a,bb,c").Split(S(","))), "a, bb, c"},
        {S("a.b.c").Replace(S("."), S("::")), "a::b::c"}, {S("aaaa").Replace(S("aa"), S("b")), "bb"},
        {abc.Replace(S(""), S("-")), "abc"}, {S("MiXeD.WAV").ToLower(), "mixed.wav"},
        {String(-2.0f), "-2.0"}, {String(0.1f), "0.10000000149011612"}, {String(1e20f), "1.0000000200408773e+20"}};
    for (auto& [got, want] : texts) EXPECT_EQ(narrow(got), want);
    const std::pair<const char*, const char*> splits[] = {{"a,b,,c", "a|b||c"}, {",", "|"}, {"", ""}};
    for (auto& [text, pieces] : splits) EXPECT_EQ(joined(S(text).Split(S(","))), pieces) << text;
    EXPECT_EQ(joined(S("aaa").Split(S("aa"))) + joined(abc.Split(S(""))), "|aa|b|c");
}

// Valid UTF-8 decodes; anything else falls back to one unit per byte (after a byte-order mark).
TEST(String, LoadDecodesByteOrderMarksAndFallsBackOnAnyInvalidUtf8) {
    const std::pair<std::vector<unsigned char>, std::vector<int>> cases[] = {
        {{0xef, 0xbb, 0xbf, 'h', 'i'}, {'h', 'i'}},
        {{0xef, 0xbb, 0xbf}, {}},
        {{0xff, 0xfe, 0x41, 0x00, 0x42}, {'A'}},
        {{0xfe, 0xff, 0x20, 0xac, 0x00, 0x41}, {0x20ac, 'A'}},
        {{0xe2, 0x82, 0xac, 0xc3, 0xa9}, {0x20ac, 0xe9}},
        {{0xef, 0xbb, 0xbf, 'a', 0xe2, 0x82}, {'a', 0xe2, 0x82}},   // cut short
        {{0xf0, 0x9f, 0x98, 0x80}, {0xf0, 0x9f, 0x98, 0x80}},       // a four-byte form
        {{'x', 0x80}, {'x', 0x80}},                                 // a stray continuation
        {{0xc3, 0x41}, {0xc3, 0x41}},                               // bad second byte of two
        {{0xe2, 0x41, 0xac}, {0xe2, 0x41, 0xac}},                   // bad second byte of three
        {{0xe2, 0x82, 0x41}, {0xe2, 0x82, 0x41}},                   // bad third byte of three
        {std::vector<unsigned char>(4096 * 2 + 1, 'z'), std::vector<int>(4096 * 2 + 1, 'z')},   // blocks
    };
    for (auto& [bytes, units] : cases) {
        FILE* f = std::tmpfile();
        std::fwrite(bytes.data(), 1, bytes.size(), f), std::rewind(f);
        String s = String::Load(f);
        std::fclose(f);
        EXPECT_EQ(std::vector<int>(s.Data(), s.Data() + s.Length()), units) << std::hex << int(bytes[0]);
    }
}

}  // namespace
