#include "source/avionics/mfd_stores.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/mfd_status.h"
#include "source/avionics/night_vision.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/weapons/stores.h"
#include "tests/support/pbm_file.h"
#include "tests/support/recording_plot.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

class StatusPages : public ScratchDirectories {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ScratchDirectories::SetUp();
        init_trig_tables();
        system_failures = {};
        selected_weapon = 0;
        night_vision_on = 0;
        flight_data = {};
        user_drone = nullptr;
        set_gear_state(GEAR_UP);
    }
    void TearDown() override {
        for (Hardpoint& h : hardpoints) h = Hardpoint{};
        for (SensorSlot& s : sensor_slots) s.sensor_type = SENSOR_TYPE_NONE;
        std::fill(std::begin(first_hardpoint), std::end(first_hardpoint), -1);
        selected_weapon = 0;
        system_failures = {};
        set_gear_state(GEAR_UP);
        free_stores_pictures();
        ScratchDirectories::TearDown();
    }
    void draw(void (*page)(const MfdRect&, int)) {
        plot.clear();
        page(LEFT_MFD_RECT, 0);
    }
    const RecordingPlot::Text* text_at(int32_t x, int32_t y) const {
        for (const RecordingPlot::Text& t : plot.texts)
            if (t.world_x == x && t.world_y == y) return &t;
        return nullptr;
    }
    RecordingPlot plot;
};

class StoresPage : public StatusPages {
protected:
    void SetUp() override {
        StatusPages::SetUp();
        if (!std::filesystem::exists(GENERATED_DATA / "vyr.rop")) GTEST_SKIP() << "the sample data set is not built";
        use_generated_data();
        load_stores_pictures();
    }
    // A hardpoint carrying `rounds` of a weapon on one station.
    void load(int hardpoint, int weapon, int rounds) {
        Hardpoint& h = hardpoints[hardpoint];
        stations[hardpoint] = {weapon, rounds};
        h.weapon_id = weapon;
        h.stations = &stations[hardpoint];
        h.station_count = 1;
    }
    // The picture drawn with its top-left at a display point, or null.
    const RecordingPlot::SpriteDrawn* sprite_at(int x, int y) const {
        for (const RecordingPlot::SpriteDrawn& s : plot.sprites)
            if (s.x == LEFT_MFD_RECT.x + x && s.y == LEFT_MFD_RECT.y + y) return &s;
        return nullptr;
    }
    static const uint8_t* cell_of(int key) {
        Sprite cell;
        return find_stores_picture(key, cell) ? cell.pixels : nullptr;
    }
    Station stations[STORES_HARDPOINTS] = {};
};

TEST_F(StoresPage, EachLoadedStationShowsItsPictureAndCount) {
    load(0, 22, 300);   // gun pod on the centre line: place 4, large cell at +0, +0
    load(1, 30, 1);     // MK-82 at place 3, small at +2, +12
    load(2, 30, 12);    // place 5: a two-digit count at a size-class-2 place
    load(3, 25, 0);     // an empty rocket pod keeps its picture
    load(4, 31, 0);     // an empty bomb rack shows nothing
    load(9, 21, 250);   // the gun: a count only
    selected_weapon = 30;
    first_hardpoint[30] = 2;
    draw(draw_mfd_stores_page);

    const RecordingPlot::SpriteDrawn* pod = sprite_at(64, 22);
    ASSERT_NE(pod, nullptr);
    EXPECT_EQ(pod->sprite.pixels, cell_of(22));
    EXPECT_EQ(pod->sprite.width, 11);
    ASSERT_NE(sprite_at(45 + 2, 30 + 12), nullptr);
    EXPECT_EQ(sprite_at(45 + 2, 30 + 12)->sprite.pixels, cell_of(30));
    ASSERT_NE(sprite_at(31 + 2, 38 + 12), nullptr) << "the rocket pod at place 2";
    EXPECT_EQ(sprite_at(31 + 2, 38 + 12)->sprite.pixels, cell_of(25));
    EXPECT_EQ(plot.sprites.size(), 4u) << "nothing for the empty rack or the gun";

    EXPECT_EQ(text_at(65, 56)->string, "300") << "three digits at a class-3 place";
    EXPECT_EQ(text_at(49 + 4, 56)->string, "1");
    EXPECT_EQ(text_at(49 + 4, 56)->colour, 217);
    EXPECT_EQ(text_at(87, 56)->string, "12") << "two digits drawn 4 pixels further left";
    EXPECT_EQ(text_at(87, 56)->colour, 222) << "the selected weapon's first hardpoint";
    EXPECT_EQ(text_at(33 + 4, 56)->string, "0");
    EXPECT_EQ(text_at(102 + 4, 56), nullptr);
    EXPECT_EQ(text_at(81, 130)->string, "250");
    EXPECT_EQ(text_at(36, 34)->string, "MK-82");
}

