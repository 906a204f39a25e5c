// The avionics frame: the cockpit's set-up, per-tick update and its two sets of keys.
#pragma once

#include <cstdint>

#include "source/avionics/autoland.h"

namespace vyr {

// What the gauges show, copied from the flight model every tick.
struct FlightDataSnapshot {
    int32_t afterburner_percent;
    uint32_t heading;  // binary angle
};

extern FlightDataSnapshot flight_data_snapshot;

void register_detail_keys();
void register_avionics_keys();


// Mission set-up: the displays, the threat warning and the landing aid.
void init_avionics();
// One simulation step: the snapshot, the warnings, the steerpoints, the radar and the pod.
void update_avionics();
void scan_threat_emitters();
// Steps the threat warning's selected threat: 1 next, 2 previous.
void request_threat_step(int step);
void compute_world_extents();
// The drone view's next and previous keys start again from the player.
void reset_drone_view_cycle();

}  // namespace vyr
