// The state digest: one line that tells whether two runs, or two linked machines, hold the same
// flight. It hashes what linked machines must share (every drone's place, attitude, speed,
// damage and task; every live round; the shared random states; the player's stores and fuel),
// read field by field so that padding, pointers and this machine's own bookkeeping stay out.
#pragma once

#include <cstdint>
#include <string>

namespace vyr {

struct StateDigest {
    int32_t clock;  // game_clock
    uint64_t hash;
    int32_t drones, rounds;  // what was hashed
};

StateDigest compute_state_digest();
// "clock 1200 state 0123456789abcdef drones 14 rounds 2"
std::string format_state_digest(const StateDigest& digest);
// Appends the present digest's line to the file; false when it cannot be written.
bool append_state_digest(const std::string& path);

}  // namespace vyr
