#include "library/maths/vector.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "library/maths/trig.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

constexpr double TURN = 4294967296.0;

class Vectors : public ScratchDirectories {
protected:
    void SetUp() override {
        ScratchDirectories::SetUp();
        init_trig_tables();
    }
};

// Binary-angle difference folded into -2^31 .. 2^31.
double angle_error(uint32_t angle, double reference) {
    double error = std::fmod(double(angle) - reference, TURN);
    if (error > TURN / 2) error -= TURN;
    if (error < -TURN / 2) error += TURN;
    return error;
}

TEST_F(Vectors, DistancesEstimatedAndMeasured) {
    EXPECT_EQ(estimate_distance_2d(-300, 400), 475);
    EXPECT_EQ(estimate_distance_2d(400, -300), 475);
    EXPECT_EQ(estimate_distance_3d(100, -400, 200), 475);
    EXPECT_EQ(measure_distance_3d(3, -4, 12), 13);
    EXPECT_EQ(measure_distance_3d(1, 1, 1), 1);  // truncated
    EXPECT_EQ(measure_distance_3d(INT_MIN, INT_MIN, INT_MIN), 0x7FFFFFFF);
    const struct {
        uint64_t n, root;
    } roots[] = {{0, 0}, {1, 1}, {3, 1}, {4, 2}, {99, 9}, {0xFFFFFFFF, 0xFFFF},
                 {0xFFFFFFFE00000001, 0xFFFFFFFF}, {0xFFFFFFFFFFFFFFFF, 0xFFFFFFFF},
                 {(uint64_t(1) << 52) + 1, uint64_t(1) << 26}, {(uint64_t(3037000499) * 3037000499) - 1, 3037000498}};
    for (const auto& r : roots) EXPECT_EQ(isqrt64(r.n), r.root) << r.n;
    EXPECT_EQ(isqrt32(0xFFFFFFFF), 0xFFFFu);
    EXPECT_EQ(isqrt32(16), 4u);
}

