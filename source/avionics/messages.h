// The cockpit message lines.
#pragma once

namespace vyr {

// Shows `text` on the message lines at a priority for a time to live in ticks.
void post_message(const char* text, int priority, int time_to_live);

void init_message_area();
// Once a simulation step: displayed messages age by the frame time and expire.
void age_messages();

}  // namespace vyr
