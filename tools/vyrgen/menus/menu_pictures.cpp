#include "tools/vyrgen/menus/menu_pictures.h"

#include <array>
#include <cctype>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

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

void two_player_dress(Image& image) {
    for (const auto& [y, label] : {std::pair{65, "GAME"}, std::pair{99, "POSITION"}}) {
        letter_box(image, {330, y, 118, 20}, label, 10, 1.1, AMBER_LAST - 6, AMBER_LAST - 6, false);
        panel(image, 451, y, 574, y + 19, nullptr);
    }
    panel(image, 8, 200, 306, 344, "MESSAGES");
}

// A two-player area's look: a slate field with each row's label, value box and unpressed
// minus and plus plates at the area's own coordinates.
struct AreaRow {
    int y;
    const char* label;
    int minus_x, plus_x;
};

Image two_player_area(int width, int height, const std::vector<AreaRow>& rows, int value_x) {
    Image area(width, height, SLATE + 4);
    for (const AreaRow& row : rows) {
        letter_box(area, {6, row.y, value_x - 10, 20}, row.label, 10, 1.1, AMBER_LAST - 6, AMBER_LAST - 6, false);
        panel(area, value_x - 2, row.y, row.minus_x - 4, row.y + 19, nullptr);
        draw_plate(area, {row.minus_x, row.y, row.minus_x + 23, row.y + 19, "-"}, false);
        draw_plate(area, {row.plus_x, row.y, row.plus_x + 23, row.y + 19, "+"}, false);
    }
    return area;
}

