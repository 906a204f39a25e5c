// Plane geometry of a theatre's layout, in post units: 1 is 2^20 world units (4096 ft), the
// world square is 0..256 along x (east) and y (north).
#pragma once

#include <cstdint>
#include <vector>

namespace vyr::vyrgen {

struct Point {
    double x, y;
};

inline Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
inline Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
inline Point operator*(Point a, double k) { return {a.x * k, a.y * k}; }

constexpr double FEET_PER_POST = 4096;

// The world units of a post coordinate, rounded to the nearest unit.
int32_t world_units(double posts);

double distance(Point a, Point b);
double distance_to_segment(Point p, Point a, Point b);
double distance_to_line(Point p, const std::vector<Point>& line);
// Even-odd rule; the outline is closed implicitly.
bool inside_polygon(Point p, const std::vector<Point>& outline);

// A natural edge through the points: every segment is cut in two `levels` times, each new point
// pushed sideways by up to `roughness` times the segment's length (repeatably, from `seed`).
std::vector<Point> roughen(const std::vector<Point>& points, bool closed, int levels, double roughness,
                           uint32_t seed);

}  // namespace vyr::vyrgen
