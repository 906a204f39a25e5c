#include "source/weapons/system_damage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "library/maths/random.h"
#include "source/avionics/failures.h"
#include "source/avionics/messages.h"
#include "source/drone/drone.h"
#include "source/frame_loop.h"
#include "source/skill.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {
namespace {

// A marker posted below the failures' priority: the lines show the failures' messages, then it.
constexpr const char* MARK = "-";

class SystemDamage : public testing::Test {
protected:
    void SetUp() override {
        saved_user = user_drone;
        user_drone = &drone;
        crashing_off = 0;
        forces_type = 5;
        failure_random_state = 12345;
        game_clock = 1000;
        system_failures = {};
        electrics_first_failure_time = electrics_second_failure_time = 0;
        for (SensorSlot& slot : sensor_slots) slot.sensor_type = SENSOR_TYPE_NONE;
    }
    void TearDown() override {
        user_drone = saved_user;
        forces_type = 0;
        system_failures = {};
        for (SensorSlot& slot : sensor_slots) slot.sensor_type = SENSOR_TYPE_NONE;
        init_message_area();
    }

    // A hit adding `damage`, then the messages it posted in order.
    std::vector<std::string> hit(int damage) {
        init_message_area();
        drone.damage = uint8_t(drone.damage + damage);
        damage_player_systems();
        post_message(MARK, 1, 400);
        fill_message_lines();
        std::vector<std::string> posted;
        for (const char* line : message_lines) {
            if (std::string(line) == MARK) break;
            posted.emplace_back(line);
        }
        return posted;
    }

    // Draws taken from the failure generator since `start`.
    static int draws_since(int32_t start) {
        int n = 0;
        while (start != failure_random_state && n < 1000) {
            next_random(start);
            ++n;
        }
        return n;
    }

