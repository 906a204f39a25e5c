#include "source/mission/goals.h"

#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "source/drone/drone.h"
#include "source/drone/waypoint.h"
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/mission/game_flow.h"
#include "source/mission/mission_data.h"
#include "source/weapons/round_impact.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

int32_t& goal_damage_tally = runway_damage;
int32_t landing_goal_met = 0;
int32_t soldiers_picked_up = 0;
int32_t soldiers_delivered = 0;
int32_t waypoints_reached = 0;

namespace {

int32_t waypoint_targets_left = 0;
int32_t success_kills_left = 0;
int32_t mission_announced = 0;
void (*mission_announcement)() = nullptr;

Waypoint* route() { return user_drone ? user_drone->first_waypoint : nullptr; }

// A flag left from an earlier mission in the same theatre would make its targets count here.
void clear_mission_target_flags(int16_t* const* table) {
    for (int tile = 0; tile < GAMEPLAY_CELL_COUNT; ++tile) {
        int16_t* list = ground_object_list(table, tile);
        ground_object* records = ground_object_records(list);
        for (int i = 0; i < ground_object_count(list); ++i) records[i].flags &= uint16_t(~GROUND_MISSION_TARGET);
    }
}

void flag_route_targets() {
    for (Waypoint* w = route(); w; w = w->next) {
        if (w->type != WAYPOINT_TARGET) continue;
        ground_object* target = find_nearest_ground_object(w->x, w->y);
        if (!target) continue;
        target->flags |= GROUND_MISSION_TARGET;
        ++waypoint_targets_left;
    }
}

void flag_gameplay_targets() {
    for (const GameplayCell& cell : gameplay_grid) {
        if ((cell.side & 7) != 2) continue;
        for (const GameplayObject* target : cell.target)
            if (target)
                if (ground_object* object = find_nearest_ground_object(target->x, target->y))
                    object->flags |= GROUND_MISSION_TARGET;
    }
}

bool route_targets_standing() {
    for (Waypoint* w = route(); w; w = w->next) {
        if (w->type != WAYPOINT_TARGET) continue;
        const ground_object* target = find_nearest_ground_object(w->x, w->y);
        if (target && !(target->flags & GROUND_DESTROYED)) return true;
    }
    return false;
}

}  // namespace

int has_runway_landing(Waypoint* first) {
    for (Waypoint* waypoint = first; waypoint; waypoint = get_next_waypoint(waypoint)) {
        if (get_waypoint_type(waypoint) != WAYPOINT_TARGET) continue;
        if (get_feature_kind(get_waypoint_x(waypoint), get_waypoint_y(waypoint)) == FEATURE_RUNWAY) return 1;
    }
    return 0;
}

void init_mission_goals() {
    runway_damage = 0;
    runway_destroyed = 0;
    waypoint_targets_left = success_kills_left = mission_announced = 0;
    clear_mission_target_flags(ground_object_tiles);
    clear_mission_target_flags(dynamic_ground_object_tiles);
    flag_route_targets();
    flag_gameplay_targets();
    success_kills_left = mission_success_count;
}

void note_mission_target_destroyed(const ground_object* object) {
    if (!object || !(object->flags & GROUND_MISSION_TARGET)) return;
    --waypoint_targets_left;
    --success_kills_left;
    check_mission_accomplished();
}

void note_mission_drone_killed(const ObjectInstance* object) {
    if (!object || object->owner_kind != OWNER_DRONE) return;
    if (!(static_cast<const Drone*>(object->owner)->mission_flags & DRONE_FLAG_KILL_SUCCESS)) return;
    --success_kills_left;
    check_mission_accomplished();
}

void note_waypoint_reached() {
    ++waypoints_reached;
    check_mission_accomplished();
}

void check_mission_accomplished() {
    if (mission_announced || get_game_flow() == FLOW_QUICK_START) return;
    const bool runway_target = has_runway_landing(route());
    if (!runway_target && route_targets_standing()) return;
    const bool runway_goal_met = landing_goal_met || runway_destroyed;
    const bool met = runway_target ? runway_goal_met
                                   : waypoint_targets_left <= 0 && success_kills_left <= 0 &&
                                         waypoints_reached >= recon_required &&
                                         mined_target_count >= mine_target_count && runway_goal_met;
    if (!met) return;
    mission_announced = 1;
    if (mission_announcement) mission_announcement();
}

void set_mission_announcement(void (*announce)()) { mission_announcement = announce; }

}  // namespace vyr
