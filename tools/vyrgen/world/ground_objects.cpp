#include "tools/vyrgen/world/ground_objects.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "library/maths/units.h"
#include "tools/vyrgen/noise.h"
#include "tools/vyrgen/war_zones.h"
#include "tools/vyrgen/world/theatre.h"

namespace vyr::vyrgen {

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr int TILES = 64;
constexpr int TILE_SHIFT = 22;
constexpr double BIN = 0.125;  // posts: the cells of the spacing check

enum Zone { ISRAEL, KOREA, CYPRUS, AFGHANISTAN, NEVADA };

// The object numbers a theatre builds its towns from.
struct TownStyle {
    std::vector<uint16_t> centre;   // blocks of the town centre
    std::vector<uint16_t> tall;     // offices, hotels, towers, a mosque
    std::vector<uint16_t> suburb;   // houses and small buildings
    std::vector<uint16_t> trees;
};

const std::vector<uint16_t> CITY_BLOCKS = {350, 351, 352, 353, 354, 355, 356, 357, 358, 359,
                                           360, 361, 362, 363, 364, 365, 366, 367, 368, 369};
const std::vector<uint16_t> GENERIC = {156, 157, 158, 159, 160, 161, 162, 163, 164, 165, 166, 167, 168, 185, 186, 187, 188};
const std::vector<uint16_t> ARABIC = {153, 154, 155};
const std::vector<uint16_t> AFGHAN_HOUSES = {680, 681, 682, 696, 708, 710, 712, 714, 716, 718, 720};
const std::vector<uint16_t> INDUSTRY = {881, 882, 883, 884, 885, 886, 887, 888, 889, 192, 192};

TownStyle town_style(int zone) {
    auto join = [](std::vector<uint16_t> a, const std::vector<uint16_t>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    switch (zone) {
    case ISRAEL: return {join(CITY_BLOCKS, GENERIC), {121, 370, 115}, join(join({151, 151, 151}, GENERIC), ARABIC), {13, 144, 25}};
    case KOREA: return {join(CITY_BLOCKS, GENERIC), {16, 408, 412, 121}, join({151, 151, 151, 134, 134}, GENERIC), {19, 141, 13}};
    case CYPRUS: return {join(GENERIC, ARABIC), {115, 121}, join({151, 151, 151, 60}, ARABIC), {13, 144, 19}};
    case AFGHANISTAN: return {join({60, 134}, ARABIC), {678, 679}, AFGHAN_HOUSES, {25, 28, 144}};
    default: return {join(CITY_BLOCKS, GENERIC), {115, 370, 121}, join({151, 151, 151, 151, 116}, GENERIC), {25, 28, 102, 144}};
    }
}

double posts(double feet) { return feet / FEET_PER_POST; }
Point unit(double degrees) { return {std::sin(degrees * PI / 180), std::cos(degrees * PI / 180)}; }
double bearing(Point d) { return std::atan2(d.x, d.y) * 180 / PI; }
uint32_t binary_angle(double degrees) { return uint32_t(int64_t(std::lround(degrees / 360 * 4294967296.0))); }

// Places objects where they may stand: on flat dry cells, off every route and runway, apart from
// one another.
class Placer {
public:
    Placer(const TheatreLayout& layout, uint32_t seed) : layout_(layout), seed_(seed) {
        for (const auto* routes : {&layout.roads, &layout.railways, &layout.rivers})
            for (const Route& route : *routes) keep_off_.push_back(route);
        for (const Airfield& a : layout.airfields) {
            Point first, second;
            runway_ends(a, first, second);
            keep_off_.push_back({{first, second}, a.runway_width});
            for (const Route& taxiway : a.taxiways) keep_off_.push_back(taxiway);
        }
    }

    // 0..1, a new draw each call.
    double draw() { return (mix_bits(seed_ += 0x9E3779B9u) % 100000) / 100000.0; }
    template <typename T>
    T pick(const std::vector<T>& from) { return from[size_t(draw() * double(from.size())) % from.size()]; }

    // Places `type` at `p` when `room` feet around it are free; true when placed.
    bool put(uint16_t type, Point p, double room, double heading = 0) {
        if (!free(p, posts(room))) return false;
        keep(type, p, posts(room), heading);
        return true;
    }
    // Places it whatever lies there: bridges and marks on the routes themselves.
    void force(uint16_t type, Point p, double room, double heading = 0) {
        if (inside(p, 0)) keep(type, p, posts(room), heading);
    }
    // Keeps others `room` feet off a point without placing anything there.
    void reserve(Point p, double room) { spots_[bin(p)].push_back({p, posts(room)}); }

    bool near_placed(Point p, double feet) const { return crowded(p, posts(feet)); }
    const TheatreLayout& layout() const { return layout_; }

    std::vector<GroundObjectPlace> placed;

private:
    struct Spot {
        Point p;
        double room;
    };

    static bool inside(Point p, double margin) {
        return p.x >= margin && p.y >= margin && p.x < CELLS - margin && p.y < CELLS - margin;
    }
    bool flat_dry(Point p) const {
        return inside(p, 0) && layout_.is_flat(int(p.x), int(p.y)) && !layout_.is_water(p);
    }
    bool free(Point p, double room) const {
        if (!inside(p, room + 0.01)) return false;
        for (Point d : {Point{0, 0}, Point{room, 0}, Point{-room, 0}, Point{0, room}, Point{0, -room}})
            if (!flat_dry(p + d)) return false;
        for (const Route& route : keep_off_)
            if (distance_to_line(p, route.line) < route.width / 2 + room + posts(15)) return false;
        return !crowded(p, room);
    }
    bool crowded(Point p, double room) const {
        const auto [bx, by] = bin(p);
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy) {
                auto found = spots_.find({bx + dx, by + dy});
                if (found == spots_.end()) continue;
                for (const Spot& s : found->second)
                    if (distance(s.p, p) < s.room + room) return true;
            }
        return false;
    }
    void keep(uint16_t type, Point p, double room, double heading) {
        placed.push_back({type, world_units(p.x), world_units(p.y), binary_angle(heading)});
        spots_[bin(p)].push_back({p, room});
    }
    static std::pair<int, int> bin(Point p) { return {int(std::floor(p.x / BIN)), int(std::floor(p.y / BIN))}; }

    const TheatreLayout& layout_;
    uint32_t seed_;
    std::vector<Route> keep_off_;
    std::map<std::pair<int, int>, std::vector<Spot>> spots_;
};

// Streets of road pieces every 1200 ft each way across the centre, blocks of buildings between
// them, taller ones in the middle, houses and trees thinning out towards the edge, and an
// industrial estate on one side of the larger towns.
void build_town(Placer& placer, const Town& town, const TownStyle& style) {
    const double radius = town.radius * FEET_PER_POST;
    const double centre_radius = std::clamp(0.2 * radius, 1000.0, 2000.0);
    const double edge = std::clamp(0.45 * radius, centre_radius + 800, 4500.0);
    const Point c = town.centre;
    constexpr double STREETS = 1200, PIECE = 80;
    for (double k = -std::floor(centre_radius / STREETS) * STREETS; k <= centre_radius; k += STREETS) {
        const double half = std::sqrt(std::max(0.0, centre_radius * centre_radius - k * k));
        for (double t = -half; t <= half; t += PIECE) {
            placer.put(127, c + Point{posts(k), posts(t)}, 6);
            placer.put(125, c + Point{posts(t), posts(k)}, 6);
            placer.reserve(c + Point{posts(k), posts(t)}, 30);
            placer.reserve(c + Point{posts(t), posts(k)}, 30);
        }
    }
    bool tall_placed = false;
    for (double y = -edge; y <= edge; y += 200)
        for (double x = -edge; x <= edge; x += 200) {
            const double d = std::hypot(x, y);
            const Point p = c + Point{posts(x + 40 * (placer.draw() - 0.5)), posts(y + 40 * (placer.draw() - 0.5))};
            if (d < centre_radius) {
                const bool middle = d < 0.45 * centre_radius;
                const bool tall = middle && (placer.draw() < 0.25 || !tall_placed);
                if (placer.put(tall ? placer.pick(style.tall) : placer.pick(style.centre), p, tall ? 60 : 45)) tall_placed |= tall;
            } else if (d < edge) {
                const double thinning = 1 - (d - centre_radius) / (edge - centre_radius);
                const double roll = placer.draw();
                if (roll < 0.4 * thinning) placer.put(placer.pick(style.suburb), p, 40);
                else if (roll > 0.93) placer.put(placer.pick(style.trees), p, 15);
            }
        }
    if (town.radius < 2) return;
    const Point out = unit(360 * placer.draw());
    const Point estate = c + out * posts(edge + 700);
    for (double y = -500; y <= 500; y += 250)
        for (double x = -500; x <= 500; x += 250) {
            const Point p = estate + Point{posts(x), posts(y)};
            const double roll = placer.draw();
            if (roll < 0.55) placer.put(placer.pick(INDUSTRY), p, 60);
            else if (roll < 0.75) placer.put(roll < 0.65 ? 108 : 114, p, 70);
            else if (roll < 0.85) placer.put(119, p, 20);
        }
    if (town.radius < 3.5) return;
    const Point plant = estate + out * posts(1300);
    placer.put(446, plant, 60);
    placer.put(4, plant + Point{posts(250), posts(150)}, 80);
    placer.put(4, plant + Point{posts(250), posts(-150)}, 80);
    placer.put(445, plant + Point{posts(-150), 0}, 15);
    placer.put(890, plant + Point{posts(-150), posts(250)}, 60);
}

// A dozen houses and some trees beside the road at `p`.
void build_village(Placer& placer, Point p, const TownStyle& style) {
    for (double y = -700; y <= 700; y += 140)
        for (double x = -700; x <= 700; x += 140) {
            if (std::hypot(x, y) > 700) continue;
            const Point at = p + Point{posts(x + 30 * placer.draw()), posts(y + 30 * placer.draw())};
            const double roll = placer.draw();
            if (roll < 0.35) placer.put(placer.pick(style.suburb), at, 35);
            else if (roll < 0.5) placer.put(placer.pick(style.trees), at, 15);
        }
}

void build_villages(Placer& placer, const TheatreLayout& layout, const TownStyle& style) {
    for (const Route& road : layout.roads) {
        double travelled = 0, next = 9;
        int side = 1;
        for (size_t k = 1; k < road.line.size(); ++k) {
            const Point a = road.line[k - 1], b = road.line[k];
            const double length = distance(a, b);
            while (travelled + length >= next) {
                const Point at = a + (b - a) * ((next - travelled) / length);
                next += 11;
                bool clear = true;
                for (const Town& town : layout.towns) clear = clear && distance(at, town.centre) > town.radius + 2;
                for (const Airfield& field : layout.airfields) clear = clear && distance(at, field.centre) > 3;
                if (!clear) continue;
                const Point across = Point{(b - a).y, -(b - a).x} * (1 / length);
                build_village(placer, at + across * (side * posts(900)), style);
                side = -side;
            }
            travelled += length;
        }
    }
}

// Hangars facing the runway on the apron, the tower and radar beside them, barracks, fuel and
// munitions further out, shelters with blast walls at both ends, floodlights, threshold stripes
// and approach lights.
void build_airfield(Placer& placer, const Airfield& field, const TownStyle& style) {
    const double runway = double(field.heading) / 4294967296.0 * 360;
    const Point along = unit(runway), right = unit(runway + 90);
    const double facing_runway = runway - 90;
    auto at = [&](Point from, double ahead, double out) { return from + along * posts(ahead) + right * posts(out); };
    const Point apron = field.apron;
    const uint16_t hangars[] = {264, 267, 476, 904};
    for (int k = 0; k < 4; ++k) placer.put(hangars[k], at(apron, (k - 1.5) * 240, 150), 95, facing_runway);
    placer.put(270, at(apron, -700, -100), 20);
    placer.put(328, at(apron, -950, 250), 15);
    placer.put(31, at(apron, 750, 450), 15);
    for (int k = 0; k < 3; ++k) placer.put(k == 1 ? 273 : 38, at(apron, 900 + 160 * k, 600), 55, runway);
    for (int k = 0; k < 3; ++k) placer.put(252, at(apron, 700 + 70 * k, 250), 20);
    placer.put(1, at(apron, -1300, 650), 25);
    placer.put(57, at(apron, -1400, 850), 25);
    placer.put(57, at(apron, -1250, 850), 25);
    placer.put(243, at(apron, -1500, 600), 30, runway);
    for (double a : {-650.0, 650.0})
        for (double o : {-150.0, 400.0}) placer.put(387, at(apron, a, o), 8);
    Point first, second;
    runway_ends(field, first, second);
    const uint16_t shelters[] = {43, 49, 392};
    for (int end = 0; end < 2; ++end) {
        const Point base = end == 0 ? first : second;
        const double inward = end == 0 ? 1 : -1;
        for (int k = 0; k < 3; ++k) {
            const Point spot = at(base, inward * (600 + 260 * k), 1350);
            if (placer.put(shelters[k], spot, 60, facing_runway)) placer.put(906, at(spot, inward * 130, 0), 10, runway);
        }
        placer.put(end == 0 ? 395 : 276, at(base, inward * 900, 2000), 45);
        placer.put(18, at(base, inward * 1150, 2000), 30);
        placer.force(295, at(base, inward * 150, 0), 10, runway);
        placer.force(1203, at(base, -inward * 80, 0), 10, end == 0 ? runway : runway + 180);
        // The landing aid's beacon at the touchdown point, facing the way aircraft land there.
        placer.force(1100, at(base, inward * 500, 0), 10, end == 0 ? runway : runway + 180);
    }
    for (int k = 0; k < 40; ++k) {
        const Point p = at(field.centre, (placer.draw() - 0.5) * field.runway_length * FEET_PER_POST, -(900 + 600 * placer.draw()));
        placer.put(placer.pick(style.trees), p, 15);
    }
}

// An early warning radar, a command post, bunkers, barracks, tents and earthworks.
void build_defence_area(Placer& placer, const DefenceArea& area) {
    const Point c = area.centre;
    auto at = [&](double x, double y) { return c + Point{posts(x), posts(y)}; };
    placer.put(area.radius > 1.3 ? 46 : 111, at(0, 300), 30);
    placer.put(105, at(-200, -100), 40);
    placer.put(395, at(350, -250), 40);
    for (int k = 0; k < 2; ++k) placer.put(38, at(-300 + 150 * k, -400), 55);
    for (int k = 0; k < 3; ++k) placer.put(18, at(200 + 120 * k, 100), 30);
    for (int k = 0; k < 4; ++k) placer.put(k % 2 ? 334 : 447, at(-450 + 60 * k, 150), 20);
    for (int k = 0; k < 6; ++k) {
        const double a = 60.0 * k;
        placer.put(214, c + unit(a) * posts(650), 35, a + 90);
    }
}

bool crossing(Point a, Point b, Point c, Point d, Point& at) {
    const Point r = b - a, s = d - c;
    const double denominator = r.x * s.y - r.y * s.x;
    if (std::fabs(denominator) < 1e-12) return false;
    const Point q = c - a;
    const double t = (q.x * s.y - q.y * s.x) / denominator, u = (q.x * r.y - q.y * r.x) / denominator;
    if (t < 0 || t > 1 || u < 0 || u > 1) return false;
    at = a + r * t;
    return true;
}

// A bridge (with ramps up to it) where each `upper` route crosses a `lower` one, along the upper.
void build_bridges(Placer& placer, const std::vector<Route>& upper, const std::vector<Route>& lower, uint16_t bridge,
                   uint16_t ramp) {
    for (const Route& top : upper)
        for (size_t i = 1; i < top.line.size(); ++i)
            for (const Route& under : lower)
                for (size_t j = 1; j < under.line.size(); ++j) {
                    Point x;
                    if (!crossing(top.line[i - 1], top.line[i], under.line[j - 1], under.line[j], x)) continue;
                    if (placer.near_placed(x, 300)) continue;
                    const Point d = (top.line[i] - top.line[i - 1]) * (1 / distance(top.line[i], top.line[i - 1]));
                    const double heading = bearing(d);
                    placer.force(bridge, x, 200, heading);
                    if (!ramp) continue;
                    placer.force(ramp, x - d * posts(260), 40, heading);
                    placer.force(ramp, x + d * posts(260), 40, heading + 180);
                }
}

}  // namespace

