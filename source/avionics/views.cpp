#include "source/avionics/views.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "library/3dvisual/explosions.h"
#include "library/3dvisual/fragments.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/graphics/palette.h"
#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "library/maths/vector.h"
#include "library/sound/samples.h"
#include "library/system/key.h"
#include "source/avionics/avionics.h"
#include "source/avionics/g_effects.h"
#include "source/avionics/head_look.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/night_vision.h"
#include "source/controls.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/sknet/chat.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/sknet/net_players.h"
#include "source/sound/triggers.h"
#include "source/weapons/rounds.h"
#include "source/weapons/launch_sound.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

int32_t view_mode = VIEW_NONE;
int32_t last_view_mode = VIEW_NONE;
int32_t view_in_cockpit = 1;
int32_t view_control_flag = 0;
int32_t views_locked = 0;
int32_t camera_permission = 1;  // from program start; autoland puts back what it found
ObjectInstance* drone_view_object = nullptr;
WeaponRound* weapon_view_object = nullptr;
int32_t zoom_closer = 0;
int32_t airframe_preset = 0;
Pose view_camera_pose = {};
ViewSound view_sound = {};
int32_t crash_timer = 0;
int32_t initial_view_mode = VIEW_COCKPIT;
int32_t pending_view_mode = -1;
int32_t pilot_ejected = 0;

