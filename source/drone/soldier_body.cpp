#include "source/drone/soldier_body.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "library/maths/trig.h"
#include "source/drone/drone.h"
#include "source/drone/drone_weapons.h"
#include "source/drone/formations.h"
#include "source/drone/soldier_brain.h"
#include "source/drone/soldier_moves.h"
#include "source/drone/soldiers.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/mission/goals.h"
#include "source/models/intercept.h"
#include "source/weapons/target.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/soldier_body";

constexpr int32_t CARRIER_WALK = 52;
constexpr int32_t GESTURE_VARIANTS = 6;
constexpr int32_t AIM_DELAY = 1000;  // ticks a raised weapon stays up
constexpr int32_t PRONE_DELAY = 1000;
constexpr int32_t ARRIVAL_DISTANCE = 0x500;    // 5 ft
constexpr int32_t GET_IN_DISTANCE = 0xf00;     // 15 ft
constexpr uint32_t WALK_TURN_TOLERANCE = 0xb60b61;  // one degree
constexpr double WALK_TURN_RATE = 0x20000000;       // 45 degrees a second
constexpr double AIM_TURN_RATE = 0x40000000;        // 90 degrees a second
constexpr int32_t CARRIER_TOP_SPEED = 0x6c0;
constexpr int32_t SPEED_STEP = 0x510;  // a second's change toward the desired speed
constexpr int32_t DOOR_SPEED = 0x870;
constexpr int32_t DOOR_SIDE = 0x1800;
constexpr int32_t BOARDING_REACH = 256000;  // 1,000 ft
constexpr int32_t GET_OUT_SPACING = 30;     // ticks between soldiers leaving
constexpr int32_t LEADER_SEARCH_DELAY = 1000;
constexpr double SHORT_STOP_FACTOR = 3 * 0.5924170616113744;
constexpr int32_t HUMAN_ELEVATION_UNIT = 0x1a36e;  // a quarter turn over HUMAN_AIM_UP
constexpr int32_t GUN_ELEVATION_UNIT = 0x83126;    // an eighth of a turn over GUN_AIM_UP
constexpr double HUMAN_AIM_RATE = 20000;           // aim time a second
constexpr double GUN_AIM_RATE = 10000;

// By move, the animation of each weapon set: plain, m, r, s.
constexpr int32_t MOVE_ANIMATIONS[][4] = {
    {0, 0, 11, 17},    // standing
    {1, 6, 12, 18},    // walk
    {2, 7, 13, 19},    // walk_jog
    {3, 8, 14, 20},    // jog
    {4, 9, 15, 21},    // jog_run
    {5, 10, 16, 22},   // run
    {37, 37, 40, 43},  // raise weapon
    {38, 38, 41, 44},  // aim standing
    {39, 39, 42, 45},  // lower weapon
    {31, 31, 34, 43},  // kneel down
    {32, 32, 35, 44},  // aim kneeling
    {33, 33, 36, 45},  // stand up
    {46, 46, 46, 46},  // dive
    {47, 47, 47, 47},  // get up
    {49, 49, 49, 49},  // get out
    {48, 48, 48, 48},  // get in
    {53, 53, 54, 55},  // wave
    {56, 56, 57, 58},  // gesture, variant 0
};

int set_column(SoldierSet set) {
    switch (set) {
    case SoldierSet::PLAIN: return 0;
    case SoldierSet::M: return 1;
    case SoldierSet::R: return 2;
    case SoldierSet::S: return 3;
    case SoldierSet::NONE: break;
    }
    report_fatal_error("Unknown", SOURCE, __LINE__);
    return 0;
}

HumanFigure* figure_of(const Drone* drone) { return drone->class_record; }

bool has_come(int32_t tick) { return game_clock >= tick; }

void play(Drone* drone, HumanMove move) {
    HumanFigure* figure = drone->class_record;
    figure->animation = choose_human_animation(drone, move);
    figure->animation_time = 0;
    figure->flags |= HUMAN_POSE_CHANGED;
}

bool played_to_end(Drone* drone) { return animate_human_by_time(drone) == 2; }

