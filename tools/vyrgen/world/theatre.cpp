#include "tools/vyrgen/world/theatre.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>

#include "tools/vyrgen/noise.h"
#include "tools/vyrgen/war_zones.h"
#include "tools/vyrgen/world/designs.h"

namespace vyr::vyrgen {

namespace {

constexpr double HEIGHT_CEILING = 15500;  // feet: the tile visibility box ends at 16,384
constexpr double CELL_REACH = 0.75;  // from a cell's centre past its corners, in posts
constexpr double PI = 3.14159265358979323846;

double smoothstep(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3 - 2 * x);
}

Point cell_centre(int i, int j) { return {i + 0.5, j + 0.5}; }

// Chamfer distances (posts) over an n x n grid from the entries that are set.
std::vector<double> distance_from(const std::vector<bool>& source, int n) {
    std::vector<double> d(source.size());
    for (size_t k = 0; k < d.size(); ++k) d[k] = source[k] ? 0 : 1e9;
    const double straight = 1, diagonal = std::sqrt(2.0);
    auto relax = [&](int i, int j, int di, int dj, double step) {
        const int a = i + di, b = j + dj;
        if (a >= 0 && a < n && b >= 0 && b < n) d[size_t(i) * n + j] = std::min(d[size_t(i) * n + j], d[size_t(a) * n + b] + step);
    };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            relax(i, j, -1, 0, straight), relax(i, j, 0, -1, straight);
            relax(i, j, -1, -1, diagonal), relax(i, j, -1, 1, diagonal);
        }
    for (int i = n - 1; i >= 0; --i)
        for (int j = n - 1; j >= 0; --j) {
            relax(i, j, 1, 0, straight), relax(i, j, 0, 1, straight);
            relax(i, j, 1, 1, diagonal), relax(i, j, 1, -1, diagonal);
        }
    return d;
}

class Builder {
public:
    Builder(const Design& design, TheatreLayout& layout) : design_(design), out_(layout) {}

    void build() {
        shape_outlines();
        out_.flat.assign(size_t(CELLS) * CELLS, false);
        out_.under_feature.assign(size_t(CELLS) * CELLS, false);
        out_.ground.assign(size_t(CELLS) * CELLS, Ground::GRASS);
        mark_water();
        for (const auto* routes : {&out_.rivers, &out_.roads, &out_.railways})
            for (const Route& route : *routes) mark_route(route, true);
        for (const Airfield& airfield : out_.airfields) mark_airfield(airfield);
        for (const Town& town : out_.towns) mark_disc(town.centre, town.radius, Ground::TOWN);
        for (const DefenceArea& area : out_.defence_areas) mark_disc(area.centre, area.radius, std::nullopt);
        raise_relief();
        clothe();
    }

private:
    uint32_t seed() const { return mix_bits(uint32_t(out_.zone + 1) * 0x51ED270Bu); }

    void shape_outlines() {
        out_.has_sea = design_.has_sea;
        uint32_t salt = seed();
        for (const auto& outline : design_.land) out_.land.push_back(roughen(outline, true, 5, 0.16, ++salt));
        for (const auto& outline : design_.lakes) out_.lakes.push_back(roughen(outline, true, 4, 0.14, ++salt));
        auto wind = [&](const std::vector<Route>& coarse, std::vector<Route>& fine, int levels, double roughness) {
            for (const Route& route : coarse) fine.push_back({roughen(route.line, false, levels, roughness, ++salt), route.width});
        };
        wind(design_.rivers, out_.rivers, 4, 0.14);
        wind(design_.roads, out_.roads, 2, 0.05);
        wind(design_.railways, out_.railways, 1, 0.02);
        out_.towns = design_.towns;
        out_.airfields = design_.airfields;
        out_.defence_areas = design_.defence_areas;
    }

    void set_flat(int i, int j, bool feature) {
        out_.flat[size_t(i) * CELLS + j] = true;
        if (feature) out_.under_feature[size_t(i) * CELLS + j] = true;
    }
    void set_ground(int i, int j, Ground ground) { out_.ground[size_t(i) * CELLS + j] = ground; }

    // A cell any part of which is water lies under the sea or lake feature.
    void mark_water() {
        for (int i = 0; i < CELLS; ++i)
            for (int j = 0; j < CELLS; ++j) {
                const Point centre = cell_centre(i, j);
                bool wet = out_.is_water(centre);
                for (const Point corner : {Point{0, 0}, Point{1, 0}, Point{0, 1}, Point{1, 1}})
                    wet = wet || out_.is_water(Point{double(i), double(j)} + corner);
                if (wet) set_flat(i, j, true);
                if (!out_.is_water(centre)) continue;
                bool lake = false;
                for (const auto& outline : out_.lakes) lake = lake || inside_polygon(centre, outline);
                set_ground(i, j, lake ? Ground::LAKE : Ground::SEA);
            }
    }

    template <class Visit>
    void for_cells_near(Point a, Point b, double reach, Visit visit) {
        const int i0 = std::max(0, int(std::floor(std::min(a.x, b.x) - reach)));
        const int i1 = std::min(CELLS - 1, int(std::floor(std::max(a.x, b.x) + reach)));
        const int j0 = std::max(0, int(std::floor(std::min(a.y, b.y) - reach)));
        const int j1 = std::min(CELLS - 1, int(std::floor(std::max(a.y, b.y) + reach)));
        for (int i = i0; i <= i1; ++i)
            for (int j = j0; j <= j1; ++j)
                if (distance_to_segment(cell_centre(i, j), a, b) <= reach) visit(i, j);
    }

