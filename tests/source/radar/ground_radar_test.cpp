#include "source/radar/ground_radar.h"

#include <gtest/gtest.h>

#include "library/graphics/plot.h"
#include "library/graphics/screen.h"
#include "source/weapons/weapon_keys.h"
#include "tests/source/radar/radar_world.h"

namespace vyr {
namespace {

class GroundRadar : public RadarWorld {
protected:
    void SetUp() override {
        RadarWorld::SetUp();
        toggle_air_ground_mode();
        radar_on = 1;
    }
    const Target* record_of(const void* object) const {
        for (int i = 0; i < ground_contact_count; ++i)
            if (ground_contacts[i].object == object) return &ground_contacts[i];
        return nullptr;
    }
};

TEST_F(GroundRadar, TheSubModeAndALaserWeaponChooseWhatIsListed) {
    ground_object* house = ground(HOUSE, ENEMY, ahead(3 * NAUTICAL_MILE));
    ground_object* lased_house = ground(HOUSE, ENEMY, ahead(4 * NAUTICAL_MILE));
    lased_house->flags |= GROUND_LASED;
    Drone* tank_a = tank(ENEMY, ahead(2 * NAUTICAL_MILE));
    Drone* lased_tank = tank(ENEMY, ahead(5 * NAUTICAL_MILE));
    lased_tank->mission_flags |= DRONE_FLAG_LASER_DESIGNATED;
    const ground_object* truck = ground(TRUCK, ALLIED, ahead(6 * NAUTICAL_MILE));
    const struct {
        const char* name;
        int32_t submode;
        int weapon;
        std::vector<const void*> listed;
    } cases[] = {
        {"GVT: vehicles, no buildings", GROUND_GVT, 0, {&tank_a->object, &lased_tank->object, truck}},
        {"FTT: buildings only", GROUND_FTT, 0, {house, lased_house}},
        {"GVT under GBU-12: the lased house too", GROUND_GVT, WEAPON_GBU_12,
         {&tank_a->object, house == nullptr ? nullptr : lased_house, &lased_tank->object, truck}},
        {"FTT under GBU-12: the lased tank too", GROUND_FTT, WEAPON_GBU_12, {house, lased_house, &lased_tank->object}},
        {"FRZ under GBU-12: the lased ones only", GROUND_FRZ, WEAPON_GBU_12, {lased_house, &lased_tank->object}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ground_submode = c.submode;
        selected_weapon = c.weapon;
        sweep();
        std::vector<const void*> listed = ground_list();
        std::vector<const void*> expected = c.listed;
        std::sort(listed.begin(), listed.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(listed, expected);
    }
}

TEST_F(GroundRadar, TheSectorIsNinetyDegreesAheadAndTheRangeStrict) {
    const Drone* at_44 = tank(ENEMY, bearing(5 * NAUTICAL_MILE, 44));
    const Drone* at_46 = tank(ENEMY, bearing(5 * NAUTICAL_MILE, -46));
    const Drone* beyond = tank(ENEMY, ahead(10 * NAUTICAL_MILE));  // the 3D range reaches 10 nm before the ground does
    const Drone* inside = tank(ENEMY, ahead(9 * NAUTICAL_MILE));
    sweep();
    EXPECT_NE(record_of(&at_44->object), nullptr);
    EXPECT_EQ(record_of(&at_46->object), nullptr);
    EXPECT_EQ(record_of(&beyond->object), nullptr);
    EXPECT_NE(record_of(&inside->object), nullptr);
    EXPECT_EQ(ground_contact_count, 2);
}

TEST_F(GroundRadar, AGroundObjectSitsOnTheGroundButItsOffsetIsTheAircraftsHeightBelow) {
    const int i = START.x >> POST_SHIFT, j = (START.y + 2 * NAUTICAL_MILE) >> POST_SHIFT;
    for (int di = -1; di <= 2; ++di)
        for (int dj = -1; dj <= 2; ++dj) terrain_posts[i + di][j + dj].height = 500;
    terrain_max_height = 500 * FOOT;
    const Vector3 place = {(i << POST_SHIFT) + 4 * FOOT, (j << POST_SHIFT) + 4 * FOOT, 0};
    ground(TANK, ENEMY, place);
    sweep();
    ASSERT_EQ(ground_contact_count, 1);
    const Target& t = ground_contacts[0];
    EXPECT_EQ(t.kind, TARGET_GROUND_OBJECT);
    EXPECT_EQ(t.position.z, 500 * FOOT);
    EXPECT_EQ(t.offset.z, -ALTITUDE);
    EXPECT_EQ(t.radar_position.z, -ALTITUDE);
    EXPECT_NEAR(t.radar_position.y, place.y - START.y, 2);
    EXPECT_EQ(t.domain, TARGET_DOMAIN_GROUND);
}

TEST_F(GroundRadar, AFrozenMapDropsTheDestroyedAndAddsNothing) {
    ground_object* house = ground(TANK, ENEMY, ahead(3 * NAUTICAL_MILE));
    Drone* moving = tank(ENEMY, ahead(4 * NAUTICAL_MILE));
    sweep();
    ASSERT_EQ(ground_list().size(), 2u);
    press(0x23);  // H: freeze
    house->flags |= GROUND_DESTROYED;
    tank(ENEMY, ahead(5 * NAUTICAL_MILE));
    fly({START.x + NAUTICAL_MILE, START.y + NAUTICAL_MILE, ALTITUDE}, 0x40000000);  // flown on and turned east
    sweep();
    EXPECT_EQ(ground_list(), (std::vector<const void*>{&moving->object}));
    EXPECT_EQ(ground_contact_count, 2);  // the records stay as frozen
    moving->object.flags |= INSTANCE_INACTIVE;
    sweep();
    EXPECT_TRUE(ground_list().empty());
    moving->object.flags &= ~INSTANCE_INACTIVE;
    fly(START, 0);
    press(0x23);  // H: unfrozen, a normal sweep again
    sweep();
    EXPECT_EQ(ground_contact_count, 2);
    ground_contacts[0].kind = 7;
    press(0x23);
    EXPECT_DEATH(sweep(), "Unknown type : 7");
}

TEST_F(GroundRadar, TheSweepLeavesThePlotWindowAndClipRectangleToTheDrawing) {
    PlotWindow before;
    save_plot(before);
    const int32_t clip[] = {clip_x0, clip_y0, clip_x1, clip_y1};
    tank(ENEMY, ahead(3 * NAUTICAL_MILE));
    sweep();
    EXPECT_EQ(current_plot.screen_x1, before.screen_x1);
    EXPECT_EQ(current_plot.world_y1, before.world_y1);
    EXPECT_EQ(clip_x1, clip[2]);
    EXPECT_EQ(clip_y1, clip[3]);
}

TEST_F(GroundRadar, ALaserWeaponSweepsTheGroundOutsideGroundModeEvenWithTheRadarOff) {
    toggle_air_ground_mode();
    radar_on = 0;
    Drone* lased = tank(ENEMY, ahead(3 * NAUTICAL_MILE));
    lased->mission_flags |= DRONE_FLAG_LASER_DESIGNATED;
    sweep();
    EXPECT_TRUE(ground_list().empty());
    selected_weapon = WEAPON_GBU_12;
    sweep();
    EXPECT_EQ(ground_list(), (std::vector<const void*>{&lased->object}));
    // A failed radar still lets the laser sweep run; it stops the radar's own.
    radar_on = 1;
    system_failures = {};
    set_failure(FAIL_RADAR);
    selected_weapon = 0;
    fighter(ENEMY, ahead(5 * NAUTICAL_MILE, 0, ALTITUDE));
    sweep();
    EXPECT_EQ(air_contact_head, nullptr);
    EXPECT_TRUE(ground_list().empty());
}

TEST_F(GroundRadar, CursorStepsFollowTheFrameAndKeepToLasedContactsUnderALasedDesignation) {
    Drone* centre = tank(ENEMY, ahead(5 * NAUTICAL_MILE));
    Drone* nearer = tank(ENEMY, ahead(3 * NAUTICAL_MILE, 0));
    Drone* right = tank(ENEMY, ahead(5 * NAUTICAL_MILE, NAUTICAL_MILE));
    Drone* far_right = tank(ENEMY, ahead(6 * NAUTICAL_MILE, 2 * NAUTICAL_MILE));
    sweep();
    designated_target = *record_of(&centre->object);
    draw_ground_radar_contacts();  // finds the designated record; nothing is drawn without a screen
    ASSERT_EQ(designated_ground_record, record_of(&centre->object));
    step_ground_contact_up();
    EXPECT_EQ(designated_target.object, &nearer->object);
    designated_target = *record_of(&centre->object);
    designated_ground_record = const_cast<Target*>(record_of(&centre->object));
    step_ground_contact_right();
    EXPECT_EQ(designated_target.object, &right->object);
    EXPECT_EQ(follow_best_target, 0);

    centre->mission_flags |= DRONE_FLAG_LASER_DESIGNATED;
    far_right->mission_flags |= DRONE_FLAG_LASER_DESIGNATED;
    designated_target = *record_of(&centre->object);
    step_ground_contact_right();
    EXPECT_EQ(designated_target.object, &far_right->object);
    EXPECT_EQ(laser_spot_target.object, &far_right->object);
    designated_target = *record_of(&centre->object);
    step_ground_contact_left();  // no lased contact to the left: it stays
    EXPECT_EQ(designated_target.object, &centre->object);
}

TEST_F(GroundRadar, ATargetOfNoObjectKindIsFatalToTheValidityTest) {
    Target point{};
    point.kind = TARGET_FIXED_POINT;
    EXPECT_DEATH(is_valid_ground_target(&point), "unknown object type 3");
    designated_target.kind = 5;
    EXPECT_DEATH(draw_ground_radar_contacts(), " unknown target type 5");
}

TEST_F(GroundRadar, TheTrailRecordsEvery1000FtAndKeepsTheNewest299Points) {
    sweep();  // the frame the trail is kept in: north up
    press(0x23);  // freeze at the start
    EXPECT_EQ(trail_oldest, trail_write);
    const auto fly_north = [&](int32_t feet) { fly({START.x, START.y + feet * FOOT, ALTITUDE}, 0); };
    fly_north(999);
    record_radar_trail();
    EXPECT_EQ(trail_write, radar_trail);
    fly_north(1001);
    record_radar_trail();
    record_radar_trail();  // not moved since
    EXPECT_EQ(trail_write, radar_trail + 1);
    EXPECT_EQ(radar_trail[0].forward, 1001 * FOOT);
    EXPECT_EQ(radar_trail[0].right, 0);
    for (int k = 2; k <= 400; ++k) {
        fly_north(1001 * k);
        record_radar_trail();
    }
    // 400 points into a ring of 300: the write cursor has come round, the oldest just ahead.
    EXPECT_EQ(trail_write, radar_trail + 400 % RADAR_TRAIL_POINTS);
    EXPECT_EQ(trail_oldest, trail_write->next);
    EXPECT_EQ(trail_oldest->forward, 1001 * FOOT * 102);
}

}  // namespace
}  // namespace vyr
