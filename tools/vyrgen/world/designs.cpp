#include "tools/vyrgen/world/designs.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace vyr::vyrgen {

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double RIVER = 0.03;     // posts: about 120 ft
constexpr double ROAD = 0.012;     // about 50 ft
constexpr double RAILWAY = 0.006;  // about 25 ft
constexpr double TAXIWAY = 0.018;  // about 75 ft
constexpr int ALLIED = 1;
constexpr int ENEMY = 2;

double feet(double value) { return value / FEET_PER_POST; }

std::vector<Point> ellipse(Point centre, double rx, double ry, double tilt_degrees = 0) {
    std::vector<Point> outline;
    const double tilt = tilt_degrees * PI / 180;
    for (int k = 0; k < 12; ++k) {
        const double a = 2 * PI * k / 12;
        const double x = rx * std::cos(a), y = ry * std::sin(a);
        outline.push_back({centre.x + x * std::cos(tilt) - y * std::sin(tilt), centre.y + x * std::sin(tilt) + y * std::cos(tilt)});
    }
    return outline;
}

// A runway with a parallel taxiway on its right, joined at both ends and in the middle, where the
// apron lies beyond it.
Airfield airfield(const std::string& name, Point centre, double heading_degrees, double length_feet, int side) {
    Airfield a{name, centre, uint32_t(std::lround(heading_degrees / 360 * 4294967296.0) & 0xFFFFFFFF),
               feet(length_feet), feet(150), {}, {}, side};
    Point first, second;
    runway_ends(a, first, second);
    const double angle = heading_degrees * PI / 180;
    const Point right = Point{std::cos(angle), -std::sin(angle)} * feet(800);
    a.taxiways = {{{first, first + right, second + right, second}, TAXIWAY}, {{centre, centre + right * 2.2}, TAXIWAY}};
    a.apron = centre + right * 2.6;
    return a;
}

// Israel: the sea to the west, a farmed coastal plain, the hills of the centre and Galilee, the
// rift with its two lakes and the plateau beyond; the Negev desert in the south.
Ground israel_ground(const CellView& c) {
    const bool negev = c.centre.y < 85 + 120 * (c.patch - 0.5);
    const bool beyond_rift = c.centre.x > 172 + 100 * (c.patch - 0.5);
    if (negev || beyond_rift) return c.slope > 0.1 || (c.height > 1500 && c.noise > 0.5) ? Ground::ROCK : Ground::SAND;
    if (c.height == 0) {
        if (c.centre.x > 125) return c.water_distance < 6 ? Ground::FARMLAND : Ground::SAND;
        return c.noise > 0.3 ? Ground::FARMLAND : Ground::GRASS;
    }
    if (c.slope > 0.15) return Ground::ROCK;
    if (c.height > 2200) return c.noise > 0.5 ? Ground::ROCK : Ground::GRASS;
    return c.noise > 0.62 ? Ground::FOREST : Ground::GRASS;
}

