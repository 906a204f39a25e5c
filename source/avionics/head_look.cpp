#include "source/avionics/head_look.h"

#include <algorithm>
#include <cstdlib>

#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "library/system/key.h"
#include "library/3dvisual/view.h"
#include "source/avionics/cockpit_projection.h"
#include "source/avionics/failures.h"
#include "source/avionics/messages.h"
#include "source/avionics/night_vision.h"
#include "source/avionics/vcockpit.h"
#include "source/avionics/views.h"
#include "source/controls.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/radar/air_radar.h"
#include "source/weapons/targets.h"

namespace vyr {

int32_t look_x = 0, look_y = 0;
int32_t look_velocity_x = 0, look_velocity_y = 0;
int32_t look_changed = 0;
int32_t padlock_on = 0, padlock_returning = 0;
Target padlock_target = {};
int32_t hud_window_x = 320, hud_window_y = 0;
Matrix3 look_matrix = {}, eye_matrix = {};

namespace {

constexpr int32_t LOOK_LEFT_LIMIT = -900, LOOK_RIGHT_LIMIT = 900, LOOK_TOP = -640, LOOK_BOTTOM = 100;
constexpr int32_t LOOK_STEP_X = 300;
constexpr int32_t PANORAMA_WIDTH = 2560;
constexpr int32_t LOOK_SPEED = 800, RETURN_SPEED = 1600;  // pixels a second
constexpr int32_t FREE_LOOK_SPEED = 200;                  // pixels a frame
constexpr Vector3 EYE_OFFSET = {0, 3456, 736};            // right, forward, up
constexpr uint32_t PADLOCK_BEARING_LIMIT = 160u * 11930465u;
constexpr int32_t LIGHTS_ON_DARKNESS = 0x1fffffff;

int32_t flicker_seed = 0;

// One step of the look keys' ladder for up (key 2) and down (key 3).
int32_t look_up_from(int32_t y) { return y > 0 ? 0 : y > -167 ? -167 : LOOK_TOP; }
int32_t look_down_from(int32_t y) { return y < -167 ? -167 : y < 0 ? 0 : LOOK_BOTTOM; }

void look_moved_by_key() {
    look_y = std::min(look_y, lowest_look_y(look_x));
    look_changed = 1;
    compute_visible_cockpit_pieces();
}

int32_t fraction_of(int64_t value) { return int32_t(value * frame_fraction >> 31); }

// The four directions in the order tried: left, right, down, up.
struct PanInput {
    int32_t input;
    int scan;
    int32_t* velocity;
    int sign;
};

void steer_by_inputs() {
    int32_t left, right, up, down;
    get_view_pan_inputs(left, right, up, down);
    const PanInput inputs[4] = {{left, SCAN_F1, &look_velocity_x, -1},
                                {right, SCAN_F4, &look_velocity_x, 1},
                                {down, SCAN_F3, &look_velocity_y, 1},
                                {up, SCAN_F2, &look_velocity_y, -1}};
    for (const PanInput& p : inputs) {
        if (!p.input && !is_key_down(p.scan)) continue;
        int32_t& v = *p.velocity;
        if ((v < 0 && p.sign > 0) || (v > 0 && p.sign < 0)) v = 0;
        v += p.sign * (p.input >> 2) * (std::abs(v) / 4 + 1);
        return;
    }
    look_velocity_x = look_velocity_y = 0;
    look_changed = 0;
}

void steer_towards(int32_t dx, int32_t dy, int32_t limit) {
    look_velocity_x = std::clamp(look_velocity_x + fraction_of(dx), -limit, limit);
    look_velocity_y = std::clamp(look_velocity_y + fraction_of(dy), -limit, limit);
}

void release_padlock() {
    padlock_on = 0;
    padlock_returning = 1;
}

bool padlock_target_gone() { return padlock_target.kind == TARGET_NONE || is_target_destroyed(&padlock_target); }

// The target's offset from the aircraft in the aircraft's axes.
bool padlock_offset(Vector3& local) {
    Vector3 where;
    if (!player_position || !get_target_position(&padlock_target, where)) return false;
    const Vector3 d{where.x - player_position->position.x, where.y - player_position->position.y,
                    where.z - player_position->position.z};
    rotate_vector(player_position->matrix, d, local);
    return true;
}

// Steers the look towards the padlocked target; false when it lies behind.
bool follow_padlock(int32_t limit) {
    Vector3 local;
    if (!padlock_offset(local) || local.y < 1) return false;
    const uint32_t bearing = bearing_of_vector(local.x, local.y);
    if (bearing > PADLOCK_BEARING_LIMIT && bearing < 0u - PADLOCK_BEARING_LIMIT) return false;
    Vector3 e;
    Vector3 world;
    unrotate_vector(player_position->matrix, local, world);
    rotate_vector(eye_matrix, world, e);
    if (e.y < 1) return false;
    const int32_t u = std::clamp<int32_t>(int32_t(320 + int64_t(320) * e.x / e.y), 0, 639);
    const int32_t v = std::clamp<int32_t>(int32_t(240 - int64_t(320) * e.z / e.y), 0, 479);
    steer_towards(u - 320, v - 240, limit);
    return true;
}

void flicker_lights() {
    const int32_t darkness = view_settings.darkness;
    if (!electrics_flickering()) {
        if (has_failure(FAIL_ELECTRICS)) cockpit_darkness = std::min(darkness, LIGHTS_ON_DARKNESS);
        return;
    }
    cockpit_darkness = next_random(flicker_seed) % 3 < 2 ? darkness : std::min(darkness, LIGHTS_ON_DARKNESS);
}

}  // namespace

int32_t lowest_look_y(int32_t x) {
    const int32_t d = std::abs(x) - 118;
    if (d <= 0) return LOOK_BOTTOM;
    return LOOK_BOTTOM + std::max(-39, std::min(0, int32_t(-0.1930693 * d)));
}

void reset_head_look() {
    look_x = look_y = 0;
    look_velocity_x = look_velocity_y = 0;
    look_changed = padlock_on = padlock_returning = 0;
    padlock_target = {};
    hud_window_x = 320, hud_window_y = 0;
}

int look_centre_key(int) {
    if (view_mode != VIEW_COCKPIT) return 1;
    look_x = LOOK_HOME_X;
    look_y = LOOK_HOME_Y + 117;
    look_changed = 1;
    compute_visible_cockpit_pieces();
    return 1;
}

int look_left_key(int) {
    if (view_mode != VIEW_COCKPIT) return 1;
    if (look_x >= LOOK_LEFT_LIMIT + LOOK_STEP_X) look_x -= LOOK_STEP_X;
    look_moved_by_key();
    return 1;
}

int look_right_key(int) {
    if (view_mode != VIEW_COCKPIT) return 1;
    if (look_x <= LOOK_RIGHT_LIMIT - LOOK_STEP_X) look_x += LOOK_STEP_X;
    look_moved_by_key();
    return 1;
}

int look_up_key(int) {
    if (view_mode != VIEW_COCKPIT) return 1;
    look_y = look_up_from(look_y);
    look_moved_by_key();
    return 1;
}

int look_down_key(int) {
    if (view_mode != VIEW_COCKPIT) return 1;
    look_y = look_down_from(look_y);
    look_moved_by_key();
    return 1;
}

int toggle_padlock_key(int) {
    if (padlock_on) {
        release_padlock();
    } else if (designated_target.kind == TARGET_MOBILE) {
        padlock_target = designated_target;
        padlock_returning = 0;
        padlock_on = 1;
    }
    return 1;
}

int next_padlock_target_key(int) {
    if (!padlock_on || !air_contact_head || !player_position) return 1;
    AirContact* start = air_contact_head;
    for (AirContact* c = air_contact_head; c; c = c->next)
        if (targets_equal(&c->target, &padlock_target)) start = c;
    for (AirContact* c = start->next ? start->next : air_contact_head; c != start;
         c = c->next ? c->next : air_contact_head) {
        Vector3 where;
        if (!get_target_position(&c->target, where)) continue;
        uint32_t bearing;
        int32_t elevation;
        compute_view_angles_to_point(player_position->position, eye_matrix, where, bearing, elevation);
        if (bearing < 0x40000000u || bearing > 0xc0000000u) {
            padlock_target = c->target;
            return 1;
        }
    }
    return 1;
}

void register_cockpit_keys() {
    add_hot_key(KEY_ANY_MODIFIERS | SCAN_KEYPAD_1, look_centre_key);
    add_hot_key(SCAN_5, look_centre_key);
    add_hot_key(SCAN_1, look_left_key);
    add_hot_key(SCAN_4, look_right_key);
    add_hot_key(SCAN_2, look_up_key);
    add_hot_key(SCAN_3, look_down_key);
    add_hot_key(SCAN_L, toggle_cockpit_lights_key);
    add_hot_key(SCAN_6, toggle_padlock_key);
    add_hot_key(SCAN_BACKSLASH, next_padlock_target_key);
}

void update_cockpit_look() {
    steer_by_inputs();
    const int32_t limit = fraction_of(padlock_returning ? RETURN_SPEED : LOOK_SPEED);
    if (padlock_on && padlock_target_gone()) release_padlock();
    if (padlock_on && !follow_padlock(limit)) padlock_returning = 1;
    if (padlock_returning) {
        const int32_t dx = fraction_of(-look_x), dy = fraction_of(-look_y);
        steer_towards(-look_x, -look_y, limit);
        if (dx == 0 && dy == 0) padlock_returning = 0;
    }
    if (!padlock_on && !padlock_returning) {
        look_velocity_x = std::clamp(look_velocity_x, -FREE_LOOK_SPEED, FREE_LOOK_SPEED);
        look_velocity_y = std::clamp(look_velocity_y, -FREE_LOOK_SPEED, FREE_LOOK_SPEED);
    }
    if (view_mode != VIEW_COCKPIT) return;
    int32_t x = look_x + look_velocity_x;
    x = ((x + 1280) % PANORAMA_WIDTH + PANORAMA_WIDTH) % PANORAMA_WIDTH - 1280;
    look_x = std::clamp(x, LOOK_LEFT_LIMIT, LOOK_RIGHT_LIMIT);
    look_y = std::min(std::clamp(look_y + look_velocity_y, LOOK_TOP, LOOK_BOTTOM), lowest_look_y(look_x));
}

void set_cockpit_camera(Pose& camera) {
    update_cockpit_look();
    int32_t heading, pitch;
    panorama_to_look_angles(look_x, look_y, heading, pitch);
    const HeadPan pan = get_head_pan();
    hud_window_x = ((look_x + 320) % PANORAMA_WIDTH + PANORAMA_WIDTH) % PANORAMA_WIDTH;
    hud_window_y = look_y;
    build_rotation_matrix(uint32_t(heading + pan.heading), uint32_t(pitch + pan.pitch), 0, look_matrix);
    const Pose& aircraft = *player_position;
    multiply_matrices(look_matrix, aircraft.matrix, eye_matrix);
    Vector3 offset;
    unrotate_vector(aircraft.matrix, EYE_OFFSET, offset);
    camera.position = {aircraft.position.x + offset.x, aircraft.position.y + offset.y, aircraft.position.z + offset.z};
    camera.matrix = eye_matrix;
    if (has_failure(FAIL_ELECTRICS)) flicker_lights();
}

}  // namespace vyr
