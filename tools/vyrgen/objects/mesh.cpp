#include "tools/vyrgen/objects/mesh.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vyr::vyrgen {

namespace {

constexpr double UNITS_PER_FOOT = 16.0;  // vertices are stored in 1/16 ft

Point newell_normal(const std::vector<Point>& points) {
    Point n{0, 0, 0};
    for (size_t i = 0; i < points.size(); ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % points.size()];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return length > 0 ? n * (1 / length) : Point{0, 0, 1};
}

Point centroid(const std::vector<Point>& points) {
    Point c{0, 0, 0};
    for (const Point& p : points) c = c + p;
    return c * (1.0 / double(points.size()));
}

double dot(Point a, Point b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The polygon wound counter-clockwise seen from the side away from `inside`.
std::vector<Point> outward(std::vector<Point> points, Point inside) {
    if (dot(newell_normal(points), centroid(points) - inside) < 0) return {points.rbegin(), points.rend()};
    return points;
}

Point circle(double angle, double r) { return {r * std::cos(angle), 0, r * std::sin(angle)}; }

}  // namespace

int Mesh::vertex(Point p) {
    const Point key{std::round(p.x * UNITS_PER_FOOT), std::round(p.y * UNITS_PER_FOOT), std::round(p.z * UNITS_PER_FOOT)};
    for (size_t i = 0; i < vertices.size(); ++i)
        if (vertices[i].x == key.x && vertices[i].y == key.y && vertices[i].z == key.z) return int(i);
    vertices.push_back(key);
    return int(vertices.size() - 1);
}

void Mesh::raw(FaceItem face, const std::vector<Point>& points) {
    face.normal = newell_normal(points);
    // Stored clockwise: the order the screen-space facing test takes for a front face.
    for (auto p = points.rbegin(); p != points.rend(); ++p) face.vertices.push_back(vertex(*p));
    items.push_back(std::move(face));
}

void Mesh::polygon(const std::vector<Point>& points, uint8_t colour) { polygon2(points, colour, colour); }

void Mesh::polygon2(const std::vector<Point>& points, uint8_t colour1, uint8_t colour2) {
    raw(face_of(points.size() >= 3 ? uint8_t(12) : uint8_t(10), colour1, colour2), points);
    if (colour1 == colour2) items.back().mode = points.size() >= 3 ? 11 : 10;
}

void Mesh::textured(const std::vector<TexturePoint>& points, uint8_t colour, Skin skin) {
    std::vector<Point> at;
    FaceItem face = face_of(15, colour, uint8_t(colour + 2));
    face.texture = 2 + 6 * int(skin);
    for (auto p = points.rbegin(); p != points.rend(); ++p) {
        face.u.push_back(p->u);
        face.v.push_back(p->v);
    }
    for (const TexturePoint& p : points) at.push_back(p.at);
    raw(std::move(face), at);
}

void Mesh::plate(const std::vector<Point>& points, uint8_t colour) {
    polygon(points, colour);
    polygon({points.rbegin(), points.rend()}, colour);
}

void Mesh::glowing(const std::vector<Point>& points, uint8_t colour) {
    raw(face_of(2, colour, colour), points);
}

void Mesh::lamps(const std::vector<Point>& points, uint8_t colour) {
    raw(face_of(0, colour, colour), points);
}

void Mesh::sub_object(int slot) {
    FaceItem item;
    item.sub_object = slot;
    items.push_back(std::move(item));
}

void Mesh::switch_on_state(uint8_t shift, const std::vector<std::function<void(Mesh&)>>& cases) {
    FaceItem item;
    item.shift = shift;
    for (const auto& add : cases) {
        const size_t first = items.size();
        add(*this);
        item.cases.emplace_back(items.begin() + long(first), items.end());
        items.resize(first);
    }
    items.push_back(std::move(item));
}

void Mesh::node(const std::vector<Point>& plane, const std::function<void(Mesh&)>& behind,
                const std::function<void(Mesh&)>& in_front) {
    switch_on_state(0, {behind, in_front});
    FaceItem& item = items.back();
    item.node = true;
    for (auto p = plane.rbegin(); p != plane.rend(); ++p) item.vertices.push_back(vertex(*p));
}

void Mesh::box(Point lo, Point hi, uint8_t colour, uint8_t top) {
    const Point c = (lo + hi) * 0.5;
    const double xs[2] = {lo.x, hi.x}, ys[2] = {lo.y, hi.y}, zs[2] = {lo.z, hi.z};
    auto corner = [&](int i, int j, int k) { return Point{xs[i], ys[j], zs[k]}; };
    polygon(outward({corner(0, 0, 1), corner(1, 0, 1), corner(1, 1, 1), corner(0, 1, 1)}, c), top);
    polygon(outward({corner(0, 0, 0), corner(1, 0, 0), corner(1, 0, 1), corner(0, 0, 1)}, c), colour);
    polygon(outward({corner(0, 1, 0), corner(1, 1, 0), corner(1, 1, 1), corner(0, 1, 1)}, c), colour);
    polygon(outward({corner(0, 0, 0), corner(0, 1, 0), corner(0, 1, 1), corner(0, 0, 1)}, c), colour);
    polygon(outward({corner(1, 0, 0), corner(1, 1, 0), corner(1, 1, 1), corner(1, 0, 1)}, c), colour);
    if (lo.z > 0.01) polygon(outward({corner(0, 0, 0), corner(1, 0, 0), corner(1, 1, 0), corner(0, 1, 0)}, c), colour);
}

void Mesh::skinned_box(Point lo, Point hi, uint8_t colour, uint8_t top, Skin skin, double tile) {
    const Point c = (lo + hi) * 0.5;
    auto texel = [tile](double length) { return uint8_t(std::clamp(length / tile * 63.0, 0.0, 255.0)); };
    const uint8_t height = uint8_t(std::min<int>(63, texel(hi.z - lo.z)));
    // Each side: its two bottom corners, left to right seen from outside.
    const Point sides[4][2] = {{{lo.x, lo.y, 0}, {hi.x, lo.y, 0}},
                               {{hi.x, lo.y, 0}, {hi.x, hi.y, 0}},
                               {{hi.x, hi.y, 0}, {lo.x, hi.y, 0}},
                               {{lo.x, hi.y, 0}, {lo.x, lo.y, 0}}};
    for (const auto& side : sides) {
        Point a = side[0], b = side[1];
        a.z = b.z = lo.z;
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const uint8_t width = std::min<uint8_t>(63, texel(length));
        textured({{a, 0, height}, {b, width, height}, {{b.x, b.y, hi.z}, width, 0}, {{a.x, a.y, hi.z}, 0, 0}}, colour,
                 skin);
    }
    polygon(outward({{lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}}, c), top);
}

void Mesh::prism_y(const std::vector<std::pair<double, double>>& section, double y0, double y1, uint8_t colour) {
    std::vector<Point> front, back;
    Point c{0, (y0 + y1) / 2, 0};
    for (const auto& [x, z] : section) {
        front.push_back({x, y1, z});
        back.push_back({x, y0, z});
        c.x += x / double(section.size());
        c.z += z / double(section.size());
    }
    polygon(outward(front, c), colour);
    polygon(outward(back, c), colour);
    for (size_t i = 0; i < section.size(); ++i) {
        const size_t j = (i + 1) % section.size();
        polygon(outward({back[i], back[j], front[j], front[i]}, c), colour);
    }
}

void Mesh::prism_x(const std::vector<std::pair<double, double>>& section, double x0, double x1, uint8_t colour) {
    std::vector<Point> right, left;
    Point c{(x0 + x1) / 2, 0, 0};
    for (const auto& [y, z] : section) {
        right.push_back({x1, y, z});
        left.push_back({x0, y, z});
        c.y += y / double(section.size());
        c.z += z / double(section.size());
    }
    polygon(outward(right, c), colour);
    polygon(outward(left, c), colour);
    for (size_t i = 0; i < section.size(); ++i) {
        const size_t j = (i + 1) % section.size();
        polygon(outward({left[i], left[j], right[j], right[i]}, c), colour);
    }
}

void Mesh::tube_y(double x, double z, double y0, double r0, double y1, double r1, int sides, uint8_t colour,
                  bool cap0, bool cap1) {
    const Point axis0{x, y0, z}, axis1{x, y1, z};
    const Point c{x, (y0 + y1) / 2, z};
    std::vector<Point> ring0, ring1;
    for (int i = 0; i < sides; ++i) {
        const double a = 2 * std::numbers::pi * (i + 0.5) / sides;
        ring0.push_back(axis0 + circle(a, r0));
        ring1.push_back(axis1 + circle(a, r1));
    }
    for (int i = 0; i < sides; ++i) {
        const int j = (i + 1) % sides;
        if (r0 <= 0)
            polygon(outward({axis0, ring1[j], ring1[i]}, c), colour);
        else if (r1 <= 0)
            polygon(outward({ring0[i], ring0[j], axis1}, c), colour);
        else
            polygon(outward({ring0[i], ring0[j], ring1[j], ring1[i]}, c), colour);
    }
    if (r0 > 0 && cap0) polygon(outward(ring0, c), colour);
    if (r1 > 0 && cap1) polygon(outward(ring1, c), colour);
}

void Mesh::tube_z(double x, double y, double z0, double r0, double z1, double r1, int sides, uint8_t colour) {
    const Point c{x, y, (z0 + z1) / 2};
    std::vector<Point> ring0, ring1;
    for (int i = 0; i < sides; ++i) {
        const double a = 2 * std::numbers::pi * (i + 0.5) / sides;
        ring0.push_back({x + r0 * std::cos(a), y + r0 * std::sin(a), z0});
        ring1.push_back({x + r1 * std::cos(a), y + r1 * std::sin(a), z1});
    }
    for (int i = 0; i < sides; ++i) {
        const int j = (i + 1) % sides;
        if (r1 <= 0)
            polygon(outward({ring0[i], ring0[j], {x, y, z1}}, c), colour);
        else
            polygon(outward({ring0[i], ring0[j], ring1[j], ring1[i]}, c), colour);
    }
    if (r1 > 0) polygon(outward(ring1, c), colour);
    if (z0 > 0.01) polygon(outward(ring0, c), colour);
}

void Mesh::pyramid(Point lo, Point hi, double ridge_inset_x, double ridge_inset_y, double top, uint8_t colour) {
    const double z0 = hi.z;
    const Point base[4] = {{lo.x, lo.y, z0}, {hi.x, lo.y, z0}, {hi.x, hi.y, z0}, {lo.x, hi.y, z0}};
    const Point ridge[4] = {{lo.x + ridge_inset_x, lo.y + ridge_inset_y, top},
                            {hi.x - ridge_inset_x, lo.y + ridge_inset_y, top},
                            {hi.x - ridge_inset_x, hi.y - ridge_inset_y, top},
                            {lo.x + ridge_inset_x, hi.y - ridge_inset_y, top}};
    const Point c{(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, z0};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        std::vector<Point> face = {base[i], base[j], ridge[j], ridge[i]};
        if (std::abs(ridge[i].x - ridge[j].x) < 1e-6 && std::abs(ridge[i].y - ridge[j].y) < 1e-6)
            face = {base[i], base[j], ridge[i]};
        polygon(outward(face, c), colour);
    }
}

void Mesh::wing(Point root_lead, Point root_trail, Point tip_lead, Point tip_trail, double thickness, uint8_t colour,
                bool both) {
    for (int side = 0; side < (both ? 2 : 1); ++side) {
        const double s = side == 0 ? 1 : -1;
        auto at = [s](Point p, double dz) { return Point{p.x * s, p.y, p.z + dz}; };
        const double t0 = thickness / 2, t1 = thickness / 5;
        const std::vector<Point> top = {at(root_lead, t0), at(root_trail, t0 / 3), at(tip_trail, t1 / 3), at(tip_lead, t1)};
        const std::vector<Point> bottom = {at(root_lead, -t0), at(root_trail, -t0 / 3), at(tip_trail, -t1 / 3),
                                           at(tip_lead, -t1)};
        std::vector<Point> all = top;
        all.insert(all.end(), bottom.begin(), bottom.end());
        const Point c = centroid(all);
        polygon(outward(top, c), colour);
        polygon(outward(bottom, c), colour);
        polygon(outward({top[0], top[3], bottom[3], bottom[0]}, c), colour);
        polygon(outward({top[1], top[2], bottom[2], bottom[1]}, c), colour);
        polygon(outward({top[2], top[3], bottom[3], bottom[2]}, c), colour);
    }
}

void Mesh::fin(double x, Point root_lead, Point root_trail, Point tip_lead, Point tip_trail, double thickness,
               uint8_t colour) {
    auto at = [x](Point p, double dx) { return Point{x + dx, p.y, p.z}; };
    const double t0 = thickness / 2, t1 = thickness / 5;
    const std::vector<Point> right = {at(root_lead, t0), at(root_trail, t0 / 3), at(tip_trail, t1 / 3), at(tip_lead, t1)};
    const std::vector<Point> left = {at(root_lead, -t0), at(root_trail, -t0 / 3), at(tip_trail, -t1 / 3),
                                     at(tip_lead, -t1)};
    std::vector<Point> all = right;
    all.insert(all.end(), left.begin(), left.end());
    const Point c = centroid(all);
    polygon(outward(right, c), colour);
    polygon(outward(left, c), colour);
    polygon(outward({right[0], right[3], left[3], left[0]}, c), colour);
    polygon(outward({right[1], right[2], left[2], left[1]}, c), colour);
    polygon(outward({right[2], right[3], left[3], left[2]}, c), colour);
}

}  // namespace vyr::vyrgen
