// Buildings, installations and scenery of the theatres.
#include <cmath>
#include <numbers>

#include "tools/vyrgen/noise.h"
#include "tools/vyrgen/objects/shapes.h"

namespace vyr::vyrgen {

namespace {

// 0..1, fixed for each object number, so that buildings of one kind still differ.
double variant(int32_t number, uint32_t salt) { return (mix_bits(uint32_t(number) * 7919u + salt) % 1000) / 1000.0; }

Model fixed(uint8_t flags = SOLID | CASTS_SHADOW) {
    Model model;
    model.unrotated = true;
    model.flags = flags;
    return model;
}

Model building(Shape shape, int32_t number) {
    Model model = fixed();
    Mesh& m = model.mesh;
    const double w = 30 + 40 * variant(number, 1), d = 30 + 40 * variant(number, 2);
    switch (shape) {
    case Shape::TOWER_BLOCK: {
        const double h = 80 + 120 * variant(number, 3);
        m.skinned_box({-w / 2, -d / 2, 0}, {w / 2, d / 2, h}, colour::LIGHT_GREY, colour::GREY, Skin::WINDOWS, 20);
        m.box({-4, -4, h}, {4, 4, h + 8}, colour::GREY);
        break;
    }
    case Shape::HOUSE:
    case Shape::HUT: {
        const double s = shape == Shape::HUT ? 0.5 : 0.7;
        m.skinned_box({-w * s / 2, -d * s / 2, 0}, {w * s / 2, d * s / 2, 10}, colour::SAND, colour::TAN, Skin::BRICK, 30);
        if (number % 3 == 0) m.pyramid({-w * s / 2, -d * s / 2, 0}, {w * s / 2, d * s / 2, 10}, 0, d * s / 2, 16, colour::DARK_RED);
        break;
    }
    case Shape::MOSQUE:
        m.skinned_box({-25, -25, 0}, {25, 25, 22}, colour::SAND, colour::TAN, Skin::BRICK, 25);
        m.tube_z(0, 0, 22, 14, 32, 12, 8, colour::SAND);
        m.tube_z(0, 0, 32, 12, 42, 0, 8, colour::BLUE);
        m.tube_z(22, 22, 0, 3, 70, 2.5, 6, colour::SAND);
        m.tube_z(22, 22, 70, 3, 78, 0, 6, colour::BLUE);
        break;
    case Shape::BARRACKS:
        m.skinned_box({-15, -50, 0}, {15, 50, 12}, colour::LIGHT_OLIVE, colour::OLIVE, Skin::WINDOWS, 25);
        m.pyramid({-15, -50, 0}, {15, 50, 12}, 15, 0, 19, colour::DARK_GREY);
        break;
    default: {
        const double h = 15 + 30 * variant(number, 4);
        const bool brick = variant(number, 5) < 0.4;
        m.skinned_box({-w / 2, -d / 2, 0}, {w / 2, d / 2, h}, brick ? colour::BROWN : colour::LIGHT_GREY, colour::GREY,
                      brick ? Skin::BRICK : Skin::WINDOWS, 20);
        if (variant(number, 6) < 0.5) m.box({-w / 4, -d / 4, h}, {w / 4, d / 4, h + 6}, colour::GREY);
        break;
    }
    }
    return model;
}

Model hangar(Shape shape, int32_t number) {
    Model model;
    model.flags = SOLID | CASTS_SHADOW;
    Mesh& m = model.mesh;
    if (shape == Shape::SHELTER) {  // a low concrete arch with its door to the front
        std::vector<std::pair<double, double>> arch;
        for (int i = 0; i <= 6; ++i) {
            const double a = std::numbers::pi * i / 6;
            arch.push_back({36 * std::cos(a), 24 * std::sin(a)});
        }
        m.prism_y(arch, -50, 40, colour::TAN);
        m.box({-30, 40, 0}, {30, 41, 20}, colour::DARK_GREY);
        return model;
    }
    const double span = number == 904 ? 160 : 100;
    m.box({-span / 2, -60, 0}, {span / 2, 60, 30}, colour::GREY);
    m.pyramid({-span / 2, -60, 0}, {span / 2, 60, 30}, span / 2, 0, 42, colour::DARK_GREY);
    // Counter-clockwise seen from the front, as every face: the shutter faces out of the door.
    m.textured({{{span * 0.4, 60.1, 0}, 0, 63}, {{-span * 0.4, 60.1, 0}, 63, 63}, {{-span * 0.4, 60.1, 26}, 63, 0},
                {{span * 0.4, 60.1, 26}, 0, 0}},
               colour::GREY, Skin::SHUTTER);
    return model;
}

Model tower(Shape shape, int32_t number) {
    Model model = fixed();
    Mesh& m = model.mesh;
    switch (shape) {
    case Shape::CONTROL_TOWER: {
        const double h = number == 899 ? 25 : 45;
        m.skinned_box({-12, -12, 0}, {12, 12, h}, colour::WHITE, colour::GREY, Skin::WINDOWS, 20);
        m.tube_z(0, 0, h, 11, h + 10, 13, 8, colour::DARK_BLUE);
        m.tube_z(0, 0, h + 10, 13, h + 12, 4, 8, colour::GREY);
        break;
    }
    case Shape::RADAR_TOWER:
        m.box({-5, -5, 0}, {5, 5, 60}, colour::LIGHT_GREY);
        m.tube_z(0, 0, 60, 9, 72, 9, 10, colour::WHITE);
        m.tube_z(0, 0, 72, 9, 78, 0, 10, colour::WHITE);
        break;
    case Shape::RADAR_SITE:
        m.box({-20, -15, 0}, {20, 15, 12}, colour::OLIVE);
        m.box({-1.5, -1.5, 12}, {1.5, 1.5, 30}, colour::GREY);
        m.plate({{-18, 0, 28}, {18, 0, 28}, {16, -4, 44}, {-16, -4, 44}}, colour::LIGHT_GREY);
        break;
    case Shape::WATER_TOWER:
        for (double x : {-6.0, 6.0})
            for (double y : {-6.0, 6.0}) m.box({x - 0.6, y - 0.6, 0}, {x + 0.6, y + 0.6, 40}, colour::DARK_GREY);
        m.tube_z(0, 0, 40, 11, 55, 11, 10, colour::OLIVE);
        m.tube_z(0, 0, 55, 11, 60, 0, 10, colour::OLIVE);
        break;
    case Shape::MAST:
    case Shape::FLOODLIGHT: {
        const double h = shape == Shape::MAST ? 300 : 60;
        m.tube_z(0, 0, 0, shape == Shape::MAST ? 6 : 1.5, h, 0.8, 4, shape == Shape::MAST ? colour::RED : colour::GREY);
        m.lamps({{0, 0, h + 1}}, colour::WHITE);
        if (shape == Shape::FLOODLIGHT) m.glowing({{-4, 1, h - 4}, {4, 1, h - 4}, {4, 1, h}, {-4, 1, h}}, colour::YELLOW);
        break;
    }
    case Shape::STACK:
        m.tube_z(0, 0, 0, 9, 220, 5, 8, colour::BROWN);
        m.tube_z(0, 0, 220, 5, 224, 5.5, 8, colour::BLACK);
        break;
    case Shape::COOLING_TOWER:
        m.tube_z(0, 0, 0, 70, 90, 42, 12, colour::LIGHT_GREY);
        m.tube_z(0, 0, 90, 42, 150, 50, 12, colour::LIGHT_GREY);
        break;
    case Shape::SILO:
        for (double x : {-14.0, 0.0, 14.0}) {
            m.tube_z(x, 0, 0, 7, 70, 7, 8, colour::LIGHT_GREY);
            m.tube_z(x, 0, 70, 7, 76, 0, 8, colour::GREY);
        }
        break;
    default:
        break;
    }
    return model;
}

Model tanks(Shape shape, int32_t number) {
    Model model = fixed();
    Mesh& m = model.mesh;
    if (shape == Shape::SPHERE_TANK) {
        m.tube_z(0, 0, 0, 2, 14, 20, 10, colour::WHITE);
        m.tube_z(0, 0, 14, 20, 26, 20, 10, colour::WHITE);
        m.tube_z(0, 0, 26, 20, 40, 2, 10, colour::WHITE);
        return model;
    }
    const int count = number == 108 ? 3 : 2;
    for (int i = 0; i < count; ++i) {
        const double x = (i - (count - 1) / 2.0) * 50;
        m.tube_z(x, 0, 0, 20, 30, 20, 10, colour::LIGHT_GREY);
        m.tube_z(x, 0, 30, 20, 34, 4, 10, colour::GREY);
    }
    return model;
}

Model installation(Shape shape, int32_t number) {
    Model model = fixed();
    Mesh& m = model.mesh;
    switch (shape) {
    case Shape::CONVEYOR:
        m.prism_y({{-3, 20}, {3, 20}, {3, 26}, {-3, 26}}, -60, 60, colour::DARK_GREY);
        for (double y : {-50.0, 0.0, 50.0}) m.box({-1, y - 1, 0}, {1, y + 1, 20}, colour::GREY);
        break;
    case Shape::COAL_HEAP:
        m.pyramid({-40, -30, 0}, {40, 30, 0}, 30, 20, 25, colour::BLACK);
        break;
    case Shape::BUNKER:
        m.pyramid({-20, -20, 0}, {20, 20, 4}, 8, 8, 12, colour::LIGHT_GREY);
        m.box({-20, -20, 0}, {20, 20, 4}, colour::LIGHT_GREY);
        m.box({-8, 20, 2}, {8, 21, 5}, colour::BLACK);
        break;
    case Shape::TENT:
        model.unrotated = false;
        if (number == 722) {
            m.tube_z(0, 0, 0, 12, 7, 12, 8, colour::SAND);
            m.tube_z(0, 0, 7, 12, 12, 0, 8, colour::TAN);
        } else {
            m.prism_y({{-9, 0}, {9, 0}, {0, 10}}, -14, 14, colour::OLIVE);
        }
        break;
    case Shape::FUEL_BLADDER:
        m.pyramid({-12, -25, 0}, {12, 25, 1}, 6, 6, 4, colour::BLACK);
        m.box({-12, -25, 0}, {12, 25, 1}, colour::BLACK);
        break;
    case Shape::PALLETS:
        for (double x : {-10.0, 0.0, 10.0})
            for (double y : {-6.0, 6.0}) m.box({x - 4, y - 4, 0}, {x + 4, y + 4, 5}, colour::BROWN, colour::OLIVE);
        break;
    case Shape::WELLHEAD:
        m.box({-3, -3, 0}, {3, 3, 6}, colour::YELLOW);
        m.tube_z(0, 0, 6, 1, 10, 1, 6, colour::RED);
        break;
    case Shape::DERRICK:
        m.tube_z(0, 0, 0, 10, 50, 1.5, 4, colour::DARK_RED);
        m.box({-0.5, 0, 45}, {0.5, 30, 47}, colour::DARK_RED);
        break;
    case Shape::BLAST_WALL:
        model.unrotated = false;
        m.prism_x({{-3, 0}, {3, 0}, {1, 12}, {-1, 12}}, -60, 60, colour::LIGHT_GREY);
        break;
    case Shape::BREASTWORK:
        model.unrotated = false;
        m.prism_x({{-6, 0}, {6, 0}, {2, 6}, {-2, 6}}, -30, 30, colour::BROWN);
        break;
    case Shape::APPROACH_LIGHTS:
        model.unrotated = false;
        model.flags = 0;
        m.lamps({{-12, 0, 3}, {-6, 0, 3}, {0, 0, 3}, {6, 0, 3}, {12, 0, 3}, {0, -40, 3}, {0, -80, 3}, {0, -120, 3}},
                colour::WHITE);
        m.box({-14, -0.5, 0}, {14, 0.5, 2.5}, colour::DARK_GREY);
        break;
    default:
        break;
    }
    return model;
}

Model crossing(Shape shape, int32_t number) {
    Model model;
    model.flags = SOLID;
    Mesh& m = model.mesh;
    if (shape == Shape::EMBANKMENT) {
        m.prism_x({{-60, 0}, {60, 0}, {60, 12}, {-60, 0.5}}, -20, 20, colour::BROWN);
        return model;
    }
    const bool rail = number == 480 || number == 481 || number == 1183;
    const double length = 400, deck = 30;
    m.box({-deck / 2, -length / 2, 28}, {deck / 2, length / 2, 32}, colour::GREY, rail ? colour::BROWN : colour::DARK_GREY);
    for (double y = -length / 2 + 40; y < length / 2; y += 80)
        m.box({-deck / 2 + 2, y - 3, 0}, {deck / 2 - 2, y + 3, 28}, colour::LIGHT_GREY);
    if (rail || number == 215)
        for (double s : {-1.0, 1.0})
            for (double y = -length / 2; y < length / 2; y += 40)
                m.plate({{s * deck / 2, y, 32}, {s * deck / 2, y + 40, 32}, {s * deck / 2, y + 20, 50}}, colour::DARK_GREY);
    return model;
}

Model scenery(Shape shape, int32_t number) {
    Model model;
    Mesh& m = model.mesh;
    switch (shape) {
    case Shape::TREE: {
        model.flags = CASTS_SHADOW;
        const double h = 25 + 20 * variant(number, 7);
        const bool conifer = number == 19 || number == 141;
        m.tube_z(0, 0, 0, 1.2, h * 0.35, 1.0, 4, colour::BROWN);
        if (conifer) {
            m.tube_z(0, 0, h * 0.25, 9, h, 0, 6, colour::DARK_OLIVE);
        } else {
            m.tube_z(0, 0, h * 0.3, 6, h * 0.55, 12, 6, colour::OLIVE);
            m.tube_z(0, 0, h * 0.55, 12, h, 3, 6, colour::OLIVE);
        }
        break;
    }
    case Shape::SCRUB:
        m.tube_z(0, 0, 0, 5, 3, 4, 5, colour::LIGHT_OLIVE);
        m.tube_z(0, 0, 3, 4, 5, 0, 5, colour::LIGHT_OLIVE);
        break;
    case Shape::CRATER:
    case Shape::SPLASH: {
        const bool water = shape == Shape::SPLASH;
        const double r = 10 + (number % 4) * 6;
        if (water && number == 384) {  // a column of spray
            model.flags = 0;
            m.tube_z(0, 0, 0, r * 0.6, r * 2.5, r * 0.2, 6, colour::WHITE);
            break;
        }
        std::vector<Point> rim, pit;
        for (int i = 0; i < 8; ++i) {
            const double a = 2 * std::numbers::pi * i / 8;
            rim.push_back({r * std::cos(a), r * std::sin(a), 0});
            pit.push_back({r * 0.6 * std::cos(a), r * 0.6 * std::sin(a), 0});
        }
        m.glowing(rim, water ? colour::WHITE : colour::BROWN);
        m.glowing(pit, water ? colour::LIGHT_GREY : colour::BLACK);
        break;
    }
    case Shape::ROAD_MARK: {
        const bool ns = number == 127;
        const Point a = ns ? Point{6, 0, 0} : Point{0, 6, 0};
        const Point b = ns ? Point{0, 40, 0} : Point{40, 0, 0};
        m.glowing({Point{0, 0, 0} - a - b, Point{0, 0, 0} + a - b, Point{0, 0, 0} + a + b, Point{0, 0, 0} - a + b},
                  colour::DARK_GREY);
        break;
    }
    case Shape::RUNWAY_MARK: {
        // White bars on the runway, across or along it.
        const bool along = number == 295 || number == 287 || number == 291 || number == 505;
        for (int i = -3; i <= 3; ++i) {
            const double c = i * 12;
            const std::vector<Point> bar = along
                                               ? std::vector<Point>{{c - 2, -40, 0}, {c + 2, -40, 0}, {c + 2, 40, 0}, {c - 2, 40, 0}}
                                               : std::vector<Point>{{-40, c - 2, 0}, {40, c - 2, 0}, {40, c + 2, 0}, {-40, c + 2, 0}};
            m.glowing(bar, number == 505 ? colour::GREY : colour::WHITE);
        }
        break;
    }
    case Shape::FLAG_RED:
    case Shape::FLAG_BLUE: {
        model.flags = SOLID;
        const uint8_t cloth = shape == Shape::FLAG_RED ? colour::RED : colour::BLUE;
        m.tube_z(0, 0, 0, 0.4, 30, 0.3, 4, colour::WHITE);
        // Four states of the flag in the wind, chosen by the instance's state.
        std::vector<std::function<void(Mesh&)>> waves;
        for (int k = 0; k < 4; ++k)
            waves.push_back([cloth, k](Mesh& f) {
                const double dip = 1.0 + k;
                f.plate({{0, 0, 29}, {12, 0, 29 - dip}, {12, 0, 22 - dip}, {0, 0, 22}}, cloth);
            });
        m.switch_on_state(0, waves);
        break;
    }
    default:
        m.box({-4, -4, 0}, {4, 4, 6}, colour::BROWN, colour::TAN);  // a crate
        model.flags = SOLID;
        break;
    }
    return model;
}

}  // namespace

Model build_structure(Shape shape, int32_t number) {
    switch (shape) {
    case Shape::BUILDING: case Shape::TOWER_BLOCK: case Shape::HOUSE: case Shape::HUT: case Shape::MOSQUE:
    case Shape::BARRACKS:
        return building(shape, number);
    case Shape::HANGAR: case Shape::SHELTER: return hangar(shape, number);
    case Shape::CONTROL_TOWER: case Shape::RADAR_TOWER: case Shape::RADAR_SITE: case Shape::WATER_TOWER:
    case Shape::MAST: case Shape::FLOODLIGHT: case Shape::STACK: case Shape::COOLING_TOWER: case Shape::SILO:
        return tower(shape, number);
    case Shape::STORAGE_TANKS: case Shape::SPHERE_TANK: return tanks(shape, number);
    case Shape::BRIDGE: case Shape::EMBANKMENT: return crossing(shape, number);
    case Shape::CONVEYOR: case Shape::COAL_HEAP: case Shape::BUNKER: case Shape::TENT: case Shape::FUEL_BLADDER:
    case Shape::PALLETS: case Shape::WELLHEAD: case Shape::DERRICK: case Shape::BLAST_WALL: case Shape::BREASTWORK:
    case Shape::APPROACH_LIGHTS:
        return installation(shape, number);
    default: return scenery(shape, number);
    }
}

}  // namespace vyr::vyrgen