namespace {

// The loop of a watched drone, by its class: none for the classes that make no sound of their own.
void start_vehicle_loop(int drone_class) {
    switch (drone_class) {
    case DRONE_CLASS_HELICOPTER: return play_helicopter_loop();
    case DRONE_CLASS_AIRCRAFT: return start_engine_sound();
    case DRONE_CLASS_TANK: return play_tank_loop();
    case DRONE_CLASS_VEHICLE: return play_truck_loop();
    case DRONE_CLASS_TRAIN: return play_train_loop();
    default: return;
    }
}

// The loop of a followed round: a motor's roar, a falling store's whistle, else the engine.
void start_weapon_loop(int weapon_id) {
    switch (weapon_info[weapon_id].round_class) {
    case ROUND_CLASS_UNGUIDED:
    case ROUND_CLASS_GUIDED: return play_powered_weapon_loop();
    case ROUND_CLASS_BOMB:
    case ROUND_CLASS_RETARDED_BOMB: return play_freefall_loop();
    default: return start_engine_sound();
    }
}

constexpr const char* SOURCE = "source/avionics/views";
constexpr int32_t FULL = 0x7FFFFFFF;
constexpr int32_t HALF = 0x40000000;
constexpr int32_t MIN_CAMERA_HEIGHT = 0x400;
constexpr int32_t CRASH_DISTANCE = 0x6400;
constexpr int32_t CRASH_GROUND_BURST = 0xA00;
constexpr int32_t WEAPON_VIEW_NEAR = 0xA410;
constexpr int32_t FROZEN_SETBACK = 0x3C00;
constexpr int32_t TARGET_VIEW_RETURN = 600;
constexpr int32_t TO_TARGET_VIEW_RETURN = 200;
constexpr int EJECT_SAMPLE = 48;
constexpr int CENTRE = 0x8000;
constexpr int OVERRIDE_COLOUR = 255;

constexpr int32_t IN_COCKPIT[VIEW_NONE] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr int32_t CONTROL_FLAG[VIEW_NONE] = {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1};

constexpr Vector3 AIRFRAME_OFFSETS[AIRFRAME_PRESETS] = {
    {0, 3000, 1000},      {0, 3325, 750},        {0, 3900, 700},      {0, -8375, 1750},     {-1150, -5700, 1575},
    {-2750, -2700, 375},  {-4150, -2800, 25},    {-3500, -2800, -250}, {-2700, -2800, -350}, {-1675, -2800, -325},
    {0, -2650, -800},     {1675, -2800, -325},   {2700, -2800, -350}, {3500, -2800, -250},  {4150, -2800, 25},
    {-825, 1975, 425},    {0, -11000, 2500}};
constexpr Vector3 REAR_EYES[2] = {{-150, -3225, 750}, {150, -3225, 750}};

struct KeyView {
    int key_code;
    int32_t mode;
};
constexpr KeyView VIEW_KEYS[] = {
    {KEY_ANY_MODIFIERS | SCAN_KEYPAD_7, VIEW_COCKPIT}, {SCAN_F5, VIEW_COCKPIT},        {SCAN_F6, VIEW_ORBIT_SELF},
    {KEY_SHIFT | SCAN_T, VIEW_AIRFRAME_CAMERA}, {KEY_SHIFT | SCAN_O, VIEW_RUNWAY_CAMERA}, {SCAN_F7, VIEW_WEAPON},
    {SCAN_F8, VIEW_TARGET},                   {SCAN_F11, VIEW_FROZEN_CAMERA}, {SCAN_F10, VIEW_FLYBY},
    {SCAN_F9, VIEW_TO_TARGET},                {KEY_ANY_MODIFIERS | SCAN_0, VIEW_REAR_LEFT},
    {KEY_ANY_MODIFIERS | SCAN_9, VIEW_REAR_RIGHT}};
constexpr int EJECT_KEY = KEY_CTRL | SCAN_E;
constexpr int NEXT_PRESET_KEY = KEY_CTRL | KEY_SHIFT | SCAN_V;
constexpr int REAR_SCANS[2] = {SCAN_0, SCAN_9};

// The orbit camera.
uint32_t orbit_heading = 0;
int32_t orbit_pitch = 0;
int32_t orbit_zoom = 0;
// The last camera computed, and the heading and pitch the frozen camera turns.
Pose last_camera = {};
uint32_t last_heading = 0;
int32_t last_pitch = 0;
Vector3 fixed_point = {};
Vector3 runway_offset = {};
Vector3 airframe_offset = {};
Drone* drone_view_drone = nullptr;
WeaponRound* followed_round = nullptr;
Target target_copy = {};
int32_t first_frame = 0;
int32_t return_time = -1;  // game_clock tick of a target view's delayed return; -1 none
int32_t rear_latched = 0;
int32_t palette_override = 0;
uint8_t saved_colour[3] = {};

struct Crash {
    Vector3 point;
    uint32_t heading;
    int32_t pitch;
    int32_t air_burst;
    int32_t ended;
    PaletteEffect* fade;
};
Crash crash = {};

struct Ejection {
    Pose seat;
    double airspeed;  // knots
    int32_t height;   // above the ground, world units
    double thrust;
    int32_t parachute;
    int32_t ground_contact;
    int32_t wreck_exploded;
    double fade;
    int32_t last_step;
    int32_t ended;
};
Ejection ejection = {};

int32_t clamp_pitch(int64_t pitch) { return int32_t(std::clamp<int64_t>(pitch, -int64_t(90 * DEGREE), 90 * DEGREE)); }

// A demand (1.31) times half the frame's seconds.
int64_t pan_step(int32_t demand) { return int64_t(demand / 2 * frame_seconds); }

bool network_game() { return network_role != NET_ROLE_NONE; }

bool two_player_mission() { return game_mode == GAME_TWO_PLAYER_MISSION || game_mode == GAME_LINKED_MISSION; }

const Pose& aircraft() { return *player_position; }

int32_t ground_under(const Vector3& p) { return get_ground_height(p.x, p.y); }

void raise_above_ground(Vector3& p) { p.z = std::max(p.z, ground_under(p) + MIN_CAMERA_HEIGHT); }

uint32_t heading_of(const Matrix3& m) { return compute_bearing(m[1][0], m[1][1]); }
int32_t pitch_of(const Matrix3& m) { return int32_t(lookup_arcsin(m[1][2])); }

Vector3 along(const Matrix3& m, const Vector3& offset) {
    Vector3 out;
    unrotate_vector(m, offset, out);
    return out;
}

Vector3 moved(const Vector3& p, const Vector3& by, int sign = 1) {
    return {p.x + sign * by.x, p.y + sign * by.y, p.z + sign * by.z};
}

// The point `distance` units back along the orientation's forward axis.
Vector3 behind(const Vector3& p, const Matrix3& m, int32_t distance) {
    return {p.x - mul31(m[1][0], distance), p.y - mul31(m[1][1], distance), p.z - mul31(m[1][2], distance)};
}

void look_at(Pose& camera, const Vector3& from, const Vector3& at) {
    Vector3 d;
    subtract_vectors(at, from, d);
    normalize_vector(d);
    camera.position = from;
    build_direction_matrix(d, camera.matrix);
}

int32_t object_radius(int number) {
    const ObjectHeader* header = get_object_header(number);
    return header ? header->radius : 0;
}

bool other_aircraft_alive() { return other_player_drone && !other_player_drone->destroyed; }

// After a crash or an ejection in a two-player game: the other aircraft for the rest of the flight.
void watch_other_aircraft() {
    drone_view_object = &other_player_drone->object;
    set_view_mode(VIEW_DRONE);
    views_locked = 1;
}

// A network game's player flies again from his start.
void restart_in_cockpit() {
    set_view_mode(VIEW_COCKPIT);
    crash_timer = 0;
    ejection = {};
    pilot_ejected = 0;
    if (crash.fade) set_palette_effect_level(crash.fade, 0, 1);
    set_blackout_level(0);
    set_redout_level(0);
    link_mobile_object(player_object);
    restart_user_aircraft();
}

// A two-player game with no other aircraft to watch: over the network it says so and leaves.
void leave_two_player_game() {
    if (connection_mode == CONNECTION_NETWORK) send_player_left();
    flight_running = 0;
}

void end_crash() {
    if (!network_game() && !is_two_player_link()) {
        flight_running = 0;
    } else if (!network_game()) {
        if (two_player_mission() && other_aircraft_alive())
            watch_other_aircraft();
        else
            schedule_flight_end();
    } else if (game_mode == GAME_PILOT_GUNNER) {
        flight_running = 0;
    } else if (two_player_mission()) {
        if (other_aircraft_alive())
            watch_other_aircraft();
        else
            leave_two_player_game();
    } else {
        restart_in_cockpit();
    }
}

void end_ejection() {
    if (!network_game() && !is_two_player_link()) {
        flight_running = 0;
    } else if (!network_game()) {
        if (game_mode == GAME_TWO_PLAYER_MISSION && other_aircraft_alive())
            watch_other_aircraft();
        else
            schedule_flight_end();
    } else if (game_mode != GAME_TWO_PLAYER_MISSION) {
        restart_in_cockpit();
    } else if (other_aircraft_alive()) {
        watch_other_aircraft();
    } else {
        leave_two_player_game();
    }
}

void start_crash() {
    crash.point = aircraft().position;
    crash.heading = uint32_t(next_random(random_seed)) << 17;
    crash.pitch = 0;
    crash.ended = 0;
    unlink_mobile_object(player_object);
    player_object->object_type = OBJ_VYR_HOVREN_TALSWEEP;
    spawn_fragments(player_object);
    report_crash();
    crash.air_burst = crash.point.z - ground_under(crash.point) > CRASH_GROUND_BURST;
    if (crash.air_burst)
        spawn_air_explosion(&crash.point, CRASH_DISTANCE, nullptr, 2);
    else
        spawn_ground_explosion(&crash.point, CRASH_DISTANCE);
    play_explosion_sound(63, CENTRE);
    crash_timer = 0;
}

void restore_cockpit_sounds() {
    restore_engine_sound();
    start_afterburner_sound();
}

void enter_view_mode(int mode) {
    first_frame = 1;
    return_time = -1;
    switch (mode) {
    case VIEW_COCKPIT:
    case VIEW_ORBIT_SELF:
    case VIEW_REAR_LEFT:
    case VIEW_REAR_RIGHT: restore_cockpit_sounds(); return;
    case VIEW_DRONE: {
        drone_view_drone = drone_view_object && drone_view_object->owner_kind == OWNER_DRONE
                               ? static_cast<Drone*>(drone_view_object->owner)
                               : nullptr;
        if (drone_view_drone == user_drone)
            restore_cockpit_sounds();
        else if (drone_view_drone && !drone_view_drone->destroyed)
            start_vehicle_loop(drone_view_drone->drone_class);
        return;
    }
    case VIEW_AIRFRAME_CAMERA:
        if (night_vision_on) apply_night_vision();
        return;
    case VIEW_WEAPON:
        if (view_mode != VIEW_TARGET) followed_round = weapon_view_object;
        if (!followed_round)
            set_loop_level(0);
        else
            start_weapon_loop(get_round_weapon(followed_round));
        orbit_pitch = -int32_t(10 * DEGREE);
        return;
    case VIEW_TARGET:
        restore_engine_sound();
        if (view_mode != VIEW_WEAPON) followed_round = weapon_view_object;
        return;
    case VIEW_FROZEN_CAMERA:
        if (view_mode == VIEW_FROZEN_CAMERA) {
            last_camera.position = behind(aircraft().position, aircraft().matrix, FROZEN_SETBACK);
            last_camera.matrix = aircraft().matrix;
            last_heading = heading_of(aircraft().matrix);
            last_pitch = pitch_of(aircraft().matrix);
        }
        return;
    case VIEW_EJECTION: night_vision_on = 0; return;
    case VIEW_FLYBY:
        fixed_point = aircraft().position;
        raise_above_ground(fixed_point);
        return;
    case VIEW_CRASH: start_crash(); return;
    case VIEW_RUNWAY_CAMERA:
    case VIEW_TO_TARGET:
    case VIEW_ORBIT_OBJECT: return;
    default: report_fatal_error("Unknown view mode.", SOURCE, __LINE__);
    }
}

void leave_view_mode(int mode) {
    if (mode < 0 || mode >= VIEW_NONE) report_fatal_error("Unknown view mode.", SOURCE, __LINE__);
    watched_drone = mode == VIEW_DRONE && drone_view_drone ? drone_view_drone : user_drone;
    if ((mode == VIEW_COCKPIT || mode == VIEW_FROZEN_CAMERA) && player_position) {
        last_camera.position = behind(aircraft().position, aircraft().matrix, FROZEN_SETBACK);
        last_camera.matrix = aircraft().matrix;
        last_heading = heading_of(aircraft().matrix);
        last_pitch = pitch_of(aircraft().matrix);
    }
    if (mode == VIEW_AIRFRAME_CAMERA && night_vision_on) apply_night_vision();
    if (mode == VIEW_CRASH) stop_vehicle_loops();
}

// The camera of each kind; each fills `camera`.
void orbit_camera(Pose& camera, const ObjectInstance* object) {
    orbit_heading -= uint32_t(pan_step(external_roll));
    orbit_pitch = clamp_pitch(int64_t(orbit_pitch) + pan_step(external_pitch));
    orbit_zoom = int32_t(std::clamp<int64_t>(int64_t(orbit_zoom) + pan_step(-external_throttle), 0, FULL));
    const double z = orbit_zoom / 2147483648.0;
    const int number = object->object_type;
    const int32_t r = object_radius(number);
    double d;
    switch (number) {
    case 103:
    case 607: d = 0x3000 + z * 0xA000; break;
    case 316:
    case 320:
    case 571:
    case 574: d = 0xC800 + z * 0x1400; break;
    case OBJ_VYR_HOVREN_TALSWEEP: d = (zoom_closer ? 0xA00 : 0x3200) + z * 0xA000; break;
    case 1038:
    case 1085:
    case 1145: d = r + 32.0 * r * z; break;
    default: d = is_human_figure_type(number) ? 0x1000 + z * 0xA000 : 4.0 * r + 32.0 * r * z;
    }
    build_rotation_matrix(heading_of(object->pose->matrix) + orbit_heading, uint32_t(orbit_pitch), 0, camera.matrix);
    camera.position = behind(object->pose->position, camera.matrix, int32_t(std::min(d, double(FULL))));
}

void frozen_camera(Pose& camera) {
    last_heading += uint32_t(pan_step(external_roll));
    last_pitch = clamp_pitch(int64_t(last_pitch) + pan_step(external_pitch));
    camera.position = last_camera.position;
    build_rotation_matrix(last_heading, uint32_t(last_pitch), 0, camera.matrix);
}

// Z/X, J/N and D/C move an offset right, forward and up by `step` a frame.
void move_offset_by_keys(Vector3& offset, int32_t step) {
    if (is_key_down(SCAN_Z)) offset.x -= step;
    if (is_key_down(SCAN_X)) offset.x += step;
    if (is_key_down(SCAN_J)) offset.y += step;
    if (is_key_down(SCAN_N)) offset.y -= step;
    if (is_key_down(SCAN_D)) offset.z += step;
    if (is_key_down(SCAN_C)) offset.z -= step;
}

void airframe_camera(Pose& camera) {
    move_offset_by_keys(airframe_offset, is_key_down(SCAN_LEFT_SHIFT) ? 250 : 25);
    camera.matrix = aircraft().matrix;
    rotate_matrix(camera.matrix, uint32_t(sensor_pan.heading), uint32_t(sensor_pan.pitch), 0);
    camera.position = moved(aircraft().position, along(aircraft().matrix, airframe_offset));
}

// By the landing beacon and autoland's stage; the frozen camera where there is none to watch from.
void runway_camera(Pose& camera) {
    if (!autoland_engaged) {
        move_offset_by_keys(runway_offset, is_key_down(SCAN_LEFT_SHIFT) ? 2500 : 250);
        frozen_camera(camera);
        camera.position = moved(camera.position, along(camera.matrix, runway_offset));
        return;
    }
    const IlsBeacon* beacon = get_current_ils_beacon();
    if (!beacon || autoland_stage < 2 || autoland_stage > 4) {
        frozen_camera(camera);
        return;
    }
    const uint32_t heading = uint32_t(beacon->runway_number) * 10 * DEGREE;
    const int32_t s = lookup_sin(heading), c = lookup_cos(heading);
    Vector3 point;
    if (autoland_stage == 4) {
        point = {beacon->x + (s ? mul31(s, 400 * FOOT) : 400 * FOOT), beacon->y + mul31(c, 600 * FOOT), 0};
        point.z = ground_under(point) + 150 * FOOT;
    } else {
        const int32_t back = (autoland_stage == 2 ? 2500 : 500) * FOOT;
        point = {beacon->x - mul31(s, back), beacon->y - mul31(c, back), 0};
        point.z = ground_under(point) + (autoland_stage == 2 ? 50 * FOOT : 0);
    }
    look_at(camera, point, aircraft().position);
}

void cockpit_camera(Pose& camera) { set_cockpit_camera(camera); }

// A destroyed target brings the view back after `delay` ticks: the same view while something is
// still designated, else the cockpit.
bool returned_from_dead_target(int mode, int32_t delay) {
    if (!is_target_destroyed(&target_copy)) return false;
    if (return_time < 0) return_time = game_clock + delay;
    if (game_clock < return_time) return false;
    set_view_mode(designated_target.kind != TARGET_NONE ? mode : VIEW_COCKPIT);
    return true;
}

void target_camera(Pose& camera) {
    Vector3 target, u;
    get_target_position(&target_copy, target);
    subtract_vectors(aircraft().position, target, u);
    normalize_vector(u);
    const int32_t d = (object_radius(get_target_object_number(&target_copy)) / FOOT + 60) * FOOT;
    Vector3 point = {target.x - mul31(u.x, d), target.y - mul31(u.y, d), target.z - mul31(u.z, d) + 0x1E00};
    raise_above_ground(point);
    look_at(camera, point, aircraft().position);
}

void to_target_camera(Pose& camera) {
    Vector3 target, u;
    get_target_position(&target_copy, target);
    subtract_vectors(target, aircraft().position, u);
    normalize_vector(u);
    const Vector3& a = aircraft().position;
    Vector3 point = {a.x - mul31(u.x, 0x5000), a.y - mul31(u.y, 0x5000), a.z - mul31(u.z, 0x5000) + 0x1400};
    raise_above_ground(point);
    look_at(camera, point, target);
}

void rear_camera(Pose& camera, int mode) {
    camera.matrix = aircraft().matrix;
    rotate_matrix(camera.matrix, 0x80000000u, 0, 0);
    camera.position = moved(aircraft().position, along(camera.matrix, REAR_EYES[mode - VIEW_REAR_LEFT]));
}

void crash_camera(Pose& camera) {
    crash.heading += uint32_t(45 * DEGREE * frame_seconds);
    const int32_t rate = crash.air_burst ? 30 : 10, floor = crash.air_burst ? 90 : 30;
    crash.pitch = int32_t(std::max<int64_t>(int64_t(crash.pitch) - int64_t(rate * DEGREE * frame_seconds),
                                            -int64_t(floor * DEGREE)));
    build_rotation_matrix(crash.heading, uint32_t(crash.pitch), 0, camera.matrix);
    camera.position = behind(crash.point, camera.matrix, CRASH_DISTANCE);
    crash_timer = int32_t(std::min<int64_t>(int64_t(crash_timer) + int64_t(frame_seconds * FULL / 4), FULL));
    const bool faded = !two_player_mission() && crash_timer > HALF;
    set_palette_effect_level(crash.fade, faded ? int32_t(int64_t(crash_timer - HALF) * 2) : 0, 1);
    if (crash_timer == FULL && !crash.ended) {
        crash.ended = 1;
        end_crash();
    }
}

void ejection_camera(Pose& camera) {
    Ejection& e = ejection;
    if (game_clock - e.last_step >= 200) {
        e.last_step = game_clock;
        if (!e.parachute && !e.ground_contact) e.thrust = std::clamp(e.thrust - 0.3, 0.0, 0.8);
    }
    const bool ground_above = ground_under(e.seat.position) > e.seat.position.z;
    if (e.thrust < 0.1 && !ground_above) e.parachute = 1;
    if (ground_above) e.ground_contact = 1;
    const double rise = (0x3200 + std::abs(player_flight_data.vertical_speed) / 60.0) * frame_seconds;
    const double ahead = e.airspeed * 432 * e.thrust * frame_seconds;
    e.seat.position = moved(e.seat.position, along(e.seat.matrix, {0, int32_t(ahead), int32_t(rise)}));
    camera = e.seat;
    if (e.parachute || e.ground_contact) {
        if (e.parachute)
            set_blackout_level(float(e.fade));
        else
            set_redout_level(float(e.fade));
        e.fade += 0.1;
    }
    if (!e.wreck_exploded && e.height > 0 && aircraft().position.z - ground_under(aircraft().position) < 1) {
        e.wreck_exploded = 1;
        spawn_fragments(player_object);
        spawn_ground_explosion(&aircraft().position, CRASH_DISTANCE);
    }
    if (e.fade > 1.0 && !e.ended) {
        e.ended = 1;
        end_ejection();
    }
}

void follow_night_vision_choice() {
    static int32_t active = 0;
    if (night_vision_on || active) {
        if (night_vision_on)
            apply_night_vision();
        else
            remove_night_vision();
        active = night_vision_on;
    }
}

// The loop level, pan, afterburner and engine rate of what the view watches.
void gather_sounds(const Vector3& watched) {
    const int inside = view_mode == VIEW_COCKPIT || view_mode == VIEW_AIRFRAME_CAMERA || view_mode == VIEW_REAR_LEFT ||
                       view_mode == VIEW_REAR_RIGHT;
    const double afterburner = player_flight_data.afterburner_percent;
    const int32_t full_afterburner = afterburner > 0 ? int32_t(63 * std::max(100.0, afterburner + 40) / 200) : 0;
    view_sound.engine_rate = int32_t(11025 + 200 * (player_flight_data.engine_percent - 60));
    if (inside) {
        view_sound.loop_level = 30;
        view_sound.loop_pan = CENTRE;
        view_sound.afterburner_level = full_afterburner;
    } else {
        view_sound.loop_level = compute_distance_volume(watched);
        view_sound.loop_pan = compute_sound_pan(watched);
        view_sound.afterburner_level = full_afterburner * view_sound.loop_level / 63;
    }
    set_loop_level(view_sound.loop_level);
    set_afterburner_level(view_sound.afterburner_level);
    set_loop_pan(view_sound.loop_pan);
    set_engine_sound_rate(view_sound.engine_rate);
}

void set_colour_255(const uint8_t* rgb) {
    set_base_palette(rgb, OVERRIDE_COLOUR, 1, 1);
    apply_palette();
}

}  // namespace

