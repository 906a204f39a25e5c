#include "tools/vyrgen/world/geometry.h"

#include <algorithm>
#include <cmath>

#include "tools/vyrgen/noise.h"

namespace vyr::vyrgen {

int32_t world_units(double posts) { return int32_t(std::lround(posts * 1048576.0)); }

double distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

double distance_to_segment(Point p, Point a, Point b) {
    const Point ab = b - a, ap = p - a;
    const double length2 = ab.x * ab.x + ab.y * ab.y;
    const double t = length2 > 0 ? std::clamp((ap.x * ab.x + ap.y * ab.y) / length2, 0.0, 1.0) : 0.0;
    return distance(p, a + ab * t);
}

double distance_to_line(Point p, const std::vector<Point>& line) {
    double nearest = line.empty() ? INFINITY : distance(p, line.front());
    for (size_t k = 1; k < line.size(); ++k) nearest = std::min(nearest, distance_to_segment(p, line[k - 1], line[k]));
    return nearest;
}

bool inside_polygon(Point p, const std::vector<Point>& outline) {
    bool inside = false;
    for (size_t k = 0, previous = outline.size() - 1; k < outline.size(); previous = k++) {
        const Point a = outline[k], b = outline[previous];
        if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) inside = !inside;
    }
    return inside;
}

std::vector<Point> roughen(const std::vector<Point>& points, bool closed, int levels, double roughness,
                           uint32_t seed) {
    std::vector<Point> line = points;
    for (int level = 0; level < levels; ++level) {
        std::vector<Point> finer;
        const size_t segments = closed ? line.size() : line.size() - 1;
        for (size_t k = 0; k < segments; ++k) {
            const Point a = line[k], b = line[(k + 1) % line.size()];
            const Point side = {a.y - b.y, b.x - a.x};
            const uint32_t bits = mix_bits(seed ^ uint32_t(level * 7919 + k) * 0x9E3779B9u);
            const double push = (double(bits & 0xFFFF) / 65535.0 - 0.5) * 2 * roughness;
            finer.push_back(a);
            finer.push_back((a + b) * 0.5 + side * push);
        }
        if (!closed) finer.push_back(line.back());
        line = std::move(finer);
    }
    return line;
}

}  // namespace vyr::vyrgen
