// The target scan before every radar sweep: everything around the player's aircraft that a radar
// could show, as candidates for the air and ground radars, and the one priority rule by which the
// radars order their contacts and the threat warning and the pod rank targets.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"
#include "source/weapons/target.h"

namespace vyr {

struct ObjectInstance;
struct ground_object;

constexpr int MAX_GROUND_CANDIDATES = 512;
constexpr int MAX_MOBILE_CANDIDATES = 512;
constexpr int MAX_NEAR_AIR_CANDIDATES = 256;

struct GroundCandidate {
    int32_t tile_x, tile_y;
    int32_t x, y;
    ground_object* object;
};

struct MobileCandidate {
    int32_t tile_x, tile_y;
    int32_t x, y, z;
    int32_t domain;  // TARGET_DOMAIN_GROUND or TARGET_DOMAIN_AIR
    ObjectInstance* object;
};

// Air candidates within a tile of the aircraft's, for the cockpit's padlock key.
struct NearAirCandidate {
    int32_t tile_x, tile_y;
    int32_t x, y, z;
    int32_t priority;
    int32_t domain;
    ObjectInstance* object;
};

extern GroundCandidate ground_candidates[MAX_GROUND_CANDIDATES];
extern MobileCandidate mobile_candidates[MAX_MOBILE_CANDIDATES];
extern NearAirCandidate near_air_candidates[MAX_NEAR_AIR_CANDIDATES];
extern int32_t ground_candidate_count, mobile_candidate_count, near_air_candidate_count;

// The ground contact list: targets linked through their own next and prev, highest priority
// first. The sweep empties it by clearing both ends.
extern Target* ground_contact_head;
extern Target* ground_contact_tail;

inline int32_t list_priority(const Target& target) { return target.priority; }

// Rebuilds the three candidate arrays from the tiles around and ahead of `aircraft`: intact
// objects of a side with a target category, in line of sight. An unknown TWS range or air
// sub-mode is fatal.
void scan_ground_targets(const Vector3* aircraft);
// The priority of a target seen from (x, y, z): 1 for an allied and 2 for a neutral aircraft,
// else the radar size less a weight growing with distance, cut for ground targets off the nose;
// -1 for a target not worth listing.
int32_t compute_target_priority(const Target* target, int32_t x, int32_t y, int32_t z);
// -1 for a null record or one without object.
int32_t compute_near_air_priority(const NearAirCandidate* record);
// The target's priority from the aircraft, and its place in the ground contact list; a target of
// priority -1 is left out.
void insert_ground_contact(Target* target);

}  // namespace vyr
