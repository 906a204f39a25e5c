#include "tools/vyrgen/menus/menu_pictures.h"

#include <array>
#include <cctype>
#include <functional>
#include <iterator>
#include <string>
#include <utility>

#include "tools/vyrgen/menus/flight_keys.h"
#include "tools/vyrgen/pictures/backdrops.h"
#include "tools/vyrgen/pictures/lettering.h"

namespace vyr::vyrgen {

namespace {

// A control of a screen; its pressed look is written as `picture` unless that is empty (a
// picture that several screens share is written once).
struct Control {
    Plate plate;
    std::string picture;
};

struct MenuScreen {
    std::string background;
    const char* heading;
    std::vector<Control> controls;
    std::function<void(Image&)> dress;  // what the screen shows besides its controls
    int heading_right = HEADING_RIGHT;   // where the heading's room ends
};

// The back button of the screens that show only their backgrounds.
constexpr Plate BARE_BACK = {526, 445, 637, 476, "BACK"};

constexpr std::array<std::array<int, 4>, 6> BAR_SLOTS = {{{0, 445, 111, 476},
                                                          {106, 445, 217, 476},
                                                          {212, 445, 323, 476},
                                                          {320, 445, 431, 476},
                                                          {425, 445, 536, 476},
                                                          {526, 445, 637, 476}}};

// The small-button bar: labels and picture suffixes slot by slot.
std::vector<Control> bar(const char* prefix, const std::array<const char*, 6>& labels,
                         const std::array<const char*, 6>& suffixes) {
    std::vector<Control> controls;
    for (size_t i = 0; i < labels.size(); ++i) {
        const auto& slot = BAR_SLOTS[i];
        controls.push_back({{slot[0], slot[1], slot[2], slot[3], labels[i]},
                            std::string("menuscrn/") + prefix + suffixes[i] + ".bbm"});
    }
    return controls;
}

std::vector<Control> with(std::vector<Control> controls, const std::vector<Control>& more) {
    controls.insert(controls.end(), more.begin(), more.end());
    return controls;
}

// A sunken dark panel with a small heading above it.
void panel(Image& image, int x0, int y0, int x1, int y1, const char* heading) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            image.at(x, y) = (x == x0 || y == y0) ? SLATE : (x == x1 || y == y1) ? SLATE + 16 : BLACK;
    if (heading)
        letter_box(image, {x0 - 6, y0 - 22, x1 - x0 + 7, 21}, heading, 12, 1.3, AMBER_LAST - 6, AMBER_LAST - 6, false);
}

void top_ten_dress(Image& image) {
    panel(image, 55, 84, 370, 294, "TOP TEN PILOTS");
    panel(image, 185, 358, 260, 384, nullptr);
    letter_box(image, {54, 360, 128, 22}, "LAST SCORE", 10, 1.1, AMBER_LAST - 6, AMBER_LAST - 6, false);
}

void credits_dress(Image& image) {
    panel(image, 100, 10, 620, 432, nullptr);
    // The credits' lines start at (110, 15) on a plate of their own.
    draw_plate(image, {104, 10, 330, 84, ""}, false);
    letter_box(image, {18, 444, 392, 34}, "LEAVE THE GAME?", 18, 2, AMBER_LAST, AMBER_LAST, false);
}

// The first pages tell what the screens' buttons do; the third lists the flight keys.
void help_dress(int page, Image& image) {
    const char* const lines[3][4] = {
        {"THE MAIN SCREEN", "QUICK START FLIES AT ONCE", "COMBAT SETS UP MISSIONS", "TRAINING TEACHES THE BASICS"},
        {"QUICK START", "CHOOSE A WAR ZONE TO FLY", "AIR OR GROUND SORTIES", "BEST SCORES JOIN THE TOP TEN"},
        {"THE SMALL BUTTONS", "HELP PREFS LOG RECOG", "BACK RETURNS A SCREEN", "QUIT LEAVES THE GAME"}};
    panel(image, 40, 90, 600, 420, nullptr);
    const auto title = [&](const char* text) {
        letter_box(image, {50, 100, 540, 34}, text, 20, 2, AMBER_LAST, AMBER_LAST, false);
    };
    if (page != 2) {
        const int text = page < 2 ? page : 2;
        title(lines[text][0]);
        for (int i = 1; i < 4; ++i)
            letter_box(image, {50, 110 + 56 * i, 540, 30}, lines[text][i], 16, 1.6, HUD_LAST, HUD_LAST, false);
        return;
    }
    title("FLIGHT KEYS");
    for (size_t i = 0; i < std::size(FLIGHT_KEYS); ++i) {
        const int y = 136 + 20 * int(i);
        letter_box(image, {50, y, 160, 20}, FLIGHT_KEYS[i].keys, 11, 1.2, AMBER_LAST - 4, AMBER_LAST - 4, false);
        letter_box(image, {210, y, 380, 20}, FLIGHT_KEYS[i].action, 11, 1.2, HUD_LAST, HUD_LAST, false);
    }
}

// An award on the board: a ribbon and a star or a cross in a ring.
void award_dress(Image& image, bool cross) {
    const double cx = 320, cy = 250;
    paint(image, 0, 0, WIDTH, HEIGHT, box(cx - 40, 90, cx + 40, 170), RED);
    paint(image, 0, 0, WIDTH, HEIGHT, box(cx - 12, 90, cx + 12, 170), WHITE);
    paint_outlined(image, 0, 0, WIDTH, HEIGHT, disc(cx, cy, 90), AMBER, AMBER_LAST - 4);
    const Region mark = cross ? unite({box(cx - 18, cy - 70, cx + 18, cy + 70), box(cx - 70, cy - 18, cx + 70, cy + 18)})
                              : unite({triangle(cx, cy - 80, cx - 70, cy + 40, cx + 70, cy + 40),
                                       triangle(cx, cy + 70, cx - 70, cy - 30, cx + 70, cy - 30)});
    paint_outlined(image, 0, 0, WIDTH, HEIGHT, mark, AMBER, AMBER_LAST);
    paint_outlined(image, 599, 465, 41, 15, box(0, 0, 40, 14), STEEL_LAST, STEEL + 6);
}

// The war-zone dress: the mission list and campaign situation of each zone, and their buttons.
void add_war_zone_screens(std::vector<MenuScreen>& screens) {
    const struct {
        const char* prefix;
        const char* situation;
        const char* name;
    } zones[] = {{"mi_", "menuscrn/c_isr_of.lbm", "ISRAEL"},
                 {"mk_", "menuscrn/c_kor_of.lbm", "KOREA"},
                 {"mc_", "menuscrn/c_cyp_of.lbm", "CYPRUS"},
                 {"ma_", "menuscrn/c_afg_of.lbm", "AFGHANISTAN"},
                 {"tr_", nullptr, "TRAINING"}};
    for (const auto& zone : zones) {
        std::vector<Control> controls =
            with({{{528, 395, 639, 426, "LOAD"}, std::string("menuscrn/") + zone.prefix + "commi.bbm"}},
                 bar(zone.prefix, {"HELP", "PREFS", "LOG", "RECOG", "BACK", "QUIT"},
                     {"help", "prefs", "logs", "recog", "back", "quit"}));
        if (zone.situation) {
            // The heading ends before the situation panel's own heading.
            screens.push_back({zone.situation, zone.name, controls,
                               [](Image& image) { panel(image, 330, 64, 628, 374, "SITUATION"); }, 316});
        } else {
            // Training has no situation screen; its buttons and toggles are written on their own.
            controls.push_back({{320, 395, 431, 426, "NO CRASH"}, "menuscrn/tr_nocr1.bbm"});
            controls.push_back({{424, 395, 535, 426, "FREE ARMS"}, "menuscrn/tr_free1.bbm"});
            screens.push_back({"", "", controls, nullptr});
        }
    }
    const std::pair<const char*, bool> awards[] = {
        {"menuscrn/prm_lt.lbm", false}, {"menuscrn/bstar.lbm", false}, {"menuscrn/fcross.lbm", true},
        {"menuscrn/honor.lbm", false}};
    for (const auto& [name, cross] : awards)
        screens.push_back({name, "AWARDED", {}, [cross](Image& image) { award_dress(image, cross); }});
    screens.push_back({"menuscrn/tv_demo.lbm", "HIGH SCORE",
                       {{{526, 445, 637, 476, "QUIT"}, ""}},
                       [](Image& image) { panel(image, 430, 192, 620, 258, "SCORE"); }});
}

std::vector<MenuScreen> menu_screens() {
    std::vector<MenuScreen> screens = {
        {"menuscrn/exit_off.lbm", "",
         {{{525, 445, 636, 476, "QUIT"}, "menuscrn/ex_quit.bbm"}, {{420, 445, 531, 476, "BACK"}, "menuscrn/ex_back.bbm"}},
         credits_dress},
        {"menuscrn/main_off.lbm", "MAIN MENU",
         with({{{400, 37, 639, 108, "QUICK START"}, "menuscrn/mn_qstrt.bbm"},
               {{400, 180, 639, 251, "COMBAT"}, "menuscrn/mn_comba.bbm"},
               {{400, 323, 639, 394, "TRAINING"}, "menuscrn/mn_train.bbm"}},
              bar("mn_", {"HELP", "PREFS", "LOG", "RECOG", "ANIMS", "QUIT"},
                  {"help", "prefs", "log", "recog", "anim", "quit"})),
         nullptr},
        {"menuscrn/qs_off.lbm", "QUICK START",
         with({{{404, 38, 639, 103, "ISRAEL"}, "menuscrn/qs_wz1.bbm"},
               {{403, 109, 639, 173, "KOREA"}, "menuscrn/qs_wz2.bbm"},
               {{403, 179, 639, 242, "CYPRUS"}, "menuscrn/qs_wz3.bbm"},
               {{404, 251, 639, 313, "AFGHANISTAN"}, "menuscrn/qs_wz4.bbm"},
               {{425, 330, 536, 361, "INVINCIBLE"}, "menuscrn/qs_invin.bbm"},
               {{365, 370, 476, 401, "AIR"}, "menuscrn/qs_airco.bbm"},
               {{480, 370, 591, 401, "GROUND"}, "menuscrn/qs_groun.bbm"}},
              bar("qs_", {"HELP", "PREFS", "LOG", "RECOG", "BACK", "QUIT"},
                  {"help", "prefs", "logs", "recog", "back", "quit"})),
         top_ten_dress},
        {"menuscrn/wz_off.lbm", "WAR ZONE",
         with({{{400, 36, 639, 107, "ISRAEL"}, "menuscrn/wz_israe.bbm"},
               {{400, 132, 639, 203, "KOREA"}, "menuscrn/wz_korea.bbm"},
               {{400, 229, 639, 300, "CYPRUS"}, "menuscrn/wz_cypru.bbm"},
               {{404, 325, 639, 389, "AFGHANISTAN"}, "menuscrn/wz_afgha.bbm"}},
              bar("wz_", {"HELP", "PREFS", "LOG", "RECOG", "BACK", "QUIT"},
                  {"help", "prefs", "logs", "recog", "back", "quit"})),
         nullptr},
        {"menuscrn/comb_off.lbm", "COMBAT",
         with({{{390, 36, 639, 107, "SINGLE MISSIONS"}, "menuscrn/cb_singl.bbm"},
               {{390, 132, 639, 203, "CAMPAIGN"}, "menuscrn/cb_campa.bbm"},
               {{390, 229, 639, 300, "NETWORK"}, "menuscrn/cb_netwo.bbm"},
               {{390, 324, 639, 395, "TWO PLAYER"}, "menuscrn/cb_twopl.bbm"}},
              bar("cb_", {"HELP", "PREFS", "LOG", "RECOG", "BACK", "QUIT"},
                  {"help", "prefs", "logs", "recog", "back", "quit"})),
         nullptr},
    };
    screens.push_back({"menuscrn/net_off.lbm", "NETWORK GAME",
                       with({{{400, 38, 636, 69, ""}, "menuscrn/dummy.bbm"}},
                            bar("nw_", {"HELP", "PREFS", "LOG", "RECOG", "BACK", "QUIT"},
                                {"help", "prefs", "logs", "recog", "back", "quit"})),
                       [](Image& image) {
                           panel(image, 38, 72, 380, 366, nullptr);
                           letter_box(image, {400, 12, 236, 22}, "YOUR NAME", 12, 1.3, AMBER_LAST - 6, AMBER_LAST - 6, false);
                       }});
    // The screens that show only their backgrounds for now, with a way back.
    const std::pair<const char*, const char*> boards[] = {
        {"menuscrn/logs_off.lbm", "PILOT LOG"},      {"menuscrn/rec_off.lbm", "RECOGNITION"},
        {"menuscrn/2ply_off.lbm", "TWO PLAYER"},
        {"menuscrn/m_is_off.lbm", "ISRAEL MISSIONS"}, {"menuscrn/m_ko_off.lbm", "KOREA MISSIONS"},
        {"menuscrn/m_cy_off.lbm", "CYPRUS MISSIONS"}, {"menuscrn/m_af_off.lbm", "AFGHAN MISSIONS"},
        {"menuscrn/training.lbm", "TRAINING"}};
    for (const auto& [name, heading] : boards)
        screens.push_back({name,
                           heading,
                           {{BARE_BACK, ""}},
                           [](Image& image) { panel(image, 40, 90, 600, 420, nullptr); }});
    add_war_zone_screens(screens);
    for (int page = 0; page < 4; ++page) {
        screens.push_back({"menuscrn/h" + std::to_string(page + 1) + "_off.lbm", "HELP",
                           {{{320, 445, 413, 476, "NEXT"}, "menuscrn/hl_forwa.bbm"},
                            {{425, 445, 536, 476, "BACK"}, "menuscrn/hl_back.bbm"},
                            {{526, 445, 637, 476, "EXIT"}, "menuscrn/hl_exit.bbm"}},
                           [page](Image& image) { help_dress(page, image); }});
    }
    return screens;
}

constexpr int CELL = 17;
constexpr int INK = 2;

// A glyph's strokes in a 16 x 16 cell: capitals 11 high on the baseline at 13, lower case with
// its x-height and descenders.
Region glyph_region(int c) {
    if (c == 1) return unite({stroke(2, 8, 5, 12, 1), stroke(5, 12, 11, 2, 1)});      // tick
    if (c == 2) return unite({stroke(2, 3, 10, 12, 1), stroke(10, 3, 2, 12, 1)});     // cross
    if (c == 3) return box(2, 4, 9, 11);                                              // filled box
    switch (c) {
        case '!': return unite({stroke(2, 2, 2, 9, 0.8), box(1, 12, 2, 13)});
        case '.': return box(1, 12, 2, 13);
        case ',': return stroke(2, 12, 1, 15, 0.8);
        case ':': return unite({box(1, 5, 2, 6), box(1, 12, 2, 13)});
        case ';': return unite({box(1, 5, 2, 6), stroke(2, 12, 1, 15, 0.8)});
        case '\'': return stroke(2, 2, 2, 5, 0.7);
        case '"': return unite({stroke(1, 2, 1, 5, 0.7), stroke(4, 2, 4, 5, 0.7)});
        case '/': return stroke(7, 2, 1, 13, 0.8);
        case '(': return unite({stroke(4, 2, 2, 5, 0.7), stroke(2, 5, 2, 10, 0.7), stroke(2, 10, 4, 13, 0.7)});
        case ')': return unite({stroke(1, 2, 3, 5, 0.7), stroke(3, 5, 3, 10, 0.7), stroke(3, 10, 1, 13, 0.7)});
        case '+': return unite({stroke(1, 8, 8, 8, 0.7), stroke(4.5, 5, 4.5, 11, 0.7)});
        default: break;
    }
    return letter(char(c), 1, 2, 11, 1.1);
}

// The network screen's list marks, on colour 0 (clear): the team bars, the server's star, the
// taken-off plane and the two flags.
std::vector<PictureFile> network_list_marks() {
    const Palette palette = backdrop_palette();
    auto bar_of = [](uint8_t colour) { return Image(8, 16, colour); };
    Image server(16, 16);
    paint(server, 0, 0, 16, 16, lettering("S", 3, 2, 12, 1.6), AMBER_LAST);
    Image taken(16, 16);
    paint(taken, 0, 0, 16, 16, unite({stroke(1, 8, 15, 8, 1.2), stroke(6, 3, 9, 13, 1.0)}), WHITE);
    auto flag_of = [](uint8_t colour) {
        Image flag(16, 16);
        for (int y = 1; y < 15; ++y) flag.at(2, y) = WHITE;
        for (int y = 1; y < 8; ++y)
            for (int x = 3; x < 14; ++x) flag.at(x, y) = colour;
        return flag;
    };
    return {{"menuscrn/nw_b-bar.bbm", {bar_of(SKY + 20), palette}, true},
            {"menuscrn/nw_r-bar.bbm", {bar_of(RED), palette}, true},
            {"menuscrn/nw_serve.bbm", {server, palette}, true},
            {"menuscrn/nw_taken.bbm", {taken, palette}, true},
            {"menuscrn/nw_r-flg.bbm", {flag_of(RED), palette}, true},
            {"menuscrn/nw_b-flg.bbm", {flag_of(SKY + 20), palette}, true}};
}

// The scores' digits 0 to 9, 44 x 50 each, stacked: amber segments on black.
PictureFile tv_score_digits() {
    constexpr int W = 44, H = 50;
    Image digits(W, 10 * H, BLACK);
    for (int d = 0; d < 10; ++d)
        paint_outlined(digits, 0, d * H, W, H, lettering(std::to_string(d), 8, 6, 38, 3.5), AMBER, AMBER_LAST);
    return {"menuscrn/tv_score.bbm", {digits, backdrop_palette()}, true};
}

}  // namespace

