// What the player is told about a fault the program goes on from: a damaged file of their own
// set aside, a saved mission that cannot be loaded.
#pragma once

namespace vyr {

// Shows the text once: on stderr as "vyr: <text>" and in a message box, which waits for the player.
void show_notice(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vyr
