#include "source/avionics/panel.h"

#include <algorithm>
#include <cstdio>

#include "library/3dvisual/sky.h"
#include "library/3dvisual/viewport.h"
#include "library/debug/fatal.h"
#include "library/graphics/circle.h"
#include "library/graphics/font.h"
#include "library/graphics/palette.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/lamps.h"
#include "source/avionics/messages.h"
#include "source/avionics/mfd.h"
#include "source/avionics/night_vision.h"
#include "source/avionics/panel_art.h"
#include "source/avionics/threat_warning.h"
#include "source/avionics/vcockpit.h"
#include "source/avionics/views.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/avionics/fxavionc";
constexpr int32_t ONE = 0x100000;  // 1.0 in an instrument's world window
constexpr int32_t NEEDLE_LENGTH = 0xc0000;
constexpr int32_t EXTERNAL_FUEL_NEEDLE_LENGTH = 0x99999;
constexpr int32_t FULL_FUEL = 7500;
constexpr int32_t FEET_PER_TURN = 1000 * 256;
constexpr uint32_t COMPASS_STEP = 0x71c71c7;  // ten degrees
constexpr int32_t COMPASS_TICK_SPACING = 345006;
constexpr int32_t MAX_AOA = 32 * 4 + 1, MIN_AOA = -(5 * 4 + 1);  // quarter degrees
constexpr int32_t MAX_CLIMB = 6000 * 256;                        // 1/256 ft per minute
constexpr int32_t VVI_UNITS_PER_ROW = 12800;
constexpr int FUEL_FLOW_MIDDLE_ROWS = 22, FUEL_FLOW_MIDDLE_LIFT = 6;  // half of each neighbour shows
constexpr int AOA_REFERENCE_ROW = 18, VVI_REFERENCE_ROW = 19, VVI_ZERO_TOP = 105;
constexpr int32_t LANDING_NEEDLE_TRAVEL = 0xccccc;
constexpr int32_t LOCALISER_CENTRE = 0x28f5, LOCALISER_LEFT = -0xcf5c1, LOCALISER_RIGHT = 0xca3d7;
constexpr uint32_t HORIZON_SKY = 0xdededede, HORIZON_SKY_NIGHT = 0xe6e6e6e6, HORIZON_GROUND = 0xe2e2e2e2;
constexpr uint32_t STANDBY_GROUND = 0xe0e0e0e0, STANDBY_SKY = 0xf2f2f2f2;
constexpr uint32_t HSI_BACKGROUND = 0xe0e0e0e0;
constexpr uint32_t COMPASS_BACKGROUND = 0xe1e1e1e1;
constexpr int32_t HSI_ROSE_RADIUS = 0xd0000;
constexpr int HSI_LABEL_PIXELS = 16;
const char* const HSI_LABELS[12] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};

uint32_t rpm_table[101];
uint32_t airspeed_table[851];
uint32_t ftit_table[1101];
char compass_labels[36][3];

void build_dial_table(const DialScale& scale, uint32_t* table) {
    for (int s = 0; s < scale.segment_count; ++s) {
        const DialSegment& g = scale.segments[s];
        for (int i = 0; i < g.count; ++i)
            table[g.first + i] = uint32_t(g.start_degrees * uint64_t(DEGREE) + uint64_t(i) * g.span_degrees * DEGREE / uint32_t(g.divisor));
    }
    table[scale.top_value] = uint32_t(scale.top_degrees * uint64_t(DEGREE));
}

const PanelPicture& art(CockpitArt a) { return cockpit_art[a]; }

void draw_opaque(CockpitArt a) {
    const PanelPicture& p = art(a);
    blit_opaque(p.x, p.y, p.width, p.height, p.pixels, 0);
}

void draw_transparent(CockpitArt a) {
    const PanelPicture& p = art(a);
    blit_transparent(p.x, p.y, p.width, p.height, p.pixels, 0);
}

