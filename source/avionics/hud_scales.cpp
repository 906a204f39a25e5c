#include "source/avionics/hud_scales.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/line.h"
#include "library/maths/units.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/landing_aid.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/avionics/hud_scales";
constexpr int32_t TICKS_PER_MINUTE = 12000;
constexpr HudPoint LADDER_CENTRE = {0, hud_units(-0.13)};
constexpr int LIFT = HUD_TEXT_LIFT;

int32_t u(double value) { return hud_units(value); }

// A line in the frame turned by the roll about the ladder's centre.
void rolled_line(HudPoint a, HudPoint b, bool dashed = false) {
    const uint32_t roll = flight_data.roll;
    a = rotate_hud_point(a, LADDER_CENTRE, roll);
    b = rotate_hud_point(b, LADDER_CENTRE, roll);
    if (dashed) hud_dashed_line(a.x, a.y, b.x, b.y);
    else hud_line(a.x, a.y, b.x, b.y);
}

const char* caption() {
    static char eegs[12];
    switch (hud_mode) {
    case HUD_NAV: return "NAV";
    case HUD_ILS: return "ILS";
    case HUD_STRAFE: return selected_weapon == WEAPON_GUN || selected_weapon == WEAPON_GEPOD ? "STRF" : "RCKT";
    case HUD_CCIP:
        switch (get_bomb_delivery_mode()) {
        case 0: return "CCIP";
        case 1: return "LAY";
        default: return "";
        }
    case HUD_LOFT: return "LOFT";
    case HUD_SRM: return "SRM";
    case HUD_MRM: return "MRM";
    case HUD_EO: return "EO";
    case HUD_ARM: return "ARM";
    case HUD_EEGS:
        std::snprintf(eegs, sizeof eegs, "EEGS %s", get_gun_aim_mode() ? "AUTO" : "MAN");
        return eegs;
    case HUD_LCOS: return "LCOS";
    case HUD_SNAP: return "SNAP";
    case HUD_DGFT: return "DGFT";
    default: report_fatal_error("Unknown HUD mode.", SOURCE, __LINE__);
    }
    return "";
}

void draw_mach() {
    const int hundredths = int(std::max(0.0, flight_data.mach) * 100);
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d%d", hundredths / 100, hundredths / 10 % 10, hundredths % 10);
    hud_text(u(-0.75), u(-0.65), text);
}

void draw_g() {
    const double g = flight_data.g_load + 0.05;
    const int whole = int(g), tenths = std::abs(int(g * 10) % 10);
    char text[16];
    if (whole == 0 && g < 0) std::snprintf(text, sizeof text, "G-%d.%d", 0, tenths);
    else std::snprintf(text, sizeof text, "G%d.%d", whole, tenths);
    hud_text(u(-0.85), u(0.6), text);
}

void draw_box(double x0, double y0, double x1, double y1) {
    hud_line_at({0, 0}, x0, y0, x1, y0);
    hud_line_at({0, 0}, x1, y0, x1, y1);
    hud_line_at({0, 0}, x1, y1, x0, y1);
    hud_line_at({0, 0}, x0, y1, x0, y0);
}

bool boxed_scales() { return hud_mode == HUD_EEGS || hud_mode == HUD_SNAP; }

// The offset of `value` from the index, 0.04 a step of `step`.
int32_t scale_offset(int32_t value, int32_t index, int32_t step) { return int32_t(int64_t(value - index) * u(0.04) / step); }

void draw_airspeed_scale() {
    const int32_t knots = std::max(0, airspeed_display ? flight_data.indicated_airspeed : flight_data.true_airspeed);
    const char* letter = airspeed_display ? "I" : "T";
    char text[16];
    if (boxed_scales()) {
        draw_box(-1.0, 0.04, -0.64, 0.14);
        std::snprintf(text, sizeof text, "%d", knots);
        hud_text(u(-0.82), u(0.12), text, 2, 0, LIFT);
        hud_text(u(-0.64), u(0.14), letter, 0, 2, 2);
        return;
    }
    const HudPoint o = {u(-0.7), u(0.1)};
    hud_line_at(o, 0.02, 0, 0.07, 0);
    for (int32_t v = (std::max(0, knots - 100) + 9) / 10 * 10; v <= knots + 100; v += 10) {
        const int32_t y = o.y + scale_offset(v, knots, 10);
        const bool long_tick = v % 50 == 0;
        hud_line(o.x, y, o.x - (long_tick ? u(0.05) : u(0.025)), y);
        if (!long_tick) continue;
        std::snprintf(text, sizeof text, "%d", std::min(v / 10, 10000));
        hud_text(o.x - u(0.05), y, text, 1, -6, LIFT);
    }
    hud_text(o.x + u(0.02), o.y, letter, 0, 0, -10);
}

