#include "source/avionics/mfd_status.h"

#include <cstdio>

#include "library/graphics/font.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/maths/units.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/night_vision.h"
#include "source/drone/drone.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"

namespace vyr {

namespace {

constexpr int COLOUR_FAILED = 204;
constexpr int COLOUR_WORKING = 222;
constexpr int COLOUR_TEXT = 219;
constexpr int COLOUR_TITLE = 1;
constexpr int COLOUR_TITLE_NIGHT = 222;

constexpr int32_t unit(double fraction) { return int32_t(fraction * MFD_UNIT); }

// A grid cell: its label and the failure bits that light it.
struct FailureCell {
    const char* label;
    FailureBit bit, other_bit;
};
// Column by column, top to bottom.
constexpr FailureCell FAILURE_GRID[3][8] = {
    {{"BRAKE", FAIL_BRAKE, FAIL_BRAKE},
     {"FLAPS", FAIL_FLAPS, FAIL_FLAPS},
     {"GEAR", FAIL_GEAR, FAIL_GEAR},
     {"ENG", FAIL_ENGINE, FAIL_ENGINE},
     {"FIRE", FAIL_FIRE, FAIL_FIRE},
     {"BURN", FAIL_AFTERBURNER, FAIL_AFTERBURNER},
     {"PRES", FAIL_PRESSURE, FAIL_PRESSURE},
     {"HYD", FAIL_HYDRAULICS, FAIL_HYDRAULICS}},
    {{"GUN", FAIL_GUN, FAIL_GUN},
     {"PYLON", FAIL_PYLON, FAIL_PYLON},
     {"FUEL", FAIL_FUEL, FAIL_FUEL_LEAK},
     {"ECM", FAIL_ECM, FAIL_ECM},
     {"OXY", FAIL_OXYGEN, FAIL_OXYGEN},
     {"TWAS", FAIL_THREAT_WARNING, FAIL_THREAT_WARNING},
     {"RADAR", FAIL_RADAR, FAIL_RADAR},
     {"RADIO", FAIL_RADIO, FAIL_RADIO}},
    {{"ELEC", FAIL_ELECTRICS, FAIL_ELECTRICS},
     {"HUD", FAIL_HUD, FAIL_HUD},
     {"AUTO", FAIL_AUTOPILOT, FAIL_AUTOPILOT},
     {"TF", FAIL_TERRAIN_FOLLOWING, FAIL_TERRAIN_FOLLOWING},
     {"HUD F", FAIL_HUD_FLICKER, FAIL_HUD_FLICKER},
     {"TGT F", FAIL_TARGETING, FAIL_TARGETING},
     {"LASER", FAIL_LASER, FAIL_LASER},
     {"RECON", FAIL_RECON, FAIL_RECON}},
};

constexpr int32_t THIRD = 0x55555;
constexpr int32_t LINE_X = unit(-0.9);

void draw_line_text(double y, const char* format, int value) {
    char text[40];
    std::snprintf(text, sizeof text, format, value);
    draw_plot_text(LINE_X, unit(y), text);
}

void draw_title(const char* title) {
    text_colour = night_vision_on ? COLOUR_TITLE_NIGHT : COLOUR_TITLE;
    draw_plot_text(LINE_X, unit(0.9), title);
    text_colour = COLOUR_TEXT;
}

// The planned altitude of the current steerpoint; 0 without one.
int32_t steerpoint_altitude() {
    const Waypoint* w = user_drone ? get_drone_current_waypoint(user_drone) : nullptr;
    return w ? w->z : 0;
}

// Descending too near the ground for the planned altitude.
bool is_altitude_low(int32_t height) {
    if (flight_data.vertical_speed >= 0) return false;
    const int32_t planned = steerpoint_altitude();
    return planned > 200 * FOOT ? height <= 200 * FOOT : height <= 100 * FOOT;
}

void draw_altitude() {
    const int32_t height = flight_data.height_above_ground;
    text_colour = is_altitude_low(height) ? COLOUR_FAILED : COLOUR_TEXT;
    if (height <= 1000 * FOOT)
        draw_line_text(0.2, "Altitude (R):  %d", height / FOOT);
    else
        draw_line_text(0.2, "Altitude (B):  %d", flight_data.altitude / FOOT);
    text_colour = COLOUR_TEXT;
}

// Minutes and seconds the fuel lasts at the present flow; the last minute in the warning colour.
void draw_endurance() {
    const int32_t fuel = flight_data.total_fuel;
    const int32_t rate = flight_data.fuel_flow / 3600;
    char text[40];
    if (rate <= 0 && fuel > 0) {
        std::snprintf(text, sizeof text, "Endurance:     --:--");
        text_colour = COLOUR_TEXT;
    } else {
        const int32_t ticks = rate > 0 ? fuel / rate * 200 : 0;
        if (ticks < 0)
            std::snprintf(text, sizeof text, "Endurance:     00:00");
        else
            std::snprintf(text, sizeof text, "Endurance:     %02d:%02d", ticks / 12000, ticks % 12000 * 60 / 12000);
        text_colour = ticks <= 12000 ? COLOUR_FAILED : COLOUR_TEXT;
    }
    draw_plot_text(LINE_X, unit(0.0), text);
    text_colour = COLOUR_TEXT;
}

}  // namespace

void draw_mfd_failures_page(const MfdRect& rect, int) {
    set_mfd_unit_plot(rect);
    fill_plot(MFD_BACKGROUND_FILL);
    constexpr int32_t half_width = THIRD, half_height = MFD_UNIT / 8, inset = unit(0.03);
    for (int column = 0; column < 3; ++column) {
        const int32_t x = (column - 1) * 2 * THIRD;
        for (int row = 0; row < 8; ++row) {
            const FailureCell& cell = FAILURE_GRID[column][row];
            const int32_t y = unit(0.875) - row * MFD_UNIT / 4;
            const int colour = has_failure(cell.bit) || has_failure(cell.other_bit) ? COLOUR_FAILED : COLOUR_WORKING;
            text_colour = uint8_t(colour);
            draw_plot_text_centred(x, y + unit(0.04), cell.label);
            const int32_t left = x - half_width + inset, right = x + half_width - inset;
            const int32_t top = y + half_height - inset, bottom = y - half_height + inset;
            draw_plot_line(left, top, left, bottom, colour);
            draw_plot_line(left, top, right, top, colour);
            draw_plot_line(right, top, right, bottom, colour);
            draw_plot_line(left, bottom, right, bottom, colour);
        }
    }
}

void draw_mfd_flight_data_page(const MfdRect& rect, int) {
    set_mfd_unit_plot(rect);
    fill_plot(MFD_BACKGROUND_FILL);
    text_colour = COLOUR_TEXT;
    const FlightDataSnapshot& f = flight_data;
    draw_line_text(0.6, "Airspeed (I):  %d", f.indicated_airspeed < 0 ? 0 : f.indicated_airspeed);
    const int heading = whole_degrees(f.heading);
    const int gear = get_gear_state();
    if (gear == GEAR_DOORS_OPENING || gear == GEAR_LOWERING || gear == GEAR_DOWN) {
        draw_title("FLT - Landing");
        draw_line_text(0.4, "Altitude (R):  %d", f.height_above_ground / FOOT);
        draw_line_text(0.2, "AOA:           %d", f.angle_of_attack / MFD_DEGREE);
        draw_line_text(0.0, "VV:            %d", f.vertical_speed / FOOT);
        draw_line_text(-0.2, "RPM:           %d", f.engine_rpm);
        draw_line_text(-0.4, "Fuel:          %d", f.total_fuel);
        draw_line_text(-0.6, "Heading:       %d", heading);
    } else {
        draw_title("FLT - Cruise");
        draw_line_text(0.4, "Airspeed (T):  %d", f.true_airspeed);
        draw_altitude();
        draw_endurance();
        draw_line_text(-0.2, "Fuel:          %d", f.total_fuel);
        draw_line_text(-0.4, "Heading:       %d", heading);
    }
}

}  // namespace vyr
