// game/progress.cpp: saved settings, badges and highscores: the saved-state text and its checksums, how a
// finished game's score enters the tables, the place names, the badge table and the score service hooks.
//
// The saved text is 203 signed decimal numbers, each followed by "|":
//   settings   entries 0..24 of m_options, then their checksum                         (26 numbers)
//   badges     eight words packing 32 flags each (bit b of word g is badge 32g + b),
//              then their checksum                                                      (9)
//   table k    for k = 0..7: for j = 0..9 entry 10k+j and entry 10k+30+j of
//              m_highscores, then the block's checksum                                  (21 each)
// Only tables 0..2 (the three game types) are read back.
//
// Checksums are sums that wrap at 32 bits. They are formed in uint32_t and compared as 32-bit patterns, so
// no stored value, however large or negative, can overflow a signed int.
//
// Loading never fails: a block whose checksum does not match is reset alone and a line says so; a block
// with too few numbers left is skipped silently and later blocks are read from the same position. Every
// int round-trips through "%i" and ToInt, and p_Save recomputes each checksum from the values it writes,
// so whatever a damaged file held, the next saved text passes its own checksums.
#include <cstdint>

#include "framework/containers.h"
#include "game/myapp.h"
#include "runtime/error.h"

namespace {

const int kSettings = 25;
const int kSoundDefault = 1;                                // effects and music
const int kPadXEntry = 10, kPadYEntry = 11, kPadMin = 64;   // on-screen pad position, pixels
const int kControlSizeEntry = 12, kControlSizeMin = 8, kControlSizeDefault = 10;   // tenths
const int kOverscanEntry = 14;
const int kBadgeWords = 8, kBadgeBits = 32;     // 256 flags
const int kSavedTables = 8, kReadTables = 3;    // blocks written; blocks read (the game types)
const int kTableNumbers = 2 * kTableSize;       // entries of one highscore block

// The int whose two's-complement bits are `u`, spelled out so that it is defined for every input.
int to_signed(uint32_t u) { return u <= 0x7fffffffu ? static_cast<int>(u) : -static_cast<int>(~u) - 1; }
uint32_t bits(int v) { return static_cast<uint32_t>(v); }   // defined: modulo 2^32

uint32_t settings_sum(const Array<int>& options) {
    uint32_t sum = 0;
    for (int i = 0; i < kSettings; ++i) sum += bits(i) * bits(options[i]);
    return sum;
}

// Best-ten entry 10k+j weighs j + 4, last-ten entry 10k+30+j weighs k + 3 + j.
uint32_t table_sum(const Array<int>& scores, int k) {
    uint32_t sum = 0;
    for (int j = 0; j < kTableSize; ++j) {
        sum += bits(j + 4) * bits(scores[10 * k + j]);
        sum += bits(k + 3 + j) * bits(scores[10 * k + kLastTen + j]);
    }
    return sum;
}

int pack_word(const Array<bool>& badges, int g) {
    uint32_t word = 0;
    for (int b = 0; b < kBadgeBits; ++b)
        if (badges[kBadgeBits * g + b]) word |= 1u << b;
    return to_signed(word);
}

void unpack_word(Array<bool>& badges, int g, int word) {
    for (int b = 0; b < kBadgeBits; ++b) badges[kBadgeBits * g + b] = (bits(word) >> b & 1u) != 0;
}

void push_number(c_StringStack* out, int value) {
    out->p_Push4(String(value));
    out->p_Push4(String("|"));
}

bool sum_matches(uint32_t sum, const String& stored) { return sum == bits(stored.ToInt()); }

// Settings from parts 0..25; the read position after them.
int load_settings(c_MyApp* app, const Array<String>& parts) {
    for (int i = 0; i < kSettings; ++i) app->m_options[i] = parts[i].ToInt();
    if (sum_matches(settings_sum(app->m_options), parts[kSettings])) {
        zkPrint(String("Settings Loaded"));
    } else {
        zkPrint(String("Settings Checksum Invalid"));
        for (int i = 0; i < kSettings; ++i) app->m_options[i] = 0;
        app->m_options[kOptionSound] = kSoundDefault;
    }
    return kSettings + 1;
}

// Loaded or not, the pad stays on screen, the controls keep a usable size and there is no overscan.
void apply_settings_rules(c_MyApp* app) {
    if (app->m_options[kPadXEntry] < kPadMin) app->m_options[kPadXEntry] = kPadMin;
    if (app->m_options[kPadYEntry] < kPadMin) app->m_options[kPadYEntry] = kPadMin;
    if (app->m_options[kControlSizeEntry] < kControlSizeMin) app->m_options[kControlSizeEntry] = kControlSizeDefault;
    app->m_options[kOverscanEntry] = 1;
    zk_Dravo_overscan = 0;
}

int load_badges(c_MyApp* app, const Array<String>& parts, int p) {
    uint32_t sum = 0;
    for (int g = 0; g < kBadgeWords; ++g) {
        const int word = parts[p + g].ToInt();
        unpack_word(app->m_badges, g, word);
        sum += bits(word);
    }
    p += kBadgeWords;
    if (sum_matches(sum, parts[p])) {
        zkPrint(String("Badges Loaded"));
    } else {
        zkPrint(String("Badge Checksum Invalid"));
        for (int n = 0; n < kBadgeWords * kBadgeBits; ++n) app->m_badges[n] = false;
    }
    return p + 1;
}

int load_table(c_MyApp* app, const Array<String>& parts, int p, int k) {
    Array<int>& scores = app->m_highscores;
    for (int j = 0; j < kTableSize; ++j) {
        scores[10 * k + j] = parts[p + 2 * j].ToInt();
        scores[10 * k + kLastTen + j] = parts[p + 2 * j + 1].ToInt();
    }
    const String name = String("Highscore ") + String(k);
    if (sum_matches(table_sum(scores, k), parts[p + kTableNumbers])) {
        zkPrint(name + String(" Loaded"));
    } else {
        zkPrint(name + String(" Checksum Invalid"));
        for (int j = 0; j < kTableSize; ++j) scores[10 * k + j] = scores[10 * k + kLastTen + j] = 0;
    }
    return p + kTableNumbers + 1;
}

// The first j of the best ten from `base` whose stored score `passes` accepts; -1 for none.
template <class Passes>
int first_place(const Array<int>& scores, int base, Passes passes) {
    for (int j = 0; j < kTableSize; ++j)
        if (passes(scores[base + j])) return j;
    return -1;
}

// In the ten entries from `from`: shifts entries at .. from+8 one place down (entry from+9 drops off) and
// stores `value` at `at`; entries before `at` stay.
void insert_score(Array<int>& scores, int from, int at, int value) {
    for (int n = from + kTableSize - 1; n > at; --n) scores[n] = scores[n - 1];
    scores[at] = value;
}

// Badge number -> "name|detail"; numbers past the table have the empty text.
const char* const kBadgeTexts[] = {
    "Test Badge|This is a Test Badge which has no purpose.",
};
const int kBadgeTextCount = sizeof kBadgeTexts / sizeof kBadgeTexts[0];

}  // namespace

