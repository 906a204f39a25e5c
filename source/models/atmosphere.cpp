#include "source/models/atmosphere.h"

#include <algorithm>
#include <cmath>

#include "source/models/linear_tables.h"

namespace vyr {

namespace {

constexpr int TABLE_SEGMENTS = 70;
constexpr double TABLE_STEP = 1000.0;
constexpr double TABLE_TOP = 69999.99999;
constexpr double TROPOPAUSE = 36089.2;

PiecewiseTable density_table;
PiecewiseTable sound_table;

double lookup_uniform(const PiecewiseTable& table, double x) {
    const PiecewiseSegment& s = table.segments[int(x * table.inverse_dx)];
    return s.slope * x + s.intercept;
}

}  // namespace

void standard_atmosphere(double altitude, double& density, double& speed_of_sound) {
    double temperature, pressure;
    if (altitude < TROPOPAUSE) {
        temperature = 518.67 - 0.00356616 * altitude;
        pressure = 2116.22 * std::pow(temperature * 0.0019280081747546608, 5.255912);
    } else {
        temperature = 389.970138528;
        pressure = 472.6773 * std::exp(-32.1741 * (altitude - TROPOPAUSE) / 669404.8253167248);
    }
    density = pressure / (1716.554061917388 * temperature);
    speed_of_sound = std::sqrt(2403.175686684344 * temperature);
}

void build_atmosphere_tables() {
    double xs[TABLE_SEGMENTS + 1], densities[TABLE_SEGMENTS + 1], speeds[TABLE_SEGMENTS + 1];
    for (int i = 0; i <= TABLE_SEGMENTS; ++i) {
        xs[i] = i * TABLE_STEP;
        standard_atmosphere(xs[i], densities[i], speeds[i]);
    }
    for (PiecewiseTable* table : {&density_table, &sound_table}) {
        table->count = TABLE_SEGMENTS;
        table->x_min = 0.0;
        table->x_max = TABLE_TOP;
        table->dx = TABLE_STEP;
        table->inverse_dx = 1.0 / TABLE_STEP;
    }
    build_piecewise_table(density_table, xs, densities);
    build_piecewise_table(sound_table, xs, speeds);
}

void lookup_atmosphere(double altitude, double& density, double& speed_of_sound) {
    const double h = std::clamp(altitude, 0.0, TABLE_TOP);
    density = lookup_uniform(density_table, h);
    speed_of_sound = lookup_uniform(sound_table, h);
}

}  // namespace vyr