// The raised or kneeling aim: a lost target keeps the pose until the timer lowers the weapon.
void hold_aim(Drone* drone, HumanFigure* figure, HumanMove lower, int32_t next_state) {
    search_human_target(drone);
    if (drone->attack_target) aim_human_weapon(drone);
    if (!has_come(figure->timer)) return;
    play(drone, lower);
    figure->body_state = next_state;
}

void raise_aim(Drone* drone, HumanFigure* figure, HumanMove aim, int32_t next_state) {
    figure->timer = game_clock + AIM_DELAY;
    play(drone, aim);
    figure->body_state = next_state;
}

int64_t horizontal_distance(const Vector3& a, const Vector3& b) {
    const int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
    return int64_t(isqrt64(uint64_t(dx * dx + dy * dy)));
}

// The player's aircraft takes soldiers only while it is loading; the figure's loading flag is
// its answer to this soldier.
bool refused_by_player(Drone* drone, HumanFigure* figure) {
    if (figure->transport == user_drone && !(figure->flags & HUMAN_LOADING)) {
        stop_short_of_transport(drone);
        return true;
    }
    figure->flags &= ~HUMAN_LOADING;
    return false;
}

void update_goal(Drone* drone, HumanFigure* figure) {
    const Drone* transport = figure->transport;
    if (figure->arrival_action == ARRIVE_AT_DOOR) {
        if (refused_by_player(drone, figure)) return;
        const int32_t y = (4 - int32_t(figure_slot(figure))) * 0x100 + 0x300;
        const Vector3 right = transport_point(transport, DOOR_SIDE, y), left = transport_point(transport, -DOOR_SIDE, y);
        const Vector3& p = drone->pose.position;
        figure->goal = horizontal_distance(p, right) <= horizontal_distance(p, left) ? right : left;
    } else if (figure->arrival_action == ARRIVE_ABOARD) {
        const int32_t get_in = MOVE_ANIMATIONS[int(HumanMove::GET_IN)][0];
        if (figure->animation != get_in && refused_by_player(drone, figure)) return;
        figure->goal = transport_point(transport, 0, 0x300);
        figure->goal.z = transport->pose.position.z;
    }
}

// Hidden aboard: the player's aircraft counts each soldier, a stretcher party as three.
void go_aboard(Drone* drone, HumanFigure* figure) {
    drone->mission_flags |= DRONE_FLAG_HIDDEN_PASSENGER;
    figure->action_state = ACTION_NO_MORE;
    unlink_mobile_object(&drone->object);
    int aboard = 1;
    if ((figure->flags & HUMAN_CARRIER) && drone->first_member) {
        Drone* rear = drone->first_member;
        unlink_mobile_object(&rear->object);
        if (rear->next) unlink_mobile_object(&rear->next->object);
        aboard = 3;
    }
    if (figure->transport != user_drone) return;
    for (int i = 0; i < aboard; ++i) add_soldier_aboard();
    soldiers_picked_up += aboard;
    check_mission_accomplished();
}

void arrive(Drone* drone, HumanFigure* figure) {
    stand_still(drone);
    switch (figure->arrival_action) {
    case ARRIVE_AT_WAYPOINT:
        if (figure->flags & HUMAN_GROUP_LEADER) human_waypoint_reached(figure->leader);
        break;
    case ARRIVE_DIVE:
        play(drone, HumanMove::DIVE);
        figure->body_state = BODY_DIVE;
        break;
    case ARRIVE_IN_POSITION:
        figure->flags |= HUMAN_IN_POSITION;
        if (figure->flags & HUMAN_GROUP_LEADER) figure->search_time = game_clock + LEADER_SEARCH_DELAY;
        break;
    case ARRIVE_AT_DOOR:
        figure->desired_speed = DOOR_SPEED;
        figure->arrival_action = ARRIVE_ABOARD;
        break;
    case ARRIVE_ABOARD: go_aboard(drone, figure); break;
    case ARRIVE_CLEAR_OF_TRANSPORT: start_formation_walk(drone); break;
    case ARRIVE_SHORT_OF_TRANSPORT: figure->action_state = ACTION_SIGNAL; break;
    default: break;
    }
}