Design israel() {
    Design d{};
    d.has_sea = true;
    d.land = {{{14, -60}, {26, 20}, {36, 70}, {46, 120}, {56, 170}, {62, 200}, {72, 207}, {66, 222}, {74, 256}, {82, 320},
               {330, 320}, {330, -60}}};
    d.lakes = {ellipse({150, 216}, 5, 8), ellipse({146, 112}, 5, 18, -4)};
    d.rivers = {{{{151, 270}, {152, 245}, {150, 225}}, RIVER},
                {{{150, 208}, {152, 190}, {148, 170}, {149, 150}, {146, 130}}, RIVER}};
    d.roads = {{{{22, -10}, {34, 50}, {45, 90}, {52, 140}, {60, 180}, {70, 212}, {76, 256}}, ROAD},
               {{{52, 140}, {80, 128}, {105, 120}, {140, 122}}, ROAD},
               {{{45, 90}, {75, 72}, {100, 40}, {118, 5}}, ROAD},
               {{{141, 95}, {143, 135}, {146, 190}, {148, 240}}, ROAD},
               {{{70, 212}, {110, 214}, {143, 220}}, ROAD},
               {{{75, 72}, {95, 95}, {105, 120}}, ROAD}};
    d.railways = {{{{34, 60}, {44, 100}, {54, 150}, {62, 185}, {70, 210}}, RAILWAY}};
    d.towns = {{"Haifa", {72, 212}, 2.5}, {"Tel Aviv", {52, 140}, 4},    {"Ashdod", {40, 100}, 2},
               {"Jerusalem", {105, 120}, 3}, {"Beersheba", {75, 72}, 2.5}, {"Tiberias", {143, 220}, 1.5},
               {"Nazareth", {110, 214}, 1.5}};
    d.airfields = {airfield("Ramat David", {95, 200}, 90, 8500, ALLIED), airfield("Hatzor", {50, 110}, 20, 9000, ALLIED),
                   airfield("Nevatim", {88, 56}, 150, 10000, ALLIED), airfield("Ovda", {110, 22}, 0, 9800, ALLIED),
                   airfield("Mafraq", {212, 180}, 80, 10000, ENEMY), airfield("Azraq", {225, 110}, 120, 10000, ENEMY)};
    d.defence_areas = {{{195, 200}, 1.5, ENEMY}, {{205, 140}, 1.5, ENEMY}, {{198, 70}, 1.5, ENEMY},
                       {{100, 135}, 1.2, ALLIED}};
    d.ridges = {{{{92, 60}, {102, 110}, {110, 160}, {116, 195}}, 3000, 32},
                {{{95, 225}, {125, 240}, {160, 252}}, 3600, 22},
                {{{188, 20}, {192, 110}, {196, 250}}, 3300, 26},
                {{{60, 15}, {90, 45}, {125, 75}}, 2200, 28},
                {{{130, 10}, {135, 60}}, 2600, 16}};
    d.hills = 500;
    d.rise = 5;
    d.ground = israel_ground;
    return d;
}

// Korea: a peninsula between two seas, the spine of high ground near the east coast, its spurs
// running south-west, and farmed river valleys to the west; the border across the north.
Ground korea_ground(const CellView& c) {
    if (c.height == 0) return c.noise > 0.25 ? Ground::FARMLAND : Ground::GRASS;
    if (c.slope > 0.28 || c.height > 4600) return Ground::ROCK;
    return c.noise > 0.78 || c.height < 300 ? Ground::GRASS : Ground::FOREST;
}

