#include "source/drone/user_drone.h"

#include <algorithm>

#include "library/3dvisual/draw_object.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/smoke.h"
#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/sound/samples.h"
#include "library/system/key.h"
#include "source/avionics/avionics.h"
#include "source/avionics/messages.h"
#include "source/avionics/panel.h"
#include "source/controls.h"
#include "source/drone/drone.h"
#include "source/drone/ships.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_players.h"
#include "source/sound/triggers.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapons_frame.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/user_drone";
constexpr uint32_t RIGHT_ANGLE = 0x40000000;
constexpr int GAME_MODE_6 = 6;  // flown alone, as the single-player modes are

// Sub-objects of the player's aircraft object.
constexpr int PART_NOSE_GEAR = 1, PART_LEFT_GEAR = 5, PART_LEFT_DOOR = 6, PART_RIGHT_GEAR = 7, PART_RIGHT_DOOR = 8;
constexpr int PART_LEFT_FLAPERON = 15, PART_RIGHT_FLAPERON = 16, PART_AIR_BRAKE = 19;
constexpr int PART_LEFT_TAILPLANE = 20, PART_RIGHT_TAILPLANE = 21, PART_FIN = 22;
// Objects of its variable list.
constexpr int32_t GEAR_BAY_OBJECT = 1022, MUZZLE_FLASH_OBJECT = 1035;
constexpr int32_t LEFT_LEG_OBJECT = 1096, RIGHT_LEG_OBJECT = 1094, NOZZLE_OBJECT = 1210;
// The targeting pod's objects: on an odd slot and on an even one.
constexpr int32_t TARGETING_POD_ODD_OBJECT = 1023, TARGETING_POD_EVEN_OBJECT = 1024;

static_assert(SAMPLE_GEAR_WHEELS == 45 && SAMPLE_GEAR_DOORS == 46 && SAMPLE_AIRBRAKE == 47);
// The aircraft is the listener's own: its sounds play centred at the level of the tyres'.
constexpr int OWN_SOUND_PRIORITY = -1, OWN_SOUND_LEVEL = 30, OWN_SOUND_PAN = 0x8000;
constexpr int MESSAGE_PRIORITY = 2, MESSAGE_TICKS = 400;

constexpr int32_t GEAR_SPEED_LIMIT_KNOTS = 300;
constexpr int32_t SLOW_SPEED = 86400, FAST_SPEED = 259200;  // 200 and 600 knots, units a second
constexpr uint32_t AIR_BRAKE_SLOW_LIMIT = 0x20000000, AIR_BRAKE_FAST_LIMIT = 0xe38e38e;
constexpr uint32_t AIR_BRAKE_RANGE = AIR_BRAKE_SLOW_LIMIT - AIR_BRAKE_FAST_LIMIT;  // 25 degrees
constexpr int32_t GEAR_SWEEP = -345983476;  // -29 degrees: the main legs' hinge line

constexpr int32_t TOUCHDOWN_HEIGHT = 5120;  // 20 ft
constexpr int32_t TRAIL_LENGTH = 3840;
constexpr int32_t TYRE_SMOKE_SIZE = 64, TYRE_SMOKE_LIFE = 20, TYRE_SMOKE_SHIFT = 4;
// The nose wheel's contact point from the aircraft's: down and forward along its axes, and the
// height above it at which the ground counts as met (38.4 units).
constexpr int32_t NOSE_WHEEL_DROP = 1280, NOSE_WHEEL_REACH = 2048;
constexpr double NOSE_WHEEL_CLEARANCE = 38.4;

// The engine's exhaust, aft of the aircraft's origin; the fire's trail and the heat haze start there.
constexpr int32_t ENGINE_AFT = 5888;
constexpr int32_t FIRE_SMOKE_SPACING = 256, FIRE_SMOKE_SIZE = 256, FIRE_SMOKE_LIFE = 100, FIRE_SMOKE_SHIFT = 6;
constexpr int32_t EXHAUST_HAZE_SIZE = 384, EXHAUST_HAZE_SHIFT = 5;

constexpr int KEY_G = 34, KEY_B = 48, KEY_W = 17;

// The aircraft the flight model moves before a mission has made the player's drone.
Pose own_pose = {};
ObjectInstance own_object = {OBJ_VYR_HOVREN_TALSWEEP, 0, &own_pose, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0,
                             0, 0, 0, 0, nullptr, OWNER_NONE, nullptr, 0};

