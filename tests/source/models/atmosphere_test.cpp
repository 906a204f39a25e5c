#include "source/models/atmosphere.h"

#include <gtest/gtest.h>

#include "source/models/linear_tables.h"

namespace vyr {
namespace {

TEST(StandardAtmosphere, SeaLevelTropopauseAndAbove) {
    const struct {
        double altitude, density, speed_of_sound;
    } cases[] = {
        {0.0, 0.0023769, 1116.448},
        {36089.0, 0.00070612, 968.075},  // just below the tropopause
        {36089.2, 0.00070612, 968.074},  // at it: no step in either value
        {70000.0, 0.00013837, 968.074},
    };
    for (const auto& c : cases) {
        double density, speed;
        standard_atmosphere(c.altitude, density, speed);
        EXPECT_NEAR(density, c.density, c.density * 1e-3) << c.altitude;
        EXPECT_NEAR(speed, c.speed_of_sound, 0.002) << c.altitude;
    }
}

TEST(StandardAtmosphere, TablesMatchTheExactValuesAtTheirBreakpointsAndHoldAtTheirEnds) {
    build_atmosphere_tables();
    for (double h = 0; h < 70000; h += 1000) {
        double density, speed, exact_density, exact_speed;
        lookup_atmosphere(h, density, speed);
        standard_atmosphere(h, exact_density, exact_speed);
        EXPECT_NEAR(density, exact_density, 1e-12) << h;
        EXPECT_NEAR(speed, exact_speed, 1e-9) << h;
    }
    double low, high, density, speed;
    lookup_atmosphere(0.0, low, speed);
    lookup_atmosphere(-500.0, density, speed);
    EXPECT_EQ(density, low);
    lookup_atmosphere(69999.99999, high, speed);
    lookup_atmosphere(1e7, density, speed);
    EXPECT_EQ(density, high);
    double exact;
    standard_atmosphere(70000.0, exact, speed);
    EXPECT_NEAR(high, exact, 1e-9);
}

TEST(PiecewiseTable, ClampsToBothEndsAndInterpolatesBetween) {
    const double xs[] = {0.0, 1.0, 3.0};
    const double ys[] = {10.0, 20.0, 0.0};
    PiecewiseTable table{};
    table.count = 2;
    table.x_min = 0.0;
    table.x_max = 2.999;
    build_piecewise_table(table, xs, ys);
    EXPECT_DOUBLE_EQ(lookup_piecewise_table(table, -5.0), 10.0);
    EXPECT_DOUBLE_EQ(lookup_piecewise_table(table, 0.5), 15.0);
    EXPECT_DOUBLE_EQ(lookup_piecewise_table(table, 1.0), 20.0);
    EXPECT_DOUBLE_EQ(lookup_piecewise_table(table, 2.0), 10.0);
    EXPECT_NEAR(lookup_piecewise_table(table, 99.0), 0.01, 1e-12);
}

}  // namespace
}  // namespace vyr
