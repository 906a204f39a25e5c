#include "library/3dvisual/clouds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "library/3dvisual/eye.h"
#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/visibility.h"
#include "library/3dvisual/world.h"
#include "library/graphics/palette.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "tests/library/3dvisual/world_fixtures.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {
constexpr int32_t TILE = 1 << 22;
constexpr uint8_t SENTINEL = 255;  // no cloud level reaches it
constexpr int EYE_TILE = 32;

// The cloud layer alone on a 640 x 480 8-bit screen, its two colours drawing their shade level as
// the pixel, so that a pixel tells the level of the cloud there; the eye over the middle of tile
// (32, 32).
class CloudLayer : public SoftwareScreenWorld {
protected:
    void SetUp() override {
        SoftwareScreenWorld::SetUp();
        set_shade_ramp(166, 0, 256);
        set_shade_ramp(167, 0, 256);
        std::copy(std::begin(buffer_drawers), std::end(buffer_drawers), saved_drawers);
    }
    void TearDown() override {
        std::copy(std::begin(saved_drawers), std::end(saved_drawers), buffer_drawers);
        SoftwareScreenWorld::TearDown();
    }

    // The layer at `layer_feet`, seen from `eye_feet` at a pitch, the grid laid by the sky pass's
    // preparation.
    void look(int32_t eye_feet, int32_t layer_feet, int32_t pitch_degrees, uint32_t heading = 0) {
        ViewSettings view = view_settings;
        view.weather = WEATHER_CLEAR;
        view.flags = VIEW_CLOUDS;
        view.cloud_base = layer_feet * FOOT;
        view.cloud_top = view.cloud_base + 500 * FOOT;
        set_view_settings(&view);
        Pose eye{{EYE_TILE * TILE + TILE / 2, EYE_TILE * TILE + TILE / 2, eye_feet * FOOT}, {}};
        build_rotation_matrix(heading, uint32_t(pitch_degrees * DEGREE), 0, eye.matrix);
        set_eye(&eye);
        find_cloud_tiles();
        prepare_cloud_layer(cloud_tile_range, layer_feet);
    }
    void render() {
        std::fill(pixels.begin(), pixels.end(), SENTINEL);
        reset_object_buffer();
        queue_cloud_layer();
        flush_object_buffer();
    }
    int count(uint8_t colour) const { return int(std::count(pixels.begin(), pixels.end(), colour)); }
    void write(const std::string& name) const {
        std::ofstream out(std::string(VYR_BUILD_DIR) + "/" + name, std::ios::binary);
        out << "P5\n" << W << " " << H << "\n255\n";
        out.write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(pixels.size()));
    }

    BufferDrawer saved_drawers[BUFFER_NODE_TYPES];
};

std::vector<int32_t> queued_vertices;
void record_cloud(BufferNode* node) { queued_vertices.push_back(node->payload[0]); }

