// The cockpit panel's instruments and lamps; the failure bits they show live in failures.h.
#pragma once

#include "source/avionics/failures.h"

namespace vyr {


// The 42 cockpit panel pictures.
void load_cockpit_art();
// Into flight_screen: the panel in the cockpit view, else the time-acceleration indicator.
void draw_cockpit_panel();

}  // namespace vyr
