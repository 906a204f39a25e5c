// Where a world point lands on the screen of the installed eye, for the render tests.
#pragma once

#include "library/3dvisual/eye.h"
#include "library/3dvisual/viewport.h"
#include "library/graphics/poly_types.h"
#include "library/maths/vector.h"

namespace vyr {

inline PolyVertex screen_of(const Vector3& p) {
    const Vector3 d{p.x - eye_pose.position.x, p.y - eye_pose.position.y, p.z - eye_pose.position.z};
    const Matrix3& m = view_matrix;
    PolyVertex v{};
    v.x = round31(mul64(m[0][0], d.x) + mul64(m[0][1], d.y) + mul64(m[0][2], d.z));
    v.y = round31(mul64(m[1][0], d.x) + mul64(m[1][1], d.y) + mul64(m[1][2], d.z));
    v.z = stretch_up(round31(mul64(m[2][0], d.x) + mul64(m[2][1], d.y) + mul64(m[2][2], d.z)));
    project_vertex(v);
    return v;
}

}  // namespace vyr
