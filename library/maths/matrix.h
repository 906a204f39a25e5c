// 3 x 3 rotation matrices of 1.31 numbers, row-major. An orientation is world-to-object: rows
// are the object's right, forward and up axes in world terms.
#pragma once

#include <cstdint>

#include "library/maths/vector.h"

namespace vyr {

struct Matrix3 {
    int32_t m[3][3];
    int32_t* operator[](int row) { return m[row]; }
    const int32_t* operator[](int row) const { return m[row]; }
};

// A place and an orientation: every drone, 3D object instance and the eye has one.
struct Pose {
    Vector3 position;
    Matrix3 matrix;
};

// Every output may be one of the inputs.
void set_identity_matrix(Matrix3& m);
void transpose_matrix(Matrix3& dst, const Matrix3& src);
void multiply_matrices(const Matrix3& a, const Matrix3& b, Matrix3& out);
// Rows of m . v: world to object.
void rotate_vector(const Matrix3& m, const Vector3& v, Vector3& out);
// Columns of m . v: object to world.
void unrotate_vector(const Matrix3& m, const Vector3& v, Vector3& out);

// Rows (c, -s, 0), (s, c, 0), (0, 0, 1).
void build_z_rotation(uint32_t angle, Matrix3& out);
// Rows (1, 0, 0), (0, c, s), (0, -s, c).
void build_x_rotation(uint32_t angle, Matrix3& out);
// Z(b) x X(a).
void build_zx_rotation(uint32_t a, uint32_t b, Matrix3& out);
// X(pitch) x Z(heading).
void build_xz_rotation(uint32_t heading, uint32_t pitch, Matrix3& out);
// Y(-b) x X(a), with Y(t) rows (cos t, 0, -sin t), (0, 1, 0), (sin t, 0, cos t).
void build_yx_rotation(uint32_t a, uint32_t b, Matrix3& out);
// Y(roll) x X(pitch) x Z(heading): the world-to-object orientation.
void build_rotation_matrix(uint32_t heading, uint32_t pitch, uint32_t roll, Matrix3& out);
// m = build_rotation_matrix(heading, pitch, roll) x m, and likewise for one axis.
void rotate_matrix(Matrix3& m, uint32_t heading, uint32_t pitch, uint32_t roll);
void rotate_matrix_x(Matrix3& m, uint32_t angle);
void rotate_matrix_z(Matrix3& m, uint32_t angle);
// The orientation that looks along the unit direction d, unrolled.
void build_direction_matrix(const Vector3& d, Matrix3& out);
// Rows: the horizontal side axis (d.y, -d.x, 0) normalised, d, and their cross product.
void build_direction_basis(const Vector3& d, Matrix3& out);
// The rotation by `angle` about the unit axis.
void build_axis_rotation(const Vector3& axis, uint32_t angle, Matrix3& out);

}  // namespace vyr