void draw_altitude_label(int32_t x, int32_t y, int32_t feet) {
    char text[16];
    if (feet >= 1000) {
        const int32_t thousands = hud_mode == HUD_ILS ? feet / 1000 : feet / 1000 % 100;
        std::snprintf(text, sizeof text, "%d", thousands);
        hud_text(x, y, text, 1, 20, LIFT);
    }
    hud_text(x, y, ".", 0, 18, LIFT);
    std::snprintf(text, sizeof text, "%d", feet / 100 % 10);
    hud_text(x, y, text, 0, 18 + get_text_width(".") - 2, LIFT);
}

void draw_altitude_scale() {
    const int32_t feet = std::max(0, flight_data.altitude / FOOT);
    char text[16];
    if (boxed_scales()) {
        draw_box(0.6, 0.05, 1.0, 0.15);
        std::snprintf(text, sizeof text, "%d", feet);
        hud_text(u(0.8), u(0.13), text, 2, 0, LIFT);
        return;
    }
    const bool ils = hud_mode == HUD_ILS;
    const int32_t step = ils ? 20 : 100, long_step = ils ? 100 : 500;
    const HudPoint o = {u(0.7), u(0.1)};
    hud_line_at(o, -0.02, 0, -0.07, 0);
    for (int32_t v = (std::max(0, feet - 10 * step) + step - 1) / step * step; v <= feet + 10 * step; v += step) {
        const int32_t y = o.y + scale_offset(v, feet, step);
        const bool long_tick = v % long_step == 0;
        hud_line(o.x, y, o.x + (long_tick ? u(0.05) : u(0.025)), y);
        if (long_tick) draw_altitude_label(o.x + u(0.05), y, v);
    }
}

struct Tape {
    HudPoint origin;
    bool mirrored;  // ticks and labels above the index
};

Tape heading_tape() {
    switch (hud_mode) {
    case HUD_NAV:
    case HUD_SRM: return {{0, u(-0.25)}, false};
    case HUD_MRM: return {{0, u(-0.5)}, true};
    default: return {{0, u(0.38)}, true};
    }
}

// Whole degrees from the aircraft's heading to a bearing, -180..179.
int32_t degrees_off_heading(uint32_t bearing) {
    return int32_t(std::floor(hud_degrees(int32_t(bearing - uint32_t(flight_data.heading)))));
}

// A bar 0.5 long through `centre` along x (or y) with its five ticks across it, turned by the roll;
// dashed when off course.
void draw_needle_bar(HudPoint centre, bool vertical, bool dashed) {
    auto at = [&](double along, double across) {
        return vertical ? HudPoint{centre.x + u(across), centre.y + u(along)} : HudPoint{centre.x + u(along), centre.y + u(across)};
    };
    dash_mask = 0xCCCCCCCC;
    rolled_line(at(-0.25, 0), at(0.25, 0), dashed);
    for (double t : {-0.25, -0.125, 0.0, 0.125, 0.25}) rolled_line(at(t, -0.01), at(t, 0.01), dashed);
}

int32_t needle_offset(int32_t needle) { return int32_t(int64_t(needle) * 0x3D70A / 0x80000000LL); }

}  // namespace

void format_hud_time(int32_t ticks, char (&out)[8]) {
    if (ticks <= 0) {
        std::snprintf(out, sizeof out, "--:--");
        return;
    }
    std::snprintf(out, sizeof out, "%02d:%02d", ticks / TICKS_PER_MINUTE % 100, ticks % TICKS_PER_MINUTE * 60 / TICKS_PER_MINUTE);
}

void format_hud_miles(int32_t distance, char (&out)[16]) {
    const int64_t tenths = int64_t(std::max(0, distance)) * 10 / HUD_NAUTICAL_MILE;
    std::snprintf(out, sizeof out, "%d.%d", int(tenths / 10 % 10000), int(tenths % 10));
}

void draw_hud_common() {
    draw_mach();
    draw_g();
    hud_text(u(-0.75), u(-0.75), caption(), 0, 0, LIFT);
    draw_airspeed_scale();
    draw_altitude_scale();
}

void draw_boresight_cross() {
    const HudPoint c = {0, u(-0.09)};
    hud_line_at(c, 0.02, 0, 0.08, 0);
    hud_line_at(c, -0.02, 0, -0.08, 0);
    hud_line_at(c, 0, 0.02, 0, 0.08);
    hud_line_at(c, 0, -0.02, 0, -0.08);
}

