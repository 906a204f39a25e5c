// The Payload Screen's rules: loading, unloading and the salvo window on a hardpoint and its
// mirror, and the weight line.
#pragma once

#include <string>

#include "source/mission/payload.h"

namespace vyr {

// `count` of the hardpoint's store onto it and its mirror; a guided store brings the targeting
// pair with it.
void load_pylon(int pylon, int count);
// Empties the hardpoint and its mirror.
void unload_pylon(int pylon);
// The salvo window: one more (up to twice the count) or one less (down to the store's own), on
// the hardpoint and its mirror; reset puts both back to the store's own.
void step_salvo_size(int pylon, int up);
void reset_salvo_size(int pylon);

int is_pylon_overweight();
// "\tTOT AUW: <weight>\t\tMAX G: 9.0" (5.5 when a hardpoint is over its limit).
std::string format_payload_weight();

struct UiObject;
// The payload window of the mission map.
void create_payload_window(UiObject* map);

}  // namespace vyr
