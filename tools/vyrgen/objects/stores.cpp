// Weapons, their pylons and racks, and small effects.
#include <cmath>
#include <numbers>

#include "tools/vyrgen/objects/shapes.h"

namespace vyr::vyrgen {

namespace {

struct StoreSize {
    double length, radius;
};

StoreSize size_of(Shape shape, int32_t number) {
    switch (number) {
    case 9: return {9.4, 0.22};
    case 1074: return {12, 0.29};
    case 1110: case 1112: return {8.2, 0.5};
    case 24: return {5.3, 0.3};
    case 1101: return {7.3, 0.45};
    case 1103: return {9.9, 0.6};
    case 1105: return {12.7, 0.75};
    case 668: case 673: return {8, 0.7};
    case 530: case 1115: return {10, 0.4};
    case 790: case 133: return {5, 0.14};
    case 1200: return {2.2, 0.2};
    default: break;
    }
    if (shape == Shape::BOMB) return {7.5, 0.55};
    if (shape == Shape::ROCKET) return {4.5, 0.15};
    return {9, 0.3};
}

// Bombs whose tail never changes in flight: they take no variable sub-object, so the motor object
// their weapon record names is not drawn on them.
bool plain_bomb(int32_t number) {
    switch (number) {
    case 668: case 669: case 673: case 674: case 1101: case 1103: case 1105: case 1200: return true;
    default: return false;
    }
}

// A round hanging under its station, nose forward; its one variable sub-object (motor plume,
// fins, retarder or parachute) sits at its tail.
Model round(Shape shape, int32_t number) {
    Model model;
    Mesh& m = model.mesh;
    const StoreSize s = size_of(shape, number);
    const double h = s.length / 2, r = s.radius, z = -r - 0.3;
    const uint8_t body = shape == Shape::BOMB ? colour::OLIVE : colour::WHITE;
    m.tube_y(0, z, -h, r * 0.8, h * 0.6, r, 6, body);
    m.tube_y(0, z, h * 0.6, r, h, 0, 6, shape == Shape::BOMB ? colour::OLIVE : colour::LIGHT_GREY);
    for (double a : {0.0, 90.0}) {
        const double c = std::cos(a * std::numbers::pi / 180) * r * 2.4, sn = std::sin(a * std::numbers::pi / 180) * r * 2.4;
        m.plate({{-c, -h, z - sn}, {c, -h, z + sn}, {c * 0.4, -h + s.length * 0.18, z + sn * 0.4},
                 {-c * 0.4, -h + s.length * 0.18, z - sn * 0.4}},
                colour::GREY);
    }
    if (shape == Shape::BOMB && number != 1200)  // fuse band; the bomblet is too small for one
        m.box({-0.5, 1.4, z + r * 0.5}, {-0.1, 2, z + r * 1.2}, colour::YELLOW);
    if (shape == Shape::BOMB && plain_bomb(number)) return model;
    m.sub_object(0);
    model.parts.push_back({0, {0, -h, z}});
    return model;
}

// Fins at a store's tail: the folded set it is carried with, or the larger set a guided bomb or a
// dispenser opens in flight.
void fins(Mesh& m, int32_t number) {
    const bool opened = number == 1131 || number == 1137 || number == 1143 || number == 1169 || number == 1172;
    const double span = opened ? 2.2 : 1.2, chord = opened ? 2.2 : 1.5;
    for (double a : {45.0, 135.0}) {
        const double c = std::cos(a * std::numbers::pi / 180) * span, s = std::sin(a * std::numbers::pi / 180) * span;
        m.plate({{-c, 0, -s}, {c, 0, s}, {c * 0.6, chord, s * 0.6}, {-c * 0.6, chord, -s * 0.6}}, colour::GREY);
    }
    if (opened) m.tube_y(0, 0, -0.3, 0.25, 0, 0.25, 6, colour::DARK_GREY);
}

// Behind a store: the petals of a retarded bomb (1125), or a parachute on its lines, the small
// drogue (1160) or the main canopy (1162).
void retarder(Mesh& m, int32_t number) {
    if (number == 1125) {
        for (double a : {45.0, 135.0, 225.0, 315.0}) {
            const double c = std::cos(a * std::numbers::pi / 180), s = std::sin(a * std::numbers::pi / 180);
            m.plate({{c * 0.2, 0, s * 0.2}, {c * 1.8, -1.6, s * 1.8}, {c * 1.8 - s * 0.5, -1.9, s * 1.8 + c * 0.5},
                     {c * 0.2 - s * 0.3, 0, s * 0.2 + c * 0.3}},
                    colour::OLIVE);
        }
        return;
    }
    const double r = number == 1162 ? 6.0 : 2.2, back = number == 1162 ? 16.0 : 7.0;
    m.tube_y(0, 0, -back - r * 0.5, 0, -back, r, 8, colour::LIGHT_GREY);  // the canopy, open towards the store
    m.tube_y(0, 0, -back, r, -back + 0.3, r * 0.95, 8, colour::ORANGE, false, false);  // the hem
    for (double a : {0.0, 90.0, 180.0, 270.0}) {
        const double c = std::cos(a * std::numbers::pi / 180) * r, s = std::sin(a * std::numbers::pi / 180) * r;
        m.raw(face_of(1, colour::LIGHT_GREY, colour::LIGHT_GREY), {{0, 0, 0}, {c, -back, s}});
    }
}

Model rack(Shape shape, int32_t) {
    Model model;
    Mesh& m = model.mesh;
    m.prism_y({{-0.3, -1.2}, {0.3, -1.2}, {0.3, 0}, {-0.3, 0}}, -3, 3, colour::LIGHT_GREY);
    std::vector<Point> stations;
    if (shape == Shape::PYLON) stations = {{0, 0, -1.2}};
    else if (shape == Shape::TRIPLE_RACK) stations = {{0, 0, -2.4}, {-0.9, 0, -1.4}, {0.9, 0, -1.4}};
    else stations = {{0, 2.5, -2.4}, {-0.9, 2.5, -1.4}, {0.9, 2.5, -1.4}, {0, -2.5, -2.4}, {-0.9, -2.5, -1.4}, {0.9, -2.5, -1.4}};
    if (shape != Shape::PYLON) m.box({-1, -4, -1.6}, {1, 4, -1.2}, colour::GREY);
    for (size_t i = 0; i < stations.size(); ++i) {
        m.sub_object(int(i));
        model.parts.push_back({0, stations[i]});
    }
    return model;
}

Model pod(Shape shape, int32_t number) {
    Model model;
    Mesh& m = model.mesh;
    switch (shape) {
    case Shape::FUEL_TANK:
        m.tube_y(0, -1.4, -7, 0.3, -4, 1.1, 8, colour::LIGHT_GREY);
        m.tube_y(0, -1.4, -4, 1.1, 4, 1.1, 8, colour::LIGHT_GREY);
        m.tube_y(0, -1.4, 4, 1.1, 8, 0, 8, colour::LIGHT_GREY);
        break;
    case Shape::SENSOR_POD:
        m.tube_y(0, -0.9, -4, 0.6, 3, 0.6, 8, colour::GREY);
        m.tube_y(0, -0.9, 3, 0.6, 4.5, 0.3, 8, colour::DARK_BLUE);
        break;
    case Shape::GUN_POD:
        m.tube_y(0, -1, -6, 0.9, 5, 0.9, 8, colour::GREY);
        m.tube_y(0, -1.3, 5, 0.15, 7, 0.15, 4, colour::BLACK);
        break;
    default:  // rocket pods and mine dispensers
        m.tube_y(0, -1, -4, 0.9, 4, 0.9, 8, colour::OLIVE);
        m.tube_y(0, -1, 4, 0.9, 4.2, 0.7, 8, colour::BLACK);
        break;
    }
    // The places the aircraft's part list fills after a pod: the gun pod's muzzle flash at its
    // barrel, and two at the front of the rocket pods that take them.
    std::vector<Point> places;
    if (shape == Shape::GUN_POD) places = {{0, 7, -1.3}};
    else if (number == 1175 || number == 1178) places = {{-0.4, 4.2, -1}, {0.4, 4.2, -1}};
    for (size_t i = 0; i < places.size(); ++i) {
        m.sub_object(int(i));
        model.parts.push_back({0, places[i]});
    }
    return model;
}

// Effects drawn unlit, so that they shine the same in any light.
Model effect(Shape shape, int32_t number) {
    Model model;
    Mesh& m = model.mesh;
    switch (shape) {
    case Shape::PLUME: {
        const double length = number == 501 ? 12 : 6;
        for (double a : {0.0, 90.0}) {
            const double c = std::cos(a * std::numbers::pi / 180) * 0.5, s = std::sin(a * std::numbers::pi / 180) * 0.5;
            const std::vector<Point> flame = {{-c, 0, -s}, {c, 0, s}, {0, -length, 0}};
            m.glowing(flame, colour::YELLOW);
            m.glowing({flame.rbegin(), flame.rend()}, colour::ORANGE);
        }
        break;
    }
    case Shape::MUZZLE_FLASH:
        for (double a : {0.0, 60.0, 120.0}) {
            const double c = std::cos(a * std::numbers::pi / 180) * 1.2, s = std::sin(a * std::numbers::pi / 180) * 1.2;
            const std::vector<Point> star = {{-c, 0, -s}, {0, 3, 0}, {c, 0, s}};
            m.glowing(star, colour::YELLOW);
            m.glowing({star.rbegin(), star.rend()}, colour::YELLOW);
        }
        break;
    case Shape::TRACER:  // the streak first, so that its bright head is drawn over it
        m.raw(face_of(1, colour::ORANGE, colour::ORANGE), {{0, 0, 0}, {0, -12, 0}});
        m.lamps({{0, 0, 0}, {0, -4, 0}}, colour::YELLOW);
        break;
    case Shape::FLARE:
        m.lamps({{0, 0, 0}}, colour::WHITE);
        m.tube_z(0, 0, -0.6, 0.6, 0.6, 0.6, 4, colour::WHITE);
        break;
    case Shape::CHAFF:
        m.lamps({{0, 0, 0}, {1, 0.5, 0.3}, {-0.8, 0.3, -0.5}, {0.4, -0.9, 0.2}, {-0.3, -0.4, 0.8}}, colour::LIGHT_GREY);
        break;
    case Shape::MINE:
        m.tube_z(0, 0, 0, 0.5, 0.3, 0.4, 6, colour::OLIVE);
        break;
    case Shape::RETARDER:
        retarder(m, number);
        break;
    default:
        fins(m, number);
        break;
    }
    return model;
}

}  // namespace

Model build_store(Shape shape, int32_t number) {
    switch (shape) {
    case Shape::MISSILE: case Shape::BOMB: case Shape::ROCKET: return round(shape, number);
    case Shape::PYLON: case Shape::TRIPLE_RACK: case Shape::MULTI_RACK: return rack(shape, number);
    case Shape::ROCKET_POD: case Shape::GUN_POD: case Shape::FUEL_TANK: case Shape::SENSOR_POD: return pod(shape, number);
    default: return effect(shape, number);
    }
}

}  // namespace vyr::vyrgen