Design korea() {
    Design d{};
    d.has_sea = true;
    d.land = {{{40, 330}, {30, 256}, {20, 215}, {45, 196}, {28, 172}, {38, 142}, {25, 115}, {40, 90}, {30, 60},
               {50, 30}, {60, -60}, {235, -60}, {230, 40}, {225, 80}, {215, 150}, {208, 200}, {200, 256}, {190, 330}}};
    d.rivers = {{{{172, 128}, {140, 134}, {110, 126}, {82, 130}, {60, 136}, {38, 141}}, RIVER},
                {{{150, 222}, {120, 200}, {92, 176}, {66, 156}, {42, 146}}, RIVER},
                {{{150, 92}, {120, 80}, {92, 74}, {60, 70}, {36, 76}}, RIVER}};
    d.roads = {{{{70, 136}, {80, 175}, {85, 220}, {90, 270}}, ROAD},
               {{{70, 136}, {88, 100}, {105, 70}, {130, 30}, {150, -10}}, ROAD},
               {{{70, 136}, {110, 140}, {130, 150}, {180, 156}, {214, 155}}, ROAD},
               {{{48, 138}, {70, 136}}, ROAD}};
    d.railways = {{{{78, -10}, {84, 60}, {74, 132}, {78, 200}, {88, 270}}, RAILWAY}};
    d.towns = {{"Seoul", {70, 136}, 5}, {"Incheon", {47, 138}, 2.5}, {"Kaesong", {68, 182}, 2},
               {"Pyeongtaek", {76, 96}, 2}, {"Chuncheon", {130, 150}, 2}, {"Gangneung", {212, 155}, 2},
               {"Daejeon", {105, 66}, 3}};
    d.airfields = {airfield("Osan", {84, 108}, 90, 9000, ALLIED),      airfield("Kimpo", {58, 128}, 140, 9000, ALLIED),
                   airfield("Kunsan", {50, 50}, 0, 9000, ALLIED),     airfield("Wonju", {150, 118}, 30, 8000, ALLIED),
                   airfield("Sunchon", {80, 238}, 30, 8500, ENEMY),    airfield("Toksan", {140, 238}, 110, 8500, ENEMY)};
    d.defence_areas = {{{90, 200}, 1.5, ENEMY},  {{130, 212}, 1.5, ENEMY}, {{58, 198}, 1.5, ENEMY},
                       {{170, 210}, 1.5, ENEMY}, {{82, 150}, 1.2, ALLIED}};
    d.ridges = {{{{178, -20}, {192, 60}, {186, 140}, {176, 200}, {160, 270}}, 5200, 45},
                {{{176, 100}, {125, 58}, {80, 28}}, 3500, 24},
                {{{172, 188}, {125, 168}, {95, 210}}, 3800, 24},
                {{{50, 256}, {120, 246}, {175, 256}}, 4500, 30}};
    d.hills = 1400;
    d.rise = 5;
    d.ground = korea_ground;
    return d;
}

// Cyprus: an island in the sea, its forested massif in the south-west, a narrow range along the
// north coast, the farmed plain between them and the long panhandle to the north-east.
Ground cyprus_ground(const CellView& c) {
    if (c.water_distance <= 1.5 && c.height < 300 && c.noise > 0.45) return Ground::SAND;
    if (c.height == 0) return c.noise > 0.4 ? Ground::FARMLAND : Ground::GRASS;
    if (c.slope > 0.22 || c.height > 5600) return Ground::ROCK;
    if (c.height > 2400) return Ground::FOREST;
    return c.noise > 0.6 ? Ground::FOREST : Ground::GRASS;
}

Design cyprus() {
    Design d{};
    d.has_sea = true;
    d.land = {{{24, 118}, {30, 100}, {50, 86}, {75, 80}, {94, 71}, {106, 78}, {125, 88}, {140, 91}, {160, 98},
               {175, 110}, {167, 122}, {166, 132}, {180, 145}, {210, 160}, {241, 175}, {236, 181}, {200, 170},
               {175, 162}, {150, 159}, {120, 161}, {95, 159}, {70, 152}, {56, 140}, {45, 143}, {35, 136}, {22, 129}}};
    // The pond north of Nicosia's runway lies in view of the ground-attack quick start.
    d.lakes = {ellipse({134, 96}, 1.6, 1.1), ellipse({100.5, 131.5}, 0.3, 0.3)};
    d.rivers = {{{{95, 126}, {120, 132}, {150, 128}, {167, 127}}, RIVER}};
    d.roads = {{{{110, 135}, {105, 110}, {92, 90}, {85, 82}}, ROAD},
               {{{110, 135}, {125, 115}, {138, 99}}, ROAD},
               {{{85, 82}, {60, 88}, {42, 98}, {32, 105}}, ROAD},
               {{{110, 135}, {135, 134}, {160, 128}}, ROAD},
               {{{110, 135}, {111, 148}, {108, 156}}, ROAD},
               {{{138, 99}, {155, 112}, {160, 126}}, ROAD}};
    d.railways = {{{{160, 129}, {135, 135}, {110, 137}, {80, 143}, {62, 145}}, RAILWAY}};
    d.towns = {{"Nicosia", {110, 135}, 3.5}, {"Limassol", {85, 83}, 2.5}, {"Larnaca", {138, 99}, 2},
               {"Paphos", {33, 106}, 1.8},   {"Famagusta", {160, 127}, 2}, {"Kyrenia", {108, 156}, 1.2}};
    d.airfields = {airfield("Nicosia", {99, 130}, 110, 9000, ALLIED), airfield("Larnaca", {146, 97}, 40, 9800, ALLIED),
                   airfield("Paphos", {40, 100}, 110, 8800, ALLIED),  airfield("Akrotiri", {98, 76}, 100, 9000, ALLIED),
                   airfield("Ercan", {128, 143}, 100, 9000, ENEMY),   airfield("Gecitkale", {152, 141}, 90, 9000, ENEMY)};
    d.defence_areas = {{{136, 150}, 1.2, ENEMY}, {{178, 152}, 1.2, ENEMY}, {{100, 120}, 1.2, ALLIED}};
    d.ridges = {{{{55, 112}, {72, 117}, {86, 119}}, 6000, 28},
                {{{78, 152}, {120, 154}, {160, 152}, {196, 162}}, 3200, 6},
                {{{200, 166}, {232, 176}}, 1200, 5}};
    d.hills = 500;
    d.rise = 4;
    d.ground = cyprus_ground;
    return d;
}

