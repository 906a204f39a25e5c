// Piecewise-linear tables of the flight model: each segment holds its upper breakpoint and the
// line through it, so a look-up is one compare per segment and one multiply-add.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int MAX_TABLE_SEGMENTS = 70;

struct PiecewiseSegment {
    double x_end;  // upper breakpoint
    double slope;
    double intercept;
};

struct PiecewiseTable {
    int32_t count;  // segments in use
    // Arguments are clamped to these; x_max lies a hair below the last breakpoint so that a
    // clamped argument always finds its segment.
    double x_min;
    double x_max;
    // Uniform tables only: the breakpoint spacing and its inverse, for direct indexing.
    double dx;
    double inverse_dx;
    PiecewiseSegment segments[MAX_TABLE_SEGMENTS];
};

// Fills `table.count` segments joining the points (xs[i], ys[i]) .. (xs[count], ys[count]).
void build_piecewise_table(PiecewiseTable& table, const double* xs, const double* ys);
// The segment that holds x (clamped) found from the first; fatal if none does.
double lookup_piecewise_table(const PiecewiseTable& table, double x);

}  // namespace vyr
