// The cockpit panel's instruments and lamps; the failure bits they show live in failures.h.
#pragma once

#include "source/avionics/failures.h"

namespace vyr {

// Mission set-up: the dial tables, the compass tape and the one-time draw of the ECM failure.
void build_rpm_dial_table();
void build_airspeed_dial_table();
void build_ftit_dial_table();
void init_compass_tape();
void reset_ecm_failure_draw();

// The 42 cockpit panel pictures.
void load_cockpit_art();
// Into flight_screen: the panel in the cockpit view, else the time-acceleration indicator.
void draw_cockpit_panel();

}  // namespace vyr