// Afghanistan: high mountains everywhere, the great range across the north, the river valleys of
// Kabul, Panjshir and Helmand farmed where water reaches them, dry valley floors elsewhere.
Ground afghan_ground(const CellView& c) {
    if (c.height == 0) return c.noise > 0.5 ? Ground::FARMLAND : Ground::SAND;
    if (c.height > 11500) return Ground::SNOW;
    if (c.slope > 0.3 || c.height > 6500) return c.noise > 0.75 ? Ground::SAND : Ground::ROCK;
    return c.noise > 0.45 ? Ground::ROCK : Ground::SAND;
}

Design afghan() {
    Design d{};
    d.has_sea = false;
    d.rivers = {{{{40, 115}, {80, 110}, {120, 104}, {160, 100}, {200, 95}, {262, 90}}, RIVER},
                {{{178, 192}, {152, 160}, {136, 134}, {126, 106}}, RIVER},
                {{{50, 112}, {36, 72}, {22, 32}, {6, -10}}, RIVER},
                {{{130, 216}, {126, 240}, {122, 266}}, RIVER}};
    d.roads = {{{{110, 108}, {116, 140}, {124, 175}, {130, 205}, {128, 240}, {126, 266}}, ROAD},
               {{{110, 108}, {150, 101}, {190, 97}, {262, 91}}, ROAD},
               {{{110, 108}, {100, 80}, {90, 48}, {80, 18}, {72, -10}}, ROAD},
               {{{110, 108}, {80, 112}, {50, 118}}, ROAD}};
    d.towns = {{"Kabul", {110, 108}, 4},    {"Jalalabad", {190, 97}, 2}, {"Charikar", {118, 132}, 1.5},
               {"Bamiyan", {50, 118}, 1.5}, {"Ghazni", {88, 45}, 2},     {"Pul-i-Khumri", {128, 232}, 1.5}};
    d.airfields = {airfield("Bagram", {126, 124}, 30, 10000, ENEMY),  airfield("Kabul", {104, 100}, 110, 10000, ENEMY),
                   airfield("Jalalabad", {182, 92}, 120, 7500, ENEMY), airfield("Shindand", {76, 22}, 0, 9000, ALLIED),
                   airfield("Khost", {236, 70}, 60, 8000, ALLIED)};
    d.defence_areas = {{{116, 116}, 1.5, ENEMY}, {{124, 168}, 1.2, ENEMY}, {{160, 100}, 1.2, ENEMY},
                       {{90, 40}, 1.2, ALLIED}};
    d.ridges = {{{{-10, 150}, {80, 172}, {160, 198}, {266, 240}}, 14500, 55},
                {{{20, 40}, {100, 70}, {180, 58}, {266, 88}}, 9000, 40},
                {{{180, 30}, {256, 48}}, 11000, 30},
                {{{-10, 108}, {60, 126}}, 13000, 35}};
    d.hills = 2500;
    d.rise = 8;
    d.ground = afghan_ground;
    return d;
}

