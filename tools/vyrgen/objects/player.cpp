// The player's aircraft: its body and the parts its instance tree animates, the gear and the
// nozzle whose ring the drawing reshapes by vertex number.
#include <cmath>
#include <numbers>

#include "tools/vyrgen/objects/shapes.h"

namespace vyr::vyrgen {

namespace {

enum PartIndex {
    NOSE_GEAR, NOSE_LEG, NOSE_WHEEL, NOSE_DOOR, GUN_BAY, LEFT_DOOR, RIGHT_DOOR, MAIN_WHEEL, LEFT_FLAPERON_ROOT,
    RIGHT_FLAPERON_ROOT, FLAPERON, FLAP_FAIRING, AIR_BRAKE, PETAL, LEFT_TAILPLANE, RIGHT_TAILPLANE, FIN, RUDDER,
    GUN_PORT
};

int32_t number_of(PartIndex part) { return PLAYER_PART_NUMBERS[part]; }

constexpr double AXIS_Z = VYR_AXIS_Z;
// The flight holds the aircraft's reference point 5 ft above the ground on its wheels, and the
// cameras' eyes 11.7 ft ahead of it look out 3.9 ft above it (the look back 2.9 ft): the body's
// axis runs through the reference point, so the eyes sit at the canopy, not under the belly, and
// the gear's places drop 5 ft, the wheels on the ground.
constexpr double BODY_DROP = AXIS_Z, GEAR_DROP = 5.0;

std::vector<std::pair<double, double>> octagon(double r, double cx, double cz) {
    std::vector<std::pair<double, double>> s;
    for (int i = 0; i < 8; ++i) {
        const double a = std::numbers::pi * (i + 0.5) / 4;
        s.push_back({cx + r * std::cos(a), cz + r * std::sin(a)});
    }
    return s;
}

Model part(const std::function<void(Mesh&)>& shape, std::vector<SubPlace> children = {}) {
    Model model;
    shape(model.mesh);
    for (size_t i = 0; i < children.size(); ++i) model.mesh.sub_object(int(i));
    model.parts = std::move(children);
    return model;
}

// The gun's muzzle, left of the nose; sensor slot 1 hangs under the part that marks it, so that
// the part list still fills that slot third.
constexpr Point GUN_MUZZLE = {-2.3, 13, 6.6};
constexpr Point SENSOR_SLOT_1 = {-3.0, 2, 3.9};

// Places of the top-level list, in the order the part list fills the variable ones.
std::vector<SubPlace> player_places() {
    std::vector<SubPlace> places = {
        {0, {0, 13, 4.0}},                            // 0: taxi lamp (gear down)
        {number_of(NOSE_GEAR), {1.2, 12, 4.8}},        // 1: off the axis, so the leg folds inside
        {number_of(GUN_PORT), GUN_MUZZLE},            // 2: the gun's rounds leave here
        {0, {3.0, 2, 3.9}},                           // 3: sensor slot 2
        {number_of(GUN_BAY), {0, 0, 0}},              // 4: muzzle flash, centre station
        {0, {-3.2, -3, 3.8}},                         // 5: left main leg
        {number_of(LEFT_DOOR), {-2.0, -3, 3.3}},      // 6
        {0, {3.2, -3, 3.8}},                          // 7: right main leg
        {number_of(RIGHT_DOOR), {2.0, -3, 3.3}},      // 8
        {0, {-6, -3, 4.9}},                           // 9: hardpoint 1
        {0, {-9.5, -5, 4.8}},                         // 10: hardpoint 3
        {0, {-13, -7, 4.7}},                          // 11: hardpoint 5
        {0, {6, -3, 4.9}},                            // 12: hardpoint 2
        {0, {9.5, -5, 4.8}},                          // 13: hardpoint 4
        {0, {13, -7, 4.7}},                           // 14: hardpoint 6
        {number_of(LEFT_FLAPERON_ROOT), {-9, -10.5, 5.45}},   // 15
        {number_of(RIGHT_FLAPERON_ROOT), {9, -10.5, 5.45}},   // 16
        {0, {-16.6, -9.5, 5.3}},                      // 17: hardpoint 7
        {0, {16.6, -9.5, 5.3}},                       // 18: hardpoint 8
        {number_of(AIR_BRAKE), {0, -17.5, AXIS_Z}},   // 19
        {number_of(LEFT_TAILPLANE), {-2.3, -17, 5.5}},   // 20
        {number_of(RIGHT_TAILPLANE), {2.3, -17, 5.5}},   // 21
        {number_of(FIN), {0, -11, 7.9}},              // 22
        {0, {0, 0, 0}},                               // 23: the nozzle, in the aircraft's frame
    };
    for (size_t i = 0; i < places.size(); ++i) {
        const bool gear = i <= 1 || (i >= 5 && i <= 8);
        places[i].at.z -= gear ? GEAR_DROP : BODY_DROP;
    }
    return places;
}

// Slots under the fuselage, drawn before it when the eye is above and after it when below.
constexpr int LOWER_SLOTS = 15;

Model player_body() {
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    model.parts = player_places();
    const double z = AXIS_Z - BODY_DROP;
    const std::vector<Point> plane = {{-20, -25, z}, {20, -25, z}, {20, 27, z}, {-20, 27, z}};
    model.mesh.node(
        plane,
        [](Mesh& m) {
            for (int slot = 0; slot < LOWER_SLOTS; ++slot) m.sub_object(slot);
        },
        [z](Mesh& m) {
            m.fin(0, {0, -11, z + 1.85}, {0, -17, z + 1.85}, {0, -12.5, z + 2.25}, {0, -17.5, z + 2.25}, 0.6, colour::GREY);
            vyr_body(m, z);
            for (int slot = LOWER_SLOTS; slot < 24; ++slot) m.sub_object(slot);
        });
    return model;
}

void wheel_x(Mesh& m, double r, double z) {
    m.prism_x(octagon(r, 0, z), -0.35, 0.35, colour::BLACK);
}

}  // namespace

std::vector<std::pair<int32_t, Model>> build_player_aircraft() {
    std::vector<std::pair<int32_t, Model>> out;
    out.push_back({606, player_body()});
    // Retracted, the nose leg lies across the bay; lowered it hangs, its wheel's axle across.
    out.push_back({number_of(NOSE_GEAR), part([](Mesh&) {}, {{number_of(NOSE_LEG), {0, 0, 0}},
                                                             {number_of(NOSE_DOOR), {0, 0, -1.3}}})});
    out.push_back({number_of(NOSE_LEG), part([](Mesh& m) { m.box({-3.0, -0.2, -0.2}, {0, 0.2, 0.2}, colour::LIGHT_GREY); },
                                             {{number_of(NOSE_WHEEL), {-3.0, 0, 0}}})});
    out.push_back({number_of(NOSE_WHEEL), part([](Mesh& m) {
                       m.prism_y(octagon(0.7, 0, 0), -0.3, 0.3, colour::BLACK);
                   })});
    out.push_back({number_of(NOSE_DOOR),
                   part([](Mesh& m) { m.plate({{-0.1, -2, 0}, {-0.1, 2, 0}, {-0.1, 2, 0.6}, {-0.1, -2, 0.6}}, colour::GREY); })});
    out.push_back({number_of(GUN_BAY), part([](Mesh&) {}, {{0, GUN_MUZZLE}, {0, {0, -2, 3.1}}})});
    const Point slot_1 = {SENSOR_SLOT_1.x - GUN_MUZZLE.x, SENSOR_SLOT_1.y - GUN_MUZZLE.y, SENSOR_SLOT_1.z - GUN_MUZZLE.z};
    out.push_back({number_of(GUN_PORT), part([](Mesh&) {}, {{0, slot_1}})});
    for (PartIndex door : {LEFT_DOOR, RIGHT_DOOR})
        out.push_back({number_of(door), part([](Mesh& m) {
                           m.plate({{-0.6, -2.5, 0}, {0.6, -2.5, 0}, {0.6, 2.5, 0}, {-0.6, 2.5, 0}}, colour::GREY);
                       })});
    out.push_back({number_of(MAIN_WHEEL), part([](Mesh& m) { wheel_x(m, 0.95, 0); })});
    for (PartIndex root : {LEFT_FLAPERON_ROOT, RIGHT_FLAPERON_ROOT})
        out.push_back({number_of(root), part([](Mesh&) {}, {{number_of(FLAP_FAIRING), {0, 0, -0.4}},
                                                            {number_of(FLAPERON), {0, 0, 0}}})});
    out.push_back({number_of(FLAP_FAIRING), part([](Mesh& m) { m.box({-0.3, -2.5, -0.3}, {0.3, 1.5, 0.2}, colour::GREY); })});
    out.push_back({number_of(FLAPERON), part([](Mesh& m) {
                       m.wing({0, 0, 0}, {0, -2.2, 0}, {3.2, 0, 0}, {3.2, -2.0, 0}, 0.3, colour::GREY, true);
                   })});
    out.push_back({number_of(AIR_BRAKE), part([](Mesh&) {}, {{number_of(PETAL), {-1.1, 0, 2.35}},
                                                             {number_of(PETAL), {-1.1, 0, -2.35}},
                                                             {number_of(PETAL), {1.1, 0, 2.35}},
                                                             {number_of(PETAL), {1.1, 0, -2.35}}})});
    out.push_back({number_of(PETAL), part([](Mesh& m) {
                       m.plate({{-0.8, 0, 0}, {0.8, 0, 0}, {0.8, -3, 0}, {-0.8, -3, 0}}, colour::DARK_GREY);
                   })});
    out.push_back({number_of(LEFT_TAILPLANE), part([](Mesh& m) {
                       m.wing({0, 2, 0}, {0, -4, 0}, {-6.5, -2.5, 0}, {-6.5, -4.5, 0}, 0.4, colour::GREY, false);
                   })});
    out.push_back({number_of(RIGHT_TAILPLANE), part([](Mesh& m) {
                       m.wing({0, 2, 0}, {0, -4, 0}, {6.5, -2.5, 0}, {6.5, -4.5, 0}, 0.4, colour::GREY, false);
                   })});
    out.push_back({number_of(FIN), part([](Mesh& m) {
                       m.fin(0, {0, 0, 0}, {0, -8, 0}, {0, -6, 7}, {0, -8.5, 7}, 0.5, colour::GREY);
                   }, {{number_of(RUDDER), {0, -8.2, 0.4}}})});
    out.push_back({number_of(RUDDER), part([](Mesh& m) {
                       m.fin(0, {0, 0, 0}, {0, -1.8, 0}, {0, 0, 6}, {0, -1.6, 6}, 0.3, colour::GREY);
                   })});
    return out;
}

Model build_player_gear(Shape shape) {
    if (shape == Shape::NOSE_GEAR_LAMP)
        return part([](Mesh& m) {
            m.box({-0.3, -0.3, -0.5}, {0.3, 0.3, 0}, colour::GREY);
            m.glowing({{-0.25, 0.31, -0.45}, {0.25, 0.31, -0.45}, {0.25, 0.31, -0.05}, {-0.25, 0.31, -0.05}},
                      colour::WHITE);
        });
    // A main leg, lowered, with the wheel the animation turns.
    return part([](Mesh& m) { m.box({-0.25, -0.25, -3.0}, {0.25, 0.25, 0}, colour::LIGHT_GREY); },
                {{number_of(MAIN_WHEEL), {0, 0, -3.0}}});
}

// Vertices by number: the base ring stays; the middle ring (numbers 1, 4, 5, 8, 9, 14 ... 31)
// closes towards the axis as the nozzle opens less; the lip (57 to 90) closes and moves aft.
Model build_nozzle() {
    static const int MIDDLE[16] = {1, 4, 5, 8, 9, 14, 15, 16, 17, 19, 22, 23, 28, 29, 30, 31};
    static const int BASE[16] = {0, 2, 3, 6, 7, 10, 11, 12, 13, 18, 20, 21, 24, 25, 26, 27};
    Model model;
    Mesh& m = model.mesh;
    m.vertices.assign(91, Point{});
    auto set = [&m](int number, Point p) { m.vertices[size_t(number)] = {std::round(p.x * 16), std::round(p.y * 16), std::round(p.z * 16)}; };
    auto ring = [](double r, double y, int i, int n) {
        const double a = 2 * std::numbers::pi * (i + 0.25) / n;
        return Point{r * std::cos(a), y, AXIS_Z + r * std::sin(a)};
    };
    for (int i = 0; i < 16; ++i) {
        set(BASE[i], ring(2.3, -21.5, i, 16));
        set(MIDDLE[i], ring(2.2, -23.0, i, 16));
    }
    for (int i = 0; i < 17; ++i) {
        set(57 + i, ring(2.0, -25.2, i, 17));  // outer lip
        set(74 + i, ring(1.7, -24.9, i, 17));  // inner lip
        set(32 + i, ring(1.4, -24.0, i, 17));  // the burner face
    }
    for (int i = 49; i <= 56; ++i) set(i, {0, -31.0 - (i - 49) * 0.01, AXIS_Z});  // the flame's tip
    auto v = [&m](int number) { return Point{m.vertices[size_t(number)].x / 16, m.vertices[size_t(number)].y / 16,
                                             m.vertices[size_t(number)].z / 16}; };
    auto away_from = [](std::vector<Point> face, Point inside) {
        Point c{0, 0, 0};
        for (const Point& p : face) c = c + p * (1.0 / double(face.size()));
        const Point a = face[1] - face[0], b = face[2] - face[0];
        const Point n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
        const Point d = c - inside;
        if (n.x * d.x + n.y * d.y + n.z * d.z < 0) return std::vector<Point>(face.rbegin(), face.rend());
        return face;
    };
    for (int i = 0; i < 16; ++i) {
        const int j = (i + 1) % 16;
        const Point axis{0, -22.25, AXIS_Z};
        m.polygon(away_from({v(BASE[i]), v(BASE[j]), v(MIDDLE[j]), v(MIDDLE[i])}, axis), colour::GREY);
    }
    // Middle ring to outer lip: a strip of triangles between a 16-gon and a 17-gon.
    for (int i = 0, k = 0; i < 16 || k < 17;) {
        const double next_middle = (i + 1) / 16.0, next_lip = (k + 1) / 17.0;
        std::vector<Point> tri;
        if (k >= 17 || (i < 16 && next_middle <= next_lip)) {
            tri = {v(MIDDLE[i % 16]), v(MIDDLE[(i + 1) % 16]), v(57 + k % 17)};
            ++i;
        } else {
            tri = {v(MIDDLE[i % 16]), v(57 + (k + 1) % 17), v(57 + k % 17)};
            ++k;
        }
        m.polygon(away_from(tri, {0, tri[0].y * 0.5 + tri[2].y * 0.5, AXIS_Z}), colour::DARK_GREY);
    }
    const Point forward{0, -15, AXIS_Z};
    for (int i = 0; i < 17; ++i) {
        const int j = (i + 1) % 17;
        m.polygon(away_from({v(57 + i), v(57 + j), v(74 + j), v(74 + i)}, forward), colour::DARK_GREY);
        m.raw(face_of(3, colour::DARK_GREY, colour::GREY), away_from({v(74 + i), v(74 + j), v(32 + j), v(32 + i)}, forward));
    }
    std::vector<Point> face;
    for (int i = 0; i < 17; ++i) face.push_back(v(32 + i));
    m.raw(face_of(4, colour::ORANGE, colour::ORANGE), away_from(face, forward));
    for (int i = 0; i < 17; i += 2) {
        const Point tip = v(49);
        m.raw(face_of(5, colour::YELLOW, colour::YELLOW),
              away_from({v(32 + i), v(32 + (i + 2) % 17), tip}, {0, -26, AXIS_Z}));
    }
    return model;
}

}  // namespace vyr::vyrgen
