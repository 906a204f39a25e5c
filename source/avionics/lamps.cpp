#include "source/avionics/lamps.h"

#include "library/graphics/plot.h"
#include "library/graphics/rect.h"
#include "library/maths/random.h"
#include "library/maths/units.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/avionics/messages.h"
#include "source/avionics/panel_art.h"
#include "source/avionics/threat_warning.h"
#include "source/drone/user_drone.h"
#include "source/drone/waypoint.h"
#include "source/drone/drone.h"
#include "source/frame_loop.h"
#include "source/models/flight_model.h"
#include "source/radar/radar.h"
#include "source/sound/triggers.h"

namespace vyr {

namespace {
constexpr int SPEECH_LOW_ALTITUDE = 197;
constexpr int32_t LOW_ALTITUDE_CALL_TICKS = 1000;
constexpr int ECM_STAYS_ON_ABOVE = 70;

const char AOA_TOO_LOW[] = "AOA TOO LOW";
const char AOA_OK[] = "AOA OK";
const char AOA_TOO_HIGH[] = "AOA TOO HIGH";
const char* const AOA_MESSAGES[3] = {AOA_TOO_LOW, AOA_OK, AOA_TOO_HIGH};
constexpr int AOA_MESSAGE_PRIORITY = 2;

int ecm_failure_drawn = 0;
int ecm_failure_draw = 0;
int stall_tone_on = 0;
int32_t low_altitude_stamp = 0;

bool gear_down() { return flight_data.gear_lamps[0] != 0; }
bool descending() { return flight_data.vertical_speed < 0; }
double aoa_degrees() { return flight_data.angle_of_attack / double(DEGREE); }

// The current steerpoint's altitude in feet; 0 without one (a route at ground level).
int32_t steerpoint_feet() {
    const Waypoint* steerpoint = user_drone ? get_drone_current_waypoint(user_drone) : nullptr;
    return steerpoint ? get_waypoint_altitude(steerpoint) / FOOT : 0;
}

// The threat panel's lamps 1, 2 and 5 (ECM, ground threat, air threat) redraw every frame; the
// others only on a change.
constexpr uint8_t THREAT_LAMPS_EVERY_FRAME = 0x02 | 0x04 | 0x20;

void draw_ecm_failure() {
    if (!has_failure(FAIL_ECM)) return;
    if (!ecm_failure_drawn) {
        ecm_failure_drawn = 1;
        int32_t seed = game_clock;
        ecm_failure_draw = next_random(seed) % 100;
    }
    if (ecm_failure_draw <= ECM_STAYS_ON_ABOVE && (threat_lamp_bits & THREAT_LAMP_ECM_ON)) switch_ecm_off();
}

}  // namespace

void draw_lamp_always(PanelLamp& lamp, bool lit) {
    if (!lamp.on) return;
    blit_opaque(lamp.x, lamp.y, lamp.width, lamp.height, lit ? lamp.on : lamp.off, 0);
    lamp.flags = lit ? lamp.flags | LAMP_LIT : lamp.flags & ~LAMP_LIT;
}

void draw_lamp(PanelLamp& lamp, bool lit) {
    if (bool(lamp.flags & LAMP_LIT) != lit) draw_lamp_always(lamp, lit);
}

void draw_threat_panel() {
    const PanelPicture& display = cockpit_art[ART_THREAT_DISPLAY];
    blit_opaque(display.x, display.y, display.width, display.height, display.pixels, 0);
    if (has_failure(FAIL_THREAT_WARNING)) {
        for (PanelLamp& lamp : threat_lamps) draw_lamp_always(lamp, false);
        return;
    }
    set_plot(display.x, display.y, display.width, display.height, -0x100000, -0x100000, 0x100000, 0x100000);
    draw_threat_display();
    draw_ecm_failure();
    for (int k = 0; k < THREAT_LAMPS; ++k) {
        const bool lit = threat_lamp_bits & (1 << k);
        if (THREAT_LAMPS_EVERY_FRAME & (1 << k))
            draw_lamp_always(threat_lamps[k], lit);
        else
            draw_lamp(threat_lamps[k], lit);
    }
}

void draw_gear_lamps() {
    for (int k = 0; k < 3; ++k) draw_lamp(gear_lamps[k], flight_data.gear_lamps[k] != 0);
}

void draw_caution_lamp() { draw_lamp(caution_lamp, system_failures.lamp_word & LAMP_MASTER_CAUTION); }

void update_aoa_indexer() {
    int band = -1;
    if ((system_failures.lamp_word & LAMP_AOA_INDEXER) || gear_down()) {
        const double a = aoa_degrees();
        band = a >= 9.0 && a < 12.25 ? 0 : a >= 12.25 && a <= 14.25 ? 1 : a > 14.25 && a <= 17.0 ? 2 : -1;
    }
    for (int k = 0; k < 3; ++k) {
        if (k != band) {
            draw_lamp(aoa_lamps[k], false);
            remove_persistent_message(AOA_MESSAGES[k]);
        }
    }
    if (band < 0) return;
    draw_lamp(aoa_lamps[band], true);
    add_persistent_message(AOA_MESSAGES[band], AOA_MESSAGE_PRIORITY);
}

void draw_fire_lamp() { draw_lamp(fire_lamp, has_failure(FAIL_FIRE) || has_failure(FAIL_ENGINE)); }

// Hydraulics once lost stay lost for the flight.
void draw_hydraulics_lamp() {
    draw_lamp(hydraulics_lamp, has_failure(FAIL_HYDRAULICS) || (hydraulics_lamp.flags & LAMP_LIT));
}

void draw_nose_wheel_lamp() {
    draw_lamp_always(nose_wheel_lamp, player_flight_data.on_ground && flight_data.airspeed < 150);
}

void draw_disc_lamp() { draw_lamp(disc_lamp, system_failures.lamp_word & LAMP_AIR_BRAKE); }
void draw_brake_lamp() { draw_lamp(brake_lamp, system_failures.lamp_word & LAMP_WHEEL_BRAKES); }

void update_low_altitude_warning() {
    const int32_t h = flight_data.height_above_ground / FOOT;
    const int32_t limit = steerpoint_feet() > 200 ? 200 : 100;
    const bool lit = low_altitude_lamp.flags & LAMP_LIT;
    if (!lit && descending() && h <= limit) {
        draw_lamp(low_altitude_lamp, true);
        system_failures.lamp_word |= LAMP_LOW_ALTITUDE;
        low_altitude_stamp = game_clock;
    } else if (lit && h > limit) {
        draw_lamp(low_altitude_lamp, false);
        system_failures.lamp_word &= ~LAMP_LOW_ALTITUDE;
        low_altitude_stamp = game_clock;
    }
    if (game_clock - low_altitude_stamp > LOW_ALTITUDE_CALL_TICKS && !gear_down() && descending() && h < limit) {
        play_speech(SPEECH_LOW_ALTITUDE);
        low_altitude_stamp = game_clock;
    }
}

void update_stall_warning() {
    const int32_t v = flight_data.true_airspeed;
    const double pitch = int32_t(flight_data.pitch) / double(DEGREE);
    const bool stalling = (aoa_degrees() > 15.0 && gear_down() && v < 120 && descending()) ||
                          (v < 100 && flight_data.height_above_ground > 5 * FOOT) ||
                          (pitch > 44.0 || pitch < -44.0 ? v < 1 + 2.2222222 * (pitch < 0 ? -pitch : pitch) : false);
    if (stalling == bool(stall_tone_on)) return;
    stall_tone_on = stalling;
    if (stalling)
        start_stall_warning();
    else
        stop_stall_warning();
}

void draw_obstacle_lamp() {
    const bool lit = system_failures.lamp_word & LAMP_GROUND_COLLISION;
    if (lit && !(obstacle_lamp.flags & LAMP_LIT)) system_failures.lamp_word |= LAMP_FAILURE_PRESENT;
    draw_lamp(obstacle_lamp, lit);
}

void draw_takeoff_landing_lamp() {
    draw_lamp(takeoff_landing_lamp, flight_data.height_above_ground < 10000 * FOOT && flight_data.airspeed < 190 &&
                                        flight_data.vertical_speed < -64000 && gear_down());
}

void reset_ecm_failure_draw() {
    ecm_failure_drawn = 0;
    stall_tone_on = 0;
    low_altitude_stamp = 0;
}

}  // namespace vyr
