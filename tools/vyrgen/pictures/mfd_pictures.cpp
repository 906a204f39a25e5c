#include "tools/vyrgen/pictures/mfd_pictures.h"

#include <algorithm>

#include "tools/vyrgen/rgb_palettes.h"

namespace vyr::vyrgen {

namespace {

constexpr uint8_t BACKGROUND = 208;
constexpr uint8_t AIRFRAME_FILL = 210;
constexpr uint8_t AIRFRAME_EDGE = 214;
constexpr uint8_t STORE_FILL = 217;
constexpr uint8_t STORE_EDGE = 221;

// The planform seen from above, nose up, its wing tips at the outer stations; the rows below
// it are left for the page's counts and the selected weapon's name.
Image planform() {
    Image image(MFD_SIZE, MFD_SIZE, BACKGROUND);
    const Region airframe = unite({
        triangle(70, 2, 64, 22, 76, 22),                                              // nose
        box(64, 20, 76, 92),                                                          // fuselage
        triangle(64, 34, 1, 72, 64, 70), triangle(1, 72, 1, 80, 64, 70),              // left wing
        triangle(76, 34, 139, 72, 76, 70), triangle(139, 72, 139, 80, 76, 70),        // right wing
        triangle(64, 78, 44, 94, 64, 90), triangle(44, 94, 44, 98, 64, 90),           // tailplanes
        triangle(76, 78, 96, 94, 76, 90), triangle(96, 94, 96, 98, 76, 90),
    });
    paint_outlined(image, 0, 0, MFD_SIZE, MFD_SIZE, airframe, AIRFRAME_EDGE, AIRFRAME_FILL);
    paint(image, 0, 102, MFD_SIZE, 1, box(2, 0, MFD_SIZE - 3, 0), AIRFRAME_EDGE);
    return image;
}

enum class Nose { POINTED, ROUND, BLUNT };

// A store's outline in fractions of its cell: the body's half width, the nose, the tail fins'
// span and length, and optional fins part way along (canards, wings or a retarder's blades).
struct StoreShape {
    double body;
    Nose nose;
    double nose_length;
    double tail_span, tail_length;
    double mid_span = 0, mid_at = 0, mid_length = 0;
};

Region store(int width, int height, const StoreShape& s) {
    const double cx = (width - 1) / 2.0, top = 0.0, bottom = height - 1.0;
    const double b = s.body * width, nose_end = top + s.nose_length * height;
    std::vector<Region> parts = {box(cx - b, nose_end, cx + b, bottom)};
    switch (s.nose) {
    case Nose::POINTED: parts.push_back(triangle(cx, top, cx - b, nose_end + 0.5, cx + b, nose_end + 0.5)); break;
    case Nose::ROUND: parts.push_back(disc(cx, top + b, b + 0.3)); parts.push_back(box(cx - b, top + b, cx + b, nose_end)); break;
    case Nose::BLUNT: parts.push_back(box(cx - b * 0.6, top, cx + b * 0.6, nose_end)); break;
    }
    const auto fins = [&](double span, double from, double length) {
        const double half = span * width, y0 = from * height, y1 = y0 + length * height;
        parts.push_back(triangle(cx - b, y0, cx - half, y1, cx - b, y1));
        parts.push_back(triangle(cx + b, y0, cx + half, y1, cx + b, y1));
        parts.push_back(box(cx - half, y1 - 0.9, cx + half, y1));
    };
    fins(s.tail_span, 1.0 - s.tail_length - 0.02, s.tail_length);
    if (s.mid_span > 0) fins(s.mid_span, s.mid_at, s.mid_length);
    return unite(std::move(parts));
}

// Cells in the stores page's order for each strip.
const std::vector<StoreShape> SMALL_STORES = {
    {0.19, Nose::ROUND, 0.12, 0.5, 0.2, 0.5, 0.35, 0.25},   // AGM-65E
    {0.19, Nose::ROUND, 0.12, 0.5, 0.2, 0.5, 0.35, 0.25},   // AGM-65G
    {0.44, Nose::POINTED, 0.2, 0.44, 0.05},                 // M151 HE rocket pod
    {0.44, Nose::BLUNT, 0.12, 0.44, 0.05},                  // M247 AT rocket pod
    {0.19, Nose::POINTED, 0.18, 0.5, 0.2, 0.4, 0.12, 0.1},  // GBU-12
    {0.25, Nose::POINTED, 0.3, 0.45, 0.2},                  // MK-82
    {0.25, Nose::POINTED, 0.3, 0.5, 0.3},                   // MK82 RET
    {0.32, Nose::ROUND, 0.1, 0.5, 0.15},                    // CBU-89B
    {0.32, Nose::BLUNT, 0.08, 0.5, 0.15},                   // CBU-87B
    {0.14, Nose::POINTED, 0.15, 0.45, 0.15, 0.3, 0.4, 0.1}, // DUR
    {0.32, Nose::ROUND, 0.08, 0.32, 0.04},                  // ECM pod
};
const std::vector<StoreShape> MEDIUM_STORES = {
    {0.13, Nose::POINTED, 0.12, 0.45, 0.12, 0.4, 0.35, 0.12},  // AIM120
    {0.34, Nose::ROUND, 0.1, 0.34, 0.04},                      // recon pod
    {0.22, Nose::POINTED, 0.18, 0.5, 0.18, 0.45, 0.1, 0.08},   // GBU-16
    {0.13, Nose::ROUND, 0.06, 0.45, 0.12, 0.35, 0.12, 0.08},   // AIM-9M
    {0.27, Nose::POINTED, 0.3, 0.45, 0.2},                     // MK-83
    {0.27, Nose::POINTED, 0.3, 0.5, 0.3},                      // MK83 RET
};
const std::vector<StoreShape> LARGE_STORES = {
    {0.4, Nose::POINTED, 0.25, 0.4, 0.1},                       // wing tank
    {0.45, Nose::POINTED, 0.2, 0.45, 0.06},                     // centre tank
    {0.35, Nose::BLUNT, 0.1, 0.35, 0.04},                       // gun pod
    {0.27, Nose::POINTED, 0.3, 0.5, 0.3},                       // MK84 RET
    {0.27, Nose::POINTED, 0.3, 0.45, 0.2},                      // MK-84
    {0.22, Nose::POINTED, 0.16, 0.5, 0.2, 0.45, 0.08, 0.08},    // GBU-10
    {0.12, Nose::POINTED, 0.1, 0.45, 0.12, 0.45, 0.35, 0.15},   // AGM-88A
};

Image strip(const StoreStrip& s, const std::vector<StoreShape>& shapes) {
    Image image(s.width, s.height * s.cells, 0);
    for (int k = 0; k < s.cells; ++k)
        paint_outlined(image, 0, k * s.height, s.width, s.height, store(s.width, s.height, shapes[size_t(k)]),
                       STORE_EDGE, STORE_FILL);
    return image;
}

}  // namespace

std::vector<PictureFile> mfd_pictures() {
    // The displays' colours come from the 3D palette; the file's own map carries them too.
    Palette palette{};
    const std::vector<uint8_t> colours = three_d_palette();
    std::copy(colours.begin(), colours.end(), palette.begin());
    return {
        {"cockpits/mfdweap.bbm", {planform(), palette}, true},
        {STORE_STRIPS[0].name, {strip(STORE_STRIPS[0], SMALL_STORES), palette}, true},
        {STORE_STRIPS[1].name, {strip(STORE_STRIPS[1], MEDIUM_STORES), palette}, true},
        {STORE_STRIPS[2].name, {strip(STORE_STRIPS[2], LARGE_STORES), palette}, true},
    };
}

}  // namespace vyr::vyrgen