void draw_heading_tape() {
    const Tape tape = heading_tape();
    const double side = tape.mirrored ? -1 : 1;  // ticks hang below a plain tape, stand above a mirrored one
    hud_line_at(tape.origin, 0, 0.01 * side, 0, -0.04 * side);
    const double heading = hud_degrees(flight_data.heading) < 0 ? hud_degrees(flight_data.heading) + 360 : hud_degrees(flight_data.heading);
    const int first = int(std::floor(heading / 5)) * 5 - 10;
    for (int k = 0; k < 6; ++k) {
        const int value = first + 5 * k;
        const int32_t x = tape.origin.x + int32_t(std::lround((value - heading) * 0.03 * HUD_ONE));
        const bool long_tick = ((value % 10) + 10) % 10 == 0;
        const int32_t y0 = tape.origin.y - int32_t(side * u(0.08));
        hud_line(x, y0, x, tape.origin.y - int32_t(side * u(long_tick ? 0.12 : 0.10)));
        if (!long_tick) continue;
        char text[8];
        std::snprintf(text, sizeof text, "%02d", (((value / 10) % 36) + 36) % 36 % 100);
        hud_text(x, tape.origin.y - int32_t(side * u(0.12)), text, 0, -5, tape.mirrored ? -10 : 5);
    }
}

void draw_steerpoint_caret() {
    const Tape tape = heading_tape();
    const int32_t off = degrees_off_heading(flight_data.steerpoint_bearing);
    const int32_t x = off > 15 ? u(0.45) : off < -15 ? u(-0.45) : int32_t(int64_t(off) * u(0.03));
    const double side = tape.mirrored ? -1 : 1;
    const HudPoint tip = {tape.origin.x + x, tape.origin.y - int32_t(side * u(0.04))};
    for (double dx : {-0.025, 0.025})
        hud_line(tape.origin.x + x + u(dx), tape.origin.y + int32_t(side * u(0.01)), tip.x, tip.y);
}

void draw_pitch_ladder() {
    const int pitch = int(std::floor(hud_degrees(flight_data.pitch)));
    const int base = int(std::floor(pitch / 10.0)) * 10;
    for (int line_pitch : {base - 10, base, base + 10}) {
        Vector3 direction;
        direction_from_angles(flight_data.heading, uint32_t(int32_t(line_pitch * int64_t(DEGREE))), direction);
        const HudPoint p = rotate_hud_point(hud_point_of_direction(direction), LADDER_CENTRE, 0u - uint32_t(flight_data.roll));
        int value = line_pitch;
        if (value % 10 == 9) ++value;
        if (value % 10 == -9) --value;
        value /= 10;
        if (value > 9) value = 8;
        if (value < -9) value = -8;
        for (int side : {-1, 1}) {
            auto at = [&](double x, double y) { return HudPoint{p.x + side * u(x), p.y + u(y)}; };
            if (value == 0) {
                rolled_line(at(0.1, 0), at(0.39, 0));
                continue;
            }
            if (value > 0) rolled_line(at(0.1, 0), at(0.275, 0));
            else
                for (double d : {0.1, 0.15, 0.2, 0.25}) rolled_line(at(d, 0), at(d + 0.025, 0));
            if (value == 9 || value == -9) continue;
            rolled_line(at(0.275, 0), at(0.275, value > 0 ? -0.03 : 0.03));
            char text[8];
            std::snprintf(text, sizeof text, "%d0", std::abs(value));
            const HudPoint label = rotate_hud_point(at(0.34, value > 0 ? -0.015 : 0.015), LADDER_CENTRE, flight_data.roll);
            hud_text(label.x, label.y, text, 2, 0, LIFT);
        }
    }
}

void draw_velocity_vector() {
    HudPoint v;
    get_velocity_vector(v.x, v.y);
    hud_circle(v.x, v.y, u(0.02));
    hud_line_at(v, 0.02, 0, 0.06, 0);
    hud_line_at(v, -0.02, 0, -0.06, 0);
    hud_line_at(v, 0, 0.02, 0, 0.05);
}

void draw_radar_altitude() {
    draw_box(0.63, 0.55, 0.97, 0.67);
    const int32_t feet = std::max(0, flight_data.height_above_ground / FOOT);
    char text[16];
    if (feet < 1000) std::snprintf(text, sizeof text, "R%3d", feet);
    else std::snprintf(text, sizeof text, "R%d,%03d", feet / 1000 % 1000, feet % 1000);
    hud_text(u(0.65), u(0.61), text, 0, 0, LIFT);
}

