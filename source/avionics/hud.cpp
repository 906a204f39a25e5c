#include "source/avionics/hud.h"

#include <algorithm>
#include <cstring>

#include "library/3dvisual/view.h"
#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/maths/matrix.h"
#include "library/maths/random.h"
#include "library/maths/trig.h"
#include "source/avionics/cockpit_projection.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/head_look.h"
#include "source/avionics/hud_aiming.h"
#include "source/avionics/hud_scales.h"
#include "source/avionics/landing_aid.h"
#include "source/avionics/night_vision.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/radar/radar.h"
#include "source/sound/triggers.h"
#include "source/weapons/system_damage.h"
#include "source/weapons/stores.h"
#include "source/weapons/target.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

int32_t hud_mode = HUD_NAV;
int32_t hud_colour = 208;
int32_t airspeed_display = 1;
int32_t hud_fail_state = 0;
int32_t hud_blink_phase = 1;
int32_t hud_on_screen = 0;

namespace {

constexpr const char* SOURCE = "source/avionics/hud";

// The glass in the panorama's pixels.
constexpr int32_t GLASS_X = 528, GLASS_Y = 23, GLASS_WIDTH = 223, GLASS_HEIGHT = 180;
constexpr int32_t SCREEN_WIDTH = 640, SCREEN_HEIGHT = 480;
constexpr int32_t DARK_SKY = 0x29000000;
constexpr int32_t BLINK_TICKS = 100;
constexpr int32_t ELECTRICS_SETTLING = 2000, ELECTRICS_RETURN = 120000;
// The projection counts rows from the level look; the panorama's rows start 117 above it.
constexpr int32_t LEVEL_LOOK_ROW = -117;

int32_t bomb_delivery_mode = 0;
int32_t gun_aim_mode = 1;
int32_t hud_visible = 1;
int32_t next_flicker_time = 0;
int32_t last_blink_time = 0;
HudPoint velocity_vector = {0, 0};

// A healthy HUD that takes a hit flickers three times in ten, else dies.
void roll_damage() { hud_fail_state = draw_rand() % 10 <= 3 ? 2 : 1; }

void update_damage() {
    if (has_failure(FAIL_HUD) && hud_fail_state == 0) roll_damage();
    if (has_failure(FAIL_ELECTRICS)) {
        const int32_t since = game_clock - electrics_first_failure_time;
        if (since < ELECTRICS_SETTLING || since > ELECTRICS_RETURN) {
            roll_damage();
        } else {
            hud_fail_state = 0;
            hud_visible = 1;
        }
    }
    if (hud_fail_state == 2 && game_clock >= next_flicker_time) {
        hud_visible = !hud_visible;
        next_flicker_time = game_clock + 400 + draw_rand() % 800;
    }
}

void compute_velocity_vector() {
    const Pose& pose = *player_position;
    uint32_t heading = flight_data.heading, pitch = flight_data.pitch;
    if (flight_data.airspeed > 0) {
        Vector3 velocity, forward{pose.matrix[1][0], pose.matrix[1][1], pose.matrix[1][2]};
        player_model_velocity(velocity);
        uint32_t relative_heading, relative_elevation;
        compute_relative_angles(velocity, forward, relative_heading, relative_elevation);
        heading += relative_heading;
        pitch += relative_elevation;
    }
    Vector3 direction;
    direction_from_angles(heading, pitch, direction);
    const HudPoint p = hud_point_of_direction(direction);
    const int32_t limit = hud_units(1.5);
    velocity_vector = {std::clamp(p.x, -limit, limit), std::clamp(p.y, -limit, limit)};
}

// The glass's part on the screen, with the world window cut in the same proportion; 0 when none
// of it shows.
int set_hud_window() {
    const int32_t left = GLASS_X - hud_window_x, top = GLASS_Y - hud_window_y;
    const int32_t x0 = std::max(left, 0), y0 = std::max(top, 0);
    const int32_t x1 = std::min(left + GLASS_WIDTH, SCREEN_WIDTH), y1 = std::min(top + GLASS_HEIGHT, SCREEN_HEIGHT);
    if (x0 >= x1 || y0 >= y1) return 0;
    auto across = [&](int32_t x) { return int32_t(-HUD_ONE + int64_t(x - left) * 2 * HUD_ONE / GLASS_WIDTH); };
    auto up = [&](int32_t y) { return int32_t(hud_units(0.8) - int64_t(y - top) * hud_units(1.6) / GLASS_HEIGHT); };
    set_plot(x0, y0, x1 - x0, y1 - y0, across(x0), up(y1), across(x1), up(y0));
    return 1;
}

void draw_elements() {
    draw_hud_common();
    switch (hud_mode) {
    case HUD_NAV:
        draw_steerpoint_distance();
        draw_radar_altitude();
        draw_pitch_ladder();
        draw_heading_tape();
        draw_boresight_cross();
        draw_steerpoint_caret();
        draw_altitude_warning();
        draw_steerpoint_time();
        draw_velocity_vector();
        break;
    case HUD_ILS:
        draw_ils_distance();
        draw_radar_altitude();
        draw_ils_time();
        draw_steerpoint_caret();
        draw_boresight_cross();
        draw_pitch_ladder();
        draw_heading_tape();
        draw_velocity_vector();
        draw_aoa_bracket();
        draw_vertical_speed_scale();
        draw_localiser_bar();
        draw_glideslope_bar();
        draw_ils_steering_cue();
        break;
    default: draw_weapon_elements(); break;
    }
}

}  // namespace