// The cockpit's darkest colour is left as it is: a shade darkens by wrapping round.
void add_shade(CockpitArt a) {
    const PanelPicture& p = art(a);
    const Sprite sprite{p.width, p.height, 0, 0, p.pixels};
    blit_additive(COCKPIT_FIRST_COLOUR, p.x, p.y, &sprite);
}

// The instrument's world window, -1.0..1.0 both ways over its picture.
void plot_over(CockpitArt a) {
    const PanelPicture& p = art(a);
    set_plot(p.x, p.y, p.width, p.height, -ONE, -ONE, ONE, ONE);
}

// A needle from the dial's centre, turned clockwise by `angle`.
void draw_needle(CockpitArt dial, uint32_t angle, int32_t length = NEEDLE_LENGTH) {
    plot_over(dial);
    set_plot_rotation(0u - angle);
    draw_plot_line(0, 0, 0, length, NEEDLE_COLOUR);
}

void draw_dial(CockpitArt dial, CockpitArt cap, uint32_t angle) {
    draw_opaque(dial);
    draw_needle(dial, angle);
    draw_transparent(cap);
}

// One drum: the cell of `digit` shifted down by `roll` rows, `rows` tall from `lift` rows higher.
void draw_drum(CockpitArt strip, int x, int y, int cell, int roll, int rows = 0, int lift = 0) {
    const PanelPicture& p = art(strip);
    if (!rows) rows = p.cell_height;
    const int top = std::clamp(cell * p.cell_height + roll - lift, 0, p.height - rows);
    blit_opaque(x, y - lift, p.width, rows, p.pixels + size_t(top) * p.width, 0);
}

// Drums from `x` leftwards `spacing` apart; only the first rolls on its own, each higher one
// with it while every drum below shows 9.
void draw_rolling_drums(CockpitArt strip, int x, int y, int spacing, int32_t value, int drums, int roll) {
    bool rolling = true;
    for (int k = 0; k < drums; ++k, value /= 10) {
        const int digit = value % 10;
        draw_drum(strip, x - k * spacing, y, digit, rolling ? roll : 0);
        rolling = rolling && digit == 9;
    }
}

// A tape read through its window from `top`; rows outside the picture show its blank colour.
void draw_tape(CockpitArt tape, int top, int reference_row) {
    const PanelPicture& p = art(tape);
    const int window = p.cell_height;
    const int first = std::max(top, 0), last = std::min(top + window, p.height);
    const uint32_t blank = fill_patterns[p.pixels[p.width - 1]];
    if (first > top) fill_rect(blank, p.x, p.y, p.width, first - top);
    if (last > first) blit_opaque(p.x, p.y + first - top, p.width, last - first, p.pixels + size_t(first) * p.width, 0);
    if (top + window > last) fill_rect(blank, p.x, p.y + last - top, p.width, top + window - last);
    draw_hline(REFERENCE_COLOUR, p.x, p.x + p.width - 1, p.y + reference_row);
}

int32_t clamp_value(int32_t value, int32_t low, int32_t high) { return std::clamp(value, low, high); }

void draw_horizon() {
    const PanelPicture& p = art(ART_HORIZON_BEZEL);
    if (player_position)
        draw_horizon_ball(p.x, p.y, p.width, p.height, player_position, HORIZON_GROUND,
                          night_vision_on ? HORIZON_SKY_NIGHT : HORIZON_SKY);
    if (!night_vision_on) add_shade(ART_HORIZON_SHADE);
    plot_over(ART_HORIZON_BEZEL);
    const int32_t glide = clamp_value(
        int32_t(-(int64_t(LANDING_NEEDLE_TRAVEL) * flight_data.glide_slope_needle >> 31)), -LANDING_NEEDLE_TRAVEL,
        LANDING_NEEDLE_TRAVEL);
    const int32_t localiser = clamp_value(
        int32_t((int64_t(LANDING_NEEDLE_TRAVEL) * flight_data.localiser_needle >> 31) - LOCALISER_CENTRE),
        LOCALISER_LEFT, LOCALISER_RIGHT);
    draw_plot_line(-0xa0000, glide, 0xa0000, glide, NEEDLE_COLOUR);
    draw_plot_line(localiser, -0xa0000, localiser, 0xa0000, NEEDLE_COLOUR);
    draw_transparent(ART_HORIZON_BEZEL);
}

