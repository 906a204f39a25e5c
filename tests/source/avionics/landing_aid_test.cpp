#include "source/avionics/landing_aid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/world.h"
#include "library/maths/matrix.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/models/flight_model.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {
constexpr int32_t TILE = 1 << 22;

void put32(std::vector<uint8_t>& out, int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

struct FileAirfield {
    std::string name, code;
    int32_t x, y;
};

std::vector<uint8_t> airfield_file(int32_t count, const std::vector<FileAirfield>& records) {
    std::vector<uint8_t> out;
    put32(out, count);
    for (const FileAirfield& r : records) {
        uint8_t text[24] = {};
        std::memcpy(text, r.name.data(), std::min<size_t>(r.name.size(), 17));
        std::memcpy(text + 17, r.code.data(), std::min<size_t>(r.code.size(), 7));
        out.insert(out.end(), text, text + 24);
        put32(out, r.x);
        put32(out, r.y);
    }
    return out;
}

// A theatre folder of the test's own with its AIRFIELD.BIN, beacons placed by hand in the tiles'
// lists, and the player's aircraft where each case puts it; every cell allied.
class LandingAid : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
        std::memcpy(saved_tiles, ground_object_tiles, sizeof saved_tiles);
        std::memset(ground_object_tiles, 0, sizeof ground_object_tiles);
        std::snprintf(world_settings.war_zone_directory, sizeof world_settings.war_zone_directory, "TEST.WZ\\");
        reset_gameplay_grid();
        for (int tx = 28; tx < 36; ++tx)
            for (int ty = 28; ty < 36; ++ty) set_cell_side(1, tx * TILE, ty * TILE);
        set_identity_matrix(aircraft.matrix);
        player_position = &aircraft;
        player_flight_data = {};
        user_drone = nullptr;
    }
    void TearDown() override {
        std::memcpy(ground_object_tiles, saved_tiles, sizeof saved_tiles);
        player_position = nullptr;
        clear_airfields();
        ScratchDirectories::TearDown();
    }
    void write_airfields(int32_t count, const std::vector<FileAirfield>& records) {
        write_bytes(data / "test.wz" / "airfield.bin", airfield_file(count, records));
    }
    // A beacon at world (x, y) with the runway heading in degrees.
    void beacon(int32_t x, int32_t y, double heading_degrees) {
        const int tile = (x >> 22) * 64 + (y >> 22);
        std::vector<int16_t>& list = lists[tile];
        if (list.empty()) list.push_back(0);
        ground_object g = {};
        g.type = OBJ_ILS_BEACON;
        g.x = uint16_t((x & (TILE - 1)) / 256);
        g.y = uint16_t((y & (TILE - 1)) / 256);
        g.heading = uint16_t(uint32_t(heading_degrees * DEGREE) >> 16);
        const auto* words = reinterpret_cast<const int16_t*>(&g);
        list.insert(list.end(), words, words + sizeof g / 2);
        ++list[0];
        ground_object_tiles[tile] = list.data();
    }
    // The aircraft at a distance and bearing from (x, y), `height` up, flying `heading`.
    void fly_from(int32_t x, int32_t y, double bearing_degrees, int32_t distance, int32_t height, double heading) {
        const double b = bearing_degrees * M_PI / 180;
        aircraft.position = {x + int32_t(distance * std::sin(b)), y + int32_t(distance * std::cos(b)), height};
        player_flight_data.heading = int32_t(uint32_t(heading * DEGREE));
    }
    void tick() {
        update_ils_localizer();
        update_ils_glide_slope();
        update_ils_state();
    }

    static constexpr int32_t FIELD_X = 32 * TILE, FIELD_Y = 32 * TILE;
    Pose aircraft = {};
    int16_t* saved_tiles[4096] = {};
    std::map<int, std::vector<int16_t>> lists;
};

