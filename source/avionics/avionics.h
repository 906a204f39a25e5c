// The avionics frame: the cockpit's set-up, per-tick update and its two sets of keys.
#pragma once

#include <cstdint>

namespace vyr {

// What the gauges show, copied from the flight model every tick.
struct FlightDataSnapshot {
    int32_t afterburner_percent;
};

extern FlightDataSnapshot flight_data_snapshot;
// Set while the landing aid flies the aircraft.
extern int32_t autoland_engaged;

void register_detail_keys();
void register_avionics_keys();

}  // namespace vyr