TEST_F(Vectors, BearingsOnTheAxesAndDiagonalsAreExact) {
    const struct {
        int32_t dx, dy;
        uint32_t bearing;
    } cases[] = {
        {0, 0, 0},           {0, 5, 0},           {0, -5, 0x80000000},  {7, 0, 0x40000000},
        {-5, 0, 0xC0000000}, {1, 1, 0x20000000},  {3, -3, 0x60000000},  {-9, -9, 0xA0000000},
        {-2, 2, 0xE0000000}, {INT_MIN, INT_MIN, 0xA0000000}, {INT_MIN, 0, 0xC0000000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(compute_bearing(c.dx, c.dy), c.bearing) << c.dx << "," << c.dy;
}

TEST_F(Vectors, BearingsAgreeWithDoublePrecisionWithinOneTableStep) {
    // One step of the arctangent table, where it is widest.
    const double step = arctan_table[1] - arctan_table[0];
    const int32_t cases[][2] = {
        {1, 1000},       {1000, 1},       {-1000, 1},        {1, -1000},       {3, 4},
        {-4, 3},         {-3, -4},        {4, -3},           {100000, 99999},  {99999, 100000},
        {-123456, 7890}, {7890, -123456}, {INT_MAX, INT_MIN}, {INT_MIN, 1},    {268435455, -1},
        {5, 268435455},  {-77, -300},     {300, 77},
    };
    for (const auto& c : cases) {
        double reference = std::atan2(double(c[0]), double(c[1])) / (2 * M_PI) * TURN;
        EXPECT_LE(std::fabs(angle_error(compute_bearing(c[0], c[1]), reference)), step)
            << c[0] << "," << c[1];
    }
}

TEST_F(Vectors, RelativeAnglesCompareHeadingsAndElevations) {
    uint32_t heading = 1, elevation = 1;
    compute_relative_angles({0, 1 << 24, 1 << 24}, {1 << 24, 0, 0}, heading, elevation);
    EXPECT_EQ(heading, 0xC0000000u);
    EXPECT_EQ(elevation, 0x20000000u);
    compute_relative_angles({-(1 << 24), -(1 << 24), 0}, {0, 1 << 24, -(1 << 24)}, heading, elevation);
    EXPECT_EQ(heading, 0xA0000000u);
    EXPECT_EQ(elevation, 0x20000000u);
}

TEST_F(Vectors, NormalisingAgreesWithDoublePrecisionWithinOneUnit) {
    Vector3 v = {0, 3000, 0};
    EXPECT_EQ(normalize_vector(v), 3001);
    EXPECT_EQ(v.y, 2146768058);
    v = {0, 0, 0};
    EXPECT_EQ(normalize_vector(v), 1);
    EXPECT_EQ(v.x | v.y | v.z, 0);

    const Vector3 cases[] = {
        {3, 4, 12},          {-3, -4, -12},          {1, 0, 0},          {-1, 0, 0},
        {1000000, -7, 3},    {0x3FFFFFFF, 0, 0},     {0x7FFFFFFF, 5, -7}, {INT_MIN, INT_MIN, INT_MIN},
        {12345, 67890, -13579}, {-0x40000000, 0x20000000, 1},
    };
    for (const Vector3& c : cases) {
        Vector3 unit = c;
        int32_t r = normalize_vector(unit);
        bool halved = std::abs(double(c.x)) > 0x3FFFFFFF || std::abs(double(c.y)) > 0x3FFFFFFF ||
                      std::abs(double(c.z)) > 0x3FFFFFFF;
        double x = c.x, y = c.y, z = c.z;
        if (halved) x = std::trunc(x / 2), y = std::trunc(y / 2), z = std::trunc(z / 2);
        double length = std::trunc(std::sqrt(x * x + y * y + z * z)) + 1;
        EXPECT_EQ(r, int32_t(length)) << c.x << "," << c.y << "," << c.z;
        const double got[] = {double(unit.x), double(unit.y), double(unit.z)};
        const double want[] = {x, y, z};
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(got[i], std::clamp(want[i] * 2147483648.0 / length, -2147483647.0, 2147483647.0),
                        1.0)
                << c.x << "," << c.y << "," << c.z << " [" << i << "]";
    }
}

TEST_F(Vectors, SegmentDistanceAndClosestPoint) {
    const Vector3 a = {100000, 200000, 3000}, b = {200000, 200000, 3000};
    Vector3 out = {};
    const struct {
        Vector3 p;
        int32_t distance;  // FAR_AWAY, or the perpendicular distance
        Vector3 closest;
    } cases[] = {
        {{50000, 230000, 3000}, FAR_AWAY, b},            // before a
        {{250000, 190000, 3000}, FAR_AWAY, b},           // beyond b
        {{150000, 250000, 3000}, 50000, {150000, 200000, 3000}},  // beside the middle
        {{150000, 200000, -47000}, 50000, {150000, 200000, 3000}},
        {{180000, 220000, 3000}, 20000, {180000, 200000, 3000}},
        // Beside a: the table distance exceeds |p - a|, and the closest point is a, not b.
        {{100000, 200500, 3000}, 500, a},
    };
    for (const auto& c : cases) {
        int32_t d = find_segment_closest_point(a, b, c.p, out);
        EXPECT_EQ(measure_segment_distance(a, b, c.p), d);
        const double tolerance = c.distance == FAR_AWAY ? 0 : 64;  // a quarter foot
        EXPECT_NEAR(d, c.distance, tolerance) << c.p.x << "," << c.p.y << "," << c.p.z;
        EXPECT_NEAR(out.x, c.closest.x, tolerance) << c.p.x << "," << c.p.y << "," << c.p.z;
        EXPECT_NEAR(out.y, c.closest.y, tolerance);
        EXPECT_NEAR(out.z, c.closest.z, tolerance);
    }
}

}  // namespace
}  // namespace vyr