    void mark_route(const Route& route, bool feature) {
        for (size_t k = 1; k < route.line.size(); ++k)
            for_cells_near(route.line[k - 1], route.line[k], route.width / 2 + CELL_REACH,
                           [&](int i, int j) { set_flat(i, j, feature); });
    }

    void mark_disc(Point centre, double radius, std::optional<Ground> ground) {
        for_cells_near(centre, centre, radius + CELL_REACH, [&](int i, int j) {
            set_flat(i, j, false);
            if (ground && distance(cell_centre(i, j), centre) <= radius) set_ground(i, j, *ground);
        });
    }

    // The runway and taxiways are features; the field around them, with its apron, is flat grass.
    void mark_airfield(const Airfield& airfield) {
        Point a, b;
        runway_ends(airfield, a, b);
        for_cells_near(a, b, 1.0 + CELL_REACH, [&](int i, int j) {
            set_flat(i, j, false);
            set_ground(i, j, Ground::AIRFIELD);
        });
        mark_disc(airfield.apron, 0.8, Ground::AIRFIELD);
        mark_route({{a, b}, airfield.runway_width}, true);
        for (const Route& taxiway : airfield.taxiways) mark_route(taxiway, true);
    }

    double relief(Point p) const {
        const uint32_t salt = seed();
        double crest = 0;
        for (const Ridge& ridge : design_.ridges) {
            const double d = distance_to_line(p, ridge.crest);
            if (d < ridge.reach) crest = std::max(crest, ridge.height * smoothstep(1 - d / ridge.reach));
        }
        // Peaks and gullies along the chains, rolling ground elsewhere.
        const double sharp = 1 - std::fabs(2 * fractal_noise(p.x, p.y, CELLS, 16, 3, salt + 1) - 1);
        const double broad = fractal_noise(p.x, p.y, CELLS, 6, 4, salt + 2);
        const double rolling = std::max(0.0, broad - 0.3) / 0.7;
        return crest * (0.45 + 0.75 * sharp * sharp + 0.2 * broad) + design_.hills * rolling;
    }

    void raise_relief() {
        std::vector<bool> flat_post(size_t(POSTS) * POSTS, false);
        for (int i = 0; i < CELLS; ++i)
            for (int j = 0; j < CELLS; ++j)
                if (out_.is_flat(i, j))
                    for (int di = 0; di <= 1; ++di)
                        for (int dj = 0; dj <= 1; ++dj) flat_post[size_t(i + di) * POSTS + j + dj] = true;
        const std::vector<double> reach = distance_from(flat_post, POSTS);
        out_.heights.assign(size_t(POSTS) * POSTS, 0);
        for (int i = 0; i < POSTS; ++i)
            for (int j = 0; j < POSTS; ++j) {
                const size_t k = size_t(i) * POSTS + j;
                if (flat_post[k]) continue;
                const double h = relief({double(i), double(j)}) * smoothstep(reach[k] / design_.rise);
                out_.heights[k] = uint16_t(std::lround(std::clamp(h, 0.0, HEIGHT_CEILING)));
            }
    }

    void clothe() {
        std::vector<bool> water(size_t(CELLS) * CELLS);
        for (int i = 0; i < CELLS; ++i)
            for (int j = 0; j < CELLS; ++j) {
                const Ground g = out_.ground_at(i, j);
                water[size_t(i) * CELLS + j] = g == Ground::SEA || g == Ground::LAKE;
            }
        const std::vector<double> water_distance = distance_from(water, CELLS);
        for (int i = 0; i < CELLS; ++i)
            for (int j = 0; j < CELLS; ++j) {
                const size_t k = size_t(i) * CELLS + j;
                const Ground g = out_.ground[k];
                if (water[k] || g == Ground::TOWN || g == Ground::AIRFIELD) continue;
                const std::array<double, 4> h = {double(out_.height(i, j)), double(out_.height(i + 1, j)),
                                                 double(out_.height(i, j + 1)), double(out_.height(i + 1, j + 1))};
                const auto [low, high] = std::minmax_element(h.begin(), h.end());
                const Point centre = cell_centre(i, j);
                const CellView view{centre, *high, (*high - *low) / FEET_PER_POST, water_distance[k],
                                    fractal_noise(centre.x, centre.y, CELLS, 32, 2, seed() + 3),
                                    fractal_noise(centre.x, centre.y, CELLS, 8, 2, seed() + 4)};
                out_.ground[k] = design_.ground(view);
            }
    }

    const Design& design_;
    TheatreLayout& out_;
};

}  // namespace

bool TheatreLayout::is_water(Point p) const {
    for (const auto& outline : lakes)
        if (inside_polygon(p, outline)) return true;
    if (!has_sea) return false;
    for (const auto& outline : land)
        if (inside_polygon(p, outline)) return false;
    return true;
}

void runway_ends(const Airfield& airfield, Point& first, Point& second) {
    const double angle = double(airfield.heading) / 4294967296.0 * 2 * PI;
    const Point half = Point{std::sin(angle), std::cos(angle)} * (airfield.runway_length / 2);
    first = airfield.centre - half;
    second = airfield.centre + half;
}

const TheatreLayout& theatre_layout(int zone) {
    static std::array<std::unique_ptr<TheatreLayout>, WAR_ZONES.size()> layouts;
    std::unique_ptr<TheatreLayout>& layout = layouts.at(size_t(zone));
    if (!layout) {
        layout = std::make_unique<TheatreLayout>();
        layout->zone = zone;
        const Design design = theatre_design(zone);
        Builder(design, *layout).build();
    }
    return *layout;
}

}  // namespace vyr::vyrgen
