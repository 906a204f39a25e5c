#include "tools/vyrgen/objects/model.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <tuple>

namespace vyr::vyrgen {

namespace {

constexpr int32_t WORLD_UNITS_PER_STEP = 16;  // world units in one vertex step of 1/16 ft
constexpr double FIXED_ONE = 2147483647.0;
constexpr int HEADER_BYTES = 188;

struct Bytes {
    std::vector<uint8_t> data;
    size_t size() const { return data.size(); }
    void u8(int v) { data.push_back(uint8_t(v)); }
    void i16(int v) {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void i32(int64_t v) {
        for (int i = 0; i < 4; ++i) u8(int((v >> (8 * i)) & 0xFF));
    }
    void put32(size_t at, int64_t v) {
        for (int i = 0; i < 4; ++i) data[at + size_t(i)] = uint8_t((v >> (8 * i)) & 0xFF);
    }
    void put16(size_t at, int v) {
        data[at] = uint8_t(v & 0xFF);
        data[at + 1] = uint8_t((v >> 8) & 0xFF);
    }
};

// A coordinate in world units as unrotated objects hold it: a 16 ft step and a 1/4 ft step.
std::pair<int, int> compact(int32_t world) {
    const int coarse = std::clamp(int(std::lround(world / 4096.0)) + 32, 0, 64);
    const int fine = std::clamp(int(std::lround((world - (coarse - 32) * 4096) / 64.0)) + 32, 0, 64);
    return {coarse, fine};
}

void put_point(Bytes& out, const Point& p, bool unrotated) {
    const double axes[3] = {p.x, p.y, p.z};
    if (!unrotated) {
        for (double a : axes) out.i16(int(a));
        return;
    }
    std::pair<int, int> c[3];
    for (int i = 0; i < 3; ++i) c[i] = compact(int32_t(axes[i]) * WORLD_UNITS_PER_STEP);
    for (int i = 0; i < 3; ++i) out.u8(c[i].first);
    for (int i = 0; i < 3; ++i) out.u8(c[i].second);
}

using Normal = std::tuple<int, int, int>;

Normal normal_bytes(const Point& n) {
    auto c = [](double v) { return std::clamp(int(std::lround(v * 127)), -127, 127); };
    return {c(n.x), c(n.y), c(n.z)};
}

class FaceCode {
public:
    explicit FaceCode(std::map<Normal, int>& normals) : normals(normals) {}

    void stream(const std::vector<FaceItem>& items) {
        for (const FaceItem& item : items) op(item);
        out.u8(7);
    }

    Bytes out;

private:
    void op(const FaceItem& item) {
        if (item.node) return node_op(item);
        if (!item.cases.empty()) return switch_op(item);
        if (item.sub_object >= 0) {
            out.u8(6);
            out.u8(item.sub_object);
            return;
        }
        out.u8(0);
        out.u8(item.mode);
        out.u8(int(item.vertices.size()));
        const int mode = item.mode;
        const bool two_colours = mode == 3 || mode == 12 || mode == 15;
        const bool lit = mode >= 9;
        out.u8(item.colour1);
        if (two_colours) out.u8(item.colour2);
        if (lit) out.u8(normals.at(normal_bytes(item.normal)));
        if (mode == 15) out.u8(item.texture);
        for (size_t i = 0; i < item.vertices.size(); ++i) {
            out.u8(item.vertices[i]);
            if (mode == 15) {
                out.u8(item.u[i]);
                out.u8(item.v[i]);
            }
        }
    }

    // Op 2: the polygon, then the next, first and second offsets.
    void node_op(const FaceItem& item) {
        out.u8(2);
        out.u8(int(item.vertices.size()));
        for (int v : item.vertices) out.u8(v);
        const size_t offsets = out.size();
        for (int i = 0; i < 3; ++i) out.i16(0);
        for (int k = 0; k < 2; ++k) {
            const size_t entry = offsets + 2 + 2 * size_t(k);
            out.put16(entry, int(out.size() - (entry + 2)));
            stream(item.cases[size_t(k)]);
        }
        out.put16(offsets, int(out.size() - (offsets + 2)));
    }

