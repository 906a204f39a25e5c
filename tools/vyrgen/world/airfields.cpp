#include "tools/vyrgen/world/airfields.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>

#include "tools/vyrgen/war_zones.h"
#include "tools/vyrgen/world/theatre.h"

namespace vyr::vyrgen {

namespace {

void put32(std::vector<uint8_t>& out, int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

// Text in a field of `size` bytes, cut to leave its terminating NUL.
void put_text(std::vector<uint8_t>& out, const std::string& text, size_t size) {
    std::vector<uint8_t> field(size, 0);
    std::memcpy(field.data(), text.data(), std::min(text.size(), size - 1));
    out.insert(out.end(), field.begin(), field.end());
}

}  // namespace

std::vector<uint8_t> encode_airfields(int zone) {
    const TheatreLayout& layout = theatre_layout(zone);
    std::vector<uint8_t> out;
    put32(out, int32_t(layout.airfields.size()));
    for (size_t i = 0; i < layout.airfields.size(); ++i) {
        const Airfield& field = layout.airfields[i];
        char code[8];
        std::snprintf(code, sizeof code, "%03d.%d", 108 + int(i) * 2 + zone, int(i * 5) % 10);
        put_text(out, field.name, 17);
        put_text(out, code, 7);
        put32(out, world_units(field.centre.x));
        put32(out, world_units(field.centre.y));
    }
    return out;
}

std::vector<DataFile> airfield_files() {
    std::vector<DataFile> files;
    for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone)
        files.push_back({std::string(WAR_ZONES[zone].directory) + "/airfield.bin", encode_airfields(int(zone))});
    return files;
}

}  // namespace vyr::vyrgen