// Turns `angle` toward `wanted` by at most `limit`; true when the limit held it back.
bool turn_toward(uint32_t& angle, uint32_t wanted, double limit) {
    const int64_t off = int32_t(wanted - angle);
    const int64_t step = int64_t(limit);
    if (std::llabs(off) <= step) {
        angle = wanted;
        return false;
    }
    angle += uint32_t(int32_t(off > 0 ? step : -step));
    return true;
}

// Moves `value` toward `wanted` (kept within 0..top) by at most `limit`; true when clipped.
bool step_toward(int32_t& value, int32_t wanted, double limit, int32_t top) {
    wanted = std::clamp(wanted, 0, top);
    const int32_t step = int32_t(limit);
    const bool clipped = std::abs(wanted - value) > step;
    value = std::clamp(clipped ? value + (wanted > value ? step : -step) : wanted, 0, top);
    return clipped;
}

// Raises `aim_time` (the elevation over `unit`, kept within 0..top) and turns the shooter toward
// its attack target, ahead of it by the chosen weapon's flight; true when neither had to be
// clipped: the aim is on.
bool take_aim(Drone* shooter, int32_t& aim_time, int32_t unit, double rate, int32_t top) {
    const Target* target = shooter->attack_target;
    Vector3 aim, direction;
    get_target_position(target, aim);
    get_target_direction(target, direction);
    const Vector3 from = shooter->pose.position;
    if (const int weapon = choose_drone_weapon(shooter))
        intercept_point(from, weapon_info[weapon].top_speed, Vector3(aim), direction, get_target_speed(target), 1, aim);
    Vector3 line;
    subtract_vectors(aim, from, line);
    const uint32_t bearing = compute_bearing(line.x, line.y);
    const int32_t elevation = normalize_vector(line) == 0 ? 0 : int32_t(lookup_arcsin(line.z));
    const bool raising = step_toward(aim_time, elevation / unit, rate * frame_seconds, top);
    const bool turning = turn_toward(shooter->heading, bearing, AIM_TURN_RATE * frame_seconds);
    return !raising && !turning;
}

}  // namespace

int32_t choose_human_animation(Drone* drone, HumanMove move) {
    const int column = set_column(get_soldier_set(drone->object.object_type));
    HumanFigure* figure = drone->class_record;
    if (move == HumanMove::WALK && (figure->flags & HUMAN_CARRIER)) return CARRIER_WALK;
    const int32_t animation = MOVE_ANIMATIONS[int(move)][column];
    if (move != HumanMove::GESTURE) return animation;
    const uint32_t variant = (figure->flags & HUMAN_GESTURE_MASK) >> HUMAN_GESTURE_SHIFT;
    figure->flags = (figure->flags & ~HUMAN_GESTURE_MASK) | ((variant + 1) % GESTURE_VARIANTS) << HUMAN_GESTURE_SHIFT;
    return animation + 3 * int32_t(variant);
}

Vector3 transport_point(const Drone* transport, int32_t x, int32_t y) {
    Vector3 turned;
    unrotate_vector(transport->pose.matrix, Vector3{x, y, 0}, turned);
    return {transport->pose.position.x + turned.x, transport->pose.position.y + turned.y, 0};
}

// 1.31 products, rounded.
Vector3 offset_toward(const Drone* drone, const Waypoint* w, int32_t dx, int32_t dy) {
    const Vector3& p = drone->pose.position;
    const uint32_t b = compute_bearing(w->x - p.x, w->y - p.y);
    const int32_t c = lookup_cos(b), s = lookup_sin(b);
    return {w->x + mul31(dx, c) + mul31(dy, s), w->y + mul31(dy, c) - mul31(dx, s), 0};
}

