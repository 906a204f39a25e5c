// The menu fonts from the generated glyph sheet, and the campaign's texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "library/config/prefs.h"
#include "library/graphics/font.h"
#include "library/graphics/screen.h"
#include "library/system/memory.h"
#include "library/ui/object.h"
#include "library/ui/setattr.h"
#include "source/menus/front_end.h"
#include "source/menus/missions/catalogue.h"
#include "source/menus/screens.h"
#include "source/mission/game_flow.h"
#include "tests/source/mission/zone_fixture.h"

namespace vyr {
namespace {

class MenuFonts : public GeneratedZone {
protected:
    void SetUp() override {
        GeneratedZone::SetUp();
        load_prefs(nullptr);
        enter(WAR_ZONE_CYPRUS);
        build_menu_fonts();
    }
};

TEST_F(MenuFonts, AnEmptyGlyphIsFourWideAndTheDigitsShareTheWidestDigitsWidth) {
    select_font(&menu_font);
    EXPECT_EQ(get_char_width(' '), 4 + 1);
    EXPECT_EQ(get_char_width(200), 4 + 1) << "a cell without ink";
    int widest = 0;
    for (int c = 'A'; c <= 'Z'; ++c) widest = std::max(widest, get_char_width(c));
    EXPECT_GT(widest, 5) << "the letters are inked";
    for (int c = '0'; c <= '9'; ++c) EXPECT_EQ(get_char_width(c), get_char_width('0')) << char(c);
    EXPECT_GT(get_char_width('0'), get_char_width('1') - 1);
    select_font(&menu_font_tall);
    EXPECT_EQ(get_char_width('W'), [] {
        select_font(&menu_font);
        return get_char_width('W');
    }()) << "both fonts have the same widths";
    EXPECT_EQ(menu_font.height, 15);
    EXPECT_EQ(menu_font_tall.height, 19);
}

TEST_F(MenuFonts, AGlyphIsDrawnInTheTextColourAndTheTallFontOnePixelLower) {
    Screen* screen = create_screen(32, 32);
    select_screen(screen);
    clear_screen(0);
    auto first_inked_row = [&] {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (screen->pixels[y * (screen->width + screen->row_pad) + x]) return y;
        return -1;
    };
    draw_menu_glyph('T', 0, 0, 77);
    const int top = first_inked_row();
    ASSERT_GE(top, 0);
    EXPECT_EQ(screen->pixels[top * (screen->width + screen->row_pad) + 5], 77);
    clear_screen(0);
    draw_menu_glyph_low('T', 0, 0, 77);
    EXPECT_EQ(first_inked_row(), top + 1);
    destroy_screen(screen);
}

// The sentences of the menus' texts need their stops and marks as much as their letters.
TEST_F(MenuFonts, TheLettersDigitsAndPunctuationOfTheTextsAreInked) {
    Screen* screen = create_screen(16, 16);
    select_screen(screen);
    const std::string characters = "ABCZabcz0189.,:;!?'\"-()/";
    for (char c : characters) {
        clear_screen(0);
        draw_menu_glyph(c, 0, 0, 77);
        int ink = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) ink += screen->pixels[y * (screen->width + screen->row_pad) + x] == 77;
        EXPECT_GT(ink, 0) << "'" << c << "'";
    }
    destroy_screen(screen);
}

// Campaign texts of the test's own in the player's directory, over the generated ones.
class CampaignText : public GeneratedZone {
protected:
    void SetUp() override {
        GeneratedZone::SetUp();
        load_prefs(nullptr);
        enter(WAR_ZONE_ISRAEL);
        text = create_ui_object(UI_TEXT, nullptr, "Situation Text", ATTR_RECT, 0, 0, 300, 300);
        situation_text = text;
    }
    void TearDown() override {
        destroy_ui_object(text);
        situation_text = nullptr;
        GeneratedZone::TearDown();
    }
    void write_text(int number, const std::string& body) {
        char* name = language_folder(WAR_ZONE_ISRAEL, 7, number);
        std::string file = name;
        free_memory(name, "test", __LINE__);
        std::transform(file.begin(), file.end(), file.begin(), [](unsigned char c) { return std::tolower(c); });
        write_bytes(work / "missdata" / (file + ".txt"), body);
    }
    std::string shown() const { return text->text ? text->text : ""; }
    UiObject* text = nullptr;
};

TEST_F(CampaignText, EachLevelAndResultShowsItsSectionAndADoubleColonIsAColonAndABlank) {
    write_text(0, ":Title\nWar\n:Description\r\n\r\nThe front::north.\n:Failure\nLost.\n:Success\nWon.\n");
    write_text(4, ":Situation\nHold the pass.\n:Failure\nNot this.\n");
    write_text(5, ":Situation\nNot this.\n:Failure\nThe pass fell.");
    const struct {
        int level, result;
        const char* text;
    } cases[] = {{0, 0, "The front: north.\n"}, {0, 2, "Lost.\n"}, {0, 3, "Won.\n"},
                 {4, 1, "Hold the pass.\n"},  {4, 2, "The pass fell."}};
    for (const auto& c : cases) {
        find_mission_text(WAR_ZONE_ISRAEL, c.level, c.result);
        EXPECT_EQ(shown(), c.text) << c.level << " " << c.result;
    }
}

TEST_F(CampaignText, AMissingTextOrSectionOrAnUnknownResultAtLevel0IsFatal) {
    EXPECT_DEATH(find_mission_text(WAR_ZONE_ISRAEL, 0, 1), "Unknown Campaign Result");
    EXPECT_DEATH(find_mission_text(WAR_ZONE_ISRAEL, 12, 1), "couldn't find mission text warzone 1, level 12");
    write_text(5, ":Situation\nHold.\n");
    EXPECT_DEATH(find_mission_text(WAR_ZONE_ISRAEL, 4, 2), "Cannot find find in ptr");
}

// The sample data's own texts: everything the campaign entry can ask for, in every campaign zone.
TEST_F(CampaignText, TheSampleCampaignsHoldEveryTextTheEntryAsksFor) {
    for (int zone = WAR_ZONE_ISRAEL; zone <= WAR_ZONE_AFGHAN; ++zone) {
        std::vector<std::pair<int, int>> asked = {{0, 0}, {0, 2}, {0, 3}};
        for (int level = 1; level <= 10; ++level) asked.insert(asked.end(), {{level, 0}, {level, 2}});
        for (const auto& [level, result] : asked) {
            find_mission_text(zone, level, result);
            EXPECT_GT(shown().size(), 40u) << zone << " " << level << " " << result;
            EXPECT_EQ(shown().back(), '\n') << "the next section is left out";
        }
        find_mission_text(zone, 0, 0);
        EXPECT_NE(shown().find("reports: enemy"), std::string::npos) << shown();
    }
}

}  // namespace
}  // namespace vyr
