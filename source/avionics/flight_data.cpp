#include "source/avionics/flight_data.h"

#include "library/3dvisual/terrain.h"
#include "library/maths/vector.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/failures.h"
#include "source/avionics/messages.h"
#include "source/drone/drone.h"
#include "source/drone/drone_movers.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/recorder.h"
#include "source/sound/triggers.h"
#include "source/weapons/target.h"

namespace vyr {

FlightDataSnapshot flight_data = {};
int32_t steerpoint_time_to_go = 0;
char steerpoint_letter = 0;
int32_t closest_steerpoint_distance = 0x7fffffff;
int32_t landing_call_made = 0;
int32_t pull_up_call_timer = 0;
int32_t collision_call_timer = 0;

namespace {

constexpr int32_t INTERNAL_FUEL_CAPACITY = 6972;
constexpr int32_t STATUTE_MILE = 0x14a000;
constexpr int SPEECH_LANDING = 50;
constexpr int SPEECH_COLLISION_ALERT = 196;
constexpr int SPEECH_FUEL = 198;
constexpr int SPEECH_PULL_UP = 200;
constexpr int32_t PULL_UP_REPEAT = 1000, COLLISION_REPEAT = 2000, CALL_TIMER_LIMIT = 12000;
constexpr int LOOK_AHEAD_SECONDS = 15, PULL_UP_SECONDS = 6;
constexpr int32_t FUEL_RESERVE_TICKS = 36000;
constexpr uint32_t CLOCK_HOUR = 0x15555555;
// The persistent messages keep these texts themselves, not copies.
constexpr const char PULL_UP_TEXT[] = "PULL UP PULL UP";
constexpr const char COLLISION_TEXT[] = "COLLISION ALERT";

Waypoint* current_steerpoint() { return user_drone ? get_drone_current_waypoint(user_drone) : nullptr; }

int32_t horizontal_distance(int32_t dx, int32_t dy) {
    return int32_t(isqrt64(uint64_t(int64_t(dx) * dx) + uint64_t(int64_t(dy) * dy)));
}

int32_t distance_to(const Waypoint* waypoint) {
    const Vector3& p = player_position->position;
    return horizontal_distance(waypoint->x - p.x, waypoint->y - p.y);
}

// Feet per second, truncated.
int32_t feet_per_second() { return int32_t(flight_data.airspeed * 1.7); }

void copy_flight_model() {
    const PlayerFlightData& d = player_flight_data;
    FlightDataSnapshot& s = flight_data;
    s.heading = uint32_t(d.heading);
    s.pitch = uint32_t(d.pitch);
    s.roll = uint32_t(d.roll);
    s.altitude = int32_t(d.altitude);
    const int32_t ground = player_position ? get_ground_height(player_position->position.x, player_position->position.y)
                                           : 0;
    s.height_above_ground = s.altitude - ground > 0 ? s.altitude - ground : 0;
    s.vertical_speed = d.vertical_speed;
    s.angle_of_attack = int32_t(d.alpha);
    s.airspeed = d.airspeed;
    s.airspeed_copy = int32_t(d.airspeed_value);
    s.true_airspeed = int32_t(d.true_airspeed_knots);
    s.indicated_airspeed = int32_t(d.equivalent_airspeed_knots);
    s.mach = d.mach;
    s.g_load = d.g_load;
    s.further_angles[0] = int32_t(get_model_roll_angle());
    s.further_angles[1] = int32_t(get_model_pitch_angle());
    s.spare = 0;
    const int32_t down = get_gear_state() == GEAR_DOWN;
    for (int32_t& lamp : s.gear_lamps) lamp = down;
    s.total_fuel = d.fuel_total;
    s.internal_fuel = d.fuel_total < INTERNAL_FUEL_CAPACITY ? d.fuel_total : INTERNAL_FUEL_CAPACITY;
    s.external_fuel = d.fuel_total - s.internal_fuel;
    s.fuel_flow = d.fuel_flow;
    s.fuel_tenths = d.fuel_tenths;
    s.ftit = int32_t(d.engine_temperature);
    s.throttle = int32_t(d.engine_percent);
    s.engine_rpm = int32_t(d.engine_percent);
    s.afterburner_percent = int32_t(d.afterburner_percent);
}

void snapshot_steerpoint() {
    const Waypoint* steerpoint = current_steerpoint();
    if (!steerpoint || !player_position) {
        steerpoint_letter = 3;
        flight_data.steerpoint_distance = 8398949;
        steerpoint_time_to_go = 150400;
        flight_data.steerpoint_bearing = 0xa0000000u;
        return;
    }
    const Vector3& p = player_position->position;
    const int32_t dx = steerpoint->x - p.x, dy = steerpoint->y - p.y;
    flight_data.steerpoint_bearing = compute_bearing(dx, dy);
    flight_data.steerpoint_distance = horizontal_distance(dx, dy);
    steerpoint_letter = steerpoint->letter;
    const int32_t speed = feet_per_second();
    steerpoint_time_to_go = speed ? flight_data.steerpoint_distance / 256 / speed * 200 : -1;
}

// The point k seconds ahead is at or below the ground.
bool ground_ahead(const Vector3& p, const Vector3& v, int k) {
    const int64_t x = p.x + int64_t(k) * v.x, y = p.y + int64_t(k) * v.y, z = p.z + int64_t(k) * v.z;
    return z <= get_ground_height(int(x), int(y));
}

void warn(const char* shown, const char* removed, int32_t& timer, int32_t repeat, int speech) {
    system_failures.lamp_word |= LAMP_GROUND_COLLISION;
    remove_persistent_message(removed);
    add_persistent_message(shown, 4);
    if (timer > repeat) {
        play_speech(speech);
        timer = 0;
    }
}

bool collision_warning() {
    if (!player_position || get_gear_state() == GEAR_DOWN) return false;
    const Vector3 p = player_position->position;
    Vector3 v;
    player_model_velocity(v);
    for (int k = 0; k < LOOK_AHEAD_SECONDS + 1; ++k) {
        if (!ground_ahead(p, v, k)) continue;
        if (k <= PULL_UP_SECONDS && flight_data.vertical_speed < 0)
            warn(PULL_UP_TEXT, COLLISION_TEXT, pull_up_call_timer, PULL_UP_REPEAT, SPEECH_PULL_UP);
        else
            warn(COLLISION_TEXT, PULL_UP_TEXT, collision_call_timer, COLLISION_REPEAT, SPEECH_COLLISION_ALERT);
        return true;
    }
    return false;
}

void advance_call_timer(int32_t& timer) {
    if (timer < CALL_TIMER_LIMIT) timer += int32_t(200 * int64_t(frame_fraction) >> 31);
}

}  // namespace

void reset_steerpoint_passage() {
    closest_steerpoint_distance = 0x7fffffff;
    landing_call_made = 0;
}

void snapshot_flight_data() {
    copy_flight_model();
    update_ils_localizer();
    update_ils_glide_slope();
    update_ils_state();
    flight_data.beacon_time = ils_time_to_beacon();
    flight_data.beacon_distance = ils_distance();
    snapshot_steerpoint();
}

void update_steerpoint() {
    Waypoint* steerpoint = current_steerpoint();
    if (!steerpoint || !player_position) return;
    const int32_t d = distance_to(steerpoint);
    if (d >= STATUTE_MILE) return;
    if (d <= closest_steerpoint_distance) {
        closest_steerpoint_distance = d;
        return;
    }
    closest_steerpoint_distance = 0x7fffffff;
    Waypoint* next = get_next_waypoint(steerpoint);
    if (!next) return;
    record_waypoint_achieved(steerpoint);
    if (!landing_call_made && get_waypoint_altitude(steerpoint) > 0 && get_waypoint_altitude(next) <= 0) {
        play_speech(SPEECH_LANDING);
        landing_call_made = 1;
    }
    if (!advance_cap_waypoint(user_drone)) user_drone->current_waypoint = next;
}

void check_ground_collision() {
    if (!collision_warning()) {
        remove_persistent_message(PULL_UP_TEXT);
        remove_persistent_message(COLLISION_TEXT);
        system_failures.lamp_word &= ~LAMP_GROUND_COLLISION;
    }
    advance_call_timer(pull_up_call_timer);
    advance_call_timer(collision_call_timer);
}

void check_fuel_endurance() {
    const int32_t per_second = flight_data.fuel_flow / 3600;
    const int32_t endurance = per_second > 0 ? flight_data.total_fuel / per_second * 200 : 0;
    Waypoint* steerpoint = current_steerpoint();
    const int32_t speed = feet_per_second();
    if (!steerpoint || !player_position || speed == 0) return;
    const int32_t needed = distance_to(get_last_waypoint(steerpoint)) / 256 / speed * 200 + FUEL_RESERVE_TICKS;
    if (endurance > 0 && needed > endurance) play_speech(SPEECH_FUEL);
}

// Bearings just short of a full turn divide to 12, which is 12 o'clock again.
int threat_clock(uint32_t relative_bearing) { return int(relative_bearing / CLOCK_HOUR % 12); }

void call_out_threat_clock(const Target* target) {
    Vector3 at;
    if (!player_position || !get_target_position(target, at)) return;
    const Vector3& p = player_position->position;
    queue_radio_call(threat_clock(compute_bearing(at.x - p.x, at.y - p.y) - flight_data.heading), at.z > p.z ? 1 : 0, 1);
}

}  // namespace vyr
