// Aircraft, helicopters and their moving parts.
#include <cmath>
#include <numbers>

#include "tools/vyrgen/objects/shapes.h"

namespace vyr::vyrgen {

const int32_t PLAYER_PART_NUMBERS[PLAYER_PART_COUNT] = {1182, 1184, 1185, 1187, 1189, 1191, 1200, 1202, 1204,
                                                       1205, 1207, 1208, 1211, 1213, 1220, 1227, 1233, 1234, 1235};

namespace {

using Section = std::vector<std::pair<double, double>>;

Section octagon(double r, double cx = 0, double cz = 0) {
    Section s;
    for (int i = 0; i < 8; ++i) {
        const double a = std::numbers::pi * (i + 0.5) / 4;
        s.push_back({cx + r * std::cos(a), cz + r * std::sin(a)});
    }
    return s;
}

// A body of revolution along y: tail end, full section, nose point.
void fuselage(Mesh& m, double tail_y, double tail_r, double body_y, double r, double nose_y, double z, uint8_t colour) {
    m.tube_y(0, z, tail_y, tail_r, body_y, r, 8, colour, true, false);
    m.tube_y(0, z, body_y, r, nose_y, 0, 8, colour, false, false);
}

void canopy(Mesh& m, double y0, double y1, double z, double w, double h) {
    m.prism_y({{-w, z}, {w, z}, {w * 0.6, z + h}, {-w * 0.6, z + h}}, y0, y1, colour::DARK_BLUE);
}

// Variable sub-objects at the gear places: nose, left main, right main, then more mains.
void gear_places(Model& model, int count, double nose_y, double main_y, double main_x, double z) {
    const Point places[5] = {{0, nose_y, z}, {-main_x, main_y, z}, {main_x, main_y, z}, {-main_x * 0.5, main_y, z},
                             {main_x * 0.5, main_y, z}};
    for (int i = 0; i < count; ++i) {
        model.mesh.sub_object(int(model.parts.size()));
        model.parts.push_back({0, places[i]});
    }
}

void fixed_part(Model& model, int32_t type, Point at, double heading = 0) {
    model.mesh.sub_object(int(model.parts.size()));
    model.parts.push_back({type, at, heading});
}

// How many variable sub-objects the drone code fills for each type with a part list.
int drone_parts(int32_t number) {
    switch (number) {
    case 1056: return 5;
    case 932: case 1145: return 2;
    case 3: case 225: case 228: case 234: case 453: case 1038: case 1085: case 1066: case 231: case 1232:
    case 607: return 3;
    case 237: case 222: case 990: return 1;
    default: return 0;
    }
}

uint8_t paint_of(int32_t number) {
    switch (number) {
    case 228: case 234: case 1056: case 1066: case 1192: case 1197: return colour::BLUE_GREY;
    case 3: return colour::OLIVE;
    case 237: return colour::TAN;
    default: return colour::LIGHT_GREY;
    }
}

Model vyr(int32_t number) {
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    vyr_body(model.mesh, VYR_AXIS_Z);
    model.mesh.fin(0, {0, -11, 7.6}, {0, -20, 7.6}, {0, -17, 15}, {0, -20.5, 15}, 0.5, colour::GREY);
    model.mesh.wing({2.3, -15, 5.5}, {2.3, -21, 5.5}, {9, -19, 5.5}, {9, -21.5, 5.5}, 0.4, colour::GREY, true);
    gear_places(model, drone_parts(number) - 1, 17, -3, 3.2, 3.2);
    model.mesh.sub_object(int(model.parts.size()));
    model.parts.push_back({0, {0, 0, 0}});  // the nozzle, in the aircraft's own frame
    return model;
}

struct JetLook {
    double length, span, radius, sweep_back, tip_chord;
    bool twin_fin, delta, tail_engines, straight_wing, high_wing;
};

JetLook look_of(Shape shape, int32_t number) {
    switch (shape) {
    case Shape::ATTACK_JET: return {53, 29, 2.4, 2, 6, true, false, true, true, false};
    case Shape::STRIKE_JET: return {56, 17, 2.6, 14, 4, false, false, false, false, true};
    case Shape::DELTA_JET: return {48, 12, 2.0, 20, 1.5, false, true, false, false, false};
    case Shape::UAV: return {14, 10, 0.7, 2, 1.5, false, false, false, true, true};
    default: break;
    }
    const bool twin = number == 225 || number == 453 || number == 577 || number == 234 || number >= 1221;
    return {60, 21, 2.8, 13, 4, twin, false, false, false, false};
}

Model jet(Shape shape, int32_t number) {
    if (number == 231 || number == 1232) return vyr(number);
    const JetLook look = look_of(shape, number);
    const uint8_t paint = paint_of(number);
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    Mesh& m = model.mesh;
    const double h = look.length / 2, r = look.radius, z = r + 3;
    fuselage(m, -h, r * 0.8, h * 0.45, r, h, z, paint);
    canopy(m, h * 0.35, h * 0.62, z + r * 0.6, r * 0.5, r * 0.6);
    const double wz = look.high_wing ? z + r * 0.6 : z - r * 0.2;
    const double half = look.span / 2;
    if (look.delta) {
        m.wing({r, h * 0.25, wz}, {r, -h * 0.75, wz}, {half, -h * 0.7, wz}, {half, -h * 0.78, wz}, 0.5, paint, true);
    } else {
        const double root_lead = look.straight_wing ? h * 0.1 : h * 0.2;
        m.wing({r, root_lead, wz}, {r, root_lead - look.length * 0.22, wz},
               {half, root_lead - look.sweep_back, wz}, {half, root_lead - look.sweep_back - look.tip_chord, wz},
               0.7, paint, true);
        m.wing({r * 0.8, -h * 0.72, z}, {r * 0.8, -h * 0.98, z}, {half * 0.45, -h * 0.88, z},
               {half * 0.45, -h * 1.02, z}, 0.3, paint, true);
    }
    if (look.tail_engines) {
        for (double s : {-1.0, 1.0}) m.tube_y(s * (r + 1.4), z + r + 0.6, -h * 0.55, 1.3, -h * 0.15, 1.3, 6, colour::GREY);
    }
    if (look.twin_fin) {
        for (double s : {-1.0, 1.0})
            m.fin(s * (look.tail_engines ? half * 0.45 : r * 0.7), {0, -h * 0.55, z + (look.tail_engines ? 0 : r * 0.5)},
                  {0, -h * 0.98, z}, {0, -h * 0.85, z + r * 3.2}, {0, -h * 1.0, z + r * 3.2}, 0.4, paint);
    } else {
        m.fin(0, {0, -h * 0.5, z + r * 0.8}, {0, -h * 0.98, z + r * 0.8}, {0, -h * 0.88, z + r * 3.6},
              {0, -h * 1.02, z + r * 3.6}, 0.5, paint);
    }
    gear_places(model, drone_parts(number), h * 0.6, -h * 0.1, r + 1, z - r);
    return model;
}

struct LiftLook {
    double length, span, radius;
    int engines;
    bool high_wing, radome;
};

Model airlifter(Shape shape, int32_t number) {
    LiftLook look{98, 132, 7, 4, true, false};
    if (shape == Shape::AIRLINER || shape == Shape::AWACS) look = {145, 130, 7, 4, false, shape == Shape::AWACS};
    const uint8_t paint = shape == Shape::TRANSPORT ? colour::OLIVE : colour::LIGHT_GREY;
    // The Mainstay's tailplane stands high on its fin and its rotodome is dark; the Sentry's sit low
    // and white.
    const bool mainstay = number >= 1145 && number <= 1155;
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    Mesh& m = model.mesh;
    const double h = look.length / 2, r = look.radius, z = r + 5;
    fuselage(m, -h, r * 0.35, h * 0.75, r, h, z, paint);
    m.prism_y({{-r * 0.5, z + r * 0.55}, {r * 0.5, z + r * 0.55}, {r * 0.35, z + r * 0.85}, {-r * 0.35, z + r * 0.85}},
              h * 0.8, h * 0.9, colour::DARK_BLUE);
    const double wz = look.high_wing ? z + r * 0.85 : z - r * 0.5;
    const double half = look.span / 2, sweep = look.high_wing ? 2 : 25;
    m.wing({r * 0.8, h * 0.2, wz}, {r * 0.8, -h * 0.12, wz}, {half, h * 0.2 - sweep - 2, wz + 2},
           {half, h * 0.2 - sweep - 8, wz + 2}, 2.0, paint, true);
    const double tail_z = z + r * (mainstay ? 2.0 : 0.3);
    m.wing({r * 0.4, -h * 0.72, tail_z}, {r * 0.4, -h * 0.98, tail_z}, {half * 0.35, -h * 0.92, tail_z},
           {half * 0.35, -h * 1.02, tail_z}, 0.8, paint, true);
    m.fin(0, {0, -h * 0.62, z + r * 0.7}, {0, -h * 0.99, z + r * 0.7}, {0, -h * 0.9, z + r * 3.6},
          {0, -h * 1.01, z + r * 3.6}, 1.0, paint);
    for (double s : {-1.0, 1.0})
        for (double f : {0.33, 0.66}) {
            const double x = s * half * f, y = h * 0.2 - sweep * f - 1;
            const double ez = look.high_wing ? wz - 1.2 : wz - 3;
            m.tube_y(x, ez, y - 14, 1.8, y + 6, 2.0, 6, colour::GREY);
            if (look.high_wing) m.plate({{x - 6, y + 6.5, ez - 0.5}, {x + 6, y + 6.5, ez - 0.5}, {x + 6, y + 6.5, ez + 0.5},
                                         {x - 6, y + 6.5, ez + 0.5}}, colour::DARK_GREY);
        }
    if (look.radome) {
        m.box({-0.8, -h * 0.35, z + r}, {0.8, -h * 0.25, z + r + 6}, colour::GREY);
        m.tube_z(0, -h * 0.3, z + r + 6, 15, z + r + 8.5, 15, 12, mainstay ? colour::DARK_GREY : colour::WHITE);
    }
    gear_places(model, drone_parts(number), h * 0.65, -h * 0.05, r * 0.9, z - r);
    return model;
}

Model helicopter(Shape shape, int32_t number) {
    const bool attack = shape == Shape::ATTACK_HELICOPTER;
    const bool mi24 = number == 222 || number == 607 || number == 990;
    const uint8_t paint = mi24 || number == 686 || (number >= 687 && number <= 695) ? colour::BROWN : colour::OLIVE;
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    Mesh& m = model.mesh;
    const double length = attack ? 48 : 50, w = attack ? 2.2 : 4.0, z = attack ? 5 : 6;
    m.box({-w, -4, z - 2.5}, {w, 12, z + 3}, paint, paint);
    m.tube_y(0, z, 12, w, 18, 0.6, 8, paint);
    canopy(m, attack ? 4 : 8, attack ? 14 : 16, z + 3, w * 0.8, 1.8);
    m.tube_y(0, z + 1.5, -length * 0.55, 0.8, -4, 1.6, 6, paint);
    m.fin(0, {0, -length * 0.45, z + 2}, {0, -length * 0.55, z + 2}, {0, -length * 0.53, z + 9},
          {0, -length * 0.57, z + 9}, 0.4, paint);
    m.tube_y(0, z + 4, -2, 1.8, 9, 1.8, 6, colour::GREY);  // engines under the rotor
    if (attack) m.wing({w, 3, z}, {w, -1, z}, {w + 6, 2.5, z - 0.4}, {w + 6, 0.5, z - 0.4}, 0.4, paint, true);
    for (double s : {-1.0, 1.0}) m.box({s * (w - 0.3) - 0.3, 6, 0}, {s * (w - 0.3) + 0.3, 9, z - 2.5}, colour::BLACK);
    const Point hub{0, 3, z + 6}, tail{0.6, -length * 0.55, z + 7};
    const int places = drone_parts(number);
    if (number == 607) {
        model.mesh.sub_object(0);
        model.parts.push_back({0, hub});
        model.mesh.sub_object(1);
        model.parts.push_back({0, {0, 0, 0}});
        model.mesh.sub_object(2);
        model.parts.push_back({0, tail});
    } else if (places > 0) {
        fixed_part(model, GENERIC_TAIL_ROTOR, tail);
        model.mesh.sub_object(1);
        model.parts.push_back({0, hub});
    } else {
        fixed_part(model, 104, hub);
        fixed_part(model, GENERIC_TAIL_ROTOR, tail);
    }
    return model;
}

Model rotor(Shape shape, int32_t number) {
    Model model;
    Mesh& m = model.mesh;
    if (shape == Shape::TAIL_ROTOR) {
        for (double a : {0.0, std::numbers::pi / 2}) {
            const double c = std::cos(a) * 5, s = std::sin(a) * 5;
            m.plate({{0, -c - 0.3 * s, -s + 0.3 * c}, {0, -c + 0.3 * s, -s - 0.3 * c}, {0, c + 0.3 * s, s - 0.3 * c},
                     {0, c - 0.3 * s, s + 0.3 * c}},
                    colour::DARK_GREY);
        }
        return model;
    }
    const double radius = number == 104 ? 24 : 28;
    m.tube_z(0, 0, -1, 1.0, 0.6, 0.8, 6, colour::GREY);
    const int blades = number == 104 || number == 859 ? 4 : 5;
    for (int i = 0; i < blades; ++i) {
        const double a = 2 * std::numbers::pi * i / blades, c = std::cos(a), s = std::sin(a);
        const Point along{c, s, 0}, across{-s * 0.9, c * 0.9, 0};
        m.plate({along * 1 - across, along * radius - across + Point{0, 0, -0.3}, along * radius + across + Point{0, 0, -0.3},
                 along * 1 + across},
                colour::BLACK);
    }
    return model;
}

// A leg hanging from its place with its wheels.
Model gear_set(Shape, int32_t) {
    Model model;
    Mesh& m = model.mesh;
    m.box({-0.25, -0.25, -3.4}, {0.25, 0.25, 0}, colour::LIGHT_GREY);
    m.prism_x(octagon(0.9, 0, -3.4), -0.7, -0.25, colour::BLACK);
    m.prism_x(octagon(0.9, 0, -3.4), 0.25, 0.7, colour::BLACK);
    return model;
}

}  // namespace

void vyr_body(Mesh& m, double z) {
    fuselage(m, -21.5, 2.3, 16, 2.6, 26, z, colour::LIGHT_GREY);
    canopy(m, 8, 16, z + 1.6, 1.3, 3.0);  // a bubble over the eyes of the cameras within it
    // Intakes under the cockpit sides.
    m.box({-3.6, -2, z - 1.8}, {-2.2, 9, z + 0.2}, colour::GREY);
    m.box({2.2, -2, z - 1.8}, {3.6, 9, z + 0.2}, colour::GREY);
    m.wing({2.4, 6, z - 0.2}, {2.4, -10.4, z - 0.2}, {16.5, -8, z - 0.4}, {16.5, -11.5, z - 0.4}, 0.9, colour::GREY, true);
}

Model build_aircraft(Shape shape, int32_t number) {
    switch (shape) {
    case Shape::FIGHTER: case Shape::ATTACK_JET: case Shape::STRIKE_JET: case Shape::DELTA_JET: case Shape::UAV:
        return jet(shape, number);
    case Shape::TRANSPORT: case Shape::AIRLINER: case Shape::AWACS:
        return airlifter(shape, number);
    case Shape::ATTACK_HELICOPTER: case Shape::TRANSPORT_HELICOPTER:
        return helicopter(shape, number);
    case Shape::ROTOR: case Shape::TAIL_ROTOR:
        return rotor(shape, number);
    case Shape::NOZZLE: case Shape::GEAR_UP_NOZZLE: case Shape::GEAR_DOWN_NOZZLE:
        return build_nozzle();
    case Shape::GEAR_STRUT: case Shape::NOSE_GEAR_LAMP:
        return build_player_gear(shape);
    default:
        return gear_set(shape, number);
    }
}

}  // namespace vyr::vyrgen
