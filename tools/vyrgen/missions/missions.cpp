#include "tools/vyrgen/missions/missions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "library/maths/units.h"
#include "tools/vyrgen/missions/campaign_texts.h"
#include "tools/vyrgen/world/ground_objects.h"
#include "tools/vyrgen/world/theatre.h"

namespace vyr::vyrgen {

namespace {

constexpr int TILES = 64;
constexpr int TILE_SHIFT = 22;

// Waypoint types and task types as the game numbers them.
enum : int {
    DEPARTURE = 1,
    TURNING = 2,
    CAP_START = 3,
    TARGET = 4,
    RECON = 6,
    LANDING = 7,
    APPROACH = 8,
    HUMAN_TURN = 10,
    HUMAN_DEFEND = 11,
    DEPLOY = 15,
    CAP_END = 16
};
// A transport's cargo of the first soldier group, and the event its passengers wait for.
constexpr int CARGO_GROUP_1 = 1, NOTIFY_LANDED = 3;
enum : int {
    TASK_COUNTER_AIR = 3,
    TASK_STRIKE = 5,
    TASK_ESCORT_COVER = 7,
    TASK_TANK_FORMATION = 8,
    TASK_GROUND_VEHICLE = 9,
    TASK_COMBAT_AIR_PATROL = 15,
    TASK_ARTILLERY_AIR_DEFENCE = 19,
    TASK_GROUND_VEHICLE_LOOPING = 21,
};
enum : int { ALLIED = 1, ENEMY = 2 };

// Drone object numbers of the drone type table.
constexpr int PLAYER_AIRCRAFT = 606;
constexpr int ALLIED_FIGHTER = 225;
constexpr int ENEMY_FIGHTER = 228;
constexpr int ENEMY_TANK = 240;
constexpr int ALLIED_TANK = 68;
constexpr int ENEMY_APC = 99;
constexpr int ENEMY_AIR_DEFENCE = 211;  // an anti-aircraft gun vehicle: the drone war fights class 4 by air-defence tasks
constexpr int ALLIED_HELICOPTER = 103;
// Formations of soldiers, and their leaders.
constexpr int SQUAD = 90, STRETCHER_PARTY = 141, MANNED_DSHK = 133;
constexpr int SOLDIER = 916, DSHK = 852;
constexpr int DIAMOND_TANK = 93;
constexpr int TRANSPORT_HELICOPTER = 307;
constexpr int LOCOMOTIVE = 523;
constexpr int TRUCK = 54;
constexpr int FRIGATE = 320;
constexpr int ASSAULT_SHIP = 130;
constexpr int DIAMOND = 1;           // formation types
constexpr int TANK_TRANSPORT_TRAIN = 58;
constexpr int MOVERS_ZONE = 2;       // Korea, whose road crosses ahead of Osan's runway
constexpr int TAKE_OFF_ZONE = 4;     // Afghanistan, where a fighter takes off ahead of the player
constexpr int THREATS_ZONE = 4;      // Afghanistan: emitters on the ground sortie's way, a pod to see them
constexpr int BATTLE_ZONE = 2;       // Korea: the air quick start's wingmen, over a tank battle ahead
constexpr int WINGMAN_AIRCRAFT = 1232;
constexpr int ENEMY_TANK_DIAMOND = 1, ALLIED_TANK_SQUADRON = 84;  // formation types
constexpr int EARLY_WARNING_RADAR = 77;  // a radar vehicle: a drone must be of a class that moves
constexpr int PATROL_ZONE = 3;       // Cyprus: the air-combat sortie flies under enemy radar past a SAM site
constexpr int SHORT_RANGE_RADAR = 77;
constexpr int SAM_SITE = 450;
constexpr int TARGETING_POD_STORE = 22;
constexpr int32_t TICKS = 200;       // a second of game time
constexpr double RECON_AHEAD = 1500 * FOOT;  // well within the recon equipment's 3,000 m

// Slots of each gameplay type in a cell, by type 1..8.
constexpr std::array<int, 9> SLOTS = {0, 2, 2, 4, 4, 1, 2, 4, 4};
const char* const GAMEPLAY_TAGS[] = {nullptr,          "Gameplay AAA",   "Gameplay SAM",  "Gameplay Tanks",
                                     "Gameplay APC",   "Gameplay Recon", "Gameplay Laser", "Gameplay Keep",
                                     "Gameplay Extra"};
constexpr int STORE_NONE = 26;
constexpr double SHORE_DISTANCE = 30 / FEET_PER_POST;   // posts
constexpr double SHORE_REACH = 3;                        // posts from the runway start

const char* const ZONE_CODES[] = {"isral", "korea", "cypus", "afghn"};
const char* const ZONE_NAMES[] = {"Israel", "Korea", "Cyprus", "Afghanistan", "Nevada"};
const char* const LANGUAGE_FOLDERS[] = {"", "usa/", "french/", "german/", "spanish/", "italian/"};

int32_t whole_feet(double posts) { return world_units(posts) / FOOT * FOOT; }

RoutePoint at(int type, Point p, int32_t z, int32_t knots) { return {type, whole_feet(p.x), whole_feet(p.y), z, knots * KNOT, 0}; }

template <typename T>
const T& first_of_side(const std::vector<T>& items, int side) {
    for (const T& item : items)
        if (item.side == side) return item;
    return items.front();
}

// A point of a defence area at a fraction of its radius in a direction, on its flat ground.
Point within(const DefenceArea& area, double fraction, double degrees) {
    const double a = degrees * 3.14159265358979323846 / 180;
    return area.centre + Point{std::sin(a), std::cos(a)} * (area.radius * fraction);
}

int32_t cruise_altitude(const TheatreLayout& layout) {
    const uint16_t highest = *std::max_element(layout.heights.begin(), layout.heights.end());
    return (int32_t(highest) + 2000) * FOOT;
}

// Each tile takes the side of the nearest airfield or defence area.
void give_sides(const TheatreLayout& layout, MissionWorld& world) {
    for (int x = 0; x < TILES; ++x)
        for (int y = 0; y < TILES; ++y) {
            const Point centre{x * 4 + 2.0, y * 4 + 2.0};
            double best = 1e9;
            int side = ALLIED;
            for (const Airfield& a : layout.airfields)
                if (distance(centre, a.centre) < best) best = distance(centre, a.centre), side = a.side;
            for (const DefenceArea& d : layout.defence_areas)
                if (distance(centre, d.centre) < best) best = distance(centre, d.centre), side = d.side;
            world.cell_sides[x][y] = side;
        }
}

void add_sites(const TheatreLayout& layout, MissionWorld& world) {
    int used[TILES][TILES][9] = {};
    auto site = [&](int type, Point p) {
        const int32_t x = whole_feet(p.x), y = whole_feet(p.y);
        int& count = used[x >> TILE_SHIFT][y >> TILE_SHIFT][type];
        if (count == SLOTS[size_t(type)]) return;
        ++count;
        world.sites.push_back({type, x, y});
    };
    for (const DefenceArea& area : layout.defence_areas) {
        site(1, within(area, 0.5, 0));
        site(3, within(area, 0.3, 90));
        if (area.side == ENEMY) {
            site(1, within(area, 0.5, 180));
            site(2, within(area, 0.4, 270));
            site(3, within(area, 0.3, 135));
            site(4, within(area, 0.6, 45));
            site(4, within(area, 0.6, 225));
        }
    }
}

// A point on land a stone's throw from the middle of the side facing `from` of the lake cell
// nearest it, so that half the pieces of what blows up there fly over the water and most of those
// come down in it (they fly some 170 ft at most); false when no lake cell lies within `reach` posts.
bool find_lake_shore(const TheatreLayout& layout, Point from, double reach, Point& shore) {
    double best = reach;
    bool found = false;
    for (int i = std::max(0, int(from.x - reach)); i < std::min(CELLS, int(from.x + reach) + 1); ++i)
        for (int j = std::max(0, int(from.y - reach)); j < std::min(CELLS, int(from.y + reach) + 1); ++j) {
            if (layout.ground_at(i, j) != Ground::LAKE) continue;
            const Point centre{i + 0.5, j + 0.5};
            const Point to = from - centre;
            const Point out = std::abs(to.x) > std::abs(to.y) ? Point{to.x > 0 ? 1.0 : -1.0, 0} : Point{0, to.y > 0 ? 1.0 : -1.0};
            const int next_i = i + int(out.x), next_j = j + int(out.y);
            if (next_i < 0 || next_i >= CELLS || next_j < 0 || next_j >= CELLS ||
                layout.ground_at(next_i, next_j) == Ground::LAKE)
                continue;
            const double d = distance(from, centre);
            if (d >= best) continue;
            best = d;
            shore = centre + out * (0.5 + SHORE_DISTANCE);
            found = true;
        }
    return found;
}

// The point of the routes nearest `p`, and the direction of its segment.
struct RoutePlace {
    Point at, direction;
};

RoutePlace nearest_on(const std::vector<Route>& routes, Point p) {
    RoutePlace best{p, {0, 1}};
    double best_distance = 1e9;
    for (const Route& route : routes)
        for (size_t i = 1; i < route.line.size(); ++i) {
            const Point a = route.line[i - 1], b = route.line[i];
            const double length = distance(a, b);
            if (length == 0) continue;
            const Point d = (b - a) * (1 / length);
            const double t = std::clamp((p.x - a.x) * d.x + (p.y - a.y) * d.y, 0.0, length);
            const Point q = a + d * t;
            if (distance(p, q) < best_distance) best_distance = distance(p, q), best = {q, d};
        }
    return best;
}

// A point of the sea near `p`, searched outwards along +x and -x.
Point at_sea(const TheatreLayout& layout, Point p) {
    for (double step = 0; step < 40; step += 0.5)
        for (double side : {-1.0, 1.0})
            if (layout.is_water(p + Point{side * step, 0})) return p + Point{side * step, 0};
    return p;
}

RoutePoint waiting(RoutePoint p, int32_t ticks) {
    p.wait = ticks;
    return p;
}

// In view of the player at the runway's start, facing along it: a tank diamond that drives onto
// the road crossing ahead, along it in single file and off it into its formation, and a
// helicopter that comes down on a point beside the runway, waits and takes off on a round.
void add_movers_in_view(const TheatreLayout& layout, Point runway_start, Point along, MissionWorld& world) {
    const Point left{-along.y, along.x};
    const RoutePlace onto = nearest_on(layout.roads, runway_start + along * 0.9 + left * 0.15);
    const Point d = onto.direction.x * left.x + onto.direction.y * left.y > 0 ? onto.direction : onto.direction * -1.0;
    const Point n = Point{d.y, -d.x} * (d.y * along.x - d.x * along.y > 0 ? 1.0 : -1.0);  // the side ahead
    const Point off = nearest_on(layout.roads, onto.at + d * 0.3).at;
    MissionDrone diamond{DIAMOND_TANK, {}, false, DIAMOND};
    diamond.route = {at(DEPARTURE, onto.at - d * 0.12 + n * 0.12, 0, 20), at(TURNING, onto.at, 0, 20),
                     at(TURNING, off, 0, 20), at(TURNING, off + d * 0.08 + n * 0.15, 0, 20)};
    world.tasks.push_back({ENEMY, TASK_GROUND_VEHICLE, {diamond}});

    const Point pad = runway_start + along * 0.45 + left * 0.2;
    MissionDrone helicopter{TRANSPORT_HELICOPTER, {}};
    helicopter.route = {at(DEPARTURE, pad + along * 0.015, 60 * FOOT, 20), waiting(at(LANDING, pad, 0, 20), 3 * TICKS),
                        at(TURNING, pad + left * 0.4 - along * 0.1, 150 * FOOT, 40),
                        at(TURNING, pad + left * 0.5 + along * 0.3, 150 * FOOT, 40)};
    helicopter.cargo = CARGO_GROUP_1;
    world.tasks.push_back({ALLIED, TASK_ESCORT_COVER, {helicopter}});

    // The squad it carries gets out where it lands and holds a point 160 ft further out, an
    // enemy truck parked 400 ft beyond, within its rifles' reach.
    const Point hold = pad + left * 0.04;
    MissionDrone squad{SOLDIER, {}, false, SQUAD};
    squad.route = {at(DEPLOY, pad, 0, 6), waiting(at(HUMAN_DEFEND, hold, 0, 6), 300 * TICKS)};
    squad.onboard = CARGO_GROUP_1;
    squad.notify = NOTIFY_LANDED;
    world.tasks.push_back({ALLIED, TASK_GROUND_VEHICLE, {squad}});
    MissionDrone truck{TRUCK, {}};
    const Point parked = hold + left * 0.1;
    truck.route = {at(DEPARTURE, parked, 0, 0), at(TURNING, parked, 0, 0)};
    world.tasks.push_back({ENEMY, TASK_GROUND_VEHICLE, {truck}});
}

// Away from the start: a train on the railway, a truck looping along a road, a frigate's patrol
// and the assault ship steaming with a helicopter on its deck, which flies a round and lands back.
void add_movers_elsewhere(const TheatreLayout& layout, MissionWorld& world) {
    if (!layout.railways.empty() && layout.railways[0].line.size() >= 3) {
        const std::vector<Point>& rail = layout.railways[0].line;
        MissionDrone train{LOCOMOTIVE, {}, false, TANK_TRANSPORT_TRAIN};
        const size_t first = rail.size() / 2 - 1;
        for (size_t i = first; i < first + 3; ++i) train.route.push_back(at(i == first ? DEPARTURE : TURNING, rail[i], 0, 40));
        world.tasks.push_back({ALLIED, TASK_GROUND_VEHICLE, {train}});
    }
    if (layout.roads.size() >= 3 && layout.roads[2].line.size() >= 4) {
        const std::vector<Point>& road = layout.roads[2].line;
        MissionDrone truck{TRUCK, {}};
        for (size_t i = 1; i < 4; ++i) truck.route.push_back(at(i == 1 ? DEPARTURE : TURNING, road[i], 0, 30));
        world.tasks.push_back({ALLIED, TASK_GROUND_VEHICLE_LOOPING, {truck}});
    }
    if (!layout.has_sea) return;
    const Point patrol = at_sea(layout, {14, 135});
    MissionDrone frigate{FRIGATE, {}};
    frigate.route = {at(DEPARTURE, patrol, 0, 15), at(TURNING, at_sea(layout, patrol + Point{0, 12}), 0, 15),
                     at(TURNING, at_sea(layout, patrol + Point{-6, 6}), 0, 15)};
    world.tasks.push_back({ALLIED, TASK_GROUND_VEHICLE, {frigate}});

    const Point station = at_sea(layout, {10, 95});
    MissionDrone ship{ASSAULT_SHIP, {}};
    ship.route = {at(DEPARTURE, station, 0, 10), at(TURNING, at_sea(layout, station + Point{0, 60}), 0, 10)};
    world.tasks.push_back({ALLIED, TASK_GROUND_VEHICLE, {ship}});
    MissionDrone helicopter{TRANSPORT_HELICOPTER, {}};
    helicopter.route = {waiting(at(DEPARTURE, station, 0, 60), 10 * TICKS), at(TURNING, station + Point{4, 3}, 300 * FOOT, 60),
                        at(TURNING, station + Point{1, 8}, 300 * FOOT, 60), at(LANDING, station + Point{0, 6}, 0, 60)};
    world.tasks.push_back({ALLIED, TASK_ESCORT_COVER, {helicopter}});
}

// On the runway ahead of the player: a fighter parked short of its Departure point rolls to it,
// takes off along the runway, climbs out to a patrol it flies back and forth for a few minutes,
// and comes back by the approach to land on the same runway.
void add_fighter_taking_off(Point runway_start, Point runway_end, Point along, int32_t cruise, MissionWorld& world) {
    const Point left{-along.y, along.x};
    const Point patrol = runway_end + along * 6 + left * 2;
    MissionDrone fighter{ALLIED_FIGHTER, {}};
    fighter.route = {at(TURNING, runway_start + along * 0.6, 0, 0),
                     at(DEPARTURE, runway_start + along * 0.64, 0, 20),
                     at(TURNING, runway_end + along * 2, 2000 * FOOT, 350),
                     waiting(at(CAP_START, patrol, cruise, 400), 3 * 60 * TICKS),
                     at(TURNING, patrol + along * 4, cruise, 400),
                     at(APPROACH, runway_start - along * 4, 1500 * FOOT, 250),
                     at(LANDING, runway_start + along * 0.3, 0, 150),
                     at(TURNING, runway_end - along * 0.2, 0, 20)};
    world.tasks.push_back({ALLIED, TASK_ESCORT_COVER, {fighter}});
}

// The middle of the dry cell held at height 0 nearest `p`, so that a site stands exactly on the
// ground its waypoint gives; `p` itself when none lies within ten cells.
Point on_flat_ground(const TheatreLayout& layout, Point p) {
    Point best = p;
    double nearest = 1e9;
    const int ci = int(p.x), cj = int(p.y);
    for (int i = std::max(0, ci - 10); i <= std::min(CELLS - 1, ci + 10); ++i)
        for (int j = std::max(0, cj - 10); j <= std::min(CELLS - 1, cj + 10); ++j) {
            const Point centre{i + 0.5, j + 0.5};
            if (!layout.is_flat(i, j) || layout.is_water(centre) || distance(centre, p) >= nearest) continue;
            nearest = distance(centre, p);
            best = centre;
        }
    return best;
}

// An early-warning radar beside the sortie's first leg and a SAM site on it, both enemy, for the
// threat warning and the pod to find on the way out.
void add_route_emitters(const TheatreLayout& layout, Point start, Point out, MissionWorld& world) {
    const Point ahead = (out - start) * (1.0 / distance(out, start));
    const Point right{ahead.y, -ahead.x};
    auto emitter = [&](int object, Point wanted) {
        const Point p = on_flat_ground(layout, wanted);
        MissionDrone site{object, {}};
        site.route = {at(DEPARTURE, p, 0, 0), at(TURNING, p, 0, 0)};
        world.tasks.push_back({ENEMY, TASK_GROUND_VEHICLE, {site}});
    };
    emitter(EARLY_WARNING_RADAR, start + (out - start) * 0.6 + right * 3);
    emitter(SAM_SITE, start + (out - start) * 0.35);
}

// A radar vehicle at the front the air-combat sortie turns over, so that the enemy's patrol is sent
// against the player, and a SAM site on the way in.
void add_front_defences(const TheatreLayout& layout, const DefenceArea& front, Point out, MissionWorld& world) {
    const Point p = on_flat_ground(layout, front.centre);
    MissionDrone radar{SHORT_RANGE_RADAR, {}};
    radar.route = {at(DEPARTURE, p, 0, 0), at(TURNING, p, 0, 0)};
    world.tasks.push_back({ENEMY, TASK_GROUND_VEHICLE, {radar}});
    const Point sam = on_flat_ground(layout, front.centre + (out - front.centre) * (4.0 / distance(out, front.centre)));
    world.sites.push_back({2, whole_feet(sam.x), whole_feet(sam.y)});
}

// The command post of the front's camp, on which a strike's Target waypoint stands so that the map
// names what is to be struck; the front's centre when the camp has none.
Point strike_target_point(int zone, Point centre) {
    constexpr uint16_t COMMAND_POST = 105;
    Point best = centre;
    double nearest = 1e9;
    for (const GroundObjectPlace& place : place_ground_objects(zone - 1)) {
        const Point p{place.x / 1048576.0, place.y / 1048576.0};
        if (place.type != COMMAND_POST || distance(p, centre) >= nearest) continue;
        nearest = distance(p, centre);
        best = p;
    }
    return best;
}

}  // namespace

// Ahead of the player's airborne start, far enough to lie below the nose: an allied and an enemy
// tank formation of battle cell 1 facing each other across a point of flat dry ground. Each drives a
// short way to its Target waypoint, where the battle holds it; falling back takes it to the first
// waypoint, pushing on to the third, past the other's Target.
void add_battle_in_view(const TheatreLayout& layout, Point start, Point ahead, MissionWorld& world) {
    // The middle of a cell held at height 0, which every waypoint stays within, the first such
    // cell out along the bearing that lies within 20 degrees of it.
    Point point = on_flat_ground(layout, start + ahead * 6.0);
    for (double posts = 4.0; posts <= 16.0; posts += 1.0) {
        const Point cell = on_flat_ground(layout, start + ahead * posts);
        const Point d = cell - start;
        if ((d.x * ahead.x + d.y * ahead.y) / distance(cell, start) > std::cos(20 * std::numbers::pi / 180)) {
            point = cell;
            break;
        }
    }
    const struct {
        int side, formation, object_number;
        double toward;  // -1 the allies on the player's side of the point, 1 the enemy beyond it
    } groups[] = {{ALLIED, ALLIED_TANK_SQUADRON, ALLIED_TANK, -1.0}, {ENEMY, ENEMY_TANK_DIAMOND, ENEMY_TANK, 1.0}};
    for (const auto& g : groups) {
        MissionDrone leader{g.object_number, {}, false, g.formation};
        leader.route = {at(DEPARTURE, point + ahead * (0.25 * g.toward), 0, 15),
                        at(TARGET, point + ahead * (0.12 * g.toward), 0, 15),
                        at(TURNING, point - ahead * (0.05 * g.toward), 0, 15)};
        world.tasks.push_back({g.side, TASK_TANK_FORMATION, {leader}, 1});
    }
}

MissionWorld build_mission_world(int zone, MissionKind kind, bool airborne_start, bool quick_start) {
    const TheatreLayout& layout = theatre_layout(zone - 1);
    MissionWorld world{};
    const Airfield& home = first_of_side(layout.airfields, ALLIED);
    const DefenceArea& front = first_of_side(layout.defence_areas, ENEMY);
    const int32_t cruise = cruise_altitude(layout);
    Point runway_start, runway_end;
    runway_ends(home, runway_start, runway_end);
    const Point along = (runway_end - runway_start) * (1.0 / distance(runway_start, runway_end));

    // The player's route: off the runway (or already in the air beyond its end), out to the
    // front, and back down the approach to a landing on the same runway. The start faces the next
    // waypoint, so a start on the runway climbs out along its line before it turns.
    const Point start = airborne_start ? runway_end + along * 3 : runway_start + along * 0.1;
    const Point out = home.centre + (front.centre - home.centre) * 0.5;
    const Point climb_out = runway_end + along * 3;
    const Point target = kind == MissionKind::GROUND && !quick_start ? strike_target_point(zone, front.centre) : front.centre;
    // The flight's route from `from`, its way out and back moved by `shift`.
    auto flight_route = [&](Point from, Point shift) {
        std::vector<RoutePoint> route;
        route.push_back(airborne_start ? at(DEPARTURE, from, cruise, 350) : at(DEPARTURE, from, 0, 0));
        if (!airborne_start) route.push_back(at(TURNING, climb_out + shift, cruise, 350));
        route.push_back(at(TURNING, out + shift, cruise, 420));
        route.push_back(at(kind == MissionKind::GROUND ? TARGET : TURNING, target + shift, cruise, 450));
        route.push_back(at(TURNING, out + Point{4, 0} + shift, cruise, 420));
        route.push_back(at(APPROACH, runway_start - along * 4 + shift, 1500 * FOOT, 200));
        route.push_back(at(LANDING, home.centre, 0, 150));
        return route;
    };
    MissionDrone player{PLAYER_AIRCRAFT, flight_route(start, {0, 0})};
    world.tasks.push_back({ALLIED, kind == MissionKind::GROUND ? TASK_STRIKE : TASK_COUNTER_AIR, {player}});
    const Point next = airborne_start ? out : climb_out;
    const Point ahead = (next - start) * (1.0 / distance(next, start));
    const Point right{ahead.y, -ahead.x};
    // The missions taking off from the runway give the player a wingman, two on a strike, who roll
    // after him from further down the runway and fly his route a little to its right.
    if (!quick_start && !airborne_start) {
        const double runway = distance(runway_start, runway_end);
        for (int k = 1; k <= (kind == MissionKind::GROUND ? 2 : 1); ++k)
            world.tasks.front().drones.push_back(
                {WINGMAN_AIRCRAFT, flight_route(start + along * (runway * 0.2 * k), right * (0.6 * k))});
    }
    // A strike's target, and a site to spare beside it, at its Target waypoint.
    if (!quick_start && kind == MissionKind::GROUND) {
        for (const auto& [type, offset] : {std::pair{8, Point{0.3, 0.3}}, std::pair{7, Point{-0.3, 0.3}}}) {
            const Point site = on_flat_ground(layout, front.centre + offset);
            world.sites.push_back({type, whole_feet(site.x), whole_feet(site.y)});
        }
    }
    // Two wingmen fly the player's route from either side of him.
    if (quick_start && airborne_start && zone == BATTLE_ZONE) {
        for (double side : {-1.0, 1.0}) {
            MissionDrone wingman{WINGMAN_AIRCRAFT, player.route};
            wingman.route.front() = at(DEPARTURE, start + right * (0.15 * side) - ahead * 0.1, cruise, 350);
            world.tasks.front().drones.push_back(wingman);
        }
        add_battle_in_view(layout, start, ahead, world);
    }

    // Fighters over the front, and an escort for the player in the air-combat missions.
    MissionTask patrol{ENEMY, TASK_COMBAT_AIR_PATROL, {}};
    for (int i = 0; i < (kind == MissionKind::AIR ? 2 : 1); ++i) {
        MissionDrone fighter{ENEMY_FIGHTER, {}};
        const Point base = front.centre + Point{6.0 * i, 8};
        fighter.route.push_back(at(CAP_START, base, cruise + 1000 * FOOT, 400));
        fighter.route.push_back(at(TURNING, base + Point{10, 0}, cruise + 1000 * FOOT, 400));
        fighter.route.push_back(at(CAP_END, base + Point{10, -10}, cruise + 1000 * FOOT, 400));
        patrol.drones.push_back(fighter);
    }
    world.tasks.push_back(patrol);
    if (kind == MissionKind::AIR) {
        MissionDrone escort{ALLIED_FIGHTER, {}};
        escort.route.push_back(at(DEPARTURE, runway_end + along * 4, cruise, 380));
        escort.route.push_back(at(TURNING, out, cruise, 420));
        escort.route.push_back(at(TURNING, front.centre, cruise, 420));
        world.tasks.push_back({ALLIED, TASK_ESCORT_COVER, {escort}});
    }

    // Armour in the front's defence area, and the air defence that guards it.
    MissionTask tanks{ENEMY, TASK_TANK_FORMATION, {}};
    for (int i = 0; i < 2; ++i) {
        MissionDrone tank{ENEMY_TANK, {}};
        tank.route.push_back(at(DEPARTURE, within(front, 0.7, 300 + 20 * i), 0, 15));
        tank.route.push_back(at(TURNING, within(front, 0.7, 60 + 20 * i), 0, 15));
        tanks.drones.push_back(tank);
    }
    world.tasks.push_back(tanks);
    if (kind == MissionKind::GROUND) {
        MissionDrone apc{ENEMY_APC, {}};
        apc.route.push_back(at(DEPARTURE, within(front, 0.2, 200), 0, 20));
        apc.route.push_back(at(TURNING, within(front, 0.8, 160), 0, 20));
        world.tasks.push_back({ENEMY, TASK_GROUND_VEHICLE, {apc}});
        MissionDrone gun{ENEMY_AIR_DEFENCE, {}};
        gun.route.push_back(at(DEPARTURE, within(front, 0.1, 0), 0, 0));
        gun.route.push_back(at(TURNING, within(front, 0.1, 0), 0, 0));
        world.tasks.push_back({ENEMY, TASK_ARTILLERY_AIR_DEFENCE, {gun}});
    }
    // The ground-attack quick start shows shadows from its first frame: a helicopter hovering
    // 200 ft up ahead of the player and two tanks parked either side of its way, under a noon sun.
    // The player starts facing its route's next waypoint, so "ahead" is towards that. Both stand
    // clear of the runway (150 ft wide) and of the climb-out over it.
    if (quick_start && kind == MissionKind::GROUND) {
        MissionDrone helicopter{ALLIED_HELICOPTER, {}};
        const Point hover = start + ahead * 0.3 + right * 0.03;
        helicopter.route.push_back(at(DEPARTURE, hover, 200 * FOOT, 0));
        helicopter.route.push_back(at(TURNING, hover + ahead * 0.5, 200 * FOOT, 20));
        world.tasks.push_back({ALLIED, TASK_ESCORT_COVER, {helicopter}});
        MissionTask parked{ALLIED, TASK_GROUND_VEHICLE, {}};
        for (double side : {-1.0, 1.0}) {
            MissionDrone tank{ALLIED_TANK, {}};
            const Point stand = start + ahead * 0.08 + right * (0.025 * side);
            tank.route.push_back(at(DEPARTURE, stand, 0, 0));
            tank.route.push_back(at(TURNING, stand, 0, 0));
            parked.drones.push_back(tank);
        }
        world.tasks.push_back(parked);
        // Soldiers ahead of the player and off its way: a squad and a machine gun facing the
        // player, a stretcher party crossing the view between them.
        MissionTask soldiers{ALLIED, TASK_GROUND_VEHICLE, {}};
        auto group = [&](int object, int formation, double forward, double aside, Point facing) {
            MissionDrone leader{object, {}, false, formation};
            const Point stand = start + ahead * forward + right * aside;
            leader.route.push_back(at(HUMAN_TURN, stand, 0, 0));
            leader.route.push_back(at(HUMAN_TURN, stand + facing * 0.01, 0, 0));
            soldiers.drones.push_back(leader);
        };
        // Wide of the aircraft's nose as the cockpit sees it: 110 to 200 ft ahead, 70 to 150 ft aside.
        // Where the movers are shown the squad comes by helicopter instead, and the stretcher
        // party walks a loop of 60 ft sides at 3 knots.
        const bool movers = zone == MOVERS_ZONE;
        if (!movers) group(SOLDIER, SQUAD, 0.027, 0.017, ahead * -1.0);
        group(SOLDIER, STRETCHER_PARTY, 0.037, 0.027, right);
        if (movers) {
            std::vector<RoutePoint>& loop = soldiers.drones.back().route;
            const Point corner = start + ahead * 0.037 + right * 0.027;
            const double side = 60 / FEET_PER_POST;
            loop = {at(HUMAN_TURN, corner + right * side, 0, 3), at(HUMAN_TURN, corner + right * side + ahead * side, 0, 3),
                    at(HUMAN_TURN, corner + ahead * side, 0, 3), at(HUMAN_TURN, corner, 0, 3)};
        }
        group(DSHK, MANNED_DSHK, 0.049, 0.037, ahead * -1.0);
        world.tasks.push_back(soldiers);
    }
    if (quick_start && kind == MissionKind::GROUND && zone == MOVERS_ZONE) {
        add_movers_in_view(layout, runway_start, along, world);
        add_movers_elsewhere(layout, world);
    }
    if (quick_start && !airborne_start && zone == TAKE_OFF_ZONE) add_fighter_taking_off(runway_start, runway_end, along, cruise, world);
    if (quick_start && kind == MissionKind::GROUND && zone == THREATS_ZONE) add_route_emitters(layout, start, out, world);
    if (quick_start && kind == MissionKind::AIR && zone == PATROL_ZONE) add_front_defences(layout, front, out, world);
    MissionDrone guard{ALLIED_TANK, {}};
    guard.route.push_back(at(DEPARTURE, home.apron, 0, 10));
    guard.route.push_back(at(TURNING, home.apron + Point{0.1, 0.1}, 0, 10));
    world.tasks.push_back({ALLIED, TASK_GROUND_VEHICLE, {guard}});

    // A carrier that blows up by the water as the flight starts, for the player to watch.
    Point shore;
    if (quick_start && !airborne_start && find_lake_shore(layout, runway_start, SHORE_REACH, shore)) {
        MissionDrone wreck{ENEMY_APC, {}, true};
        wreck.route.push_back(at(DEPARTURE, shore, 0, 0));
        wreck.route.push_back(at(TURNING, shore, 0, 0));
        world.tasks.push_back({ENEMY, TASK_GROUND_VEHICLE, {wreck}});
    }

    give_sides(layout, world);
    add_sites(layout, world);

    for (auto& pylon : world.pylons) pylon[0] = STORE_NONE, pylon[1] = 0;
    world.pylons[0][0] = world.pylons[5][0] = 1;  // AIM-9M at the tips
    world.pylons[0][1] = world.pylons[5][1] = 1;
    if (kind == MissionKind::AIR) {
        world.pylons[1][0] = world.pylons[6][0] = 2;  // AMRAAM; hardpoint n + 5 mirrors n
        world.pylons[1][1] = world.pylons[6][1] = 1;
    } else {
        world.pylons[1][0] = world.pylons[6][0] = 9;  // Mk-82
        world.pylons[1][1] = world.pylons[6][1] = 3;
        world.pylons[2][0] = world.pylons[7][0] = 6;  // AGM-65G
        world.pylons[2][1] = world.pylons[7][1] = 1;
    }
    if (quick_start && kind == MissionKind::GROUND && zone == THREATS_ZONE) {
        world.pylons[9][0] = TARGETING_POD_STORE;  // the pod's place under the fuselage
        world.pylons[9][1] = 1;
    }
    world.pylons[10][0] = 24;  // the centre tank
    world.pylons[10][1] = 1;
    world.wind_speed = 10;
    world.wind_degrees = 270;
    world.hours = kind == MissionKind::AIR ? 10 : quick_start ? 12 : 14;
    world.minutes = quick_start && kind == MissionKind::GROUND ? 0 : 30;
    return world;
}

std::string encode_mission_data(const MissionWorld& world) {
    std::string out;
    auto line = [&](const char* format, auto... values) {
        char buffer[256];
        std::snprintf(buffer, sizeof buffer, format, values...);
        out += buffer;
        out += '\n';
    };
    bool user = true;
    for (const MissionTask& task : world.tasks) {
        line(":Task");
        if (user) line(":User Task");
        user = false;
        line(":Side");
        line("%d", task.side);
        line(":Task Type");
        line("%d", task.type);
        if (task.battle_cell) {
            line(":Battle Cell");
            line("%d", task.battle_cell);
        }
        for (const MissionDrone& drone : task.drones) {
            line(":Drone");
            if (drone.formation) {
                line(":Formation Type");
                line("%d", drone.formation);
            } else {
                line(":Drone Type");
                line("%d", drone.object_number);
            }
            if (drone.kill_success) line(":Kill Success");
            for (size_t i = 0; i < drone.route.size(); ++i) {
                const RoutePoint& p = drone.route[i];
                int32_t leg = 0;
                if (i > 0) {
                    const RoutePoint& q = drone.route[i - 1];
                    leg = int32_t(std::sqrt(double(p.x - q.x) * (p.x - q.x) + double(p.y - q.y) * (p.y - q.y) +
                                            double(p.z - q.z) * (p.z - q.z)));
                }
                line(":Waypoint");
                line("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", p.type, p.x, p.y, p.z, -1, p.speed, -1, leg,
                     0, 0, 0, 0, 0, 0, 0, 0, 0, p.wait);
            }
            const struct {
                int value;
                const char* tag;
            } values[] = {{drone.cargo, ":Drone cargo"}, {drone.onboard, ":Drone onboard"}, {drone.notify, ":Drone notify"}};
            for (const auto& value : values) {
                if (value.value == 0) continue;
                line("%s", value.tag);
                line("%d", value.value);
            }
            if (drone.explode) {
                line(":Drone explode");
                line("1");
            }
        }
    }
    line(":Gameplay");
    line(":Gameplay Sides");
    for (int y = 0; y < TILES; ++y)
        for (int x = 0; x < TILES; ++x)
            if (world.cell_sides[x][y] != 3) line("%d,%d %d", x, y, world.cell_sides[x][y]);
    // Within a type, slot by slot of the cells, and the cells row by row.
    for (int type = 1; type <= 8; ++type) {
        line(":%s", GAMEPLAY_TAGS[type]);
        std::vector<const GameplaySite*> slots[TILES][TILES];
        for (const GameplaySite& site : world.sites)
            if (site.type == type) slots[site.x >> TILE_SHIFT][site.y >> TILE_SHIFT].push_back(&site);
        for (int slot = 0; slot < SLOTS[size_t(type)]; ++slot)
            for (int y = 0; y < TILES; ++y)
                for (int x = 0; x < TILES; ++x)
                    if (size_t(slot) < slots[x][y].size()) line("%d,%d", slots[x][y][size_t(slot)]->x, slots[x][y][size_t(slot)]->y);
    }
    line(":Weapon");
    for (int pylon = 0; pylon < 11; ++pylon) line("%d,%d,%d", pylon, world.pylons[pylon][0], world.pylons[pylon][1]);
    line(":Gun");
    line("%d", 0);
    line(":Laser Timeout");
    line("%d", world.laser_timeout);
    line(":Wind Speed");
    line("%d", world.wind_speed);
    line(":Wind Direction");
    line("%d", world.wind_degrees);
    line(":Weather Condition");
    line("%d", world.weather);
    line(":Time");
    line("%d:%d", world.hours, world.minutes);
    for (const char* tag : {"Failure Count", "Success Count", "Outstanding Count", "Humans loaded count",
                            "Humans deployed count"}) {
        line(":%s", tag);
        line("%d", std::string(tag) == "Success Count" ? world.success_count : 0);
    }
    line(":Destroy");
    return out;
}

std::vector<uint8_t> encode_mission_catalogue(const std::vector<CatalogueEntry>& entries) {
    std::vector<uint8_t> out;
    auto word = [&](int32_t value) {
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(value) >> (8 * i)));
    };
    auto block = [&](const std::string& text) {
        word(int32_t(text.size()));
        out.insert(out.end(), text.begin(), text.end());
    };
    for (const CatalogueEntry& entry : entries) {
        word(entry.number);
        block(entry.text);
        block(entry.header);
    }
    word(-1);
    return out;
}