void init_hud() {
    hud_mode = HUD_NAV;
    bomb_delivery_mode = 0;
    gun_aim_mode = 1;
    airspeed_display = 1;
    hud_fail_state = 0;
    hud_visible = 1;
    hud_blink_phase = 1;
    last_blink_time = game_clock;
    next_flicker_time = 0;
    ils_flag_off_course = 0;
    if (night_vision_on) hud_colour = 1;
    else hud_colour = view_settings.darkness > DARK_SKY ? 223 : 208;
}

int select_hud_colour(int) {
    switch (hud_colour) {
    case 1: hud_colour = 208; break;
    case 208: hud_colour = 223; break;
    case 223: hud_colour = 1; break;
    default: break;
    }
    play_click_sound();
    return 1;
}

int toggle_airspeed_display(int) {
    airspeed_display = airspeed_display == 1 ? 0 : 1;
    play_click_sound();
    return 1;
}

void set_bomb_delivery_mode(int mode) { bomb_delivery_mode = mode; }
int get_bomb_delivery_mode() { return bomb_delivery_mode; }
void set_gun_aim_mode(int mode) { gun_aim_mode = mode; }
int get_gun_aim_mode() { return gun_aim_mode; }

void get_velocity_vector(int32_t& x, int32_t& y) {
    x = velocity_vector.x;
    y = velocity_vector.y;
}

void choose_hud_mode() {
    switch (selected_weapon) {
    case WEAPON_UNARMED:
        hud_mode = gear_state == GEAR_DOORS_OPENING || gear_state == GEAR_LOWERING || gear_state == GEAR_DOWN ? HUD_ILS : HUD_NAV;
        break;
    case WEAPON_GUN:
    case WEAPON_GEPOD: hud_mode = radar_air_mode && !radar_ground_mode ? HUD_EEGS : HUD_STRAFE; break;
    case WEAPON_AIM_9M: hud_mode = HUD_SRM; break;
    case WEAPON_AMRAAM: hud_mode = HUD_MRM; break;
    case WEAPON_M151_HE:
    case WEAPON_M247_AT: hud_mode = HUD_STRAFE; break;
    case WEAPON_AGM_65E:
    case WEAPON_AGM_65G: hud_mode = HUD_EO; break;
    case WEAPON_CBU15:
    case WEAPON_CBU_87B:
    case WEAPON_CBU_89B: hud_mode = HUD_CCIP; break;
    case WEAPON_GBU_12:
    case WEAPON_GBU_16:
    case WEAPON_GBU_10: hud_mode = designated_target.kind != TARGET_NONE ? HUD_EO : HUD_CCIP; break;
    case WEAPON_AGM_88A: hud_mode = HUD_ARM; break;
    default:
        if (selected_weapon >= WEAPON_MK_82 && selected_weapon <= WEAPON_MK84_RET)
            hud_mode = bomb_delivery_mode <= 1 ? HUD_CCIP : HUD_LOFT;
        else hud_mode = HUD_NAV;
    }
}

