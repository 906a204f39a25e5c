#include "source/avionics/mfd_radar.h"

#include <cstdio>

#include "library/3dvisual/instance.h"
#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/maths/units.h"
#include "library/maths/vector.h"
#include "source/avionics/avionics.h"
#include "source/avionics/failures.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/radar/air_radar.h"
#include "source/radar/ground_radar.h"
#include "source/radar/radar.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/net_players.h"
#include "source/weapons/target.h"
#include "source/weapons/targets.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/avionics/mfd_radar";

constexpr int COLOUR_TEXT = 222;
constexpr int COLOUR_SCAN_LIMIT = 211;
constexpr int32_t DEGREES_70 = 0x31c71c72;
constexpr int SIDE_ENEMY = 2;

void draw_message(const MfdRect& rect, const char* text) {
    set_mfd_unit_plot(rect);
    text_colour = COLOUR_TEXT;
    fill_plot(MFD_BACKGROUND_FILL);
    draw_plot_text_centred(0, 0, text);
}

void draw_number(int32_t x, int32_t y, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    draw_plot_text(x, y, text);
}

int32_t scaled(double fraction, int32_t e) { return int32_t(fraction * e); }

// The window with the aircraft at the bottom centre and the range upward, and the attitude bar.
void draw_range_window(const MfdRect& rect, int32_t range) {
    const int32_t e = range / 2;
    set_mfd_plot(rect, -e, 0, e, range);
    fill_plot(MFD_BACKGROUND_FILL);
    set_plot_rotation(flight_data.roll);
    set_plot_offset(0, radar_attitude_offset(flight_data.pitch, e));
    const int32_t wing = scaled(0.45, e), tip = scaled(-0.04, e), root = scaled(0.1, e);
    draw_plot_line(-wing, 0, -wing, tip, COLOUR_TEXT);
    draw_plot_line(-wing, 0, -root, 0, COLOUR_TEXT);
    draw_plot_line(wing, 0, wing, tip, COLOUR_TEXT);
    draw_plot_line(wing, 0, root, 0, COLOUR_TEXT);
    set_mfd_plot(rect, -e, 0, e, range);
}

// In page units, -70..+70 on both axes.
void draw_frame(const MfdRect& rect, const char* mode, int32_t cur_x, int32_t cur_y, int range_nm) {
    set_mfd_plot(rect, -70, -70, 70, 70);
    draw_plot_line(-69, 39, -63, 39, COLOUR_TEXT);
    draw_plot_line(-69, 39, -66, 42, COLOUR_TEXT);
    draw_plot_line(-66, 42, -63, 39, COLOUR_TEXT);
    draw_plot_line(-69, 31, -63, 31, COLOUR_TEXT);
    draw_plot_line(-69, 31, -66, 28, COLOUR_TEXT);
    draw_plot_line(-66, 28, -63, 31, COLOUR_TEXT);
    text_colour = COLOUR_TEXT;
    select_font(&font_small);
    draw_plot_text(-68, 68, mode);
    if (focused_mfd_shows(MFD_RADAR)) draw_plot_text(cur_x, cur_y, "CUR");
    draw_number(-69, 37, range_nm);
}

void draw_scale_ticks() {
    for (const int32_t v : {50, 40, 20, 10, -10, -20, -40, -50}) {
        draw_plot_line(-60, v, -57, v, COLOUR_TEXT);
        draw_plot_line(v, -67, v, -64, COLOUR_TEXT);
    }
    draw_plot_line(-62, 0, -57, 0, COLOUR_TEXT);
    draw_plot_line(0, -69, 0, -64, COLOUR_TEXT);
    for (const int32_t v : {30, -30}) {
        draw_plot_text(-60, v, "3");
        draw_plot_text(v, -64, "3");
    }
}

// A ground object or fixed point by its stored position, a mobile object by its pose.
const Vector3& designated_position() {
    if (designated_target.kind == TARGET_MOBILE)
        return static_cast<const ObjectInstance*>(designated_target.object)->pose->position;
    if (designated_target.kind != TARGET_GROUND_OBJECT && designated_target.kind != TARGET_FIXED_POINT)
        report_fatal_error("Unknown type : %d", SOURCE, __LINE__, int(designated_target.kind));
    return designated_target.position;
}

void draw_ground_target_data() {
    char text[64];
    const Vector3& p = designated_position();
    const char* name = get_target_name(&designated_target, 0);
    if (!ground_name_display)
        std::snprintf(text, sizeof text, "TGT: %s", name);
    else if (get_target_side(&designated_target) == SIDE_ENEMY)
        std::snprintf(text, sizeof text, "ETGT: %s(%d)", name, get_target_object_number(&designated_target));
    else
        std::snprintf(text, sizeof text, "FTGT: %s", name);
    draw_plot_text(-30, 68, text);
    const Vector3& own = player_position->position;
    const int32_t distance = estimate_distance_3d(p.x - own.x, p.y - own.y, p.z - own.z);
    std::snprintf(text, sizeof text, "%.2f", double(distance) / NAUTICAL_MILE);
    draw_plot_text(50, -37, text);
}

