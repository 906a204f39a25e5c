#include "tools/vyrgen/pictures/panel_instruments.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "library/graphics/cockpit_layout.h"
#include "tools/vyrgen/pictures/lettering.h"

namespace vyr::vyrgen {

namespace {

constexpr double PI = 3.14159265358979323846;

// Rows of three bits, the top row first.
constexpr uint8_t FIGURES[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

const CockpitArtPlace& place(CockpitArt art) { return COCKPIT_ART[art]; }

Image plain(CockpitArt art, uint8_t colour) { return Image(place(art).width, place(art).height, colour); }

// A point `radius` from the centre at `degrees` clockwise from straight up.
double along_x(double cx, double degrees, double radius) { return cx + radius * std::sin(degrees * PI / 180); }
double along_y(double cy, double degrees, double radius) { return cy - radius * std::cos(degrees * PI / 180); }

struct DialMark {
    double degrees;
    bool major;
    std::string label;  // figures or capitals; empty for none
};

// A round instrument: the panel's grey in the corners, a black face with a rim, ticks and labels.
Image dial(CockpitArt art, const std::vector<DialMark>& marks) {
    Image image = plain(art, PANEL_GREY);
    const int w = image.width, h = image.height;
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0, r = std::min(w, h) / 2.0 - 0.5;
    paint(image, 0, 0, w, h, disc(cx, cy, r), PANEL_RIM);
    paint(image, 0, 0, w, h, disc(cx, cy, r - 2), PANEL_BLACK);
    for (const DialMark& m : marks) {
        const double inner = m.major ? r - 7 : r - 5;
        paint(image, 0, 0, w, h,
              stroke(along_x(cx, m.degrees, inner), along_y(cy, m.degrees, inner), along_x(cx, m.degrees, r - 3),
                     along_y(cy, m.degrees, r - 3), m.major ? 0.6 : 0.4),
              PANEL_WHITE);
        if (m.label.empty()) continue;
        const double lx = along_x(cx, m.degrees, r - 12), ly = along_y(cy, m.degrees, r - 12);
        if (std::isdigit(static_cast<unsigned char>(m.label[0])))
            paint_number(image, lx, ly, m.label.c_str(), 1, PANEL_MARK);
        else
            paint_legend(image, lx, ly, m.label.c_str(), 5, PANEL_MARK);
    }
    return image;
}

std::vector<DialMark> scale_marks(const DialScale& scale, int step, int label_step, int label_unit) {
    std::vector<DialMark> marks;
    for (int v = 0; v <= scale.top_value; v += step) {
        const bool major = v % label_step == 0;
        marks.push_back({dial_degrees(scale, v), major, major && v > 0 ? std::to_string(v / label_unit) : ""});
    }
    return marks;
}

Image altimeter_dial() {
    std::vector<DialMark> marks;
    for (int i = 0; i < 50; ++i) marks.push_back({i * 7.2, i % 5 == 0, i % 5 == 0 ? std::to_string(i / 5) : ""});
    Image image = dial(ART_ALTIMETER_DIAL, marks);
    // The counter's window at the left of the face, where the drums turn.
    const CockpitArtPlace& d = place(ART_ALTIMETER_DIAL);
    const CockpitArtPlace& drums = place(ART_ALTIMETER_SHADE);
    paint(image, 0, 0, image.width, image.height,
          box(drums.x - d.x - 1, drums.y - d.y - 1, drums.x - d.x + drums.width, drums.y - d.y + drums.height),
          PANEL_EDGE);
    return image;
}

Image fuel_dial() {
    std::vector<DialMark> marks;
    for (int i = 0; i <= 10; ++i) marks.push_back({-127 + 25.4 * i, i % 5 == 0, ""});
    marks.front().label = "E";
    marks.back().label = "F";
    return dial(ART_FUEL_DIAL, marks);
}

Image nozzle_dial() {
    std::vector<DialMark> marks;
    for (int p = 0; p <= 100; p += 10)
        marks.push_back({30.0 + 3 * p, p % 50 == 0, p % 50 == 0 ? std::to_string(p / 10) : ""});
    return dial(ART_NOZZLE_DIAL, marks);
}

Image needle_cap(CockpitArt art) {
    Image image = plain(art, 0);
    paint_outlined(image, 0, 0, image.width, image.height, disc(2.5, 2.5, 2.9), PANEL_BLACK, PANEL_EDGE);
    return image;
}

// Round glass in a square bezel: the middle left open (colour 0) for what is drawn under it.
Image bezel(CockpitArt art, double glass) {
    Image image = plain(art, PANEL_GREY);
    const int w = image.width, h = image.height;
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0, r = std::min(w, h) / 2.0 - 0.5;
    paint(image, 0, 0, w, h, disc(cx, cy, r), PANEL_RIM);
    paint(image, 0, 0, w, h, disc(cx, cy, r - 1.5), PANEL_DARK);
    paint(image, 0, 0, w, h, disc(cx, cy, glass), 0);
    return image;
}

// The fixed aircraft of an attitude instrument, in amber on the glass.
Image attitude_bezel(CockpitArt art, double glass) {
    Image image = bezel(art, glass);
    const double cx = (image.width - 1) / 2.0, cy = (image.height - 1) / 2.0, s = glass / 24;
    const Region aircraft = unite({stroke(cx - 14 * s, cy, cx - 5 * s, cy, 0.6), stroke(cx + 5 * s, cy, cx + 14 * s, cy, 0.6),
                                   stroke(cx - 5 * s, cy, cx, cy + 3 * s, 0.6), stroke(cx, cy + 3 * s, cx + 5 * s, cy, 0.6),
                                   stroke(cx, cy - glass + 1, cx, cy - glass + 4, 0.7)});
    paint(image, 0, 0, image.width, image.height, aircraft, LAMP_AMBER);
    return image;
}

Image hsi_bezel() {
    Image image = bezel(ART_HSI_BEZEL, 26);
    const double cx = (image.width - 1) / 2.0, cy = (image.height - 1) / 2.0;
    paint(image, 0, 0, image.width, image.height,
          unite({triangle(cx - 2.5, 1, cx + 2.5, 1, cx, 5), stroke(cx - 5, cy + 1, cx + 5, cy + 1, 0.5),
                 stroke(cx, cy - 4, cx, cy + 5, 0.5), stroke(cx - 2, cy + 5, cx + 2, cy + 5, 0.5)}),
          PANEL_WHITE);
    return image;
}

// A rectangular window with its frame; colour 0 inside unless `face` is given.
Image window_frame(CockpitArt art, uint8_t face) {
    Image image = plain(art, PANEL_EDGE);
    paint(image, 0, 0, image.width, image.height, box(1, 1, image.width - 2, image.height - 2), face);
    return image;
}

Image compass_bezel() {
    Image image = window_frame(ART_COMPASS_BEZEL, 0);
    const double cx = (image.width - 1) / 2.0;
    paint(image, 0, 0, image.width, image.height, triangle(cx - 2.5, 1, cx + 2.5, 1, cx, 4), LAMP_AMBER);
    return image;
}

// The scope of the threat display: range rings and the own aircraft.
Image threat_display() {
    Image image = plain(ART_THREAT_DISPLAY, PANEL_GREY);
    const int w = image.width, h = image.height;
    const double c = (w - 1) / 2.0;
    paint(image, 0, 0, w, h, disc(c, c, 29.5), PANEL_RIM);
    paint(image, 0, 0, w, h, disc(c, c, 28), PANEL_BLACK);
    for (double r : {9.0, 18.0, 27.0}) paint(image, 0, 0, w, h, ring(c, c, r - 0.5, r + 0.3), PANEL_DARK);
    paint(image, 0, 0, w, h, unite({stroke(c, c - 3, c, c + 3, 0.5), stroke(c - 3, c, c + 3, c, 0.5)}), LAMP_GREEN);
    return image;
}

// Figures in cells stacked downwards: cell k shows (k + first) mod 10.
Image digit_strip(CockpitArt art, int first) {
    const CockpitArtPlace& p = place(art);
    Image image(p.width, p.height * p.images, PANEL_WELL);
    const int scale = p.width >= 8 ? 2 : 1;
    for (int k = 0; k < p.images; ++k)
        paint_digit(image, (p.width - 3 * scale + 1) / 2, k * p.height + (p.height - 5 * scale) / 2, ((k + first) % 10 + 10) % 10,
                    scale, PANEL_WHITE);
    return image;
}

// A drum window's shade: one level darker on its top and bottom rows.
Image drum_shade(CockpitArt art) {
    Image image = plain(art, 0);
    for (int x = 0; x < image.width; ++x) image.at(x, 0) = image.at(x, image.height - 1) = 0xFF;
    return image;
}

// A few pixels of glint on the glass: one level lighter.
Image glass_glint(CockpitArt art) {
    Image image = plain(art, 0);
    const double c = (image.width - 1) / 2.0;
    paint(image, 0, 0, image.width, image.height,
          [&](double x, double y) {
              const double d = std::hypot(x - c, y - c), a = std::atan2(y - c, x - c);
              return d > c - 6 && d < c - 4.5 && a < -1.9 && a > -2.6;
          },
          1);
    return image;
}

// A tape of `rows` rows: row r shows value(r); ticks at every `tick` step, figures at `label`.
Image tape(CockpitArt art, const std::function<double(int)>& value, double tick, double label, double unit) {
    const CockpitArtPlace& p = place(art);
    Image image(p.width, p.images, PANEL_WELL);
    for (int r = 1; r < image.height; ++r) {
        const double a = value(r - 1), b = value(r);
        const double mark = std::floor(a / tick) * tick;
        if (!(b <= mark && mark < a) && !(b < mark + tick && mark + tick <= a)) continue;
        const double v = b <= mark && mark < a ? mark : mark + tick;
        const bool major = std::fmod(std::fabs(v) + 1e-6, label) < 1e-3;
        for (int x = 0; x < (major ? 4 : 2); ++x) image.at(x, r) = PANEL_WHITE;
        if (!major || r < 3 || r + 3 >= image.height) continue;
        const std::string text = std::to_string(int(std::lround(std::fabs(v) / unit)));
        paint_number(image, 4 + (image.width - 4) / 2.0, r, text.c_str(), 1, PANEL_MARK);
    }
    return image;
}

// Lamp after lamp, each an unlit half above its lit half.
struct LampLook {
    const char* legend;
    uint8_t lit;  // the bright colour; the face glows one step darker
};

void paint_lamp_face(Image& image, int top, int w, int h, const char* legend, uint8_t face, uint8_t letters) {
    paint(image, 0, top, w, h, box(0, 0, w - 1, h - 1), PANEL_BLACK);
    paint(image, 0, top, w, h, box(1, 1, w - 2, h - 2), face);
    Image cell(w, h, 0);
    double height = std::min(h - 4, 7);
    while (height > 4 && lettering_width(legend, height) > w - 4) height -= 0.5;
    paint_legend(cell, (w - 1) / 2.0, (h - 1) / 2.0, legend, height, letters);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (cell.at(x, y)) image.at(x, top + y) = cell.at(x, y);
}

Image lamps(CockpitArt art, const std::vector<LampLook>& looks) {
    const CockpitArtPlace& p = place(art);
    Image image(p.width, p.height * p.images, PANEL_BLACK);
    for (size_t i = 0; i < looks.size(); ++i) {
        const int top = int(i) * 2 * p.height;
        paint_lamp_face(image, top, p.width, p.height, looks[i].legend, PANEL_WELL, PANEL_EDGE);
        paint_lamp_face(image, top + p.height, p.width, p.height, looks[i].legend, uint8_t(looks[i].lit - 3),
                        looks[i].lit);
    }
    return image;
}

// The AOA indexer's chevrons and circle, unlit and lit.
Image aoa_lamps() {
    const CockpitArtPlace& p = place(ART_AOA_LAMPS);
    Image image(p.width, p.height * p.images, PANEL_BLACK);
    const double cx = (p.width - 1) / 2.0, cy = (p.height - 1) / 2.0;
    const Region shapes[3] = {
        unite({stroke(cx - 5, cy - 3, cx, cy + 3, 0.9), stroke(cx, cy + 3, cx + 5, cy - 3, 0.9)}),
        ring(cx, cy, 2.6, 4.0),
        unite({stroke(cx - 5, cy + 3, cx, cy - 3, 0.9), stroke(cx, cy - 3, cx + 5, cy + 3, 0.9)}),
    };
    const uint8_t lit[3] = {LAMP_AMBER, LAMP_GREEN, LAMP_RED};
    for (int i = 0; i < 3; ++i) {
        paint(image, 0, 2 * i * p.height, p.width, p.height, shapes[i], PANEL_EDGE);
        paint(image, 0, (2 * i + 1) * p.height, p.width, p.height, shapes[i], lit[i]);
    }
    return image;
}

double aoa_row_value(int row) { return 38.25 - row / 3.0; }
double vvi_row_value(int row) { return (124 - row) * 50.0; }

std::string file_name(CockpitArt art) {
    std::string name = "cockpits/";
    for (const char* c = place(art).name; *c; ++c) name += char(std::tolower(static_cast<unsigned char>(*c)));
    return name;
}

}  // namespace

void paint_digit(Image& image, int x, int y, int digit, int scale, uint8_t colour) {
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 3; ++column) {
            if (!(FIGURES[digit][row] & (4 >> column))) continue;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx) {
                    const int px = x + column * scale + dx, py = y + row * scale + dy;
                    if (px >= 0 && py >= 0 && px < image.width && py < image.height) image.at(px, py) = colour;
                }
        }
}

