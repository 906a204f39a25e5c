#include "source/models/linear_tables.h"

#include <algorithm>

#include "library/debug/fatal.h"

namespace vyr {

void build_piecewise_table(PiecewiseTable& table, const double* xs, const double* ys) {
    for (int i = 0; i < table.count; ++i) {
        PiecewiseSegment& s = table.segments[i];
        s.x_end = xs[i + 1];
        s.slope = (ys[i + 1] - ys[i]) / (xs[i + 1] - xs[i]);
        s.intercept = ys[i + 1] - xs[i + 1] * s.slope;
    }
}

double lookup_piecewise_table(const PiecewiseTable& table, double x) {
    x = std::clamp(x, table.x_min, table.x_max);
    for (int i = 0; i < table.count; ++i) {
        const PiecewiseSegment& s = table.segments[i];
        if (s.x_end > x) return s.slope * x + s.intercept;
    }
    report_fatal_error("fallen off piece-wise table ", "source/models/linear_tables", __LINE__);
    return 0.0;
}

}  // namespace vyr
