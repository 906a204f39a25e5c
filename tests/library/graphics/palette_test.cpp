#include "library/graphics/palette.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "library/debug/fatal.h"
#include "library/graphics/display.h"
#include "library/graphics/screen.h"
#include "library/system/winmain.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;
using Rgb = std::array<int, 3>;

// The window thread these tests talk to is started for the whole folder (display_test.cpp).
class PaletteTest : public testing::Test {
protected:
    void SetUp() override {
        RequestBlock block = {0, 0, 0, 0};
        send_request(REQ_CREATE_DIRECTDRAW, block);
        ASSERT_EQ(set_video_mode(1), 1);
        std::memset(base_palette, 0, sizeof base_palette);
        palette_changed = true;
        apply_palette();
    }

    void TearDown() override {
        while (PaletteEffect* effect = get_palette_effect_list()) destroy_palette_effect(effect);
        flight_loop_active = 0;
        zone_override_active = 0;
    }

    static void set_base(int index, Rgb rgb, int rebuild = 1) {
        uint8_t triple[3] = {uint8_t(rgb[0]), uint8_t(rgb[1]), uint8_t(rgb[2])};
        set_base_palette(triple, index, 1, rebuild);
    }

    static Rgb working(int index) {
        return {working_palette[3 * index], working_palette[3 * index + 1], working_palette[3 * index + 2]};
    }

    static Rgb on_display(int index) {
        uint8_t triple[3];
        request_display_palette(triple, index, 1);
        return {triple[0], triple[1], triple[2]};
    }

    std::string write_file(const std::string& name, const std::string& contents) const {
        return write_bytes(directory_ / name, contents).string();
    }

    ScratchDirectory directory_;
};

