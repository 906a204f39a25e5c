// The quick start's sortie kind and the score its flight earns.
#pragma once

#include <cstdint>

namespace vyr {

// The coming quick start: 1 air combat, 2 ground attack.
extern int32_t quick_start_kind;
// Stores 1 or 2; other kinds are ignored.
void set_quick_start_kind(int kind);

// The score of the running or last quick-start flight.
extern int32_t quick_start_score;
void reset_quick_start_score();

}  // namespace vyr
