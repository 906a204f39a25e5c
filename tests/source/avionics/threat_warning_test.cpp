#include "source/avionics/threat_warning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "source/avionics/panel.h"
#include "source/avionics/views.h"
#include "source/frame_loop.h"
#include "source/weapons/rounds.h"
#include "source/weapons/weapon_info.h"
#include "tests/source/avionics/threat_world.h"
#include "tests/support/recording_plot.h"

namespace vyr {
namespace {

constexpr int32_t S = 0x19999;  // the symbols' half-size, 0.1

class ThreatWarningTest : public ThreatWorld {
protected:
    // An update as the avionics tick runs it.
    void update() {
        clear_sorted_threats();
        update_threat_warning();
    }
    // A ground site of `number` filed where it stands.
    ground_object* site(int number, const Vector3& p, int side = ENEMY) {
        ground_object* record = ground(number, side, p);
        const Target t = ground_target(record, p);
        add_threat(&t);
        return record;
    }
};

TEST_F(ThreatWarningTest, SectorsCoverTheWholeCircle) {
    const struct {
        double degrees;
        int outer, inner;
    } cases[] = {
        {0, 0, 12}, {14.9, 0, 12}, {15.1, 1, 12}, {23.1, 1, 13}, {90, 3, 14}, {179, 6, 16}, {-170, 6, 16}, {180, 6, 16},
        {-22, 11, 12}, {-24, 11, 19}, {-90, 9, 18}, {157, 5, 15}, {-159, 7, 16}, {-114, 8, 17},
    };
    for (const auto& c : cases) {
        const int32_t angle = int32_t(int64_t(c.degrees * 11930464.7));
        EXPECT_EQ(outer_threat_sector(angle), c.outer) << c.degrees;
        EXPECT_EQ(inner_threat_sector(angle), c.inner) << c.degrees;
    }
}

TEST_F(ThreatWarningTest, ASiteIsFiledByRingAndBearing) {
    const struct {
        const char* name;
        int32_t distance;
        double degrees;
        int sector;
    } cases[] = {
        {"10 nm ahead: outside its 2.5 nm, the outer ring", 10 * NAUTICAL_MILE, 0, 0},
        {"2 nm ahead: inside, the inner ring", 2 * NAUTICAL_MILE, 0, 12},
        {"10 nm at 179 degrees", 10 * NAUTICAL_MILE, 179, 6},
        {"2 nm at -170 degrees: the rear sector", 2 * NAUTICAL_MILE, -170, 16},
        {"2 nm at 90 degrees", 2 * NAUTICAL_MILE, 90, 14},
    };
    fly({START.x, START.y, 1000 * FOOT}, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        init_threat_warning();
        const ground_object* record = site(SAM_SITE, bearing(c.distance, c.degrees));
        EXPECT_EQ(sector_of(record), c.sector);
    }
}

TEST_F(ThreatWarningTest, AGroundRadarIlluminatesOnlyFromADegreeAboveItsHorizon) {
    const ground_object* radar = site(EW_RADAR, ahead(20 * NAUTICAL_MILE));
    fly({START.x, START.y, 0}, 0);
    update();
    EXPECT_EQ(threat_warning.groups[sector_of(radar)].head->illuminating, 0);
    EXPECT_EQ(threat_display_count, 0);
    fly({START.x, START.y, 5000 * FOOT}, 0);
    update();
    EXPECT_EQ(threat_warning.groups[sector_of(radar)].head->illuminating, 1);
    ASSERT_EQ(threat_display_count, 1);
    EXPECT_EQ(threat_display_list[0]->target.object, radar);
    // Beyond its 60 nm nothing is seen at any height.
    fly({START.x, START.y - 45 * NAUTICAL_MILE, 40000 * FOOT}, 0);
    update();
    EXPECT_EQ(threat_display_count, 0);
}

TEST_F(ThreatWarningTest, ASectorFilesNineteenAndThePriorityOrdersThem) {
    for (int i = 0; i < 20; ++i) site(SAM_SITE, ahead(10 * NAUTICAL_MILE + i * 1000 * FOOT, i * 100 * FOOT));
    const ThreatGroup& g = threat_warning.groups[0];
    EXPECT_EQ(g.count, THREAT_SECTOR_LIMIT);
    int listed = 0;
    for (const ThreatSlot* s = g.head; s; s = s->next, ++listed)
        if (s->next) {
            EXPECT_GE(s->priority, s->next->priority);
        }
    EXPECT_EQ(listed, THREAT_SECTOR_LIMIT);
}

TEST_F(ThreatWarningTest, AThreatMovesWithItsBearingAndGoesWhenDestroyed) {
    ground_object* record = site(SAM_SITE, ahead(10 * NAUTICAL_MILE));
    ASSERT_EQ(sector_of(record), 0);
    fly(START, 90 * DEGREE);  // the site now lies 90 degrees to the left
    update();
    EXPECT_EQ(sector_of(record), 9);
    EXPECT_EQ(threat_warning.groups[0].count, 0);
    EXPECT_EQ(threat_warning.groups[9].count, 1);
    record->flags |= GROUND_DESTROYED;
    update();
    EXPECT_EQ(sector_of(record), -1);
    EXPECT_EQ(threat_warning.groups[9].count, 0);
    // Its slot went back: a sector still takes nineteen.
    for (int i = 0; i < 25; ++i) site(SAM_SITE, ahead(10 * NAUTICAL_MILE + i * 1000 * FOOT));
    EXPECT_EQ(threat_warning.groups[9].count, THREAT_SECTOR_LIMIT);
}

TEST_F(ThreatWarningTest, ObjectsThatAreNoEmittersAreNotFiled) {
    const ground_object* house = ground(HOUSE, ENEMY, ahead(5 * NAUTICAL_MILE));
    const Target t = ground_target(const_cast<ground_object*>(house), ahead(5 * NAUTICAL_MILE));
    add_threat(&t);
    EXPECT_EQ(sector_of(house), -1);
    Target unknown = {};
    unknown.kind = 9;
    EXPECT_DEATH(add_threat(&unknown), "unknown target type 9");
}

TEST_F(ThreatWarningTest, LampsFollowTheIlluminatingThreatsAndCallOutsAreSpaced) {
    Drone* interceptor = drone(INTERCEPTOR, DRONE_CLASS_AIRCRAFT, ENEMY, ahead(15 * NAUTICAL_MILE, 0, ALTITUDE));
    add_threat(&interceptor->target);
    update();
    // An interceptor that does not go for the player is not shown.
    EXPECT_EQ(threat_lamp_bits & THREAT_LAMP_AIR, 0);
    EXPECT_EQ(threat_display_count, 0);
    interceptor->attack_target = &own.target;
    update();
    EXPECT_EQ(threat_lamp_bits & THREAT_LAMP_AIR, THREAT_LAMP_AIR);
    EXPECT_EQ(threat_display_count, 1);

    site(SAM_SITE, ahead(5 * NAUTICAL_MILE));
    update();
    EXPECT_EQ(threat_lamp_bits & THREAT_LAMP_GROUND, THREAT_LAMP_GROUND);
    flight_data.height_above_ground = 1280;
    update();
    EXPECT_EQ(threat_lamp_bits & THREAT_LAMP_GROUND, 0);

    interceptor->object.flags |= INSTANCE_INACTIVE;
    update();
    EXPECT_EQ(threat_lamp_bits & THREAT_LAMP_AIR, 0);
    EXPECT_EQ(sector_of(&interceptor->object), -1);
}

TEST_F(ThreatWarningTest, TheNearestMissileComesFirstAndTheSectorsEmptyAfterADraw) {
    EXPECT_EQ(nearest_incoming_missile(), NO_INCOMING_MISSILE);
    WeaponRound missile = {};
    const struct {
        double degrees;
        int seconds;
        int weapon_guidance;
    } fired[] = {{0, 9, GUIDANCE_RADAR}, {0, 4, GUIDANCE_INFRARED}, {175, 6, GUIDANCE_RADAR}, {-178, 12, GUIDANCE_RADAR}};
    init_weapon_info();
    int weapon_by_guidance[4] = {};
    weapon_by_guidance[GUIDANCE_RADAR] = WEAPON_AMRAAM;
    weapon_by_guidance[GUIDANCE_INFRARED] = WEAPON_AIM_9M;
    ASSERT_EQ(weapon_info[WEAPON_AMRAAM].guidance, GUIDANCE_RADAR);
    ASSERT_EQ(weapon_info[WEAPON_AIM_9M].guidance, GUIDANCE_INFRARED);
    for (const auto& f : fired) {
        missile.weapon_id = weapon_by_guidance[f.weapon_guidance];
        ASSERT_NE(missile.weapon_id, 0);
        missile.pose.position = bearing(3 * NAUTICAL_MILE, f.degrees, ALTITUDE);
        add_incoming_missile(&missile, f.seconds);
    }
    EXPECT_EQ(nearest_incoming_missile(), 4);
    const MissileSector& front = threat_warning.missiles[0];
    ASSERT_EQ(front.count, 2);
    EXPECT_EQ(front.entries[0].key, 4);
    EXPECT_EQ(front.entries[0].threat_class, THREAT_CLASS_IR_MISSILE);
    EXPECT_EQ(front.entries[1].threat_class, THREAT_CLASS_RADAR_MISSILE);
    const MissileSector& rear = threat_warning.missiles[4];
    ASSERT_EQ(rear.count, 2);
    EXPECT_EQ(rear.entries[0].key, 6);
    for (int i = 0; i < 30; ++i) add_incoming_missile(&missile, 100 + i);
    EXPECT_EQ(threat_warning.missiles[4].count, MISSILE_SECTOR_SLOTS);

    {
        RecordingPlot plot;
        draw_threat_display();
        // The front sector shows its nearest missile, an infrared one; the rear its radar one.
        EXPECT_EQ(threat_lamp_bits & (THREAT_LAMP_IR_MISSILE | THREAT_LAMP_RADAR_MISSILE),
                  THREAT_LAMP_IR_MISSILE | THREAT_LAMP_RADAR_MISSILE);
    }
    // The panel's draw empties them, in an outside view as well as in the cockpit.
    const int32_t kept_view = view_mode;
    view_mode = VIEW_ORBIT_SELF;
    time_acceleration = 1;
    draw_cockpit_panel();
    view_mode = kept_view;
    EXPECT_EQ(nearest_incoming_missile(), NO_INCOMING_MISSILE);
}

// The lines of a recording that lie within the symbol box round (x, y).
std::vector<RecordingPlot::Line> lines_at(const RecordingPlot& plot, int32_t x, int32_t y, int colour) {
    std::vector<RecordingPlot::Line> found;
    for (const auto& l : plot.lines)
        if (l.colour == colour && std::abs(l.x0 - x) <= S && std::abs(l.x1 - x) <= S && std::abs(l.y0 - y) <= S &&
            std::abs(l.y1 - y) <= S)
            found.push_back(l);
    return found;
}

TEST_F(ThreatWarningTest, EachClassHasItsSymbolAndTheBarsMarkCrowdedAndChosenSectors) {
    const struct {
        int number;
        int lines;
    } classes[] = {{EW_RADAR, 5}, {SAM_SITE, 4}, {84, 3}, {INTERCEPTOR, 4}, {SPECIAL, 4}, {316, 4}};
    for (const auto& c : classes) {
        SCOPED_TRACE(c.number);
        init_threat_warning();
        if (c.number != EW_RADAR && c.number != SAM_SITE && c.number != INTERCEPTOR && c.number != SPECIAL)
            add_type(c.number, OBJECT_CATEGORY_BUILDING);
        const Vector3 p = ahead(4 * NAUTICAL_MILE);
        if (c.number == INTERCEPTOR) {
            Drone* d = drone(INTERCEPTOR, DRONE_CLASS_AIRCRAFT, ENEMY, ahead(15 * NAUTICAL_MILE, 0, ALTITUDE));
            d->attack_target = &own.target;
            add_threat(&d->target);
        } else {
            site(c.number, p);
        }
        update();
        RecordingPlot plot;
        draw_threat_display();
        const int sector = threat_display_count ? sector_of(threat_display_list[0]->target.object) : -1;
        ASSERT_GE(sector, 0);
        const ThreatGroup& g = threat_warning.groups[sector];
        EXPECT_EQ(int(lines_at(plot, g.display_x, g.display_y, 217).size()), c.lines);
        // The only threat is the chosen one: two side bars, no top bar.
        const auto bars = lines_at(plot, g.display_x, g.display_y, 221);
        ASSERT_EQ(bars.size(), 2u);
        for (const auto& b : bars) EXPECT_EQ(std::abs(b.x0 - g.display_x), S);
        EXPECT_EQ(threat_lamp_bits & THREAT_LAMP_AIR, c.number == INTERCEPTOR ? THREAT_LAMP_AIR : 0);
    }
    // Two sites in one sector: a bar over the symbol.
    init_threat_warning();
    site(SAM_SITE, ahead(4 * NAUTICAL_MILE));
    site(SAM_SITE, ahead(5 * NAUTICAL_MILE));
    update();
    RecordingPlot plot;
    draw_threat_display();
    const ThreatGroup& g = threat_warning.groups[0];
    const auto bars = lines_at(plot, g.display_x, g.display_y, 221);
    EXPECT_EQ(std::count_if(bars.begin(), bars.end(), [&](const auto& b) { return b.y0 == g.display_y + S && b.y1 == b.y0; }),
              1);
}

class HarmTarget : public ThreatWarningTest {
protected:
    void SetUp() override {
        ThreatWarningTest::SetUp();
        fly({START.x, START.y, 5000 * FOOT}, 0);
        near_radar = site(EW_RADAR, ahead(10 * NAUTICAL_MILE));
        far_radar = site(EW_RADAR, ahead(30 * NAUTICAL_MILE, 2 * NAUTICAL_MILE));
        sam = site(SAM_SITE, ahead(5 * NAUTICAL_MILE, -NAUTICAL_MILE));
        update();
        ASSERT_EQ(threat_display_count, 3);
    }
    const void* display(int i) const { return threat_display_list[i]->target.object; }
    ground_object* near_radar = nullptr;
    ground_object* far_radar = nullptr;
    ground_object* sam = nullptr;
};

TEST_F(HarmTarget, SelectingTheMissileDesignatesTheTopEmitterAndTheKeysStepBothWays) {
    selected_weapon = WEAPON_AGM_88A;
    update();
    ASSERT_EQ(designated_target.kind, TARGET_GROUND_OBJECT);
    EXPECT_EQ(designated_target.object, display(0));
    // Its place is its tile's origin plus its place in the tile (whole feet), on the ground.
    const ground_object* top = static_cast<const ground_object*>(display(0));
    EXPECT_EQ(designated_target.position.x & (TILE - 1), top->x * FOOT);
    EXPECT_EQ(designated_target.position.y & (TILE - 1), top->y * FOOT);
    EXPECT_EQ(designated_target.position.z, 0);
    const struct {
        int step;
        int expected;
    } steps[] = {{1, 1}, {1, 2}, {1, 0}, {2, 2}, {2, 1}};
    for (const auto& s : steps) {
        request_harm_target_step(s.step);
        update();
        EXPECT_EQ(designated_target.object, display(s.expected)) << s.step << " to " << s.expected;
    }
    selected_weapon = 0;
    update();
    EXPECT_EQ(harm_emitter.kind, TARGET_NONE);
}

TEST_F(HarmTarget, ADestroyedEmitterIsDroppedForTheNext) {
    selected_weapon = WEAPON_AGM_88A;
    update();
    ground_object* first = static_cast<ground_object*>(designated_target.object);
    first->flags |= GROUND_DESTROYED;
    update();
    EXPECT_NE(designated_target.object, first);
    EXPECT_EQ(designated_target.kind, TARGET_GROUND_OBJECT);
    EXPECT_EQ(harm_emitter.object, designated_target.object);
    // An allied object designated under the missile is dropped for an emitter.
    ground_object* friendly = ground(EW_RADAR, ALLIED, ahead(6 * NAUTICAL_MILE));
    designated_target = ground_target(friendly, ahead(6 * NAUTICAL_MILE));
    update();
    EXPECT_NE(designated_target.object, friendly);
}

TEST_F(ThreatWarningTest, ScanningFilesTheEnemyRadarSitesAndSpecialEmitters) {
    const ground_object* radar = ground(EW_RADAR, ENEMY, ahead(10 * NAUTICAL_MILE));
    const ground_object* allied = ground(EW_RADAR, ALLIED, ahead(11 * NAUTICAL_MILE));
    const ground_object* sam_site = ground(SAM_SITE, ENEMY, ahead(12 * NAUTICAL_MILE));
    Drone* mobile_radar = drone(EW_RADAR, DRONE_CLASS_TANK, ENEMY, ahead(3 * NAUTICAL_MILE, 2 * NAUTICAL_MILE));
    for (int i = 0; i < 7; ++i) ground(SPECIAL, ENEMY, ahead(20 * NAUTICAL_MILE, i * NAUTICAL_MILE));
    scan_threat_emitters();
    EXPECT_GE(sector_of(radar), 0);
    EXPECT_EQ(sector_of(allied), -1);
    EXPECT_EQ(sector_of(sam_site), -1);
    EXPECT_GE(sector_of(&mobile_radar->object), 0);
    int specials = 0;
    for (const ThreatGroup& g : threat_warning.groups)
        for (const ThreatSlot* s = g.head; s; s = s->next) specials += s->threat_class == THREAT_CLASS_5;
    EXPECT_EQ(specials, 5);
}

}  // namespace
}  // namespace vyr