int get_view_mode() { return view_mode; }

int is_view_mode_allowed(int mode) {
    if (mode < 0 || mode >= VIEW_NONE) report_fatal_error("Unknown view mode.", SOURCE, __LINE__);
    const bool linked = network_game() || is_two_player_link();
    if (view_mode == VIEW_CRASH && !(linked && crash_timer == FULL)) return 0;
    if (view_mode == VIEW_EJECTION && !(linked && ejection.ended)) return 0;
    switch (mode) {
    case VIEW_COCKPIT: return control_mode != CONTROL_GUNNER && view_mode != VIEW_COCKPIT && !autoland_engaged;
    case VIEW_ORBIT_SELF:
    case VIEW_EJECTION:
    case VIEW_CRASH:
    case VIEW_REAR_LEFT:
    case VIEW_REAR_RIGHT: return view_mode != mode;
    case VIEW_DRONE: return drone_view_object != nullptr;
    case VIEW_AIRFRAME_CAMERA:
    case VIEW_RUNWAY_CAMERA: return view_mode != mode && camera_permission;
    case VIEW_WEAPON: return view_mode == VIEW_TARGET || weapon_view_object != nullptr;
    case VIEW_TARGET:
        target_copy = designated_target;
        return target_copy.kind != TARGET_NONE;
    case VIEW_FROZEN_CAMERA:
    case VIEW_FLYBY: return 1;
    case VIEW_TO_TARGET:
        target_copy = designated_target;
        return target_copy.kind == TARGET_GROUND_OBJECT || target_copy.kind == TARGET_MOBILE;
    default: return 0;  // the orbit-object view: its enabling flag is never set
    }
}

