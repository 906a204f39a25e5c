#include "source/avionics/panel_art.h"

#include <string>

#include "library/debug/fatal.h"
#include "library/graphics/loadgfx.h"
#include "library/os/file.h"
#include "library/system/memory.h"
#include "source/avionics/failures.h"

namespace vyr {

PanelPicture cockpit_art[COCKPIT_ART_COUNT] = {};
PanelLamp threat_lamps[THREAT_LAMPS] = {};
PanelLamp gear_lamps[3] = {};
PanelLamp aoa_lamps[3] = {};
PanelLamp autopilot_lamp = {}, caution_lamp = {}, fire_lamp = {}, hydraulics_lamp = {}, brake_lamp = {},
          nose_wheel_lamp = {}, disc_lamp = {}, takeoff_landing_lamp = {}, low_altitude_lamp = {}, obstacle_lamp = {};

namespace {

constexpr const char* SOURCE = "source/avionics/cockpits";
constexpr uint8_t THREAT_LAMP_BITS = 0x3f;

int art_loaded = 0;

// The picture's own size must hold what its record reads, and what is drawn must lie on the panel.
void check_fit(const char* name, int x, int y, int width, int height) {
    if (x < 0 || y < 0 || x + width > PANEL_WIDTH || y + height > PANEL_HEIGHT)
        report_fatal_error("%s does not fit the panel at %d, %d.", SOURCE, __LINE__, name, x, y);
}

void check_size(const CockpitArtPlace& place, int width, int height) {
    const bool stacked = place.kind == ArtKind::LAMPS || place.kind == ArtKind::DIGITS;
    const int needed = stacked ? place.height * place.images : place.kind == ArtKind::TAPE ? place.height : 1;
    if (width < 1 || height < needed)
        report_fatal_error("%s is too small: %d x %d.", SOURCE, __LINE__, place.name, width, height);
    if (place.kind != ArtKind::LAMPS)
        check_fit(place.name, place.x, place.y, width, stacked || place.kind == ArtKind::TAPE ? place.height : height);
}

void load_art(CockpitArt art) {
    const CockpitArtPlace& place = COCKPIT_ART[art];
    const std::string name = join_path("COCKPITS\\", place.name);
    if (!check_file_exists(name.c_str())) report_fatal_error("%s is missing.", SOURCE, __LINE__, place.name);
    PanelPicture& picture = cockpit_art[art];
    picture = {place.x, place.y, 0, 0, 0, nullptr};
    if (!load_picture(name.c_str(), &picture.pixels, &picture.width, &picture.height))
        report_fatal_error("%s is missing.", SOURCE, __LINE__, place.name);
    check_size(place, picture.width, picture.height);
    const bool cells = place.kind == ArtKind::DIGITS || place.kind == ArtKind::TAPE;
    picture.cell_height = cells ? place.height : picture.height;
}

// Lamp k of a file of stacked lamps: its unlit image above its lit one.
PanelLamp lamp_from(CockpitArt art, int k, PanelPlace at) {
    const PanelPicture& picture = cockpit_art[art];
    const int height = picture.height / COCKPIT_ART[art].images;
    check_fit(COCKPIT_ART[art].name, at.x, at.y, picture.width, height);
    const uint8_t* off = picture.pixels + size_t(2 * k) * height * picture.width;
    return {at.x, at.y, picture.width, height, off + size_t(height) * picture.width, off, 0};
}

PanelLamp single_lamp(CockpitArt art) {
    const CockpitArtPlace& place = COCKPIT_ART[art];
    load_art(art);
    return lamp_from(art, 0, {place.x, place.y});
}

}  // namespace

void load_cockpit_art() {
    if (art_loaded) return;
    art_loaded = 1;
    for (PanelPicture& picture : cockpit_art) picture = {};
    load_art(ART_HORIZON_BEZEL);
    load_art(ART_HORIZON_SHADE);
    load_art(ART_THREAT_LAMPS);
    for (int k = 0; k < THREAT_LAMPS; ++k)
        threat_lamps[k] = lamp_from(ART_THREAT_LAMPS, k, threat_lamp_place(k, cockpit_art[ART_THREAT_LAMPS].width));
    threat_lamp_bits &= uint8_t(~THREAT_LAMP_BITS);
    load_art(ART_GEAR_LAMPS);
    for (int k = 0; k < 3; ++k) gear_lamps[k] = lamp_from(ART_GEAR_LAMPS, k, GEAR_LAMP_PLACES[k]);
    autopilot_lamp = single_lamp(ART_AUTOPILOT);
    caution_lamp = single_lamp(ART_CAUTION);
    load_art(ART_AOA_LAMPS);
    for (int k = 0; k < 3; ++k) aoa_lamps[k] = lamp_from(ART_AOA_LAMPS, k, AOA_LAMP_PLACES[k]);
    fire_lamp = single_lamp(ART_FIRE);
    hydraulics_lamp = single_lamp(ART_HYDRAULICS);
    brake_lamp = single_lamp(ART_BRAKES);
    nose_wheel_lamp = single_lamp(ART_NOSE_WHEEL);
    disc_lamp = single_lamp(ART_DISC);
    takeoff_landing_lamp = single_lamp(ART_TAKEOFF_LANDING);
    for (int art = ART_AOA_TAPE; art < ART_LOW_ALTITUDE; ++art) load_art(CockpitArt(art));
    low_altitude_lamp = single_lamp(ART_LOW_ALTITUDE);
    for (int art = ART_VVI_TAPE; art < ART_OBSTACLE; ++art) load_art(CockpitArt(art));
    obstacle_lamp = single_lamp(ART_OBSTACLE);
    for (int art = ART_DATA_DISPLAY; art < COCKPIT_ART_COUNT; ++art) load_art(CockpitArt(art));
}

void free_cockpit_art() {
    for (PanelPicture& picture : cockpit_art) {
        if (picture.pixels) free_memory(picture.pixels, SOURCE, __LINE__);
        picture.pixels = nullptr;
    }
    art_loaded = 0;
}

}  // namespace vyr
