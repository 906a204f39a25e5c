// Kills reported to and by the other machines of a linked game.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct Drone;

// A drone of a task killed, by the side or kind that killed it.
void record_kill(int32_t task_id, int32_t index, int32_t kind);
// A ground object killed at x, y.
void record_ground_kill(int32_t x, int32_t y, int32_t kind);
// The war model hears of a ground object destroyed at the point.
void report_ground_kill_hook(const Vector3& position);
// The player's drone, of this index in its task, was shot down.
void send_score(int32_t index);
// A drone the player killed is killed on the other machines too.
void kill_networked_drone(Drone* drone);
// The drone the other machine's player flies, or null.
Drone* get_other_player_drone();

}  // namespace vyr
