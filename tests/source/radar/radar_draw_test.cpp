// The radar's symbols drawn through the real plot window into an 8-bit screen: a symbol half-size
// of 1,000 units is 2 pixels, each picture 21 x 21 pixels around the contact.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "source/weapons/weapon_keys.h"
#include "tests/source/radar/radar_world.h"

namespace vyr {
namespace {

constexpr int SIZE = 21;
constexpr int32_t S = 1000;

using Picture = std::vector<std::string>;

class RadarDraw : public RadarWorld {
protected:
    void SetUp() override {
        RadarWorld::SetUp();
        pixels.assign(SIZE * SIZE, 0);
        screen = wrap_screen(SIZE, SIZE, 0, pixels.data());
        select_screen(screen);
        save_plot(saved_plot);
        set_plot(0, 0, SIZE, SIZE, -10 * S / 2, -10 * S / 2, 10 * S / 2, 10 * S / 2);
        radar_display_scale = S;
    }
    void TearDown() override {
        restore_plot(saved_plot);
        destroy_screen(screen);
        RadarWorld::TearDown();
    }

    // Palette indices as letters: enemy e, enemy under the sensor view s, allied a, neutral and
    // plain n, highlight h, ground contact g, trail t; background '.'.
    Picture picture() const {
        Picture rows;
        for (int y = 0; y < SIZE; ++y) {
            std::string row;
            for (int x = 0; x < SIZE; ++x) {
                switch (pixels[y * SIZE + x]) {
                case 0: row += '.'; break;
                case 204: row += 'e'; break;
                case 207: row += 's'; break;
                case 217: row += 'a'; break;
                case 179: row += 'n'; break;
                case 222: row += 'h'; break;
                case 215: row += 'g'; break;
                case 218: row += 't'; break;
                default: row += '?';
                }
            }
            rows.push_back(row);
        }
        return rows;
    }
    // The 9 x 9 pixels around the centre.
    Picture middle() const {
        Picture rows;
        for (int y = 6; y <= 14; ++y) rows.push_back(picture()[y].substr(6, 9));
        return rows;
    }

    // One displayed contact at the centre of a drone of the side heading the way given.
    AirContact& show(int side, uint32_t heading, int group_head = 0) {
        Drone* d = fighter(side, ahead(NAUTICAL_MILE, 0, ALTITUDE), heading);
        AirContact& c = contacts.emplace_back();
        c.target.kind = TARGET_MOBILE;
        c.target.object = &d->object;
        c.group_head = group_head;
        air_display[air_display_count++] = &c;
        return c;
    }

