#include "source/models/intercept.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vyr {
namespace {

constexpr int32_t FT = 256;
constexpr int32_t FULL_LEAD = 0x7FFFFFFF;

double miss(const Vector3& aim, const Vector3& exact) {
    return std::hypot(double(aim.x) - exact.x, double(aim.y) - exact.y, double(aim.z) - exact.z);
}

TEST(InterceptPoint, IterationAndClosedFormAgreeOnACrossingTarget) {
    const Vector3 shooter = {1000 * FT, 1000 * FT, 5000 * FT};
    const Vector3 target = {1000 * FT, 2000 * FT, 5000 * FT};  // 1,000 ft north
    const Vector3 velocity = {200 * FT, 0, 0};                 // crossing east at 200 ft/s
    Vector3 closed, iterated;
    const int32_t z = intercept_point(shooter, 2000 * FT, target, velocity, FULL_LEAD, INTERCEPT_CLOSED_FORM, closed);
    EXPECT_EQ(z, closed.z);
    // The lead time solves |D + V t| = speed t: about 0.505 s, so about 101 ft east.
    EXPECT_NEAR(closed.x - target.x, 101 * FT, FT);
    EXPECT_EQ(closed.y, target.y);
    intercept_point(shooter, 2000 * FT, target, velocity, FULL_LEAD, 4, iterated);
    EXPECT_LT(miss(iterated, closed), 2.0);
}

TEST(InterceptPoint, WithoutAMeetingTheAimIsTheTarget) {
    const Vector3 shooter = {0, 0, 0};
    const Vector3 target = {0, 1000 * FT, 0};
    const struct {
        const char* what;
        int32_t speed;
        Vector3 velocity;
        int steps;
    } cases[] = {
        {"a target faster than the shot, moving away", 100 * FT, {0, 200 * FT, 0}, INTERCEPT_CLOSED_FORM},
        {"a shot of speed 0, iterated", 0, {50 * FT, 0, 0}, 3},
        {"a lead time that does not fit 32 bits", 1, {50 * FT, 0, 0}, 3},
    };
    for (const auto& c : cases) {
        Vector3 out = {-1, -1, -1};
        intercept_point(shooter, c.speed, target, c.velocity, FULL_LEAD, c.steps, out);
        EXPECT_EQ(out.x, target.x) << c.what;
        EXPECT_EQ(out.y, target.y) << c.what;
        EXPECT_EQ(out.z, target.z) << c.what;
    }
}

TEST(InterceptPoint, TheClosedFormKeepsTheAimInsideTheWorldAndBelowTheCeiling) {
    const Vector3 shooter = {10 * FT, 0, 99990 * FT};
    const Vector3 target = {0, 100 * FT, 99995 * FT};  // leaving the world west and climbing
    Vector3 out;
    intercept_point(shooter, 2000 * FT, target, {-500 * FT, 0, 500 * FT}, FULL_LEAD, INTERCEPT_CLOSED_FORM, out);
    EXPECT_EQ(out.x, 0);
    EXPECT_EQ(out.y, target.y);
    EXPECT_EQ(out.z, 100000 * FT);
}

}  // namespace
}  // namespace vyr
