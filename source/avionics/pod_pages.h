// The targeting pod and Maverick seeker pages of an MFD.
#pragma once

#include "library/maths/vector.h"

namespace vyr {

// Where the pod looks on the ground; the head-up display's EO seeker cross.
extern Vector3 pod_look_point;

}  // namespace vyr
