#include "source/radar/air_radar.h"

#include <gtest/gtest.h>

#include "tests/source/radar/radar_world.h"

namespace vyr {
namespace {

class AirRadar : public RadarWorld {
protected:
    void SetUp() override {
        RadarWorld::SetUp();
        radar_on = 1;
    }
    // A sweep and the grouping the target selection does after it.
    void sweep_and_merge() {
        sweep();
        merge_air_contacts(air_contact_head);
    }
    std::vector<const void*> displayed() const {
        std::vector<const void*> objects;
        for (int i = 0; i < air_display_count; ++i) objects.push_back(air_display[i]->target.object);
        return objects;
    }
    const AirContact* contact_of(const Drone* d) const {
        for (const AirContact* c = air_contact_head; c; c = c->next)
            if (c->target.object == &d->object) return c;
        return nullptr;
    }
    void designate(const Drone* d) { designated_target = contact_of(d)->target; }
    void find_selected() {
        selected_air_index = -1;
        for (int i = 0; i < air_display_count; ++i)
            if (air_display[i]->target.object == designated_target.object) selected_air_index = i;
    }
};

TEST_F(AirRadar, AContactInsideTheRangeIsKeptAndOneAtTheRangeDropped) {
    cycle_radar_range(1);  // 15 nm
    const Drone* inside = fighter(ENEMY, ahead(15 * NAUTICAL_MILE - NAUTICAL_MILE / 10, 0, ALTITUDE));
    const Drone* at_range = fighter(ENEMY, ahead(12 * NAUTICAL_MILE, 0, ALTITUDE + 9 * NAUTICAL_MILE));  // 15 nm exactly
    sweep();
    EXPECT_NE(contact_of(inside), nullptr);
    EXPECT_EQ(contact_of(at_range), nullptr);
    EXPECT_EQ(air_contact_count, 1);
}

TEST_F(AirRadar, WithTheFilterOnOnlyEnemiesAreListed) {
    const Drone* enemy = fighter(ENEMY, ahead(5 * NAUTICAL_MILE, 0, ALTITUDE));
    const Drone* allied = fighter(ALLIED, ahead(10 * NAUTICAL_MILE, 0, ALTITUDE));
    fighter(NEUTRAL, ahead(20 * NAUTICAL_MILE, 0, ALTITUDE));  // of no side: never a candidate
    sweep();
    EXPECT_EQ(air_list(), (std::vector<const void*>{&enemy->object, &allied->object}));
    press(0x15);  // Y
    sweep();
    EXPECT_EQ(air_list(), (std::vector<const void*>{&enemy->object}));
}

TEST_F(AirRadar, TheScanVolumeIsStrictAndFollowsTheOffsets) {
    cycle_radar_range(1);  // 15 nm: +-15 degrees across, +-60 up and down
    EXPECT_TRUE(is_in_scan_volume(0, NAUTICAL_MILE, 0));
    EXPECT_FALSE(is_in_scan_volume(0, -NAUTICAL_MILE, 0));
    const int32_t across_14 = int32_t(NAUTICAL_MILE * std::tan(14 * 3.14159265358979 / 180));
    const int32_t across_16 = int32_t(NAUTICAL_MILE * std::tan(16 * 3.14159265358979 / 180));
    EXPECT_TRUE(is_in_scan_volume(across_14, NAUTICAL_MILE, 0));
    EXPECT_FALSE(is_in_scan_volume(-across_16, NAUTICAL_MILE, 0));
    EXPECT_TRUE(is_in_scan_volume(0, NAUTICAL_MILE, NAUTICAL_MILE));
    EXPECT_FALSE(is_in_scan_volume(0, NAUTICAL_MILE, 2 * NAUTICAL_MILE));

    // A contact 30 degrees right is outside until the centre is slewed 20 degrees right.
    const Drone* right = fighter(ENEMY, bearing(10 * NAUTICAL_MILE, 30, ALTITUDE));
    sweep();
    EXPECT_EQ(contact_of(right), nullptr);
    key_down[SCAN_CTRL] = 1;
    slew_x = FIXED_ONE;
    frame_fraction = int32_t(FIXED_ONE / 4.5);  // 20 of the 90 degrees a second crosses
    sweep();
    key_down[SCAN_CTRL] = 0;
    EXPECT_NE(contact_of(right), nullptr);
}

TEST_F(AirRadar, ContactsCloserThanFourSymbolsMergeAndTheDesignatedOneHeadsItsGroup) {
    const int32_t s = 1361024;  // the display scale at 35 nm
    const Drone* lead = fighter(ENEMY, ahead(5 * NAUTICAL_MILE, 0, ALTITUDE));
    const Drone* close = fighter(ENEMY, ahead(5 * NAUTICAL_MILE + 4 * s - 1, 0, ALTITUDE));
    const Drone* apart = fighter(ENEMY, ahead(12 * NAUTICAL_MILE, 0, ALTITUDE));
    const Drone* exactly = fighter(ENEMY, ahead(12 * NAUTICAL_MILE + 4 * s, 0, ALTITUDE));
    sweep_and_merge();
    EXPECT_EQ(displayed(), (std::vector<const void*>{&lead->object, &apart->object, &exactly->object}));
    const AirContact* head = contact_of(lead);
    EXPECT_EQ(head->group_head, 1);
    EXPECT_EQ(contact_of(close)->merged, 1);
    EXPECT_EQ(contact_of(close)->group, head->group);
    EXPECT_EQ(contact_of(apart)->group, 0);

    designate(close);
    sweep_and_merge();
    EXPECT_EQ(displayed(), (std::vector<const void*>{&close->object, &apart->object, &exactly->object}));
    EXPECT_EQ(contact_of(close)->group_head, 1);
    EXPECT_EQ(contact_of(lead)->merged, 1);
    // The group keeps one number, so the RCR window is the group's.
    EXPECT_NE(contact_of(close)->group, 0);
    EXPECT_EQ(contact_of(lead)->group, contact_of(close)->group);
    press(0x23);  // H
    EXPECT_EQ(air_submode, RADAR_RCR);
    const int32_t m = 4 * s - 1;
    EXPECT_EQ(rcr_radius, m + m / 4);
    EXPECT_EQ(radar_display_scale, 2 * rcr_radius / 40);
    press(0x23);
    EXPECT_EQ(air_submode, RADAR_TWS);
    EXPECT_EQ(radar_display_scale, s);
}

TEST_F(AirRadar, AContactTooCloseForTheScanToHaveWidthSitsOnTheCentreLine) {
    const Drone* near = fighter(ENEMY, ahead(0, 0, ALTITUDE));
    sweep();
    // Only the air scan keeps it out of the volume; inserted as the sweep would, it gets x 0.
    AirContact c = {};
    c.target.kind = TARGET_MOBILE;
    c.target.domain = TARGET_DOMAIN_AIR;
    c.target.object = const_cast<ObjectInstance*>(&near->object);
    c.target.radar_position = {5, 0, 0};
    c.target.offset = {0, 0, 0};
    insert_air_contact(&c);
    EXPECT_EQ(c.display_x, 0);
    EXPECT_EQ(c.display_y, 0);
    EXPECT_EQ(air_contact_head, &c);
}

TEST_F(AirRadar, DisplayPlacesSpreadTheScanWidthOverHalfTheRangeEachSide) {
    cycle_radar_range(1);  // 15 nm, 15 degrees each side
    const Drone* edge = fighter(ENEMY, bearing(10 * NAUTICAL_MILE, 14.9, ALTITUDE));
    const Drone* middle = fighter(ENEMY, bearing(10 * NAUTICAL_MILE, -7, ALTITUDE));
    sweep();
    ASSERT_NE(contact_of(edge), nullptr);
    ASSERT_NE(contact_of(middle), nullptr);
    const int32_t half = 15 * NAUTICAL_MILE / 2;
    const double radian = 3.14159265358979 / 180;
    EXPECT_NEAR(contact_of(edge)->display_x, half * std::sin(14.9 * radian) / std::tan(15 * radian), half / 100);
    EXPECT_LT(contact_of(middle)->display_x, -half * 6 / 15);
    EXPECT_GT(contact_of(middle)->display_x, -half * 8 / 15);
    EXPECT_NEAR(contact_of(edge)->display_y, 10 * NAUTICAL_MILE, 2);
}

TEST_F(AirRadar, AcmAimsAtTheDesignatedContactAndChoosesItsRowByDistance) {
    const Drone* target = fighter(ENEMY, bearing(4 * NAUTICAL_MILE, 20, ALTITUDE));
    fighter(ENEMY, bearing(9 * NAUTICAL_MILE, -20, ALTITUDE));
    sweep_and_merge();
    designate(target);
    press(0x25);  // K
    sweep_and_merge();
    EXPECT_EQ(air_range_nm, 8);  // 4 whole miles
    EXPECT_NEAR(double(scan_azimuth) / DEGREE, 20, 0.1);
    EXPECT_EQ(displayed(), (std::vector<const void*>{&target->object}));
    // With nothing designated the centre goes back to the nose.
    designated_target.kind = TARGET_NONE;
    sweep_and_merge();
    EXPECT_EQ(scan_azimuth, 0);
}

TEST_F(AirRadar, RcrWithNothingDesignatedReturnsToTwsOnTheFirstCandidate) {
    const Drone* first = fighter(ENEMY, ahead(5 * NAUTICAL_MILE, 0, ALTITUDE));
    const Drone* second = fighter(ENEMY, ahead(12 * NAUTICAL_MILE, 0, ALTITUDE));
    air_submode = RADAR_RCR;
    sweep();
    EXPECT_EQ(air_submode, RADAR_TWS);
    EXPECT_EQ(contact_of(first), nullptr);
    EXPECT_NE(contact_of(second), nullptr);
}

TEST_F(AirRadar, StepsMoveTheDesignationToTheNearestDisplayedContactThatWay) {
    const Drone* near = fighter(ENEMY, ahead(5 * NAUTICAL_MILE, 0, ALTITUDE));
    const Drone* far = fighter(ENEMY, ahead(15 * NAUTICAL_MILE, 0, ALTITUDE));
    const Drone* left = fighter(ENEMY, bearing(10 * NAUTICAL_MILE, -30, ALTITUDE));
    sweep_and_merge();
    designate(near);
    find_selected();
    follow_best_target = 1;
    step_air_contact_up();  // nothing nearer: the designation stays
    EXPECT_EQ(designated_target.object, &near->object);
    EXPECT_EQ(follow_best_target, 1);
    step_air_contact_down();
    EXPECT_EQ(designated_target.object, &left->object);  // 10 nm before 15
    EXPECT_EQ(follow_best_target, 0);
    find_selected();
    step_air_contact_right();
    EXPECT_EQ(designated_target.object, &near->object);  // the earlier of the two on the centre line
    find_selected();
    step_air_contact_down();
    find_selected();
    step_air_contact_down();
    EXPECT_EQ(designated_target.object, &far->object);
    air_contact_head = nullptr;
    step_air_contact_up();  // an empty list changes nothing
    EXPECT_EQ(designated_target.object, &far->object);
}

TEST_F(AirRadar, ACandidateWithoutADroneIsFatal) {
    Drone* d = fighter(ENEMY, ahead(5 * NAUTICAL_MILE, 0, ALTITUDE));
    d->object.owner = nullptr;
    d->object.owner_kind = OWNER_NONE;
    EXPECT_DEATH(sweep(), "Drone is NULL");
}

}  // namespace
}  // namespace vyr
