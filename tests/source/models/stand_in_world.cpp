// Answers the feature and collision queries in place of the library's stand-ins, which then stay
// out of the link.
#include "tests/source/models/stand_in_world.h"

#include <limits>

#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/scars.h"

namespace vyr {

int stand_in_surface;
int32_t stand_in_ocean_from;
ObjectInstance* stand_in_mover;
ground_object* stand_in_ground_object;
int stand_in_crater;
int stand_in_segment_queries;

void reset_stand_in_world() {
    stand_in_surface = FEATURE_RUNWAY;
    stand_in_ocean_from = std::numeric_limits<int32_t>::max();
    stand_in_mover = nullptr;
    stand_in_ground_object = nullptr;
    stand_in_crater = 0;
    stand_in_segment_queries = 0;
}

const bool stand_in_ready = (reset_stand_in_world(), true);

int get_feature_kind(int32_t, int32_t y) { return y >= stand_in_ocean_from ? FEATURE_OCEAN : stand_in_surface; }

ObjectInstance* find_mobile_object_at_point(const Vector3&, const ObjectInstance*, const ObjectInstance*) {
    return stand_in_mover;
}
ObjectInstance* find_mobile_object_on_segment(const Vector3&, const Vector3&, const ObjectInstance*,
                                              const ObjectInstance*) {
    ++stand_in_segment_queries;
    return stand_in_mover;
}
ObjectInstance* find_instance_containing_point(ObjectInstance* instance, const Vector3&) { return instance; }
int test_point_in_instance_box(const ObjectInstance*, const Vector3&) { return 0; }
ground_object* find_ground_object_at_point(const Vector3& point, Vector3& position, const ground_object*) {
    position = point;
    return stand_in_ground_object;
}
ground_object* find_ground_object_on_segment(const Vector3&, const Vector3& b, Vector3& position, const ground_object*) {
    position = b;
    return stand_in_ground_object;
}
int check_point_in_crater(const Vector3&) { return stand_in_crater; }
int check_segment_hits_crater(const Vector3&, const Vector3&) { return stand_in_crater; }

}  // namespace vyr
