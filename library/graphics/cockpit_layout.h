// The cockpit panel's layout: where each live picture of the instrument panel sits on the
// 1280 x 580 panel picture, and the size the data writer gives it. One table for the game and
// for vyrgen, so that the panel picture's holes and the instruments drawn into them agree.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int PANEL_WIDTH = 1280;
constexpr int PANEL_HEIGHT = 580;

// The cockpit's colours: greys dark to light, the needle and reference-line colours (which the
// cockpit lights darken), greens, ambers, reds.
constexpr int COCKPIT_FIRST_COLOUR = 224;
constexpr int COCKPIT_COLOURS = 32;
constexpr int REFERENCE_COLOUR = 240;
constexpr int NEEDLE_COLOUR = 241;

// The pictures of COCKPITS\, in the order they are loaded.
enum CockpitArt : int {
    ART_HORIZON_BEZEL, ART_HORIZON_SHADE, ART_THREAT_LAMPS, ART_GEAR_LAMPS, ART_AUTOPILOT, ART_CAUTION,
    ART_AOA_LAMPS, ART_FIRE, ART_HYDRAULICS, ART_BRAKES, ART_NOSE_WHEEL, ART_DISC, ART_TAKEOFF_LANDING,
    ART_AOA_TAPE, ART_STANDBY_ATTITUDE, ART_FUEL_FLOW_DIGITS, ART_FUEL_FLOW_SHADE, ART_ALTIMETER_DIGITS,
    ART_ALTIMETER_SHADE, ART_ALTIMETER_DIAL, ART_NOZZLE_DIAL, ART_NOZZLE_CAP, ART_RPM_DIAL, ART_RPM_CAP,
    ART_LOW_ALTITUDE, ART_VVI_TAPE, ART_AIRSPEED_DIAL, ART_AIRSPEED_CAP, ART_MACH_DIGITS, ART_MACH_SHADE,
    ART_COMPASS_BEZEL, ART_COMPASS_SHADE, ART_OBSTACLE, ART_DATA_DISPLAY, ART_HSI_BEZEL,
    ART_HSI_DISTANCE_DIGITS, ART_HSI_BEARING_DIGITS, ART_FUEL_DIAL, ART_FUEL_CAP, ART_THREAT_DISPLAY,
    ART_FTIT_DIAL, ART_FTIT_CAP, COCKPIT_ART_COUNT
};

enum class ArtKind : uint8_t {
    PICTURE,  // drawn whole (dials, bezels, backgrounds)
    SHADE,    // added over what is under it
    LAMPS,    // `images` halves stacked: off above on, lamp after lamp
    DIGITS,   // `images` cells stacked, one digit a cell
    TAPE,     // a scale read through a window of `height` rows
};

struct CockpitArtPlace {
    const char* name;
    ArtKind kind;
    int16_t x, y;           // top-left on the panel picture
    int16_t width, height;  // one lamp image, one digit cell, a tape's window; else the picture
    int16_t images;         // stacked images (lamp halves, cells), or a tape's full height
};

constexpr int FUEL_FLOW_CELLS = 12;  // digit d is cell d + 1, with a cell above 0 and below 9
constexpr int ROLLING_CELLS = 11;    // a rolling drum shows the cell after 9 while it turns to 0
constexpr int AOA_TAPE_WINDOW = 39;
constexpr int VVI_TAPE_WINDOW = 39;

