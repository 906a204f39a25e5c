#include "source/avionics/mfd_stores.h"

#include <cstdio>
#include <iterator>

#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/loadgfx.h"
#include "library/system/memory.h"
#include "source/weapons/stores.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/avionics/mfd_stores";

constexpr int COLOUR_COUNT = 217;
constexpr int COLOUR_SELECTED_COUNT = 222;
constexpr int PLANFORM_SIZE = 140;


// A station's place: its picture in display pixels from the corner, its count's size class and
// place in page units.
struct StoresPlace {
    int picture_x, picture_y, size_class, count_x, count_y;
};
constexpr StoresPlace STORES_LAYOUT[] = {
    {1, 44, 1, 5, 56},   {15, 44, 2, 18, 56},  {31, 38, 2, 33, 56},  {45, 30, 2, 49, 56},   {64, 22, 3, 65, 56},
    {83, 30, 2, 87, 56}, {98, 38, 2, 102, 56}, {112, 44, 2, 116, 56}, {127, 44, 1, 133, 56}, {67, 36, 3, 81, 130},
};
constexpr int RELEASE_QUANTITY_X = 31, RELEASE_QUANTITY_Y = 14;
constexpr int CHAFF_X = 122, CHAFF_Y = 34;
constexpr int FLARES_X = 122, FLARES_Y = 14;
constexpr int NAME_X = 36, NAME_Y = 34;

// By hardpoint: the sensor slot sharing its place (-1 none) and its place in the layout.
constexpr int STATION_SENSOR_SLOT[STORES_HARDPOINTS] = {0, 5, 6, 3, 4, -1, -1, -1, -1, -1};
constexpr int STATION_PLACE[STORES_HARDPOINTS] = {4, 3, 5, 2, 6, 1, 7, 0, 8, 9};

// Keys are weapon ids, or sensor types for an empty hardpoint with a sensor fitted.
struct PictureCell {
    int key, cell, size_class;
};
constexpr PictureCell STORES_PICTURE_CELLS[] = {
    {27, 0, 0}, {28, 1, 0}, {25, 2, 0}, {26, 3, 0}, {36, 4, 0}, {30, 5, 0}, {33, 6, 0}, {40, 7, 0},
    {39, 8, 0}, {29, 9, 0}, {1, 10, 0}, {24, 0, 1}, {3, 1, 1},  {37, 2, 1}, {23, 3, 1}, {31, 4, 1},
    {34, 5, 1}, {5, 0, 2},  {4, 1, 2},  {22, 2, 2}, {35, 3, 2}, {32, 4, 2}, {38, 5, 2}, {41, 6, 2},
};

// One picture file: a strip of cells one above the other, or the planform as one cell.
struct StoresPicture {
    const char* name;
    const char* upper_name;
    int width, height, cells;
    int offset_x, offset_y;
    uint8_t* pixels;
};
StoresPicture planform = {"cockpits\\mfdweap.bbm", "MFDWEAP.BBM", PLANFORM_SIZE, PLANFORM_SIZE, 1, 0, 0, nullptr};
StoresPicture strips[3] = {
    {"cockpits\\smlweaps.bbm", "SMLWEAPS.BBM", 8, 24, 11, 2, 12, nullptr},
    {"cockpits\\medweaps.bbm", "MEDWEAPS.BBM", 9, 32, 6, 1, 4, nullptr},
    {"cockpits\\lgeweaps.bbm", "LGEWEAPS.BBM", 11, 45, 7, 0, 0, nullptr},
};

const char* const WEAPON_NAMES[] = {
    "Gun",     "GEPOD",  "AIM-9M", "AIM120",  "M151 HE", "M247 AT",  "AGM-65E", "AGM-65G", "DUR",     "MK-82",  "MK-83",
    "MK-84",   "MK82 RET", "MK83 RET", "MK84 RET", "GBU-12", "GBU-16", "GBU-10",  "CBU-87B", "CBU-89B", "AGM-88A",
};
constexpr int FIRST_NAMED_WEAPON = 21;

void load(StoresPicture& picture) {
    int width = 0, height = 0;
    if (!load_picture(picture.name, &picture.pixels, &width, &height))
        report_fatal_error("Couldn't find %s", SOURCE, __LINE__, picture.upper_name);
    if (width != picture.width || height < picture.height * picture.cells)
        report_fatal_error("%s: %d x %d pixels, not %d wide and %d high", SOURCE, __LINE__, picture.name, width, height,
                           picture.width, picture.height * picture.cells);
}

void release(StoresPicture& picture) {
    if (picture.pixels) free_memory(picture.pixels, SOURCE, __LINE__);
    picture.pixels = nullptr;
}