namespace {

// Lower case, as every name of the data set.
std::string mission_name(int zone, const char* letter, int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%s%s%02d", zone == 5 ? "usat" : ZONE_CODES[zone - 1], zone == 5 ? "" : letter,
                  number);
    return name;
}

std::string mission_text(const std::string& title, const std::string& zone_name, MissionKind kind) {
    const char* const aims[] = {"clear the sky over the front", "destroy the armour massing at the front",
                                "report on the enemy's positions from your reconnaissance waypoint",
                                "bring your aircraft home"};
    const std::string aim = aims[int(kind)];
    return ":Title\n" + title + "\n"
           ":Description\n"
           "Enemy forces are moving in " + zone_name + ".\n"
           "Your flight is to " + aim + ".\n"
           ":Para\n"
           "Return to base and land on the runway you left.\n"
           ":Briefing\n"
           "{TRACK " + title + "}{FIT}\n"
           "Enemy forces are moving in " + zone_name + ". Your flight is to " + aim + ".\n"
           "{SYNC 40}{TRACK Ingress}{FLY AB}\n"
           "Take off from waypoint A and climb out on the heading to waypoint B.\n"
           "{SYNC 90}{FLY BC}\n"
           "From B follow your waypoints to the front, low and fast.\n"
           "{SYNC 140}{TRACK The Target}{ROTATE C}{ZOOM}{KEY A S +}\n"
           "Expect fighters on patrol and air defences round the target.\n"
           "{SYNC 190}{RESYNC}{TRACK Your Payload}{PAY}\n"
           "Check your stores before take-off: the mission planner sets what you carry.\n"
           "{SYNC 40}{NOPAY}{TRACK Egress}{SPEECH 1}{NO3D}\n"
           "Return to base and land on the runway you left.\n"
           "{SYNC 80}\n"
           ":Hit X\nThe enemy armour was broken.\n"
           ":Hit Y\nThe patrol was driven off.\n"
           ":Hit Z\nThe air defences were silenced.\n"
           ":Miss X\nThe enemy armour got through.\n"
           ":Miss Y\nThe patrol still holds the sky.\n"
           ":Miss Z\nThe air defences still stand.\n"
           ":Hit Extra\nYou found targets beyond your orders.\n"
           ":Hit Keep\nYou struck what you were told to spare.\n"
           ":Outstanding\nAn outstanding sortie.\n"
           ":Success\nMission accomplished.\n"
           ":Failure\nThe mission failed.\n";
}