void update_body(Drone* drone) {
    HumanFigure* figure = figure_of(drone);
    switch (figure->body_state) {
    case BODY_STAND:
    case 12: break;
    case BODY_RAISE:
        if (played_to_end(drone)) raise_aim(drone, figure, HumanMove::AIM_STANDING, BODY_AIM);
        break;
    case BODY_AIM: hold_aim(drone, figure, HumanMove::LOWER_WEAPON, BODY_LOWER); break;
    case BODY_KNEEL:
        if (played_to_end(drone)) raise_aim(drone, figure, HumanMove::AIM_KNEELING, BODY_KNEEL_AIM);
        break;
    case BODY_KNEEL_AIM: hold_aim(drone, figure, HumanMove::STAND_UP, BODY_STAND_UP); break;
    case BODY_LOWER:
    case BODY_STAND_UP:
    case BODY_GET_UP:
    case BODY_GESTURE:
        if (played_to_end(drone)) stand_still(drone);
        break;
    case BODY_DIVE:
        if (played_to_end(drone)) {
            figure->body_state = BODY_PRONE;
            figure->timer = game_clock + PRONE_DELAY;
        }
        break;
    case BODY_PRONE:
        if (has_come(figure->timer)) {
            play(drone, HumanMove::GET_UP);
            figure->body_state = BODY_GET_UP;
        }
        break;
    case BODY_MOVE:
        if (figure->animation == choose_human_animation(drone, HumanMove::STANDING)) play(drone, HumanMove::WALK);
        walk_step(drone);
        break;
    case BODY_DYING:
        if (played_to_end(drone)) figure->flags |= HUMAN_FINISHED;
        break;
    default: report_fatal_error("Unknown human state!", SOURCE, __LINE__); break;
    }
}

void stand_still(Drone* drone) {
    figure_of(drone)->body_state = BODY_STAND;
    play(drone, HumanMove::STANDING);
    drone->speed = 0;
}

void start_formation_walk(Drone* drone) {
    HumanFigure* figure = figure_of(drone);
    const Drone* leader = figure->leader;
    const Waypoint* w = leader->current_waypoint;
    if (!w || w->speed == 0) return;
    int32_t dx = 0, dy = 0;
    if (leader != drone && leader->formation_type > 0 && leader->formation_type < FORMATION_TYPES) {
        const FormationRow& row = formation_table[leader->formation_type].rows[figure_slot(figure)];
        dx = row.x;
        dy = row.y;
    }
    figure->goal = offset_toward(drone, w, dx, dy);
    figure->arrival_action = ARRIVE_AT_WAYPOINT;
    figure->desired_speed = w->speed;
    figure->body_state = BODY_MOVE;
    play(drone, HumanMove::WALK);
    drone->speed = HUMAN_START_SPEED;
}

void walk_step(Drone* drone) {
    HumanFigure* figure = figure_of(drone);
    update_goal(drone, figure);
    if (!step_toward_goal(drone)) {
        control_walking_speed(drone);
        choose_walking_animation(drone);
        return;
    }
    arrive(drone, figure);
}

// Walking keeps the soldier on the ground under it.
int step_toward_goal(Drone* drone) {
    HumanFigure* figure = figure_of(drone);
    const Vector3& p = drone->pose.position;
    const int64_t d = horizontal_distance(p, figure->goal);
    drone->remaining_distance = int32_t(std::min<int64_t>(d, INT32_MAX));
    if (d < ARRIVAL_DISTANCE && (figure->flags & HUMAN_CYCLE_END)) return 1;
    const uint32_t bearing = compute_bearing(figure->goal.x - p.x, figure->goal.y - p.y);
    if (std::abs(int64_t(int32_t(bearing - drone->heading))) > WALK_TURN_TOLERANCE)
        turn_toward(drone->heading, bearing, WALK_TURN_RATE * frame_seconds);
    const double step = drone->speed * frame_seconds / 2147483648.0;
    const int32_t dx = int32_t(std::lround(step * lookup_sin(drone->heading)));
    const int32_t dy = int32_t(std::lround(step * lookup_cos(drone->heading)));
    const int32_t z = get_ground_height(p.x + dx, p.y + dy);
    move_mobile_object(&drone->object, dx, dy, z - p.z);
    figure->flags |= HUMAN_POSE_CHANGED;
    return 0;
}

void control_walking_speed(Drone* drone) {
    HumanFigure* figure = figure_of(drone);
    int32_t v = int32_t(std::lround(double(drone->remaining_distance / 3) * 1.688));
    if (figure->flags & HUMAN_CARRIER) v = std::min(v, CARRIER_TOP_SPEED);
    if (v <= drone->speed && figure->arrival_action != ARRIVE_ABOARD) {
        drone->speed = std::max(v, HUMAN_START_SPEED);
    } else {
        const int32_t change = std::clamp(figure->desired_speed - drone->speed, -SPEED_STEP, SPEED_STEP);
        drone->speed += int32_t(change * frame_seconds);
    }
    drone->speed = std::clamp(drone->speed, 0, HUMAN_MAX_SPEED);
}

