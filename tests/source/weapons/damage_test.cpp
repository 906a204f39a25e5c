#include "source/weapons/damage.h"

#include <gtest/gtest.h>

#include <set>

#include "library/3dvisual/objects.h"
#include "source/recorder.h"
#include "source/skill.h"
#include "source/sknet/game_rules.h"
#include "source/sound/triggers.h"
#include "source/weapons/drone_fire.h"
#include "source/weapons/weapons_frame.h"
#include "tests/library/sound/sound_fixture.h"
#include "tests/source/weapons/impact_world.h"

namespace vyr {
namespace {

constexpr int CHAIN_GUN = 1, HYDRA = 4, BRIDGE = 215, HELICOPTER = 64;

// The impact world heard on the null sound device, with the radio's and explosions' rows loaded.
class Damage : public ImpactWorldOn<SoundTest> {
protected:
    void SetUp() override {
        ImpactWorldOn<SoundTest>::SetUp();
        if (IsSkipped()) return;
        for (int row : {8, 9, 10, 203, 204, 205, 206}) load_tone(row);
        game_mode = GAME_SINGLE;
        crashing_off = 0;
        friendly_fire_calls = 0;
        reset_flight_records();
        header = *get_object_header(HELICOPTER);
    }
    void TearDown() override {
        if (!IsSkipped()) *get_object_header(HELICOPTER) = header;
        game_mode = GAME_SINGLE;
        die_flag = 0;
        reset_flight_records();
        ImpactWorldOn<SoundTest>::TearDown();
    }

    static void set_side(Drone* drone, int side) {
        drone->object.flags = (drone->object.flags & ~(3 << INSTANCE_SIDE_SHIFT)) | (side << INSTANCE_SIDE_SHIFT);
    }
    // A round of the weapon shot by the target, outside the pool and without a model.
    WeaponRound* round_of(int weapon_id, Target* shooter) {
        WeaponRound& round = rounds.emplace_back();
        init_round_slot(&round, weapon_id, shooter);
        return &round;
    }

