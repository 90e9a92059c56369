// Strings: construction, the operations' edge cases, sharing of reps, and the UTF-8/UTF-16 codecs.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/array.h"
#include "runtime/string.h"
#include "tests/common/collector.h"

namespace {

std::string narrow(const String& s) { return std::string(s.ToCString<char>().c_str()); }

std::vector<std::string> pieces(const Array<String>& a) {
    std::vector<std::string> out;
    for (int i = 0; i < a.Length(); ++i) out.push_back(narrow(a[i]));
    return out;
}

// Writes bytes to a temporary file and loads them back through String::Load.
String load_bytes(const std::vector<unsigned char>& bytes) {
    FILE* f = std::tmpfile();
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::rewind(f);
    String s = String::Load(f);
    std::fclose(f);
    return s;
}

std::vector<int> units(const String& s) {
    std::vector<int> out;
    for (int i = 0; i < s.Length(); ++i) out.push_back(s[i]);
    return out;
}

}  // namespace

TEST(String, EmptyValuesShareTheStaticRep) {
    const String::Rep* empty = &String::emptyRep;
    EXPECT_EQ(String().GetRep(), empty);
    EXPECT_EQ(String("").GetRep(), empty);
    EXPECT_EQ(String(static_cast<const Char*>(nullptr), 0).GetRep(), empty);
    EXPECT_EQ((String() + String()).GetRep(), empty);
    EXPECT_EQ(String("abc").Slice(2, 1).GetRep(), empty);
    EXPECT_EQ(String(",").Join(Array<String>()).GetRep(), empty);
    EXPECT_EQ(load_bytes({}).GetRep(), empty);
}

TEST(String, CountsReturnToTheirStartValue) {
    String a("shared");
    const int start = a.GetRep()->refs;
    {
        String b = a, c = a + String(), d = String() + a, e = a.Slice(0), f = a.Replace(String("x"), String("y"));
        Array<String> split = a.Split(String(","));
        EXPECT_EQ(b.GetRep(), a.GetRep());
        EXPECT_EQ(c.GetRep(), a.GetRep());
        EXPECT_EQ(d.GetRep(), a.GetRep());
        EXPECT_EQ(e.GetRep(), a.GetRep());
        EXPECT_EQ(f.GetRep(), a.GetRep());
        EXPECT_EQ(split[0].GetRep(), a.GetRep());
        EXPECT_EQ(String("-").Join(split).GetRep(), a.GetRep());
        EXPECT_EQ(a.GetRep()->refs, start + 6);   // b..f and the split element; the join is gone
        String moved = std::move(b);
        EXPECT_EQ(a.GetRep()->refs, start + 6);
    }
    zk_test::CollectEverything();   // the split array is garbage now; its destructor releases its element
    EXPECT_EQ(a.GetRep()->refs, start);
}

TEST(String, NumbersFormatAsDocumented) {
    EXPECT_EQ(narrow(String(-7)), "-7");
    EXPECT_EQ(narrow(String(2147483647)), "2147483647");
    EXPECT_EQ(narrow(String(1.0f)), "1.0");
    EXPECT_EQ(narrow(String(3.0f)), "3.0");
    EXPECT_EQ(narrow(String(100.0f)), "100.0");
    EXPECT_EQ(narrow(String(-2.0f)), "-2.0");
    EXPECT_EQ(narrow(String(0.5f)), "0.5");
    EXPECT_EQ(narrow(String(0.1f)), "0.10000000149011612");
    EXPECT_EQ(narrow(String(1e20f)), "1.0000000200408773e+20");   // an exponent gets no ".0"
    EXPECT_EQ(narrow(String(1e-10f)), "1.000000013351432e-10");
}

TEST(String, NarrowTextWidensAsSignedBytesAndNarrowsBack) {
    const char bytes[] = {'a', static_cast<char>(0xe9), static_cast<char>(0x80), 0};
    String s(bytes);
    EXPECT_EQ(units(s), (std::vector<int>{'a', 0xffe9, 0xff80}));
    EXPECT_EQ(std::string(s.ToCString<char>().c_str()), std::string(bytes));
}

TEST(String, FindHandlesEmptyTextNegativeStartAndTheEnd) {
    String abc("abc");
    EXPECT_EQ(abc.Find(String(""), 2), 2);
    EXPECT_EQ(abc.Find(String("a"), -5), 0);
    EXPECT_EQ(abc.Find(String("c"), 2), 2);
    EXPECT_EQ(abc.Find(String("c"), 3), -1);
    EXPECT_EQ(abc.Find(String("abcd")), -1);
    EXPECT_EQ(String("abab").Find(String("ab"), 1), 2);
    EXPECT_EQ(abc.Find(String("c"), INT_MAX), -1);   // a start near the int limit does not overflow
    EXPECT_EQ(abc.Find(String(""), INT_MAX), -1);
    EXPECT_TRUE(abc.StartsWith(String("ab")));
    EXPECT_FALSE(abc.StartsWith(String("abcd")));
    EXPECT_TRUE(String("ball.PNG").ToLower().EndsWith(String(".png")));
    EXPECT_FALSE(String("g").EndsWith(String(".png")));
}

