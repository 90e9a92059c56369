// Saved settings, badges and highscores: the saved text, loading good, cut-short and damaged texts, filing.
#include <climits>
#include <random>

#include "harness/saved_state.h"
#include "harness/scratch.h"
#include "tests/game/myapp_fixture.h"

namespace {

using namespace saved_state;

std::string Join(const std::vector<std::string>& pieces, size_t from, size_t to, const char* tail = "|") {
    std::string out;
    for (size_t i = from; i < to; ++i) out += pieces[i] + (i + 1 < to ? "|" : tail);
    return out;
}

class Progress : public Game {
protected:
    zk_test::ScratchDir scratch{"progress-test"};
    std::mt19937 rng{20261206};

    void SetUp() override {
        Game::SetUp();
        ASSERT_TRUE(scratch.Enter());
    }
    void TearDown() override {
        std::remove(".zanthstate");
        EXPECT_TRUE(scratch.Leave());
    }

    Lines Load(const std::string& bytes) {
        zk_test::WriteFile(".zanthstate", bytes);
        testing::internal::CaptureStdout();
        app->p_Load();
        Lines lines = Split(testing::internal::GetCapturedStdout(), '\n');
        lines.pop_back();   // after the last line feed
        return lines;
    }
    std::string Save() { return app->p_Save(), host->saved.ToUtf8(); }
    // The values of a first run: the start values, then a load of the empty state.
    void FirstRun() {
        for (int i = 0; i < 25; ++i) app->m_options[i] = i == 5;
        for (int n = 0; n < 256; ++n) app->m_badges[n] = false;
        for (int n = 0; n < 150; ++n) app->m_highscores[n] = 0;
        EXPECT_EQ(Load(""), Lines{});
    }
    // Random values, extremes included; `fits` keeps the settings the load rules check within them.
    void Scramble(bool fits = false) {
        std::uniform_int_distribution<int> any(INT_MIN, INT_MAX), pick(0, 5);
        auto value = [&] { return std::vector<int>{INT_MIN, INT_MAX, -1, 0, any(rng), any(rng)}[pick(rng)]; };
        for (int i = 0; i < 25; ++i) app->m_options[i] = value();
        for (int n = 0; n < 256; ++n) app->m_badges[n] = pick(rng) < 3;
        for (int n = 0; n < 150; ++n) app->m_highscores[n] = value();
        if (fits) app->m_options[10] = 64, app->m_options[11] = INT_MAX, app->m_options[12] = 8, app->m_options[14] = 1;
    }
    // Each of the five blocks saved now: as in `good` where `written[b]` is '1', else at first-run values.
    void ExpectBlocks(const std::string& good, const char* written) {
        const std::vector<std::string> now = Split(Save(), '|'), was = Split(good, '|');
        FirstRun();
        const std::vector<std::string> first = Split(Save(), '|');
        const size_t from[] = {0, 26, 35, 56, 77, 98};
        for (int b = 0; b < 5; ++b)
            for (size_t n = from[b]; n < from[b + 1]; ++n)
                EXPECT_EQ(now.at(n), written[b] == '1' ? was.at(n) : first.at(n)) << "block " << b << " number " << n;
    }
};

TEST_F(Progress, BlocksOfTheSavedText) {
    // What is set on a first run; the first number looked at and how many; the saved text of those.
    const std::tuple<std::function<void(c_MyApp*)>, size_t, size_t, const char*> cases[] = {
        {[](c_MyApp*) {}, 0, 26, "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0|0|0|0|0|0|0|0|1483|"},
        {[](c_MyApp*) {}, 26, 9, "0|0|0|0|0|0|0|0|0|"},
        {[](c_MyApp* a) { a->m_badges[31] = true; }, 26, 9, "-2147483648|0|0|0|0|0|0|0|-2147483648|"},
        {[](c_MyApp* a) { a->m_badges[0] = a->m_badges[33] = a->m_badges[255] = true; }, 26, 9,
         "1|2|0|0|0|0|0|-2147483648|-2147483645|"},
        {[](c_MyApp*) {}, 35, 21, "0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|"},
        {[](c_MyApp* a) { a->m_highscores[10] = 100, a->m_highscores[49] = -2; }, 56, 21,
         "100|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|-2|374|"},
        {[](c_MyApp* a) { a->m_options[24] = INT_MAX; }, 0, 26,   // a sum that wraps
         "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0|0|0|0|0|0|0|2147483647|1459|"}};
    for (const auto& [set, first, count, want] : cases) {
        FirstRun();
        set(app);
        const std::string text = Save();
        EXPECT_EQ(Join(Split(text, '|'), first, first + count), want);
        EXPECT_TRUE(ChecksumsHold(text)) << want;
    }
}

TEST_F(Progress, ACutShortTextSkipsTheBlocksItLacksAndAWrongChecksumResetsOnlyItsBlock) {
    // The numbers kept, the lines printed, the blocks loaded; cut at 25 the badge block is read from the start.
    const std::tuple<size_t, Lines, const char*> cases[] = {
        {0, {}, "00000"},
        {25, {"Badge Checksum Invalid"}, "00000"},
        {26, {"Settings Loaded"}, "10000"},
        {34, {"Settings Loaded"}, "10000"},
        {35, {"Settings Loaded", "Badges Loaded"}, "11000"},
        {55, {"Settings Loaded", "Badges Loaded"}, "11000"},
        {56, {"Settings Loaded", "Badges Loaded", "Highscore 0 Loaded"}, "11100"},
        {98, kLoaded, "11111"}};
    for (const auto& [parts, lines, written] : cases) {
        Scramble(true);
        const std::string good = Save();
        FirstRun();
        EXPECT_EQ(Load(Join(Split(good, '|'), 0, parts, "")), lines) << parts << " parts";
        ExpectBlocks(good, written);
    }
    FirstRun();
    EXPECT_EQ(Load("0|0|0|0|0|0|0|5|5"), Lines{"Badges Loaded"});   // a badge block alone
    EXPECT_TRUE(app->m_badges[224] && app->m_badges[226] && !app->m_badges[225]);
    const int checksumAt[] = {25, 34, 55, 76, 97};
    const char* written[] = {"01111", "10111", "11011", "11101", "11110"};
    for (int block = 0; block < 5; ++block) {
        Scramble(true);
        const std::string good = Save();
        std::vector<std::string> numbers = Split(good, '|');
        numbers[checksumAt[block]] += "1";
        Lines expected = kLoaded;
        expected[block] = kInvalid[block];
        Scramble();
        EXPECT_EQ(Load(Join(numbers, 0, numbers.size(), "")), expected) << "block " << block;
        ExpectBlocks(good, written[block]);
    }
}

}   // namespace