// The player on the home runway's approach, 4 nm short of its landing beacon on the glide slope,
// with nothing else in the sky.
MissionWorld build_approach(int zone) {
    constexpr double NM = 6076 / FEET_PER_POST;
    constexpr double BEACON_INSET = 500 / FEET_PER_POST;  // where the ground objects put it
    MissionWorld world = build_mission_world(zone, MissionKind::AIR, true, false);
    const Airfield& home = first_of_side(theatre_layout(zone - 1).airfields, ALLIED);
    Point runway_start, runway_end;
    runway_ends(home, runway_start, runway_end);
    const Point along = (runway_end - runway_start) * (1.0 / distance(runway_start, runway_end));
    const Point beacon = runway_start + along * BEACON_INSET;
    MissionDrone player{PLAYER_AIRCRAFT, {}};
    player.route.push_back(at(DEPARTURE, beacon - along * (4 * NM), 1270 * FOOT, 180));
    player.route.push_back(at(APPROACH, beacon - along * (2 * NM), 640 * FOOT, 160));
    player.route.push_back(at(LANDING, home.centre, 0, 150));
    world.tasks = {{ALLIED, TASK_COUNTER_AIR, {player}}};
    return world;
}

}  // namespace

MissionWorld build_campaign_world(int zone, MissionKind kind) {
    if (kind == MissionKind::APPROACH) return build_approach(zone);
    if (kind == MissionKind::RECON) {
        MissionWorld world = build_mission_world(zone, MissionKind::AIR, true, false);
        std::vector<RoutePoint>& route = world.tasks.front().drones.front().route;
        const RoutePoint start = route[0], next = route[1];
        const double ahead = RECON_AHEAD / std::hypot(double(next.x - start.x), double(next.y - start.y));
        RoutePoint recon = start;
        recon.type = RECON;
        recon.x = start.x + int32_t((next.x - start.x) * ahead) / FOOT * FOOT;
        recon.y = start.y + int32_t((next.y - start.y) * ahead) / FOOT * FOOT;
        route.insert(route.begin() + 1, recon);
        return world;
    }
    MissionWorld world = build_mission_world(zone, kind, false, false);
    world.success_count = 1;
    if (kind == MissionKind::AIR) {
        for (MissionTask& task : world.tasks)
            if (task.side == ENEMY && task.type == TASK_COMBAT_AIR_PATROL) task.drones.front().kill_success = true;
        return world;
    }
    // The armour at the Target waypoint: a tank site flagged as the mission's target, first of its
    // cell's slots.
    const TheatreLayout& layout = theatre_layout(zone - 1);
    const Point p = on_flat_ground(layout, first_of_side(layout.defence_areas, ENEMY).centre);
    for (RoutePoint& point : world.tasks.front().drones.front().route)
        if (point.type == TARGET) point.x = whole_feet(p.x), point.y = whole_feet(p.y);
    world.sites.insert(world.sites.begin(), {{3, whole_feet(p.x), whole_feet(p.y)}, {8, whole_feet(p.x), whole_feet(p.y)}});
    return world;
}

