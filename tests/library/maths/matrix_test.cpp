#include "library/maths/matrix.h"

#include <gtest/gtest.h>

#include <cmath>

#include "library/maths/trig.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

constexpr double SCALE = 2147483648.0;  // products of 1.31 numbers are taken over 2^31

class Matrices : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
    }
};

void expect_near(const Matrix3& got, const double (&want)[3][3], double units, const char* what) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(got[i][j], want[i][j], units) << what << " [" << i << "][" << j << "]";
}

void expect_near(const Matrix3& got, const Matrix3& want, double units, const char* what) {
    double w[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) w[i][j] = want[i][j];
    expect_near(got, w, units, what);
}

const uint32_t ANGLES[][3] = {
    {0, 0, 0},
    {0x40000000, 0, 0},
    {0x12345678, 0x0FEDCBA9, 0x9ABCDEF0},
    {0xC0000000, 0x20000000, 0x40000000},
    {0x7FFFFFFF, 0xF0000000, 0x10000000},
    {0x00040000, 0xFFFC0000, 0x80000000},
    {0xDEADBEEF, 0x3FFFFFFF, 0xC0FFEE00},
};

TEST_F(Matrices, OrientationAgreesWithDoublePrecisionWithinOneUnit) {
    for (const auto& a : ANGLES) {
        double ch = lookup_cos(a[0]), sh = lookup_sin(a[0]), cp = lookup_cos(a[1]),
               sp = lookup_sin(a[1]), cr = lookup_cos(a[2]), sr = lookup_sin(a[2]);
        const double want[3][3] = {
            {(cr * ch + sr * sp / SCALE * sh) / SCALE, (sr * sp / SCALE * ch - cr * sh) / SCALE, -sr * cp / SCALE},
            {cp * sh / SCALE, cp * ch / SCALE, sp},
            {(sr * ch - cr * sp / SCALE * sh) / SCALE, (-sr * sh - cr * sp / SCALE * ch) / SCALE, cr * cp / SCALE},
        };
        Matrix3 m;
        build_rotation_matrix(a[0], a[1], a[2], m);
        expect_near(m, want, 1.0, "rotation");
    }
}

TEST_F(Matrices, OrientationTurnsTheWorldIntoTheObjectsFrame) {
    const double one = FIXED_ONE;
    const struct {
        uint32_t heading, pitch, roll;
        double forward[3];  // row 1: the object's forward axis in world terms
        double right[3];    // row 0
    } cases[] = {
        {0, 0, 0, {0, one, 0}, {one, 0, 0}},
        {0x40000000, 0, 0, {one, 0, 0}, {0, -one, 0}},
        {0x80000000, 0, 0, {0, -one, 0}, {-one, 0, 0}},
        {0, 0x40000000, 0, {0, 0, one}, {one, 0, 0}},
        {0, 0, 0x40000000, {0, one, 0}, {0, 0, -one}},
    };
    for (const auto& c : cases) {
        Matrix3 m;
        build_rotation_matrix(c.heading, c.pitch, c.roll, m);
        for (int j = 0; j < 3; ++j) {
            EXPECT_NEAR(m[1][j], c.forward[j], 2) << c.heading << " " << c.pitch << " " << c.roll;
            EXPECT_NEAR(m[0][j], c.right[j], 2) << c.heading << " " << c.pitch << " " << c.roll;
        }
    }
}