int32_t nozzle_ticks = 0;
// The engine-fire trail's last point; a mission's first call only sets it.
Vector3 smoke_trail_end = {};
bool smoke_trail_started = false;

int32_t step_ticks() { return int32_t((int64_t(200) * frame_fraction + (int64_t(1) << 30)) >> 31); }

void play_own_sample(int row) { play_sample(row, OWN_SOUND_PRIORITY, OWN_SOUND_LEVEL, OWN_SOUND_PAN); }
void say(const char* text) { post_message(text, MESSAGE_PRIORITY, MESSAGE_TICKS); }

// `distance` units back along the pose's forward axis.
Vector3 point_aft(const Pose& pose, int32_t distance) {
    const Matrix3& m = pose.matrix;  // rows: right, forward, up
    return {pose.position.x - mul31(distance, m[1][0]), pose.position.y - mul31(distance, m[1][1]),
            pose.position.z - mul31(distance, m[1][2])};
}

// Another data set's aircraft may lack a part: that part is left alone.
ObjectInstance* part(int index) {
    if (!player_object || index >= player_object->count) return nullptr;
    return player_object->sub_instances[index];
}
ObjectInstance* child(ObjectInstance* parent, int index) {
    if (!parent || index >= parent->count) return nullptr;
    return parent->sub_instances[index];
}
void set_part_matrix(ObjectInstance* instance, const Matrix3& m) {
    if (instance) instance->offset->matrix = m;
}

Matrix3 x_rotation(uint32_t angle) {
    Matrix3 m;
    build_x_rotation(angle, m);
    return m;
}
Matrix3 z_rotation(uint32_t angle) {
    Matrix3 m;
    build_z_rotation(angle, m);
    return m;
}
Matrix3 heading_matrix(uint32_t angle) {
    Matrix3 m;
    build_rotation_matrix(angle, 0, 0, m);
    return m;
}
Matrix3 transposed(const Matrix3& m) {
    Matrix3 t;
    transpose_matrix(t, m);
    return t;
}
Matrix3 product(const Matrix3& a, const Matrix3& b) {
    Matrix3 p;
    multiply_matrices(a, b, p);
    return p;
}

// The angle moved from `shown` toward the demand, clamped, then eased off at speed.
int32_t move_surface(int32_t shown, int32_t demand_input, int32_t range_degrees, int32_t rate_degrees) {
    const int64_t demand = autoland_engaged ? 0 : int64_t(demand_input) * range_degrees * DEGREE / FIXED_ONE;
    const int64_t step = int64_t(rate_degrees) * DEGREE * frame_fraction / FIXED_ONE;
    const int64_t limit = int64_t(range_degrees) * DEGREE;
    int64_t angle = std::clamp(demand, shown - step, shown + step);
    angle = std::clamp(angle, -limit, limit);
    const double v = player_flight_data.airspeed;
    const double k = std::clamp(1.0 - 9.5e-07 * v * v, 0.1, 1.0);
    return int32_t(double(angle) * k);
}

void animate_rudder() {
    rudder_angle = move_surface(rudder_angle, model_heading, 20, 40);
    const Matrix3 hinge = x_rotation(30 * DEGREE);
    set_part_matrix(child(part(PART_FIN), 0), product(product(transposed(hinge), z_rotation(uint32_t(rudder_angle))), hinge));
}

void animate_tailplanes() {
    tailplane_angle = move_surface(tailplane_angle, -model_pitch, 20, 40);
    set_part_matrix(part(PART_LEFT_TAILPLANE), x_rotation(uint32_t(tailplane_angle)));
    set_part_matrix(part(PART_RIGHT_TAILPLANE), x_rotation(uint32_t(tailplane_angle)));
}

void animate_flaperons() {
    flaperon_angle = move_surface(flaperon_angle, -model_roll, 15, 30);
    set_part_matrix(child(part(PART_LEFT_FLAPERON), 1), x_rotation(uint32_t(-flaperon_angle)));
    set_part_matrix(child(part(PART_RIGHT_FLAPERON), 1), x_rotation(uint32_t(flaperon_angle)));
}

// 45 degrees a second of game time.
int64_t sequence_step() { return (int64_t(frame_fraction) + 2) / 4 * time_acceleration; }

// `angle` moved by `step`, kept in 0 .. `limit`.
uint32_t moved(uint32_t angle, int64_t step, uint32_t limit) {
    return uint32_t(std::clamp(int64_t(angle) + step, int64_t(0), int64_t(limit)));
}