TEST_F(StoresPage, SensorsShowOnEmptyHardpointsAndThePodLeavesItsPlaceBare) {
    sensor_slots[5].sensor_type = SENSOR_TYPE_WING_TANK;
    sensor_slots[6].sensor_type = SENSOR_TYPE_WING_TANK;
    sensor_slots[0].sensor_type = SENSOR_TYPE_TARGETING_POD;
    sensor_slots[3].sensor_type = SENSOR_TYPE_ECM_POD;
    load(3, 27, 1);  // a weapon on the ECM pod's hardpoint hides the pod
    draw(draw_mfd_stores_page);
    ASSERT_NE(sprite_at(45, 30), nullptr) << "hardpoint 1, place 3";
    EXPECT_EQ(sprite_at(45, 30)->sprite.pixels, cell_of(SENSOR_TYPE_WING_TANK));
    ASSERT_NE(sprite_at(83, 30), nullptr) << "hardpoint 2, place 5";
    EXPECT_EQ(sprite_at(64, 22), nullptr) << "no picture for the pod";
    EXPECT_EQ(plot.sprites.size(), 3u);
    EXPECT_EQ(text_at(36, 34)->string, "None Selected");
    EXPECT_EQ(text_at(31 + 4, 14)->string, "0") << "no release quantity without a selection";
}

TEST_F(StoresPage, AnUnknownSelectedWeaponOrPictureKeyIsFatal) {
    selected_weapon = 12;
    EXPECT_DEATH(draw(draw_mfd_stores_page), "unknown weapon type 12 in mfd weapon display");
    EXPECT_DEATH(draw_stores_picture(2, 0, 0, 0), "how can size be -1");
}

TEST_F(StatusPages, AMissingOrMisshapenPictureIsFatalNamingIt) {
    EXPECT_DEATH(load_stores_pictures(), "mfdweap.bbm");
    std::filesystem::create_directories(data / "cockpits");
    write_pbm_file(data / "cockpits" / "mfdweap.bbm", 140, 140, 0, std::vector<uint8_t>(140 * 140, 208));
    write_pbm_file(data / "cockpits" / "smlweaps.bbm", 8, 24 * 10, 0, std::vector<uint8_t>(8 * 240, 1));
    EXPECT_DEATH(load_stores_pictures(), "smlweaps.bbm: 8 x 240 pixels, not 8 wide and 264 high");
}

TEST_F(StatusPages, TheFailuresGridLightsFailedSystems) {
    set_failure(FAIL_FUEL_LEAK);
    set_failure(FAIL_TERRAIN_FOLLOWING);
    set_failure(FAIL_RECON);
    draw(draw_mfd_failures_page);
    ASSERT_EQ(plot.texts.size(), 24u);
    EXPECT_EQ(plot.lines.size(), 96u);
    for (const RecordingPlot::Text& t : plot.texts) {
        const bool lit = t.string == "FUEL" || t.string == "TF" || t.string == "RECON";
        EXPECT_EQ(t.colour, lit ? 204 : 222) << t.string;
    }
    const RecordingPlot::Text* fuel = plot.find_text("FUEL");
    EXPECT_EQ(fuel->world_x, 0);
    EXPECT_EQ(fuel->world_y, int32_t(0.375 * 0x100000) + int32_t(0.04 * 0x100000));
    EXPECT_EQ(plot.find_text("RECON")->world_x, 2 * 0x55555);
}