void draw_aoa_tape() {
    const int32_t quarters = clamp_value(int32_t(int64_t(flight_data.angle_of_attack) * 4 / int64_t(DEGREE)), MIN_AOA, MAX_AOA);
    draw_tape(ART_AOA_TAPE, (MAX_AOA - quarters) * 3 / 4, AOA_REFERENCE_ROW);
}

void draw_fuel_flow() {
    const PanelPicture& p = art(ART_FUEL_FLOW_DIGITS);
    int32_t flow = std::max(flight_data.fuel_flow, 0);
    for (int k = 0; k < 5; ++k, flow /= 10) {
        const int cell = flow % 10 + 1;
        if (k == 2)
            draw_drum(ART_FUEL_FLOW_DIGITS, p.x - k * 11, p.y, cell, 0, FUEL_FLOW_MIDDLE_ROWS, FUEL_FLOW_MIDDLE_LIFT);
        else
            draw_drum(ART_FUEL_FLOW_DIGITS, p.x - k * 11, p.y, cell, 0);
    }
    add_shade(ART_FUEL_FLOW_SHADE);
}

void draw_fuel_gauge() {
    draw_opaque(ART_FUEL_DIAL);
    const int32_t pounds[2] = {flight_data.internal_fuel, flight_data.external_fuel};
    const int32_t lengths[2] = {NEEDLE_LENGTH, EXTERNAL_FUEL_NEEDLE_LENGTH};
    plot_over(ART_FUEL_DIAL);
    for (int k = 0; k < 2; ++k) {
        const int32_t lb = clamp_value(pounds[k], 0, FULL_FUEL);
        set_plot_rotation(uint32_t(int64_t(127 * DEGREE) - int64_t(254) * DEGREE * lb / FULL_FUEL));
        draw_plot_line(0, 0, 0, lengths[k], NEEDLE_COLOUR);
    }
    draw_transparent(ART_FUEL_CAP);
}

void draw_altimeter() {
    const int32_t altitude = std::max(flight_data.altitude, 0);
    draw_opaque(ART_ALTIMETER_DIAL);
    draw_needle(ART_ALTIMETER_DIAL, uint32_t(uint64_t(altitude % FEET_PER_TURN) * 0x100000000ull / FEET_PER_TURN));
    const PanelPicture& p = art(ART_ALTIMETER_DIGITS);
    draw_drum(ART_ALTIMETER_DIGITS, 680, p.y, 0, 0);
    draw_drum(ART_ALTIMETER_DIGITS, 684, p.y, 0, 0);
    const int32_t hundreds = altitude / 25600;
    draw_rolling_drums(ART_ALTIMETER_DIGITS, p.x, p.y, 4, hundreds, 3, altitude % 25600 * p.cell_height / 25600);
    add_shade(ART_ALTIMETER_SHADE);
}

void draw_nozzle_gauge() {
    const int32_t percent = std::max(flight_data.throttle, 0);
    const uint32_t angle = percent >= 100 ? uint32_t(325 * uint64_t(DEGREE)) : uint32_t((30 + 3 * uint64_t(percent)) * DEGREE);
    draw_dial(ART_NOZZLE_DIAL, ART_NOZZLE_CAP, angle);
}

void draw_vvi_tape() {
    const int32_t v = clamp_value(flight_data.vertical_speed, -MAX_CLIMB, MAX_CLIMB);
    draw_tape(ART_VVI_TAPE, VVI_ZERO_TOP - v / VVI_UNITS_PER_ROW, VVI_REFERENCE_ROW);
}

void draw_airspeed_indicator() {
    draw_dial(ART_AIRSPEED_DIAL, ART_AIRSPEED_CAP, airspeed_table[clamp_value(flight_data.indicated_airspeed, 0, 850)]);
    const PanelPicture& p = art(ART_MACH_DIGITS);
    const int32_t m = flight_data.mach > 0 ? int32_t(std::min(flight_data.mach, 99.0) * 100) : 0;
    draw_rolling_drums(ART_MACH_DIGITS, p.x, p.y, 6, m / 10, 2, m % 10 * p.cell_height / 10);
    add_shade(ART_MACH_SHADE);
    update_stall_warning();
}

