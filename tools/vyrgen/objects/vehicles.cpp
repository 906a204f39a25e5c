// Ground vehicles, trains, ships and boats.
#include <cmath>
#include <numbers>

#include "tools/vyrgen/objects/shapes.h"

namespace vyr::vyrgen {

namespace {

using Section = std::vector<std::pair<double, double>>;

// Running gear down both sides: dark track or wheels.
void tracks(Mesh& m, double half_width, double length, double height) {
    for (double s : {-1.0, 1.0})
        m.prism_y({{s * half_width - 0.7 * s, 0}, {s * half_width, 0}, {s * half_width, height}, {s * half_width - 0.7 * s, height}},
                  -length / 2, length / 2, colour::BLACK);
    for (double s : {-1.0, 1.0})
        m.prism_y({{s * half_width, 0.4}, {s * half_width + 0.7 * s, 0.4}, {s * half_width + 0.7 * s, height - 0.3},
                   {s * half_width, height - 0.3}},
                  -length / 2 + 1, length / 2 - 1, colour::BLACK);
}

void wheels(Mesh& m, double half_width, const std::vector<double>& ys, double r) {
    for (double y : ys)
        for (double s : {-1.0, 1.0}) {
            Section disc;
            for (int i = 0; i < 6; ++i) {
                const double a = std::numbers::pi * i / 3;
                disc.push_back({y + r * std::cos(a), r + r * std::sin(a)});
            }
            m.prism_x(disc, s > 0 ? half_width : -half_width - 0.8, s > 0 ? half_width + 0.8 : -half_width, colour::BLACK);
        }
}

// Road wheels painted on the tracks' outer faces, where no skirt hides them.
void road_wheels(Mesh& m, int count, double half_width) {
    for (int i = 0; i < count; ++i) {
        const double y = -9.6 + 19.2 * i / (count - 1);
        for (double s : {-1.0, 1.0}) {
            std::vector<Point> disc;
            for (int k = 0; k < 6; ++k) {
                const double a = s * std::numbers::pi * k / 3;  // counter-clockwise seen from its side
                disc.push_back({s * half_width, y + 1.15 * std::cos(a), 1.3 + 1.15 * std::sin(a)});
            }
            m.polygon(disc, colour::DARK_GREY);
        }
    }
}

// The main battle tanks are told apart by their turrets: where they stand on the hull and their
// shape, from the cast domes of the older eastern tanks to the flat armour boxes of the western.
enum class Turret { CAST_DOME, LOW_DOME, FLAT_WEDGE, SLOPED_BOX, TALL_BOX, REAR_WEDGE };

struct TankLook {
    Turret turret;
    double turret_y;  // the turret ring's centre along the hull
    uint8_t paint, trim;
    bool skirts;
    int wheels;
};

TankLook tank_look(int32_t number) {
    switch (number) {
    case 90: return {Turret::CAST_DOME, 0, colour::OLIVE, colour::DARK_OLIVE, false, 5};               // T-62
    case 93: return {Turret::LOW_DOME, 0.5, colour::LIGHT_OLIVE, colour::DARK_OLIVE, true, 6};         // T-80
    case 68: return {Turret::SLOPED_BOX, -0.5, colour::SAND, colour::TAN, true, 6};                    // Challenger
    case 244: return {Turret::FLAT_WEDGE, -0.5, colour::SAND, colour::TAN, true, 7};                   // M1A1
    case 456: return {Turret::TALL_BOX, -0.5, colour::DARK_OLIVE, colour::BLACK, true, 7};             // Leopard
    case 1050: case 1053: return {Turret::REAR_WEDGE, -4.5, colour::GREY, colour::DARK_GREY, true, 6};  // Merkava
    default: return {Turret::LOW_DOME, 1, colour::DARK_OLIVE, colour::BROWN, false, 6};               // T-72
    }
}

// Every turret's top is 6.6 ft up and its gun's muzzle 18.5 ft ahead, whatever its shape.
void turret(Mesh& m, const TankLook& look) {
    const double y = look.turret_y;
    double gun_from = y + 3.5;
    switch (look.turret) {
    case Turret::CAST_DOME:
        m.tube_z(0, y, 4.4, 4.2, 5.9, 3.6, 10, look.paint);
        m.tube_z(0, y, 5.9, 3.6, 6.6, 1.6, 10, look.paint);
        m.tube_y(0, 5.6, 11.5, 0.6, 13, 0.6, 6, look.trim);  // bore evacuator
        break;
    case Turret::LOW_DOME:
        m.tube_z(0, y, 4.4, 4.4, 5.6, 3.8, 10, look.paint);
        m.tube_z(0, y, 5.6, 3.8, 6.1, 2.4, 10, look.paint);
        m.tube_z(1.8, y - 1.2, 6.1, 0.8, 6.6, 0.7, 6, look.trim);  // commander's cupola
        m.box({-1.7, y + 3.0, 5.6}, {-1.0, y + 3.7, 6.3}, colour::DARK_GREY);  // searchlight
        for (double x : {-3.2, -2.6, 2.6, 3.2}) m.tube_y(x, 5.5, y + 2.4, 0.25, y + 3.4, 0.25, 4, colour::BLACK);
        m.tube_y(0, 5.6, 10.5, 0.55, 12, 0.55, 6, look.trim);
        break;
    case Turret::FLAT_WEDGE:
        m.prism_x({{y - 6.5, 5.0}, {y - 6.0, 6.2}, {y + 3.0, 6.2}, {y + 5.2, 5.0}, {y + 4.6, 4.4}, {y - 5.5, 4.4}}, -4.6,
                  4.6, look.paint);
        m.tube_z(-2.0, y - 2.0, 6.2, 0.9, 6.6, 0.8, 6, look.trim);  // commander's cupola
        gun_from = y + 5;
        break;
    case Turret::SLOPED_BOX:
        m.prism_x({{y - 5, 4.4}, {y - 5, 6.6}, {y + 2, 6.6}, {y + 4.5, 4.8}, {y + 4.5, 4.4}}, -4.2, 4.2, look.paint);
        gun_from = y + 4.3;
        break;
    case Turret::TALL_BOX:
        m.box({-4.0, y - 3.5, 4.4}, {4.0, y + 3.8, 6.6}, look.paint);
        m.box({-3.4, y - 6.5, 4.8}, {3.4, y - 3.5, 6.4}, look.paint);  // bustle
        m.box({-4.05, y - 2.5, 5.2}, {4.05, y + 2.5, 5.6}, look.trim);  // a dark band round its sides
        gun_from = y + 3.7;
        break;
    case Turret::REAR_WEDGE:
        m.prism_x({{y - 4, 4.4}, {y - 4, 6.0}, {y - 2, 6.6}, {y + 3, 6.6}, {y + 8, 4.8}, {y + 8, 4.4}}, -3.6, 3.6,
                  look.paint);
        m.plate({{-3.4, y - 4.1, 4.4}, {3.4, y - 4.1, 4.4}, {3.4, y - 4.1, 6.0}, {-3.4, y - 4.1, 6.0}}, look.trim);
        gun_from = y + 7.5;
        break;
    }
    m.tube_y(0, 5.6, gun_from, 0.45, 18.5, 0.35, 6, colour::DARK_OLIVE);
}

Model main_battle_tank(int32_t number) {
    const TankLook look = tank_look(number);
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    Mesh& m = model.mesh;
    tracks(m, 5.8, 24, 3.0);
    // The engine's deck behind, a sloping glacis before; the Merkava carries its engine in front.
    const double glacis = look.turret == Turret::REAR_WEDGE ? 1.5 : 8;
    m.prism_x({{-11.5, 1.2}, {-11.5, 4.4}, {glacis, 4.4}, {12, 2.4}, {12, 1.2}}, -5, 5, look.paint);
    if (look.skirts)
        for (double s : {-1.0, 1.0})
            m.box({s > 0 ? 5.9 : -6.5, -11, 1.6}, {s > 0 ? 6.5 : -5.9, 11, 3.0}, look.paint);
    road_wheels(m, look.wheels, 6.5);
    turret(m, look);
    return model;
}

Model tank(Shape shape, int32_t number) {
    if (shape == Shape::TANK) return main_battle_tank(number);
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    Mesh& m = model.mesh;
    const uint8_t paint = colour::OLIVE;
    const double z0 = shape == Shape::DUG_IN ? -2.5 : 0;
    if (shape == Shape::DUG_IN) m.pyramid({-9, -14, -2.5}, {9, 14, 0}, 4, 4, 0.8, colour::BROWN);
    if (shape != Shape::DUG_IN) tracks(m, 5.8, 24, 3.0);
    m.prism_y({{-5, z0 + 1.2}, {5, z0 + 1.2}, {5, z0 + 4.4}, {-5, z0 + 4.4}}, -11.5, 9, paint);
    m.prism_y({{-5, z0 + 1.2}, {5, z0 + 1.2}, {5, z0 + 4.4}, {-5, z0 + 4.4}}, 9, 12, paint);
    m.tube_z(0, -1, z0 + 4.4, 4.0, z0 + 6.6, 3.4, 8, paint);
    m.tube_y(0, z0 + 5.6, 2.5, 0.45, 18.5, 0.35, 6, colour::DARK_OLIVE);
    if (shape == Shape::ENGINEER_TANK)
        m.box({-5.5, 12, 0.5}, {5.5, 13.5, 4.5}, colour::DARK_GREY);  // dozer blade
    return model;
}

Model apc(Shape, int32_t number) {
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    Mesh& m = model.mesh;
    const uint8_t paint = number == 96 ? colour::SAND : number == 201 || number == 256 ? colour::DARK_OLIVE : colour::OLIVE;
    const bool wheeled = number == 201 || number == 256;
    if (wheeled) wheels(m, 4.0, {-6, 5}, 1.6);
    else tracks(m, 5.0, 20, 2.6);
    m.prism_y({{-4.6, 1.2}, {4.6, 1.2}, {4.6, 5.6}, {3.6, 6.6}, {-3.6, 6.6}, {-4.6, 5.6}}, -10, 7, paint);
    m.prism_y({{-4.6, 1.2}, {4.6, 1.2}, {4.6, 4.5}, {-4.6, 5.6}}, 7, 10, paint);
    // What each carries on its roof, up to 7.8 ft.
    switch (number) {
    case 54:  // a turret with a long cannon and a missile tube beside it
        m.tube_z(0.5, 1, 6.6, 1.6, 7.8, 1.4, 6, paint);
        m.tube_y(0.5, 7.2, 1, 0.2, 9.8, 0.2, 4, colour::DARK_GREY);
        m.tube_y(-1.6, 7.4, -1.5, 0.3, 1.5, 0.3, 6, colour::DARK_OLIVE);
        break;
    case 96:  // a broad two-man turret, its short cannon central
        m.tube_z(0, 0, 6.6, 2.4, 7.8, 2.0, 8, paint);
        m.tube_y(0, 7.2, 2, 0.22, 6.5, 0.2, 4, colour::DARK_GREY);
        break;
    case 208: case 496: case 532:  // a box of a hull, only a cupola with its machine gun on it
        m.tube_z(-2, 4, 6.6, 1.0, 7.8, 0.9, 6, colour::DARK_OLIVE);
        m.tube_y(-2, 7.5, 4, 0.1, 7, 0.1, 4, colour::BLACK);
        if (number != 208) m.box({-3, -9, 6.6}, {3, -3, 7.4}, colour::DARK_OLIVE);  // the radio cabin
        break;
    case 201:  // a small cone of a turret
        m.tube_z(0, 2, 6.6, 1.4, 7.8, 0.9, 8, paint);
        m.tube_y(0, 7.2, 3, 0.12, 6.5, 0.1, 4, colour::BLACK);
        break;
    case 256:  // a rail of six wire-guided missiles in place of a turret
        m.box({-2.6, -2, 6.6}, {2.6, 2, 7.0}, colour::DARK_GREY);
        for (double x : {-2.0, -1.2, -0.4, 0.4, 1.2, 2.0})
            m.tube_y(x, 7.8 - 0.35 * std::sqrt(0.5), -1.5, 0.35, 2.5, 0.2, 4, colour::LIGHT_OLIVE);
        break;
    default:
        m.tube_z(0.5, 1, 6.6, 1.6, 7.8, 1.4, 6, paint);
        m.tube_y(0.5, 7.2, 1, 0.2, 6.5, 0.2, 4, colour::DARK_GREY);
        break;
    }
    return model;
}

Model truck(Shape shape, int32_t number) {
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    Mesh& m = model.mesh;
    if (shape == Shape::CAR) {
        const uint8_t paint = number % 2 ? colour::RED : colour::BLUE;
        wheels(m, 2.6, {-4.5, 4.5}, 1.0);
        m.box({-2.8, -7, 1}, {2.8, 7, 3.2}, paint);
        m.prism_y({{-2.6, 3.2}, {2.6, 3.2}, {2.2, 4.6}, {-2.2, 4.6}}, -3.5, 2.5, colour::DARK_BLUE);
        return model;
    }
    if (shape == Shape::JEEP) {
        const uint8_t paint = number == 924 ? colour::TAN : colour::OLIVE;
        wheels(m, 2.8, {-4, 4}, 1.2);
        m.box({-3.2, -6.5, 1.2}, {3.2, 6.5, 3.8}, paint);
        m.box({-3.0, -5.5, 3.8}, {3.0, 1, 6}, paint, colour::DARK_OLIVE);
        m.prism_y({{-3.0, 3.8}, {3.0, 3.8}, {3.0, 5.6}, {-3.0, 5.6}}, 1, 1.3, colour::DARK_BLUE);
        return model;
    }
    const bool civilian = number == 216 || number == 426;
    const bool fuel = number == 398;
    const uint8_t paint = civilian ? (number == 216 ? colour::RED : colour::BLUE) : colour::OLIVE;
    wheels(m, 3.4, {-7, -3.5, 7}, 1.5);
    m.box({-3.8, 3.5, 1.2}, {3.8, 10, 7.5}, paint);
    m.prism_y({{-3.6, 5.5}, {3.6, 5.5}, {3.6, 7.2}, {-3.6, 7.2}}, 10, 10.1, colour::DARK_BLUE);
    if (fuel) {
        m.tube_y(0, 5, -11, 3.2, 3, 3.2, 8, colour::LIGHT_GREY);
    } else {
        m.box({-4, -11, 2.5}, {4, 3, 4}, colour::BROWN);
        m.box({-4, -11, 4}, {4, 3, 9}, civilian ? colour::LIGHT_GREY : colour::DARK_OLIVE);
    }
    return model;
}

Model sam_vehicle(Shape shape, int32_t number) {
    Model model = apc(shape, number);
    Mesh& m = model.mesh;
    if (number == 80) {  // a launcher of four box canisters on a trailer
        m.box({-4, -6, 7}, {4, 8, 12}, colour::OLIVE, colour::DARK_OLIVE);
        return model;
    }
    for (double s : {-1.0, 1.0})
        for (double k : {1.0, 2.0}) m.tube_y(s * 1.2 * k, 8.5, -4, 0.5, 6, 0.3, 6, colour::WHITE);
    m.box({-1, -3, 6.6}, {1, 2, 8.5}, colour::DARK_OLIVE);
    m.plate({{-1.6, 2, 9}, {1.6, 2, 9}, {1.6, 2, 12}, {-1.6, 2, 12}}, colour::DARK_GREY);  // radar
    return model;
}

Model aaa(Shape shape, int32_t number) {
    Model model;
    if (shape == Shape::AAA_VEHICLE) {
        model = apc(shape, number);
        if (number == 99) {  // its turret is the drone's part
            model.mesh.sub_object(0);
            model.parts.push_back({0, {0, 0, 6.6}});
            return model;
        }
    }
    Mesh& m = model.mesh;
    const double z = shape == Shape::AAA_VEHICLE ? 6.6 : 0;
    m.box({-3, -2.5, z}, {3, 3, z + 2.6}, colour::OLIVE, colour::DARK_OLIVE);
    for (double s : {-1.0, 1.0})
        for (double k : {0.6, 1.4}) m.tube_y(s * k, z + 1.8, 3, 0.15, 12, 0.12, 4, colour::BLACK);
    m.plate({{-1.5, -2.5, z + 2.6}, {1.5, -2.5, z + 2.6}, {1.5, -3, z + 5.4}, {-1.5, -3, z + 5.4}}, colour::DARK_GREY);
    return model;
}

Model launcher(Shape, int32_t number) {
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    Mesh& m = model.mesh;
    wheels(m, 3.8, {-9, -5, 3, 8}, 1.6);
    m.box({-4, 6, 1.4}, {4, 12, 7.5}, colour::OLIVE);
    m.box({-4, -12, 1.4}, {4, 6, 3.5}, colour::DARK_OLIVE);
    if (number == 71 || number == 207) {  // one big missile on its erector
        m.tube_y(0, 5.0, -12, 1.4, 8, 1.4, 8, number == 71 ? colour::LIGHT_OLIVE : colour::WHITE);
        m.tube_y(0, 5.0, 8, 1.4, 11, 0, 8, colour::LIGHT_OLIVE);
    } else {  // a box of rocket tubes
        m.box({-3.6, -11, 3.5}, {3.6, 2, 7.5}, colour::DARK_OLIVE, colour::OLIVE);
        m.box({-3.2, 2, 4}, {3.2, 2.2, 7}, colour::BLACK);
    }
    return model;
}

Model artillery(Shape, int32_t number) {
    Model model;
    model.flags = SOLID | CASTS_SHADOW;
    Mesh& m = model.mesh;
    if (number == 299) {  // self-propelled: a tank with a big box turret
        tracks(m, 5.4, 22, 2.8);
        m.box({-4.8, -10, 1.2}, {4.8, 10, 4.4}, colour::OLIVE);
        m.box({-4.4, -8, 4.4}, {4.4, 2, 9}, colour::OLIVE, colour::DARK_OLIVE);
        m.tube_y(0, 7, 2, 0.5, 16, 0.45, 6, colour::DARK_OLIVE);
        return model;
    }
    if (number == 206) {  // a coastal gun in a concrete pit
        m.tube_z(0, 0, 0, 12, 4, 10, 10, colour::LIGHT_GREY);
        m.box({-3, -4, 4}, {3, 4, 8}, colour::GREY);
        m.tube_y(0, 6.5, 4, 0.6, 22, 0.5, 6, colour::DARK_GREY);
        return model;
    }
    if (number == 852 || number == 966) return build_machine_gun(number);
    const double scale = number == 792 ? 0.25 : 1.0;
    m.wing({0.3, -1, 1.2 * scale}, {0.3, -14 * scale, 0.2}, {3 * scale, -1, 1.2 * scale}, {5 * scale, -14 * scale, 0.2}, 0.5,
           colour::DARK_OLIVE, true);  // split trail
    m.box({-2.5 * scale, -2 * scale, 1 * scale}, {2.5 * scale, 2 * scale, 3.5 * scale}, colour::OLIVE);  // shield
    m.tube_y(0, 3 * scale, -1, 0.4 * scale + 0.1, 16 * scale, 0.35 * scale + 0.08, 6, colour::DARK_GREY);
    return model;
}

Model radar_vehicle(Shape shape, int32_t number) {
    Model model = truck(Shape::TRUCK, number);
    Mesh& m = model.mesh;
    m.box({-0.4, -5, 9}, {0.4, -4, 22}, colour::GREY);  // mast
    m.plate({{-6, -4.5, 20}, {6, -4.5, 20}, {5, -4.5, 25}, {-5, -4.5, 25}}, colour::DARK_GREY);
    (void)shape;
    return model;
}

// Rail vehicles: 60 ft long on two bogies.
Model rail(Shape shape, int32_t) {
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    Mesh& m = model.mesh;
    for (double y : {-20.0, 20.0}) m.box({-4.2, y - 5, 0.5}, {4.2, y + 5, 3.5}, colour::BLACK);
    m.box({-4.6, -30, 3.5}, {4.6, 30, 4.5}, colour::DARK_GREY);
    switch (shape) {
    case Shape::LOCOMOTIVE:
        m.box({-4.4, -28, 4.5}, {4.4, 20, 13}, colour::RED, colour::DARK_GREY);
        m.box({-4.4, 20, 4.5}, {4.4, 28, 14}, colour::RED, colour::DARK_GREY);
        m.prism_y({{-3.8, 10.5}, {3.8, 10.5}, {3.8, 12.5}, {-3.8, 12.5}}, 28, 28.1, colour::DARK_BLUE);
        break;
    case Shape::RAIL_TANKER:
        m.tube_y(0, 8.5, -27, 4.2, 27, 4.2, 8, colour::BLACK);
        break;
    case Shape::RAIL_FLATCAR:
        m.box({-4.4, -24, 4.5}, {4.4, 0, 9}, colour::OLIVE);  // a tank under tarpaulin
        m.box({-4.4, 4, 4.5}, {4.4, 26, 9}, colour::OLIVE);
        break;
    default:
        m.box({-4.4, -29, 4.5}, {4.4, 29, 13}, colour::BROWN, colour::DARK_GREY);
        break;
    }
    return model;
}

constexpr double DECK_TOP = 56;  // feet
constexpr int32_t ASSAULT_SHIP = 130;
constexpr int32_t CARRIER_ISLAND = 194;
constexpr int DECK_SLOTS = 9;

// A hull along y: the deck outline is a pointed bow and a square stern.
void hull(Mesh& m, double length, double beam, double freeboard, double draft, uint8_t colour) {
    const double h = length / 2, b = beam / 2;
    const std::vector<Point> deck = {{-b, -h, freeboard}, {b, -h, freeboard}, {b, h * 0.55, freeboard},
                                     {0, h, freeboard + 2}, {-b, h * 0.55, freeboard}};
    const std::vector<Point> keel = {{-b * 0.7, -h * 0.95, -draft}, {b * 0.7, -h * 0.95, -draft}, {b * 0.6, h * 0.5, -draft},
                                     {0, h * 0.9, -draft}, {-b * 0.6, h * 0.5, -draft}};
    m.polygon(deck, colour::DARK_GREY);
    for (size_t i = 0; i < deck.size(); ++i) {
        const size_t j = (i + 1) % deck.size();
        m.polygon({keel[i], keel[j], deck[j], deck[i]}, colour);
    }
}

Model ship(Shape shape, int32_t number) {
    Model model;
    model.flags = CASTS_SHADOW | SOLID | SHADOW_DECK;
    Mesh& m = model.mesh;
    switch (shape) {
    case Shape::CARRIER: {
        // The island is a part of its own, so that the hull's box ends at the flight deck, where
        // aircraft park on the deck slots: the assault ship's variable parts down its left side.
        hull(m, 820, 106, 52, 26, colour::NAVY_GREY);
        m.box({-53, -400, 52}, {53, 380, DECK_TOP}, colour::NAVY_GREY, colour::DARK_GREY);  // flight deck
        for (double y = -360; y <= 340; y += 100)
            m.glowing({{-1, y, DECK_TOP - 0.1}, {1, y, DECK_TOP - 0.1}, {1, y + 40, DECK_TOP - 0.1}, {-1, y + 40, DECK_TOP - 0.1}},
                      colour::WHITE);
        m.sub_object(0);
        model.parts.push_back({CARRIER_ISLAND, {40, -60, DECK_TOP}});
        if (number == ASSAULT_SHIP) {
            for (int slot = 0; slot < DECK_SLOTS; ++slot) {
                m.sub_object(int(model.parts.size()));
                model.parts.push_back({0, {-28, -340 + 80.0 * slot, DECK_TOP}});
            }
        }
        break;
    }
    case Shape::CARRIER_ISLAND:
        m.skinned_box({-10, -100, 0}, {10, 100, 54}, colour::NAVY_GREY, colour::DARK_GREY, Skin::HULL, 60);
        m.box({-4, -20, 54}, {4, 0, 84}, colour::GREY);  // mast
        m.plate({{-2, -10, 84}, {2, -10, 84}, {2, -10, 94}, {-2, -10, 94}}, colour::DARK_GREY);
        break;
    case Shape::FRIGATE:
    case Shape::SHIP_PART: {
        const bool meko = number >= 489 && number <= 499;
        hull(m, meko ? 380 : 445, 46, 20, 15, colour::BLUE_GREY);
        m.skinned_box({-16, -60, 20}, {16, 60, 44}, colour::BLUE_GREY, colour::GREY, Skin::HULL, 40);
        m.box({-8, -20, 44}, {8, 10, 56}, colour::BLUE_GREY);
        m.tube_z(0, -5, 56, 2, 92, 0.8, 6, colour::GREY);  // mast
        m.plate({{-6, -5, 86}, {6, -5, 86}, {6, -5, 90}, {-6, -5, 90}}, colour::DARK_GREY);
        m.tube_z(0, -35, 44, 6, 62, 5, 8, colour::DARK_GREY);  // funnel
        m.tube_z(0, 100, 20, 6, 26, 5, 8, colour::GREY);       // gun
        m.tube_y(0, 24, 104, 0.8, 130, 0.6, 6, colour::DARK_GREY);
        break;
    }
    case Shape::SUBMARINE: {
        // The Romeo's long sail with a step for its bridge and its planes; the Type 209's short
        // one far forward, in a lighter grey.
        const bool romeo = number == 253;
        const uint8_t paint = romeo ? colour::BLACK : colour::DARK_GREY;
        m.tube_y(0, 0, -110, 4, -60, 14, 8, paint);
        m.tube_y(0, 0, -60, 14, 80, 14, 8, paint);
        m.tube_y(0, 0, 80, 14, 110, 4, 8, paint);
        if (romeo) {
            m.box({-3, -10, 12}, {3, 30, 24}, paint);
            m.box({-3, 0, 24}, {3, 22, 30}, paint);
            m.plate({{-9, 12, 20}, {9, 12, 20}, {9, 18, 20}, {-9, 18, 20}}, paint);
        } else {
            m.prism_x({{34, 12}, {62, 12}, {58, 30}, {42, 30}}, -2.5, 2.5, paint);
        }
        model.flags = CASTS_SHADOW | SOLID;
        break;
    }
    case Shape::CARGO_SHIP:
    case Shape::TANKER_SHIP:
        hull(m, 520, 70, 28, 24, shape == Shape::TANKER_SHIP ? colour::DARK_RED : colour::BLACK);
        m.skinned_box({-30, -250, 28}, {30, -190, 80}, colour::WHITE, colour::GREY, Skin::WINDOWS, 30);
        m.tube_z(0, -225, 80, 7, 100, 6, 8, colour::RED);
        if (shape == Shape::CARGO_SHIP)
            for (double y = -150; y < 180; y += 60) m.box({-28, y, 28}, {28, y + 50, 48}, number % 2 ? colour::BLUE : colour::RED);
        break;
    case Shape::BARGE:
        m.box({-14, -50, -3}, {14, 50, 5}, colour::BROWN, colour::DARK_GREY);
        m.box({-10, -40, 5}, {10, 40, 10}, number == 416 ? colour::OLIVE : colour::TAN);
        break;
    default: {  // small craft: patrol and missile boats, landing craft, tugs and lifeboats
        const bool small = shape == Shape::LIFEBOAT;
        const double length = small ? 26 : shape == Shape::TUG ? 90 : shape == Shape::LANDING_CRAFT ? 70 : 130;
        hull(m, length, length * 0.22, length * 0.07, length * 0.05,
             shape == Shape::TUG ? colour::DARK_RED : small ? colour::ORANGE : colour::BLUE_GREY);
        if (shape == Shape::LANDING_CRAFT) {
            m.box({-7, -length * 0.48, length * 0.07}, {7, -length * 0.3, length * 0.2}, colour::BLUE_GREY);
        } else {
            m.box({-length * 0.07, -length * 0.2, length * 0.07}, {length * 0.07, length * 0.1, length * 0.16},
                  small ? colour::WHITE : colour::BLUE_GREY, colour::GREY);
            if (!small) m.tube_z(0, -length * 0.05, length * 0.16, 1, length * 0.3, 0.5, 6, colour::GREY);
            if (number == 316)  // the missile boat's four launcher boxes, raised at their fronts
                for (double x : {-11.0, -6.5, 6.5, 11.0})
                    m.prism_x({{-52, length * 0.07}, {-22, length * 0.07}, {-22, length * 0.07 + 7}, {-52, length * 0.07 + 4}},
                              x - 2, x + 2, colour::GREY);
        }
        break;
    }
    }
    return model;
}

Model ship_fitting(Shape shape, int32_t) {
    Model model;
    model.flags = SOLID;
    Mesh& m = model.mesh;
    if (shape == Shape::CRANE) {
        m.box({-1, -1, 0}, {1, 1, 30}, colour::YELLOW);
        m.box({-0.6, 0, 28}, {0.6, 40, 30}, colour::YELLOW);
    } else if (shape == Shape::DECK_SPOT) {
        m.glowing({{-10, -10, 0.2}, {10, -10, 0.2}, {10, 10, 0.2}, {-10, 10, 0.2}}, colour::YELLOW);
        m.glowing({{-7, -7, 0.25}, {7, -7, 0.25}, {7, 7, 0.25}, {-7, 7, 0.25}}, colour::DARK_GREY);
        model.flags = 0;
    } else {
        m.tube_z(0, 0, 0, 4, 5, 3.5, 8, colour::GREY);
        m.tube_y(0, 3.5, 2, 0.5, 16, 0.4, 6, colour::DARK_GREY);
    }
    return model;
}

}  // namespace

Model build_vehicle(Shape shape, int32_t number) {
    switch (shape) {
    case Shape::TANK: case Shape::DUG_IN: case Shape::ENGINEER_TANK: return tank(shape, number);
    case Shape::APC: return apc(shape, number);
    case Shape::TRUCK: case Shape::CAR: case Shape::JEEP: return truck(shape, number);
    case Shape::SAM_VEHICLE: return sam_vehicle(shape, number);
    case Shape::AAA_VEHICLE: case Shape::AAA_TURRET: return aaa(shape, number);
    case Shape::ROCKET_LAUNCHER: return launcher(shape, number);
    case Shape::ARTILLERY: return artillery(shape, number);
    case Shape::RADAR_VEHICLE: return radar_vehicle(shape, number);
    case Shape::LOCOMOTIVE: case Shape::RAIL_WAGON: case Shape::RAIL_TANKER: case Shape::RAIL_FLATCAR:
        return rail(shape, number);
    case Shape::SHIP_GUN: case Shape::CRANE: case Shape::DECK_SPOT: return ship_fitting(shape, number);
    case Shape::SOLDIER: case Shape::CASUALTY: case Shape::SOLDIER_ITEM: return build_soldier(shape, number);
    default: return ship(shape, number);
    }
}

}  // namespace vyr::vyrgen
