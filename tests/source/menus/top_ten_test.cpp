// The quick-start top ten: scores entering the tables, names typed in place, and the settings.
#include "source/menus/top_ten.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/config/prefs.h"
#include "source/mission/quick_start.h"

namespace vyr {
namespace {

class TopTen : public testing::Test {
protected:
    void SetUp() override {
        load_prefs(nullptr);
        load_top_ten();
        editing_row = -1;
        set_quick_start_kind(1);
    }
    // The air table's scores, best first.
    std::vector<int> scores() const {
        std::vector<int> out;
        for (const TopTenEntry& entry : air_top_ten) out.push_back(entry.score);
        return out;
    }
    void fill(std::vector<int> values) {
        for (int i = 0; i < TOP_TEN_ROWS; ++i) {
            air_top_ten[i].score = values[i];
            std::snprintf(air_top_ten[i].name, TOP_TEN_NAME_SIZE, "P%d", i);
        }
    }
    void key(int c) {
        Event event{EV_KEY, 0, c, 0, 0};
        enter_top_ten_name(nullptr, event);
    }
    void type(const std::string& text) {
        for (char c : text) key(c);
    }
};

TEST_F(TopTen, WithoutStoredTablesEveryRowIsBlankWithScore0) {
    for (const TopTenEntry* table : {air_top_ten, ground_top_ten})
        for (int i = 0; i < TOP_TEN_ROWS; ++i) {
            EXPECT_EQ(table[i].score, 0);
            EXPECT_STREQ(table[i].name, "Blank");
        }
}

TEST_F(TopTen, AScoreOf0NeverEntersEvenAnEmptyTable) {
    enter_top_ten_score(0);
    EXPECT_EQ(editing_row, -1);
    EXPECT_EQ(scores(), std::vector<int>(10, 0));
}

TEST_F(TopTen, ScoresEnterBelowTheirEqualsAndTheTenthDropsOut) {
    struct Case {
        int score;
        int row;
        std::vector<int> after;
    };
    const std::vector<int> before = {900, 800, 700, 600, 500, 400, 300, 200, 100, 50};
    for (const Case& c : std::vector<Case>{
             {900, 1, {900, 900, 800, 700, 600, 500, 400, 300, 200, 100}},
             {50, 9, {900, 800, 700, 600, 500, 400, 300, 200, 100, 50}},
             {1000, 0, {1000, 900, 800, 700, 600, 500, 400, 300, 200, 100}},
             {450, 5, {900, 800, 700, 600, 500, 450, 400, 300, 200, 100}},
         }) {
        fill(before);
        enter_top_ten_score(c.score);
        EXPECT_EQ(editing_row, c.row) << c.score;
        EXPECT_EQ(scores(), c.after) << c.score;
        EXPECT_STREQ(air_top_ten[c.row].name, "") << "no pilot log, so an empty name to type";
        if (c.row > 0) {
            EXPECT_STREQ(air_top_ten[c.row - 1].name, ("P" + std::to_string(c.row - 1)).c_str());
        }
    }
    fill(before);
    enter_top_ten_score(49);
    EXPECT_EQ(editing_row, -1) << "lower than the tenth";
    EXPECT_EQ(scores(), before);
}

TEST_F(TopTen, ANameTakesThirtyCharactersBackspaceAndEscapeEditItAndEnterEndsTheEntry) {
    enter_top_ten_score(10);
    ASSERT_EQ(editing_row, 0);
    type(std::string(35, 'a'));
    EXPECT_EQ(std::string(air_top_ten[0].name), std::string(30, 'a'));
    key(8);
    key('b');
    EXPECT_EQ(std::string(air_top_ten[0].name), std::string(29, 'a') + "b");
    key('x' | 0x80);
    key(0);
    EXPECT_EQ(std::string(air_top_ten[0].name), std::string(29, 'a') + "b") << "releases and nothing are ignored";
    key(27);
    type("Ace");
    key(10);
    EXPECT_STREQ(air_top_ten[0].name, "Ace");
    EXPECT_EQ(editing_row, 0) << "the highlight stays on the row";
    type("zz");
    key(8);
    EXPECT_STREQ(air_top_ten[0].name, "Ace") << "after Enter no key changes a stored name";
}

TEST_F(TopTen, KeysWithNoEntryOpenOrAfterTheKindChangedWriteOnlyTheTableTheEntryWasOpenedIn) {
    type("ghost");
    for (const TopTenEntry* table : {air_top_ten, ground_top_ten})
        for (int i = 0; i < TOP_TEN_ROWS; ++i) EXPECT_STREQ(table[i].name, "Blank");
    enter_top_ten_score(70);
    set_quick_start_kind(2);
    type("Jo");
    EXPECT_STREQ(air_top_ten[0].name, "Jo");
    EXPECT_STREQ(ground_top_ten[0].name, "Blank");
}

TEST_F(TopTen, TheTablesGoToTheSettingsAndComeBackPerKind) {
    set_quick_start_kind(2);
    enter_top_ten_score(321);
    type("Gnd");
    refresh_top_ten_lists();
    char text[64] = {};
    ASSERT_TRUE(get_pref_string("Quick Start Name (Ground) 1", text, sizeof text));
    EXPECT_STREQ(text, "Gnd");
    int score = 0;
    ASSERT_TRUE(get_pref_int("Quick Start Score (Ground) 1", &score));
    EXPECT_EQ(score, 321);
    ground_top_ten[0] = {};
    load_top_ten();
    EXPECT_EQ(ground_top_ten[0].score, 321);
    EXPECT_STREQ(ground_top_ten[0].name, "Gnd");
    EXPECT_EQ(air_top_ten[0].score, 0) << "the other table untouched";
    set_quick_start_kind(5);
    EXPECT_EQ(quick_start_kind, 2) << "a kind other than 1 or 2 is ignored";
}

}  // namespace
}  // namespace vyr
