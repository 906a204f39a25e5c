// A drone record of the test's own, outside the pool: standing at a point facing north, its
// object filed in the world's tile lists and its own target ready to shoot from or at.
#pragma once

#include <deque>

#include "library/3dvisual/mobile.h"
#include "source/drone/drone.h"

namespace vyr {

inline Drone* add_loose_drone(std::deque<Drone>& drones, const Vector3& p, int object_type, int drone_class) {
    Drone& d = drones.emplace_back();
    d.pose.position = p;
    set_identity_matrix(d.pose.matrix);
    d.object.object_type = object_type;
    d.object.pose = &d.pose;
    d.object.owner_kind = OWNER_DRONE;
    d.object.owner = &d;
    d.drone_class = drone_class;
    d.target.kind = TARGET_MOBILE;
    d.target.object = &d.object;
    link_mobile_object(&d.object);
    return &d;
}

}  // namespace vyr