TEST_F(LandingAid, RunwayNumbersRoundToTensOfDegrees) {
    const struct {
        double degrees;
        int32_t number;
    } cases[] = {{355, 36}, {5, 1}, {185, 19}, {180, 18}, {0, 36}, {94, 9}, {95, 10}, {270, 27}};
    for (const auto& c : cases) EXPECT_EQ(runway_number(uint32_t(c.degrees * DEGREE + 0.5)), c.number) << c.degrees;
}

TEST_F(LandingAid, BeaconsJoinTheFirstAirfieldInReachAndTheBestRunwayIsChosen) {
    write_airfields(2, {{"NORTHFIELD BASE", "118.5", FIELD_X, FIELD_Y}, {"ABC", "121.0", FIELD_X + 3 * TILE, FIELD_Y}});
    beacon(FIELD_X, FIELD_Y + 8000 * FOOT, 180);  // the north end, landing south
    beacon(FIELD_X, FIELD_Y - 8000 * FOOT, 0);
    beacon(FIELD_X + 20 * TILE, FIELD_Y, 90);  // near no airfield
    build_ils_beacon_lists();
    ASSERT_EQ(get_airfield_count(), 2);
    select_current_airfield();
    EXPECT_EQ(current_airfield, 0);
    EXPECT_STREQ(get_ils_airfield_label(), "NORTHFIE");
    EXPECT_STREQ(get_ils_frequency_text(), "118.5");
    fly_from(FIELD_X, FIELD_Y - 8000 * FOOT, 180, 5 * NAUTICAL_MILE, 1500 * FOOT, 2);
    ASSERT_NE(get_current_ils_beacon(), nullptr);
    EXPECT_STREQ(get_ils_runway_text(), "36");
    fly_from(FIELD_X, FIELD_Y + 8000 * FOOT, 0, 5 * NAUTICAL_MILE, 1500 * FOOT, 178);
    EXPECT_STREQ(get_ils_runway_text(), "18");
    EXPECT_EQ(airfield_table[1].beacons[0].type, 0) << "the second airfield has none in reach";
    next_airfield_key(0x08);
    EXPECT_EQ(current_airfield, 0) << "the only airfield with a beacon stays current";
    EXPECT_STREQ(airfield_table[1].name, "ABC");
}

TEST_F(LandingAid, AnAirfieldOnEnemyGroundIsNeverCurrent) {
    write_airfields(2, {{"ENEMY", "111.1", FIELD_X, FIELD_Y}, {"HOME", "112.2", FIELD_X + 3 * TILE, FIELD_Y}});
    beacon(FIELD_X, FIELD_Y - 8000 * FOOT, 0);
    beacon(FIELD_X + 3 * TILE, FIELD_Y - 8000 * FOOT, 0);
    set_cell_side(2, FIELD_X, FIELD_Y);
    build_ils_beacon_lists();
    select_current_airfield();
    EXPECT_EQ(current_airfield, 1);
    next_airfield_key(0x08);
    EXPECT_EQ(current_airfield, 1);
    current_airfield = 0;
    EXPECT_EQ(get_current_ils_beacon(), nullptr);
    EXPECT_STREQ(get_ils_airfield_label(), "NO ILS  ");
    EXPECT_STREQ(get_ils_frequency_text(), "000.0");
    EXPECT_STREQ(get_ils_runway_text(), "00");
}

