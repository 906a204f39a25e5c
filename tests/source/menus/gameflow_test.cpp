// The menu fonts from the generated glyph sheet, and the war zone's setting.
#include <gtest/gtest.h>

#include "library/config/prefs.h"
#include "library/graphics/font.h"
#include "library/graphics/screen.h"
#include "source/menus/front_end.h"
#include "tests/source/menus/missions/zone_fixture.h"

namespace vyr {
namespace {

class MenuFonts : public GeneratedZone {
protected:
    void SetUp() override {
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

class WarZone : public GeneratedZone {};

TEST_F(WarZone, AZoneOutsideOneToFiveLoadsCyprusAndTheSameZoneAgainWritesNothing) {
    load_prefs(nullptr);
    enter(WAR_ZONE_ISRAEL);
    set_war_zone(9);
    EXPECT_EQ(get_war_zone(), WAR_ZONE_CYPRUS);
    int stored = 0;
    ASSERT_TRUE(get_pref_int("Set Map", &stored));
    EXPECT_EQ(stored, 3);
    set_pref_int("Set Map", 7);
    set_war_zone(WAR_ZONE_CYPRUS);
    get_pref_int("Set Map", &stored);
    EXPECT_EQ(stored, 7) << "the present zone again changes nothing";
}

}  // namespace
}  // namespace vyr