TEST_F(PaletteTest, ABlendMovesItsRangeTowardTheTargetByItsLevel) {
    const struct {
        int level;
        Rgb from, target, expected;
    } cases[] = {
        {0x40000000, {100, 100, 100}, {200, 0, 100}, {150, 50, 100}},
        {0x40000000, {0, 255, 1}, {255, 0, 0}, {127, 127, 0}},  // 127.5 and 0.5 are rounded down
        {EFFECT_FULL_LEVEL, {100, 7, 255}, {200, 0, 3}, {200, 0, 3}},
        {0, {100, 7, 255}, {200, 0, 3}, {100, 7, 255}},
        {-5, {100, 7, 255}, {200, 0, 3}, {100, 7, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        set_base(10, c.from);
        set_base(11, c.from);
        PaletteEffect* effect =
            create_palette_effect(EFFECT_BLEND, 0, 10, 1, c.level, c.target[0], c.target[1], c.target[2]);
        EXPECT_EQ(working(10), c.expected);
        EXPECT_EQ(on_display(10), c.expected);
        EXPECT_EQ(working(11), c.from);  // outside the range
        destroy_palette_effect(effect);
        EXPECT_EQ(working(10), c.from);
    }
}

TEST_F(PaletteTest, TheGreyKindPutsLuminanceIntoTheChosenChannels) {
    const struct {
        Rgb channels, from, expected;
    } cases[] = {
        {{0, 1, 0}, {255, 255, 255}, {0, 255, 0}},
        {{0, 1, 0}, {100, 100, 100}, {0, 100, 0}},
        {{1, 0, 7}, {200, 100, 50}, {124, 0, 124}},  // 124.4999..., by the exact weights
        {{1, 1, 1}, {10, 20, 30}, {18, 18, 18}},
    };
    for (const auto& c : cases) {
        set_base(3, c.from);
        PaletteEffect* effect = create_palette_effect(1, 0, 3, 1, 1, c.channels[0], c.channels[1], c.channels[2]);
        EXPECT_EQ(working(3), c.expected);
        destroy_palette_effect(effect);
    }
}

TEST_F(PaletteTest, EffectsApplyByPriorityThenAge) {
    set_base(20, {200, 200, 200});
    // Grey into red after halving toward black, whatever the order of creation.
    create_palette_effect(1, 5, 20, 1, 1, 1, 0, 0);
    create_palette_effect(EFFECT_BLEND, 1, 20, 1, 0x40000000, 0, 0, 0);
    EXPECT_EQ(working(20), (Rgb{100, 0, 0}));
    EXPECT_EQ(get_palette_effect_list()->priority, 1);

    set_base(21, {200, 200, 200});
    create_palette_effect(EFFECT_BLEND, 3, 21, 1, 0x40000000, 255, 255, 255);
    create_palette_effect(EFFECT_BLEND, 3, 21, 1, EFFECT_FULL_LEVEL, 0, 0, 0);
    EXPECT_EQ(working(21), (Rgb{0, 0, 0}));  // the older one first: the newer ends in black
}

TEST_F(PaletteTest, UnchangedValuesRebuildNothing) {
    set_base(30, {50, 50, 50});
    PaletteEffect* effect = create_palette_effect(EFFECT_BLEND, 0, 30, 1, 0x40000000, 150, 150, 150);
    EXPECT_EQ(working(30), (Rgb{100, 100, 100}));
    set_base(30, {250, 250, 250}, 0);

    set_palette_effect_level(effect, 0x40000000, 1);
    set_palette_effect_colour(effect, 150, 150, 150, 1);
    set_palette_effect_range(effect, 30, 1, 1);
    EXPECT_EQ(working(30), (Rgb{100, 100, 100}));

    set_palette_effect_colour(effect, 50, 50, 50, 0);
    EXPECT_EQ(working(30), (Rgb{100, 100, 100}));  // stored, shown at the next rebuild
    set_palette_effect_level(effect, EFFECT_FULL_LEVEL, 1);
    EXPECT_EQ(working(30), (Rgb{50, 50, 50}));
    set_palette_effect_range(effect, 31, 1, 1);
    EXPECT_EQ(working(30), (Rgb{250, 250, 250}));
}

TEST_F(PaletteTest, SuspendedEffectsShowAtTheNextRebuild) {
    set_base(40, {90, 90, 90});
    PaletteEffect* effect = create_palette_effect(EFFECT_BLEND, 0, 40, 1, EFFECT_FULL_LEVEL, 0, 0, 0);
    EXPECT_EQ(working(40), (Rgb{0, 0, 0}));

    suspend_palette_effects();
    EXPECT_EQ(effect->level, 0);
    EXPECT_FALSE(palette_changed);
    apply_palette();
    EXPECT_EQ(working(40), (Rgb{0, 0, 0}));
    set_base(41, {1, 1, 1});
    EXPECT_EQ(working(40), (Rgb{90, 90, 90}));

    resume_palette_effects();
    EXPECT_EQ(effect->level, EFFECT_FULL_LEVEL);
    EXPECT_EQ(working(40), (Rgb{90, 90, 90}));
    set_base(41, {2, 2, 2});
    EXPECT_EQ(working(40), (Rgb{0, 0, 0}));
}

TEST_F(PaletteTest, DestroyingAnEffectNotInTheListIsIgnored) {
    set_base(50, {60, 60, 60});
    PaletteEffect* effect = create_palette_effect(EFFECT_BLEND, 0, 50, 1, EFFECT_FULL_LEVEL, 0, 0, 0);
    PaletteEffect stranger = *effect;
    stranger.next = nullptr;
    destroy_palette_effect(&stranger);
    destroy_palette_effect(nullptr);
    EXPECT_EQ(get_palette_effect_list(), effect);
    EXPECT_EQ(working(50), (Rgb{0, 0, 0}));
    destroy_palette_effect(effect);
    EXPECT_EQ(get_palette_effect_list(), nullptr);
    EXPECT_EQ(working(50), (Rgb{60, 60, 60}));
}

TEST_F(PaletteTest, TheZoneOverrideNeedsAFlightInTheZone) {
    for (int flight : {0, 1})
        for (int zone : {0, 1}) {
            flight_loop_active = flight;
            zone_override_active = zone;
            palette_changed = true;
            apply_palette();
            bool shown = flight && zone;
            EXPECT_EQ(working(83), (shown ? Rgb{83, 99, 47} : Rgb{0, 0, 0}));
            EXPECT_EQ(working(114), (shown ? Rgb{235, 191, 135} : Rgb{0, 0, 0}));
            EXPECT_EQ(working(115), (Rgb{0, 0, 0}));
        }
}

TEST_F(PaletteTest, TheWorkingPaletteReachesTheDisplayColours) {
    set_base(60, {1, 2, 3});
    EXPECT_EQ(display_colours[60], 0x010203u);
    EXPECT_EQ(on_display(60), (Rgb{1, 2, 3}));
}

TEST_F(PaletteTest, BasePaletteWritesStopAtTheLastEntry) {
    uint8_t triples[30];
    for (int i = 0; i < 30; ++i) triples[i] = uint8_t(i + 1);
    set_base_palette(triples, 250, 10, 1);
    EXPECT_EQ(working(250), (Rgb{1, 2, 3}));
    EXPECT_EQ(working(255), (Rgb{16, 17, 18}));
    EXPECT_EQ(working(0), (Rgb{0, 0, 0}));
    set_base_palette(triples, -1, 2, 1);
    EXPECT_EQ(working(0), (Rgb{4, 5, 6}));
}

TEST_F(PaletteTest, SettingTheScreenModeResetsTheTablesAndTakesTheDisplayPalette) {
    std::memset(shade_table, 0x55, sizeof shade_table);
    std::memset(fill_patterns, 0, sizeof fill_patterns);
    set_base(70, {7, 8, 9});
    std::memset(base_palette, 0, sizeof base_palette);

    ASSERT_EQ(set_screen_mode(2, 1), 1);
    EXPECT_EQ(get_screen_layout(), 2);
    EXPECT_EQ(shade_table[0x12 * 256 + 0], 0x12);
    EXPECT_EQ(shade_table[0x12 * 256 + 255], 0x12);
    EXPECT_EQ(shade_table[255 * 256 + 7], 255);
    EXPECT_EQ(fill_patterns[0x12], 0x12121212u);
    EXPECT_EQ(base_palette[3 * 70 + 2], 9);
    EXPECT_EQ(display_colours[70], 0x070809u);
}

TEST_F(PaletteTest, RampsStepInFractionsOfAColour) {
    const struct {
        int start, step;
        std::array<int, 4> first_four;
        int at_255;
    } cases[] = {
        {10, 256, {10, 11, 12, 13}, 265 & 255},
        {10, 128, {10, 10, 11, 11}, 137},
        {100, -256, {100, 99, 98, 97}, (100 - 255) & 255},
        {5, 0, {5, 5, 5, 5}, 5},
    };
    uint8_t remap[256 * 256] = {};
    current_remap_table = remap;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        set_shade_ramp(9, c.start, c.step);
        set_remap_ramp(200, c.start, c.step);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(shade_table[9 * 256 + i], c.first_four[i]);
            EXPECT_EQ(remap[200 * 256 + i], c.first_four[i]);
        }
        EXPECT_EQ(shade_table[9 * 256 + 255], c.at_255);
    }
    current_remap_table = nullptr;
    set_remap_ramp(0, 1, 1);  // no table chosen: nothing to write
    set_shade_ramp(256, 1, 1);
}

