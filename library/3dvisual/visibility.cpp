#include "library/3dvisual/visibility.h"

#include <algorithm>

#include "library/3dvisual/clip.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/grid_offsets.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/graphics/plot.h"
#include "library/maths/trig.h"

namespace vyr {

constexpr OffsetRange EMPTY_RANGE = {INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN};

OffsetRange visible_tile_range = EMPTY_RANGE;
OffsetRange visible_block_range = EMPTY_RANGE;
OffsetRange cloud_tile_range = CLOUD_TILE_RANGE_AT_START;
int32_t tile_corner_eye[3];
int32_t block_corner_eye[3];
int32_t render_block_x = 0;
int32_t render_block_y = 0;
int32_t tile_visibility = 0;
int32_t block_visibility = 0;
OffsetRange map_block_range = EMPTY_RANGE;
int32_t map_block_corner[2];
int32_t map_block_class = 0;
OffsetRange map_tile_range = EMPTY_RANGE;
int32_t map_tile_origin[2];
int32_t map_tile_class = 0;

namespace {

constexpr int TILE_SHIFT = 22;
constexpr int BLOCK_SHIFT = 26;
constexpr int WORLD_TILES = 64;
constexpr int FAR_BLOCKS = 16;
constexpr int32_t FAR_GRID_OFFSET = 0x18000000;  // the grid reaches six blocks past the world
constexpr int COARSE_STEPS_PER_TILE = 16;
// Tiles are tested as boxes this high, and the view's reach is looked for up to it as well.
constexpr int COARSE_STEPS_OF_BOX = 16;  // 0x400000, 16,384 ft
constexpr int32_t BOX_HEIGHT = 0x400000;
// The ground footprint: far blocks 2 below to 3 above the eye's block corner.
constexpr int FOOTPRINT_LOW = -2, FOOTPRINT_HIGH = 3;
constexpr int32_t RING_TWO_HEIGHT = 512000, RING_THREE_HEIGHT = 1024000;  // 2,000 and 4,000 ft
constexpr int32_t HALF_BLOCK = 1 << 25;
// The cloud layer's tiles.
constexpr int32_t STEEP_CLOUD_PITCH = 0x31C71C72;  // 70 degrees
constexpr int STEEP_CLOUD_REACH = 3;
constexpr uint32_t EIGHTH_TURN = 0x20000000, QUARTER_TURN = 0x40000000;
constexpr uint32_t NEAREST_44_DEGREES = 0x1F49F49F, NEAREST_46_DEGREES = 0x20B60B61;

bool is_empty(const OffsetRange& r) { return r.x_lowest > r.x_highest || r.y_lowest > r.y_highest; }

int count_of(const OffsetRange& r) {
    return is_empty(r) ? 0 : (r.x_highest - r.x_lowest + 1) * (r.y_highest - r.y_lowest + 1);
}

void include(OffsetRange& r, int32_t x, int32_t y) {
    r.x_lowest = std::min(r.x_lowest, x);
    r.x_highest = std::max(r.x_highest, x);
    r.y_lowest = std::min(r.y_lowest, y);
    r.y_highest = std::max(r.y_highest, y);
}

int32_t round_shift(int64_t value, int shift) { return int32_t((value + (int64_t(1) << (shift - 1))) >> shift); }

// A square of the view's grid at one height, corners given as eye-space sums per axis.
struct Square {
    PolyVertex v[4];
};

// Widens `range` by the grid offsets (2^shift units) of what the view sees of `square`, the
// square's points turned back into world offsets from the eye and measured from the corner of its
// cell (`fraction_x`, `fraction_y`). False when the view sees none of it.
bool widen_by_view(Square& square, int shift, int32_t fraction_x, int32_t fraction_y, OffsetRange& range) {
    for (int i = 0; i < 4; ++i) square.v[i].next = i < 3 ? &square.v[i + 1] : nullptr;
    const PolyVertex* seen = plain_poly_build_clip(square.v);
    if (!seen) return false;
    const Matrix3& m = view_matrix;
    for (const PolyVertex* p = seen; p; p = p->next) {
        const int64_t up = round_shift(int64_t(p->z) * projection_scale.inverse_aspect, 27);
        const int32_t x = round_shift(int64_t(p->x) * m[0][0] + int64_t(p->y) * m[1][0] + up * m[2][0], 31);
        const int32_t y = round_shift(int64_t(p->x) * m[0][1] + int64_t(p->y) * m[1][1] + up * m[2][1], 31);
        include(range, int32_t((int64_t(x) + fraction_x) >> shift), int32_t((int64_t(y) + fraction_y) >> shift));
    }
    return true;
}

// The square of far-block offsets lowest..highest (corners on block lines) `height_steps` coarse
// steps above the ground.
Square block_square(int lowest_x, int highest_x, int lowest_y, int highest_y, int height_steps) {
    const ViewOffsetTables& t = view_offset_tables;
    const int xs[4] = {lowest_x, lowest_x, highest_x + 1, highest_x + 1};
    const int ys[4] = {lowest_y, highest_y + 1, highest_y + 1, lowest_y};
    Square s{};
    for (int i = 0; i < 4; ++i) {
        int32_t e[3];
        for (int axis = 0; axis < 3; ++axis)
            e[axis] = far_block_origin_eye[axis] + t.block[axis][0][xs[i] + BLOCK_OFFSET_CENTRE] +
                      t.block[axis][1][ys[i] + BLOCK_OFFSET_CENTRE] + t.coarse_height[axis][height_steps];
        s.v[i].x = e[0];
        s.v[i].y = e[1];
        s.v[i].z = e[2];
    }
    return s;
}

// Pulls the range in so that `eye + offset` lies in 0..cells-1 on both axes; empty when it lies
// wholly outside.
void fit_to_grid(OffsetRange& r, int32_t eye_x, int32_t eye_y, int cells) {
    if (eye_x + r.x_lowest >= cells || eye_y + r.y_lowest >= cells || eye_x + r.x_highest < 0 ||
        eye_y + r.y_highest < 0) {
        r = EMPTY_RANGE;
        return;
    }
    r.x_lowest = std::max(r.x_lowest, -eye_x);
    r.y_lowest = std::max(r.y_lowest, -eye_y);
    r.x_highest = std::min(r.x_highest, cells - 1 - eye_x);
    r.y_highest = std::min(r.y_highest, cells - 1 - eye_y);
}

void clamp_range(OffsetRange& r, int32_t lowest_x, int32_t highest_x, int32_t lowest_y, int32_t highest_y) {
    r.x_lowest = std::clamp(r.x_lowest, lowest_x, highest_x);
    r.x_highest = std::clamp(r.x_highest, lowest_x, highest_x);
    r.y_lowest = std::clamp(r.y_lowest, lowest_y, highest_y);
    r.y_highest = std::clamp(r.y_highest, lowest_y, highest_y);
}

enum Quadrant { NORTH, EAST, SOUTH, WEST };

Quadrant view_quadrant() {
    const uint32_t q = view_heading + EIGHTH_TURN;
    return q <= QUARTER_TURN ? NORTH : q <= 2 * QUARTER_TURN ? EAST : q <= 3 * QUARTER_TURN ? SOUTH : WEST;
}

// Near the ground the eye's own row or column of tiles is always in range; when nothing was
// found, the eye's tile and its two neighbours across the view are.
void keep_eye_tiles(OffsetRange& r, bool found) {
    const Quadrant quadrant = view_quadrant();
    if (found) {
        if (quadrant == NORTH && r.y_lowest == 1) r.y_lowest = 0;
        if (quadrant == EAST && r.x_lowest == 1) r.x_lowest = 0;
        if (quadrant == SOUTH && r.y_highest == -1) r.y_highest = 0;
        if (quadrant == WEST && r.x_highest == -1) r.x_highest = 0;
        return;
    }
    r = quadrant == NORTH || quadrant == SOUTH ? OffsetRange{-1, 1, 0, 0} : OffsetRange{0, 0, -1, 1};
    fit_to_grid(r, eye_tile_x, eye_tile_y, WORLD_TILES);
}

// A point on the border of the square [-reach, reach]^2 at the view's left edge: the angle
// within a quadrant held off its diagonal, the tangent in 1.31 scaled in floating point.
void left_edge_point(int reach, int32_t& x, int32_t& y) {
    const int32_t h = int32_t(view_heading - EIGHTH_TURN);
    int quadrant;
    uint32_t within;
    if (h >= 0) {
        quadrant = uint32_t(h) < QUARTER_TURN ? 1 : 2;
        within = uint32_t(h) - (quadrant == 1 ? 0 : QUARTER_TURN);
    } else {
        quadrant = h > -int32_t(QUARTER_TURN) ? 3 : 4;
        within = uint32_t(h) + (quadrant == 3 ? QUARTER_TURN : 2 * QUARTER_TURN);
    }
    auto scaled_tangent = [reach](uint32_t angle) {
        const int64_t t = (int64_t(lookup_sin(angle)) << 31) / lookup_cos(angle);
        return int32_t(double(reach) * double(t) / 2147483648.0);
    };
    int32_t a, b;
    if (within <= EIGHTH_TURN) {
        a = scaled_tangent(std::min(within, NEAREST_44_DEGREES));
        b = reach;
    } else {
        a = reach;
        b = scaled_tangent(QUARTER_TURN - std::max(within, NEAREST_46_DEGREES));
    }
    const int32_t turned[4][2] = {{a, b}, {b, -a}, {-b, a}, {-a, -b}};
    x = turned[quadrant - 1][0];
    y = turned[quadrant - 1][1];
}

// One step clockwise along the border of the square [-reach, reach]^2.
void step_clockwise(int reach, int32_t& x, int32_t& y) {
    if (y == reach && x < reach) ++x;
    else if (x == reach && y > -reach) --y;
    else if (y == -reach && x > -reach) --x;
    else ++y;
}

// The cloud grid has vertices one past the highest tile, so the range keeps to tiles 1..62, and
// always reaches one tile each way from the eye's.
void fit_cloud_axis(int32_t eye, int32_t& lowest, int32_t& highest) {
    const int32_t reach = CLOUD_TILE_REACH;
    if (eye + lowest < 1) lowest = 1 - eye;
    else if (eye + lowest >= WORLD_TILES) lowest = WORLD_TILES - 1 - eye;
    lowest = std::max(lowest, -reach);
    if (eye > 0) lowest = std::min(lowest, -1);
    if (eye + highest >= WORLD_TILES - 1) highest = WORLD_TILES - 2 - eye;
    highest = std::min(highest, reach);
    if (eye < WORLD_TILES - 2) highest = std::max(highest, 1);
}

}  // namespace

int find_visible_tiles() {
    OffsetRange& r = visible_tile_range;
    r = EMPTY_RANGE;
    const int32_t reach = current_view.visual_range;
    bool found = false;
    // The ground, then the same square as high as the tile boxes, for high ground beyond the
    // ground's footprint.
    for (int height_steps : {0, COARSE_STEPS_OF_BOX}) {
        Square square = block_square(FOOTPRINT_LOW, FOOTPRINT_HIGH - 1, FOOTPRINT_LOW, FOOTPRINT_HIGH - 1, height_steps);
        if (!widen_by_view(square, TILE_SHIFT, eye_tile_fraction_x, eye_tile_fraction_y, r)) continue;
        clamp_range(r, -reach, reach, -reach, reach);
        fit_to_grid(r, eye_tile_x, eye_tile_y, WORLD_TILES);
        found = !is_empty(r);
    }
    if (eye_in_world && eye_pose.position.z <= BOX_HEIGHT) keep_eye_tiles(r, found);
    return count_of(r);
}

int test_tile_visible() {
    const ViewOffsetTables& t = view_offset_tables;
    int32_t x[8], depth[8], up[8];
    for (int i = 0; i < 8; ++i) {
        const int east = i & 1 ? COARSE_STEPS_PER_TILE : 0, north = i & 2 ? COARSE_STEPS_PER_TILE : 0;
        const int height = i & 4 ? COARSE_STEPS_OF_BOX : 0;
        int32_t* out[3] = {&x[i], &depth[i], &up[i]};
        for (int axis = 0; axis < 3; ++axis)
            *out[axis] = tile_corner_eye[axis] + t.coarse[axis][0][east + COARSE_OFFSET_CENTRE] +
                         t.coarse[axis][1][north + COARSE_OFFSET_CENTRE] + t.coarse_height[axis][height];
    }
    tile_visibility = classify_points(x, depth, up, 8);
    return tile_visibility;
}

int find_cloud_tiles() {
    OffsetRange& r = cloud_tile_range;
    const int32_t reach = CLOUD_TILE_REACH;
    if (int32_t(view_pitch) > STEEP_CLOUD_PITCH) {
        r = {-STEEP_CLOUD_REACH, STEEP_CLOUD_REACH, -STEEP_CLOUD_REACH, STEEP_CLOUD_REACH};
    } else if (sky_state == SKY_ABOVE_CLOUDS) {
        r = {-reach, reach, -reach, reach};
    } else {
        int32_t x, y;
        left_edge_point(reach, x, y);
        r = {0, 0, 0, 0};
        include(r, x, y);
        for (int step = 0; step < 2 * reach; ++step) step_clockwise(reach, x, y);
        include(r, x, y);
    }
    fit_cloud_axis(eye_tile_x, r.x_lowest, r.x_highest);
    fit_cloud_axis(eye_tile_y, r.y_lowest, r.y_highest);
    return count_of(r);
}

int find_visible_far_blocks() {
    OffsetRange& r = visible_block_range;
    r = EMPTY_RANGE;
    const int32_t z = eye_pose.position.z;
    const int ring = z < RING_TWO_HEIGHT ? 1 : z < RING_THREE_HEIGHT ? 2 : 3;
    const int low_x = eye_far_block_fraction_x < HALF_BLOCK ? -ring - 1 : -ring;
    const int low_y = eye_far_block_fraction_y < HALF_BLOCK ? -ring - 1 : -ring;
    const int high_x = low_x + 2 * ring + 1, high_y = low_y + 2 * ring + 1;
    Square square = block_square(low_x, high_x, low_y, high_y, 0);
    if (!widen_by_view(square, BLOCK_SHIFT, eye_far_block_fraction_x, eye_far_block_fraction_y, r)) return 0;
    clamp_range(r, low_x, high_x, low_y, high_y);
    fit_to_grid(r, eye_far_block_x, eye_far_block_y, FAR_BLOCKS);
    return count_of(r);
}

int test_far_block_visible() {
    const ViewOffsetTables& t = view_offset_tables;
    int32_t x[4], depth[4], up[4];
    for (int i = 0; i < 4; ++i) {
        const int east = i & 1, north = i >> 1;
        int32_t* out[3] = {&x[i], &depth[i], &up[i]};
        for (int axis = 0; axis < 3; ++axis)
            *out[axis] = block_corner_eye[axis] + t.block[axis][0][east + BLOCK_OFFSET_CENTRE] +
                         t.block[axis][1][north + BLOCK_OFFSET_CENTRE];
    }
    block_visibility = classify_points(x, depth, up, 4);
    return block_visibility;
}

namespace {

// The grid cells of 2^shift units, counted from `origin` units west and south of the world, that
// the plot window's four corners fall in, kept to the grid.
int find_map_cells(OffsetRange& r, int64_t origin, int shift, int cells) {
    r = EMPTY_RANGE;
    set_plot_offset(0, 0);
    const PlotWindow& p = current_plot;
    const int32_t xs[4] = {p.screen_x0, p.screen_x1, p.screen_x1, p.screen_x0};
    const int32_t ys[4] = {p.screen_y0, p.screen_y0, p.screen_y1, p.screen_y1};
    for (int i = 0; i < 4; ++i) {
        int32_t wx, wy;
        map_screen_to_plot(xs[i], ys[i], wx, wy);
        include(r, int32_t((int64_t(wx) + origin) >> shift), int32_t((int64_t(wy) + origin) >> shift));
    }
    fit_to_grid(r, 0, 0, cells);
    return count_of(r);
}

// The class of the square with its south-west corner at `corner`, whose sides are entry
// `side` of the plan map's tables of one level.
template <typename Table>
int classify_map_square(const int32_t corner[2], const Table (&table)[2][2], int centre, int side) {
    int32_t u[4], w[4];
    for (int i = 0; i < 4; ++i) {
        const int east = centre + (i & 1) * side, north = centre + (i >> 1) * side;
        u[i] = corner[0] + table[0][0][east] + table[1][0][north];
        w[i] = corner[1] + table[0][1][east] + table[1][1][north];
    }
    return classify_plot_points(u, w, 4);
}

}  // namespace

int find_map_far_blocks() { return find_map_cells(map_block_range, FAR_GRID_OFFSET, BLOCK_SHIFT, FAR_BLOCKS); }

int test_map_far_block_visible() {
    map_block_class = classify_map_square(map_block_corner, plan_map_offset_tables.block, BLOCK_OFFSET_CENTRE, 1);
    return map_block_class;
}

int find_map_tiles() { return find_map_cells(map_tile_range, 0, TILE_SHIFT, WORLD_TILES); }

int test_map_tile_visible() {
    constexpr int COARSE_STEPS_PER_TILE = 1 << (TILE_SHIFT - 18);
    map_tile_class =
        classify_map_square(map_tile_origin, plan_map_offset_tables.coarse, COARSE_OFFSET_CENTRE, COARSE_STEPS_PER_TILE);
    return map_tile_class;
}

}  // namespace vyr
