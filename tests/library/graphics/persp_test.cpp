#include "library/graphics/persp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "library/graphics/palette.h"
#include "library/graphics/scan.h"
#include "library/graphics/screen.h"

namespace vyr {
namespace {

PolyVertex vertex(int x, int y, int depth, int u, int v = 0, int shade = 0) {
    PolyVertex p{};
    p.screen_x = x;
    p.screen_y = y;
    p.y = depth;
    p.u = u;
    p.v = v;
    p.shade = shade;
    return p;
}

PolyVertex* link(std::vector<PolyVertex>& vertices) {
    for (size_t i = 0; i < vertices.size(); ++i) vertices[i].next = i + 1 < vertices.size() ? &vertices[i + 1] : nullptr;
    return vertices.data();
}

// u at screen fraction t of an edge, interpolated in 1/depth.
double perspective_u(double t, double u0, double depth0, double u1, double depth1) {
    return ((1 - t) * u0 / depth0 + t * u1 / depth1) / ((1 - t) / depth0 + t / depth1);
}

TEST(ScanEdgesPerspTest, EdgesRecordPerspectiveCorrectValues) {
    // Down the right tables from depth 1 to depth 4, back up the left ones.
    std::vector<PolyVertex> edge = {vertex(0, 0, 1, 0, 0, 0x10000000), vertex(3, 4, 4, 0x400000, 0x40000, 0x7F800000)};
    scan_edges_persp(link(edge));
    ASSERT_EQ(span_first, 0);
    ASSERT_EQ(span_last, 4);
    for (int y = 0; y <= 4; ++y) {
        SCOPED_TRACE(y);
        const double t = y / 4.0;
        EXPECT_NEAR(persp_right_w[y], (1 - t) + t / 4, 1e-12);
        EXPECT_NEAR(persp_right_u[y], perspective_u(t, 0, 1, 0x400000, 4), 1e-6);
        EXPECT_NEAR(persp_right_v[y], perspective_u(t, 0, 1, 0x40000, 4), 1e-6);
        EXPECT_NEAR(persp_right_shade[y], perspective_u(t, 0x10000000, 1, 0x7F800000, 4), 1e-3);
        EXPECT_NEAR(persp_left_u[y], persp_right_u[y], 1e-6);
    }
    EXPECT_EQ(std::vector<int>(span_right_x, span_right_x + 5), (std::vector<int>{0, 1, 2, 2, 3}));
}

// The plain converters' pixels on every edge, so that perspective polygons sharing an edge meet
// without a gap (recording always the last pixel of a run left cracks along x-major edges
// between the near ground's triangles).
TEST(ScanEdgesPerspTest, XMajorEdgesRecordThePlainConvertersPixels) {
    const std::vector<std::vector<PolyVertex>> polygons = {
        {vertex(10, 0, 2, 0), vertex(0, 2, 2, 0x70000)},
        {vertex(0, 0, 2, 0), vertex(10, 2, 2, 0x70000)},
        {vertex(0, 0, 2, 0), vertex(37, 3, 3, 0x70000), vertex(5, 7, 1, 0)},
        {vertex(40, 0, 2, 0), vertex(3, 5, 3, 0x70000), vertex(1, 1, 1, 0)},
    };
    for (std::vector<PolyVertex> p : polygons) {
        scan_edges_flat(link(p));
        const std::vector<int> left(span_left_x + span_first, span_left_x + span_last + 1);
        const std::vector<int> right(span_right_x + span_first, span_right_x + span_last + 1);
        scan_edges_persp(link(p));
        EXPECT_EQ(std::vector<int>(span_left_x + span_first, span_left_x + span_last + 1), left);
        EXPECT_EQ(std::vector<int>(span_right_x + span_first, span_right_x + span_last + 1), right);
    }
    std::vector<PolyVertex> towards = {vertex(10, 0, 2, 0), vertex(0, 2, 2, 0x70000)};
    scan_edges_persp(link(towards));
    EXPECT_DOUBLE_EQ(persp_right_w[2], 0.5);
    EXPECT_NEAR(persp_right_u[0], 0, 1e-6);
}

TEST(ScanEdgesPerspTest, HorizontalEdgesWidenOnlyX) {
    std::vector<PolyVertex> pair = {vertex(2, 0, 1, 0), vertex(6, 0, 2, 0x50000)};
    scan_edges_persp(link(pair));
    EXPECT_EQ(span_left_x[0], 2);
    EXPECT_EQ(span_right_x[0], 6);
    EXPECT_DOUBLE_EQ(persp_right_w[0], 1);  // still the first vertex's
    EXPECT_DOUBLE_EQ(persp_right_u[0], 0);
}

struct PerspSpan {
    const char* name;
    int left, right;
    double left_w, right_w, left_u, right_u;
};

// The texel column of each pixel by the block rule, pixel by pixel in doubles: block ends at
// (u + k du) / (1 + k dt), rounded, 16 pixels stepped by (end - start) >> 4, the rest divided.
std::vector<int> reference_columns(PerspSpan s) {
    if (s.right < s.left) {
        std::swap(s.left, s.right);
        std::swap(s.left_w, s.right_w);
        std::swap(s.left_u, s.right_u);
    }
    auto column = [](int64_t u) { return int((uint32_t(u) >> 16) & 63); };
    const int64_t width = s.right - s.left + 1;
    if (width == 1) return {column(int64_t(std::trunc(s.left_u)))};
    const int64_t right_u = int64_t(std::nearbyint(s.right_u));
    std::vector<int> columns;
    if (width <= 16) {
        const int64_t start = int64_t(std::nearbyint(s.left_u));
        for (int64_t i = 0; i < width; ++i) columns.push_back(column(start + i * ((right_u - start) / width)));
        return columns;
    }
    const int64_t blocks = width / 16, rest = width % 16;
    const double q = 16.0 / double(width), dt = (s.right_w / s.left_w - 1) * q;
    const double du = (s.right_u * s.right_w / s.left_w - s.left_u) * q;
    auto block_end = [&](int64_t k) { return int64_t(std::nearbyint((s.left_u + double(k) * du) / (1 + double(k) * dt))); };
    for (int64_t i = 0; i < width; ++i) {
        const int64_t block = i / 16;
        const int64_t start = block_end(block);
        const int64_t step = block < blocks ? (block_end(block + 1) - start) >> 4 : (right_u - start) / rest;
        columns.push_back(column(start + (i - block * 16) * step));
    }
    return columns;
}

class DrawSpansPerspTest : public testing::Test {
protected:
    static constexpr int WIDTH = 48;
    std::vector<uint8_t> pixels = std::vector<uint8_t>(WIDTH * 2, 0xEE);
    std::vector<uint8_t> texels = std::vector<uint8_t>(64 * 64);
    TextureRecord texture{2, 64, texels.data()};
    std::vector<uint8_t> saved_shades{shade_table, shade_table + sizeof shade_table};
    Screen* screen = nullptr;

