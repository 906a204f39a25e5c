// The stored preferences copied into the game's settings once at start-up.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int MAX_VISUAL_RANGE = 7;

// "Animations": the intro and finale play movies instead of the title pictures.
extern int32_t animations_on;

// After the options, so that a stored value replaces what an option gave.
void apply_preferences();

}  // namespace vyr