void draw_hud() {
    update_damage();
    choose_hud_mode();
    compute_velocity_vector();
    if (game_clock - last_blink_time > BLINK_TICKS) {
        hud_blink_phase = !hud_blink_phase;
        last_blink_time = game_clock;
    }
    hud_on_screen = set_hud_window();
    if (!hud_on_screen) return;
    set_plot_rotation(0);
    select_font(&font_large);
    text_colour = uint8_t(hud_colour);
    if (hud_fail_state != 1 && hud_visible) draw_elements();
}

void direction_from_angles(uint32_t heading, uint32_t pitch, Vector3& out) {
    Matrix3 m;
    build_rotation_matrix(heading, pitch, 0, m);
    out = {m[1][0], m[1][1], m[1][2]};
}

HudPoint hud_point_of_direction(const Vector3& direction) {
    int32_t sx, sy;
    project_to_screen(direction, player_position->matrix, sx, sy);
    sy += LEVEL_LOOK_ROW;
    const int64_t x = int64_t(sx) * HUD_ONE / (GLASS_WIDTH / 2);
    const int64_t y = int64_t(-sy - (GLASS_Y + GLASS_HEIGHT / 2)) * HUD_ONE / (GLASS_HEIGHT / 2) * 8 / 10 - hud_units(0.13);
    return {int32_t(std::clamp<int64_t>(x, INT32_MIN / 2, INT32_MAX / 2)),
            int32_t(std::clamp<int64_t>(y, INT32_MIN / 2, INT32_MAX / 2))};
}

int project_target_to_hud(HudPoint& out) {
    Vector3 at;
    if (designated_target.kind == TARGET_NONE || !get_target_position(&designated_target, at)) return 0;
    const Vector3& own = player_position->position;
    out = hud_point_of_direction({at.x - own.x, at.y - own.y, at.z - own.z});
    return 1;
}

HudPoint rotate_hud_point(HudPoint p, HudPoint centre, uint32_t angle) {
    const int64_t dx = p.x - centre.x, dy = p.y - centre.y;
    const int64_t s = lookup_sin(angle), c = lookup_cos(angle);
    // y is upwards on the glass: a positive (rightward) roll turns the symbols anticlockwise.
    return {int32_t(centre.x + (dx * c - dy * s) / 0x80000000LL), int32_t(centre.y + (dx * s + dy * c) / 0x80000000LL)};
}

void hud_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) { draw_plot_line(x0, y0, x1, y1, hud_colour); }
void hud_line_at(HudPoint o, double x0, double y0, double x1, double y1) {
    hud_line(o.x + hud_units(x0), o.y + hud_units(y0), o.x + hud_units(x1), o.y + hud_units(y1));
}
void hud_dashed_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    draw_plot_line_dashed32(x0, y0, x1, y1, hud_colour);
}
void hud_circle(int32_t x, int32_t y, int32_t radius) { draw_plot_circle(x, y, radius, hud_colour); }
void hud_point(int32_t x, int32_t y) { draw_plot_point(x, y, hud_colour); }

void hud_fill_triangle(HudPoint apex, HudPoint a, HudPoint b) {
    constexpr int STROKES = 8;
    for (int i = 0; i <= STROKES; ++i)
        hud_line(apex.x, apex.y, a.x + (b.x - a.x) * i / STROKES, a.y + (b.y - a.y) * i / STROKES);
}

void hud_text(int32_t x, int32_t y, const char* text, int align, int dx, int dy) {
    place_text_at_plot_point(x, y);
    if (align == 1) text_x -= get_text_width(text);
    else if (align == 2) text_x -= get_text_width(text) / 2;
    text_x += dx;
    text_y += dy;
    draw_text(text);
}

}  // namespace vyr