TEST_F(StatusPages, FlightDataSwitchesToTheLandingSetAsTheGearDoorsOpen) {
    flight_data.heading = 0xFFF00000;  // 359.9 degrees
    const std::pair<int, const char*> cases[] = {
        {GEAR_UP, "FLT - Cruise"},         {GEAR_DOORS_OPENING, "FLT - Landing"}, {GEAR_LOWERING, "FLT - Landing"},
        {GEAR_DOWN, "FLT - Landing"},      {GEAR_RAISING, "FLT - Cruise"},        {GEAR_DOORS_CLOSING, "FLT - Cruise"},
    };
    for (const auto& [gear, title] : cases) {
        set_gear_state(gear);
        draw(draw_mfd_flight_data_page);
        ASSERT_NE(plot.find_text(title), nullptr) << gear;
        EXPECT_EQ(plot.find_text(title)->colour, 1);
        EXPECT_NE(plot.find_text("Heading:       359"), nullptr) << gear;
    }
    flight_data.heading = 0;
    draw(draw_mfd_flight_data_page);
    EXPECT_NE(plot.find_text("Heading:       0"), nullptr);
}

TEST_F(StatusPages, TheAltitudeWarnsWhenDescendingLowForThePlannedAltitude) {
    Drone d{};
    set_waypoint_position(append_waypoint(&d), 0, 0, 1000 * FOOT);
    d.current_waypoint = d.first_waypoint;
    user_drone = &d;
    flight_data.height_above_ground = 150 * FOOT;
    for (const auto& [speed, colour] : {std::pair{-500 * FOOT, 204}, std::pair{500 * FOOT, 219}}) {
        flight_data.vertical_speed = speed;
        draw(draw_mfd_flight_data_page);
        ASSERT_NE(plot.find_text("Altitude (R):  150"), nullptr);
        EXPECT_EQ(plot.find_text("Altitude (R):  150")->colour, colour);
    }
    user_drone = nullptr;  // no steerpoint: a planned altitude of 0 warns only below 100 ft
    flight_data.vertical_speed = -500 * FOOT;
    draw(draw_mfd_flight_data_page);
    EXPECT_EQ(plot.find_text("Altitude (R):  150")->colour, 219);
    flight_data.height_above_ground = 90 * FOOT;
    draw(draw_mfd_flight_data_page);
    EXPECT_EQ(plot.find_text("Altitude (R):  90")->colour, 204);
    flight_data.height_above_ground = 5000 * FOOT;
    flight_data.altitude = 6000 * FOOT;
    draw(draw_mfd_flight_data_page);
    EXPECT_NE(plot.find_text("Altitude (B):  6000"), nullptr);
    free_waypoint(d.first_waypoint);
}

TEST_F(StatusPages, EnduranceCountsDownInTheWarningColourForTheLastMinute) {
    struct Case {
        int32_t fuel, flow;
        const char* text;
        int colour;
    } const cases[] = {
        {3600, 36000, "Endurance:     06:00", 219},  // 10 lb/s
        {500, 36000, "Endurance:     00:50", 204},
        {600, 36000, "Endurance:     01:00", 204},
        {5000, 0, "Endurance:     --:--", 219},
        {0, 0, "Endurance:     00:00", 204},
        {-10, 36000, "Endurance:     00:00", 204},
    };
    for (const Case& c : cases) {
        flight_data.total_fuel = c.fuel;
        flight_data.fuel_flow = c.flow;
        draw(draw_mfd_flight_data_page);
        const RecordingPlot::Text* t = plot.find_text(c.text);
        ASSERT_NE(t, nullptr) << c.text << " in " << plot.all_text();
        EXPECT_EQ(t->colour, c.colour) << c.text;
    }
}

}  // namespace
}  // namespace vyr