TEST_F(LandingAid, TheCaptureStateByDeviationAndRange) {
    write_airfields(1, {{"FIELD", "118.5", FIELD_X, FIELD_Y}});
    const int32_t bx = FIELD_X, by = FIELD_Y - 8000 * FOOT;
    beacon(bx, by, 0);
    build_ils_beacon_lists();
    select_current_airfield();
    const struct {
        const char* where;
        double off_degrees;
        int32_t distance;
        int32_t wide, off_course, in_cone;
    } cases[] = {
        {"on the centre line", 0, 4 * NAUTICAL_MILE, 0, 0, 1},
        {"6 degrees off", 6, 4 * NAUTICAL_MILE, 1, 1, 1},
        {"25 degrees off", 25, 4 * NAUTICAL_MILE, 0, 1, 0},
        {"on the line beyond 12 nm", 0, 13 * NAUTICAL_MILE, 0, 1, 0},
    };
    for (const auto& c : cases) {
        // On a 3-degree glide slope, approaching from the south.
        const int32_t height = int32_t(c.distance * std::tan(3 * M_PI / 180));
        fly_from(bx, by, 180 + c.off_degrees, c.distance, height, 0);
        tick();
        EXPECT_EQ(ils_flag_wide, c.wide) << c.where;
        EXPECT_EQ(ils_flag_off_course, c.off_course) << c.where;
        EXPECT_EQ(is_in_ils_cone(), c.in_cone) << c.where;
        EXPECT_LE(std::abs(int64_t(ils_localizer_needle)), 0x7FFFFFFFll) << c.where;
    }
    fly_from(bx, by, 186, 4 * NAUTICAL_MILE, 1000, 0);
    tick();
    EXPECT_EQ(ils_localizer_needle, int32_t(35672090ll * 0x80000000ll / 35791394)) << "the needle stops at 2.99 degrees";
    player_flight_data.airspeed = 200;
    fly_from(bx, by, 180, 340 * 200 * FOOT, 2000 * FOOT, 0);
    tick();
    EXPECT_EQ(ils_time_to_beacon(), 200 * 200) << "200 s at 340 ft/s";
}

TEST_F(LandingAid, WithoutAFileThereAreNoAirfields) {
    build_ils_beacon_lists();
    EXPECT_EQ(get_airfield_count(), 0);
    select_current_airfield();
    tick();
    EXPECT_EQ(get_current_ils_beacon(), nullptr);
    EXPECT_EQ(ils_localizer_needle, int32_t(0x806D39E1u));
    EXPECT_EQ(ils_glide_slope_needle, 0x7F92C61F);
    EXPECT_STREQ(get_ils_airfield_label(), "NO ILS  ");
}

TEST_F(LandingAid, SixHundredRecordsKeepTheFirst512) {
    std::vector<FileAirfield> records;
    for (int i = 0; i < 600; ++i) records.push_back({"F" + std::to_string(i), "100.0", i * FOOT, 0});
    write_airfields(600, records);
    build_ils_beacon_lists();
    EXPECT_EQ(get_airfield_count(), 512);
    EXPECT_STREQ(airfield_table[511].name, "F511");
}

TEST_F(LandingAid, NamesAndCodesEndWithinTheirBytes) {
    write_airfields(1, {{"ABCDEFGHIJKLMNOPQRSTU", "1234567890", FIELD_X, FIELD_Y}});
    build_ils_beacon_lists();
    EXPECT_EQ(std::strlen(airfield_table[0].name), 16u);
    EXPECT_EQ(std::strlen(airfield_table[0].code), 6u);
}

TEST_F(LandingAid, ABadFileIsFatalAndNamesItself) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    write_airfields(3, {{"ONE", "118.5", FIELD_X, FIELD_Y}});
    EXPECT_EXIT(build_ils_beacon_lists(), testing::ExitedWithCode(10), "AIRFIELD.BIN: 3 records need 100 bytes");
    write_airfields(INT32_MAX, {{"ONE", "118.5", FIELD_X, FIELD_Y}});
    EXPECT_EXIT(build_ils_beacon_lists(), testing::ExitedWithCode(10),
                "AIRFIELD.BIN: 2147483647 records need 68719476708 bytes, the file has 36");
    write_airfields(-1, {});
    EXPECT_EXIT(build_ils_beacon_lists(), testing::ExitedWithCode(10), "AIRFIELD.BIN: negative record count");
}

TEST_F(LandingAid, AFifthBeaconForOneAirfieldIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    write_airfields(1, {{"BUSY", "118.5", FIELD_X, FIELD_Y}});
    for (int i = 0; i < 5; ++i) beacon(FIELD_X + i * 1000 * FOOT, FIELD_Y, 0);
    EXPECT_EXIT(build_ils_beacon_lists(), testing::ExitedWithCode(10), "Run out of room in ILS beacon list");
}

}  // namespace
}  // namespace vyr