TEST(String, SliceCountsNegativeIndexesFromTheEndAndClamps) {
    String s("12345");
    EXPECT_EQ(narrow(s.Slice(-3)), "345");
    EXPECT_EQ(narrow(s.Slice(-9)), "12345");
    EXPECT_EQ(narrow(s.Slice(1, -1)), "234");
    EXPECT_EQ(narrow(s.Slice(2, 99)), "345");
    EXPECT_EQ(s.Slice(2, 1).Length(), 0);
    EXPECT_EQ(s.Slice(7).Length(), 0);
    EXPECT_EQ(s.Slice(0).GetRep(), s.GetRep());
    EXPECT_EQ(s.Slice(-5, 5).GetRep(), s.GetRep());
}

TEST(String, SplitKeepsEmptyPieces) {
    EXPECT_EQ(pieces(String("a,b,,c").Split(String(","))), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(pieces(String(",").Split(String(","))), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(pieces(String("a,").Split(String(","))), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(pieces(String("a--b--c").Split(String("--"))), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(pieces(String("aaa").Split(String("aa"))), (std::vector<std::string>{"", "a"}));
    EXPECT_EQ(pieces(String("abc").Split(String(""))), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(String("").Split(String("")).Length(), 0);
    Array<String> empty = String("").Split(String(","));
    ASSERT_EQ(empty.Length(), 1);
    EXPECT_EQ(empty[0].Length(), 0);
}

TEST(String, JoinAndReplaceMeasureFirstAndShareWherePossible) {
    Array<String> three(3);
    three[0] = String("a");
    three[1] = String("bb");
    three[2] = String("c");
    EXPECT_EQ(narrow(String(", ").Join(three)), "a, bb, c");
    EXPECT_EQ(narrow(String("").Join(three)), "abbc");
    Array<String> one(1);
    one[0] = String("solo");
    EXPECT_EQ(String(",").Join(one).GetRep(), one[0].GetRep());

    EXPECT_EQ(narrow(String("a.b.c").Replace(String("."), String("::"))), "a::b::c");
    EXPECT_EQ(narrow(String("aaaa").Replace(String("aa"), String("b"))), "bb");
    EXPECT_EQ(narrow(String("xax").Replace(String("x"), String(""))), "a");
    EXPECT_EQ(String("xx").Replace(String("x"), String("")).GetRep(), &String::emptyRep);
    // An empty find text finds nothing to replace (it would otherwise match forever at one place).
    String text("abc");
    EXPECT_EQ(text.Replace(String(""), String("-")).GetRep(), text.GetRep());
}

TEST(String, ToIntReadsLeadingDigitsOfTheFirst63Units) {
    EXPECT_EQ(String(" 42abc").ToInt(), 42);
    EXPECT_EQ(String("abc").ToInt(), 0);
    EXPECT_EQ(String("-17").ToInt(), -17);
    EXPECT_EQ(String("+5").ToInt(), 5);
    EXPECT_EQ(String("").ToInt(), 0);
    EXPECT_EQ(String((std::string(62, '0') + "7").c_str()).ToInt(), 7);    // the 63rd unit is read
    EXPECT_EQ(String((std::string(63, '0') + "7").c_str()).ToInt(), 0);    // the 64th is not
    // A unit's low 8 bits are what atoi sees: 0x0131 reads as '1'.
    Char odd[] = {0x0131, '2'};
    EXPECT_EQ(String(odd, 2).ToInt(), 12);
}

TEST(String, LoadDecodesByteOrderMarksAndFallsBackOnInvalidUtf8) {
    EXPECT_EQ(units(load_bytes({0xef, 0xbb, 0xbf, 'h', 'i'})), (std::vector<int>{'h', 'i'}));
    EXPECT_EQ(units(load_bytes({0xe9, 0x74, 0xe9})), (std::vector<int>{0xe9, 0x74, 0xe9}));
    EXPECT_EQ(units(load_bytes({0xff, 0xfe, 0x41, 0x00, 0x42})), (std::vector<int>{'A'}));
    EXPECT_EQ(units(load_bytes({0xfe, 0xff, 0x20, 0xac, 0x00, 0x41})), (std::vector<int>{0x20ac, 'A'}));
    EXPECT_EQ(units(load_bytes({0xe2, 0x82, 0xac, 0xc3, 0xa9})), (std::vector<int>{0x20ac, 0xe9}));
    // A cut-short sequence, a four-byte form and a stray continuation all fall back byte by byte,
    // after the byte-order mark.
    EXPECT_EQ(units(load_bytes({0xef, 0xbb, 0xbf, 'a', 0xe2, 0x82})), (std::vector<int>{'a', 0xe2, 0x82}));
    EXPECT_EQ(units(load_bytes({0xf0, 0x9f, 0x98, 0x80})), (std::vector<int>{0xf0, 0x9f, 0x98, 0x80}));
    EXPECT_EQ(units(load_bytes({'x', 0x80})), (std::vector<int>{'x', 0x80}));
    EXPECT_EQ(load_bytes({0xef, 0xbb, 0xbf}).GetRep(), &String::emptyRep);
}

TEST(String, LoadReadsFilesLongerThanOneBlock) {
    std::vector<unsigned char> bytes(4096 * 3, 'z');
    bytes.push_back('!');
    String s = load_bytes(bytes);
    ASSERT_EQ(s.Length(), 4096 * 3 + 1);
    EXPECT_EQ(s[s.Length() - 1], '!');
    std::vector<unsigned char> exact(4096, 'y');
    EXPECT_EQ(load_bytes(exact).Length(), 4096);
}

TEST(String, Utf8EncoderAndDecoderRoundTripEveryCodeUnit) {
    std::vector<Char> all(65536);
    for (int i = 0; i < 65536; ++i) all[i] = static_cast<Char>(i);
    String s(all.data(), 65536);
    std::string bytes = s.ToUtf8();
    EXPECT_EQ(bytes.size(), 128u * 1 + (2048 - 128) * 2 + (65536 - 2048) * 3);
    String back = String::FromUtf8(reinterpret_cast<const unsigned char*>(bytes.data()),
                                   static_cast<int>(bytes.size()));
    EXPECT_TRUE(back == s);
    EXPECT_EQ(String(static_cast<Char>(0x20ac)).ToUtf8(), "\xe2\x82\xac");
    EXPECT_EQ(String(static_cast<Char>(0xe9)).ToUtf8(), "\xc3\xa9");
}

TEST(String, ComparisonAndLowerCase) {
    EXPECT_TRUE(String("abc") == String("abc"));
    EXPECT_FALSE(String("abc") == String("abd"));
    EXPECT_FALSE(String("ab") == String("abc"));
    EXPECT_LT(String("ab").Compare(String("abc")), 0);
    EXPECT_GT(String("b").Compare(String("abc")), 0);
    EXPECT_EQ(narrow(String("MiXeD.WAV").ToLower()), "mixed.wav");
}

TEST(Array, EmptyArraysAreOneStaticRepPerTypeOnNoList) {
    EXPECT_EQ(Array<int>().rep, &Array<int>::Rep::empty);
    EXPECT_EQ(Array<int>(0).rep, &Array<int>::Rep::empty);
    EXPECT_EQ(Array<String>(-3).rep, &Array<String>::Rep::empty);
    EXPECT_EQ(Array<float>(4).Resize(0).rep, &Array<float>::Rep::empty);
    EXPECT_EQ((Array<int>::Rep::empty.flags & 3), 3);
    EXPECT_FALSE(gc_holds(&Array<int>::Rep::empty));
    EXPECT_FALSE(gc_holds(&Array<String>::Rep::empty));
}

TEST(Array, NewElementsTakeDefaultsAndResizeCopiesAPrefix) {
    Array<int> a(3);
    Array<bool> b(2);
    Array<String> s(2);
    Array<Object*> o(2);
    EXPECT_EQ(a[0] + a[1] + a[2], 0);
    EXPECT_FALSE(b[0] || b[1]);
    EXPECT_EQ(s[1].GetRep(), &String::emptyRep);
    EXPECT_EQ(o[0], nullptr);
    a[0] = 7;
    a[2] = 9;
    Array<int> shorter = a.Resize(2), longer = a.Resize(5);
    EXPECT_EQ(shorter.Length(), 2);
    EXPECT_EQ(shorter[0], 7);
    EXPECT_EQ(longer[2], 9);
    EXPECT_EQ(longer[4], 0);
    EXPECT_EQ(a.Length(), 3);   // the old array is unchanged
    Array<int> alias = a;
    alias[1] = 5;
    EXPECT_EQ(a[1], 5);         // copies share one rep
    s[0] = String("kept");
    Array<String> grown = s.Resize(3);
    EXPECT_EQ(grown[0].GetRep(), s[0].GetRep());
}