void pose_gear() {
    set_part_matrix(child(part(PART_NOSE_GEAR), 1), heading_matrix(gear_door_angle));
    set_part_matrix(part(PART_LEFT_DOOR), heading_matrix(0u - gear_door_angle));
    set_part_matrix(part(PART_RIGHT_DOOR), heading_matrix(gear_door_angle));
    if (gear_state == GEAR_UP) return;
    set_part_matrix(child(part(PART_NOSE_GEAR), 0), product(heading_matrix(0u - gear_leg_angle), x_rotation(gear_leg_angle)));
    ObjectInstance* left = part(PART_LEFT_GEAR);
    ObjectInstance* right = part(PART_RIGHT_GEAR);
    if (!left || !right) return;
    const Matrix3 sweep = heading_matrix(uint32_t(GEAR_SWEEP));
    const Matrix3 swing = x_rotation(RIGHT_ANGLE - gear_leg_angle);
    set_part_matrix(left, product(product(transposed(sweep), swing), sweep));
    set_part_matrix(right, product(product(sweep, swing), transposed(sweep)));
    set_part_matrix(child(left, 0), z_rotation(RIGHT_ANGLE - gear_leg_angle));
    set_part_matrix(child(right, 0), z_rotation(gear_leg_angle - RIGHT_ANGLE));
}

void update_gear() {
    if (has_failure(FAIL_GEAR)) {
        if (gear_state == GEAR_DOORS_CLOSING) gear_state = GEAR_DOORS_OPENING;
        if (gear_state == GEAR_RAISING) gear_state = GEAR_LOWERING;
    }
    const int64_t step = sequence_step();
    switch (gear_state) {
    case GEAR_UP: gear_door_angle = gear_leg_angle = 0; break;
    case GEAR_DOORS_OPENING:
        gear_door_angle = moved(gear_door_angle, step, RIGHT_ANGLE);
        if (gear_door_angle >= RIGHT_ANGLE) {
            gear_state = GEAR_LOWERING;
            say("gear lowering");
            play_own_sample(SAMPLE_GEAR_WHEELS);
        }
        break;
    case GEAR_LOWERING:
        gear_door_angle = RIGHT_ANGLE;
        gear_leg_angle = moved(gear_leg_angle, step, RIGHT_ANGLE);
        if (gear_leg_angle >= RIGHT_ANGLE) {
            gear_state = GEAR_DOWN;
            say("gear down");
        }
        break;
    case GEAR_DOWN: gear_door_angle = gear_leg_angle = RIGHT_ANGLE; break;
    case GEAR_RAISING:
        gear_door_angle = RIGHT_ANGLE;
        gear_leg_angle = moved(gear_leg_angle, -step, RIGHT_ANGLE);
        if (gear_leg_angle < 1) {
            gear_state = GEAR_DOORS_CLOSING;
            say("gear doors");
            say("closing");
            play_own_sample(SAMPLE_GEAR_DOORS);
        }
        break;
    case GEAR_DOORS_CLOSING:
        gear_leg_angle = 0;
        gear_door_angle = moved(gear_door_angle, -step, RIGHT_ANGLE);
        if (gear_door_angle < 1) {
            gear_state = GEAR_UP;
            say("gear up");
        }
        break;
    default: break;
    }
    pose_gear();
}

void update_air_brake() {
    if (!has_failure(FAIL_BRAKE)) {
        const uint32_t limit = get_air_brake_limit(user_drone ? get_drone_speed(user_drone) : 0);
        const int64_t step = sequence_step();
        switch (air_brake_state) {
        case AIR_BRAKE_CLOSED: air_brake_angle = 0; break;
        case AIR_BRAKE_OPENING:
            air_brake_angle = moved(air_brake_angle, step, limit);
            if (air_brake_angle >= limit) air_brake_state = AIR_BRAKE_OPEN;
            break;
        case AIR_BRAKE_OPEN: air_brake_angle = limit; break;
        case AIR_BRAKE_CLOSING:
            air_brake_angle = moved(air_brake_angle, -step, limit);
            if (air_brake_angle < 1) air_brake_state = AIR_BRAKE_CLOSED;
            break;
        default: break;
        }
        air_brake_angle = std::min(air_brake_angle, limit);
    }
    ObjectInstance* petals = part(PART_AIR_BRAKE);
    for (int i = 0; i < 4; ++i) set_part_matrix(child(petals, i), x_rotation(i % 2 ? 0u - air_brake_angle : air_brake_angle));
}

