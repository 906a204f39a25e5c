// The sounds of launches, placed by their distance and bearing from the camera.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct WeaponRound;

// The channel of the player's gun loop while it plays.
extern int gun_sound_channel;
// AAA launches counted, so that only every third is heard.
extern int32_t aaa_sound_counter;

// The round's launch sound by its weapon, at its place. The player's guns keep one loop going
// and only move it; the player's own launches take priority 6.
void play_launch_sound(const WeaponRound* round);
// 63 at the camera falling to 5 at 800 ft and beyond.
int compute_distance_volume(const Vector3& point);
// 0x8000 ahead or behind, up to 44 degrees' worth either side of it for a sound to the side.
int compute_sound_pan(const Vector3& point);

}  // namespace vyr
