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
// Null until the screen is built; the hardpoints' pictures are made only while it stands.
extern UiObject* payload_window;
// The payload window of the mission map, hidden; its pictures read, the weight written.
void create_payload_screen(UiObject* map);
// The map's "Pay": the window shown with a picture for every store loaded and the empty
// hardpoints' highlights under the aircraft.
void refresh_payload_screen();

// The screen's share of loading and unloading; nothing while the screen is not built.
void place_pylon_pictures(int pylon);
void remove_pylon_pictures(int pylon);
// After a load: no hardpoint selected, the picks hidden, the weight rewritten.
void end_pylon_load();
void refresh_payload_weight();

}  // namespace vyr