// A new gait starts at its beginning: the old cycle's time may lie beyond the new one's end.
void choose_walking_animation(Drone* drone) {
    HumanFigure* figure = figure_of(drone);
    if (animate_human_by_distance(drone) != 2) {
        figure->flags &= ~HUMAN_CYCLE_END;
        return;
    }
    HumanMove gait = HumanMove::WALK;
    const int32_t v = drone->speed;
    if (figure->arrival_action == ARRIVE_ABOARD && drone->remaining_distance < GET_IN_DISTANCE) gait = HumanMove::GET_IN;
    else if (v > 5183) gait = HumanMove::RUN;
    else if (v >= 4017.6) gait = HumanMove::JOG_RUN;
    else if (v >= 2851.2) gait = HumanMove::JOG;
    else if (v >= 1771.2) gait = HumanMove::WALK_JOG;
    const int32_t animation = choose_human_animation(drone, gait);
    if (animation != figure->animation) play(drone, gait);
    figure->flags |= HUMAN_CYCLE_END;
}

void stop_short_of_transport(Drone* drone) {
    HumanFigure* figure = figure_of(drone);
    const double ahead = SHORT_STOP_FACTOR * drone->speed;
    const Vector3& p = drone->pose.position;
    figure->goal = {p.x + int32_t(std::lround(ahead * lookup_sin(drone->heading) / 2147483648.0)),
                    p.y + int32_t(std::lround(ahead * lookup_cos(drone->heading) / 2147483648.0)), 0};
    figure->arrival_action = ARRIVE_SHORT_OF_TRANSPORT;
}

void aim_human_weapon(Drone* drone) {
    HumanFigure* figure = figure_of(drone);
    const bool on = take_aim(drone, figure->animation_time, HUMAN_ELEVATION_UNIT, HUMAN_AIM_RATE, HUMAN_AIM_UP);
    figure->flags |= HUMAN_POSE_CHANGED;
    if (on) fire_human_weapon(drone);
}

void aim_gun(Drone* gun) {
    Drone* gunner = gun->first_member;
    if (!gunner || !gunner->class_record) return;
    HumanFigure* crew = figure_of(gunner);
    const bool on = take_aim(gun, crew->animation_time, GUN_ELEVATION_UNIT, GUN_AIM_RATE, GUN_AIM_UP);
    HumanFigure* figure = figure_of(gun);
    if (figure->gun_part_matrix)
        build_xz_rotation(gun->heading, uint32_t(crew->animation_time * GUN_ELEVATION_UNIT), *figure->gun_part_matrix);
    seat_gunner(gun, gunner);
    if (on) fire_human_weapon(gun);
}

void board_transport(Drone* soldier, Drone* transport) {
    HumanFigure* figure = figure_of(soldier);
    figure->flags |= HUMAN_LOADING;
    if (figure->action_state == ACTION_BOARD ||
        horizontal_distance(soldier->pose.position, transport->pose.position) > BOARDING_REACH)
        return;
    figure->transport = transport;
    if (figure->flags & HUMAN_BOARDING) {
        figure->arrival_action = ARRIVE_AT_DOOR;
        figure->desired_speed = HUMAN_RUN_SPEED;
        figure->action_state = ACTION_BOARD;
    }
    if (!(figure->flags & HUMAN_UNLOAD)) return;
    if (figure->flags & HUMAN_GROUP_LEADER) {
        figure->timer = game_clock;
        figure->search_time = game_clock + LEADER_SEARCH_DELAY;
    } else {
        figure->timer = game_clock + int32_t(figure_slot(figure)) * GET_OUT_SPACING;
    }
    figure->action_state = ACTION_GET_OUT;
    soldier->mission_flags &= ~DRONE_FLAG_HIDDEN_PASSENGER;
    figure->flags &= ~HUMAN_UNLOAD;
    if (transport != user_drone) return;
    remove_soldier_aboard();
    ++soldiers_delivered;
    check_mission_accomplished();
}

}  // namespace vyr
