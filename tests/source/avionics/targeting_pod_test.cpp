#include "source/avionics/targeting_pod.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "source/weapons/weapon_keys.h"
#include "tests/source/avionics/threat_world.h"

namespace vyr {
namespace {

constexpr int KEY_ALT_SPACE = 0x1039;

class PodTest : public ThreatWorld {
protected:
    void SetUp() override {
        ThreatWorld::SetUp();
        sensor_slots[0].sensor_type = SENSOR_TYPE_TARGETING_POD;
        toggle_air_ground_mode();  // ground mode
        left_mfd_page = MFD_POD;
        selected_weapon = WEAPON_GBU_12;
        register_pod_key();
    }

    // A tank `distance` away at `degrees` off the nose, lased when asked, in the contact list.
    Target* contact(int32_t distance, double degrees, bool lased) {
        Drone* d = tank(ENEMY, bearing(distance, degrees));
        if (lased) d->mission_flags |= DRONE_FLAG_LASER_DESIGNATED;
        Target& t = contacts.emplace_back();
        t = {};
        t.kind = TARGET_MOBILE;
        t.object = &d->object;
        return &t;
    }
    // Links the contacts made so far, in order, as the ground radar's list.
    void link_contacts() {
        ground_contact_head = ground_contact_tail = nullptr;
        for (Target& t : contacts) {
            t.prev = ground_contact_tail;
            t.next = nullptr;
            (ground_contact_tail ? ground_contact_tail->next : ground_contact_head) = &t;
            ground_contact_tail = &t;
        }
    }
    static Target mobile(Drone* d) {
        Target t = {};
        t.kind = TARGET_MOBILE;
        t.object = &d->object;
        return t;
    }

