// The cockpit panel's instruments: dials, drum counters, tapes, the attitude instruments and the
// HSI, drawn every cockpit frame into the panel picture with the lamps (lamps.h), the message
// area and the MFDs; and the time-acceleration indicator in every view.
#pragma once

#include <cstdint>

#include "source/avionics/failures.h"

namespace vyr {

// Mission set-up: the dial tables, the compass tape's labels and the one-time draw of the ECM
// failure.
void build_rpm_dial_table();
void build_airspeed_dial_table();
void build_ftit_dial_table();
void init_compass_tape();
void reset_ecm_failure_draw();

// The 42 cockpit panel pictures.
void load_cockpit_art();
// In the cockpit view, into panel_screen: every instrument and lamp, the message area and the
// MFDs; then in every view the incoming missiles are cleared (the weapons file them again) and
// the time-acceleration indicator drawn. A view mode above 14 is fatal.
void draw_cockpit_panel();
// Into the frame buffer: the time-acceleration factor, nothing at 1.
void draw_acceleration_indicator();

// The dials' needle angles (binary, clockwise from straight up) for clamped values.
uint32_t rpm_dial_angle(int percent);
uint32_t airspeed_dial_angle(int knots);
uint32_t ftit_dial_angle(int ftit);

}  // namespace vyr
