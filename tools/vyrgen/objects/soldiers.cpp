// People and the guns they man: articulated figures whose limbs are sub-objects the soldiers'
// movements turn, the items they hold, the casualty on its stretcher and the heavy machine guns.
#include <cmath>
#include <numbers>

#include "tools/vyrgen/objects/shapes.h"

namespace vyr::vyrgen {

// Three uniforms, each with its seven limbs, and the machine guns' gun part.
const int32_t SOLDIER_PART_NUMBERS[SOLDIER_PART_COUNT] = {169, 170, 171, 172, 173, 174, 175, 176, 177, 178, 179,
                                                          180, 181, 182, 183, 184, 189, 190, 191, 193, 196, 198};

namespace {

// Only the right hand holds an item.
enum Limb { THIGH, SHIN, FOOT, LEFT_UPPER_ARM, LEFT_FOREARM, RIGHT_UPPER_ARM, RIGHT_FOREARM, LIMBS };
enum Uniform { RUSSIAN, AMERICAN, REBEL, UNIFORMS };

const int32_t GUN_PART = SOLDIER_PART_NUMBERS[int(UNIFORMS) * int(LIMBS)];
constexpr int32_t GUN_FLASH = 1035;  // the aircraft's muzzle flash, along the barrel
constexpr int32_t SOLDIER_FLASH = 979;
constexpr int32_t LAUNCHERS[] = {707, 929};
constexpr int32_t PACK = 870;
constexpr int32_t RADIO = 974;
constexpr int32_t GUN_SHIELD = 981;

// Lengths in feet: hip to ground 3 (as the movements were recorded), shoulder to hand 1.9.
constexpr double HIP = 3.0, THIGH_LENGTH = 1.5, SHIN_LENGTH = 1.4;
constexpr double SHOULDER = 5.0, UPPER_ARM_LENGTH = 1.0, FOREARM_LENGTH = 0.9;
constexpr double HIP_X = 0.42, SHOULDER_X = 1.0;

int32_t limb_number(Uniform uniform, Limb limb) { return SOLDIER_PART_NUMBERS[int(uniform) * int(LIMBS) + int(limb)]; }

Uniform uniform_of(int32_t number) {
    if (number >= 916 && number <= 918) return AMERICAN;
    if (number >= 987) return REBEL;
    return RUSSIAN;
}

uint8_t cloth_of(Uniform uniform) {
    switch (uniform) {
    case AMERICAN: return colour::TAN;
    case REBEL: return colour::BROWN;
    default: return colour::OLIVE;
    }
}

// A limb hangs from its joint down its own -z: the movements swing it about x.
Model limb(Uniform uniform, Limb which) {
    Model model;
    model.flags = CASTS_SHADOW;
    Mesh& m = model.mesh;
    const uint8_t cloth = cloth_of(uniform);
    auto next = [&](Limb child, double at) {
        m.sub_object(0);
        model.parts.push_back({limb_number(uniform, child), {0, 0, -at}});
    };
    switch (which) {
    case THIGH:
        m.box({-0.26, -0.3, -THIGH_LENGTH}, {0.26, 0.3, 0.1}, cloth);
        next(SHIN, THIGH_LENGTH);
        break;
    case SHIN:
        m.box({-0.22, -0.25, -SHIN_LENGTH}, {0.22, 0.25, 0}, cloth);
        next(FOOT, SHIN_LENGTH);
        break;
    case FOOT:
        m.box({-0.22, -0.3, -HIP + THIGH_LENGTH + SHIN_LENGTH}, {0.22, 0.65, 0}, colour::BLACK);
        break;
    case LEFT_UPPER_ARM:
    case RIGHT_UPPER_ARM:
        m.box({-0.2, -0.22, -UPPER_ARM_LENGTH}, {0.2, 0.22, 0.15}, cloth);
        next(which == LEFT_UPPER_ARM ? LEFT_FOREARM : RIGHT_FOREARM, UPPER_ARM_LENGTH);
        break;
    case LEFT_FOREARM:
    case RIGHT_FOREARM:
        m.box({-0.17, -0.18, -FOREARM_LENGTH}, {0.17, 0.18, 0}, cloth);
        m.box({-0.13, -0.13, -FOREARM_LENGTH - 0.25}, {0.13, 0.13, -FOREARM_LENGTH}, colour::SAND);
        if (which == LEFT_FOREARM) break;
        // The hand holds whatever the creator's list puts there.
        m.sub_object(0);
        model.parts.push_back({0, {0, 0, -FOREARM_LENGTH - 0.12}});
        break;
    default: break;
    }
    return model;
}

// The plane x = `x`, its front to the right.
std::vector<Point> side_plane(double x) { return {{x, -2, 0}, {x, 2, 0}, {x, 2, 7}, {x, -2, 7}}; }

// Chains 0 and 1 are the left and right legs, 2 and 3 the left and right arms (the right hand
// holding the item); slot 4 is the pack on the back. Without a depth buffer the far side's limbs
// go first, then the body, then the near side's.
Model figure(int32_t number) {
    Model model;
    model.flags = CASTS_SHADOW;
    const Uniform uniform = uniform_of(number);
    const uint8_t cloth = cloth_of(uniform);
    model.parts = {{limb_number(uniform, THIGH), {-HIP_X, 0, HIP}},
                   {limb_number(uniform, THIGH), {HIP_X, 0, HIP}},
                   {limb_number(uniform, LEFT_UPPER_ARM), {-SHOULDER_X, 0, SHOULDER}},
                   {limb_number(uniform, RIGHT_UPPER_ARM), {SHOULDER_X, 0, SHOULDER}},
                   {0, {0, -0.45, 4.4}}};
    const uint8_t helmet = uniform == REBEL ? colour::WHITE : colour::DARK_OLIVE;
    model.mesh.node(
        side_plane(-0.5),
        [](Mesh& m) {
            m.sub_object(0);
            m.sub_object(2);
        },
        [&](Mesh& m) {
            m.node(
                side_plane(0.5),
                [&](Mesh& body) {
                    body.box({-0.7, -0.35, HIP - 0.1}, {0.7, 0.35, 3.8}, cloth);              // hips
                    body.box({-0.85, -0.42, 3.8}, {0.85, 0.42, SHOULDER + 0.2}, cloth);       // chest
                    body.box({-0.16, -0.16, SHOULDER + 0.2}, {0.16, 0.16, 5.4}, colour::SAND);  // neck
                    body.box({-0.33, -0.36, 5.4}, {0.33, 0.4, 6.1}, colour::SAND);            // head
                    body.tube_z(0, 0, 5.85, 0.5, 6.35, 0.28, 6, helmet);
                    body.sub_object(4);
                },
                [](Mesh& near) {
                    near.sub_object(1);
                    near.sub_object(3);
                });
        });
    return model;
}

// Lying on a stretcher whose poles the bearers hold 4 ft ahead and behind.
Model casualty() {
    Model model;
    model.flags = CASTS_SHADOW;
    Mesh& m = model.mesh;
    for (double s : {-1.0, 1.0}) m.box({s * 0.95 - 0.08, -4.2, -0.1}, {s * 0.95 + 0.08, 4.2, 0.05}, colour::BROWN);
    m.box({-0.9, -3.2, -0.05}, {0.9, 3.2, 0.02}, colour::LIGHT_GREY);  // canvas
    m.box({-0.7, -3, 0.02}, {0.7, 2.4, 0.7}, colour::OLIVE);          // the wounded man under a blanket
    m.box({-0.35, 2.4, 0.02}, {0.35, 3.1, 0.65}, colour::SAND);
    return model;
}

// Held items lie along the hand's -z, down the forearm: forward when the arm is raised to carry.
Model item(int32_t number) {
    Model model;
    Mesh& m = model.mesh;
    if (number == SOLDIER_FLASH) {
        for (double a : {0.0, 60.0, 120.0}) {
            const double c = std::cos(a * std::numbers::pi / 180) * 0.5, s = std::sin(a * std::numbers::pi / 180) * 0.5;
            const std::vector<Point> star = {{-c, -s, 0}, {0, 0, -1.6}, {c, s, 0}};
            m.glowing(star, colour::YELLOW);
            m.glowing({star.rbegin(), star.rend()}, colour::ORANGE);
        }
        return model;
    }
    if (number == LAUNCHERS[0] || number == LAUNCHERS[1]) {
        m.tube_z(0, 0.25, -2.4, 0.22, 1.2, 0.22, 6, colour::DARK_OLIVE);
        m.box({-0.08, 0.05, -0.4}, {0.08, 0.2, 0}, colour::BLACK);  // grip
        m.sub_object(0);
        model.parts.push_back({0, {0, 0.25, -2.5}});  // the back-blast shown after a shot
        return model;
    }
    if (number == PACK) {
        m.box({-0.55, -0.45, -0.6}, {0.55, 0, 0.6}, colour::DARK_OLIVE);
        return model;
    }
    if (number == RADIO) {
        m.box({-0.25, -0.2, -0.6}, {0.25, 0.2, 0.1}, colour::DARK_GREY);
        m.box({-0.02, -0.02, 0.1}, {0.02, 0.02, 1.4}, colour::BLACK);  // aerial
        return model;
    }
    if (number == GUN_SHIELD) {
        model.flags = CASTS_SHADOW;
        m.plate({{-1.2, 1.2, -0.8}, {1.2, 1.2, -0.8}, {1.2, 1.2, 0.9}, {-1.2, 1.2, 0.9}}, colour::DARK_OLIVE);
        return model;
    }
    // A rifle: stock above the hand, barrel below it.
    m.box({-0.08, -0.1, -2.6}, {0.08, 0.1, 0.7}, colour::BLACK);
    m.box({-0.07, 0.1, -0.9}, {0.07, 0.45, -0.6}, colour::BLACK);  // magazine
    return model;
}

// The gun turns on its mount and its shield and muzzle flash turn with it.
Model gun_part() {
    Model model;
    model.flags = CASTS_SHADOW;
    Mesh& m = model.mesh;
    m.box({-0.3, -1.4, -0.25}, {0.3, 0.6, 0.3}, colour::DARK_GREY);  // receiver
    m.tube_y(0, 0, 0.6, 0.14, 5.2, 0.1, 6, colour::BLACK);           // barrel
    m.box({-0.35, -1.9, -0.2}, {0.35, -1.4, 0.1}, colour::BLACK);    // spade grips
    m.sub_object(1);
    m.sub_object(0);
    model.parts = {{GUN_FLASH, {0, 5.3, 0}}, {0, {0, 0.8, 0}}};
    return model;
}

}  // namespace

Model build_soldier(Shape shape, int32_t number) {
    switch (shape) {
    case Shape::CASUALTY: return casualty();
    case Shape::SOLDIER_ITEM: return item(number);
    default: return figure(number);
    }
}

// A tripod low enough for a crouching gunner behind it.
Model build_machine_gun(int32_t) {
    Model model;
    model.flags = CASTS_SHADOW | SOLID;
    Mesh& m = model.mesh;
    for (double a : {0.0, 120.0, 240.0}) {
        const double r = a * std::numbers::pi / 180;
        const Point foot{2.0 * std::sin(r), 2.0 * std::cos(r) - 0.5, 0};
        m.box(foot + Point{-0.1, -0.1, 0}, foot + Point{0.1, 0.1, 0.2}, colour::DARK_GREY);
        m.plate({foot + Point{-0.08, 0, 0}, foot + Point{0.08, 0, 0}, {0.08, 0, 2.3}, {-0.08, 0, 2.3}}, colour::DARK_GREY);
    }
    m.tube_z(0, 0, 1.8, 0.2, 2.4, 0.2, 6, colour::DARK_GREY);
    m.sub_object(0);
    model.parts = {{GUN_PART, {0, 0, 2.5}}};
    return model;
}

std::vector<std::pair<int32_t, Model>> build_soldier_parts() {
    std::vector<std::pair<int32_t, Model>> parts;
    for (int u = 0; u < UNIFORMS; ++u)
        for (int l = 0; l < LIMBS; ++l) parts.emplace_back(limb_number(Uniform(u), Limb(l)), limb(Uniform(u), Limb(l)));
    parts.emplace_back(GUN_PART, gun_part());
    return parts;
}

}  // namespace vyr::vyrgen