    ObjectHeader header{};
    std::deque<WeaponRound> rounds;
};

// The type's hardness and the weapon's blast, damage and penetration as the row says; the hit at
// the distance.
TEST_F(Damage, HitDamageFallsWithDistanceHardnessAndPenetration) {
    Drone* shooter = drone_at({CENTRE, CENTRE, 0});
    const struct {
        int32_t hard, pen, blast, value, distance, damage;
    } cases[] = {
        {0, 0, 1000, 100, 2001, 0},   // beyond twice the blast
        {0, 0, 1000, 100, 0, 100},
        {0, 0, 1000, 100, 1, 100},    // 99.9, rounded
        {3, 0, 1000, 100, 0, 25},     // reach 250, a quarter of the value
        {3, 0, 1000, 100, 250, 0},    // at the reach
        {5, 2, 1200, 100, 0, 25},     // a quarter: hardness 5 against penetration 2
        {2, 4, 1000, 100, 0, 100},    // penetration above hardness: all of it
        {3, 3, 1000, 100, 125, 50},   // half way to the reach
    };
    for (const auto& c : cases) {
        get_object_header(HELICOPTER)->hardness = c.hard;
        WeaponInfo& weapon = weapon_info[HYDRA];
        weapon.penetration = c.pen;
        weapon.blast_radius = c.blast;
        weapon.damage = c.value;
        random_seed = 12345;  // its first draw is large enough for every row
        EXPECT_EQ(compute_hit_damage(HELICOPTER, round_of(HYDRA, &shooter->target), c.distance), c.damage)
            << c.hard << " " << c.pen << " " << c.distance;
    }
}

// The chance of damage is 1 - distance / blast: half the hits at half the blast radius.
TEST_F(Damage, TheChanceOfDamageFallsLinearlyWithDistance) {
    Drone* shooter = drone_at({CENTRE, CENTRE, 0});
    get_object_header(HELICOPTER)->hardness = 0;
    weapon_info[HYDRA].blast_radius = 1000;
    weapon_info[HYDRA].damage = 100;
    for (const auto& [distance, chance] : {std::pair{500, 0.5}, std::pair{200, 0.8}, std::pair{900, 0.1}}) {
        int hits = 0;
        for (int i = 0; i < 2000; ++i) hits += compute_hit_damage(HELICOPTER, round_of(HYDRA, &shooter->target), distance) > 0;
        EXPECT_NEAR(hits / 2000.0, chance, 0.05) << distance;
    }
}

// In a deathmatch any hit within twice the blast does 12..35; the chain gun 1 a quarter of the
// time. Elsewhere an enemy shooter's damage is scaled by the forces' skill.
TEST_F(Damage, DeathmatchesAndEnemyShootersChangeTheDamage) {
    Drone* shooter = drone_at({CENTRE, CENTRE, 0});
    get_object_header(HELICOPTER)->hardness = 0;
    const int32_t blast = weapon_info[HYDRA].blast_radius;
    game_mode = GAME_COMBAT;
    std::set<int32_t> seen;
    int ones = 0;
    for (int i = 0; i < 2000; ++i) {
        seen.insert(compute_hit_damage(HELICOPTER, round_of(HYDRA, &shooter->target), 2 * blast));
        ones += compute_hit_damage(HELICOPTER, round_of(CHAIN_GUN, &shooter->target), 0);
    }
    EXPECT_EQ(*seen.begin(), 12);
    EXPECT_EQ(*seen.rbegin(), 35);
    EXPECT_EQ(seen.size(), 24u);
    EXPECT_NEAR(ones / 2000.0, 0.25, 0.04);
    EXPECT_EQ(compute_hit_damage(HELICOPTER, round_of(HYDRA, &shooter->target), 2 * blast + 1), 0);
    game_mode = GAME_SINGLE;
    forces_type = 0;
    weapon_info[HYDRA].blast_radius = 1000;
    weapon_info[HYDRA].damage = 200;
    set_side(shooter, 2);
    random_seed = 12345;
    EXPECT_EQ(compute_hit_damage(HELICOPTER, round_of(HYDRA, &shooter->target), 0), 200 * get_skill_damage_percent() / 100);
}

// Drones of this machine spare their own side; the player's drone and ground objects do not
// count as such drones, but a ground object of the victim's side spares it too.
TEST_F(Damage, OnlyPlayersAndMoversThatAreNoDronesHurtTheirOwnSide) {
    place_objects({{BRIDGE, {CENTRE + 5000 * FOOT, CENTRE, 0}}});
    object(0)->flags = uint16_t(1 << GROUND_SIDE_SHIFT);
    Target* site = new_ground_object_target(object(0), object_position(0));
    const struct {
        int shooter_side;
        int player;
        bool ground;
        int victim_side;
        bool hurt;
    } cases[] = {{1, -1, false, 1, false}, {1, 0, false, 1, true}, {2, -1, false, 1, true},
                 {1, -1, true, 1, false}, {1, -1, true, 2, true}};
    for (const auto& c : cases) {
        Drone* shooter = drone_at({CENTRE, CENTRE - 1000 * FOOT, 0});
        shooter->player = c.player;
        set_side(shooter, c.shooter_side);
        Drone* victim = drone_at({CENTRE, CENTRE, 0}, 0, HELICOPTER);
        victim->player = -1;
        set_side(victim, c.victim_side);
        WeaponRound* round = round_of(HYDRA, c.ground ? site : &shooter->target);
        random_seed = 12345;
        apply_hit_damage(&victim->object, round, victim->pose.position);
        EXPECT_EQ(victim->damage > 0 || victim->destroyed, c.hurt)
            << c.shooter_side << " " << c.player << " " << c.ground << " " << c.victim_side;
        unlink_mobile_object(&victim->object);
        unlink_mobile_object(&shooter->object);
    }
    release_target(site);
}

// A kill is recorded with its killer as the debrief counts it: the player, or the shooter's forces,
// a neutral shooter counting as the enemy's; a round shot from a fixed point ends the program.
TEST_F(Damage, AKillRecordsItsKillerByTheShootersSide) {
    place_objects({{BRIDGE, {CENTRE + 5000 * FOOT, CENTRE, 0}}});
    Target* site = new_ground_object_target(object(0), object_position(0));
    Drone* allied = drone_at({CENTRE, CENTRE - 1000 * FOOT, 0});
    set_side(allied, 1);
    Drone* player = player_with_route({});
    set_side(player, 1);
    const struct {
        Target* shooter;
        int32_t killer;
    } cases[] = {{site, 2}, {&allied->target, 1}, {&player->target, 3}};
    for (const auto& c : cases) {
        reset_flight_records();
        Drone* victim = drone_at({CENTRE, CENTRE, 0}, 0, HELICOPTER);
        kill_drone_by_round(&victim->object, round_of(HYDRA, c.shooter));
        EXPECT_TRUE(victim->destroyed);
        ASSERT_NE(first_event_block, nullptr);
        const FlightEventRecord& r = first_event_block->records[0];
        EXPECT_EQ(r.kind, RECORD_MOBILE_OBJECT);
        EXPECT_EQ(r.value4, c.killer);
        EXPECT_EQ(r.reference, reinterpret_cast<intptr_t>(victim));
    }
    Target* point = new_fixed_point_target({CENTRE, CENTRE, 0});
    Drone* victim = drone_at({CENTRE, CENTRE, 0}, 0, HELICOPTER);
    WeaponRound* strange = round_of(HYDRA, point);
    EXPECT_DEATH(kill_drone_by_round(&victim->object, strange), "Killed by something strange!");
    release_target(point);
    release_target(site);
}

// Sections of the same bridge within 500 ft fall with it; one farther stands. The section hit
// turns into its wreck.
TEST_F(Damage, ABridgeSectionFellsItsNeighboursWithin500Ft) {
    place_objects({{BRIDGE, {CENTRE + 1000 * FOOT, CENTRE + 1000 * FOOT, 0}},
                   {BRIDGE, {CENTRE + 1200 * FOOT, CENTRE + 1000 * FOOT, 0}},
                   {BRIDGE, {CENTRE + 1400 * FOOT, CENTRE + 1000 * FOOT, 0}},
                   {BRIDGE, {CENTRE + 1000 * FOOT, CENTRE + 2000 * FOOT, 0}}});
    Drone* gunner = drone_at({CENTRE, CENTRE, 0});
    destroy_ground_object(object(1), object_position(1), round_of(HYDRA, &gunner->target));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(object(i)->flags & GROUND_DESTROYED) << i;
    EXPECT_EQ(object(1)->type, get_object_header(BRIDGE)->destroyed_type);  // its wreck shows
    EXPECT_EQ(object(0)->type, BRIDGE);
    EXPECT_FALSE(object(3)->flags & GROUND_DESTROYED);
}

// The first allied kill is silent; then the four calls in turn, and round again.
TEST_F(Damage, AlliedKillsByThePlayerCycleThroughTheFriendlyFireCalls) {
    Drone* player = player_with_route({});
    get_object_header(HELICOPTER)->gameplay_flags |= OBJECT_TARGET_FLAG;
    const int expected[] = {-1, 204, 203, 205, 206, 204};
    for (int sample : expected) {
        check_friendly_fire(round_of(HYDRA, &player->target), 1, HELICOPTER, nullptr);
        EXPECT_EQ(radio_channel < 0 ? -1 : channel_sample(radio_channel), sample);
        if (radio_channel >= 0) stop_channel(radio_channel);
        radio_channel = -1;
    }
    get_object_header(HELICOPTER)->gameplay_flags &= ~OBJECT_TARGET_FLAG;
    check_friendly_fire(round_of(HYDRA, &player->target), 1, HELICOPTER, nullptr);
    EXPECT_EQ(radio_channel, -1);  // no target type: nothing said, nothing counted
    EXPECT_EQ(friendly_fire_calls, 2);
}

TEST_F(Damage, ThePlayersAircraftAtItsStrengthEndsTheFlightUnlessCrashingIsOff) {
    Drone* player = player_with_route({});
    link_mobile_object(&player->object);
    set_side(player, 1);
    Drone* enemy = drone_at({CENTRE, CENTRE, 0});
    set_side(enemy, 2);
    for (int off : {1, 0}) {
        crashing_off = off;
        die_flag = 0;
        player->damage = uint8_t(get_object_header(HELICOPTER)->strength - 1);
        weapon_info[HYDRA].damage = 200;
        random_seed = 12345;
        apply_hit_damage(&player->object, round_of(HYDRA, &enemy->target), player->pose.position);
        EXPECT_EQ(die_flag, off ? 0 : END_SHOT_DOWN) << off;
        EXPECT_EQ(player->damage, off ? get_object_header(HELICOPTER)->strength - 1 : 0) << off;
    }
    EXPECT_EQ(killer_object_number, 64);
}

// The whole road: a gun drone fires at a helicopter hovering 200 ft up; the round flies, strikes,
// kills it, records the kill, and the blast is heard.
TEST_F(Damage, AGunsRoundFliesStrikesAndKillsAHoveringHelicopterWithABlastHeard) {
    view_camera_pose.position = {CENTRE, CENTRE - 500 * FOOT, 0};
    Drone* gun = drone_at({CENTRE, CENTRE - 1000 * FOOT, 0});
    set_side(gun, 2);
    Drone* helicopter = drone_at({CENTRE, CENTRE, 200 * FOOT}, 0, HELICOPTER);
    helicopter->drone_class = DRONE_CLASS_HELICOPTER;
    set_side(helicopter, 1);
    weapon_info[CHAIN_GUN].damage = 200;
    bool heard = false;
    for (int shot = 0; shot < 50 && !helicopter->destroyed; ++shot) {
        WeaponRound* round = nullptr;
        if (launch_drone_weapon(&gun->target, &helicopter->target, CHAIN_GUN, gun, round) != DRONE_SHOT_FIRED) continue;
        for (int step = 0; step < 200 && round->weapon_id == CHAIN_GUN; ++step) update_rounds();
        for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel)
            heard |= channel_status(channel) == SOUND_PLAYING && channel_sample(channel) >= 8 && channel_sample(channel) <= 10;
    }
    EXPECT_TRUE(helicopter->destroyed);
    EXPECT_TRUE(helicopter->object.flags & INSTANCE_INACTIVE);
    ASSERT_NE(first_event_block, nullptr);
    EXPECT_EQ(first_event_block->records[0].kind, RECORD_MOBILE_OBJECT);
    EXPECT_TRUE(heard);
}

}  // namespace
}  // namespace vyr