namespace {

std::string mission_header(int flow, int zone, int level) {
    return ":Game Flow\n" + std::to_string(flow) + "\n:War Zone\n" + std::to_string(zone) + "\n:Campaign Level\n" +
           std::to_string(level) + "\n";
}

std::vector<uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Every level of a campaign has a mission, some two; level 3, where campaigns start, is Korea's
// reconnaissance and Israel's approach.
struct CampaignMission {
    int number, level;
    MissionKind kind;
    const char* name;
};
const CampaignMission CAMPAIGN_MISSIONS[] = {
    {1, 1, MissionKind::AIR, "First Light"},     {2, 2, MissionKind::GROUND, "Breakthrough"},
    {3, 2, MissionKind::AIR, "High Cover"},      {4, 3, MissionKind::GROUND, "Eyes Forward"},
    {5, 4, MissionKind::AIR, "Clear Skies"},     {6, 5, MissionKind::GROUND, "Iron Wall"},
    {7, 5, MissionKind::RECON, "Long Look"},     {8, 6, MissionKind::AIR, "Night Hunt"},
    {9, 7, MissionKind::GROUND, "Hammer"},       {10, 8, MissionKind::AIR, "Sweep"},
    {11, 8, MissionKind::RECON, "Quiet Pass"},   {12, 9, MissionKind::GROUND, "Anvil"},
    {13, 10, MissionKind::AIR, "Last Light"},
};
constexpr int RECON_ZONE = 2, APPROACH_ZONE = 1;

}  // namespace