void paint_number(Image& image, double cx, double cy, const char* text, int scale, uint8_t colour) {
    const int n = int(std::strlen(text));
    const int width = n * 4 * scale - scale;
    int x = int(std::lround(cx - width / 2.0));
    const int y = int(std::lround(cy - 5 * scale / 2.0));
    for (int i = 0; i < n; ++i, x += 4 * scale) paint_digit(image, x, y, text[i] - '0', scale, colour);
}

void paint_legend(Image& image, double cx, double cy, const char* text, double height, uint8_t colour) {
    const double x = cx - lettering_width(text, height) / 2, y = std::round(cy - height / 2);
    paint(image, 0, 0, image.width, image.height, lettering(text, x, y, height, 0.55), colour);
}

std::vector<PictureFile> panel_instrument_pictures(const Palette& palette) {
    Image pictures[COCKPIT_ART_COUNT];
    pictures[ART_HORIZON_BEZEL] = attitude_bezel(ART_HORIZON_BEZEL, 23);
    pictures[ART_HORIZON_SHADE] = glass_glint(ART_HORIZON_SHADE);
    pictures[ART_THREAT_LAMPS] = lamps(ART_THREAT_LAMPS, {{"RDR", LAMP_GREEN}, {"ECM", LAMP_GREEN}, {"GND", LAMP_AMBER},
                                                          {"IR", LAMP_RED}, {"RAD", LAMP_RED}, {"AIR", LAMP_AMBER}});
    pictures[ART_GEAR_LAMPS] = lamps(ART_GEAR_LAMPS, {{"N", LAMP_GREEN}, {"L", LAMP_GREEN}, {"R", LAMP_GREEN}});
    pictures[ART_AUTOPILOT] = lamps(ART_AUTOPILOT, {{"AP", LAMP_GREEN}});
    pictures[ART_CAUTION] = lamps(ART_CAUTION, {{"CAUTION", LAMP_AMBER}});
    pictures[ART_AOA_LAMPS] = aoa_lamps();
    pictures[ART_FIRE] = lamps(ART_FIRE, {{"FIRE", LAMP_RED}});
    pictures[ART_HYDRAULICS] = lamps(ART_HYDRAULICS, {{"HYD", LAMP_AMBER}});
    pictures[ART_BRAKES] = lamps(ART_BRAKES, {{"BRK", LAMP_AMBER}});
    pictures[ART_NOSE_WHEEL] = lamps(ART_NOSE_WHEEL, {{"NWS", LAMP_GREEN}});
    pictures[ART_DISC] = lamps(ART_DISC, {{"DISC", LAMP_AMBER}});
    pictures[ART_TAKEOFF_LANDING] = lamps(ART_TAKEOFF_LANDING, {{"LDG", LAMP_GREEN}});
    pictures[ART_AOA_TAPE] = tape(ART_AOA_TAPE, aoa_row_value, 1, 10, 10);
    pictures[ART_STANDBY_ATTITUDE] = attitude_bezel(ART_STANDBY_ATTITUDE, 18);
    pictures[ART_FUEL_FLOW_DIGITS] = digit_strip(ART_FUEL_FLOW_DIGITS, -1);
    pictures[ART_FUEL_FLOW_SHADE] = drum_shade(ART_FUEL_FLOW_SHADE);
    pictures[ART_ALTIMETER_DIGITS] = digit_strip(ART_ALTIMETER_DIGITS, 0);
    pictures[ART_ALTIMETER_SHADE] = drum_shade(ART_ALTIMETER_SHADE);
    pictures[ART_ALTIMETER_DIAL] = altimeter_dial();
    pictures[ART_NOZZLE_DIAL] = nozzle_dial();
    pictures[ART_NOZZLE_CAP] = needle_cap(ART_NOZZLE_CAP);
    pictures[ART_RPM_DIAL] = dial(ART_RPM_DIAL, scale_marks(RPM_SCALE, 10, 20, 10));
    pictures[ART_RPM_CAP] = needle_cap(ART_RPM_CAP);
    pictures[ART_LOW_ALTITUDE] = lamps(ART_LOW_ALTITUDE, {{"LOW ALT", LAMP_RED}});
    pictures[ART_VVI_TAPE] = tape(ART_VVI_TAPE, vvi_row_value, 500, 1000, 1000);
    pictures[ART_AIRSPEED_DIAL] = dial(ART_AIRSPEED_DIAL, scale_marks(AIRSPEED_SCALE, 50, 100, 100));
    pictures[ART_AIRSPEED_CAP] = needle_cap(ART_AIRSPEED_CAP);
    pictures[ART_MACH_DIGITS] = digit_strip(ART_MACH_DIGITS, 0);
    pictures[ART_MACH_SHADE] = drum_shade(ART_MACH_SHADE);
    pictures[ART_COMPASS_BEZEL] = compass_bezel();
    pictures[ART_COMPASS_SHADE] = drum_shade(ART_COMPASS_SHADE);
    pictures[ART_OBSTACLE] = lamps(ART_OBSTACLE, {{"OBST", LAMP_RED}});
    pictures[ART_DATA_DISPLAY] = window_frame(ART_DATA_DISPLAY, PANEL_BLACK);
    pictures[ART_HSI_BEZEL] = hsi_bezel();
    pictures[ART_HSI_DISTANCE_DIGITS] = digit_strip(ART_HSI_DISTANCE_DIGITS, 0);
    pictures[ART_HSI_BEARING_DIGITS] = digit_strip(ART_HSI_BEARING_DIGITS, 0);
    pictures[ART_FUEL_DIAL] = fuel_dial();
    pictures[ART_FUEL_CAP] = needle_cap(ART_FUEL_CAP);
    pictures[ART_THREAT_DISPLAY] = threat_display();
    pictures[ART_FTIT_DIAL] = dial(ART_FTIT_DIAL, scale_marks(FTIT_SCALE, 100, 200, 100));
    pictures[ART_FTIT_CAP] = needle_cap(ART_FTIT_CAP);
    std::vector<PictureFile> files;
    for (int art = 0; art < COCKPIT_ART_COUNT; ++art)
        files.push_back({file_name(CockpitArt(art)), {std::move(pictures[art]), palette}, true});
    return files;
}

}  // namespace vyr::vyrgen