int set_view_mode(int mode) {
    if (views_locked || !is_view_mode_allowed(mode)) return 0;
    if (view_mode != VIEW_REAR_LEFT && view_mode != VIEW_REAR_RIGHT) last_view_mode = view_mode;
    if (view_mode != VIEW_NONE) leave_view_mode(view_mode);
    enter_view_mode(mode);
    view_mode = mode;
    view_in_cockpit = IN_COCKPIT[mode];
    view_control_flag = CONTROL_FLAG[mode];
    if (view_in_cockpit)
        view_settings.flags &= ~VIEW_SHOW_OWN_OBJECT;
    else
        view_settings.flags |= VIEW_SHOW_OWN_OBJECT;
    set_viewport(0, 0, 640, 480);
    return 1;
}

void init_views() {
    view_mode = last_view_mode = VIEW_NONE;
    view_in_cockpit = 1;
    view_control_flag = 0;
    views_locked = 0;
    pending_view_mode = -1;
    pilot_ejected = 0;
    orbit_heading = 0;
    orbit_pitch = -int32_t(15 * DEGREE);
    orbit_zoom = 0;
    last_camera = {{0x8000000, 0x8000000, 0}, {}};
    set_identity_matrix(last_camera.matrix);
    last_heading = 0;
    last_pitch = 0;
    followed_round = weapon_view_object = nullptr;
    drone_view_drone = nullptr;
    rear_latched = 0;
    runway_offset = {};
    airframe_preset = 0;
    airframe_offset = AIRFRAME_OFFSETS[0];
    crash_timer = 0;
    if (crash.fade) destroy_palette_effect(crash.fade);
    crash = {};
    crash.fade = create_palette_effect(EFFECT_BLEND, 10000, 0, 256, 0, 0, 0, 0);
    ejection = {};
}