// Nevada: desert basins between long north-south ranges, a lake in the south-east, the city and
// its air base, test ranges and their airfields in the empty middle.
Ground nevada_ground(const CellView& c) {
    if (c.height == 0) return c.noise > 0.8 ? Ground::GRASS : Ground::SAND;
    if (c.height > 10500) return Ground::SNOW;
    if (c.height > 8000 && c.noise > 0.35) return Ground::FOREST;
    if (c.slope > 0.2) return Ground::ROCK;
    return c.noise > 0.5 ? Ground::ROCK : Ground::SAND;
}

Design nevada() {
    Design d{};
    d.has_sea = false;
    d.lakes = {{{212, 28}, {225, 21}, {245, 25}, {254, 34}, {240, 38}, {225, 33}}};
    d.roads = {{{{190, 50}, {150, 76}, {120, 95}, {95, 110}, {80, 160}, {70, 200}, {60, 266}}, ROAD},
               {{{190, 50}, {230, 100}, {266, 130}}, ROAD},
               {{{190, 50}, {160, 10}, {140, -10}}, ROAD},
               {{{198, 60}, {215, 130}, {220, 190}, {225, 266}}, ROAD},
               {{{215, 150}, {170, 170}, {120, 185}, {70, 200}}, ROAD}};
    d.railways = {{{{140, -10}, {188, 46}, {240, 110}, {266, 140}}, RAILWAY}};
    d.towns = {{"Las Vegas", {190, 50}, 5}, {"Tonopah", {70, 200}, 1.5}, {"Beatty", {95, 110}, 1},
               {"Indian Springs", {150, 76}, 1}, {"Caliente", {220, 190}, 1}};
    d.airfields = {airfield("Nellis", {198, 62}, 30, 10000, ALLIED),      airfield("Creech", {146, 82}, 80, 9000, ALLIED),
                   airfield("Groom Lake", {150, 140}, 140, 12000, ENEMY), airfield("Tonopah", {86, 176}, 140, 12000, ENEMY),
                   airfield("Mercury", {112, 88}, 0, 6000, ALLIED)};
    d.defence_areas = {{{130, 150}, 1.5, ENEMY}, {{100, 172}, 1.5, ENEMY}, {{60, 130}, 1.5, ENEMY},
                       {{122, 122}, 1.5, ENEMY}};
    d.ridges = {{{{15, -10}, {25, 110}}, 6500, 11},    {{{30, 150}, {35, 270}}, 7000, 12},
                {{{50, 30}, {60, 110}}, 8000, 12},     {{{100, 215}, {105, 270}}, 8500, 12},
                {{{160, 12}, {165, 68}}, 11000, 14},   {{{128, 105}, {132, 128}}, 6500, 9},
                {{{180, 90}, {190, 180}}, 7500, 12},   {{{235, 140}, {245, 256}}, 8000, 12},
                {{{75, 120}, {80, 150}}, 5000, 9},     {{{135, 210}, {150, 256}}, 7000, 11},
                {{{205, -10}, {215, 15}}, 4000, 8}};
    d.hills = 0;
    d.rise = 4;
    d.ground = nevada_ground;
    return d;
}

}  // namespace

Design theatre_design(int zone) {
    switch (zone) {
    case 0: return israel();
    case 1: return korea();
    case 2: return cyprus();
    case 3: return afghan();
    case 4: return nevada();
    }
    throw std::out_of_range("no war zone " + std::to_string(zone));
}

}  // namespace vyr::vyrgen
