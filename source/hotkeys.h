// The flight's hot keys and the key dispatch of each frame, the pause key, and the debug
// read-outs of the frame.
#pragma once

#include <cstdint>

namespace vyr {

// 1 while the frame statistics line is shown.
extern int32_t frame_statistics_on;

// Every in-flight key, after the user drone exists; later registrations shadow earlier ones.
void register_flight_keys();
// Visual detail, screen shots and the drone view: the main screen registers them too.
void register_common_keys();
void register_pause_key();
// Hot-key handler: a free pause toggles; in a single-player game the display dims until the pause
// key is pressed again.
int pause_flight(int key_code);

// Once a frame: every waiting event to the keyboard, then the polled hot keys.
void dispatch_key_events();

void register_flight_watches();
void count_frame_statistics();

}  // namespace vyr