// The two-player screen's areas and the pressed looks of their buttons.
void add_two_player_pictures(std::vector<PictureFile>& files, const Palette& palette) {
    auto add = [&](const std::string& name, Image image) { files.push_back({"menuscrn/" + name, {image, palette}, true}); };
    add("2p_comba.bbm", two_player_area(320, 100, {{5, "WEATHER", 260, 284}, {39, "START TIME", 260, 284},
                                                  {73, "DIFFICULTY", 260, 284}}, 133));
    add("2p_direa.bbm", two_player_area(320, 130, {{5, "PORT", 260, 284}, {39, "IRQ", 260, 284},
                                                  {73, "BAUD", 260, 284}, {106, "MODEM", 260, 284}}, 103));
    add("2p_modea.bbm", two_player_area(320, 165, {{39, "PHONE", 260, 284}, {73, "ANSWER", 260, 284}}, 133));
    add("2p_chana.bbm", two_player_area(320, 32, {{6, "CHANNEL", 260, 285}}, 103));
    add("2p_booka.bbm", two_player_area(320, 80, {}, 0));
    for (const char* row : {"r3", "r4", "r5", "r6", "r7", "r8", "r9"}) {
        add(std::string("2p_") + row + "mi.bbm", pressed_plate({0, 0, 23, 19, "-"}));
        add(std::string("2p_") + row + "pl.bbm", pressed_plate({0, 0, 23, 19, "+"}));
    }
    add("2p_chanm.bbm", pressed_plate({0, 0, 23, 19, "-"}));
    add("2p_chanp.bbm", pressed_plate({0, 0, 23, 19, "+"}));
    add("2p_setof.bbm", pressed_plate({0, 0, 111, 31, "SET"}));
    add("2p_seton.bbm", pressed_plate({0, 0, 111, 31, "SET"}));
    add("2p_dialn.bbm", pressed_plate({0, 0, 87, 17, "DIAL"}));
    add("2p_hangu.bbm", pressed_plate({0, 0, 65, 17, "HANG UP"}));
    add("dummy.bbm", pressed_plate({0, 0, 149, 15, ""}));
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

// An award on the board: a ribbon and a star or a cross on a disc; the highest medal's star
// stands in a wreath of its own.
enum class Medal { STAR, CROSS, WREATHED_STAR };
void award_dress(Image& image, Medal medal) {
    const double cx = 320, cy = 250;
    paint(image, 0, 0, WIDTH, HEIGHT, box(cx - 40, 90, cx + 40, 170), medal == Medal::WREATHED_STAR ? WHITE : RED);
    paint(image, 0, 0, WIDTH, HEIGHT, box(cx - 12, 90, cx + 12, 170), medal == Medal::WREATHED_STAR ? RED : WHITE);
    paint_outlined(image, 0, 0, WIDTH, HEIGHT, disc(cx, cy, 90), AMBER, AMBER_LAST - 4);
    if (medal == Medal::WREATHED_STAR)
        paint_outlined(image, 0, 0, WIDTH, HEIGHT, ring(cx, cy, 72, 84), AMBER, AMBER_LAST - 10);
    const double size = medal == Medal::WREATHED_STAR ? 0.8 : 1.0;
    const Region mark = medal == Medal::CROSS
                            ? unite({box(cx - 18, cy - 70, cx + 18, cy + 70), box(cx - 70, cy - 18, cx + 70, cy + 18)})
                            : unite({triangle(cx, cy - 80 * size, cx - 70 * size, cy + 40 * size, cx + 70 * size, cy + 40 * size),
                                     triangle(cx, cy + 70 * size, cx - 70 * size, cy - 30 * size, cx + 70 * size, cy - 30 * size)});
    paint_outlined(image, 0, 0, WIDTH, HEIGHT, mark, AMBER, AMBER_LAST);
    paint_outlined(image, 599, 465, 41, 15, box(0, 0, 40, 14), STEEL_LAST, STEEL + 6);
}

// A promotion's insignia on the award screens' ground: 1st Lieutenant one silver bar, Captain two,
// Major a gold oak leaf, Lieutenant Colonel a silver one, Colonel a silver eagle.
void promotion_dress(Image& image, int rank) {
    const double cx = 320, cy = 250;
    paint_outlined(image, 0, 0, WIDTH, HEIGHT, box(cx - 110, cy - 110, cx + 110, cy + 110), STEEL_LAST, STEEL + 4);
    std::vector<Region> lobes = {disc(cx, cy - 70, 22), stroke(cx, cy - 60, cx, cy + 95, 8)};
    for (int i = 0; i < 4; ++i) {
        const double y = cy - 45 + 28 * i, r = 26 - 3 * i, out = 30 - 4 * i;
        lobes.push_back(disc(cx - out, y, r));
        lobes.push_back(disc(cx + out, y, r));
        lobes.push_back(box(cx - out, y - r / 2, cx + out, y + r / 2));
    }
    const Region leaf = unite(lobes);
    const Region eagle = unite({triangle(cx, cy + 60, cx - 100, cy - 50, cx - 10, cy - 10),
                                triangle(cx, cy + 60, cx + 100, cy - 50, cx + 10, cy - 10),
                                disc(cx, cy - 20, 24), disc(cx, cy - 55, 14), box(cx - 16, cy + 40, cx + 16, cy + 90)});
    switch (rank) {
    case 3: paint_outlined(image, 0, 0, WIDTH, HEIGHT, box(cx - 22, cy - 75, cx + 22, cy + 75), STEEL, STEEL_LAST); break;
    case 4:
        for (double x : {cx - 45, cx + 45})
            paint_outlined(image, 0, 0, WIDTH, HEIGHT, box(x - 22, cy - 75, x + 22, cy + 75), STEEL, STEEL_LAST);
        break;
    case 5: paint_outlined(image, 0, 0, WIDTH, HEIGHT, leaf, AMBER, AMBER_LAST - 2); break;
    case 6: paint_outlined(image, 0, 0, WIDTH, HEIGHT, leaf, STEEL, STEEL_LAST); break;
    default: paint_outlined(image, 0, 0, WIDTH, HEIGHT, eagle, STEEL, STEEL_LAST); break;
    }
    paint_outlined(image, 599, 465, 41, 15, box(0, 0, 40, 14), STEEL_LAST, STEEL + 6);
}

// The mission select screen: the list with its result column, the description beside it, and the
// strip along the top left free for the campaign's level buttons.
void mission_select_dress(Image& image) {
    panel(image, 14, 74, 309, 411, nullptr);
    panel(image, 326, 66, 629, 374, "DESCRIPTION");
}

std::vector<Control> zone_controls(const char* prefix, bool with_pictures) {
    std::vector<Control> controls =
        with({{{528, 395, 639, 426, "LOAD"}, std::string("menuscrn/") + prefix + "commi.bbm"}},
             bar(prefix, {"HELP", "PREFS", "LOG", "RECOG", "BACK", "QUIT"},
                 {"help", "prefs", "logs", "recog", "back", "quit"}));
    if (!with_pictures)
        for (Control& control : controls) control.picture.clear();
    return controls;
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
        std::vector<Control> controls = zone_controls(zone.prefix, true);
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
    // The mission select screen in each zone's dress, and in the shared one it is built with.
    const struct {
        const char* background;
        const char* heading;
        const char* prefix;
    } selects[] = {{"menuscrn/m_is_off.lbm", "ISRAEL MISSIONS", "mi_"}, {"menuscrn/m_ko_off.lbm", "KOREA MISSIONS", "mk_"},
                   {"menuscrn/m_cy_off.lbm", "CYPRUS MISSIONS", "mc_"}, {"menuscrn/m_af_off.lbm", "AFGHAN MISSIONS", "ma_"},
                   {"menuscrn/training.lbm", "TRAINING", "tr_"},        {"menuscrn/cyprus.lbm", "MISSIONS", "mp_"}};
    for (const auto& select : selects) {
        const bool shared = std::string(select.prefix) == "mp_";  // the zones' pictures are written above
        // Training's two toggles draw their own pictures over the board.
        screens.push_back({select.background, select.heading, zone_controls(select.prefix, shared),
                           mission_select_dress, 316});
    }
    const std::pair<const char*, Medal> awards[] = {{"menuscrn/prm_lt.lbm", Medal::STAR},
                                                    {"menuscrn/bstar.lbm", Medal::STAR},
                                                    {"menuscrn/fcross.lbm", Medal::CROSS},
                                                    {"menuscrn/honor.lbm", Medal::WREATHED_STAR}};
    for (const auto& [name, medal] : awards)
        screens.push_back({name, "AWARDED", {}, [medal](Image& image) { award_dress(image, medal); }});
    for (int rank = 3; rank <= 7; ++rank)
        screens.push_back({"menuscrn/promo00" + std::to_string(rank - 2) + ".lbm", "PROMOTED", {},
                           [rank](Image& image) { promotion_dress(image, rank); }});
    screens.push_back({"menuscrn/tv_demo.lbm", "HIGH SCORE",
                       {{{526, 445, 637, 476, "QUIT"}, ""}},
                       [](Image& image) { panel(image, 430, 192, 620, 258, "SCORE"); }});
}

// The well of a text the program writes over the board.
void well(Image& image, int x0, int y0, int x1, int y1) {
    paint(image, x0, y0, x1 - x0 + 1, y1 - y0 + 1, box(0, 0, x1 - x0, y1 - y0), BLACK);
}

void small_label(Image& image, const TextBox& place, const char* text) {
    letter_box(image, place, text, 11, 1.2, HUD_LAST, BLACK, false);
}

// The skill scale under the sliding number, the device lines' labels and the joystick's display:
// the stick's box, the throttle's and the rudder's tracks and the hat's cross.
void preferences_dress(Image& image) {
    small_label(image, {6, 171, 112, 24}, "ENEMY SKILL");
    well(image, 121, 175, 257, 192);
    for (int step = 0; step < 10; ++step) {
        const int x = 133 + 13 * step;
        paint(image, x, 193, 1, 4, box(0, 0, 0, 3), AMBER_LAST);
    }
    const char* const lines[] = {"STICK", "THROTTLE", "RUDDER"};
    for (int i = 0; i < 3; ++i) {
        const int y = 176 + (i == 0 ? 0 : i == 1 ? 33 : 67);
        small_label(image, {324, y - 2, 112, 20}, lines[i]);
        well(image, 439, y - 1, 560, y + 15);
    }
    panel(image, 330, 286, 626, 410, "JOYSTICK");
    paint_outlined(image, 440, 324, 76, 68, subtract(box(0, 0, 75, 67), box(2, 2, 73, 65)), SLATE + 16, SLATE + 16);
    paint(image, 440, 324, 76, 68, unite({box(37, 4, 38, 63), box(4, 33, 71, 34)}), SLATE + 8);
    paint(image, 343, 288, 5, 62, box(0, 0, 4, 61), STEEL + 4);
    paint(image, 338, 394, 88, 5, box(0, 0, 87, 4), STEEL + 4);
    paint(image, 540, 321, 71, 73, unite({box(25, 0, 45, 72), box(0, 26, 70, 45)}), SLATE + 10);
}

void visual_preferences_dress(Image& image) {
    panel(image, 40, 90, 600, 420, "VISUAL OPTIONS");
    const char* const options[] = {"SCREEN 640 X 480", "TEXTURES FILTERED", "FOG BY DISTANCE", "DETAIL FROM THE SETTINGS",
                                   "SMOKE AND SHADOWS"};
    for (size_t i = 0; i < std::size(options); ++i)
        letter_box(image, {60, 110 + 56 * int(i), 520, 30}, options[i], 16, 1.6, HUD_LAST, HUD_LAST, false);
}

void log_dress(Image& image) {
    panel(image, 14, 86, 272, 204, "PILOTS");
    panel(image, 54, 264, 266, 432, "CALL SIGN");
    panel(image, 330, 216, 628, 436, "DETAILS");
}

// The Preferences, Visual Preferences and Log screens.
void add_player_screens(std::vector<MenuScreen>& screens) {
    screens.push_back(
        {"menuscrn/pref3_of.lbm", "PREFERENCES",
         with({{{1, 119, 318, 150, "GAME"}, ""},
               {{1, 168, 318, 198, ""}, ""},
               {{260, 173, 284, 193, "-"}, "menuscrn/pr_enemm.bbm"},
               {{285, 173, 309, 193, "+"}, "menuscrn/pr_enemp.bbm"},
               {{1, 202, 318, 232, "MOVIES"}, ""},
               {{132, 209, 192, 226, "ON"}, "menuscrn/pr_anime.bbm"},
               {{240, 209, 303, 226, "OFF"}, "menuscrn/pr_animd.bbm"},
               {{1, 235, 318, 265, "PLANNER"}, ""},
               {{152, 242, 212, 259, "ON"}, "menuscrn/pr_misse.bbm"},
               {{240, 242, 303, 259, "OFF"}, "menuscrn/pr_missd.bbm"},
               {{1, 354, 316, 383, "VISUAL PREFERENCES"}, "menuscrn/pr_vpref.bbm"},
               {{320, 86, 636, 116, "SOUND"}, ""},
               {{473, 93, 518, 110, "MUSIC"}, "menuscrn/pr_msndm.bbm"},
               {{551, 92, 606, 109, "SPEECH"}, "menuscrn/pr_msnds.bbm"},
               {{320, 119, 636, 150, "EFFECTS"}, ""},
               {{470, 126, 497, 143, "OFF"}, "menuscrn/pr_gsndo.bbm"},
               {{514, 126, 570, 143, "MIN"}, "menuscrn/pr_gsndm.bbm"},
               {{586, 126, 616, 143, "FULL"}, "menuscrn/pr_gsndf.bbm"},
               {{320, 168, 636, 265, ""}, ""},
               {{578, 173, 602, 193, "-"}, "menuscrn/pr_joym.bbm"},
               {{603, 173, 627, 193, "+"}, "menuscrn/pr_joyp.bbm"},
               {{578, 207, 602, 227, "-"}, "menuscrn/pr_throm.bbm"},
               {{603, 207, 627, 227, "+"}, "menuscrn/pr_throp.bbm"},
               {{578, 240, 602, 260, "-"}, "menuscrn/pr_ruddm.bbm"},
               {{603, 240, 627, 260, "+"}, "menuscrn/pr_ruddp.bbm"}},
              bar("pr_", {"HELP", "MAIN", "LOG", "RECOG", "BACK", "QUIT"},
                  {"help", "main", "logs", "recog", "back", "quit"})),
         preferences_dress});
    screens.push_back({"menuscrn/vis_3dfx.lbm", "VISUAL",
                       bar("vp_", {"HELP", "MAIN", "LOG", "RECOG", "BACK", "QUIT"},
                           {"help", "main", "logs", "recog", "back", "quit"}),
                       visual_preferences_dress});
    screens.push_back({"menuscrn/logs_off.lbm", "PILOT LOG",
                       with({{{276, 113, 307, 137, "UP"}, "menuscrn/lg_pscru.bbm"},
                             {{276, 138, 307, 162, "DN"}, "menuscrn/lg_pscrd.bbm"},
                             {{320, 102, 639, 133, "CREATE"}, "menuscrn/lg_creap.bbm"},
                             {{320, 134, 639, 165, "DELETE"}, "menuscrn/lg_delep.bbm"},
                             {{320, 164, 639, 195, "RENAME"}, "menuscrn/lg_renap.bbm"}},
                            bar("lg_", {"HELP", "PREFS", "MAIN", "RECOG", "BACK", "QUIT"},
                                {"help", "prefs", "main", "recog", "back", "quit"})),
                       log_dress, 316});
}

// The joystick display's sprites at their pictures' sizes, 0 transparent: the hat's arrows and
// centre, and the throttle's and the rudder's knobs.
std::vector<PictureFile> joystick_sprites(const Palette& palette) {
    const struct {
        const char* name;
        int width, height;
        Region shape;
    } sprites[] = {{"menuscrn/coolie-t.bbm", 16, 8, triangle(7.5, 0, 1, 7, 14, 7)},
                   {"menuscrn/coolie-b.bbm", 16, 8, triangle(7.5, 7, 1, 0, 14, 0)},
                   {"menuscrn/coolie-l.bbm", 8, 16, triangle(0, 7, 7, 0.5, 7, 13.5)},
                   {"menuscrn/coolie-r.bbm", 8, 16, triangle(7, 7, 0, 0.5, 0, 13.5)},
                   {"menuscrn/coolie-c.bbm", 8, 8, disc(3.5, 3, 3.5)},
                   {"menuscrn/throt-hz.bbm", 16, 8, box(0, 0, 15, 5)},
                   {"menuscrn/throt-vt.bbm", 8, 18, box(0, 0, 7, 10)}};
    std::vector<PictureFile> files;
    for (const auto& sprite : sprites) {
        Image image(sprite.width, sprite.height);
        paint_outlined(image, 0, 0, sprite.width, sprite.height, sprite.shape, RED, AMBER_LAST);
        files.push_back({sprite.name, {image, palette}, true});
    }
    return files;
}

// The log's medals, as the award screens show them, small.
std::vector<PictureFile> log_medals(const Palette& palette) {
    std::vector<PictureFile> files;
    for (int m = 0; m < 3; ++m) {
        Image image(32, 32);
        paint(image, 0, 0, 32, 32, box(11, 0, 20, 9), m == 1 ? WHITE : RED);
        paint_outlined(image, 0, 0, 32, 32, disc(15.5, 20, 11), AMBER_LAST - 4, AMBER);
        const Region mark = m == 1 ? unite({box(13, 12, 18, 28), box(8, 17, 23, 22)}) : disc(15.5, 20, 4 + m);
        paint(image, 0, 0, 32, 32, mark, AMBER_LAST);
        files.push_back({"menuscrn/lg_medl" + std::to_string(m + 1) + ".bbm", {image, palette}, true});
    }
    return files;
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
        {"menuscrn/2ply_off.lbm", "TWO PLAYER",
         with({{{528, 395, 639, 426, "START GAME"}, "menuscrn/2p_commi.bbm"},
               {{579, 65, 602, 84, "-"}, "menuscrn/2p_r1mi.bbm"},
               {{604, 65, 627, 84, "+"}, "menuscrn/2p_r1pl.bbm"},
               {{579, 99, 602, 118, "-"}, "menuscrn/2p_r2mi.bbm"},
               {{604, 99, 627, 118, "+"}, "menuscrn/2p_r2pl.bbm"},
               {{0, 60, 319, 91, "DIRECT"}, "menuscrn/2p_direc.bbm"},
               {{0, 93, 319, 124, "MODEM"}, "menuscrn/2p_modem.bbm"},
               {{0, 127, 319, 158, "NETWORK"}, "menuscrn/2p_netwo.bbm"}},
              bar("2p_", {"HELP", "PREFS", "LOG", "RECOG", "BACK", "QUIT"},
                  {"help", "prefs", "logs", "recog", "back", "quit"})),
         two_player_dress},
    };
    screens.push_back({"menuscrn/net_off.lbm", "NETWORK GAME",
                       with({{{400, 38, 636, 69, ""}, ""}},  // its dummy.bbm is the two-player screen's
                            bar("nw_", {"HELP", "PREFS", "LOG", "RECOG", "BACK", "QUIT"},
                                {"help", "prefs", "logs", "recog", "back", "quit"})),
                       [](Image& image) {
                           panel(image, 38, 72, 380, 366, nullptr);
                           letter_box(image, {400, 12, 236, 22}, "YOUR NAME", 12, 1.3, AMBER_LAST - 6, AMBER_LAST - 6, false);
                       }});
    add_war_zone_screens(screens);
    add_player_screens(screens);
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
    // The signs of a pilot's result: outstanding a star, success a tick, failure a cross.
    if (c == 1) return unite({triangle(6, 2, 1.5, 11, 10.5, 11), triangle(6, 13, 1.5, 5, 10.5, 5)});
    if (c == 2) return unite({stroke(2, 8, 5, 12, 1), stroke(5, 12, 11, 2, 1)});
    if (c == 3) return unite({stroke(2, 3, 10, 12, 1), stroke(10, 3, 2, 12, 1)});
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
        case '<': return unite({stroke(7, 3, 1.5, 8, 0.8), stroke(1.5, 8, 7, 13, 0.8)});
        case '>': return unite({stroke(1, 3, 6.5, 8, 0.8), stroke(6.5, 8, 1, 13, 0.8)});
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
    add_two_player_pictures(files, palette);
    for (std::vector<PictureFile> more : {joystick_sprites(palette), log_medals(palette)})
        files.insert(files.end(), more.begin(), more.end());
    files.push_back(tv_score_digits());
    for (PictureFile& mark : network_list_marks()) files.push_back(std::move(mark));
    files.push_back(menu_font_sheet());
    return files;
}

}  // namespace vyr::vyrgen
