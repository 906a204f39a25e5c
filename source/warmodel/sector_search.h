// The war model's searches: through the sector lists of the tiles around a point, ring by ring,
// for an aircraft, a surface unit or an air defence of a side; the mobile and ground objects of
// a side near a point; and an AI aircraft's check of its attack target.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct Drone;
struct Target;
struct ground_object;

// What one tile offers: a find in tile (x, y) of the side, judged from `from`, or null.
using SectorTest = Target* (*)(int tile_x, int tile_y, int side, const Vector3& from);

// Ranges in world units: the search starts at the ring of the minimum range (the own tile when it
// rounds to 0) and stops at the first ring with a find, at ring 3 at the latest; a ring's finds
// are drawn from with war_random.
Target* find_sector_target(SectorTest test, const Vector3& position, int side, int32_t minimum, int32_t maximum);

// Aircraft count only at 30 ft or higher; "live" surface units have an active 3D object.
Target* find_nearest_sector_aircraft(const Vector3& position, int side, int32_t minimum, int32_t maximum);
Target* find_nearest_sector_surface(const Vector3& position, int side, int32_t minimum, int32_t maximum);
Target* find_random_sector_aircraft(const Vector3& position, int side, int32_t minimum, int32_t maximum);
Target* find_random_live_sector_surface(const Vector3& position, int side, int32_t minimum, int32_t maximum);
// AAA and SAM sites of the tile first, then air-defence artillery drones; the random search the
// other way round.
Target* find_nearest_air_defence(const Vector3& position, int side, int32_t minimum, int32_t maximum);
Target* find_random_air_defence(const Vector3& position, int side, int32_t minimum, int32_t maximum);
// A random listed surface unit of the side in one tile.
Target* pick_sector_target(int tile_x, int tile_y, int side);

constexpr int NEARBY_LIMIT = 25;
struct NearbyDrone {
    Drone* drone;
    int32_t distance;
};
struct NearbyGroundObject {
    ground_object* record;
    int32_t distance;
};
// The active drones (the player's own excluded) or the live dynamic ground objects of the side in
// the point's tile closer than `range`, at most 25; the array is reused by the next call.
NearbyDrone* collect_mobile_objects_near(const Vector3& point, int32_t range, int side, int& count);
NearbyGroundObject* collect_ground_objects_near(const Vector3& point, int32_t range, int side, int& count);

// An AI aircraft or helicopter (class 1 or 2) takes an attack target by its task's type once its
// reaction time has passed; a new target must suit one of its weapons, is told it was picked and,
// when it is the player, warned of. An unknown task type is fatal.
void acquire_air_drone_target(Drone* drone);
// A random enemy aircraft within the attention range, near the route and in sight; a helicopter
// takes only helicopters. Holds it for 60 to 70 s.
void acquire_air_to_air_target(Drone* drone);
// Each frame of an AI aircraft: engages, reacts, retreats when too close, and drops a target it
// is hurt by or that strays beyond its task's share of the attention range from the route.
void check_air_drone_target(Drone* drone);
// 1 when the target lies behind the drone in both x and y.
int is_target_to_rear(const Drone* drone, const Target* target);
// The target's distance from the drone's present leg, or the next, or from its waypoint; INT32_MAX
// without a leg.
int32_t get_route_distance(const Drone* drone, const Target* target);

}  // namespace vyr