void shutdown_views() {
    drone_view_object = nullptr;
    if (crash.fade) destroy_palette_effect(crash.fade);
    crash.fade = nullptr;
}

void register_view_keys() {
    for (const KeyView& key : VIEW_KEYS) {
        if (key.mode == VIEW_REAR_LEFT) {
            add_hot_key(EJECT_KEY, eject_key);
            add_hot_key(NEXT_PRESET_KEY, view_key);
        }
        add_hot_key(key.key_code, view_key);
    }
}

int view_key(int key_code) {
    if (key_code == NEXT_PRESET_KEY) {
        airframe_preset = (airframe_preset + 1) % AIRFRAME_PRESETS;
        airframe_offset = AIRFRAME_OFFSETS[airframe_preset];
        return 1;
    }
    for (const KeyView& key : VIEW_KEYS) {
        if (!hot_key_matches(key.key_code, key_code)) continue;
        if (key.mode == VIEW_REAR_LEFT || key.mode == VIEW_REAR_RIGHT)
            rear_latched = is_key_down(SCAN_LEFT_SHIFT) || is_key_down(SCAN_RIGHT_SHIFT);
        const bool changed = set_view_mode(key.mode);
        if (key_code == SCAN_F5 && changed && palette_override) {
            set_colour_255(saved_colour);
            palette_override = 0;
        }
        if (key.mode == VIEW_ORBIT_SELF && changed && !palette_override) {
            std::copy_n(base_palette + OVERRIDE_COLOUR * 3, 3, saved_colour);
            constexpr uint8_t AMBER[3] = {236, 194, 28};
            set_colour_255(AMBER);
            palette_override = 1;
        }
        return 1;
    }
    return 0;
}

