#include "source/drone/soldier_brain.h"

#include <algorithm>

#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "library/maths/trig.h"
#include "source/drone/drone.h"
#include "source/drone/drone_war.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/formations.h"
#include "source/drone/soldier_body.h"
#include "source/drone/soldiers.h"
#include "source/frame_loop.h"
#include "source/skill.h"
#include "source/warmodel/sector_search.h"
#include "source/weapons/drone_fire.h"
#include "source/weapons/weapon_info.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/soldier_brain";

constexpr int32_t ADVANCE_SEARCH_DELAY = 2000;  // 10 s between looks for enemies on the march
constexpr int32_t TARGET_SEARCH_DELAY = 40;
constexpr int32_t FIGHTING_DISTANCE = 0x3200;  // 50 ft past the waypoint
constexpr int32_t FIGHTING_SPREAD = 4;          // the formation's offsets, spread out
constexpr int32_t NEAR_AIRCRAFT = 0x138800;     // 5,000 ft
constexpr int32_t NEAR_SURFACE = 0x9c400;       // 2,500 ft
constexpr int32_t DOOR_OFFSET = 0x200;
constexpr int32_t RUN_OUT_OFFSET = 0x1800;

HumanFigure* figure_of(const Drone* drone) { return drone->class_record; }

bool is_leader(const HumanFigure* figure) { return figure->flags & HUMAN_GROUP_LEADER; }

bool is_carrier(const HumanFigure* figure) { return figure->flags & HUMAN_CARRIER; }

bool has_come(int32_t tick) { return game_clock >= tick; }

// The drone that holds the group's route: the group's first leader, who keeps it after falling.
Drone* route_holder(const Drone* drone) { return figure_of(drone)->leader; }

// The enemy's side as the sector lists file it.
int opposite_side(const Drone* drone) { return get_task_side(drone->task) == SIDE_ALLIED ? SIDE_ENEMY : SIDE_ALLIED; }

// A gesture or a wave, played once; the idle timer starts again.
void start_idle_move(Drone* drone, HumanFigure* figure, HumanMove move) {
    figure->animation = choose_human_animation(drone, move);
    figure->animation_time = 0;
    figure->body_state = BODY_GESTURE;
    const uint32_t slot = figure_slot(figure);
    figure->timer = game_clock + (move == HumanMove::WAVE ? wave_delay(slot) : gesture_delay(slot));
}

// The group moves on when its route's wait is over; the route holder keeps the time.
bool wait_is_over(const Drone* drone) { return has_come(figure_of(route_holder(drone))->move_on_time); }

void set_goal(HumanFigure* figure, const Vector3& goal) { figure->goal = {goal.x, goal.y, 0}; }

// First step: the soldier stands on the ground, takes its side, forms a stretcher party when it
// leads one and starts its route.
void initialise_soldier(Drone* drone, HumanFigure* figure) {
    Vector3& p = drone->pose.position;
    p.z = get_ground_height(p.x, p.y);
    const uint32_t side = get_task_side(drone->task) == SIDE_ALLIED ? 2 : 1;
    figure->flags = (figure->flags & ~HUMAN_SIDE_MASK) | side << HUMAN_SIDE_SHIFT;
    form_stretcher_party(drone);
    if (figure->leader == drone && drone->first_waypoint) {
        drone->current_waypoint = drone->first_waypoint;
        figure->move_on_time = game_clock + get_waypoint_wait(drone->first_waypoint);
    }
    figure->timer = game_clock + gesture_delay(figure_slot(figure));
    figure->flags = (figure->flags & ~HUMAN_GESTURE_MASK) | (figure_slot(figure) % 6) << HUMAN_GESTURE_SHIFT;
    figure->flags |= HUMAN_INITIALISED;
}