void draw_compass_tape() {
    const PanelPicture& p = art(ART_COMPASS_BEZEL);
    fill_rect(COMPASS_BACKGROUND, p.x, p.y, p.width, p.height);
    plot_over(ART_COMPASS_BEZEL);
    const uint32_t heading = flight_data.heading;
    const int step = int(heading / COMPASS_STEP);
    const int32_t shift = int32_t(uint64_t(heading % COMPASS_STEP) * COMPASS_TICK_SPACING / COMPASS_STEP);
    select_font(&font_small);
    text_colour = NEEDLE_COLOUR;
    for (int i = 0; i < 9; ++i) {
        const int s = ((step - 4 + i) % 36 + 36) % 36;
        const int32_t x = (i - 4) * COMPASS_TICK_SPACING - shift;
        const bool labelled = s % 3 == 0;
        draw_plot_line(x, -ONE, x, labelled ? -0x20000 : -0x70000, NEEDLE_COLOUR);
        if (!labelled) continue;
        place_text_at_plot_point(x, -0x20000);
        text_x += compass_labels[s][1] ? -5 : -2;
        text_y -= 9;
        draw_text(compass_labels[s]);
    }
    draw_transparent(ART_COMPASS_BEZEL);
    add_shade(ART_COMPASS_SHADE);
}

void draw_ftit_gauge() { draw_dial(ART_FTIT_DIAL, ART_FTIT_CAP, ftit_table[clamp_value(flight_data.ftit, 0, 1100)]); }

void draw_standby_attitude() {
    const PanelPicture& p = art(ART_STANDBY_ATTITUDE);
    if (player_position) draw_attitude_ball(p.x, p.y, p.width, p.height, player_position, STANDBY_GROUND, STANDBY_SKY);
    draw_transparent(ART_STANDBY_ATTITUDE);
}

void draw_hsi() {
    const PanelPicture& p = art(ART_HSI_BEZEL);
    fill_rect(HSI_BACKGROUND, p.x, p.y, p.width, p.height);
    plot_over(ART_HSI_BEZEL);
    const uint32_t heading = flight_data.heading;
    select_font(&font_small);
    text_colour = NEEDLE_COLOUR;
    const int cx = p.x + p.width / 2, cy = p.y + p.height / 2;
    for (int k = 0; k < 12; ++k) {
        const uint32_t shown = uint32_t(k * 30 * uint64_t(DEGREE)) - heading;  // clockwise from the lubber line
        set_plot_rotation(0u - shown);
        draw_plot_line(0, HSI_ROSE_RADIUS * 9 / 10, 0, HSI_ROSE_RADIUS, NEEDLE_COLOUR);
        for (int minor : {10, 20}) {
            set_plot_rotation(0u - shown - uint32_t(minor * uint64_t(DEGREE)));
            draw_plot_line(0, HSI_ROSE_RADIUS * 97 / 100, 0, HSI_ROSE_RADIUS, NEEDLE_COLOUR);
        }
        set_plot_rotation(0);
        const int32_t lx = int32_t(int64_t(lookup_sin(shown)) * HSI_LABEL_PIXELS >> 31);
        const int32_t ly = int32_t(int64_t(lookup_cos(shown)) * HSI_LABEL_PIXELS >> 31);
        place_text_at_plot_point(0, 0);
        text_x = cx + lx - get_text_width(HSI_LABELS[k]) / 2;
        text_y = cy - ly - 2;
        draw_text(HSI_LABELS[k]);
    }
    draw_transparent(ART_HSI_BEZEL);
    plot_over(ART_HSI_BEZEL);
    const uint32_t relative = flight_data.steerpoint_bearing - heading;
    set_plot_rotation(0u - relative);
    draw_plot_line(0, 0, 0, HSI_ROSE_RADIUS * 3 / 4, NEEDLE_COLOUR);
    const PanelPicture& bearing = art(ART_HSI_BEARING_DIGITS);
    const uint64_t tenths = uint64_t(relative) * 3600 / 0x100000000ull;
    draw_rolling_drums(ART_HSI_BEARING_DIGITS, bearing.x, bearing.y, 4, int32_t(tenths / 10), 3,
                       int(tenths % 10) * bearing.cell_height / 10);
    const PanelPicture& distance = art(ART_HSI_DISTANCE_DIGITS);
    draw_rolling_drums(ART_HSI_DISTANCE_DIGITS, distance.x, distance.y, 4,
                       std::min(flight_data.steerpoint_distance / NAUTICAL_MILE, 999), 3, 0);
}

}  // namespace

