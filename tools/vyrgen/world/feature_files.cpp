#include "tools/vyrgen/world/feature_files.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>

#include "tools/vyrgen/rgb_palettes.h"
#include "tools/vyrgen/war_zones.h"
#include "tools/vyrgen/world/theatre.h"

namespace vyr::vyrgen {

namespace {

constexpr int TILES = 64;
constexpr int BLOCKS = 16;
constexpr int WORLD_BLOCKS_FIRST = 6;  // the world square is far blocks 6..9
constexpr int WORLD_BLOCKS_LAST = 9;
constexpr int POSTS_PER_TILE = 4;
constexpr int MAX_VERTICES = 256;
constexpr uint8_t MODE_FLAT = 2;
constexpr uint8_t FINE_AND_FINEST = 4 | 8;
constexpr int UNITS_PER_STEP = 64;  // the finest step of a vertex
constexpr int FINE_STEPS = 64;      // finest steps in a fine step
constexpr int COARSE_STEPS = 4096;  // finest steps in a coarse step (2^18 units)
constexpr double STEPS_PER_POST = double(1 << 20) / UNITS_PER_STEP;
constexpr double FEET_PER_POST = 4096;
// Runway centre-line dashes.
constexpr double DASH_LENGTH = 150 / FEET_PER_POST, DASH_GAP = 100 / FEET_PER_POST;
constexpr double DASH_WIDTH = 12 / FEET_PER_POST, DASH_MARGIN = 500 / FEET_PER_POST;
constexpr uint8_t MARKING_COLOUR = uint8_t(STONE_RAMP.first + STONE_RAMP.count - 1);  // the lightest grey

enum Kind : uint8_t { RIVER = 1, LAKE = 2, OCEAN = 3, ROAD = 4, RAILWAY = 5, RUNWAY = 6, TAXIWAY = 7 };

uint8_t colour_of(Kind kind) {
    switch (kind) {
    case RIVER:
    case LAKE:
    case OCEAN: return uint8_t(FEATURE_WATER_COLOUR);
    case ROAD: return uint8_t(STONE_RAMP.first + 3);
    case RAILWAY: return uint8_t(STONE_RAMP.first + 1);
    case RUNWAY: return uint8_t(FEATURE_RUNWAY_COLOUR);
    case TAXIWAY: return uint8_t(STONE_RAMP.first + 4);
    }
    return 0;
}

using Polygon = std::vector<Point>;  // convex, clockwise from above, in posts

struct Shape {
    Kind kind;
    Polygon outline;
    uint8_t colour;
};

Shape make_shape(Kind kind, Polygon outline) { return {kind, std::move(outline), colour_of(kind)}; }

void put16(std::vector<uint8_t>& b, int value) {
    b.push_back(uint8_t(value));
    b.push_back(uint8_t(value >> 8));
}
void put32(std::vector<uint8_t>& b, int32_t value) {
    for (int k = 0; k < 4; ++k) b.push_back(uint8_t(uint32_t(value) >> (8 * k)));
}
void set32(std::vector<uint8_t>& b, size_t at, int32_t value) {
    for (int k = 0; k < 4; ++k) b[at + k] = uint8_t(uint32_t(value) >> (8 * k));
}

// The strip of a route segment, lengthened by half its width at each end so that the strips of
// a bending line overlap instead of leaving notches.
Polygon strip(Point a, Point b, double width) {
    const double length = distance(a, b);
    if (length == 0) return {};
    const Point along = (b - a) * (1 / length);
    const Point right = Point{along.y, -along.x} * (width / 2);
    const Point start = a - along * (width / 2), end = b + along * (width / 2);
    return {start - right, end - right, end + right, start + right};
}

// One side of the tile square keeps the part of a convex polygon on its inner side.
Polygon clip_side(const Polygon& in, int axis, double edge, bool keep_above) {
    Polygon out;
    auto coordinate = [axis](Point p) { return axis == 0 ? p.x : p.y; };
    auto inside = [&](Point p) { return keep_above ? coordinate(p) >= edge : coordinate(p) <= edge; };
    for (size_t k = 0; k < in.size(); ++k) {
        const Point a = in[k], b = in[(k + 1) % in.size()];
        if (inside(a)) out.push_back(a);
        if (inside(a) != inside(b)) out.push_back(a + (b - a) * ((edge - coordinate(a)) / (coordinate(b) - coordinate(a))));
    }
    return out;
}

Polygon clip_to_tile(Polygon p, int tx, int ty) {
    const double x0 = tx * POSTS_PER_TILE, y0 = ty * POSTS_PER_TILE;
    p = clip_side(p, 0, x0, true);
    p = clip_side(p, 0, x0 + POSTS_PER_TILE, false);
    p = clip_side(p, 1, y0, true);
    return clip_side(p, 1, y0 + POSTS_PER_TILE, false);
}

// A vertex record: coarse, fine and finest bytes of an offset from the tile's corner.
struct Vertex {
    uint8_t bytes[7];
    bool operator<(const Vertex& other) const { return std::lexicographical_compare(bytes, bytes + 7, other.bytes, other.bytes + 7); }
};

void code_axis(double posts, uint8_t& coarse, uint8_t& fine, uint8_t& finest) {
    const long steps = std::lround(posts * STEPS_PER_POST);
    const long c = std::lround(double(steps) / COARSE_STEPS);
    const long rest = steps - c * COARSE_STEPS;
    const long f = std::lround(double(rest) / FINE_STEPS);
    coarse = uint8_t(128 + c);
    fine = uint8_t(32 + f);
    finest = uint8_t(32 + rest - f * FINE_STEPS);
}

// Every vertex of a tile is written once however many polygons share it.
class TileFeature {
public:
    TileFeature(int tx, int ty) : origin_{double(tx * POSTS_PER_TILE), double(ty * POSTS_PER_TILE)} {}

