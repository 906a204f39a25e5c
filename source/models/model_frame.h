// Between the world's integer frame (1/256 ft, x east, y north, z up, binary angles, 1.31
// matrices) and the flight model's (north-east-down feet, radians, doubles). Integers truncate.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"
#include "source/models/rigid_body.h"

namespace vyr {

Vector3d world_to_model_vector(const Vector3& in);
Vector3 model_to_world_vector(const Vector3d& in);
// The world matrix's rows are the object's right, forward and up axes; the model's forward,
// right and down.
Matrix3 model_to_world_matrix(const DirectionCosines& dcm);
// The ground's model z under a north, east position.
double model_ground_z(double north, double east);

int32_t radians_to_angle(double radians);
double angle_to_radians(uint32_t angle);

}  // namespace vyr
