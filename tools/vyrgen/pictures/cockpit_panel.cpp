#include "tools/vyrgen/pictures/cockpit_panel.h"

#include <algorithm>
#include <cmath>

#include "library/graphics/cockpit_layout.h"
#include "tools/vyrgen/pictures/panel_instruments.h"

namespace vyr::vyrgen {

namespace {

constexpr int FRONT_LEFT = 485, FRONT_RIGHT = 794;  // the front panel's columns
constexpr int COAMING_Y = 226;                      // the glare shield's edge on the front
constexpr int CONSOLE_Y = 452;                      // the side consoles' top

void fill_box(Image& image, int x0, int y0, int x1, int y1, uint8_t colour) {
    x0 = std::max(x0, 0), y0 = std::max(y0, 0);
    x1 = std::min(x1, image.width - 1), y1 = std::min(y1, image.height - 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) image.at(x, y) = colour;
}

void paint_everywhere(Image& image, const Region& region, uint8_t colour) {
    paint(image, 0, 0, image.width, image.height, region, colour);
}

// A raised plate: a lit upper-left edge, a dark lower-right edge.
void plate(Image& image, int x0, int y0, int x1, int y1, uint8_t face) {
    fill_box(image, x0, y0, x1, y1, face);
    fill_box(image, x0, y0, x1, y0, PANEL_EDGE);
    fill_box(image, x0, y0, x0, y1, PANEL_EDGE);
    fill_box(image, x0, y1, x1, y1, PANEL_BLACK);
    fill_box(image, x1, y0, x1, y1, PANEL_BLACK);
}

void screw(Image& image, int x, int y) {
    paint_everywhere(image, disc(x, y, 1.6), PANEL_RIM);
    image.at(x, y) = PANEL_BLACK;
}

// The front panel and the two side panels beside it, which slope down to the consoles.
void instrument_panels(Image& image) {
    for (int x = 290; x < 990; ++x) {
        const int out = x < FRONT_LEFT ? FRONT_LEFT - x : x > FRONT_RIGHT ? x - FRONT_RIGHT : 0;
        const int top = COAMING_Y + 6 + out / 12;
        fill_box(image, x, top, x, PANEL_HEIGHT - 1, PANEL_GREY);
        fill_box(image, x, top - 6, x, top - 1, PANEL_BLACK);  // the glare shield's lip
    }
    // Seams between the panels' plates, with their screws.
    for (int x : {FRONT_LEFT, FRONT_RIGHT}) fill_box(image, x, COAMING_Y + 10, x, PANEL_HEIGHT - 1, PANEL_DARK);
    for (int x : {300, 475, 805, 980})
        for (int y : {250, 420, 570}) screw(image, x, y);
}

// Wells behind each instrument and lamp, so that every one sits in the panel.
void instrument_wells(Image& image) {
    for (const CockpitArtPlace& p : COCKPIT_ART) {
        if (p.kind == ArtKind::SHADE) continue;
        int w = p.width, h = p.height;
        if (p.kind == ArtKind::LAMPS) continue;
        if (p.kind == ArtKind::DIGITS) w = p.width * (p.width >= 8 ? 5 : 3) + 2;
        if (p.kind == ArtKind::DIGITS && p.width < 8) {
            fill_box(image, p.x - w + p.width, p.y - 1, p.x + p.width, p.y + h, PANEL_BLACK);
            continue;
        }
        fill_box(image, p.x - 2, p.y - 2, p.x + w + 1, p.y + h + 1, PANEL_DARK);
    }
    const CockpitArtPlace& flow = COCKPIT_ART[ART_FUEL_FLOW_SHADE];
    fill_box(image, flow.x - 2, flow.y - 2, flow.x + flow.width + 1, flow.y + flow.height + 1, PANEL_BLACK);
    for (const PanelPlace& lamp : GEAR_LAMP_PLACES) fill_box(image, lamp.x - 2, lamp.y - 2, lamp.x + 15, lamp.y + 15, PANEL_BLACK);
}

// The MFDs' bezels with their push buttons; the screens are dark until the displays draw.
void mfd_bezels(Image& image) {
    for (const PanelPlace& m : MFD_PLACES) {
        plate(image, m.x - 14, m.y - 14, m.x + MFD_SIZE + 13, m.y + MFD_SIZE + 13, PANEL_DARK);
        fill_box(image, m.x - 1, m.y - 1, m.x + MFD_SIZE, m.y + MFD_SIZE, PANEL_BLACK);
        for (int i = 0; i < 5; ++i) {
            const int along = 14 + i * 26;
            plate(image, m.x + along, m.y - 11, m.x + along + 9, m.y - 4, PANEL_EDGE);
            plate(image, m.x + along, m.y + MFD_SIZE + 3, m.x + along + 9, m.y + MFD_SIZE + 10, PANEL_EDGE);
            plate(image, m.x - 11, m.y + along, m.x - 4, m.y + along + 9, PANEL_EDGE);
            plate(image, m.x + MFD_SIZE + 3, m.y + along, m.x + MFD_SIZE + 10, m.y + along + 9, PANEL_EDGE);
        }
    }
}

// The canopy bow above the front panel and the head-up display's frame round its glass.
void canopy_and_hud(Image& image) {
    paint_everywhere(image, stroke(FRONT_LEFT - 40, 0, FRONT_LEFT + 4, COAMING_Y, 5), PANEL_DARK);
    paint_everywhere(image, stroke(FRONT_RIGHT + 40, 0, FRONT_RIGHT - 4, COAMING_Y, 5), PANEL_DARK);
    const int x0 = HUD_GLASS_X, y0 = HUD_GLASS_Y;
    const int x1 = HUD_GLASS_X + HUD_GLASS_WIDTH - 1, y1 = HUD_GLASS_Y + HUD_GLASS_HEIGHT - 1;
    fill_box(image, x0 - 5, y0 - 5, x1 + 5, y1 + 3, PANEL_RIM);
    fill_box(image, x0 - 3, y0 - 3, x1 + 3, y1 + 1, PANEL_DARK);
    fill_box(image, x0, y0, x1, y1, 0);
    // The glare shield under the glass, carrying the indexer on the left and the lamps on the right.
    fill_box(image, FRONT_LEFT, y1 + 4, FRONT_RIGHT, COAMING_Y + 6, PANEL_DARK);
    plate(image, FRONT_LEFT + 8, 176, x0 - 8, y1 + 12, PANEL_DARK);
    plate(image, x1 + 10, 176, FRONT_RIGHT - 1, y1 + 12, PANEL_DARK);
    fill_box(image, FRONT_LEFT, y1 + 13, FRONT_RIGHT, y1 + 14, PANEL_BLACK);
}

// The side consoles: switch panels, knobs and, on the left, the throttle.
void consoles(Image& image) {
    for (int side = 0; side < 2; ++side) {
        const int x0 = side ? 990 : 0, x1 = side ? PANEL_WIDTH - 1 : 289;
        for (int x = x0; x <= x1; ++x) {
            const int in = side ? x - x0 : x1 - x;
            const int top = CONSOLE_Y + (290 - in) / 14;
            fill_box(image, x, top, x, PANEL_HEIGHT - 1, PANEL_GREY);
            fill_box(image, x, top, x, top + 1, PANEL_EDGE);
        }
        for (int i = 0; i < 3; ++i) {
            const int px = x0 + 20 + i * 88;
            plate(image, px, 488, px + 76, 566, PANEL_DARK);
            for (int k = 0; k < 3; ++k) {
                paint_everywhere(image, disc(px + 16 + k * 22, 512, 5), PANEL_BLACK);
                paint_everywhere(image, disc(px + 15 + k * 22, 511, 3), PANEL_RIM);
                fill_box(image, px + 12 + k * 22, 536, px + 19 + k * 22, 550, PANEL_BLACK);
                fill_box(image, px + 15 + k * 22, 530, px + 16 + k * 22, 541, PANEL_WHITE);
            }
        }
    }
    // The throttle grip on the left console.
    paint_everywhere(image, stroke(150, 470, 170, 430, 9), PANEL_BLACK);
    paint_everywhere(image, stroke(151, 468, 169, 432, 7), PANEL_DARK);
    paint_everywhere(image, disc(170, 430, 11), PANEL_DARK);
    paint_everywhere(image, disc(167, 427, 4), PANEL_EDGE);
}

void labels(Image& image) {
    struct Label {
        CockpitArt under;
        const char* text;
    };
    for (const Label& l : {Label{ART_AIRSPEED_DIAL, "KNOTS"}, Label{ART_ALTIMETER_DIAL, "ALT"},
                           Label{ART_HSI_BEZEL, "HSI"}}) {
        const CockpitArtPlace& p = COCKPIT_ART[l.under];
        paint_legend(image, p.x + p.width / 2.0, p.y + p.height + 5, l.text, 5, PANEL_MARK);
    }
    // The engine dials stand one above the other: their names go beside them.
    for (const Label& l : {Label{ART_NOZZLE_DIAL, "NOZ"}, Label{ART_RPM_DIAL, "RPM"}, Label{ART_FTIT_DIAL, "FTIT"}}) {
        const CockpitArtPlace& p = COCKPIT_ART[l.under];
        paint_legend(image, p.x + p.width + 14, p.y + p.height / 2.0, l.text, 5, PANEL_MARK);
    }
    const CockpitArtPlace& fuel = COCKPIT_ART[ART_FUEL_DIAL];
    paint_legend(image, fuel.x - 12, fuel.y + fuel.height / 2.0, "FUEL", 5, PANEL_MARK);
    const CockpitArtPlace& flow = COCKPIT_ART[ART_FUEL_FLOW_SHADE];
    paint_legend(image, flow.x + flow.width / 2.0, flow.y + flow.height + 6, "FUEL FLOW", 5, PANEL_MARK);
}

// Where lamp k of a lamp picture sits.
PanelPlace lamp_place(CockpitArt art, int k, int width) {
    if (art == ART_THREAT_LAMPS) return threat_lamp_place(k, width);
    if (art == ART_GEAR_LAMPS) return GEAR_LAMP_PLACES[k];
    if (art == ART_AOA_LAMPS) return AOA_LAMP_PLACES[k];
    return {COCKPIT_ART[art].x, COCKPIT_ART[art].y};
}

}  // namespace

void paint_unlit_lamps(Image& panel, const std::vector<PictureFile>& instruments) {
    for (int art = 0; art < COCKPIT_ART_COUNT; ++art) {
        const CockpitArtPlace& p = COCKPIT_ART[art];
        if (p.kind != ArtKind::LAMPS) continue;
        const Image& lamps = instruments[art].picture.image;
        for (int k = 0; k < p.images / 2; ++k) {
            const PanelPlace at = lamp_place(CockpitArt(art), k, p.width);
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x) panel.at(at.x + x, at.y + y) = lamps.at(x, 2 * k * p.height + y);
        }
    }
}

Image cockpit_panel_picture() {
    Image image(PANEL_WIDTH, PANEL_HEIGHT, 0);
    canopy_and_hud(image);
    consoles(image);
    instrument_panels(image);
    mfd_bezels(image);
    instrument_wells(image);
    labels(image);
    return image;
}

}  // namespace vyr::vyrgen