TEST_F(PaletteTest, PalettesAndShadeRowsLoadFromFiles) {
    std::string triples;
    for (int i = 0; i < 6; ++i) triples += char(0x40 + i);
    load_base_palette(write_file("two.pal", triples).c_str(), 100, 2, 1);
    EXPECT_EQ(working(100), (Rgb{0x40, 0x41, 0x42}));
    EXPECT_EQ(working(101), (Rgb{0x43, 0x44, 0x45}));

    load_base_palette(write_file("end.pal", triples).c_str(), 255, 2, 1);  // the second is cut
    EXPECT_EQ(working(255), (Rgb{0x40, 0x41, 0x42}));

    std::string rows(512, '\0');
    for (int i = 0; i < 512; ++i) rows[i] = char(i / 2);
    load_shade_row(write_file("rows.bin", rows).c_str(), 254, 2);
    EXPECT_EQ(shade_table[254 * 256 + 2], 1);
    EXPECT_EQ(shade_table[255 * 256 + 255], 255);
}

TEST_F(PaletteTest, APaletteOrShadeFileOfAnyOtherSizeIsFatal) {
    const struct {
        const char* name;
        const char* bytes;
        bool shade_rows;
    } cases[] = {{"short.pal", "abcde", false}, {"long.pal", "abcdefg", false}, {"short.row", "abc", true}};
    for (const auto& c : cases) {
        std::string path = write_file(c.name, c.bytes);
        EXPECT_EXIT(
            {
                init_debug_text();
                if (c.shade_rows) load_shade_row(path.c_str(), 0, 1);
                else load_base_palette(path.c_str(), 0, 2, 1);
            },
            testing::ExitedWithCode(10), std::string("FATAL \\*\\*\\* .*") + c.name + " is [0-9]+ bytes, expected");
    }
}

TEST_F(PaletteTest, TextPalettesGiveColourWords) {
    std::string text = "JASC-PAL\n0100\n256\n";
    for (int i = 0; i < 256; ++i) text += std::to_string(i) + " " + std::to_string(255 - i) + " 7\n";
    uint32_t words[256] = {};
    read_text_palette(write_file("good.txt", text).c_str(), words);
    EXPECT_EQ(words[0], 0x00FF07u);
    EXPECT_EQ(words[255], 0xFF0007u);

    uint32_t untouched[256];
    std::fill(std::begin(untouched), std::end(untouched), 0xABCDEFu);
    read_text_palette((directory_ / "missing.txt").string().c_str(), untouched);
    EXPECT_EQ(untouched[17], 0xABCDEFu);
}

TEST_F(PaletteTest, ABrokenTextPaletteIsFatal) {
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"short", "a b c\n1 2 3\n"},
        {"over a byte", "a b c\n1 2 256\n"},
        {"not a number", "a b c\n1 x 3\n"},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = write_file(std::string(c.name) + ".txt", c.text);
        EXPECT_EXIT(
            {
                init_debug_text();
                uint32_t words[256];
                read_text_palette(path.c_str(), words);
            },
            testing::ExitedWithCode(10), "Bad text palette");
    }
}

}  // namespace
}  // namespace vyr