void draw_count(int value, int x, int y) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    draw_plot_text(x, y, text);
}

// Counts that fit in fewer digits move right to stay centred under narrow pictures.
int count_offset(int size_class, int rounds) {
    if (size_class == 2) return rounds <= 9 ? 4 : 0;
    if (size_class == 3) return rounds <= 9 ? 9 : rounds <= 99 ? 4 : 0;
    return 0;
}

void draw_small_count(int value, int x, int y) { draw_count(value, x + (value <= 9 ? 4 : 0), y); }

const char* selected_weapon_name() {
    if (selected_weapon == 0) return "None Selected";
    if (selected_weapon < FIRST_NAMED_WEAPON || selected_weapon >= FIRST_NAMED_WEAPON + int(std::size(WEAPON_NAMES)))
        report_fatal_error("unknown weapon type %d in mfd weapon display", SOURCE, __LINE__, int(selected_weapon));
    return WEAPON_NAMES[selected_weapon - FIRST_NAMED_WEAPON];
}

int selected_first_hardpoint() {
    if (selected_weapon <= 0 || selected_weapon >= WEAPON_COUNT) return -1;
    return first_hardpoint[selected_weapon];
}

}  // namespace

void load_stores_pictures() {
    free_stores_pictures();
    load(planform);
    for (StoresPicture& strip : strips) load(strip);
}

void free_stores_pictures() {
    release(planform);
    for (StoresPicture& strip : strips) release(strip);
}

bool find_stores_picture(int key, Sprite& cell) {
    for (const PictureCell& c : STORES_PICTURE_CELLS) {
        if (c.key != key) continue;
        const StoresPicture& strip = strips[c.size_class];
        cell = {strip.width, strip.height, -strip.offset_x, -strip.offset_y,
                strip.pixels + ptrdiff_t(c.cell) * strip.width * strip.height};
        return true;
    }
    return false;
}

void draw_stores_picture(int key, int x, int y, int) {
    if (key == WEAPON_GUN) return;
    Sprite cell;
    if (!find_stores_picture(key, cell))
        report_fatal_error("what's this then, how can size be -1, your having a laugh aint ya", SOURCE, __LINE__);
    draw_sprite(&cell, x, y);
}

void draw_mfd_stores_page(const MfdRect& rect, int) {
    set_mfd_plot(rect, 0, 0, PLANFORM_SIZE, PLANFORM_SIZE);
    fill_plot(MFD_BACKGROUND_FILL);
    // A flight loads the pictures with the MFDs; a page drawn before that stays blank.
    if (!planform.pixels) return;
    blit_opaque(rect.x, rect.y, PLANFORM_SIZE, PLANFORM_SIZE, planform.pixels, 0);
    text_colour = COLOUR_COUNT;
    select_font(&font_small);
    const int selected_hardpoint_first = selected_first_hardpoint();
    for (int h = 0; h < STORES_HARDPOINTS; ++h) {
        const StoresPlace& place = STORES_LAYOUT[STATION_PLACE[h]];
        const int x = rect.x + place.picture_x, y = rect.y + place.picture_y;
        const int weapon = hardpoints[h].weapon_id;
        if (weapon) {
            const int rounds = count_hardpoint_rounds(h);
            if (rounds < 1 && weapon != WEAPON_M151_HE && weapon != WEAPON_M247_AT) continue;
            draw_stores_picture(weapon, x, y, h);
            text_colour = h == selected_hardpoint_first ? COLOUR_SELECTED_COUNT : COLOUR_COUNT;
            draw_count(rounds, place.count_x + count_offset(place.size_class, rounds), place.count_y);
            continue;
        }
        const int slot = STATION_SENSOR_SLOT[h];
        if (slot < 0) continue;
        const int sensor = sensor_slots[slot].sensor_type;
        // The pod has no picture of its own: its place stays bare.
        if (sensor != SENSOR_TYPE_NONE && sensor != SENSOR_TYPE_TARGETING_POD) draw_stores_picture(sensor, x, y, h);
    }
    text_colour = COLOUR_COUNT;
    const int first = selected_hardpoint_first;
    draw_small_count(first >= 0 ? hardpoints[first].release_quantity : 0, RELEASE_QUANTITY_X, RELEASE_QUANTITY_Y);
    draw_small_count(get_weapon_rounds(WEAPON_CHAFF), CHAFF_X, CHAFF_Y);
    draw_small_count(get_weapon_rounds(WEAPON_FLARE), FLARES_X, FLARES_Y);
    draw_plot_text(NAME_X, NAME_Y, selected_weapon_name());
}

}  // namespace vyr