TEST_F(Progress, AFinishedGameEntersItsTablesAndPlacesAndBadgesHaveNames) {
    const Ints falling = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10}, last = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const Ints uneven = {900, 800, 500, 400, 300, 200, 100, 50, 20, 10};
    // The game type, its best ten, the score, the best ten after, the place.
    const std::tuple<int, Ints, int, Ints, const char*> cases[] = {
        {2, Ints(10, 0), 0, Ints(10, 0), "1st!"},   // equal to every stored score: no place, but "1st!"
        {1, uneven, 500, {900, 800, 500, 500, 400, 300, 200, 100, 50, 20}, "3rd"},
        {3, falling, 101, {101, 100, 90, 80, 70, 60, 50, 40, 30, 20}, "1st!"},
        {3, falling, 15, {100, 90, 80, 70, 60, 50, 40, 30, 20, 15}, "10th"},
        {1, falling, 10, falling, "10th"},
        {2, falling, 9, falling, ""},
    };
    for (const auto& [type, best, score, after, place] : cases) {
        Scramble();
        const int base = 10 * (type - 1);
        for (int j = 0; j < 10; ++j) app->m_highscores[base + j] = best[j];
        for (int j = 0; j < 10; ++j) app->m_highscores[base + 30 + j] = last[j];
        Ints expected(&app->m_highscores[0], &app->m_highscores[0] + 150);   // other tables stay
        for (int j = 0; j < 10; ++j) expected[base + j] = after[j];
        for (int j = 0; j < 10; ++j) expected[base + 30 + j] = j ? last[j - 1] : score;   // the newest first
        app->m_gameType = type, app->m_score = score;
        app->p_LoadMenu();
        EXPECT_EQ(Ints(&app->m_highscores[0], &app->m_highscores[0] + 150), expected) << score;
        EXPECT_EQ(app->p_MyNth().ToUtf8(), place) << score;
        EXPECT_EQ(Split(host->saved.ToUtf8(), '|').at(35 + 21 * (type - 1) + 1), std::to_string(score));
    }
    const std::pair<int, const char*> places[] = {{0, ""},    {1, "1st"},   {2, "2nd"}, {3, "3rd"},
                                                  {4, "4th"}, {10, "10th"}, {11, ""}};
    for (const auto& p : places) EXPECT_EQ(app->p_Nth(p.first).ToUtf8(), p.second) << p.first;
    EXPECT_EQ(app->p_BadgeName(0).ToUtf8() + "/" + app->p_BadgeDetail(0).ToUtf8(),
              "Test Badge/This is a Test Badge which has no purpose.");
    for (int n : {1, -1, 256})
        EXPECT_EQ(app->p_BadgeName(n).ToUtf8() + app->p_BadgeDetail(n).ToUtf8(), "") << n;
}
