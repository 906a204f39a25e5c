#include "source/weapons/object_types.h"

#include <cstdio>
#include <cstring>

#include "library/3dvisual/objects.h"
#include "library/debug/fatal.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/weapons/objtypes";
constexpr int32_t OBJECT_NUMBERS = 1238;  // 0..1237
constexpr int32_t DEFAULT_RADAR_SIZE = 10000;
constexpr int32_t NOT_APPLICABLE = 255;

struct RadarSite {
    int32_t object_number;
    int32_t cover_radius;  // steps of the radar cover map
    int32_t floor;         // world units
};

const RadarSite RADAR_SITES[] = {
    {46, 10, 128000}, {111, 10, 128000}, {77, 5, 12800}, {328, 5, 76800}, {526, 5, 12800},
};

// Look-ups stop at the end row, which itself matches.
const ObjectTypeInfo* find_row(int object_number) {
    for (const ObjectTypeInfo& row : object_type_table) {
        if (row.object_number == object_number) return &row;
        if (row.object_number == OBJ_BLUE_FLAG) break;
    }
    return nullptr;
}

const RadarSite& radar_site(int object_number) {
    for (const RadarSite& site : RADAR_SITES)
        if (site.object_number == object_number) return site;
    report_fatal_error("Object %d(%s) is not a radar site", SOURCE, __LINE__, object_number,
                       get_object_type_name(object_number));
    return RADAR_SITES[0];
}

}  // namespace

void apply_object_type_table() {
    for (int32_t n = 0; n < OBJECT_NUMBERS; ++n) {
        ObjectHeader* h = get_object_header(n);
        if (!h) continue;
        h->strength = h->hardness = NOT_APPLICABLE;
        std::snprintf(h->long_name, sizeof h->long_name, "!! Unnamed Object %d !!", n);
        std::snprintf(h->short_name, sizeof h->short_name, "!Unnamed %d!", n);
        h->category = OBJECT_CATEGORY_NONE;
        h->radar_size = DEFAULT_RADAR_SIZE;
    }
    for (const ObjectTypeInfo& row : object_type_table) {
        ObjectHeader* h = get_object_header(row.object_number);
        if (!h) continue;
        h->strength = row.strength;
        h->hardness = row.hardness;
        if (std::strlen(row.long_name) >= sizeof h->long_name)
            report_fatal_error("Patched long name too long for object %d(%s). Memory corruption!!!", SOURCE, __LINE__,
                               row.object_number, row.long_name);
        std::strcpy(h->long_name, row.long_name);
        if (std::strlen(row.short_name) >= sizeof h->short_name)
            report_fatal_error("Patched short name too long for object %d(%s). Memory corruption!!!", SOURCE, __LINE__,
                               row.object_number, row.short_name);
        std::strcpy(h->short_name, row.short_name);
        h->category = row.category;
        h->radar_size = row.radar_size;
    }
}

const char* get_object_type_name(int object_number) {
    const ObjectTypeInfo* row = find_row(object_number);
    return (row ? row : &object_type_table[0])->long_name;
}

int is_radar_object(int object_number) {
    for (const RadarSite& site : RADAR_SITES)
        if (site.object_number == object_number) return 1;
    return 0;
}

int get_radar_cover_radius(int object_number, int) { return radar_site(object_number).cover_radius; }
int get_radar_floor(int object_number, int) { return radar_site(object_number).floor; }

}  // namespace vyr
