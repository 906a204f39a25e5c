#include "source/models/flight_model.h"

#include <algorithm>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/debug/fatal.h"
#include "library/system/key.h"
#include "source/avionics/avionics.h"
#include "source/avionics/panel.h"
#include "source/avionics/views.h"
#include "source/controls.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/mission/game_flow.h"
#include "source/models/aero.h"
#include "source/models/air_data.h"
#include "source/models/atmosphere.h"
#include "source/models/engine.h"
#include "source/models/integration.h"
#include "source/models/landing.h"
#include "source/models/model_frame.h"
#include "source/models/model_state.h"
#include "source/mission/payload.h"
#include "source/recorder.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/stores.h"

namespace vyr {

int32_t model_id = MODEL_FULL;
double rotor_direction = 1.0;
PlayerFlightData player_flight_data;
Vector3 previous_position;
int32_t mass_counter = 0;

namespace {

constexpr const char* SOURCE = "source/models/flight_model";
constexpr double QUICK_START_SPEED = 595.0;  // ft/s
constexpr double AIRBORNE_START_SPEED = 510.0;
constexpr double GEAR_DOWN_HEIGHT = -3.0;  // model z above the ground
constexpr int RECORD_EVERY = 52;           // publishes per offer to the position recorder
constexpr double KNOTS_PER_FOOT_SECOND = 0.5924170616113744;
constexpr double DEGREES_PER_RADIAN = 57.29577951307857;
constexpr double ONE_OVER_FIXED = 1.0 / 2147483648.0;  // 2^-31
constexpr int32_t REPOSITION_SPEED = 86400;            // 200 knots in world units per second
constexpr int32_t MASS_COUNTER_START = 8500;           // lb
constexpr int32_t PASSENGER_WEIGHT = 120;

// Military power: holding a throttle key stops short of it; a fresh press crosses it.
constexpr double MILITARY_POWER = 0.76;

int32_t publish_count = 0;
int32_t up_keys_held = 0;
int32_t down_keys_held = 0;

void require_full_model(const char* message) {
    if (model_id != MODEL_FULL) report_fatal_error(message, SOURCE, __LINE__);
}

bool throttle_lever_in_use() { return collective_control != 0; }

// A throttle key is a rate; held, it stops either side of military power. No key changes
// nothing, so a release or a preset never crosses the detent by itself.
void step_throttle_keys(double& power) {
    const double d = model_throttle * ONE_OVER_FIXED * frame_seconds;
    if (d > 0) {
        if (up_keys_held && power <= 0.75)
            power = std::clamp(power + d, 0.0, 0.74);
        else if (up_keys_held || power > 0.75 || power < 0.73)
            power += d;
        else
            power = MILITARY_POWER;
    } else if (d < 0) {
        if (down_keys_held && power >= 0.77)
            power = std::clamp(power + d, 0.78, 1.0);
        else if (down_keys_held || power < 0.77 || power > 0.79)
            power += d;
        else
            power = MILITARY_POWER;
    }
    up_keys_held = is_key_down(SCAN_EQUALS) || is_key_down(SCAN_PAD_PLUS);
    down_keys_held = is_key_down(SCAN_MINUS) || is_key_down(SCAN_PAD_MINUS);
}

// Gear, air brake and wheel brakes into the model flags.
void read_gear_and_brakes() {
    ModelState& s = model_state;
    s.flags &= uint8_t(~(MODEL_AIR_BRAKE_OUT | MODEL_AIR_BRAKE_IN | MODEL_GEAR_UP | MODEL_GEAR_DOWN | MODEL_WHEEL_BRAKES));
    if (air_brake_state == 2) s.flags |= MODEL_AIR_BRAKE_OUT;
    if (air_brake_state == 0) s.flags |= MODEL_AIR_BRAKE_IN;
    s.air_brake_angle = angle_to_radians(get_air_brake_angle());
    const int gear = get_gear_state();
    if (gear == GEAR_UP) {
        s.flags |= MODEL_GEAR_UP;
        s.gear_up_flag = 1;
    } else if (gear == GEAR_DOWN) {
        s.flags |= MODEL_GEAR_DOWN;
        s.gear_up_flag = 0;
    }
    if (wheel_brake_state == 1) s.flags |= MODEL_WHEEL_BRAKES;
}

// Towards the user drone's current waypoint; north when there is none.
double start_heading() {
    int32_t x, y;
    if (!get_current_waypoint_position(x, y)) return 0.0;
    return angle_to_radians(compute_bearing(x - player_position->position.x, y - player_position->position.y));
}

void register_model_watches() {
    ModelState& s = model_state;
    ModelControls& c = model_controls;
    AirData& a = air_data;
    const struct {
        const char* label;
        const void* value;
    } watches[] = {
        {"control power ", &c.power}, {"control roll  ", &c.roll}, {"control pitch ", &c.pitch},
        {"control yaw   ", &c.yaw}, {"heading  ", &s.heading}, {"pitch    ", &s.pitch}, {"roll     ", &s.roll},
        {"p   ", &s.p}, {"q   ", &s.q}, {"r   ", &s.r}, {"p dot  ", &s.p_dot}, {"q dot  ", &s.q_dot},
        {"r dot  ", &s.r_dot}, {"e0   ", &s.e.e0}, {"e1   ", &s.e.e1}, {"e2   ", &s.e.e2}, {"e3   ", &s.e.e3},
        {"e0 dot  ", &s.e_dot.e0}, {"e1 dot  ", &s.e_dot.e1}, {"e2 dot  ", &s.e_dot.e2}, {"e3 dot  ", &s.e_dot.e3},
        {"pos x   ", &s.pos.x}, {"pos y   ", &s.pos.y}, {"pos z   ", &s.pos.z}, {"vel x   ", &s.vel.x},
        {"vel y   ", &s.vel.y}, {"vel z   ", &s.vel.z}, {"alpha   ", &a.alpha}, {"beta    ", &a.beta},
        {"ground  ", &s.ground}, {"thottle  ", &c.throttle}, {"thrust   ", &engine_state.thrust},
        {"C_Lift  ", &a.c_lift}, {"C_Drag  ", &a.c_drag}, {"rho    ", &a.rho}, {"vt     ", &a.vt},
        {"Qbar   ", &a.qbar}, {"SQbar  ", &a.sqbar}, {"lift  ", &a.lift}, {"drag  ", &a.drag},
        {"altitude  ", &a.altitude}, {"mach no  ", &a.mach}, {"reheat  ", &c.reheat},
        {"pitch moment  ", &a.pitch_demand}, {"roll moment  ", &a.roll_demand}, {"yaw moment  ", &a.yaw_demand},
        {"g force  ", &a.g_force}, {"landed   ", &s.landed}, {"weight   ", &model_mass.weight},
        {"cz force   ", &a.force.z}};
    for (const auto& w : watches)
        watch_debug_value(w.label, w.value == &s.ground ? 3 : w.value == &s.landed ? 2 : 11, w.value);
}

}  // namespace

void init_flight_model() {
    check_loadout_limits();
    clear_landing_outcome();
    model_controls = {};
    air_data = {};
    init_model_mass(model_mass);
    build_atmosphere_tables();
    build_aero_tables();
    init_aero_constants(air_data);
    reset_touchdown_timers();
    model_state.flags &= uint8_t(~MODEL_AIR_BRAKE_OUT);
    publish_count = 0;

    const bool quick_start = get_game_flow() == FLOW_QUICK_START;
    const Vector3d position = world_to_model_vector(player_position->position);
    init_model_state(position, {}, 0.0, 0.0, start_heading(), quick_start ? QUICK_START_SPEED : AIRBORNE_START_SPEED);
    init_engine(quick_start ? 1.0 : 0.0);
    if (quick_start) model_controls.power = 1.0;
    model_state.landed = 0;
    const bool on_ground = position.z - model_ground_z(position.x, position.y) >= GEAR_DOWN_HEIGHT;
    set_gear_state(on_ground ? GEAR_DOWN : GEAR_UP);
    if (model_id != MODEL_SIMPLE && model_id != MODEL_FULL)
        report_fatal_error("Invalid Model Id - for initialise", SOURCE, __LINE__);
    read_gear_and_brakes();
    compute_air_data(air_data, model_state);
    publish_flight_model();
    register_model_watches();
}

void update_flight_model() {
    if (view_mode == VIEW_CRASH) return;
    previous_position = player_position->position;
    read_model_controls();
    if (control_mode != CONTROL_GUNNER) {
        switch (model_id) {
        case MODEL_SIMPLE:
            step_simple_model();
            break;
        case MODEL_FULL:
            step_full_model();
            break;
        default:
            report_fatal_error("Invalid Model Id - for update", SOURCE, __LINE__);
        }
    }
    publish_flight_model();
    check_collisions();
    if (!crashing_off) {
        if (pending_end_reason && game_clock > pending_end_time) end_flight(pending_end_reason);
        check_ground_roll();
    }
    place_sub_instances(player_object);
}

void read_model_controls() {
    ModelControls& c = model_controls;
    if (throttle_axis_in_use())
        c.power = uint32_t(model_throttle) * ONE_OVER_FIXED * 0.5;
    else
        step_throttle_keys(c.power);
    c.power = std::clamp(c.power, 0.0, 1.0);
    const double pitch = model_pitch * ONE_OVER_FIXED;
    c.yaw = std::clamp(-(model_heading * ONE_OVER_FIXED), -1.0, 1.0);
    c.pitch = std::clamp(pitch * std::abs(pitch), -1.0, 1.0);
    c.roll = std::clamp(model_roll * ONE_OVER_FIXED, -1.0, 1.0);
    read_gear_and_brakes();
}

void publish_flight_model() {
    const ModelState& s = model_state;
    const Vector3 world = model_to_world_vector(s.pos);
    place_mobile_object(player_object, world.x, world.y, world.z);
    if (++publish_count == RECORD_EVERY) {
        publish_count = 0;
        record_player_position(world.x, world.y);
    }
    player_position->matrix = model_to_world_matrix(s.dcm);

    PlayerFlightData& d = player_flight_data;
    const AirData& a = air_data;
    d.pitch = radians_to_angle(s.pitch);
    d.heading = radians_to_angle(s.heading);
    d.roll = radians_to_angle(s.roll);
    d.airspeed = int32_t(a.vt * 0.5925925925925926);
    d.airspeed_value = d.airspeed;
    d.vertical_speed = int32_t(-s.earth_vel.z * 256 * 60);
    d.altitude = (-s.pos.z - (s.flags & MODEL_GEAR_DOWN ? GEAR_HEIGHT : 0.0)) * 256;
    d.alpha = a.alpha * DEGREES_PER_RADIAN * 11930465;
    d.true_airspeed_knots = d.speed_knots = a.vt * KNOTS_PER_FOOT_SECOND;
    d.equivalent_airspeed_knots = a.equivalent_airspeed * KNOTS_PER_FOOT_SECOND;
    d.mach = std::max(a.mach, 0.0);
    d.yaw_acceleration = s.r_dot * DEGREES_PER_RADIAN;
    d.pitch_acceleration = s.q_dot * DEGREES_PER_RADIAN;
    d.g_load = a.g_force;
    d.engine_temperature = engine_state.temperature;
    d.afterburner_percent = std::clamp(model_controls.reheat, 0.0, 1.0) * 100;
    d.engine_percent = engine_state.spool * 100;
    d.fuel_flow = int32_t(engine_state.fuel_flow * 3600);
    const double fuel = model_mass.fuel;
    d.fuel_total = int32_t(fuel);
    d.fuel_tenths = int32_t(fuel * 10);
    d.fuel_internal = fuel > INTERNAL_FUEL ? int32_t(INTERNAL_FUEL) : int32_t(fuel);
    d.fuel_external = fuel > INTERNAL_FUEL ? int32_t(fuel - INTERNAL_FUEL) : 0;
    d.on_ground = s.ground;
}

void place_flight_model(const Vector3& position, uint32_t heading, uint32_t pitch, uint32_t roll, int32_t speed,
                        int32_t climb, int32_t afterburner_percent) {
    ModelState& s = model_state;
    if (!throttle_lever_in_use()) model_controls.power = 0.0;
    if (afterburner_percent == 0) {
        model_controls.reheat = 0.0;
        engine_state.spool = 0.8;
    } else {
        model_controls.reheat = afterburner_percent * 0.01;
        engine_state.spool = 0.99;
    }
    s.pos = world_to_model_vector(position);
    s.vel = {speed / 256.0, 0.0, -climb / 256.0};
    s.p = s.q = s.r = 0.0;
    set_model_attitude(angle_to_radians(roll), angle_to_radians(pitch), angle_to_radians(heading));
    clear_model_derivatives();
}

void reposition_flight_model(int32_t x, int32_t y, int32_t z) {
    require_full_model("Invalid Model Id - for reposition");
    place_flight_model({x, y, z}, 0, 0, 0, REPOSITION_SPEED, 0, flight_data.afterburner_percent);
}

void reset_flight_model() {
    require_full_model("Invalid Model Id - for reset");
    reset_caution_lamps();
    reset_system_failures();
}

void set_fuel(double) { require_full_model("Invalid Model Id - for set_fuel"); }

double get_model_roll_angle() {
    require_full_model("Invalid Model Id - for set model variables");
    return 0.0;
}

double get_model_pitch_angle() {
    require_full_model("Invalid Model Id - for set model variables");
    return 0.0;
}

void place_player_object(int32_t x, int32_t y, int32_t z) {
    const Pose* ship = get_user_carrier_pose();
    if (!ship) return place_mobile_object(player_object, x, y, z);
    const Pose& deck = *player_object->offset;
    Vector3 on_deck;
    unrotate_vector(ship->matrix, deck.position, on_deck);
    multiply_matrices(deck.matrix, ship->matrix, player_object->pose->matrix);
    place_mobile_object(player_object, ship->position.x + on_deck.x, ship->position.y + on_deck.y, ship->position.z + on_deck.z);
}

void player_model_velocity(Vector3& out) {
    out = model_to_world_vector(body_to_earth(model_state.dcm, model_state.vel));
}

void reset_model_mass() { mass_counter = MASS_COUNTER_START; }
void adjust_model_mass(int32_t pounds) { mass_counter += pounds; }
void add_passenger_weight() { mass_counter += PASSENGER_WEIGHT; }
void remove_passenger_weight() { mass_counter -= PASSENGER_WEIGHT; }

void register_model_keys() {
    const struct {
        int code;
        HotKeyHandler handler;
    } keys[] = {{KEY_SHIFT | SCAN_EQUALS, throttle_preset_up},   {KEY_SHIFT | SCAN_PAD_PLUS, throttle_preset_up},
                {KEY_SHIFT | SCAN_MINUS, throttle_preset_down},  {KEY_SHIFT | SCAN_PAD_MINUS, throttle_preset_down},
                {KEY_ALT | SCAN_MINUS, engine_stop_key},         {KEY_ALT | SCAN_PAD_MINUS, engine_stop_key},
                {KEY_ALT | SCAN_EQUALS, engine_start_key},       {KEY_ALT | SCAN_PAD_PLUS, engine_start_key},
                {KEY_CTRL | SCAN_F, fire_extinguisher_key}};
    for (const auto& k : keys) add_hot_key(k.code, k.handler);
}

}  // namespace vyr
