// Whole scenes of the generated data set through render_world and the accelerator, as a flight
// draws them: an airfield on the approach, and an overcast deck from below and from above. The
// frames are written beside the build to be looked at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/face_record.h"
#include "library/3dvisual/features.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_palette.h"
#include "library/maths/units.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/library/3dvisual/world_fixtures.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {
constexpr int32_t TILE = 1 << 22;

struct Runway {
    double x0, y0, x1, y1;  // world units, its two ends
};

// The runway of the theatre's first airfield, from the feature data: its line is the one through
// the middle of its vertices along the two farthest apart, among the tiles of the first runway
// found and its neighbours.
Runway find_runway() {
    std::vector<std::pair<double, double>> points;
    int first_x = -1, first_y = -1;
    for (int tx = 0; tx < FEATURE_TILES; ++tx)
        for (int ty = 0; ty < FEATURE_TILES; ++ty) {
            const FeatureEntry* entry = feature_layer[tx][ty];
            if (!entry || !entry->polygons) continue;
            if (first_x >= 0 && (std::abs(tx - first_x) > 2 || std::abs(ty - first_y) > 2)) continue;
            PolyVertex v[MAX_FEATURE_VERTICES];
            decode_feature_vertices(entry->vertices, v);
            const uint8_t* record = entry->polygons + 2;
            for (int p = 0; p < read_offset16(entry->polygons); ++p) {
                const int n = record[2];
                if (record[1] == FEATURE_RUNWAY) {
                    if (first_x < 0) first_x = tx, first_y = ty;
                    for (int k = 0; k < n; ++k)
                        points.emplace_back(double(tx) * TILE + v[record[4 + k]].x, double(ty) * TILE + v[record[4 + k]].y);
                }
                record += 4 + n;
            }
        }
    Runway far{};
    double longest = -1, cx = 0, cy = 0;
    for (const auto& a : points) {
        cx += a.first / double(points.size());
        cy += a.second / double(points.size());
        for (const auto& b : points) {
            const double d = std::hypot(a.first - b.first, a.second - b.second);
            if (d > longest) longest = d, far = {a.first, a.second, b.first, b.second};
        }
    }
    const double hx = (far.x1 - far.x0) / 2, hy = (far.y1 - far.y0) / 2;
    return {cx - hx, cy - hy, cx + hx, cy + hy};
}

class SceneRender : public GeneratedWorld {
protected:
    void SetUp() override {
        GeneratedWorld::SetUp();
        open_zone("korea.wz");
    }

    static void render(const char* name, const Pose& eye, int weather, int flags) {
        ViewSettings view = view_settings;
        view.weather = weather;
        view.flags = flags | VIEW_SHADOWS;
        view.visual_range = 12;
        view.terrain_detail = 3;
        view.sun_heading = 0x60000000;
        view.sun_elevation = -50 * DEGREE;
        view.darkness = 0;
        set_view_settings(&view);
        build_world_palette();
        for (int frame = 0; frame < 2; ++frame) render_world(&eye);
        write_frame(std::string(VYR_BUILD_DIR) + "/scene_" + name + ".ppm");
    }
};

TEST_F(SceneRender, AnAirfieldOnTheApproach) {
    Runway r = find_runway();
    std::swap(r.x0, r.x1);  // from the end over the flat ground
    std::swap(r.y0, r.y1);
    const double length = std::hypot(r.x1 - r.x0, r.y1 - r.y0);
    ASSERT_GT(length, 3000.0 * FOOT) << "a runway in Korea's features";
    // Short final: 1000 ft out on the runway's line, 120 ft up, looking along it and down.
    const double ux = (r.x1 - r.x0) / length, uy = (r.y1 - r.y0) / length;
    const double back = 1000.0 * FOOT;
    Pose eye{{int32_t(r.x0 - ux * back), int32_t(r.y0 - uy * back), 120 * FOOT}, {}};
    const double heading = std::atan2(ux, uy);  // binary angles grow from north towards east
    const uint32_t binary = uint32_t(int64_t(std::llround(heading / (2 * M_PI) * 4294967296.0)));
    build_rotation_matrix(binary, uint32_t(-5 * DEGREE), 0, eye.matrix);
    render("airfield_approach", eye, WEATHER_CLEAR, 0);
    // Ahead and below the horizon: the grey runway and its white dashes among the grass.
    int asphalt = 0, marking = 0;
    for (int y = 200; y < 300; ++y)
        for (int x = 250; x < 400; ++x) {
            const Rgb c = pixel(x, y);
            const int lowest = std::min({c.r, c.g, c.b}), highest = std::max({c.r, c.g, c.b});
            asphalt += highest - lowest < 20 && c.r > 60 && c.r < 180;
            marking += lowest > 200;
        }
    EXPECT_GT(asphalt, 1000);
    EXPECT_GT(marking, 30);
}

TEST_F(SceneRender, AnOvercastDeckFromBelowAndFromAbove) {
    Pose eye{{1 << 27, 1 << 27, 0}, {}};
    build_rotation_matrix(0x20000000, uint32_t(15 * DEGREE), 0, eye.matrix);
    eye.position.z = 6000 * FOOT;
    render("overcast_below", eye, WEATHER_OVERCAST, VIEW_CLOUDS);
    const Rgb deck = pixel(320, 20), ground = pixel(320, 470);
    EXPECT_LT(std::abs(deck.r - deck.b), 30) << "a grey deck overhead";
    EXPECT_GT(ground.g, ground.r + 10) << "the green ground below it";
    build_rotation_matrix(0x20000000, uint32_t(-15 * DEGREE), 0, eye.matrix);
    eye.position.z = 24000 * FOOT;
    render("overcast_above", eye, WEATHER_OVERCAST, VIEW_CLOUDS);
    for (const int y : {250, 400, 470}) {
        const Rgb top = pixel(320, y);
        EXPECT_GT(top.b, top.g) << "the deck's top, not the ground, at row " << y;
        EXPECT_GT(top.r + top.g + top.b, 400) << "pale";
    }
}

}  // namespace
}  // namespace vyr