int c_MyApp::p_Save() {
    c_StringStack* out = (new c_StringStack())->m_new2();
    for (int i = 0; i < kSettings; ++i) push_number(out, m_options[i]);   // 1. settings
    push_number(out, to_signed(settings_sum(m_options)));
    uint32_t sum = 0;                                                       // 2. badges
    for (int g = 0; g < kBadgeWords; ++g) {
        const int word = pack_word(m_badges, g);
        push_number(out, word);
        sum += bits(word);
    }
    push_number(out, to_signed(sum));
    for (int k = 0; k < kSavedTables; ++k) {                                // 3. highscore blocks
        for (int j = 0; j < kTableSize; ++j) {
            push_number(out, m_highscores[10 * k + j]);
            push_number(out, m_highscores[10 * k + kLastTen + j]);
        }
        push_number(out, to_signed(table_sum(m_highscores, k)));
    }
    const String text = out->p_Join(String());
    if (zk_Dravo_DebugMode == 1) zkPrint(text);                             // 4.
    zk_app_SaveState(text);                                                 // 5.
    return 0;
}

int c_MyApp::p_Load() {
    const String text = zk_app_LoadState();                                 // 1.
    const Array<String> parts = text.Split(String("|"));
    if (zk_Dravo_DebugMode == 1) zkPrint(text);
    int p = 0;
    if (parts.Length() >= kSettings + 1) p = load_settings(this, parts);   // 2.
    apply_settings_rules(this);                                             // 3.
    if (p + kBadgeWords < parts.Length()) p = load_badges(this, parts, p);  // 4.
    for (int k = 0; k < kReadTables; ++k)                                   // 5.
        if (p + kTableNumbers < parts.Length()) p = load_table(this, parts, p, k);
    return 0;
}

int c_MyApp::p_LoadMenu() {
    ZK_CONTRACT(m_gameType >= 1 && m_gameType <= kReadTables, "a game type with a highscore table");
    const int base = best_ten(m_gameType);                                  // 1.
    const int score = m_score;
    const int place = first_place(m_highscores, base, [score](int s) { return s < score; });   // 2.
    if (place >= 0) insert_score(m_highscores, base, base + place, m_score);                   // 3.
    insert_score(m_highscores, base + kLastTen, base + kLastTen, m_score);                     // 4.
    p_Save();                                                               // 5.
    return 0;
}

// The place of the first stored score that m_score equals or beats: after p_LoadMenu, the place the
// score has just taken unless an equal score stood there before.
String c_MyApp::p_MyNth() {
    ZK_CONTRACT(m_gameType >= 1 && m_gameType <= kReadTables, "a game type with a highscore table");
    const int base = best_ten(m_gameType), score = m_score;
    const int place = 1 + first_place(m_highscores, base, [score](int s) { return s <= score; });
    return place == 1 ? String("1st!") : p_Nth(place);
}

String c_MyApp::p_Nth(int place) {
    static const char* const kPlaces[] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th"};
    return place >= 1 && place <= 10 ? String(kPlaces[place - 1]) : String();
}

String c_MyApp::p_BadgeID(int n) { return n >= 0 && n < kBadgeTextCount ? String(kBadgeTexts[n]) : String(); }

String c_MyApp::p_BadgeName(int n) { return p_BadgeID(n).Split(String("|"))[0]; }

// A text without a "|" (every badge but the first) has no detail.
String c_MyApp::p_BadgeDetail(int n) {
    const Array<String> pieces = p_BadgeID(n).Split(String("|"));
    return pieces.Length() > 1 ? pieces[1] : String();
}

// Hooks for an online score and badge service; this platform has none.
int c_MyApp::p_GC_PostScore(int, int) { return 0; }
int c_MyApp::p_GC_Badges() { return 0; }