    std::deque<Target> contacts;
};

TEST_F(PodTest, TheKeyDesignatesTheGroundUnderTheLineOfSightAndDropsItAgain) {
    pod_elevation = -30 * int32_t(DEGREE);
    designated_target.kind = TARGET_MOBILE;
    press(KEY_ALT_SPACE);
    ASSERT_EQ(pod_point_valid, 1);
    EXPECT_EQ(pod_slaved, 1);
    EXPECT_EQ(pod_on_point, 1);
    EXPECT_EQ(designated_target.kind, TARGET_NONE);
    // 10,000 ft up, 30 degrees down: the ground lies 17,320 ft ahead (to the sine table's step).
    EXPECT_NEAR(pod_point_y - START.y, 17320.5 * FOOT, 40 * FOOT);
    EXPECT_NEAR(pod_point_x, START.x, 2);
    pod_slew[POD_SLEW_UP] = 4;
    press(KEY_ALT_SPACE);
    EXPECT_EQ(pod_point_valid, 0);
    EXPECT_EQ(pod_slaved, 0);
    EXPECT_EQ(pod_slew[POD_SLEW_UP], 0);
}

TEST_F(PodTest, TheKeyActsOnlyInManualModeBelow25000FtOnTheFocusedPage) {
    const struct {
        const char* name;
        void (*set_up)();
    } cases[] = {
        {"above 25,000 ft", [] { flight_data.altitude = 25000 * FOOT; }},
        {"automatic tracking", [] { pod_track_mode = 1; }},
        {"the laser failed", [] { set_failure(FAIL_LASER); }},
        {"the pod page without the focus", [] { active_mfd = 2; }},
        {"air mode", [] { toggle_air_ground_mode(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.set_up();
        pod_elevation = -30 * int32_t(DEGREE);
        press(KEY_ALT_SPACE);
        EXPECT_EQ(pod_point_valid, 0);
        system_failures = {};
        pod_track_mode = 0;
        active_mfd = 1;
        flight_data.altitude = ALTITUDE;
        if (radar_air_mode) toggle_air_ground_mode();
    }
}

TEST_F(PodTest, ClimbingTo25000FtDropsThePointAndTheDesignation) {
    pod_elevation = -30 * int32_t(DEGREE);
    press(KEY_ALT_SPACE);
    ASSERT_EQ(pod_point_valid, 1);
    designated_target = mobile(tank(ENEMY, ahead(2 * NAUTICAL_MILE)));
    flight_data.altitude = 25000 * FOOT;
    update_targeting_pod();
    EXPECT_EQ(pod_point_valid, 0);
    EXPECT_EQ(designated_target.kind, TARGET_NONE);
}

TEST_F(PodTest, ATargetOutsideThePodsFieldGivesWayToTheFirstLasedContact) {
    const struct {
        const char* name;
        int32_t distance;
        double degrees;
        bool kept;
    } cases[] = {
        {"20 degrees off at 5 nm: kept", 5 * NAUTICAL_MILE, 20, true},
        {"50 degrees off at 5 nm", 5 * NAUTICAL_MILE, 50, false},
        {"ahead at 11 nm", 11 * NAUTICAL_MILE, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        contacts.clear();
        contact(3 * NAUTICAL_MILE, 5, false);
        const Target* lased = contact(4 * NAUTICAL_MILE, -5, true);
        link_contacts();
        pod_target = mobile(tank(ENEMY, bearing(c.distance, c.degrees)));
        update_pod_track(0);
        EXPECT_EQ(designated_target.object, c.kept ? pod_target.object : lased->object);
        pod_target.kind = TARGET_NONE;
    }
}

TEST_F(PodTest, StepsMoveAmongTheLasedContactsRoundTheList) {
    const Target* a = contact(3 * NAUTICAL_MILE, 0, true);
    contact(4 * NAUTICAL_MILE, 0, false);
    const Target* b = contact(5 * NAUTICAL_MILE, 0, true);
    const Target* c = contact(6 * NAUTICAL_MILE, 0, true);
    link_contacts();
    update_pod_track(0);
    EXPECT_EQ(designated_target.object, a->object);
    for (const auto& [step, expected] : std::vector<std::pair<int, const Target*>>{{1, b}, {1, c}, {1, a}, {2, c}}) {
        update_pod_track(step);
        EXPECT_EQ(designated_target.object, expected->object) << step;
        EXPECT_EQ(pod_step_request, 0);
    }
}

TEST_F(PodTest, WithNoContactsNothingIsDesignated) {
    designated_target = mobile(tank(ENEMY, ahead(2 * NAUTICAL_MILE)));
    pod_track_mode = 1;
    pod_point_valid = 1;
    link_contacts();
    update_pod_track(0);
    EXPECT_EQ(designated_target.kind, TARGET_NONE);
    EXPECT_EQ(pod_point_valid, 0);
    Target bad = {};
    bad.kind = 7;
    pod_target = bad;
    EXPECT_DEATH(update_pod_track(0), "unknown object type 7");
}

TEST_F(PodTest, ABombOtherThanAGbuForcesAutomaticTracking) {
    const struct {
        int weapon;
        int asked, mode;
    } cases[] = {{WEAPON_GBU_12, 0, 0}, {WEAPON_GBU_10, 1, 1}, {WEAPON_CBU15, 0, 1}, {WEAPON_AGM_65G, 0, 1}};
    for (const auto& c : cases) {
        pod_zoom = 9;
        selected_weapon = c.weapon;
        pod_track_mode = 1 - c.asked;
        set_pod_track_mode(c.asked);
        EXPECT_EQ(get_pod_track_mode(), c.mode) << c.weapon;
        EXPECT_EQ(pod_zoom, 1);
    }
}

TEST_F(PodTest, TheDesignatedGroundPoint) {
    Drone* target = tank(ENEMY, ahead(3 * NAUTICAL_MILE, 1000));
    Drone* flier = fighter(ENEMY, ahead(3 * NAUTICAL_MILE, 0, ALTITUDE));
    const struct {
        const char* name;
        bool pod_page, point, laser_failed, pod_fitted;
        Drone* designated;
        bool answered;
        Vector3 at;
    } cases[] = {
        {"pod page with a point", true, true, false, true, nullptr, true, {START.x + 77, START.y + 99, 0}},
        {"pod page without a point", true, false, false, true, target, false, {}},
        {"laser failed", true, true, true, true, nullptr, false, {}},
        {"another page, a ground target", false, false, false, true, target, true, ahead(3 * NAUTICAL_MILE, 1000)},
        {"another page, no pod", false, false, false, false, target, false, {}},
        {"another page, an air target", false, false, false, true, flier, false, {}},
        {"another page, nothing designated", false, true, false, true, nullptr, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        left_mfd_page = c.pod_page ? MFD_POD : MFD_RADAR;
        pod_point_valid = c.point;
        pod_point_x = START.x + 77;
        pod_point_y = START.y + 99;
        system_failures = {};
        if (c.laser_failed) set_failure(FAIL_LASER);
        sensor_slots[0].sensor_type = c.pod_fitted ? SENSOR_TYPE_TARGETING_POD : SENSOR_TYPE_NONE;
        designated_target = c.designated ? mobile(c.designated) : Target{};
        Vector3 out = {-1, -1, -1};
        EXPECT_EQ(get_designated_ground_point(out), c.answered ? 1 : 0);
        if (c.answered) {
            EXPECT_EQ(out.x, c.at.x);
            EXPECT_EQ(out.y, c.at.y);
            EXPECT_EQ(out.z, 0);
        }
    }
}

TEST_F(PodTest, TheRayMeetsARidgeWithin100Units) {
    // A ridge 3,000 ft high along the post column two posts east of the aircraft.
    const int column = (START.x >> 20) + 2;
    for (int j = 0; j < TERRAIN_POSTS; ++j) terrain_posts[column][j].height = 3000;
    terrain_max_height = 3000 * FOOT;
    for (const double degrees : {-5.0, -20.0, -45.0}) {
        SCOPED_TRACE(degrees);
        const Vector3 line = pod_direction(90 * DEGREE, uint32_t(int32_t(degrees * 11930464.7)));
        const Vector3 start = {START.x, START.y, 5000 * FOOT};
        const int32_t d = pod_ray_to_ground(POD_MAX_RANGE, start, line);
        ASSERT_LT(d, POD_MAX_RANGE);
        const auto height_above = [&](double t) {
            const Vector3 p = point_along(start, line, t);
            return p.z - get_ground_height(p.x, p.y);
        };
        // The first crossing, found finely: the answer lies within 100 units before it.
        double lo = 0, hi = d + 200.0;
        ASSERT_LT(height_above(hi), 0);
        for (double t = 0; t < hi; t += 64)
            if (height_above(t) < 0) {
                hi = t;
                break;
            }
        lo = hi - 64;
        while (hi - lo > 0.5) {
            const double mid = (lo + hi) / 2;
            (height_above(mid) < 0 ? hi : lo) = mid;
        }
        EXPECT_LE(d, lo + 1);
        EXPECT_GE(d, lo - 100);
    }
    // Looking up from below 27,000 ft meets nothing within the range.
    EXPECT_EQ(pod_ray_to_ground(POD_MAX_RANGE, START, pod_direction(0, 10 * DEGREE)), POD_MAX_RANGE);
    // From above 27,000 ft a level line meets nothing.
    EXPECT_EQ(pod_ray_to_ground(POD_MAX_RANGE, {START.x, START.y, 30000 * FOOT}, pod_direction(0, 0)), POD_MAX_RANGE);
    for (int j = 0; j < TERRAIN_POSTS; ++j) terrain_posts[column][j].height = 0;
    terrain_max_height = 0;
}

}  // namespace
}  // namespace vyr