// The idle timer done, the soldier leaves by the door on its side (odd slots left) and runs clear.
void get_out(Drone* drone, HumanFigure* figure) {
    const Drone* transport = figure->transport;
    const uint32_t slot = figure_slot(figure);
    const int32_t side = slot & 1 ? -1 : 1;
    const Vector3 door = transport_point(transport, side * DOOR_OFFSET, 0x300);
    set_goal(figure, transport_point(transport, side * RUN_OUT_OFFSET, (4 - int32_t(slot)) * 0x100 + 0x300));
    set_drone_position(drone, door.x, door.y, get_ground_height(door.x, door.y));
    drone->heading = transport->heading + uint32_t(side) * 0x40000000u;
    figure->arrival_action = ARRIVE_CLEAR_OF_TRANSPORT;
    link_mobile_object(&drone->object);
    figure->action_state = ACTION_ADVANCE;
    figure->desired_speed = drone->speed = HUMAN_GET_OUT_SPEED;
    figure->animation = choose_human_animation(drone, HumanMove::GET_OUT);
    figure->body_state = BODY_MOVE;
    figure->animation_time = 0;
    figure->flags |= HUMAN_POSE_CHANGED;
}

// The action's rule; false when the body is not to step after it.
bool run_action(Drone* drone, HumanFigure* figure) {
    switch (figure->action_state) {
    case ACTION_WAIT:
    case 1:
        if (is_leader(figure) && wait_is_over(drone) && !(figure->flags & HUMAN_BOARDING)) {
            advance_group_waypoint(route_holder(drone));
        } else if (figure->body_state == BODY_STAND && has_come(figure->timer) && !is_carrier(figure)) {
            start_idle_move(drone, figure, HumanMove::GESTURE);
        }
        return true;
    case ACTION_ADVANCE:
        if (is_leader(figure) && !is_carrier(figure) && has_come(figure->search_time)) {
            if (is_enemy_near(drone)) {
                set_group_action(route_holder(drone), ACTION_ENGAGE);
            } else {
                figure->search_time = game_clock + ADVANCE_SEARCH_DELAY;
            }
        }
        if (figure->action_state == ACTION_ADVANCE && figure->body_state == BODY_STAND) start_formation_walk(drone);
        return true;
    case ACTION_ENGAGE:
        if (figure->body_state != BODY_STAND) return true;
        if (!(figure->flags & HUMAN_IN_POSITION)) {
            figure->body_state = BODY_MOVE;
        } else if (is_leader(figure)) {
            if (has_come(figure->search_time)) {
                set_group_action(route_holder(drone), ACTION_ADVANCE);
                figure->search_time = game_clock + ADVANCE_SEARCH_DELAY;
            }
        } else {
            engage_enemy(drone);
        }
        return true;
    case ACTION_DEFEND:
        if (is_leader(figure) && wait_is_over(drone)) {
            advance_group_waypoint(route_holder(drone));
        } else if (figure->body_state == BODY_STAND) {
            engage_enemy(drone);
            if (!drone->attack_target && has_come(figure->timer) && !is_carrier(figure))
                start_idle_move(drone, figure, HumanMove::GESTURE);
        }
        return true;
    case ACTION_GET_OUT:
        if (!has_come(figure->timer)) return false;
        get_out(drone, figure);
        return true;
    case ACTION_BOARD:
        if (figure->body_state == BODY_STAND) {
            figure->animation = choose_human_animation(drone, HumanMove::WALK);
            figure->body_state = BODY_MOVE;
            drone->speed = HUMAN_START_SPEED;
            figure->animation_time = 0;
        }
        return true;
    case ACTION_REGROUP: report_fatal_error("ACTION_REGROUP - uncoded action state", SOURCE, __LINE__); return false;
    case ACTION_DEAD: return true;
    case ACTION_NO_MORE: report_fatal_error("ACTION_NO_MORE - uncoded action state", SOURCE, __LINE__); return false;
    case ACTION_SIGNAL:
        if (figure->body_state == BODY_STAND && has_come(figure->timer) && !is_carrier(figure))
            start_idle_move(drone, figure, HumanMove::WAVE);
        return true;
    default: report_fatal_error("Unknown action state", SOURCE, __LINE__); return false;
    }
}

Drone* drone_of_target(const Target* target) {
    if (!target || target->kind != TARGET_MOBILE) return nullptr;
    const ObjectInstance* instance = static_cast<const ObjectInstance*>(target->object);
    return instance->owner_kind == OWNER_DRONE ? static_cast<Drone*>(instance->owner) : nullptr;
}

