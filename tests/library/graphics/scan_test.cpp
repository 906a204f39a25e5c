#include "library/graphics/scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "library/graphics/screen.h"
#include "library/graphics/spans.h"

namespace vyr {
namespace {

struct Extent {
    int left, right;
    bool operator==(const Extent&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Extent& run) { return out << run.left << ".." << run.right; }

// The runs from span_first to span_last, as the tables hold them.
std::vector<Extent> span_runs() {
    std::vector<Extent> runs;
    for (int y = span_first; y <= span_last; ++y) runs.push_back({span_left_x[y], span_right_x[y]});
    return runs;
}

// Links the vertices into a polygon list.
PolyVertex* link(std::vector<PolyVertex>& vertices) {
    for (size_t i = 0; i + 1 < vertices.size(); ++i) vertices[i].next = &vertices[i + 1];
    vertices.back().next = nullptr;
    return vertices.data();
}

PolyVertex at(int x, int y, int u = 0, int shade = 0) {
    PolyVertex p{};
    p.screen_x = x;
    p.screen_y = y;
    p.u = u;
    p.v = u / 2;
    p.shade = shade;
    return p;
}

struct PolygonCase {
    const char* name;
    std::vector<PolyVertex> vertices;
    int first, last;
    std::vector<Extent> runs;  // left and right x of each scanline, as stored
};

TEST(ScanEdgesTest, PolygonsGiveTheirRunsByWinding) {
    const PolygonCase cases[] = {
        {"one vertex", {at(3, 2)}, 2, 2, {{3, 3}}},
        {"horizontal pair", {at(5, 1), at(2, 1)}, 1, 1, {{2, 5}}},
        // Down the right arrays, back up the left ones.
        {"sloping pair", {at(0, 0), at(2, 4)}, 0, 4, {{0, 0}, {0, 1}, {1, 1}, {1, 2}, {2, 2}}},
        {"clockwise triangle", {at(0, 0), at(4, 0), at(0, 4)}, 0, 4, {{0, 4}, {0, 3}, {0, 2}, {0, 1}, {0, 0}}},
        // Inverted runs on scanlines 1 to 4; scanline 0 keeps its single pixel.
        {"anticlockwise triangle", {at(0, 0), at(0, 4), at(4, 0)}, 0, 4, {{0, 0}, {3, 0}, {2, 0}, {1, 0}, {0, 0}}},
        // x-major edges moving away from their side record each run's last pixel, and the end.
        {"x-major away", {at(0, 0), at(10, 2)}, 0, 2, {{0, 2}, {3, 7}, {8, 10}}},
        // Moving towards their side they record each run's first pixel.
        {"x-major towards", {at(10, 0), at(0, 2)}, 0, 2, {{8, 10}, {3, 7}, {0, 2}}},
        {"first vertex at the bottom", {at(2, 3), at(4, 1), at(6, 3)}, 1, 3, {{4, 4}, {3, 5}, {2, 6}}},
        {"coordinates at the limits", {at(INT32_MIN, 5), at(INT32_MAX, 5)}, 5, 5, {{INT32_MIN, INT32_MAX}}},
    };
    for (const PolygonCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<PolyVertex> vertices = c.vertices;
        scan_edges_flat(link(vertices));
        EXPECT_EQ(span_first, c.first);
        EXPECT_EQ(span_last, c.last);
        EXPECT_EQ(span_runs(), c.runs);
    }
}

TEST(ScanEdgesTest, CarriedValuesStepByTruncatedDivision) {
    // y-major: the last scanline takes start + 3 steps, short of the end vertex's 0x20000.
    std::vector<PolyVertex> down = {at(0, 0, 0, 0), at(0, 3, 0x20000, 0x30000000)};
    edges_tex_shade(link(down));
    EXPECT_EQ(std::vector<int>(span_right_u, span_right_u + 4), (std::vector<int>{0, 0xAAAA, 0x15554, 0x1FFFE}));
    EXPECT_EQ(std::vector<int>(span_right_v, span_right_v + 4), (std::vector<int>{0, 0x5555, 0xAAAA, 0xFFFF}));
    EXPECT_EQ(std::vector<int>(span_right_shade, span_right_shade + 4),
              (std::vector<int>{0, 0x10000000, 0x20000000, 0x30000000}));

    // x-major edges step 0x70000 / 10 = 0xB333 per pixel. Away from their side: each run's last
    // pixel (2, 7), then the end vertex's own value.
    std::vector<PolyVertex> away = {at(0, 0, 0), at(10, 2, 0x70000)};
    edges_tex(link(away));
    EXPECT_EQ(std::vector<int>(span_right_u, span_right_u + 3), (std::vector<int>{2 * 0xB333, 7 * 0xB333, 0x70000}));
    // Towards their side: each run's first pixel, stepped from the start vertex (pixels 0, 3, 8).
    std::vector<PolyVertex> towards = {at(10, 0, 0), at(0, 2, 0x70000)};
    edges_tex(link(towards));
    EXPECT_EQ(std::vector<int>(span_right_u, span_right_u + 3), (std::vector<int>{0, 3 * 0xB333, 8 * 0xB333}));
    EXPECT_EQ(std::vector<int>(span_left_u, span_left_u + 3),
              (std::vector<int>{0x70000 - 8 * 0xB333, 0x70000 - 3 * 0xB333, 0x70000}));
}

TEST(ScanEdgesTest, EachConverterWritesOnlyItsOwnValues) {
    struct Converter {
        const char* name;
        void (*convert)(const PolyVertex*);
        bool uv, shade;
    };
    const Converter converters[] = {{"flat", scan_edges_flat, false, false},
                                    {"shade", edges_shade, false, true},
                                    {"tex", edges_tex, true, false},
                                    {"tex shade", edges_tex_shade, true, true}};
    for (const Converter& c : converters) {
        SCOPED_TRACE(c.name);
        for (int y = 0; y < 3; ++y)
            span_left_u[y] = span_right_u[y] = span_left_v[y] = span_right_v[y] = span_left_shade[y] =
                span_right_shade[y] = -1;
        std::vector<PolyVertex> triangle = {at(0, 0, 0x10000, 0x800000), at(2, 0, 0x10000, 0x800000),
                                            at(0, 2, 0x10000, 0x800000)};
        c.convert(link(triangle));
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(span_left_u[y] == 0x10000 && span_right_u[y] == 0x10000, c.uv) << y;
            EXPECT_EQ(span_left_v[y] == 0x8000 && span_right_v[y] == 0x8000, c.uv) << y;
            EXPECT_EQ(span_left_shade[y] == 0x800000 && span_right_shade[y] == 0x800000, c.shade) << y;
        }
    }
}

TEST(ScanEdgesTest, ScanlinesOutsideTheTablesAreNotWritten) {
    // Neighbours of the tables in memory would be overwritten; the sanitizers and the edge rows
    // show that only scanlines 0 to 999 are touched.
    span_left_x[0] = span_right_x[MAX_SPAN_ROWS - 1] = 12345;
    std::vector<PolyVertex> tall = {at(-100000, -5000, 1, 1), at(100000, 1500, 5, 5), at(0, 6000, 9, 9)};
    edges_tex_shade(link(tall));
    EXPECT_EQ(span_first, -5000);
    EXPECT_EQ(span_last, 6000);
    EXPECT_NE(span_left_x[0], 12345);
    EXPECT_NE(span_right_x[MAX_SPAN_ROWS - 1], 12345);
}

TEST(ScanEdgesTest, LoopingListIsClosedAtThePolygonLimit) {
    std::vector<PolyVertex> loop = {at(0, 0), at(4, 2), at(0, 4)};
    link(loop)->next->next->next = &loop[1];  // never returns to the first vertex
    scan_edges_flat(loop.data());
    EXPECT_EQ(span_first, 0);
    EXPECT_EQ(span_last, 4);
}

struct CircleCase {
    const char* name;
    int clip_x0, clip_y0, clip_x1, clip_y1;
    int cx, cy, r;
    int result;
    int first;
    std::vector<Extent> runs;
};

TEST(ScanCircleTest, RunsAndResultByPositionAgainstTheClipRectangle) {
    const CircleCase cases[] = {
        {"radius 1 inside", 0, 0, 99, 99, 10, 10, 1, 1, 9, {{10, 10}, {9, 11}, {10, 10}}},
        {"radius 2 inside", 0, 0, 99, 99, 10, 10, 2, 1, 8, {{9, 11}, {8, 12}, {8, 12}, {8, 12}, {9, 11}}},
        {"radius 0", 0, 0, 99, 99, 10, 10, 0, 0, 0, {}},
        {"negative radius", 0, 0, 99, 99, 10, 10, -3, 0, 0, {}},
        // The bounding square reaches the corner pixel, the disc does not.
        {"square touches corner", 0, 0, 99, 99, -4, -4, 4, 0, 0, {}},
        {"disc touches corner", 0, 0, 99, 99, -3, -3, 4, 1, 0, {{0, 0}}},
        {"wholly right", 0, 0, 99, 99, 110, 10, 5, 0, 0, {}},
        {"cut on all sides", 9, 9, 11, 11, 10, 10, 2, 1, 9, {{9, 11}, {9, 11}, {9, 11}}},
        {"top cut", 0, 10, 99, 99, 10, 10, 2, 1, 10, {{8, 12}, {8, 12}, {9, 11}}},
    };
    for (const CircleCase& c : cases) {
        SCOPED_TRACE(c.name);
        set_clip_rect(c.clip_x0, c.clip_y0, c.clip_x1, c.clip_y1);
        span_first = 77;
        span_last = 76;
        EXPECT_EQ(scan_circle(c.cx, c.cy, c.r), c.result);
        if (c.result == 0) {
            EXPECT_EQ(span_first, 77);  // nothing written
            continue;
        }
        EXPECT_EQ(span_first, c.first);
        EXPECT_EQ(span_runs(), c.runs);
    }
}

TEST(ScanCircleTest, CutRunsAreTheWholeRunsClampedToTheClipRectangle) {
    struct Centre {
        int cx, cy;
    };
    // Centres left of, right of, above, below and inside a 20 x 20 clip rectangle at (50, 50).
    const Centre centres[] = {{45, 60}, {75, 60}, {60, 44}, {60, 74}, {60, 60}, {47, 47}, {73, 73}};
    for (const Centre& centre : centres) {
        SCOPED_TRACE(testing::Message() << centre.cx << "," << centre.cy);
        set_clip_rect(0, 0, 999, 999);
        ASSERT_EQ(scan_circle(centre.cx, centre.cy, 9), 1);
        std::vector<Extent> whole = span_runs();
        const int whole_first = span_first;
        set_clip_rect(50, 50, 69, 69);
        ASSERT_EQ(scan_circle(centre.cx, centre.cy, 9), 1);
        std::vector<Extent> expected;
        int expected_first = -1;
        for (size_t i = 0; i < whole.size(); ++i) {
            const int y = whole_first + int(i);
            if (y < 50 || y > 69 || whole[i].right < 50 || whole[i].left > 69) continue;
            if (expected.empty()) expected_first = y;
            expected.push_back({std::max(whole[i].left, 50), std::min(whole[i].right, 69)});
        }
        EXPECT_EQ(span_first, expected_first);
        EXPECT_EQ(span_runs(), expected);
        if (centre.cx < 50) {
            for (const Extent& run : span_runs()) EXPECT_EQ(run.left, 50);
        }
    }
}

TEST(ScanCircleTest, ClipRectangleBeyondTheTablesWritesOnlyTheTables) {
    set_clip_rect(-5000, -5000, 5000, 5000);
    ASSERT_EQ(scan_circle(0, 998, 30), 1);
    EXPECT_EQ(span_first, 968);
    EXPECT_EQ(span_last, MAX_SPAN_ROWS - 1);
    EXPECT_EQ(scan_circle(0, 1200, 30), 0);
    EXPECT_EQ(scan_circle(INT32_MAX, INT32_MIN, 100), 0);
}

}  // namespace
}  // namespace vyr
