// Stand-ins for what the world answers a moving thing about what it meets, until the tile lists
// and the craters land: nothing is anywhere. They have a file of their own so that a test program
// may answer them with objects of its own.
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/scars.h"

namespace vyr {

ObjectInstance* find_mobile_object_at_point(const Vector3&, const ObjectInstance*, const ObjectInstance*) {
    return nullptr;
}
ObjectInstance* find_mobile_object_on_segment(const Vector3&, const Vector3&, const ObjectInstance*,
                                              const ObjectInstance*) {
    return nullptr;
}
ObjectInstance* find_instance_containing_point(ObjectInstance*, const Vector3&) { return nullptr; }
ground_object* find_ground_object_at_point(const Vector3&, Vector3&, const ground_object*) { return nullptr; }
ground_object* find_ground_object_on_segment(const Vector3&, const Vector3&, Vector3&, const ground_object*) {
    return nullptr;
}
int check_point_in_crater(const Vector3&) { return 0; }
int check_segment_hits_crater(const Vector3&, const Vector3&) { return 0; }

}  // namespace vyr