std::vector<GroundObjectPlace> place_ground_objects(int zone) {
    const TheatreLayout& layout = theatre_layout(zone);
    const TownStyle style = town_style(zone);
    Placer placer(layout, mix_bits(uint32_t(zone + 1) * 0x2545F491u));
    build_bridges(placer, layout.roads, layout.rivers, 215, 442);
    build_bridges(placer, layout.railways, layout.rivers, 480, 482);
    build_bridges(placer, layout.railways, layout.roads, 443, 0);
    for (const Airfield& field : layout.airfields) build_airfield(placer, field, style);
    for (const DefenceArea& area : layout.defence_areas) build_defence_area(placer, area);
    for (const Town& town : layout.towns) build_town(placer, town, style);
    build_villages(placer, layout, style);
    return placer.placed;
}

std::vector<uint8_t> encode_ground_objects(const std::vector<GroundObjectPlace>& places) {
    std::vector<std::vector<const GroundObjectPlace*>> tiles(TILES * TILES);
    for (const GroundObjectPlace& p : places) tiles[size_t((p.x >> TILE_SHIFT) * TILES + (p.y >> TILE_SHIFT))].push_back(&p);
    std::vector<uint8_t> out(4 * TILES * TILES, 0);
    auto put16 = [&out](uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    constexpr int32_t IN_TILE = (1 << TILE_SHIFT) - 1;
    for (size_t tile = 0; tile < tiles.size(); ++tile) {
        if (tiles[tile].empty()) continue;
        const uint32_t at = uint32_t(out.size());
        for (int i = 0; i < 4; ++i) out[4 * tile + size_t(i)] = uint8_t(at >> (8 * i));
        put16(uint32_t(tiles[tile].size()));
        for (const GroundObjectPlace* p : tiles[tile]) {
            put16(p->type);
            put16(uint32_t((p->x & IN_TILE) / FOOT));
            put16(uint32_t((p->y & IN_TILE) / FOOT));
            put16(p->heading >> 16);
            put16(0);  // state mask
            put16(0);  // flags: sides come from the gameplay grid
        }
    }
    return out;
}

std::vector<DataFile> ground_object_files() {
    std::vector<DataFile> files;
    for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone)
        files.push_back({std::string(WAR_ZONES[zone].directory) + "/gndobjs.bin",
                         encode_ground_objects(place_ground_objects(int(zone)))});
    return files;
}

}  // namespace vyr::vyrgen