void draw_ground_map(const MfdRect& rect) {
    const int32_t range = ground_range;
    draw_range_window(rect, range);
    // The sector's edges turn about the aircraft at the bottom centre.
    set_plot_centre(0, 0);
    for (const int32_t angle : {-ground_sector_half_angle, ground_sector_half_angle}) {
        set_plot_rotation(uint32_t(angle));
        draw_plot_line(0, 0, 0, range, COLOUR_SCAN_LIMIT);
    }
    set_mfd_plot(rect, -range / 2, 0, range / 2, range);
    draw_ground_radar_contacts();
    if (ground_radar_frozen) draw_radar_trail();
    static constexpr const char* MODES[] = {"GVT", "FTT", "FRZ"};
    draw_frame(rect, MODES[ground_submode == GROUND_FTT ? 1 : ground_submode == GROUND_FRZ ? 2 : 0], -49, 68,
               ground_range_nm);
    if (designated_target.kind != TARGET_NONE) draw_ground_target_data();
    draw_scale_ticks();
}

void draw_air_target_data() {
    char text[64];
    const ObjectInstance* object = static_cast<const ObjectInstance*>(designated_target.object);
    draw_number(-46, 68, object->pose->position.z / 256 / 100);
    const char* name = get_target_name(&designated_target, 0);
    if (game_mode == GAME_MULTI_PLAYER || game_mode == GAME_CAPTURE_FLAG)
        std::snprintf(text, sizeof text, "TGT: %s (%s)", name, nearest_player_name());
    else
        std::snprintf(text, sizeof text, "TGT: %s", name);
    draw_plot_text(-30, 68, text);
    const Vector3& offset = designated_target.offset;
    draw_number(50, 68, whole_degrees(compute_bearing(offset.x, offset.y) - flight_data.heading));
    Vector3 unit = offset;
    normalize_vector(unit);
    const Vector3& v = designated_target.vector;
    const int64_t closing = (int64_t(v.x) * unit.x + int64_t(v.y) * unit.y + int64_t(v.z) * unit.z) >> 31;
    draw_number(50, -37, int(closing / KNOT));
    if (object->owner_kind != OWNER_DRONE || !object->owner) report_fatal_error("Drone is NULL", SOURCE, __LINE__);
    draw_number(50, -45, static_cast<const Drone*>(object->owner)->speed / KNOT);
}

// A caret's place on its 60-unit scale: whole degrees times 60 over the limit's whole degrees.
int32_t caret_position(int32_t angle, int32_t limit) {
    const int32_t degrees = angle / MFD_DEGREE, limit_degrees = limit / MFD_DEGREE;
    return limit_degrees ? degrees * (60 / limit_degrees) : degrees;
}

void draw_air_display(const MfdRect& rect) {
    draw_range_window(rect, air_range);
    if (air_submode == RADAR_RCR) set_mfd_plot(rect, -rcr_radius, -rcr_radius, rcr_radius, rcr_radius);
    draw_air_radar_contacts();
    static constexpr const char* MODES[] = {"TWS", "ACM", "RCR"};
    draw_frame(rect, MODES[air_submode == RADAR_ACM ? 1 : air_submode == RADAR_RCR ? 2 : 0], -68, 60, air_range_nm);
    if (designated_target.kind == TARGET_MOBILE) draw_air_target_data();
    draw_scale_ticks();
    const bool rcr = air_submode == RADAR_RCR;
    const int32_t x = rcr ? 0 : caret_position(scan_azimuth, scan_azimuth_limit);
    const int32_t y = rcr ? 0 : caret_position(scan_elevation, scan_elevation_limit);
    draw_plot_line(x - 2, -61, x + 2, -61, COLOUR_TEXT);
    draw_plot_line(x, -61, x, -64, COLOUR_TEXT);
    draw_plot_line(-54, y - 2, -54, y + 2, COLOUR_TEXT);
    draw_plot_line(-54, y, -57, y, COLOUR_TEXT);
    draw_number(-67, 7, 2 * scan_half_width_deg);
    draw_number(-67, -2, scan_figure);
    for (const int32_t v : {35, 0, -35}) draw_plot_line(60, v, 68, v, COLOUR_TEXT);
}

}  // namespace

int32_t radar_attitude_offset(uint32_t pitch, int32_t half_range) {
    return half_range + int32_t(int64_t(int32_t(pitch)) * half_range / -DEGREES_70);
}

const char* nearest_player_name() {
    const Vector3& target = static_cast<const ObjectInstance*>(designated_target.object)->pose->position;
    const char* name = "";
    int64_t nearest = INT64_MAX;
    for (const NetPlayer& player : net_players) {
        if (!is_net_player_shown(player)) continue;
        const Vector3& p = player.drone->pose.position;
        const int64_t distance = measure_distance_3d(p.x - target.x, p.y - target.y, p.z - target.z);
        if (distance < nearest) {
            nearest = distance;
            name = player.name;
        }
    }
    return name;
}

void draw_mfd_radar_page(const MfdRect& rect, int) {
    if (!radar_on) return draw_message(rect, "RADAR INACTIVE");
    if (has_failure(FAIL_RADAR)) return draw_message(rect, "FAILED");
    if ((radar_ground_mode && !ground_scan_ran) || (radar_air_mode && !air_scan_ran)) return;
    if (radar_ground_mode)
        draw_ground_map(rect);
    else if (radar_air_mode)
        draw_air_display(rect);
}

}  // namespace vyr