TEST_F(Matrices, ProductsRotationsAndTransposesAgree) {
    Matrix3 identity;
    set_identity_matrix(identity);
    for (const auto& a : ANGLES) {
        Matrix3 m, t, product, x, z, y;
        build_rotation_matrix(a[0], a[1], a[2], m);
        transpose_matrix(t, m);
        multiply_matrices(m, t, product);
        // Truncated table entries leave each row a few units short of 1.0.
        expect_near(product, identity, 8, "m x transpose");

        // The builders are the same rotations composed step by step.
        Matrix3 steps = identity;
        rotate_matrix_z(steps, a[0]);
        rotate_matrix_x(steps, a[1]);
        Matrix3 xz;
        build_xz_rotation(a[0], a[1], xz);
        expect_near(steps, xz, 2, "x after z");
        Matrix3 no_roll;
        build_rotation_matrix(a[0], a[1], 0, no_roll);
        expect_near(xz, no_roll, 2, "heading and pitch");
        Matrix3 rotated = identity;
        rotate_matrix(rotated, a[0], a[1], a[2]);
        expect_near(rotated, m, 2, "rotate identity");

        build_x_rotation(a[0], x);
        build_z_rotation(a[1], z);
        Matrix3 zx, want;
        build_zx_rotation(a[0], a[1], zx);
        multiply_matrices(z, x, want);
        expect_near(zx, want, 0, "z x");
        // Y(-b) x X(a): a roll the other way after the pitch.
        build_rotation_matrix(0, a[0], 0u - a[1], want);
        build_yx_rotation(a[0], a[1], y);
        expect_near(y, want, 2, "y x");

        // The same matrix in and out.
        Matrix3 alias = m;
        multiply_matrices(alias, t, alias);
        expect_near(alias, product, 0, "aliased product");
        alias = m;
        transpose_matrix(alias, alias);
        expect_near(alias, t, 0, "aliased transpose");
    }
}

TEST_F(Matrices, VectorsGoToTheObjectAndBack) {
    const Vector3 vectors[] = {{1000000, -2000000, 300000}, {0, 0, 256}, {-7, 99999, -123456}};
    for (const auto& a : ANGLES)
        for (const Vector3& v : vectors) {
            Matrix3 m;
            build_rotation_matrix(a[0], a[1], a[2], m);
            Vector3 object, world;
            rotate_vector(m, v, object);
            unrotate_vector(m, object, world);
            EXPECT_NEAR(world.x, v.x, 3);
            EXPECT_NEAR(world.y, v.y, 3);
            EXPECT_NEAR(world.z, v.z, 3);
            // The object's forward component is the world vector along row 1.
            double forward = (double(m[1][0]) * v.x + double(m[1][1]) * v.y + double(m[1][2]) * v.z) / SCALE;
            EXPECT_NEAR(object.y, forward, 0.5);
            rotate_vector(m, v, world = v);
            EXPECT_EQ(world.y, object.y);
        }
}

TEST_F(Matrices, AxisRotationsTurnAboutTheirAxis) {
    const double one = FIXED_ONE;
    for (const auto& a : ANGLES) {
        const double c = lookup_cos(a[0]), s = lookup_sin(a[0]);
        const double about_z[3][3] = {{c, -s, 0}, {s, c, 0}, {0, 0, one}};
        const double about_x[3][3] = {{one, 0, 0}, {0, c, -s}, {0, s, c}};
        Matrix3 m;
        // A unit axis of 0x7FFFFFFF is 2^-31 short of 1.0: 1 - c (up to 2.0) loses up to 4 units.
        build_axis_rotation({0, 0, FIXED_ONE}, a[0], m);
        expect_near(m, about_z, 4, "about z");
        build_axis_rotation({FIXED_ONE, 0, 0}, a[0], m);
        expect_near(m, about_x, 4, "about x");
    }
}

TEST_F(Matrices, DirectionsBuildOrthonormalBases) {
    const Vector3 directions[] = {{0, FIXED_ONE, 0}, {FIXED_ONE, 0, 0}, {1240000000, 1240000000, 1240000000},
                                  {-1518500249, 0, -1518500249}, {300000000, -2100000000, 100000000}};
    for (Vector3 d : directions) {
        normalize_vector(d);
        Matrix3 m, basis;
        build_direction_matrix(d, m);
        build_direction_basis(d, basis);
        // Looking along d within the tables' steps (8192 a turn).
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(m[1][j], (&d.x)[j], 2147483647.0 / 1000) << d.x;
        for (int i = 0; i < 3; ++i)
            for (int k = 0; k < 3; ++k) {
                double dot = 0;
                for (int j = 0; j < 3; ++j) dot += double(basis[i][j]) * basis[k][j] / SCALE;
                EXPECT_NEAR(dot, i == k ? SCALE : 0, 16) << d.x << "," << d.y << "," << d.z << " " << i << k;
            }
        EXPECT_EQ(basis[1][0], d.x);
        EXPECT_EQ(basis[0][2], 0);
    }
}

}  // namespace
}  // namespace vyr