constexpr CockpitArtPlace COCKPIT_ART[COCKPIT_ART_COUNT] = {
    {"HOZBEZEL.BBM", ArtKind::PICTURE, 618, 418, 54, 54, 1},
    {"HOZSHADE.BBM", ArtKind::SHADE, 618, 418, 54, 54, 1},
    {"THREAT.BBM", ArtKind::LAMPS, 411, 286, 22, 12, 12},
    {"UCLIGHTS.BBM", ArtKind::LAMPS, 285, 545, 14, 14, 6},
    {"AUTOPLT.BBM", ArtKind::LAMPS, 336, 407, 26, 10, 2},
    {"CAUTION.BBM", ArtKind::LAMPS, 391, 239, 50, 14, 2},
    {"AOA.BBM", ArtKind::LAMPS, 501, 184, 14, 11, 6},
    {"FIREWARN.BBM", ArtKind::LAMPS, 869, 254, 30, 12, 2},
    {"HYDOIL.BBM", ArtKind::LAMPS, 884, 268, 30, 12, 2},
    {"BRK.BBM", ArtKind::LAMPS, 769, 184, 24, 10, 2},
    {"ARNWS.BBM", ArtKind::LAMPS, 769, 195, 24, 10, 2},
    {"DISC.BBM", ArtKind::LAMPS, 769, 206, 24, 10, 2},
    {"TOLDG.BBM", ArtKind::LAMPS, 912, 296, 30, 12, 2},
    {"AOAINDIC.BBM", ArtKind::TAPE, 575, 422, 12, AOA_TAPE_WINDOW, 152},
    {"STNDATT.BBM", ArtKind::PICTURE, 746, 270, 44, 44, 1},
    {"DIGITS.BBM", ArtKind::DIGITS, 857, 288, 10, 11, FUEL_FLOW_CELLS},
    {"DIGSHADE.BBM", ArtKind::SHADE, 813, 282, 54, 22, 1},
    {"ALTDIG.BBM", ArtKind::DIGITS, 676, 385, 4, 7, ROLLING_CELLS},
    {"ALTSHADE.BBM", ArtKind::SHADE, 668, 385, 20, 7, 1},
    {"ALTBGRND.BBM", ArtKind::PICTURE, 674, 371, 48, 46, 1},
    {"ABURNBG.BBM", ArtKind::PICTURE, 912, 371, 44, 44, 1},
    {"DIALCNTR.BBM", ArtKind::PICTURE, 931, 390, 6, 6, 1},
    {"RPMBGRND.BBM", ArtKind::PICTURE, 914, 419, 42, 42, 1},
    {"RPMCNTR.BBM", ArtKind::PICTURE, 932, 437, 6, 6, 1},
    {"ALTLOW.BBM", ArtKind::LAMPS, 362, 273, 46, 12, 2},
    {"VVI.BBM", ArtKind::TAPE, 692, 421, 12, VVI_TAPE_WINDOW, 264},
    {"AIRBGRND.BBM", ArtKind::PICTURE, 573, 348, 44, 44, 1},
    {"AIRCNTR.BBM", ArtKind::PICTURE, 592, 367, 6, 6, 1},
    {"AIRDIG.BBM", ArtKind::DIGITS, 598, 378, 4, 7, ROLLING_CELLS},
    {"AIRSHADE.BBM", ArtKind::SHADE, 592, 378, 10, 7, 1},
    {"COMPBEZ.BBM", ArtKind::PICTURE, 940, 527, 44, 20, 1},
    {"COMPSHDE.BBM", ArtKind::SHADE, 940, 527, 44, 20, 1},
    {"OBSWARN.BBM", ArtKind::LAMPS, 357, 288, 40, 12, 2},
    {"DATADISP.BBM", ArtKind::PICTURE, 737, 233, 102, 31, 1},
    {"HSIBEZEL.BBM", ArtKind::PICTURE, 615, 489, 60, 60, 1},
    {"HSIDDIGS.BBM", ArtKind::DIGITS, 615, 480, 4, 7, ROLLING_CELLS},
    {"HSIDIG.BBM", ArtKind::DIGITS, 670, 480, 4, 7, ROLLING_CELLS},
    {"FUELDIAL.BBM", ArtKind::PICTURE, 986, 530, 42, 42, 1},
    {"FUELCNTR.BBM", ArtKind::PICTURE, 1004, 548, 6, 6, 1},
    {"THRTDISP.BBM", ArtKind::PICTURE, 479, 241, 60, 60, 1},
    {"FTITDIAL.BBM", ArtKind::PICTURE, 917, 466, 43, 46, 1},
    {"FTITCNTR.BBM", ArtKind::PICTURE, 936, 486, 6, 6, 1},
};

struct PanelPlace {
    int16_t x, y;
};

// Lamps that share a picture file: the gear lamps (nose, left, right) and the AOA indexer (low,
// on speed, high); the threat lamps' places follow from their width.
constexpr PanelPlace GEAR_LAMP_PLACES[3] = {{285, 545}, {301, 545}, {317, 545}};
constexpr PanelPlace AOA_LAMP_PLACES[3] = {{501, 184}, {501, 196}, {501, 208}};
constexpr int THREAT_LAMPS = 6;
constexpr PanelPlace threat_lamp_place(int lamp, int width) {
    constexpr int16_t Y[THREAT_LAMPS] = {286, 286, 286, 270, 270, 254};
    const int column = lamp == 0 ? 0 : lamp == 3 ? 1 : lamp == 1 ? 1 : 2;
    return {int16_t(411 + column * (width + 1)), Y[lamp]};
}

// A dial's scale: values first..first + count - 1 at start + (value - first) x span / divisor
// degrees clockwise from straight up, and the top value (and above) at its own angle.
struct DialSegment {
    int16_t first, count, start_degrees, span_degrees, divisor;
};
struct DialScale {
    DialSegment segments[5];
    int segment_count;
    int top_value, top_degrees;
};
constexpr DialScale RPM_SCALE = {{{0, 60, 0, 119, 59}, {60, 40, 120, 199, 40}}, 2, 100, 320};
constexpr DialScale AIRSPEED_SCALE = {
    {{0, 100, 0, 44, 99}, {100, 100, 45, 90, 99}, {200, 100, 135, 53, 99}, {300, 100, 188, 42, 99},
     {400, 450, 230, 119, 449}},
    5, 850, 350};
constexpr DialScale FTIT_SCALE = {{{0, 700, 0, 110, 699}, {700, 200, 110, 125, 199}, {900, 200, 235, 55, 199}},
                                  3, 1100, 310};
constexpr double dial_degrees(const DialScale& scale, int value) {
    if (value >= scale.top_value) return scale.top_degrees;
    for (int s = scale.segment_count - 1; s >= 0; --s) {
        const DialSegment& g = scale.segments[s];
        if (value >= g.first) return g.start_degrees + double(value - g.first) * g.span_degrees / g.divisor;
    }
    return 0;
}

// The head-up display's glass, where the world shows through the canopy's front frame.
constexpr int HUD_GLASS_X = 528, HUD_GLASS_Y = 23, HUD_GLASS_WIDTH = 223, HUD_GLASS_HEIGHT = 180;
// The two multi-function displays' screens on the panel picture.
constexpr PanelPlace MFD_PLACES[2] = {{395, 331}, {745, 331}};
constexpr int MFD_SIZE = 140;

}  // namespace vyr
