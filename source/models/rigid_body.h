// Rigid-body maths of the flight model in doubles: the attitude quaternion, the earth-to-body
// direction-cosine matrix and the Euler angles (roll, pitch, heading in radians).
#pragma once

namespace vyr {

constexpr double MODEL_PI = 3.14159265359;

struct Vector3d {
    double x, y, z;
};

struct Quaternion {
    double e0, e1, e2, e3;
};

// Earth to body: rows are the body's forward, right and down axes in north-east-down terms.
struct DirectionCosines {
    double m[3][3];
};

Quaternion euler_to_quaternion(double roll, double pitch, double heading);
DirectionCosines quaternion_to_dcm(const Quaternion& e);
// Roll and heading lie in -pi .. pi; both are 0 when the nose points straight up or down.
void dcm_to_euler(const DirectionCosines& dcm, double& roll, double& pitch, double& heading);

// The transposed matrix times v.
Vector3d body_to_earth(const DirectionCosines& dcm, const Vector3d& v);
Vector3d earth_to_body(const DirectionCosines& dcm, const Vector3d& v);

double vector_length(const Vector3d& v);
double quaternion_length(const Quaternion& e);
// Four-quadrant arctangent of y / x: +-pi/2 when only x is 0, and 0 when both are.
double angle_of(double y, double x);

}  // namespace vyr
