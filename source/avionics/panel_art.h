// The cockpit panel's live pictures: dial faces, caps, digit strips, tapes, shades, bezels and
// two-state lamps, loaded from COCKPITS\ at mission set-up into records that carry their places
// on the panel picture (library/graphics/cockpit_layout.h).
#pragma once

#include <cstdint>

#include "library/graphics/cockpit_layout.h"

namespace vyr {

struct PanelPicture {
    int32_t x, y;  // top-left on the panel picture
    int32_t width, height;
    int32_t cell_height;  // one digit cell of a strip, a tape's window; else the height
    uint8_t* pixels;      // null until loaded
};

constexpr uint32_t LAMP_LIT = 1;  // the state the lamp last drew

struct PanelLamp {
    int32_t x, y, width, height;
    const uint8_t* on;
    const uint8_t* off;
    uint32_t flags;
};

extern PanelPicture cockpit_art[COCKPIT_ART_COUNT];

extern PanelLamp threat_lamps[THREAT_LAMPS];
extern PanelLamp gear_lamps[3];
extern PanelLamp aoa_lamps[3];  // low, on speed, high
extern PanelLamp autopilot_lamp, caution_lamp, fire_lamp, hydraulics_lamp, brake_lamp, nose_wheel_lamp, disc_lamp,
    takeoff_landing_lamp, low_altitude_lamp, obstacle_lamp;

// Mission set-up; nothing when already loaded. A picture that is not there is fatal ("CAUTION.BBM
// is missing."), as is one too small for its record or reaching outside the panel. Clears the
// threat lamps' bits of threat_lamp_bits.
void load_cockpit_art();
// Mission tear-down: every picture freed, the next load reads them again.
void free_cockpit_art();

}  // namespace vyr
