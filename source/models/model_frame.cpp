#include "source/models/model_frame.h"

#include "library/3dvisual/terrain.h"

namespace vyr {

namespace {

constexpr double UNITS_PER_FOOT = 256.0;
constexpr double FIXED_SCALE = 2147483647.0;

}  // namespace

Vector3d world_to_model_vector(const Vector3& in) {
    return {in.y / UNITS_PER_FOOT, in.x / UNITS_PER_FOOT, -in.z / UNITS_PER_FOOT};
}

Vector3 model_to_world_vector(const Vector3d& in) {
    return {int32_t(in.y * UNITS_PER_FOOT), int32_t(in.x * UNITS_PER_FOOT), int32_t(-(in.z * UNITS_PER_FOOT))};
}

Matrix3 model_to_world_matrix(const DirectionCosines& dcm) {
    const double (&d)[3][3] = dcm.m;
    const double rows[3][3] = {{d[1][1], d[1][0], -d[1][2]}, {d[0][1], d[0][0], -d[0][2]}, {-d[2][1], -d[2][0], d[2][2]}};
    Matrix3 out;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out[i][j] = int32_t(rows[i][j] * FIXED_SCALE);
    return out;
}

double model_ground_z(double north, double east) {
    return -get_ground_height(int32_t(east * UNITS_PER_FOOT), int32_t(north * UNITS_PER_FOOT)) / UNITS_PER_FOOT;
}

int32_t radians_to_angle(double radians) { return int32_t(radians * FIXED_SCALE / MODEL_PI); }

double angle_to_radians(uint32_t angle) { return int32_t(angle) * MODEL_PI * (1.0 / 2147483648.0); }

}  // namespace vyr