    // Texel (column, row) is its column; a shade level adds level / 64.
    void SetUp() override {
        for (int i = 0; i < 64 * 64; ++i) texels[i] = uint8_t(i % 64);
        for (int c = 0; c < 256; ++c)
            for (int level = 0; level < 256; ++level) shade_table[c * 256 + level] = uint8_t(c + level / 64);
        screen = wrap_screen(WIDTH, 2, 0, pixels.data());
        select_screen(screen);
    }
    void TearDown() override {
        destroy_screen(screen);
        std::memcpy(shade_table, saved_shades.data(), saved_shades.size());
    }

    static void set_span(int y, const PerspSpan& s, double v = 0, double shade = 0) {
        span_first = span_last = y;
        span_left_x[y] = s.left;
        span_right_x[y] = s.right;
        persp_left_w[y] = s.left_w;
        persp_right_w[y] = s.right_w;
        persp_left_u[y] = s.left_u;
        persp_right_u[y] = s.right_u;
        persp_left_v[y] = persp_right_v[y] = v;
        persp_left_shade[y] = persp_right_shade[y] = shade;
    }

    std::vector<int> drawn(const PerspSpan& s) const {
        return std::vector<int>(pixels.begin() + std::min(s.left, s.right), pixels.begin() + std::max(s.left, s.right) + 1);
    }
};

TEST_F(DrawSpansPerspTest, SpansMatchTheDoublePrecisionReference) {
    const double U = 65536;
    const PerspSpan spans[] = {
        {"16 pixels, affine", 2, 17, 1, 0.25, 0, 60 * U},
        {"17 pixels: a block and one more", 2, 18, 1, 0.25, 0, 60 * U},
        {"17 pixels towards the eye", 2, 18, 0.2, 1, 3 * U, 50 * U},
        {"40 pixels, equal depth", 3, 42, 0.5, 0.5, 0, 39 * U},
        {"45 pixels, deep", 1, 45, 1, 0.1, 63 * U, 0},
        {"wound the other way", 18, 2, 0.25, 1, 60 * U, 0},
        {"one pixel, truncated", 5, 5, 1, 1, 0x1FFFF + 0.75, 9 * U},
        {"past the texture's edge", 0, 20, 1, 0.5, 60 * U, 100 * U},
        // A block's step is shifted, not divided: -17 >> 4 is -2, so column 15 comes at pixel 4.
        {"a small step down", 0, 31, 1, 1, 0x100007, 0x100007 - 34},
    };
    for (const PerspSpan& s : spans) {
        SCOPED_TRACE(s.name);
        std::fill(pixels.begin(), pixels.end(), 0xEE);
        set_span(0, s);
        draw_spans_persp(&texture);
        EXPECT_EQ(drawn(s), reference_columns(s));
    }
}

TEST_F(DrawSpansPerspTest, BlockEndsAreTheTruePerspectiveValues) {
    // Pixel 16 of a 17-pixel span starts the remaining pixel at the block's end, 16 / 17 of the way.
    const PerspSpan s{"", 0, 16, 1, 0.25, 0, 63 * 65536.0};
    set_span(0, s);
    draw_spans_persp(&texture);
    const double true_u = perspective_u(16.0 / 17, 0, 1, 63 * 65536.0, 4);
    EXPECT_EQ(pixels[16], int(std::nearbyint(true_u)) >> 16);
    // With equal depths the block ends lie on the straight line: pixel 32 of 40 is 32 / 40 of the way.
    set_span(0, {"", 0, 39, 0.5, 0.5, 0, 40 * 65536.0});
    draw_spans_persp(&texture);
    EXPECT_EQ(pixels[16], 16);
    EXPECT_EQ(pixels[32], 32);
}

TEST_F(DrawSpansPerspTest, ShadeAndRowsComeFromTheirOwnValues) {
    // Texel (column, row) = row here; rows wrap at 64.
    for (int i = 0; i < 64 * 64; ++i) texels[i] = uint8_t(i / 64);
    set_span(1, {"", 0, 2, 1, 1, 0, 0}, 65 * 65536.0, 128 << 23);
    draw_spans_persp(&texture);
    EXPECT_EQ(std::vector<int>(pixels.begin() + WIDTH, pixels.begin() + WIDTH + 4), (std::vector<int>{3, 3, 3, 0xEE}));
}

TEST_F(DrawSpansPerspTest, PolygonsOffTheTargetDrawOnlyTheirPartOnIt) {
    // A quad receding from depth 1 at the bottom to 6 at the top, drawn across a 48 x 2 target
    // and again 10 rows and 20 columns further on a target that holds all of it.
    const std::vector<PolyVertex> quad = {vertex(-30, -8, 6, 0, 0, 0x7F800000), vertex(60, -8, 6, 63 << 16, 0, 0x7F800000),
                                          vertex(70, 3, 1, 63 << 16, 63 << 16, 0), vertex(-40, 3, 1, 0, 63 << 16, 0)};
    std::vector<uint8_t> large(200 * 20, 0xEE);
    Screen* large_screen = wrap_screen(200, 20, 0, large.data());
    select_screen(large_screen);
    std::vector<PolyVertex> moved = quad;
    for (PolyVertex& p : moved) {
        p.screen_x += 60;
        p.screen_y += 10;
    }
    scan_edges_persp(link(moved));
    draw_spans_persp(&texture);
    destroy_screen(large_screen);

    std::vector<uint8_t> guarded(256 + WIDTH * 2 + 256, 0xEE);
    Screen* small = wrap_screen(WIDTH, 2, 0, guarded.data() + 256);
    select_screen(small);
    std::vector<PolyVertex> original = quad;
    scan_edges_persp(link(original));
    draw_spans_persp(&texture);
    destroy_screen(small);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < WIDTH; ++x) ASSERT_EQ(guarded[256 + y * WIDTH + x], large[(y + 10) * 200 + x + 60]) << x << "," << y;
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(guarded[i], 0xEE);
        ASSERT_EQ(guarded[guarded.size() - 1 - i], 0xEE);
    }

    // Wholly off the target, and beyond the tables.
    std::vector<PolyVertex> far_off = {vertex(-900, -2000, 3, 0), vertex(900, 1500, 1, 5 << 16), vertex(-50, 1800, 2, 0)};
    select_screen(screen);
    std::fill(pixels.begin(), pixels.end(), 0xEE);
    scan_edges_persp(link(far_off));
    draw_spans_persp(&texture);
    EXPECT_NE(pixels, std::vector<uint8_t>(WIDTH * 2, 0xEE));  // it crosses the target
}

}  // namespace
}  // namespace vyr