// A wheel's flag follows the ground; meeting it again lays a trail back along the heading.
void touch_wheel(int wheel, const Vector3& at, double contact_height) {
    const int32_t ground = get_ground_height(at.x, at.y);
    if (ground < contact_height) {
        wheel_on_ground[wheel] = 0;
        return;
    }
    if (wheel_on_ground[wheel]) return;
    wheel_on_ground[wheel] = 1;
    const uint32_t heading = uint32_t(player_flight_data.heading);
    const Vector3 back = {at.x - mul31(TRAIL_LENGTH, lookup_sin(heading)), at.y - mul31(TRAIL_LENGTH, lookup_cos(heading)), at.z};
    spawn_smoke_trail(&at, &back, TYRE_SMOKE_SIZE, TYRE_SMOKE_LIFE, TYRE_SMOKE_SHIFT);
    play_sample(SAMPLE_TYRE_SQUEAK, OWN_SOUND_PRIORITY, OWN_SOUND_LEVEL, OWN_SOUND_PAN);
}

// Appends to the part list; entries past its end are dropped (the object has no room for them).
struct PartListWriter {
    int at = 0;
    void add(int32_t object) {
        if (at < USER_PART_LIST_SIZE) user_part_list[at] = object;
        ++at;
    }
    void skip(int32_t entries) { at += std::max(entries, 0); }
};

bool gun_pod_firing(int weapon_id) { return weapon_id == WEAPON_GEPOD && gun_rounds_were_fired; }

// A slot's mount, then the sensor it carries.
void add_sensor_slot_parts(PartListWriter& list, int slot) {
    const SensorSlot& s = sensor_slots[slot];
    if (const int32_t mount = pylon_types[s.base_pylon_type].object_number) list.add(mount);
    switch (s.sensor_type) {
    case SENSOR_TYPE_NONE: list.add(0); break;
    case SENSOR_TYPE_TARGETING_POD: list.add(slot % 2 ? TARGETING_POD_ODD_OBJECT : TARGETING_POD_EVEN_OBJECT); break;
    default: list.add(sensor_types[s.sensor_type].object_number); break;
    }
}

// The pylons, then per station its pod or its round; a released round leaves its station empty.
void add_hardpoint_parts(PartListWriter& list, int h) {
    const Hardpoint& point = hardpoints[h];
    if (const int32_t base = pylon_types[point.base_pylon_type].object_number) list.add(base);
    int32_t stations = 1;
    if (const int32_t rack = pylon_types[point.pylon_type].object_number) {
        list.add(rack);
        stations = pylon_types[point.pylon_type].stations;
    }
    if (point.weapon_id == 0) {
        list.add(0);
        list.skip(stations - 1);
        return;
    }
    const WeaponInfo& w = weapon_info[point.weapon_id];
    for (int s = 0; s < stations; ++s) {
        if (w.pod_object) {
            list.add(w.pod_object);
            if (gun_pod_firing(point.weapon_id)) list.add(MUZZLE_FLASH_OBJECT);
            else list.skip(w.pod_slots);
        } else if ((s < point.station_count && get_station_rounds(h, s) > 0) || point.weapon_id == WEAPON_GEPOD) {
            list.add(w.round_object);
            if (w.store_part_shown && w.store_part_object) list.add(w.store_part_object);
            else list.skip(w.pod_slots);
        } else {
            list.add(0);
        }
    }
}

// A fitted sensor takes the place it shares with a hardpoint.
void add_place_parts(PartListWriter& list, int slot, int h) {
    if (sensor_slots[slot].sensor_type != SENSOR_TYPE_NONE) add_sensor_slot_parts(list, slot);
    else add_hardpoint_parts(list, h);
}

void build_user_part_list() {
    std::fill(std::begin(user_part_list), std::end(user_part_list), 0);
    PartListWriter list;
    list.add(gear_state != GEAR_UP ? GEAR_BAY_OBJECT : 0);
    add_sensor_slot_parts(list, 1);
    add_sensor_slot_parts(list, 2);
    list.add(internal_gun_was_fired ? MUZZLE_FLASH_OBJECT : 0);
    add_place_parts(list, 0, 0);
    const bool legs_out = gear_state == GEAR_LOWERING || gear_state == GEAR_DOWN || gear_state == GEAR_RAISING;
    list.add(legs_out ? LEFT_LEG_OBJECT : 0);
    list.add(legs_out ? RIGHT_LEG_OBJECT : 0);
    add_place_parts(list, 5, 1);
    add_place_parts(list, 3, 3);
    add_hardpoint_parts(list, 5);
    add_place_parts(list, 6, 2);
    add_place_parts(list, 4, 4);
    for (int h : {6, 7, 8}) add_hardpoint_parts(list, h);
    list.add(NOZZLE_OBJECT);
}

}  // namespace

