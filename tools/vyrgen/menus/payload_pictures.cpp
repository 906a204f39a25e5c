#include "tools/vyrgen/menus/payload_pictures.h"

#include <string>

#include "tools/vyrgen/pictures/backdrops.h"
#include "tools/vyrgen/pictures/lettering.h"

namespace vyr::vyrgen {

namespace {

// Where the stores hang: the top-left corner of a store's picture, hardpoints 0 to 10, as the
// pylon file places them; the pylon itself stands above the corner's right.
constexpr int HARDPOINTS[11][2] = {{39, 241},  {76, 251},  {115, 245}, {165, 243}, {235, 195}, {416, 279},
                                   {386, 278}, {352, 267}, {307, 257}, {277, 202}, {237, 265}};
constexpr int CENTRE_X = 245;

enum class Shape { BOMB, RETARDED, GUIDED, MISSILE, ROCKETS, POD, TANK, GUN, CLUSTER };

struct Store {
    const char* file;
    int width, height;
    Shape shape;
    uint8_t body;
};

const Store STORES[] = {
    {"gepod", 51, 112, Shape::GUN, STEEL + 10},        {"aim-9l", 34, 71, Shape::MISSILE, WHITE},
    {"amraam", 39, 95, Shape::MISSILE, WHITE},         {"lau-3a", 26, 42, Shape::ROCKETS, STEEL + 12},
    {"mav_tv", 33, 68, Shape::MISSILE, STEEL + 26},    {"mav_ir", 33, 67, Shape::MISSILE, STEEL + 22},
    {"durandal", 27, 63, Shape::RETARDED, LAND + 4},   {"harm", 41, 107, Shape::MISSILE, STEEL + 28},
    {"mk_82", 22, 55, Shape::BOMB, LAND + 6},          {"mk_82ret", 22, 56, Shape::RETARDED, LAND + 6},
    {"mk_82pv", 34, 81, Shape::GUIDED, LAND + 6},      {"mk_83", 30, 74, Shape::BOMB, LAND + 4},
    {"mk_83ret", 32, 77, Shape::RETARDED, LAND + 4},   {"mk_83pv", 43, 98, Shape::GUIDED, LAND + 4},
    {"mk_84", 36, 92, Shape::BOMB, LAND + 2},          {"mk_84ret", 40, 96, Shape::RETARDED, LAND + 2},
    {"mk_84pv", 53, 113, Shape::GUIDED, LAND + 2},     {"cbu-87", 26, 56, Shape::CLUSTER, LAND + 8},
    {"cbu-89", 26, 56, Shape::CLUSTER, STEEL + 8},     {"alq-131", 26, 61, Shape::POD, STEEL + 14},
    {"lant_l", 29, 67, Shape::POD, STEEL + 18},        {"lant_r", 24, 59, Shape::POD, STEEL + 18},
    {"orpheus", 41, 90, Shape::POD, STEEL + 12},       {"fuel_1", 50, 95, Shape::TANK, STEEL + 16},
    {"fuel_2", 64, 130, Shape::TANK, STEEL + 16},
};

// A store seen from the side, nose down: the body between a top and a nose, fins at the tail.
Image store_picture(const Store& s) {
    Image image(s.width, s.height);
    const double w = s.width, h = s.height, cx = w / 2;
    const double r = s.shape == Shape::TANK ? w * 0.42 : s.shape == Shape::MISSILE ? w * 0.12 : w * 0.28;
    const Region lug = box(cx - 1, 0, cx + 1, 3);
    Region body = unite({box(cx - r, h * 0.22, cx + r, h * 0.72), disc(cx, h * 0.72, r),
                         triangle(cx - r, h * 0.72, cx + r, h * 0.72, cx, h - 2)});
    Region fins = box(0, 0, 0, 0);
    switch (s.shape) {
    case Shape::BOMB:
    case Shape::CLUSTER:
        fins = unite({triangle(cx - r, h * 0.3, cx - w * 0.48, h * 0.06, cx - r, h * 0.06),
                      triangle(cx + r, h * 0.3, cx + w * 0.48, h * 0.06, cx + r, h * 0.06)});
        body = unite({body, box(cx - r * 0.6, 4, cx + r * 0.6, h * 0.22)});
        break;
    case Shape::RETARDED:
        fins = unite({box(cx - w * 0.48, 4, cx + w * 0.48, h * 0.16), box(cx - r * 0.6, h * 0.16, cx + r * 0.6, h * 0.22)});
        break;
    case Shape::GUIDED:
        fins = unite({triangle(cx - r, h * 0.3, cx - w * 0.48, h * 0.04, cx - r, h * 0.04),
                      triangle(cx + r, h * 0.3, cx + w * 0.48, h * 0.04, cx + r, h * 0.04),
                      triangle(cx - r * 0.5, h * 0.86, cx - w * 0.45, h * 0.82, cx - r * 0.5, h * 0.78),
                      triangle(cx + r * 0.5, h * 0.86, cx + w * 0.45, h * 0.82, cx + r * 0.5, h * 0.78)});
        body = unite({body, box(cx - r * 0.6, 4, cx + r * 0.6, h * 0.22), box(cx - r * 0.5, h * 0.72, cx + r * 0.5, h - 4)});
        break;
    case Shape::MISSILE:
        body = unite({box(cx - r, 4, cx + r, h * 0.9), triangle(cx - r, h * 0.9, cx + r, h * 0.9, cx, h - 1)});
        fins = unite({triangle(cx - r, h * 0.22, cx - w * 0.48, h * 0.06, cx - r, h * 0.04),
                      triangle(cx + r, h * 0.22, cx + w * 0.48, h * 0.06, cx + r, h * 0.04),
                      triangle(cx - r, h * 0.8, cx - w * 0.3, h * 0.72, cx - r, h * 0.66),
                      triangle(cx + r, h * 0.8, cx + w * 0.3, h * 0.72, cx + r, h * 0.66)});
        break;
    case Shape::ROCKETS:
        body = box(cx - r * 1.5, 4, cx + r * 1.5, h - 2);
        break;
    case Shape::POD:
    case Shape::GUN:
        body = unite({box(cx - r, h * 0.1, cx + r, h * 0.85), disc(cx, h * 0.85, r), disc(cx, h * 0.1 + r * 0.2, r)});
        if (s.shape == Shape::GUN) fins = box(cx - 2, h * 0.85, cx + 2, h - 1);
        break;
    case Shape::TANK:
        body = unite({disc(cx, h * 0.42, r), triangle(cx - r * 0.9, h * 0.5, cx + r * 0.9, h * 0.5, cx, h - 1),
                      triangle(cx - r * 0.8, h * 0.35, cx + r * 0.8, h * 0.35, cx, 4)});
        break;
    }
    paint(image, 0, 0, s.width, s.height, lug, STEEL + 4);
    paint_outlined(image, 0, 0, s.width, s.height, fins, BLACK, uint8_t(s.body - 2));
    paint_outlined(image, 0, 0, s.width, s.height, body, BLACK, s.body);
    // A band of colour where the store's kind is painted: yellow for explosive, brown for rockets.
    const uint8_t band = s.shape == Shape::POD || s.shape == Shape::TANK ? STEEL + 6
                         : s.shape == Shape::ROCKETS                      ? RED
                                                                          : AMBER_LAST - 4;
    paint(image, 0, 0, s.width, s.height,
          [&](double x, double y) { return body(x, y) && y > h * 0.55 && y < h * 0.55 + 2 && x > cx - r + 1 && x < cx + r - 1; },
          band);
    if (s.shape == Shape::ROCKETS)
        for (int i = -1; i <= 1; ++i) paint(image, 0, 0, s.width, s.height, disc(cx + i * r, h - 5, 1.5), BLACK);
    return image;
}

// The aircraft from the front over a hangar wall: wings from tip to tip through the hardpoints,
// the fuselage, intakes and fin on the centre line.
Image aircraft_front() {
    Image image(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x)
            image.at(x, y) = y < 360 ? shade(SLATE, SLATE_LAST, 0.15 + 0.2 * y / 360.0) : shade(SLATE, SLATE_LAST, 0.55);
    for (int y = 360; y < HEIGHT; y += 24)
        for (int x = 0; x < WIDTH; ++x) image.at(x, y) = SLATE + 6;
    // Wing leading edges, down a little to the right, as the aircraft is seen from front left.
    const Region wings = unite({stroke(30, 236, CENTRE_X, 228, 6), stroke(CENTRE_X, 228, 440, 274, 6)});
    const Region fuselage = unite({disc(CENTRE_X, 232, 34), box(CENTRE_X - 6, 120, CENTRE_X + 6, 232),
                                   triangle(CENTRE_X - 8, 200, CENTRE_X + 8, 200, CENTRE_X, 110)});
    const Region intakes = unite({disc(CENTRE_X - 22, 258, 12), disc(CENTRE_X + 22, 262, 12)});
    paint_outlined(image, 0, 0, WIDTH, HEIGHT, wings, BLACK, STEEL + 12);
    paint_outlined(image, 0, 0, WIDTH, HEIGHT, fuselage, BLACK, STEEL + 14);
    paint_outlined(image, 0, 0, WIDTH, HEIGHT, intakes, BLACK, BLACK);
    paint(image, 0, 0, WIDTH, HEIGHT, disc(CENTRE_X, 222, 9), SKY + 30);  // canopy
    for (const auto& p : HARDPOINTS) {
        const int x = p[0] + 8, y = p[1];
        paint_outlined(image, 0, 0, WIDTH, HEIGHT, box(x - 2, y - 12, x + 2, y + 2), BLACK, STEEL + 8);
    }
    // The panel beside the aircraft where the store's name and the weight are written.
    for (int y = 298; y < 444; ++y)
        for (int x = 458; x < 632; ++x) image.at(x, y) = (x == 458 || y == 298 || x == 631 || y == 443) ? SLATE + 20 : BLACK;
    letter_box(image, {290, 335, 150, 24}, "PAYLOAD", 16, 1.8, AMBER_LAST - 6, AMBER_LAST - 6, true);
    return image;
}

// The salvo window: a panel over the lower left with the rows' headings.
Image salvo_window() {
    Image image(WIDTH, HEIGHT);
    for (int y = 200; y < 370; ++y)
        for (int x = 20; x < 420; ++x)
            image.at(x, y) = (x == 20 || y == 200 || x == 419 || y == 369) ? SLATE + 24 : shade(SLATE, SLATE_LAST, 0.4);
    letter_box(image, {30, 204, 380, 24}, "SALVO SIZE", 14, 1.6, AMBER_LAST - 6, AMBER_LAST - 6, true);
    return image;
}

// A button's face at its rectangle's size with its lettering.
Image button(int width, int height, const char* label) {
    Image image(width, height);
    draw_plate(image, {0, 0, width - 1, height - 1, label}, false);
    return image;
}

Image highlight() {
    Image image(35, 70);
    paint(image, 0, 0, 35, 70, subtract(box(0, 0, 34, 69), box(3, 3, 31, 66)), AMBER_LAST - 4);
    return image;
}

}  // namespace

std::vector<PictureFile> payload_pictures() {
    const Palette palette = backdrop_palette();
    std::vector<PictureFile> files = {
        {"menuscrn/pay_off.lbm", {aircraft_front(), palette}, true},
        {"menuscrn/psalv_of.lbm", {salvo_window(), palette}, true},
        {"menuscrn/select.bbm", {highlight(), palette}, true},
        {"menuscrn/accept.bbm", {button(103, 30, "ACCEPT"), palette}, true},
        {"menuscrn/clear.bbm", {button(104, 30, "CLEAR"), palette}, true},
        {"menuscrn/accept1.bbm", {button(105, 31, "ACCEPT"), palette}, true},
        {"menuscrn/back1.bbm", {button(102, 29, "BACK"), palette}, true},
        {"menuscrn/minus1.bbm", {button(20, 16, "-"), palette}, true},
        {"menuscrn/minus2.bbm", {button(20, 16, "-"), palette}, true},
        {"menuscrn/plus1.bbm", {button(22, 19, "+"), palette}, true},
        {"menuscrn/plus2.bbm", {button(22, 19, "+"), palette}, true},
    };
    for (const Store& store : STORES)
        files.push_back({std::string("menuscrn/") + store.file + ".bbm", {store_picture(store), palette}, true});
    return files;
}

}  // namespace vyr::vyrgen
