#include "tools/vyrgen/menus/recognition_pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "tools/vyrgen/pictures/backdrops.h"
#include "tools/vyrgen/pictures/lettering.h"
#include "tools/vyrgen/rgb_palettes.h"

namespace vyr::vyrgen {

namespace {

struct Control {
    Plate plate;
    const char* picture;
};

constexpr Control CONTROLS[] = {
    {{400, 36, 639, 107, "AIRCRAFT"}, "vr_aircr"}, {{400, 132, 639, 203, "VEHICLES"}, "vr_vehic"},
    {{400, 229, 639, 300, "SHIPS"}, "vr_ships"},    {{420, 320, 536, 390, "PREVIOUS"}, "vr_prev"},
    {{537, 320, 639, 391, "NEXT"}, "vr_next"},      {{0, 445, 111, 476, "HELP"}, "vr_help"},
    {{106, 445, 217, 476, "PREFS"}, "vr_prefs"},    {{212, 445, 323, 476, "LOG"}, "vr_logs"},
    {{320, 445, 431, 476, "MAIN"}, "vr_main"},      {{425, 445, 536, 476, "BACK"}, "vr_back"},
    {{526, 445, 637, 476, "QUIT"}, "vr_quit"},
};

// Colours the world set-up leaves alone (its terrain, fog and sky colours change with the zone
// and the light), which the menu look is drawn in.
bool steady_colour(int index) { return index < 71 || (index >= 168 && index < 246); }

// The menus' colours to their nearest steady colours of the recognition palette.
std::array<uint8_t, 256> menu_to_recognition(const Palette& menu, const Palette& recognition) {
    std::array<uint8_t, 256> table{};
    for (int from = 0; from < 256; ++from) {
        long best = -1;
        for (int to = 0; to < 256; ++to) {
            if (!steady_colour(to)) continue;
            long d = 0;
            for (int c = 0; c < 3; ++c) {
                const long k = long(menu[size_t(from) * 3 + c]) - recognition[size_t(to) * 3 + c];
                d += k * k;
            }
            if (best < 0 || d < best) {
                best = d;
                table[size_t(from)] = uint8_t(to);
            }
        }
    }
    return table;
}

Image in_recognition_colours(Image image) {
    static const std::array<uint8_t, 256> table = menu_to_recognition(backdrop_palette(), recognition_palette());
    for (uint8_t& p : image.pixels) p = table[p];
    return image;
}

Image recognition_board() {
    std::vector<Plate> plates;
    for (const Control& control : CONTROLS) plates.push_back(control.plate);
    Image board = menu_board("", plates);
    letter_box(board, {12, 4, 380, 34}, "VEHICLE RECOGNITION", 24, 2.2, AMBER_LAST, AMBER_LAST, false);
    for (int y = VIEW_Y0; y <= VIEW_Y1; ++y)
        for (int x = VIEW_X0; x <= VIEW_X1; ++x)
            board.at(x, y) = (x == VIEW_X0 || y == VIEW_Y0) ? SLATE : (x == VIEW_X1 || y == VIEW_Y1) ? SLATE + 16 : BLACK;
    return in_recognition_colours(board);
}

// Sky fading to a pale horizon a third of the way down, then open ground that darkens towards
// the viewer: neither the grey of aircraft and ships nor the olive of armour.
Image recognition_backdrop() {
    constexpr int S = RECOGNITION_BACKDROP_SIZE;
    constexpr int HORIZON_ROW = 133;
    Image image(S, S);
    for (int y = 0; y < S; ++y) {
        uint8_t colour;
        if (y < HORIZON_ROW) {
            colour = shade(64, 70, double(y) / HORIZON_ROW);  // deep blue to bright blue
        } else {
            const double t = double(y - HORIZON_ROW) / (S - HORIZON_ROW);
            colour = shade(39, 31, std::sqrt(t));  // pale sand at the horizon to brown near
        }
        std::fill(image.pixels.begin() + ptrdiff_t(y) * S, image.pixels.begin() + ptrdiff_t(y + 1) * S, colour);
    }
    return image;
}

}  // namespace

Palette recognition_palette() {
    Palette palette = backdrop_palette();
    const std::vector<uint8_t> three_d = three_d_palette();
    std::copy(three_d.begin(), three_d.end(), palette.begin());
    set_colour(palette, 0, {0, 0, 0});
    set_colour(palette, 1, {250, 250, 250});
    return palette;
}

std::vector<PictureFile> recognition_pictures() {
    const Palette palette = recognition_palette();
    std::vector<PictureFile> files = {{"menuscrn/rec_off.lbm", {recognition_board(), palette}, true},
                                      {"menuscrn/vr_backd.lbm", {recognition_backdrop(), palette}, true}};
    for (const Control& control : CONTROLS)
        files.push_back({std::string("menuscrn/") + control.picture + ".bbm",
                         {in_recognition_colours(pressed_plate(control.plate)), palette}, true});
    return files;
}

}  // namespace vyr::vyrgen