void draw_steerpoint_distance() {
    char miles[16], text[24];
    format_hud_miles(flight_data.steerpoint_distance, miles);
    std::snprintf(text, sizeof text, "%s %c", miles, steerpoint_letter ? steerpoint_letter : ' ');
    hud_text(u(0.55), u(-0.75), text);
}

void draw_steerpoint_time() {
    char text[8];
    format_hud_time(steerpoint_time_to_go, text);
    hud_text(u(0.55), u(-0.65), text);
}

void draw_weapon_status() {
    char text[32];
    if (hud_mode == HUD_NAV || selected_weapon == WEAPON_UNARMED) std::snprintf(text, sizeof text, "Unarmed");
    else
        std::snprintf(text, sizeof text, "%d %s", get_weapon_rounds(selected_weapon),
                      selected_weapon == WEAPON_CBU15 ? "DUR" : get_weapon_name(selected_weapon));
    hud_text(u(-0.75), u(-0.55), text);
}

void draw_altitude_warning() {
    const Waypoint* waypoint = user_drone ? get_drone_current_waypoint(user_drone) : nullptr;
    const int32_t planned = waypoint ? waypoint->z : 0;
    const int32_t height = flight_data.height_above_ground;
    const bool low = planned > 200 * FOOT ? height <= 200 * FOOT : height <= 100 * FOOT;
    if (flight_data.vertical_speed < 0 && low && hud_blink_phase == 1)
        hud_text(0, u(-0.14), "ALTITUDE WARNING", 2, 0, LIFT);
}

void draw_ils_distance() {
    char text[16];
    format_hud_miles(flight_data.beacon_distance, text);
    hud_text(u(0.55), u(-0.75), text);
}

void draw_ils_time() {
    char text[8];
    format_hud_time(flight_data.beacon_time, text);
    hud_text(u(0.55), u(-0.65), text);
}

void draw_vertical_speed_scale() {
    const HudPoint o = {u(0.6), u(0.1)};
    for (int i = -10; i <= 10; ++i) {
        const int32_t y = o.y + i * u(0.04);
        hud_line(o.x, y, o.x - (i % 5 == 0 ? u(0.04) : u(0.02)), y);
    }
    const int32_t y = o.y + std::clamp(int32_t(int64_t(flight_data.vertical_speed) * 0x66666 / 0x7D000), -u(0.4), u(0.4));
    hud_fill_triangle({o.x - u(0.03), y}, {o.x - u(0.055), y - u(0.025)}, {o.x - u(0.055), y + u(0.025)});
}

void draw_localiser_bar() {
    const bool off = ils_flag_off_course != 0;
    const int32_t x = off ? -u(0.24) : std::clamp(needle_offset(flight_data.localiser_needle), -u(0.24), u(0.24));
    draw_needle_bar({x, u(-0.4)}, true, off);
}

void draw_glideslope_bar() {
    const bool off = ils_flag_off_course != 0;
    const int32_t y = off ? -u(0.64) : std::clamp(needle_offset(flight_data.glide_slope_needle) - u(0.4), -u(0.64), -u(0.16));
    draw_needle_bar({0, y}, false, off);
}

void draw_aoa_bracket() {
    HudPoint v;
    get_velocity_vector(v.x, v.y);
    const double aoa = hud_degrees(flight_data.angle_of_attack);
    const double r = std::clamp(0.3 * (aoa - 11) / 4, 0.0, 0.3);
    const HudPoint c = {v.x - u(0.15), v.y - u(0.15) + u(r)};
    hud_line_at(c, 0, -0.15, 0, 0.15);
    hud_line_at(c, 0, -0.15, 0.025, -0.15);
    hud_line_at(c, 0, 0.15, 0.025, 0.15);
}

void draw_ils_steering_cue() {
    const IlsBeacon* beacon = get_current_ils_beacon();
    if (ils_flag_wide != 1 || !beacon) return;
    const uint32_t intercept = beacon->runway_heading + (flight_data.localiser_side > 0 ? 45 * DEGREE : 0u - 45 * DEGREE);
    const double off = std::clamp(hud_degrees(int32_t(intercept - uint32_t(flight_data.heading))), -9.0, 9.0);
    const int32_t x = std::clamp(int32_t(off / 10 * 0.24 * HUD_ONE), -u(0.24), u(0.24));
    HudPoint v;
    get_velocity_vector(v.x, v.y);
    const HudPoint unrolled = rotate_hud_point(v, LADDER_CENTRE, 0u - uint32_t(flight_data.roll));
    const HudPoint cue = rotate_hud_point({unrolled.x + x, unrolled.y}, LADDER_CENTRE, flight_data.roll);
    hud_circle(cue.x, cue.y, u(0.03));
}

}  // namespace vyr