std::vector<DataFile> mission_files() {
    std::vector<DataFile> files;
    std::vector<CatalogueEntry> catalogue;
    auto mission_of = [&](int zone, int flow, const char* letter, int number, int level, MissionKind kind,
                          const MissionWorld& world, const std::string& title) {
        const std::string name = mission_name(zone, letter, number);
        const std::string text = mission_text(title, ZONE_NAMES[zone - 1], kind);
        const std::string header = mission_header(flow, zone, level);
        for (const char* folder : LANGUAGE_FOLDERS)
            files.push_back({std::string("missdata/") + folder + name + ".txt", bytes(text)});
        files.push_back({"missdata/" + name + ".mis", bytes(header)});
        files.push_back({"missdata/" + name + ".dta", bytes(encode_mission_data(world))});
        catalogue.push_back({number, text, header});
    };
    auto mission = [&](int zone, int flow, const char* letter, int number, int level, MissionKind kind, bool airborne,
                       const std::string& title) {
        const bool quick_start = letter[0] == 'q';
        mission_of(zone, flow, letter, number, level, kind, build_mission_world(zone, kind, airborne, quick_start), title);
    };
    for (int zone = 1; zone <= 4; ++zone) {
        const std::string where = ZONE_NAMES[zone - 1];
        mission(zone, 1, "q", 1, 0, MissionKind::AIR, true, "Quick Start Air Combat");
        mission(zone, 1, "q", 2, 0, MissionKind::GROUND, false, "Quick Start Ground Attack");
        mission(zone, 3, "s", 1, 0, MissionKind::AIR, false, where + " Patrol");
        mission(zone, 3, "s", 2, 0, MissionKind::GROUND, false, where + " Strike");
        for (const CampaignMission& c : CAMPAIGN_MISSIONS) {
            const MissionKind kind = c.level != 3 ? c.kind : zone == RECON_ZONE ? MissionKind::RECON
                                                         : zone == APPROACH_ZONE ? MissionKind::APPROACH
                                                                                 : c.kind;
            mission_of(zone, 4, "c", c.number, c.level, kind, build_campaign_world(zone, kind),
                       where + " Campaign: " + c.name);
        }
        for (int number = 0; number < CAMPAIGN_TEXTS; ++number) {
            const std::string text = campaign_text(zone, number);
            for (const char* folder : LANGUAGE_FOLDERS)
                files.push_back({std::string("missdata/") + folder + mission_name(zone, "l", number) + ".txt", bytes(text)});
        }
    }
    mission(5, 2, "t", 1, 0, MissionKind::AIR, true, "Training: Flying the Route");
    mission_of(5, 2, "t", 2, 0, MissionKind::AIR, build_approach(5), "Training: Landing");
    for (const char* folder : LANGUAGE_FOLDERS)
        files.push_back({std::string("missdata/") + folder + "missions.blk", encode_mission_catalogue(catalogue)});
    return files;
}

}  // namespace vyr::vyrgen