    std::vector<uint8_t> pixels;
    Screen* screen = nullptr;
    PlotWindow saved_plot{};
    std::deque<AirContact> contacts;
};

TEST_F(RadarDraw, SingleContactsPointAtTheAircraftWhenHotAndAwayWhenCold) {
    show(ENEMY, 0x80000000);  // head on: hot
    draw_air_radar_contacts();
    EXPECT_EQ(middle(), (Picture{
                            ".........",
                            ".........",
                            "..eeeee..",
                            "..e..e...",
                            "...e.e...",
                            "...ee....",
                            "....e....",
                            "....e....",
                            ".........",
                        }));
    std::fill(pixels.begin(), pixels.end(), 0);
    contacts[0].target.object = &fighter(ALLIED, ahead(NAUTICAL_MILE), 0x20000000)->object;  // 45 degrees off: cold
    draw_air_radar_contacts();
    EXPECT_EQ(middle(), (Picture{
                            ".........",
                            "....a....",
                            "....a....",
                            "...aa....",
                            "...a.a...",
                            "..a..a...",
                            "..aaaaa..",
                            ".........",
                            ".........",
                        }));
}

TEST_F(RadarDraw, AGroupHeadIsFilledAndANeutralOrTenthContactAPlus) {
    show(ENEMY, 0x80000000, 1);
    draw_air_radar_contacts();
    EXPECT_EQ(middle(), (Picture{
                            ".........",
                            ".........",
                            "..eeeee..",
                            "..eeee...",
                            "...eee...",
                            "...ee....",
                            "....e....",
                            ".........",
                            ".........",
                        }));
    std::fill(pixels.begin(), pixels.end(), 0);
    contacts[0].target.object = &fighter(ENEMY, ahead(NAUTICAL_MILE), 0)->object;  // cold
    draw_air_radar_contacts();
    EXPECT_EQ(middle(), (Picture{
                            ".........",
                            ".........",
                            "....e....",
                            "....ee...",
                            "...eee...",
                            "...eeee..",
                            "..eeeee..",
                            ".........",
                            ".........",
                        }));
    std::fill(pixels.begin(), pixels.end(), 0);
    night_vision_on = 1;
    for (int i = 1; i < 11; ++i) show(ENEMY, 0x80000000).display_x = 100 * S;  // off the picture
    std::swap(air_display[0], air_display[10]);
    draw_air_radar_contacts();
    EXPECT_EQ(middle(), (Picture{
                            ".........",
                            ".........",
                            "....n....",
                            "....n....",
                            "..nnnnn..",
                            "....n....",
                            "....n....",
                            ".........",
                            ".........",
                        }));
}

TEST_F(RadarDraw, TheDesignatedContactIsDrawnLastWithItsTicksAndRange) {
    AirContact& c = show(ENEMY, 0x80000000);
    c.display_y = 0;
    designated_target = c.target;
    draw_air_radar_contacts();
    EXPECT_EQ(selected_air_index, 0);
    const Picture p = picture();
    // Ticks: left from 5s to 2s, up from 2s to 5s, right and down from 3s to 6s (hot).
    EXPECT_EQ(p[10].substr(0, 7), "hhhhhhh");
    EXPECT_EQ(p[10].substr(16, 5), "hhhhh");
    for (int y : {0, 1, 2, 3, 4, 5, 6}) EXPECT_EQ(p[y][10], 'h') << y;
    for (int y : {16, 17, 18, 19, 20}) EXPECT_EQ(p[y][10], 'h') << y;
    EXPECT_EQ(p[8][8], 'e');  // the symbol under them
    // The range in miles printed below the symbol, in the highlight's colour.
    int text = 0;
    for (int y = 14; y < SIZE; ++y)
        for (int x = 11; x < SIZE; ++x) text += p[y][x] == 'h';
    EXPECT_GT(text, 4);
}

TEST_F(RadarDraw, AcmDrawsOnlyTheDesignatedContact) {
    air_submode = RADAR_ACM;
    AirContact& designated = show(ENEMY, 0);  // cold, drawn with the hot outline in ACM
    AirContact& other = show(ENEMY, 0x80000000);
    other.display_x = other.display_y = -4 * S;
    designated_target = designated.target;
    draw_air_radar_contacts();
    const Picture p = picture();
    EXPECT_EQ(p[8].substr(8, 5), "eeeee");  // the hot outline's base
    for (int y = 16; y < SIZE; ++y) EXPECT_EQ(p[y].substr(0, 5), ".....") << y;  // nothing where the other would be
}

TEST_F(RadarDraw, GroundContactsArePlusSignsOrDiamondsAndTheDesignatedOneIsHighlighted) {
    ground_range_nm = 10;  // symbol half-size 259,242: scale the picture to it
    set_plot(0, 0, SIZE, SIZE, -1296210, -1296210, 1296210, 1296210);
    toggle_air_ground_mode();
    Target& tank_record = ground_contacts[0];
    tank_record = {};
    tank_record.kind = TARGET_MOBILE;
    tank_record.object = &tank(ENEMY, ahead(NAUTICAL_MILE))->object;
    tank_record.radar_position = {-518484, 0, 0};
    Target& house_record = ground_contacts[1];
    house_record = {};
    house_record.kind = TARGET_GROUND_OBJECT;
    house_record.object = ground(HOUSE, ENEMY, ahead(NAUTICAL_MILE));
    house_record.radar_position = {518484, 0, 0};
    ground_contact_count = 2;
    designated_target = house_record;
    draw_ground_radar_contacts();
    EXPECT_EQ(designated_ground_record, &house_record);
    const Picture p = picture();
    EXPECT_EQ(Picture(p.begin() + 8, p.begin() + 13), (Picture{
                                                          "......g.......h......",
                                                          "......g......h.h.....",
                                                          "....ggggg...h...h....",
                                                          "......g......h.h.....",
                                                          "......g.......h......",
                                                      }));
}

TEST_F(RadarDraw, TheTrailDrawsAlternateSegments) {
    toggle_air_ground_mode();
    radar_on = 1;
    sweep();  // the frame the trail is drawn in
    press(0x23);  // freeze: the trail starts empty
    draw_radar_trail();
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 218), 0);
    set_plot(0, 0, SIZE, SIZE, -10 * 256000, -10 * 256000, 10 * 256000, 10 * 256000);
    for (int k = 1; k <= 5; ++k) {
        fly({START.x + k * 257000 * 2 - 10 * 256000, START.y, ALTITUDE}, 0);
        record_radar_trail();
    }
    draw_radar_trail();
    // Five points two pixels apart along the centre row: segments 1-2 and 3-4 only.
    EXPECT_EQ(picture()[10], "..ttt.ttt............");
}

}  // namespace
}  // namespace vyr