    // Op 5: its case table, mask + 1 offsets, follows the next offset.
    void switch_op(const FaceItem& item) {
        const int cases = int(item.cases.size());
        out.u8(5);
        out.u8(0);
        out.i32(cases - 1);
        out.u8(item.shift);
        const size_t next = out.size();
        out.i16(0);
        const size_t table = out.size();
        for (int k = 0; k < cases; ++k) out.i16(0);
        for (int k = 0; k < cases; ++k) {
            const size_t entry = table + 2 * size_t(k);
            out.put16(entry, int(out.size() - (entry + 2)));
            stream(item.cases[size_t(k)]);
        }
        out.put16(next, int(out.size() - (next + 2)));
    }

    std::map<Normal, int>& normals;
};

void collect_normals(const std::vector<FaceItem>& items, std::map<Normal, int>& normals) {
    for (const FaceItem& item : items) {
        for (const auto& c : item.cases) collect_normals(c, normals);
        if (item.sub_object < 0 && item.cases.empty() && !item.node && item.mode >= 9)
            normals.emplace(normal_bytes(item.normal), int(normals.size()));
    }
}

using Corner = std::pair<int, int>;

double turn(Corner o, Corner a, Corner b) {
    return double(a.first - o.first) * (b.second - o.second) - double(a.second - o.second) * (b.first - o.first);
}

// The vertices' convex hull in the ground plane, clockwise seen from above: the footprint the plan
// map fills. Collinear corners are left out, so a box stands as its four corners; points all in a
// line give none.
std::vector<Corner> footprint(const std::vector<Point>& vertices) {
    std::vector<Corner> points;
    for (const Point& v : vertices) points.push_back({int(v.x), int(v.y)});
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    std::vector<Corner> hull(2 * points.size());
    size_t k = 0;
    // The lower chain left to right, then the upper chain back: counter-clockwise.
    for (size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && turn(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
        hull[k++] = points[i];
    }
    for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && turn(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    if (hull.size() < 3) return {};
    std::reverse(hull.begin(), hull.end());
    return hull;
}

// Lists follow their header; each list field holds its offset from the header.
void write_object(Bytes& out, const ObjectEntry& entry) {
    const Model& model = *entry.model;
    const Mesh& mesh = model.mesh;
    const size_t header = out.size();
    out.data.resize(header + HEADER_BYTES, 0);

    Point lo{0, 0, 0}, hi{0, 0, 0};
    double radius = 0;
    for (size_t i = 0; i < mesh.vertices.size(); ++i) {
        const Point& v = mesh.vertices[i];
        if (i == 0) lo = hi = v;
        lo = {std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z)};
        hi = {std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z)};
        radius = std::max(radius, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
    }
    // A part that only carries others is bounded by the places of its parts.
    if (mesh.vertices.empty()) {
        constexpr double REACH = 4 * 16;
        for (size_t i = 0; i < model.parts.size(); ++i) {
            const Point at = model.parts[i].at * 16;
            if (i == 0) lo = hi = at;
            lo = {std::min(lo.x, at.x - REACH), std::min(lo.y, at.y - REACH), std::min(lo.z, at.z - REACH)};
            hi = {std::max(hi.x, at.x + REACH), std::max(hi.y, at.y + REACH), std::max(hi.z, at.z + REACH)};
        }
    }
    const int32_t words[11] = {model.unrotated ? 1 : 0,
                               entry.lod_distance < 0 ? -1 : entry.lod_distance * 256,
                               entry.lod_next,
                               int32_t(lo.x) * WORLD_UNITS_PER_STEP,
                               int32_t(hi.x) * WORLD_UNITS_PER_STEP,
                               int32_t(lo.y) * WORLD_UNITS_PER_STEP,
                               int32_t(hi.y) * WORLD_UNITS_PER_STEP,
                               int32_t(lo.z) * WORLD_UNITS_PER_STEP,
                               int32_t(hi.z) * WORLD_UNITS_PER_STEP,
                               int32_t(radius) * WORLD_UNITS_PER_STEP,
                               std::max(0, int32_t(hi.z)) * WORLD_UNITS_PER_STEP};
    for (int i = 0; i < 11; ++i) out.put32(header + 4 * size_t(i), words[i]);
    auto field = [&](int at) { out.put32(header + size_t(at), int64_t(out.size() - header)); };

    if (!model.parts.empty()) {
        field(44);
        out.i32(int64_t(model.parts.size()));
        for (const SubPlace& part : model.parts) {
            out.i32(part.type);
            out.i32(std::lround(part.at.x * 256));
            out.i32(std::lround(part.at.y * 256));
            out.i32(std::lround(part.at.z * 256));
            const double h = part.heading * std::numbers::pi / 180;
            const double rows[9] = {std::cos(h), -std::sin(h), 0, std::sin(h), std::cos(h), 0, 0, 0, 1};
            for (double r : rows) out.i32(std::lround(r * FIXED_ONE));
        }
    }
    if (!mesh.items.empty()) {
        field(48);
        for (int i = 0; i < 8; ++i)
            put_point(out, {(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z}, model.unrotated);
    }
    if (!mesh.vertices.empty()) {
        field(52);
        out.i16(int(mesh.vertices.size()));
        for (const Point& v : mesh.vertices) put_point(out, v, model.unrotated);
    }
    std::map<Normal, int> normals;
    collect_normals(mesh.items, normals);
    if (!normals.empty()) {
        field(56);
        out.i16(int(normals.size()));
        out.i16(int(normals.size()));
        std::vector<Normal> ordered(normals.size());
        for (const auto& [n, index] : normals) ordered[size_t(index)] = n;
        for (const auto& [x, y, z] : ordered) {
            out.u8(x);
            out.u8(y);
            out.u8(z);
        }
    }
    if (!mesh.items.empty()) {
        field(60);
        FaceCode code(normals);
        code.stream(mesh.items);
        out.data.insert(out.data.end(), code.out.data.begin(), code.out.data.end());
    }
    if (!mesh.vertices.empty()) {
        field(64);
        // Something standing edge-on from above, a flag or a wall of one plate, covers no area.
        const std::vector<Corner> corners = footprint(mesh.vertices);
        out.i16(corners.empty() ? 0 : 1);
        if (!corners.empty()) out.i16(int(corners.size()));
        for (const auto& [x, y] : corners) {
            out.i16(x);
            out.i16(y);
        }
    }
    if (model.unrotated && !normals.empty()) {
        field(68);
        for (size_t i = 0; i < normals.size(); ++i) out.i32(0);
    }
    out.data[header + 152] = model.flags;
    out.put32(header + 172, model.damage_radius);
    out.put32(header + 176, model.destroyed_type);
    out.put32(header + 184, model.gameplay_flags);
}

}  // namespace

std::vector<uint8_t> encode_object_file(const std::vector<ObjectEntry>& entries,
                                        const std::vector<std::pair<int32_t, int32_t>>& shared, int count) {
    Bytes out;
    out.i32(count);
    for (int i = 0; i < count; ++i) out.i32(0);
    for (const ObjectEntry& entry : entries) {
        out.put32(4 + 4 * size_t(entry.number), int64_t(out.size()));
        write_object(out, entry);
    }
    for (const auto& [number, same_as] : shared) {
        const size_t from = 4 + 4 * size_t(same_as);
        out.put32(4 + 4 * size_t(number), int64_t(out.data[from] | out.data[from + 1] << 8 | out.data[from + 2] << 16 |
                                                     uint32_t(out.data[from + 3]) << 24));
    }
    return out.data;
}

}  // namespace vyr::vyrgen