using SectorSearch = Target* (*)(const Vector3&, int, int32_t, int32_t);

void search_for(Drone* drone, SectorSearch search, int32_t shortest, int32_t longest) {
    keep_target_in_range(drone, shortest, longest);
    if (drone->attack_target) return;
    drone->attack_target = search(drone->pose.position, opposite_side(drone), shortest, longest);
    keep_target_in_range(drone, shortest, longest);
    if (Drone* found = drone_of_target(drone->attack_target)) notice_attacker(found, &drone->target);
}

// Shown until the next brain step puts it away.
void show_item(HumanFigure* figure) {
    if (figure->flags & HUMAN_ITEM_MASK) return;
    if (figure->detached_item && figure->item_holder) figure->item_holder->sub_instances[0] = figure->detached_item;
    figure->flags |= 2u << HUMAN_ITEM_SHIFT;
}

}  // namespace

int32_t gesture_delay(uint32_t slot) { return (int32_t(slot) + 20) * 200; }
int32_t wave_delay(uint32_t slot) { return (int32_t(slot) + 4) * 200; }

void update_human_brain(Drone* drone) {
    HumanFigure* figure = figure_of(drone);
    if (figure->flags & HUMAN_FINISHED) return;
    if (!(figure->flags & HUMAN_INITIALISED)) initialise_soldier(drone, figure);
    if (drone->mission_flags & DRONE_FLAG_HIDDEN_PASSENGER) return;
    if (figure->flags & HUMAN_CARRIED) {
        carry_stretcher(drone);
        return;
    }
    put_item_away(figure);
    if (run_action(drone, figure)) update_body(drone);
}

void set_group_action(Drone* drone, int32_t action) {
    for (Drone* d = drone; d; d = next_group_member(d))
        if (d->class_record) set_human_action(d, action);
}

// 1.31 products of the template's offsets, turned toward the waypoint from the soldier.
void set_human_action(Drone* drone, int32_t action) {
    HumanFigure* figure = figure_of(drone);
    if (figure->action_state == ACTION_DEAD) return;
    figure->action_state = action;
    if (action != ACTION_ENGAGE) return;
    const Drone* leader = route_holder(drone);
    const Waypoint* w = leader->current_waypoint;
    int32_t dx = 0, dy = FIGHTING_DISTANCE;
    if (figure->leader != drone && leader->formation_type > 0 && leader->formation_type < FORMATION_TYPES) {
        const FormationRow& row = formation_table[leader->formation_type].rows[figure_slot(figure)];
        dx = FIGHTING_SPREAD * row.x;
        dy = FIGHTING_SPREAD * row.y + FIGHTING_DISTANCE;
    }
    if (w) set_goal(figure, offset_toward(drone, w, dx, dy));
    figure->desired_speed = HUMAN_RUN_SPEED;
    figure->arrival_action = ARRIVE_IN_POSITION;
    figure->flags &= ~HUMAN_IN_POSITION;
}

// Linked machines keep the game's generator in step, so the stance is drawn from it.
void engage_enemy(Drone* drone) {
    search_human_target(drone);
    if (!drone->attack_target) return;
    HumanFigure* figure = figure_of(drone);
    const bool stand = next_game_random() % 2 == 0;
    figure->animation = choose_human_animation(drone, stand ? HumanMove::RAISE_WEAPON : HumanMove::KNEEL_DOWN);
    figure->body_state = stand ? BODY_RAISE : BODY_KNEEL;
    figure->animation_time = 0;
    figure->flags |= HUMAN_POSE_CHANGED;
}

// The next search tick is the drone's reaction time, which soldiers have no other use for: the
// figure's own search time paces the leader's looks for enemies and the gun's searches.
void search_human_target(Drone* drone) {
    if (!(figure_of(drone)->flags & HUMAN_ARMED) || game_clock < drone->reaction_time) return;
    drone->reaction_time = game_clock + TARGET_SEARCH_DELAY;
    switch (drone->object.object_type) {
    case 852: case 917: case 920: case 966: case 988:
        search_human_air_target(drone);
        if (!drone->attack_target) search_human_ground_target(drone);
        break;
    case 916: case 919: case 987:
        search_human_ground_target(drone);
        if (!drone->attack_target) search_human_air_target(drone);
        break;
    case 918: case 921: case 989: search_human_air_target(drone); break;
    default: break;
    }
}