ObjectInstance* player_object = &own_object;
Pose* player_position = &own_pose;
Pose player_deck_pose{};
int32_t gear_state = GEAR_DOWN;
uint32_t gear_door_angle = RIGHT_ANGLE, gear_leg_angle = RIGHT_ANGLE;
int32_t air_brake_state = AIR_BRAKE_CLOSED;
uint32_t air_brake_angle = 0;
int32_t wheel_brake_state = 0;
int32_t rudder_angle = 0, tailplane_angle = 0, flaperon_angle = 0;
int32_t nozzle_value = 0;
int32_t user_part_list[USER_PART_LIST_SIZE];
int32_t wheel_on_ground[3] = {};

void register_user_drone_keys() {
    add_hot_key(KEY_G, toggle_gear);
    add_hot_key(KEY_B, toggle_air_brake);
    add_hot_key(KEY_W, toggle_wheel_brakes);
}

int toggle_gear(int) {
    if (has_failure(FAIL_GEAR) || player_flight_data.on_ground) return 1;
    if (gear_state == GEAR_UP) {
        if (player_flight_data.airspeed < GEAR_SPEED_LIMIT_KNOTS || autoland_engaged) {
            gear_state = GEAR_DOORS_OPENING;
            play_own_sample(SAMPLE_GEAR_DOORS);
            say("gear doors");
            say("opening");
            weapon_selected = 0;
            selected_hardpoint = -1;
            selected_weapon = 0;
            gear_leg_angle = 0;
        } else {
            say("SPEED TOO HIGH");
        }
    } else if (gear_state == GEAR_DOWN) {
        gear_state = GEAR_RAISING;
        play_own_sample(SAMPLE_GEAR_WHEELS);
        say("gear raising");
    }
    return 1;
}

int toggle_air_brake(int) {
    if (has_failure(FAIL_BRAKE)) return 1;
    if (air_brake_state == AIR_BRAKE_CLOSED) {
        air_brake_state = AIR_BRAKE_OPENING;
        system_failures.lamp_word |= LAMP_AIR_BRAKE;
        play_own_sample(SAMPLE_AIRBRAKE);
    } else if (air_brake_state == AIR_BRAKE_OPEN) {
        air_brake_state = AIR_BRAKE_CLOSING;
        system_failures.lamp_word &= ~LAMP_AIR_BRAKE;
        play_own_sample(SAMPLE_AIRBRAKE);
    }
    return 1;
}

int toggle_wheel_brakes(int) {
    wheel_brake_state ^= 1;
    system_failures.lamp_word ^= LAMP_WHEEL_BRAKES;
    play_click_sound();
    return 1;
}

void create_user_drone() {
    wheel_brake_state = 0;
    air_brake_state = AIR_BRAKE_CLOSED;
    smoke_trail_started = false;
    if (game_mode == GAME_SINGLE || game_mode == GAME_PILOT_GUNNER || game_mode == GAME_MODE_6) {
        Drone* drone = task_list ? task_list->first_drone : nullptr;
        if (!drone) {
            report_fatal_error("No user drone set", SOURCE, __LINE__);
            return;
        }
        set_user_drone(drone);
        drone->player = 0;
        return;
    }
    set_user_task(task_list);
    if (!task_list) return;
    Drone* drone = task_list->first_drone;
    while (drone && drone->index != own_player_number) drone = drone->next;
    if (!drone) return;
    drone->player = own_player_number;
    set_user_drone(drone);
}

void set_user_drone(Drone* drone) {
    if (!drone) return;  // a flight without the mission's drones keeps the aircraft it has
    user_drone = drone;
    build_user_part_list();
    free_object_instance(&drone->object);
    const VariableList parts{user_part_list, USER_PART_LIST_SIZE};
    create_object_instance(OBJ_VYR_HOVREN_TALSWEEP, &drone->object, &drone->pose, &parts);
    drone->object.owner_kind = OWNER_DRONE;
    drone->object.owner = drone;
    player_object = &drone->object;
    player_position = &drone->pose;
    drone->attack_target = &designated_target;
    if (drone->mission_flags & DRONE_FLAG_ON_CARRIER) place_user_on_carrier();
    update_user_drone_model();
    // The rebuilt parts are placed at once: rounds leave from their stations before the next render.
    place_sub_instances(player_object);
}

