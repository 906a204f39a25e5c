// The round world with the drone pool and type table, for the drones' weapons and reactions:
// drones of real types and tasks placed and linked where the tests want them, the war seed fixed,
// clear weather, no laser, no ship's call yet.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "library/3dvisual/view.h"
#include "source/drone/drone_types.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/drone_update.h"
#include "source/drone/drone_war.h"
#include "source/drone/wingman.h"
#include "source/warmodel/war_model.h"
#include "source/weapons/launch.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapons_frame.h"
#include "tests/source/drone/mission_fixture.h"
#include "tests/source/weapons/round_world.h"

namespace vyr {

constexpr int FIGHTER = 231;     // gun 60, bombs 58, AIM-9M, Sparrow
constexpr int BOMBER = 225;      // gun 60, bombs 58, AIM-9M
constexpr int SAM_SITE = 80;     // Patriot in slot 2 only
constexpr int HELICOPTER = 607;  // gun, rockets, gun pods, R60
constexpr int GUNSHIP = 990;     // armed much as 607, but infrared seekers hold on to it
constexpr int TANK = 68;
constexpr int UNARMED_TYPE = 214;  // a structure
constexpr Vector3 HERE = {1 << 27, 1 << 27, 0};

class ArmedWorld : public RoundWorld {
protected:
    void SetUp() override {
        RoundWorld::SetUp();
        if (IsSkipped()) return;
        init_drone_types();
        forces_type = 0;
        view_settings.weather = 0;
        designator_laser_on = 0;
        last_ship_call_time = -60000;
        reset_drone_bomb_run();
        set_war_seed(12345);
    }
    void TearDown() override {
        clear_rounds();
        destroy_all_tasks();
        selected_drone = watched_drone = user_drone = nullptr;
        view_cycle_leader = view_cycle_drone = nullptr;
        view_settings.weather = 0;
        designator_laser_on = 0;
        designated_target = {};
        RoundWorld::TearDown();
    }

    // A drone of the type for a new task of the side, at the point facing the heading, linked
    // into the world.
    static Drone* unit(int side, int task_type, int object_number, const Vector3& p, uint32_t heading = 0) {
        Task* t = create_task();
        set_task_side(t, side);
        set_task_type(t, task_type);
        Drone* d = create_drone(t);
        set_drone_type(d, object_number);
        d->pose.position = p;
        d->heading = heading;
        build_rotation_matrix(heading, 0, 0, d->pose.matrix);
        link_mobile_object(&d->object);
        return d;
    }
    static Vector3 ahead(int32_t feet, int32_t up = 0) { return {HERE.x, HERE.y + feet * FOOT, HERE.z + up * FOOT}; }

    // Loads the type with one weapon in one slot.
    static void load_type(int object_number, int slot, int weapon_id, int32_t rounds) {
        DroneTypeRow& row = drone_type_table[object_number];
        for (int s = 0; s < DRONE_TYPE_SLOTS; ++s) row.weapons[s] = row.rounds[s] = 0;
        row.weapons[slot] = weapon_id;
        row.rounds[slot] = rounds;
    }

    static int live_rounds(int weapon_id) {
        int n = 0;
        for (const WeaponRound& r : round_pool.slots) n += r.weapon_id == weapon_id && (r.flags & ROUND_LIVE);
        return n;
    }
    static std::vector<WeaponRound*> rounds_of(int weapon_id) {
        std::vector<WeaponRound*> found;
        for (WeaponRound& r : round_pool.slots)
            if (r.weapon_id == weapon_id) found.push_back(&r);
        return found;
    }
};

}  // namespace vyr
