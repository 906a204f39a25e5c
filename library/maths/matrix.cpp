#include "library/maths/matrix.h"

#include "library/maths/trig.h"

namespace vyr {

namespace {

// c . 2^31: a 1.31 number as a term of a 64-bit sum of products.
uint64_t term(int32_t c) { return uint64_t(int64_t(c) * (int64_t(1) << 31)); }

// Y(t) rows (cos t, 0, -sin t), (0, 1, 0), (sin t, 0, cos t).
void build_y_rotation(uint32_t angle, Matrix3& out) {
    int32_t c = lookup_cos(angle), s = lookup_sin(angle);
    out = {{{c, 0, -s}, {0, FIXED_ONE, 0}, {s, 0, c}}};
}

Vector3 cross31(const Vector3& a, const Vector3& b) {
    return {round31(mul64(a.y, b.z) - mul64(a.z, b.y)),
            round31(mul64(a.z, b.x) - mul64(a.x, b.z)),
            round31(mul64(a.x, b.y) - mul64(a.y, b.x))};
}

int32_t negate(int32_t c) { return int32_t(0u - uint32_t(c)); }

}  // namespace

void set_identity_matrix(Matrix3& m) {
    m = {{{FIXED_ONE, 0, 0}, {0, FIXED_ONE, 0}, {0, 0, FIXED_ONE}}};
}

void transpose_matrix(Matrix3& dst, const Matrix3& src) {
    Matrix3 t;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) t[i][j] = src[j][i];
    dst = t;
}

void multiply_matrices(const Matrix3& a, const Matrix3& b, Matrix3& out) {
    Matrix3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = round31(mul64(a[i][0], b[0][j]) + mul64(a[i][1], b[1][j]) +
                              mul64(a[i][2], b[2][j]));
    out = r;
}

void rotate_vector(const Matrix3& m, const Vector3& v, Vector3& out) {
    auto row = [&](int i) {
        return round31(mul64(m[i][0], v.x) + mul64(m[i][1], v.y) + mul64(m[i][2], v.z));
    };
    out = {row(0), row(1), row(2)};
}

void unrotate_vector(const Matrix3& m, const Vector3& v, Vector3& out) {
    auto column = [&](int j) {
        return round31(mul64(m[0][j], v.x) + mul64(m[1][j], v.y) + mul64(m[2][j], v.z));
    };
    out = {column(0), column(1), column(2)};
}

void build_z_rotation(uint32_t angle, Matrix3& out) {
    int32_t c = lookup_cos(angle), s = lookup_sin(angle);
    out = {{{c, -s, 0}, {s, c, 0}, {0, 0, FIXED_ONE}}};
}

void build_x_rotation(uint32_t angle, Matrix3& out) {
    int32_t c = lookup_cos(angle), s = lookup_sin(angle);
    out = {{{FIXED_ONE, 0, 0}, {0, c, s}, {0, -s, c}}};
}

void build_zx_rotation(uint32_t a, uint32_t b, Matrix3& out) {
    Matrix3 z, x;
    build_z_rotation(b, z);
    build_x_rotation(a, x);
    multiply_matrices(z, x, out);
}

void build_xz_rotation(uint32_t heading, uint32_t pitch, Matrix3& out) {
    Matrix3 x, z;
    build_x_rotation(pitch, x);
    build_z_rotation(heading, z);
    multiply_matrices(x, z, out);
}

void build_yx_rotation(uint32_t a, uint32_t b, Matrix3& out) {
    Matrix3 y, x;
    build_y_rotation(0u - b, y);
    build_x_rotation(a, x);
    multiply_matrices(y, x, out);
}

void build_rotation_matrix(uint32_t heading, uint32_t pitch, uint32_t roll, Matrix3& out) {
    int32_t ch = lookup_cos(heading), sh = lookup_sin(heading);
    int32_t cp = lookup_cos(pitch), sp = lookup_sin(pitch);
    int32_t cr = lookup_cos(roll), sr = lookup_sin(roll);
    // Three-factor terms: the first two rounded, then times the third, summed before rounding.
    int32_t sr_sp = mul31(sr, sp), cr_sp = mul31(cr, sp);
    out = {{{round31(mul64(cr, ch) + mul64(sr_sp, sh)),
             round31(mul64(sr_sp, ch) - mul64(cr, sh)), round31(0 - mul64(sr, cp))},
            {mul31(cp, sh), mul31(cp, ch), sp},
            {round31(mul64(sr, ch) - mul64(cr_sp, sh)),
             round31(0 - mul64(sr, sh) - mul64(cr_sp, ch)), mul31(cr, cp)}}};
}

void rotate_matrix(Matrix3& m, uint32_t heading, uint32_t pitch, uint32_t roll) {
    Matrix3 r;
    build_rotation_matrix(heading, pitch, roll, r);
    multiply_matrices(r, m, m);
}

void rotate_matrix_x(Matrix3& m, uint32_t angle) {
    Matrix3 r;
    build_x_rotation(angle, r);
    multiply_matrices(r, m, m);
}

void rotate_matrix_z(Matrix3& m, uint32_t angle) {
    Matrix3 r;
    build_z_rotation(angle, r);
    multiply_matrices(r, m, m);
}

void build_direction_matrix(const Vector3& d, Matrix3& out) {
    build_rotation_matrix(compute_bearing(d.x, d.y), lookup_arcsin(d.z), 0, out);
}

void build_direction_basis(const Vector3& d, Matrix3& out) {
    Vector3 side = {d.y, negate(d.x), 0};
    normalize_vector(side);
    Vector3 up = cross31(side, d);
    normalize_vector(up);
    out = {{{side.x, side.y, side.z}, {d.x, d.y, d.z}, {up.x, up.y, up.z}}};
}

void build_axis_rotation(const Vector3& axis, uint32_t angle, Matrix3& out) {
    int32_t c = lookup_cos(angle), s = lookup_sin(angle);
    int32_t x = axis.x, y = axis.y, z = axis.z;
    // t = 1 - c reaches 2.0, beyond 1.31: t and its products with the axis stay in 64 bits.
    int64_t t = int64_t(FIXED_ONE) - c;
    auto scaled = [t](int32_t v) { return (t * v + (int64_t(1) << 30)) >> 31; };
    int64_t tx = scaled(x), ty = scaled(y), tz = scaled(z);
    auto wide = [](int64_t a, int32_t b) { return uint64_t(a * b); };
    out = {{{round31(term(c) + wide(tx, x)), round31(wide(tx, y) - mul64(s, z)),
             round31(wide(tx, z) + mul64(s, y))},
            {round31(wide(tx, y) + mul64(s, z)), round31(term(c) + wide(ty, y)),
             round31(wide(ty, z) - mul64(s, x))},
            {round31(wide(tx, z) - mul64(s, y)), round31(wide(ty, z) + mul64(s, x)),
             round31(term(c) + wide(tz, z))}}};
}

}  // namespace vyr
