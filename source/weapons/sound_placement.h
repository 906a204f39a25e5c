// Where a sound is heard from: its level and pan by its place relative to the listener, the pose
// the view rendered last.
#pragma once

namespace vyr {

struct Vector3;

// 5..63 by the distance from the listener.
int compute_distance_volume(const Vector3& position);
// 0..0xFFFF, 0x8000 centred, by the bearing from the listener.
int compute_sound_pan(const Vector3& position);

}  // namespace vyr
