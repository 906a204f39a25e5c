// The player's aircraft armed in the round world: flying level at 1,000 ft over flat ground at
// 500 ft/s, north, with the pylon and sensor types loaded, the stores emptied, nothing selected
// or designated and the flight's rules of a single-player game.
#pragma once

#include <cstring>

#include "library/system/key.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/hud.h"
#include "source/avionics/messages.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/sknet/game_rules.h"
#include "source/sound/triggers.h"
#include "source/weapons/release.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_keys.h"
#include "source/weapons/weapons_frame.h"
#include "tests/source/weapons/round_world.h"

namespace vyr {

constexpr Vector3 AIRCRAFT_AT = {1 << 27, 1 << 27, 1000 * FOOT};
constexpr int32_t LEVEL_SPEED = 500 * FOOT;

class StoresWorld : public RoundWorld {
protected:
    void SetUp() override {
        RoundWorld::SetUp();
        if (IsSkipped()) return;
        init_pylon_types();
        init_sensor_types();
        reset_stores();
        for (int h = 0; h < STORES_HARDPOINTS; ++h) empty_hardpoint(h);
        for (SensorSlot& slot : sensor_slots) slot = {};
        player = drone_at(AIRCRAFT_AT);
        user_drone = player;
        fly_at(AIRCRAFT_AT, LEVEL_SPEED);
        player_flight_data = {};
        flight_data = {};
        flight_data.height_above_ground = AIRCRAFT_AT.z;
        flight_data.altitude = AIRCRAFT_AT.z;
        std::memset(&system_failures, 0, sizeof system_failures);
        reset_designation();
        init_hud();
        init_message_area();
        control_mode = CONTROL_BOTH;
        game_mode = GAME_SINGLE;
        die_flag = 0;
        fire_latch = 0;
        unlimited_weapons = 0;
        key_down[SCAN_ALT] = 0;
        internal_gun_fired = gun_rounds_fired = 0;
    }
    void TearDown() override {
        end_gun_burst_sound();  // a burst's sound would outlive the test: no frame stops it
        reset_stores();
        for (int h = 0; h < STORES_HARDPOINTS; ++h) empty_hardpoint(h);
        selected_weapon = 0;
        selected_hardpoint = -1;
        weapon_selected = 0;
        reset_weapon_modes();
        reset_designation();
        RoundWorld::TearDown();
    }

    // Level flight north at the position and speed (world units a second).
    static void fly_at(const Vector3& at, int32_t speed) {
        place_flight_model(at, 0, 0, 0, speed, 0, 0);
        player_position->position = at;
        set_identity_matrix(player_position->matrix);
    }

    // Fits the pylon on the hardpoint (and its mirror), loads the weapon and arms the aircraft.
    static void carry(int hardpoint, int pylon_type, int weapon_id, int count, int quantity = 1) {
        fit_pylon(hardpoint, pylon_type);
        load_hardpoint(hardpoint, weapon_id, quantity, count);
    }

    // A fixed point designated on the ground.
    static void designate_ground_point(const Vector3& at) {
        designated_target = {};
        designated_target.kind = TARGET_FIXED_POINT;
        designated_target.position = at;
    }

    static bool message_shown(const char* text) {
        fill_message_lines();
        for (const auto& line : message_lines)
            if (std::strcmp(line, text) == 0) return true;
        return false;
    }

    Drone* player = nullptr;
};

}  // namespace vyr