void build_rpm_dial_table() { build_dial_table(RPM_SCALE, rpm_table); }
void build_airspeed_dial_table() { build_dial_table(AIRSPEED_SCALE, airspeed_table); }
void build_ftit_dial_table() { build_dial_table(FTIT_SCALE, ftit_table); }

void init_compass_tape() {
    for (int s = 0; s < 36; ++s) {
        const char* letter = s == 0 ? "N" : s == 9 ? "E" : s == 18 ? "S" : s == 27 ? "W" : nullptr;
        std::snprintf(compass_labels[s], sizeof compass_labels[s], "%s", letter ? letter : "");
        if (!letter) std::snprintf(compass_labels[s], sizeof compass_labels[s], "%d", s);
    }
}

uint32_t rpm_dial_angle(int percent) { return rpm_table[clamp_value(percent, 0, 100)]; }
uint32_t airspeed_dial_angle(int knots) { return airspeed_table[clamp_value(knots, 0, 850)]; }
uint32_t ftit_dial_angle(int ftit) { return ftit_table[clamp_value(ftit, 0, 1100)]; }

void draw_cockpit_panel() {
    if (view_mode > 14) report_fatal_error("Unknown view mode.", SOURCE, __LINE__);
    if (view_mode == VIEW_COCKPIT && panel_screen && art(ART_FTIT_CAP).pixels) {
        Screen* previous = get_current_screen();
        PlotWindow plot;
        save_plot(plot);
        select_screen(panel_screen);
        draw_horizon();
        draw_threat_panel();
        draw_gear_lamps();
        draw_caution_lamp();
        update_aoa_indexer();
        draw_aoa_tape();
        draw_fire_lamp();
        draw_hydraulics_lamp();
        draw_nose_wheel_lamp();
        draw_disc_lamp();
        draw_brake_lamp();
        draw_fuel_flow();
        draw_fuel_gauge();
        draw_altimeter();
        draw_nozzle_gauge();
        draw_dial(ART_RPM_DIAL, ART_RPM_CAP, rpm_dial_angle(flight_data.engine_rpm));
        update_low_altitude_warning();
        draw_vvi_tape();
        draw_airspeed_indicator();
        draw_compass_tape();
        draw_obstacle_lamp();
        draw_message_area();
        draw_ftit_gauge();
        draw_takeoff_landing_lamp();
        draw_standby_attitude();
        draw_hsi();
        draw_mfds();
        restore_plot(plot);
        select_screen(previous);
        set_viewport(0, 0, 640, 342);
    }
    // The weapons file their missiles again every tick; in an outside view too the list must not
    // keep the ones that have hit or been lost, or their tone would never stop.
    clear_incoming_missiles();
    draw_acceleration_indicator();
}

void draw_acceleration_indicator() {
    if (time_acceleration <= 1) return;
    const int kept = accelerator_flag;
    accelerator_flag = 1;
    fill_circle(20, 21, 9, fill_patterns[1]);
    draw_circle(19, 20, 9, 0);
    select_font(screen_width == 640 ? &font_large : &font_small);
    text_colour = 0;
    text_x = 15;
    text_y = 16;
    char text[16];
    std::snprintf(text, sizeof text, "x%d", std::min(time_acceleration, 99));
    draw_text(text);
    accelerator_flag = kept;
}

}  // namespace vyr
