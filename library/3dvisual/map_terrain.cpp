#include "library/3dvisual/map_terrain.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "library/3dvisual/grid_offsets.h"
#include "library/3dvisual/plan_map.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/terrain_frame.h"
#include "library/3dvisual/visibility.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/plot_poly.h"
#include "library/graphics/poly.h"
#include "library/maths/vector.h"

namespace vyr {

int32_t terrain_map_max_height = 0;

namespace {

constexpr int POSTS_PER_TILE = 4;
constexpr int TILE_SHIFT = 22;
constexpr int COARSE_STEPS_PER_POST = 4;  // posts 2^20 apart, coarse steps 2^18
constexpr int MENU_HEIGHT_BASE = 99;
constexpr int MENU_HEIGHT_STEPS = 15;
constexpr int OTHER_HEIGHT_STEPS = 10;
constexpr int32_t UNSCALED_MAX_HEIGHT = 6000;  // feet, for a theatre whose highest post is unknown
constexpr int32_t TOP_STEP_DEPTH = 500;        // feet below the highest post: the menus' top step
constexpr int FEET = 256;

// [class][first, second triangle]; class 7 is not made by the tools and is taken as 6.
constexpr int CLASS_COLOURS[7][2] = {{193, 194}, {195, 196}, {195, 196}, {193, 194}, {197, 198}, {197, 198}, {200, 200}};
// By (column parity, row parity).
constexpr int DITHER_THRESHOLDS[2][2] = {{0, 2}, {3, 1}};

// The row parity runs on from one cell to the next, as the rows of a screen would.
int dither_row_parity = 0;

struct TileVertices {
    PolyVertex v[POSTS_PER_TILE + 1][POSTS_PER_TILE + 1];
    bool inside;
};

// The 25 posts of the current tile in the window's frame: outcodes unless the tile is wholly
// inside, pixels, heights in feet. The posts on the tile's east and north edges are placed from
// the neighbours' corners, as those tiles place them, so that no seam opens between tiles where
// the tables' truncation would leave one.
void build_tile_vertices(TileVertices& t) {
    const PlanMapOffsetTables& o = plan_map_offset_tables;
    t.inside = map_tile_class == PLOT_ALL_INSIDE;
    int32_t corner[2][2][2];  // [east][north][u, w]
    for (int east = 0; east < 2; ++east)
        for (int north = 0; north < 2; ++north)
            rotate_into_plot(east << TILE_SHIFT, north << TILE_SHIFT, corner[east][north][0], corner[east][north][1]);
    for (int a = 0; a <= POSTS_PER_TILE; ++a) {
        for (int b = 0; b <= POSTS_PER_TILE; ++b) {
            const int east = a / POSTS_PER_TILE, north = b / POSTS_PER_TILE;
            const int i = COARSE_OFFSET_CENTRE + (a % POSTS_PER_TILE) * COARSE_STEPS_PER_POST;
            const int j = COARSE_OFFSET_CENTRE + (b % POSTS_PER_TILE) * COARSE_STEPS_PER_POST;
            PolyVertex& v = t.v[a][b];
            v.x = corner[east][north][0] + o.coarse[0][0][i] + o.coarse[1][0][j];
            v.y = corner[east][north][1] + o.coarse[0][1][i] + o.coarse[1][1][j];
            v.z = terrain_posts[map_tile_x * POSTS_PER_TILE + a][map_tile_y * POSTS_PER_TILE + b].height;
            v.outcode = t.inside ? 0 : plot_outcode(v.x, v.y);
            v.screen_x = plot_screen_x(v.x);
            v.screen_y = plot_screen_y(v.y);
        }
    }
}

const TerrainPost& cell_post(int a, int b) {
    return terrain_posts[map_tile_x * POSTS_PER_TILE + a][map_tile_y * POSTS_PER_TILE + b];
}

// Calls draw(corners) for each triangle of the tile that the map shows, corners in drawing order.
template <typename Draw>
void each_map_triangle(TileVertices& t, Draw draw) {
    for (int a = 0; a < POSTS_PER_TILE; ++a) {
        for (int b = 0; b < POSTS_PER_TILE; ++b) {
            const TerrainPost& post = cell_post(a, b);
            const bool diagonal = post.classes & TERRAIN_DIAGONAL;
            for (int triangle = 0; triangle < 2; ++triangle) {
                if (post.texture[triangle] & TERRAIN_DRAW_AT_ONCE) continue;
                PolyVertex* corners[3];
                for (int k = 0; k < 3; ++k) {
                    const int* c = TERRAIN_TRIANGLE_CORNERS[triangle][diagonal][k];
                    corners[k] = &t.v[a + c[0]][b + c[1]];
                }
                draw(post, triangle, corners);
            }
        }
    }
}

// A window point back to the world: the inverse of the window's turn about its centre.
void plan_to_world(int32_t x, int32_t y, int32_t& world_x, int32_t& world_y) {
    const PlotWindow& p = current_plot;
    const int32_t dx = plot_subtract(x, p.centre_x), dy = plot_subtract(y, p.centre_y);
    world_x = plot_add(round31(mul64(dx, p.cosine) + mul64(dy, p.sine)), p.centre_x);
    world_y = plot_add(round31(mul64(dy, p.cosine) - mul64(dx, p.sine)), p.centre_y);
}

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// 0 <= n / d < 1.
bool in_unit(double n, double d) { return d > 0 ? n >= 0 && n < d : n <= 0 && n > d; }

// Two points climb the triangle a level (a tenth of the contour interval) at a time, one along
// its long side, the other along the two short ones; at each level that is a positive multiple
// of the interval, line(x0, y0, x1, y1) joins them.
template <typename Line>
void walk_contours(const MapContourCorner corners[3], Line line) {
    const int32_t interval = plan_map_options.value;
    const int32_t band = interval / 10;
    if (band <= 0) return;  // no interval, no lines
    const int32_t per_line = interval / band;
    const MapContourCorner* p[3] = {&corners[0], &corners[1], &corners[2]};
    std::stable_sort(p, p + 3, [&](const MapContourCorner* a, const MapContourCorner* b) {
        return a->height / band < b->height / band;
    });
    const int32_t l1 = p[0]->height / band, l2 = p[1]->height / band, l3 = p[2]->height / band;
    if (l1 == l3) return;
    int32_t long_x = p[0]->x, long_y = p[0]->y;
    const int32_t long_dx = (p[2]->x - p[0]->x) / (l3 - l1), long_dy = (p[2]->y - p[0]->y) / (l3 - l1);
    int32_t short_x = l1 == l2 ? p[1]->x : p[0]->x, short_y = l1 == l2 ? p[1]->y : p[0]->y;
    int32_t short_dx = 0, short_dy = 0;
    if (l1 != l2) short_dx = (p[1]->x - p[0]->x) / (l2 - l1), short_dy = (p[1]->y - p[0]->y) / (l2 - l1);
    for (int32_t level = l1; level < l3; ++level) {
        if (level == l2) {
            short_dx = (p[2]->x - short_x) / (l3 - l2);
            short_dy = (p[2]->y - short_y) / (l3 - l2);
        }
        if (level > 0 && level % per_line == 0) line(long_x, long_y, short_x, short_y);
        long_x += long_dx;
        long_y += long_dy;
        short_x += short_dx;
        short_y += short_dy;
    }
}

}  // namespace

void compute_terrain_max_height() {
    int32_t highest = 0;
    for (int i = 0; i < TERRAIN_CELLS; ++i)
        for (int j = 0; j < TERRAIN_CELLS; ++j) highest = std::max<int32_t>(highest, terrain_posts[i][j].height);
    terrain_map_max_height = highest;
}

void draw_map_terrain() {
    TileVertices t;
    build_tile_vertices(t);
    each_map_triangle(t, [&](const TerrainPost& post, int triangle, PolyVertex* corners[3]) {
        const int cls = std::min(6, (post.classes >> (3 * triangle)) & TERRAIN_CLASS_MASK);
        const uint32_t pattern = uint32_t(CLASS_COLOURS[cls][triangle]) * 0x01010101u;
        corners[0]->next = corners[1];
        corners[1]->next = corners[2];
        corners[2]->next = nullptr;
        const int32_t any = corners[0]->outcode | corners[1]->outcode | corners[2]->outcode;
        if (corners[0]->outcode & corners[1]->outcode & corners[2]->outcode) return;
        if (any == 0) return draw_poly_flat(corners[0], pattern);
        if (const PolyVertex* left = clip_plot_poly_unrotated(any, corners[0], corners[2], clip_pool))
            draw_poly_flat(left, pattern);
    });
}

void draw_map_terrain_alt() {
    TileVertices t;
    build_tile_vertices(t);
    for (int a = 0; a < POSTS_PER_TILE; ++a) {
        for (int b = 0; b < POSTS_PER_TILE; ++b) {
            const TerrainPost& post = cell_post(a, b);
            if ((post.texture[0] & post.texture[1]) & TERRAIN_DRAW_AT_ONCE) continue;
            PolyVertex c00 = t.v[a][b], c01 = t.v[a][b + 1], c10 = t.v[a + 1][b], c11 = t.v[a + 1][b + 1];
            if (!t.inside) {
                if (c00.outcode & c01.outcode & c11.outcode) continue;
                if (c00.outcode | c01.outcode | c11.outcode)
                    for (PolyVertex* c : {&c00, &c01, &c10, &c11}) clip_map_vertex_to_window(*c);
            }
            fill_map_cell_by_height(c00.screen_x, c00.screen_y, c11.screen_x, c11.screen_y, float(c00.z), float(c01.z),
                                    float(c10.z), float(c11.z));
        }
    }
}

void clip_map_vertex_to_window(PolyVertex& v) {
    const PlotWindow& p = current_plot;
    const int32_t code = v.outcode;
    // Beyond both sides at once is no place on the window: left as it is.
    if (code == 0 || (code & (PLOT_LEFT | PLOT_RIGHT)) == (PLOT_LEFT | PLOT_RIGHT)) return;
    if (code & PLOT_LEFT) v.x = p.world_x0;
    if (code & PLOT_RIGHT) v.x = p.world_x1;
    if (code & PLOT_BELOW) v.y = p.world_y0;
    if (code & PLOT_ABOVE) v.y = p.world_y1;
    v.outcode = 0;
    v.screen_x = plot_screen_x(v.x);
    v.screen_y = plot_screen_y(v.y);
    int32_t world_x, world_y;
    plan_to_world(v.x, v.y, world_x, world_y);
    v.z = get_ground_height(world_x, world_y) / FEET;
}

void fill_map_cell_by_height(int32_t x0, int32_t y0, int32_t x1, int32_t y1, float height_00, float height_01,
                             float height_10, float height_11) {
    const PlotWindow& p = current_plot;
    const int32_t base = map_background_colour;
    const int steps = base == MENU_HEIGHT_BASE ? MENU_HEIGHT_STEPS : OTHER_HEIGHT_STEPS;
    int32_t highest = terrain_map_max_height;
    // No highest post known, or one that leaves the scale no height: as for 6,000 ft.
    if (highest == 0 || highest == TOP_STEP_DEPTH) highest = UNSCALED_MAX_HEIGHT;
    const float k = 63.0f / float(highest - TOP_STEP_DEPTH);
    const float s00 = height_00 * k, s01 = height_01 * k, s10 = height_10 * k, s11 = height_11 * k;

    // The cell's sides on the screen: world x and world y steps through the turn and the scales.
    const double xs = double(p.x_scale), ys = double(p.y_scale), c = double(p.cosine), s = double(p.sine);
    const double ua_x = c * xs, ua_y = s * ys, vb_x = -s * xs, vb_y = c * ys;
    double dx = double(x1) - x0, dy = double(y1) - y0;
    // A cell of no width along world x keeps one pixel's; one of no height shows nothing.
    if (cross(dx, dy, vb_x, vb_y) == 0) {
        if (std::abs(ua_x) >= std::abs(ua_y)) dx += ua_x > 0 ? 1 : -1;
        else dy += ua_y > 0 ? 1 : -1;
    }
    const double da = cross(dx, dy, vb_x, vb_y), db = cross(ua_x, ua_y, dx, dy);
    if (da == 0 || db == 0) return;
    // The corners of the parallelogram give the rows and columns to look at.
    const double ex = ua_x * da / cross(ua_x, ua_y, vb_x, vb_y), ey = ua_y * da / cross(ua_x, ua_y, vb_x, vb_y);
    const double xs4[4] = {double(x0), x0 + ex, x0 + dx - ex, x0 + dx};
    const double ys4[4] = {double(y0), y0 + ey, y0 + dy - ey, y0 + dy};
    // Held to the window first: a cell far larger than it must not overflow the pixel numbers.
    auto pixel = [](double v, int32_t low, int32_t high) { return int32_t(std::clamp(v, double(low), double(high))); };
    const int32_t left = pixel(std::floor(*std::min_element(xs4, xs4 + 4)) - 1, p.screen_x0, p.screen_x1);
    const int32_t right = pixel(std::ceil(*std::max_element(xs4, xs4 + 4)) + 1, p.screen_x0, p.screen_x1);
    const int32_t top = pixel(std::floor(*std::min_element(ys4, ys4 + 4)) - 1, p.screen_y0, p.screen_y1);
    const int32_t bottom = pixel(std::ceil(*std::max_element(ys4, ys4 + 4)) + 1, p.screen_y0, p.screen_y1);
    // Rows from the south-west corner's side of the screen, as the rows of a north-up cell run.
    for (int32_t y = bottom; y >= top; --y) {
        int column_parity = 0;
        bool drew = false;
        for (int32_t x = left; x <= right; ++x) {
            const double qx = double(x) - x0, qy = double(y) - y0;
            const double na = cross(qx, qy, vb_x, vb_y), nb = cross(ua_x, ua_y, qx, qy);
            if (!in_unit(na, da) || !in_unit(nb, db)) continue;
            const float fa = float(na / da), fb = float(nb / db);
            const float west = s00 + (s01 - s00) * fb, east = s10 + (s11 - s10) * fb;
            const float value = west + (east - west) * fa;
            const int t = std::abs(int(value));
            int step = t / 4;
            if (t % 4 > DITHER_THRESHOLDS[column_parity][dither_row_parity] && step >= 0 && step <= steps) ++step;
            draw_point(x, y, base + std::min(step, steps));
            column_parity ^= 1;
            drew = true;
        }
        if (drew) dither_row_parity ^= 1;
    }
}

void draw_map_terrain_lines() {
    TileVertices t;
    build_tile_vertices(t);
    each_map_triangle(t, [&](const TerrainPost&, int, PolyVertex* corners[3]) {
        MapContourCorner c[3];
        for (int k = 0; k < 3; ++k) c[k] = {corners[k]->x, corners[k]->y, corners[k]->z};
        if (t.inside) draw_triangle_contours(c);
        else draw_triangle_contours_clipped(c);
    });
}

void draw_triangle_contours(const MapContourCorner corners[3]) {
    walk_contours(corners, [](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        draw_plot_pixel_line(plot_screen_x(x0), plot_screen_y(y0), plot_screen_x(x1), plot_screen_y(y1), MAP_CONTOUR_COLOUR);
    });
}

void draw_triangle_contours_clipped(const MapContourCorner corners[3]) {
    walk_contours(corners, [](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        if (project_plot_line(x0, y0, plot_outcode(x0, y0), x1, y1, plot_outcode(x1, y1)))
            draw_plot_pixel_line(x0, y0, x1, y1, MAP_CONTOUR_COLOUR);
    });
}

}  // namespace vyr