    Drone drone{};
    Drone* saved_user = nullptr;
};

std::vector<int> failed_bits() {
    std::vector<int> bits;
    for (int byte = 0; byte < 5; ++byte)
        for (int bit = 0; bit < 8; ++bit)
            if (system_failures.bytes[byte] & (1 << bit)) bits.push_back(byte * 8 + bit);
    return bits;
}

int index_of(FailureBit bit) {
    for (int i = 0; i < 8; ++i)
        if (bit.mask == 1 << i) return bit.byte * 8 + i;
    return -1;
}

std::vector<int> indices(std::initializer_list<FailureBit> bits) {
    std::vector<int> out;
    for (FailureBit bit : bits) out.push_back(index_of(bit));
    std::sort(out.begin(), out.end());
    return out;
}

// From a fixed generator state, a series of hits with a targeting pod fitted gives exactly these
// failures and messages (worked out apart from the code, draw by draw): the light hit of 5 is
// shaken off, the engine fails silently, the HUD FLIR needs the pod and the electrics stamp the
// clock.
TEST_F(SystemDamage, ASeriesOfHitsFailsAFixedListOfSystems) {
    sensor_slots[0].sensor_type = SENSOR_TYPE_TARGETING_POD;
    const struct {
        int damage;
        int damage_after;
        std::vector<std::string> messages;
        std::initializer_list<FailureBit> failed;
    } hits[] = {
        {20, 20, {"Engine Fire", "Radio Fail"}, {FAIL_FIRE, FAIL_RADIO}},
        {5, 20, {}, {FAIL_FIRE, FAIL_RADIO}},
        {15, 35, {"Radar Fail"}, {FAIL_FIRE, FAIL_RADIO, FAIL_RADAR}},
        {14, 49, {"Pressure Loss", "Electric Fail"}, {FAIL_FIRE, FAIL_RADIO, FAIL_RADAR, FAIL_PRESSURE, FAIL_ELECTRICS}},
        {13, 62, {"Surface Damage", "Hud Flir Fail"},
         {FAIL_FIRE, FAIL_RADIO, FAIL_RADAR, FAIL_PRESSURE, FAIL_ELECTRICS, FAIL_HYDRAULICS, FAIL_HUD_FLICKER, FAIL_ENGINE}},
        {20, 82, {"Fuel Leak"},
         {FAIL_FIRE, FAIL_RADIO, FAIL_RADAR, FAIL_PRESSURE, FAIL_ELECTRICS, FAIL_HYDRAULICS, FAIL_HUD_FLICKER, FAIL_ENGINE,
          FAIL_FUEL_LEAK}},
    };
    for (const auto& h : hits) {
        EXPECT_EQ(hit(h.damage), h.messages) << "hit of " << h.damage;
        EXPECT_EQ(drone.damage, h.damage_after);
        EXPECT_EQ(drone.previous_damage, h.damage_after);
        EXPECT_EQ(failed_bits(), indices(h.failed)) << "hit of " << h.damage;
        if (h.damage == 14) {
            EXPECT_EQ(electrics_first_failure_time, 2500);
            EXPECT_EQ(electrics_second_failure_time, 2500);
        }
        game_clock += 500;
    }
    EXPECT_EQ(is_laser_failed(), 0);
}

// The same draws without a targeting pod: the HUD FLIR's draw fails nothing.
TEST_F(SystemDamage, PodFailuresNeedTheirPods) {
    for (int damage : {20, 5, 15, 14}) hit(damage);
    EXPECT_EQ(hit(13), std::vector<std::string>{"Surface Damage"});
    EXPECT_FALSE(has_failure(FAIL_HUD_FLICKER));
    EXPECT_TRUE(has_failure(FAIL_ENGINE));
}

TEST_F(SystemDamage, WithCrashingOffNothingFailsAndNothingIsDrawn) {
    crashing_off = 1;
    EXPECT_TRUE(hit(60).empty());
    EXPECT_TRUE(failed_bits().empty());
    EXPECT_EQ(failure_random_state, 12345);
    EXPECT_EQ(drone.damage, 60);
    crashing_off = 0;
}

// A light hit is shaken off, the damage byte back where it was, when the draw mod 100 exceeds
// 9 x (forces type + 1); from forces type 11 on it never is. Nothing fails either way and the last
// checked damage stays.
TEST_F(SystemDamage, ALightHitIsShakenOffByTheDrawAndForcesType) {
    for (int forces : {0, 5, 11}) {
        int shaken = 0;
        for (int32_t seed = 1; seed <= 200; ++seed) {
            forces_type = forces;
            failure_random_state = seed;
            int32_t copy = seed;
            const bool expect_shaken = next_random(copy) % 100 > 9 * (forces + 1);
            drone.damage = drone.previous_damage = 30;
            hit(5);
            EXPECT_EQ(drone.damage, expect_shaken ? 30 : 35) << forces << " " << seed;
            EXPECT_EQ(drone.previous_damage, 30);
            shaken += expect_shaken;
        }
        if (forces == 11) {
            EXPECT_EQ(shaken, 0);
        } else if (forces == 0) {
            EXPECT_GT(shaken, 150);
        }
    }
    EXPECT_TRUE(failed_bits().empty());
}

// A pass for each 10 points of the damage byte: 0 -> 8 is a light hit of one draw and no pass;
// 0 -> 35 runs three passes of 6 or 7 draws each (two passes would take at most 14, four at least 24).
TEST_F(SystemDamage, TheFailureLoopRunsAPassForEveryTenPoints) {
    forces_type = 11;
    hit(8);
    EXPECT_EQ(draws_since(12345), 1);
    EXPECT_TRUE(failed_bits().empty());
    for (int32_t seed = 1; seed <= 50; ++seed) {
        drone.damage = drone.previous_damage = 0;
        system_failures = {};
        failure_random_state = seed;
        hit(35);
        const int draws = draws_since(seed);
        EXPECT_GE(draws, 18) << seed;
        EXPECT_LE(draws, 21) << seed;
    }
}

// Whatever is drawn, a system already failed is neither failed again nor announced.
TEST_F(SystemDamage, AFailedSystemIsNotAnnouncedAgain) {
    sensor_slots[0].sensor_type = SENSOR_TYPE_TARGETING_POD;
    sensor_slots[1].sensor_type = SENSOR_TYPE_RECON_POD;
    sensor_slots[3].sensor_type = SENSOR_TYPE_ECM_POD;
    for (uint8_t& byte : system_failures.bytes) byte = 0xff;
    clear_failure(FAIL_DATA_DISPLAY);  // the lines stay readable
    for (int32_t seed = 1; seed <= 20; ++seed) {
        failure_random_state = seed;
        drone.damage = drone.previous_damage = 0;
        EXPECT_TRUE(hit(90).empty()) << seed;
    }
}

// From a damage byte of 24 on, a fifth of the attempts go critical whatever the severity; below
// it an attempt of severity 0 fails nothing.
TEST_F(SystemDamage, FromTwentyFourAFifthOfAttemptsGoCritical) {
    for (int damage : {23, 24, 100}) {
        drone.damage = uint8_t(damage);
        int critical = 0;
        for (int i = 0; i < 2000; ++i) {
            system_failures = {};
            fail_random_system(-1.0f, 1);
            critical += !failed_bits().empty();
        }
        if (damage < 24)
            EXPECT_EQ(critical, 0);
        else
            EXPECT_NEAR(critical / 2000.0, 0.2, 0.03) << damage;
    }
}

}  // namespace
}  // namespace vyr