int is_enemy_near(Drone* drone) {
    const int side = opposite_side(drone);
    return find_random_sector_aircraft(drone->pose.position, side, 0, NEAR_AIRCRAFT) ||
           find_random_live_sector_surface(drone->pose.position, side, 0, NEAR_SURFACE);
}

void search_human_air_target(Drone* drone) {
    search_for(drone, find_random_sector_aircraft, drone->air_min_range, drone->air_max_range);
}

void search_human_ground_target(Drone* drone) {
    search_for(drone, find_random_live_sector_surface, drone->ground_min_range, drone->ground_max_range);
}

void keep_target_in_range(Drone* drone, int32_t shortest, int32_t longest) {
    if (!drone->attack_target) return;
    Vector3 at;
    get_target_position(drone->attack_target, at);
    const int64_t dx = at.x - drone->pose.position.x, dy = at.y - drone->pose.position.y;
    const int64_t d = int64_t(isqrt64(uint64_t(dx * dx + dy * dy)));
    if (d > longest || d < shortest) clear_drone_attack_target(drone);
}

int can_human_fire(Drone* drone) {
    // The last round disarms the drone, which then has no shot time: a soldier left so is
    // disarmed for good before anything else is asked.
    if (!(drone->mission_flags & DRONE_FLAG_ARMED)) {
        figure_of(drone)->flags &= ~HUMAN_ARMED;
        return 0;
    }
    if (!has_come(get_next_shot_time(drone)) || !drone->attack_target) return 0;
    const int weapon = choose_drone_weapon(drone);
    if (!weapon) return 0;
    if (get_weapon_rounds(drone) <= 0) {
        figure_of(drone)->flags &= ~HUMAN_ARMED;
        return 0;
    }
    if (weapon_info[weapon].guidance == GUIDANCE_INFRARED && (view_settings.weather == 2 || view_settings.weather == 3))
        return 0;
    return 1;
}

int fire_human_weapon(Drone* drone) {
    const int weapon = choose_drone_weapon(drone);
    if (!can_human_fire(drone)) return 0;
    if (!(weapon_info[weapon].weapon_flags & WEAPON_FLAG_SALVO) && drone->last_round) return 0;
    Target* target = drone->attack_target;
    WeaponRound* round = nullptr;
    const int shot = launch_drone_weapon(&drone->target, target, weapon, drone, round);
    drone->last_round = round;
    if (shot == DRONE_SHOT_NOT_NOW) return 0;
    HumanFigure* figure = figure_of(drone);
    if (weapon == WEAPON_DSHK || weapon == WEAPON_AK47) show_item(figure);
    if (shot == DRONE_SHOT_NO_LINE) {
        drone->last_round = nullptr;
        clear_drone_attack_target(drone);
        return 0;
    }
    use_weapon_round(drone);
    const int32_t rounds = get_weapon_rounds(drone);
    if (rounds <= 0) {
        rearm_weapon_selection(drone);
    } else {
        set_next_shot_time(drone, game_clock + human_shot_interval(weapon, rounds));
    }
    if (Drone* victim = drone_of_target(target)) alert_drone_under_attack(victim, &drone->target);
    return 1;
}

int32_t human_shot_interval(int weapon_id, int32_t shot) {
    const WeaponInfo& weapon = weapon_info[weapon_id];
    int32_t interval = weapon.fire_interval;
    if (weapon.weapon_flags & WEAPON_FLAG_BURST) {
        const int32_t burst = std::max(1, weapon.burst_length * get_skill_burst_percent() / 100);
        if (shot % burst == 0) interval = weapon.burst_pause;
    }
    return interval * get_skill_rate_percent() / 100;
}

}  // namespace vyr