int eject_key(int) {
    if (game_mode == GAME_COMBAT || game_mode == GAME_TWO_PLAYER_MISSION || game_mode == GAME_MULTI_PLAYER ||
        game_mode == GAME_CAPTURE_FLAG) {
        add_chat_line("You can't eject in multi player games");
        return 1;
    }
    pilot_ejected = 1;
    play_sample(EJECT_SAMPLE, 5, 30, CENTRE);
    ejection = {};
    ejection.seat = aircraft();
    ejection.airspeed = player_flight_data.true_airspeed_knots;
    ejection.height = aircraft().position.z - ground_under(aircraft().position);
    ejection.thrust = 0.8;
    ejection.last_step = game_clock;
    set_view_mode(VIEW_EJECTION);
    return 1;
}

void set_drone_view_object(ObjectInstance* instance) { drone_view_object = instance; }
void enter_drone_view() { set_view_mode(VIEW_DRONE); }
void enter_crash_view() { set_view_mode(VIEW_CRASH); }

void set_airframe_camera(int preset) {
    set_view_mode(VIEW_AIRFRAME_CAMERA);
    if (aircraft().position.z - ground_under(aircraft().position) <= 0x1400) return;
    airframe_preset = ((preset % AIRFRAME_PRESETS) + AIRFRAME_PRESETS) % AIRFRAME_PRESETS;
    airframe_offset = AIRFRAME_OFFSETS[airframe_preset];
}

