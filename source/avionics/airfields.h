// The airfields of the theatre and the instrument landing aid.
#pragma once

namespace vyr {

// The current landing-aid airfield for the status line: its name in eight characters (or
// "NO ILS  "), its beacon frequency (or "000.0") and its runway in two digits (or "00").
const char* get_ils_airfield_label();
const char* get_ils_frequency_text();
const char* get_ils_runway_text();
// Each tick from the flight-data snapshot, in this order: the needles, the beacon state, the
// time to the beacon (-1 without one) and its distance, into flight_data.
void update_ils_localizer();
void update_ils_glide_slope();
void update_ils_state();
void ils_time_to_beacon();
void ils_distance();
// Hot-key handler: the next airfield with a beacon not on enemy ground.
int next_airfield_key(int key_code);

}  // namespace vyr
