// The world the soldiers' brain and body are tested in: a mission's drones over flat ground with
// the movements loaded, a round pool to fire into, and trucks of the test's own to fire at.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "library/3dvisual/view.h"
#include "source/drone/drone_update.h"
#include "source/drone/formations.h"
#include "source/drone/soldier_moves.h"
#include "source/drone/soldiers.h"
#include "source/skill.h"
#include "source/weapons/weapon_info.h"
#include "tests/source/drone/mission_world.h"
#include "tests/source/weapons/round_world.h"

namespace vyr {

constexpr int SOLDIER_SQUAD = 90;  // a leader (916) and three riflemen abreast
constexpr int TRUCK = 64;
constexpr int AK47 = 46;

struct RoutePoint {
    int type;
    int32_t x, y;
    int32_t speed = 2000;
    int32_t wait = 0;
};

class SoldierWorld : public RoundWorld {
protected:
    int war_zone() const override { return WAR_ZONE_ISRAEL; }

    void SetUp() override {
        RoundWorld::SetUp();
        if (IsSkipped()) return;
        load_human_movements();
        game_clock = 1000;
        forces_type = 7;  // rate and burst at 100 %
        view_settings.weather = 0;
        reset_human_death_counter();
    }
    void TearDown() override {
        destroy_all_tasks();  // while the tile lists still hold the soldiers
        view_settings.weather = 0;
        RoundWorld::TearDown();
    }

    // A leader of `object` at `at` facing north with its formation's members about it, on the
    // route given (a point without a route when none).
    Drone* make(int32_t object, int formation = 0, std::vector<RoutePoint> route = {},
                Vector3 at = {1 << 24, 1 << 24, 0}, int side = SIDE_ALLIED) {
        Task* task = create_task();
        set_task_side(task, side);
        Drone* drone = create_drone(task);
        set_drone_type(drone, object);
        if (formation) set_drone_formation(drone, formation);
        for (const RoutePoint& r : route) {
            Waypoint* w = append_waypoint(drone);
            set_waypoint_position(w, r.x, r.y, 0);
            set_waypoint_type(w, r.type);
            w->speed = r.speed;
            w->wait = r.wait;
        }
        int row = formation ? formation_table[formation].count - 1 : 0;
        for (Drone* d : group_of(drone)) {
            const int32_t x = d == drone ? 0 : formation_table[formation].rows[row].x;
            place_mobile_object(&d->object, at.x + x, at.y, 0);
            set_identity_matrix(d->pose.matrix);
            d->heading = 0;
            if (d != drone) set_figure_formation_row(d->class_record, row--, 0);
            link_mobile_object(&d->object);
        }
        return drone;
    }

    // Armed with `rounds` of the weapon in slot 0, its reach the weapon's, as the loadout arms a
    // drone of one loaded slot; with none it is unarmed.
    static void arm(Drone* drone, int weapon = AK47, int32_t rounds = 30) {
        const bool armed = rounds > 0;
        drone->weapon_id = armed ? weapon : 0;
        drone->weapon_slot = 0;
        drone->weapon_slots[0] = {rounds, 0};
        drone->mission_flags &= ~(DRONE_FLAG_ARMED | DRONE_FLAG_SINGLE_WEAPON);
        if (armed) drone->mission_flags |= DRONE_FLAG_ARMED | DRONE_FLAG_SINGLE_WEAPON;
        drone->ground_min_range = drone->air_min_range = weapon_info[weapon].min_range;
        drone->ground_max_range = drone->air_max_range = weapon_info[weapon].max_range;
    }

    Drone* truck(const Vector3& at) { return drone_at(at, 0, TRUCK); }

    static std::vector<Drone*> group_of(Drone* leader) {
        std::vector<Drone*> group;
        for (Drone* d = leader; d; d = next_group_member(d)) group.push_back(d);
        return group;
    }

    // Steps the group's frames of 1/100 s until `done` or `limit` frames; answers the frames run.
    template <typename Done>
    int run(Drone* leader, Done done, int limit = 20000) {
        int frames = 0;
        while (!done() && frames < limit) {
            update_human_drone(leader);
            game_clock += 2;
            ++frames;
        }
        return frames;
    }
};

inline HumanFigure& figure(Drone* drone) { return *drone->class_record; }

}  // namespace vyr