void update_user_drone_model() {
    animate_rudder();
    animate_tailplanes();
    animate_flaperons();
    update_gear();
    update_air_brake();
    const int32_t afterburner = flight_data.afterburner_percent;
    set_afterburner_lit(afterburner > 0);
    if (afterburner >= nozzle_value) {
        nozzle_value = afterburner;
    } else if ((nozzle_ticks += step_ticks()) >= 2) {
        nozzle_ticks = 0;
        nozzle_value -= 10;
    }
    set_nozzle_opening(nozzle_value);
}

void emit_touchdown_smoke() {
    const Pose& pose = *player_position;
    const int32_t height = pose.position.z - get_ground_height(pose.position.x, pose.position.y);
    if (height > TOUCHDOWN_HEIGHT || gear_state != GEAR_DOWN || player_flight_data.vertical_speed >= 0) return;
    Vector3 nose = pose.position;
    const Matrix3& m = pose.matrix;  // rows: right, forward, up
    nose.x += mul31(NOSE_WHEEL_REACH, m[1][0]) - mul31(NOSE_WHEEL_DROP, m[2][0]);
    nose.y += mul31(NOSE_WHEEL_REACH, m[1][1]) - mul31(NOSE_WHEEL_DROP, m[2][1]);
    nose.z += mul31(NOSE_WHEEL_REACH, m[1][2]) - mul31(NOSE_WHEEL_DROP, m[2][2]);
    touch_wheel(0, nose, nose.z + NOSE_WHEEL_CLEARANCE);
    const int main_parts[] = {PART_LEFT_GEAR, PART_RIGHT_GEAR};
    for (int i = 0; i < 2; ++i) {
        const ObjectInstance* wheel = child(part(main_parts[i]), 0);
        if (wheel) touch_wheel(i + 1, wheel->pose->position, wheel->pose->position.z);
    }
}

void emit_user_damage_smoke() {
    const Vector3 from = point_aft(*player_position, ENGINE_AFT);
    const Vector3 d = {from.x - smoke_trail_end.x, from.y - smoke_trail_end.y, from.z - smoke_trail_end.z};
    if (!smoke_trail_started) {
        smoke_trail_started = true;
    } else if (estimate_distance_3d(d.x, d.y, d.z) > FIRE_SMOKE_SPACING) {
        spawn_smoke_trail(&from, &smoke_trail_end, FIRE_SMOKE_SIZE, FIRE_SMOKE_LIFE, FIRE_SMOKE_SHIFT);
    } else {
        return;
    }
    smoke_trail_end = from;
}

// A stopped engine gives off no heat.
void emit_user_exhaust_haze() {
    if (flight_data.engine_rpm <= 0) return;
    const Vector3 from = point_aft(*player_position, ENGINE_AFT);
    spawn_haze_trail(&from, EXHAUST_HAZE_SIZE, player_position, EXHAUST_HAZE_SHIFT);
}

bool get_current_waypoint_position(int32_t& x, int32_t& y) {
    const Waypoint* waypoint = user_drone ? user_drone->current_waypoint : nullptr;
    if (!waypoint) return false;
    x = waypoint->x;
    y = waypoint->y;
    return true;
}

const Pose* get_user_carrier_pose() {
    const Drone* drone = user_drone;
    if (!drone || !(drone->mission_flags & DRONE_FLAG_ON_CARRIER) || drone->carrier >= carrier_count) return nullptr;
    const Drone* ship = get_drone_carrier(drone);
    return ship ? &ship->pose : nullptr;
}

int get_gear_state() { return gear_state; }
void set_gear_state(int state) { gear_state = state; }
uint32_t get_air_brake_angle() { return air_brake_angle; }

uint32_t get_air_brake_limit(int32_t speed) {
    if (speed <= SLOW_SPEED) return AIR_BRAKE_SLOW_LIMIT;
    if (speed >= FAST_SPEED) return AIR_BRAKE_FAST_LIMIT;
    return AIR_BRAKE_FAST_LIMIT + uint32_t(int64_t(AIR_BRAKE_RANGE) * (FAST_SPEED - speed) / (FAST_SPEED - SLOW_SPEED));
}

}  // namespace vyr