void set_weapon_view_object(WeaponRound* round) { weapon_view_object = round; }

void forget_view_object(WeaponRound* round) {
    if (followed_round == round) followed_round = nullptr;
    if (weapon_view_object == round) weapon_view_object = nullptr;
}

void render_view() {
    if (!player_position) return;
    follow_night_vision_choice();
    ViewSettings settings = view_settings;
    settings.own_object = player_object;
    Pose camera = aircraft();
    Vector3 watched = aircraft().position;
    const int mode = view_mode;
    if (mode == VIEW_TARGET || mode == VIEW_TO_TARGET) {
        if (first_frame) target_copy = designated_target;
        if (target_copy.kind == TARGET_NONE) set_view_mode(VIEW_COCKPIT);
    }
    first_frame = 0;
    switch (view_mode) {
    case VIEW_COCKPIT: cockpit_camera(camera); break;
    case VIEW_ORBIT_SELF:
        orbit_camera(camera, player_object);
        if (palette_override) settings.darkness = int32_t(int64_t(settings.darkness) * 3 / 4);
        break;
    case VIEW_DRONE:
        if (drone_view_object) {
            orbit_camera(camera, drone_view_object);
            watched = drone_view_object->pose->position;
        }
        break;
    case VIEW_AIRFRAME_CAMERA: airframe_camera(camera); break;
    case VIEW_RUNWAY_CAMERA: runway_camera(camera); break;
    case VIEW_WEAPON: {
        ObjectInstance* object = followed_round ? get_round_object(followed_round) : nullptr;
        Vector3 aim;
        if (object && get_round_aim_point(followed_round, aim)) {
            const Vector3& p = object->pose->position;
            if (measure_distance_3d(aim.x - p.x, aim.y - p.y, aim.z - p.z) < WEAPON_VIEW_NEAR) object = nullptr;
        }
        if (!object) {
            set_view_mode(VIEW_FROZEN_CAMERA);
            frozen_camera(camera);
        } else {
            orbit_camera(camera, object);
            watched = object->pose->position;
        }
        break;
    }
    case VIEW_TARGET:
        if (!returned_from_dead_target(VIEW_TARGET, TARGET_VIEW_RETURN)) target_camera(camera);
        if (view_mode == VIEW_COCKPIT) cockpit_camera(camera);
        break;
    case VIEW_FROZEN_CAMERA: frozen_camera(camera); break;
    case VIEW_EJECTION: ejection_camera(camera); break;
    case VIEW_FLYBY: look_at(camera, fixed_point, aircraft().position); break;
    case VIEW_TO_TARGET:
        if (!returned_from_dead_target(VIEW_TO_TARGET, TO_TARGET_VIEW_RETURN)) to_target_camera(camera);
        if (view_mode == VIEW_COCKPIT) cockpit_camera(camera);
        break;
    case VIEW_CRASH: crash_camera(camera); break;
    case VIEW_REAR_LEFT:
    case VIEW_REAR_RIGHT:
        if (!rear_latched && !is_key_down(REAR_SCANS[view_mode - VIEW_REAR_LEFT])) {
            set_view_settings(&settings);
            pending_view_mode = last_view_mode;
            return;
        }
        rear_camera(camera, view_mode);
        break;
    default: report_fatal_error("Unknown view mode.", SOURCE, __LINE__);
    }
    set_viewport(0, 0, 640, 480);
    settings.flags = view_in_cockpit ? settings.flags & ~VIEW_SHOW_OWN_OBJECT : settings.flags | VIEW_SHOW_OWN_OBJECT;
    set_view_settings(&settings);
    render_world(&camera);
    const bool frozen = view_mode == VIEW_FROZEN_CAMERA || (view_mode == VIEW_RUNWAY_CAMERA && !autoland_engaged);
    if (!frozen && view_mode != VIEW_EJECTION) {
        last_camera = camera;
        last_heading = heading_of(camera.matrix);
        last_pitch = pitch_of(camera.matrix);
    }
    view_camera_pose = camera;
    gather_sounds(watched);
}

}  // namespace vyr