// Distant cloud fades towards the horizon: on a grid laid by hand, flat at the eye's height with
// the eye on the south-west corner of tile (32, 32) looking north, so that a cell's first corner
// lies exactly `ty` tiles ahead.
TEST_F(CloudLayer, DistantCellsFadeAndBeyondTheReachAreNotDrawn) {
    const struct {
        const char* what;
        int32_t eye_feet, layer_feet;
        int ty;
        int level;  // of the cell's first corner
        bool queued;
        bool all_corners;  // the level holds at its other corners too
    } cases[] = {
        {"before the fade", 3000, 25000, 12, 0, true, false},
        {"between fade start and end: the first corner", 3000, 25000, 13, 216, true, false},
        {"beyond the fade end: all four corners", 3000, 25000, 14, 230, true, true},
        {"beyond 14 tiles: not drawn, faded", 3000, 25000, 15, 230, false, true},
        {"20,000 ft below the layer: the fade starts 5 tiles nearer", 20000, 25000, 8, 216, true, false},
        {"20,000 ft below the layer, beyond its end", 20000, 25000, 9, 230, true, true},
        {"30,000 ft above the layer: not moved by the height", 30000, 25000, 6, 0, true, false},
        {"inner cell, 36,000 ft below: 54 levels", 36000, 60000, 4, 54, true, false},
        {"inner cell, 40,000 ft below: beyond the end", 40000, 60000, 4, 230, true, false},
        {"inner cell above the layer: never faded", 40000, 25000, 4, 0, true, false},
    };
    buffer_drawers[NODE_CLOUD] = record_cloud;
    for (const auto& c : cases) {
        look(c.eye_feet, c.layer_feet, 0);
        Pose eye{{EYE_TILE * TILE, EYE_TILE * TILE, c.eye_feet * FOOT}, {}};
        build_rotation_matrix(0, 0, 0, eye.matrix);
        set_eye(&eye);
        for (int i = 0; i < CLOUD_GRID_POSTS; ++i)
            for (int j = 0; j < CLOUD_GRID_POSTS; ++j) {
                PolyVertex& v = cloud_vertex_grid[i][j];
                v = {};
                v.x = (i - 4 * EYE_TILE) * (TILE / 4);
                v.y = (j - 4 * EYE_TILE) * (TILE / 4);
            }
        cloud_tile_range = {0, 0, -14, 15};
        queued_vertices.clear();
        reset_object_buffer();
        queue_cloud_layer();
        flush_object_buffer();
        const int i = 4 * EYE_TILE, j = 4 * (EYE_TILE + c.ty);
        EXPECT_EQ(cloud_vertex_grid[i][j].shade >> 23, c.level) << c.what;
        EXPECT_EQ(cloud_vertex_grid[i + 4][j].shade >> 23, c.all_corners ? c.level : 0) << c.what;
        const bool queued = std::count(queued_vertices.begin(), queued_vertices.end(), i * CLOUD_GRID_POSTS + j) > 0;
        EXPECT_EQ(queued, c.queued) << c.what;
        EXPECT_EQ(cloud_tile_range.y_highest, 4) << "the inner pass narrows the range to the 9 x 9 tiles";
    }
}

// The deck covers the view from below and from above; a cell drawn with the windings of the other
// side shows nothing, since its faces turn away.
TEST_F(CloudLayer, WindingsAreSwappedAboveTheLayer) {
    look(1000, 9000, 50);
    render();
    write("clouds_below.pgm");
    EXPECT_EQ(count(SENTINEL), 0);
    sky_state = SKY_ABOVE_CLOUDS;
    render();
    EXPECT_EQ(count(SENTINEL), W * H);

    look(17000, 9000, -50);
    render();
    write("clouds_above.pgm");
    EXPECT_EQ(count(SENTINEL), 0);
    sky_state = SKY_BELOW_CLOUDS;
    render();
    EXPECT_EQ(count(SENTINEL), W * H);
}

// Where the half-tile cells meet the ring of whole tiles around them, the ring's cells take the
// midpoints of their inner edges. With every point off the whole-tile lattice raised, an edge
// that skipped its midpoint would open a crack to the screen behind.
TEST_F(CloudLayer, NoCracksWhereHalfTilesMeetTheRing) {
    for (const uint32_t heading : {0u, 0x40000000u, 0x80000000u, 0xC0000000u}) {
        look(1000, 20000, 30, heading);
        for (int i = 0; i < CLOUD_GRID_POSTS; ++i)
            for (int j = 0; j < CLOUD_GRID_POSTS; ++j)
                if (i % 4 || j % 4) cloud_vertex_grid[i][j].z += 1500 * FOOT;
        render();
        write("clouds_ring_" + std::to_string(heading >> 30) + ".pgm");
        // Down to 8 degrees above the horizon, some 8 tiles out: well within the drawn layer.
        EXPECT_EQ(std::count(pixels.begin(), pixels.begin() + 360 * W, SENTINEL), 0) << heading;
    }
}

}  // namespace
}  // namespace vyr