    // False when the tile has no room for the polygon's new vertices.
    bool add(const Shape& shape) {
        std::vector<uint8_t> indices;
        for (const Point p : shape.outline) {
            Vertex v{};
            v.bytes[0] = FINE_AND_FINEST;
            code_axis(p.x - origin_.x, v.bytes[1], v.bytes[3], v.bytes[5]);
            code_axis(p.y - origin_.y, v.bytes[2], v.bytes[4], v.bytes[6]);
            auto [at, added] = numbers_.try_emplace(v, int(vertices_.size()));
            if (added) vertices_.push_back(v);
            if (!indices.empty() && indices.back() == at->second) continue;
            indices.push_back(uint8_t(at->second));
        }
        if (vertices_.size() > MAX_VERTICES) return false;
        while (indices.size() > 1 && indices.front() == indices.back()) indices.pop_back();
        if (indices.size() < 3) return true;
        polygons_.push_back(MODE_FLAT);
        polygons_.push_back(shape.kind);
        polygons_.push_back(uint8_t(indices.size()));
        polygons_.push_back(shape.colour);
        polygons_.insert(polygons_.end(), indices.begin(), indices.end());
        ++polygon_count_;
        return true;
    }

    bool empty() const { return polygon_count_ == 0; }

    // The entry and its lists.
    std::vector<uint8_t> write() const {
        std::vector<uint8_t> b;
        put32(b, 12);
        put32(b, 0);
        put32(b, 0);
        put16(b, int(vertices_.size()));
        for (const Vertex& v : vertices_) b.insert(b.end(), v.bytes, v.bytes + 7);
        set32(b, 4, int32_t(b.size()));
        put16(b, polygon_count_);
        b.insert(b.end(), polygons_.begin(), polygons_.end());
        return b;
    }

private:
    Point origin_;
    std::map<Vertex, int> numbers_;
    std::vector<Vertex> vertices_;
    std::vector<uint8_t> polygons_;
    int polygon_count_ = 0;
};

// Painter's order, water first; the runways come before the taxiways that meet them so that the
// ground query, which answers with the first polygon, finds the runway where the two overlap.
std::vector<Shape> shapes_of(const TheatreLayout& layout, int tx, int ty) {
    std::vector<Shape> shapes;
    // Sea and lakes cell by cell along each row, a run of one kind a rectangle.
    for (int dj = 0; dj < POSTS_PER_TILE; ++dj) {
        const int j = ty * POSTS_PER_TILE + dj;
        for (int di = 0; di < POSTS_PER_TILE;) {
            const int i = tx * POSTS_PER_TILE + di;
            const Ground g = layout.ground_at(i, j);
            int run = 1;
            while (di + run < POSTS_PER_TILE && layout.ground_at(i + run, j) == g) ++run;
            if (g == Ground::SEA || g == Ground::LAKE) {
                const double x0 = i, x1 = i + run, y0 = j, y1 = j + 1;
                shapes.push_back(make_shape(g == Ground::SEA ? OCEAN : LAKE, {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}}));
            }
            di += run;
        }
    }
    auto add_routes = [&](const std::vector<Route>& routes, Kind kind) {
        for (const Route& route : routes)
            for (size_t k = 1; k < route.line.size(); ++k)
                shapes.push_back(make_shape(kind, strip(route.line[k - 1], route.line[k], route.width)));
    };
    add_routes(layout.rivers, RIVER);
    add_routes(layout.railways, RAILWAY);
    add_routes(layout.roads, ROAD);
    for (const Airfield& airfield : layout.airfields) {
        Point a, b;
        runway_ends(airfield, a, b);
        const double length = distance(a, b);
        // The runway ends where its length does, unlike a route's strip.
        const Point inward = (b - a) * (airfield.runway_width / 2 / length);
        shapes.push_back(make_shape(RUNWAY, strip(a + inward, b - inward, airfield.runway_width)));
        // White centre-line dashes, by which a runway reads as one from the approach.
        const Point along = (b - a) * (1 / length);
        for (double at = DASH_MARGIN; at + DASH_LENGTH <= length - DASH_MARGIN; at += DASH_LENGTH + DASH_GAP)
            shapes.push_back({RUNWAY, strip(a + along * at, a + along * (at + DASH_LENGTH), DASH_WIDTH), MARKING_COLOUR});
    }
    for (const Airfield& airfield : layout.airfields) add_routes(airfield.taxiways, TAXIWAY);
    for (Shape& shape : shapes) shape.outline = clip_to_tile(shape.outline, tx, ty);
    return shapes;
}

std::pair<std::vector<uint8_t>, std::vector<uint8_t>> tile_features(const TheatreLayout& layout, const std::string& zone) {
    std::vector<std::vector<uint8_t>> entries;
    std::vector<int32_t> layer(size_t(TILES) * TILES, 0);
    for (int tx = 0; tx < TILES; ++tx)
        for (int ty = 0; ty < TILES; ++ty) {
            TileFeature feature(tx, ty);
            for (const Shape& shape : shapes_of(layout, tx, ty))
                if (!feature.add(shape))
                    throw std::runtime_error(zone + ": tile (" + std::to_string(tx) + ", " + std::to_string(ty) +
                                             ") needs more than 256 feature vertices");
            if (feature.empty()) continue;
            entries.push_back(feature.write());
            layer[size_t(tx) * TILES + ty] = int32_t(entries.size());
        }
    std::vector<uint8_t> definitions;
    put32(definitions, int32_t(entries.size()));
    definitions.resize(4 + 4 * entries.size());
    for (size_t n = 0; n < entries.size(); ++n) {
        set32(definitions, 4 + 4 * n, int32_t(definitions.size()));
        definitions.insert(definitions.end(), entries[n].begin(), entries[n].end());
    }
    std::vector<uint8_t> layer_bytes;
    for (int32_t number : layer) put32(layer_bytes, number);
    return {definitions, layer_bytes};
}

// One super feature, the sea over a whole far block, on every block outside the world square
// of a theatre with a sea.
std::pair<std::vector<uint8_t>, std::vector<uint8_t>> super_features(const TheatreLayout& layout) {
    std::vector<uint8_t> definitions;
    put32(definitions, 1);
    put32(definitions, 8);
    const size_t entry = definitions.size();
    definitions.resize(entry + 12, 0);
    set32(definitions, entry, int32_t(definitions.size() - entry));
    put16(definitions, 4);
    for (const auto& [x, y] : {std::pair{8, 8}, {8, 9}, {9, 9}, {9, 8}})
        for (int byte : {0, x, y, 128, 128}) definitions.push_back(uint8_t(byte));
    set32(definitions, entry + 4, int32_t(definitions.size() - entry));
    put16(definitions, 1);
    for (int byte : {int(MODE_FLAT), int(OCEAN), 4, int(colour_of(OCEAN)), 0, 1, 2, 3})
        definitions.push_back(uint8_t(byte));
    std::vector<uint8_t> layer_bytes;
    for (int bx = 0; bx < BLOCKS; ++bx)
        for (int by = 0; by < BLOCKS; ++by) {
            const bool world = bx >= WORLD_BLOCKS_FIRST && bx <= WORLD_BLOCKS_LAST && by >= WORLD_BLOCKS_FIRST &&
                               by <= WORLD_BLOCKS_LAST;
            put32(layer_bytes, layout.has_sea && !world ? 1 : 0);
        }
    return {definitions, layer_bytes};
}

}  // namespace

std::vector<DataFile> feature_files() {
    std::vector<DataFile> files;
    for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone) {
        const std::string directory = WAR_ZONES[zone].directory;
        const TheatreLayout& layout = theatre_layout(int(zone));
        auto [features, layer] = tile_features(layout, directory);
        auto [super, super_layer] = super_features(layout);
        files.push_back({directory + "/features.bin", std::move(features)});
        files.push_back({directory + "/feature1.lyr", std::move(layer)});
        files.push_back({directory + "/super.bin", std::move(super)});
        files.push_back({directory + "/super1.lyr", std::move(super_layer)});
    }
    return files;
}

}  // namespace vyr::vyrgen
