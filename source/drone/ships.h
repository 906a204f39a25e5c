// Ships and carriers.
#pragma once

namespace vyr {

struct Drone;

// A ship drone's set-up when its type is set.
void init_ship_drone(Drone* drone);
// Mission loading: no carrier, every deck slot free.
void reset_carriers();
// 1 when a carrier takes the helicopter onto its deck.
int add_carrier_aircraft(Drone* drone);
void leave_carrier_deck(Drone* drone);

}  // namespace vyr
