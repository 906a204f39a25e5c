// Drone notifications: a drone's subscribers wait for one event each.
#pragma once

#include <cstdint>

namespace vyr {

struct Drone;

enum DroneNotify : int32_t {
    NOTIFY_NONE = 0,
    NOTIFY_DOOR_OPEN = 1,
    NOTIFY_DOOR_CLOSED = 2,
    NOTIFY_LANDED = 3,
    NOTIFY_TAKEOFF = 4,
    NOTIFY_ATTACKED = 5,
    NOTIFY_DEAD = 6,
    NOTIFY_DOORS_AND_LANDED = 7,
    NOTIFY_MAX = 8,
};

// Empties the drone's subscriber slots and its awaited event.
void clear_drone_notify(Drone* drone);
// 1 when the subscriber took a free slot of `drone`, waiting for `event`; 0 when all are taken.
int subscribe_drone_notify(Drone* subscriber, Drone* drone, int event);
// 1 when the subscriber was in one of the drone's slots, which is emptied; 0 otherwise.
int unsubscribe_drone_notify(Drone* subscriber, Drone* drone);
// Each subscriber waiting for `event` reacts: soldiers board or leave a transport that landed.
// A null drone raises nothing.
void raise_drone_notify(Drone* drone, int event);

}  // namespace vyr