PictureFile menu_font_sheet() {
    Image sheet(WIDTH, HEIGHT);
    for (int c = 1; c < 127; ++c) {
        if (c > 3 && c < 33) continue;
        paint(sheet, (c % 32) * CELL, (c / 32) * CELL, 16, 16, glyph_region(c), INK);
    }
    return {"fonts/11x15.lbm", {sheet, backdrop_palette()}, true};
}

std::vector<PictureFile> menu_pictures() {
    const Palette palette = backdrop_palette();
    std::vector<PictureFile> files;
    for (const MenuScreen& screen : menu_screens()) {
        std::vector<Plate> plates;
        for (const Control& control : screen.controls) plates.push_back(control.plate);
        if (!screen.background.empty()) {
            Image background = menu_board(screen.heading, plates, screen.heading_right);
            if (screen.dress) screen.dress(background);
            files.push_back({screen.background, {background, palette}, true});
        }
        for (const Control& control : screen.controls)
            if (!control.picture.empty()) files.push_back({control.picture, {pressed_plate(control.plate), palette}, true});
    }
    files.push_back({"menuscrn/sb_back.bbm", {pressed_plate(BARE_BACK), palette}, true});
    files.push_back(tv_score_digits());
    for (PictureFile& mark : network_list_marks()) files.push_back(std::move(mark));
    files.push_back(menu_font_sheet());
    return files;
}

}  // namespace vyr::vyrgen
