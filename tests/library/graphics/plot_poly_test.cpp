#include "library/graphics/plot_poly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <functional>
#include <numeric>
#include <vector>

#include "library/graphics/plot.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"

namespace vyr {
namespace {

// x, y and the shade of a vertex.
struct Corner {
    int32_t x, y, shade = 0;
    bool operator==(const Corner&) const = default;
};

using Corners = std::vector<Corner>;

// A world polygon as a linked list of its own records.
struct Polygon {
    std::vector<PolyVertex> vertices;
    explicit Polygon(const Corners& corners) : vertices(corners.size()) {
        for (size_t i = 0; i < corners.size(); ++i) {
            vertices[i] = {};
            vertices[i].x = corners[i].x;
            vertices[i].y = corners[i].y;
            vertices[i].shade = corners[i].shade;
            vertices[i].next = i + 1 < corners.size() ? &vertices[i + 1] : nullptr;
        }
    }
    const PolyVertex* first() const { return vertices.empty() ? nullptr : vertices.data(); }
};

// n corners on a circle of 5000 units about the window's centre.
Corners ring(int n) {
    Corners corners;
    for (int i = 0; i < n; ++i) {
        double a = 2 * std::numbers::pi * i / n;
        corners.push_back({int32_t(5000 * std::cos(a)), int32_t(5000 * std::sin(a))});
    }
    return corners;
}

Corners window_corners(const PolyVertex* v, bool with_shade = false) {
    Corners corners;
    for (; v; v = v->next) corners.push_back({v->x, v->y, with_shade ? v->shade : 0});
    return corners;
}

Corners screen_corners(const PolyVertex* v) {
    Corners corners;
    for (; v; v = v->next) corners.push_back({v->screen_x, v->screen_y});
    return corners;
}

// The 320 x 240 window of -10000 .. 10000 over a target of the same size.
class PlotPolyTest : public testing::Test {
protected:
    std::vector<uint8_t> pixels = std::vector<uint8_t>(320 * 240, 0);
    Screen* screen = nullptr;
    PlotWindow found{};

    void SetUp() override {
        screen = wrap_screen(320, 240, 0, pixels.data());
        select_screen(screen);
        save_plot(found);
        set_plot(0, 0, 320, 240, -10000, -10000, 10000, 10000);
    }
    void TearDown() override {
        restore_plot(found);
        destroy_screen(screen);
    }
    static PolyVertex* clip(const Corners& corners) { return clip_plot_poly(Polygon(corners).first()); }
};

TEST_F(PlotPolyTest, APolygonInsideIsOnlyConverted) {
    set_plot_offset(1000, 0);
    PolyVertex* result = clip({{-1000, 0}, {4000, 0}, {-1000, 5000}});
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(window_corners(result), (Corners{{0, 0}, {5000, 0}, {0, 5000}}));
    EXPECT_EQ(screen_corners(result), (Corners{{159, 120}, {239, 120}, {159, 60}}));
    EXPECT_EQ(result, &clip_pool[0]);
}

TEST_F(PlotPolyTest, PolygonsAreCutAgainstTheWindowEdges) {
    const struct {
        const char* what;
        Corners world, clipped;
    } cases[] = {
        {"beyond one edge", {{11000, 0}, {20000, 0}, {15000, 5000}}, {}},
        {"one corner beyond", {{0, 0}, {20000, 0}, {0, 5000}}, {{0, 0}, {10000, 0}, {10000, 2500}, {0, 5000}}},
        {"two corners beyond", {{0, 0}, {20000, 0}, {20000, 5000}}, {{10000, 2500}, {0, 0}, {10000, 0}}},
        {"cut at a window corner",
         {{5000, 5000}, {14000, 5000}, {5000, 14000}},
         {{5000, 10000}, {5000, 5000}, {10000, 5000}, {10000, 9000}, {9000, 10000}}},
        {"pentagon across the left edge",
         {{-15000, 0}, {-5000, -8000}, {5000, -4000}, {5000, 4000}, {-5000, 8000}},
         {{-10000, 4000}, {-10000, -4000}, {-5000, -8000}, {5000, -4000}, {5000, 4000}, {-5000, 8000}}},
        {"surrounding the window",
         {{-20000, -20000}, {20000, -20000}, {20000, 20000}, {-20000, 20000}},
         {{10000, 10000}, {-10000, 10000}, {-10000, -10000}, {10000, -10000}}},
        {"beyond two edges, missing the window", {{-20000, 5000}, {-5000, 20000}, {-20000, 20000}}, {}},
        {"across a corner region, missing the window", {{-12000, 9000}, {-9000, 12000}, {-14000, 14000}}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(window_corners(clip(c.world)), c.clipped) << c.what;
    EXPECT_EQ(screen_corners(clip(cases[5].world)), (Corners{{319, 0}, {0, 0}, {0, 239}, {319, 239}}));
}

TEST_F(PlotPolyTest, TheShadeIsInterpolatedAlongCutEdges) {
    Polygon polygon({{0, 0, 0}, {20000, 0, 0x40000000}, {0, 5000, 0x20000000}});
    EXPECT_EQ(window_corners(clip_plot_poly_shaded(polygon.first()), true),
              (Corners{{0, 0, 0}, {10000, 0, 0x20000000}, {10000, 2500, 0x30000000}, {0, 5000, 0x20000000}}));
}

TEST_F(PlotPolyTest, APolygonThatWouldOverflowThePoolIsDropped) {
    const struct {
        int vertices;
        bool one_beyond;
        int left;  // 0: dropped
    } cases[] = {
        {256, false, 256},
        {257, false, 0},  // more than a primitive takes
        {300, false, 0},
        {255, true, 256},
        {256, true, 0},
        {257, true, 0},  // the cuts would not fit in the pool
    };
    for (const auto& c : cases) {
        Corners corners = ring(c.vertices);
        if (c.one_beyond) corners[0] = {30000, 0};
        EXPECT_EQ(int(window_corners(clip(corners)).size()), c.left) << c.vertices;
    }
    // A list that never ends.
    Polygon polygon({{0, 0}, {100, 0}, {0, 100}});
    polygon.vertices[2].next = &polygon.vertices[0];
    EXPECT_EQ(clip_plot_poly(polygon.first()), nullptr);
    EXPECT_EQ(clip_plot_poly(nullptr), nullptr);
}

TEST_F(PlotPolyTest, UnrotatedPolygonsAreCutInThePoolFromTheGivenPosition) {
    set_plot_offset(5000, 5000);  // no part in window coordinates
    auto place = [](int at, Corners corners) {
        for (size_t i = 0; i < corners.size(); ++i) {
            PolyVertex& v = clip_pool[at + i];
            v.x = corners[i].x;
            v.y = corners[i].y;
            v.outcode = plot_outcode(v.x, v.y);
            v.next = i + 1 < corners.size() ? &v + 1 : nullptr;
        }
    };
    place(0, {{0, 0}, {20000, 0}, {0, 5000}});
    PolyVertex* result = clip_plot_poly_unrotated(PLOT_RIGHT, &clip_pool[0], &clip_pool[2], &clip_pool[3]);
    EXPECT_EQ(window_corners(result), (Corners{{0, 0}, {10000, 0}, {10000, 2500}, {0, 5000}}));
    EXPECT_EQ(screen_corners(result), (Corners{{159, 120}, {319, 120}, {319, 90}, {159, 60}}));
    EXPECT_EQ(result->next, &clip_pool[3]);

    // Only the last vertex ends the polygon, whatever follows it.
    place(0, {{0, 0}, {5000, 0}, {0, 5000}});
    clip_pool[2].next = &clip_pool[0];
    EXPECT_EQ(window_corners(clip_plot_poly_unrotated(0, &clip_pool[0], &clip_pool[2], &clip_pool[3])).size(), 3u);

    // The cuts need two records beyond the position.
    int end = CLIP_POOL_SIZE - 3;
    place(end, {{0, 0}, {20000, 0}, {0, 5000}});
    EXPECT_EQ(clip_plot_poly_unrotated(PLOT_RIGHT, clip_pool + end, clip_pool + end + 2, clip_pool + end + 3), nullptr);
    place(0, {{0, 0}, {20000, 0}, {0, 5000}});
    EXPECT_EQ(clip_plot_poly_unrotated(PLOT_RIGHT, clip_pool, clip_pool + 2, clip_pool + CLIP_POOL_SIZE - 1), nullptr);
}

TEST_F(PlotPolyTest, FillersDrawTheClippedPolygonWithTheirPrimitive) {
    std::vector<uint8_t> table(256, 0);
    table[0] = 9;
    // Surrounds the window: the clipped polygon is the screen rectangle.
    const int32_t level = 1 << 23;
    const Corners world{{-20000, -20000, level}, {20000, -20000, level}, {20000, 20000, level}, {-20000, 20000, level}};
    Polygon rectangle({{319, 0}, {0, 0}, {0, 239}, {319, 239}});
    for (PolyVertex& v : rectangle.vertices) {
        v.screen_x = v.x;
        v.screen_y = v.y;
        v.shade = level;
    }
    const PolyVertex* screen_rect = rectangle.first();
    const struct {
        std::function<void(const PolyVertex*)> plotted;
        std::function<void()> reference;
    } cases[] = {
        {[](const PolyVertex* p) { fill_plot_poly(p, 0x07070707); }, [&] { draw_poly_flat(screen_rect, 0x07070707); }},
        {[](const PolyVertex* p) { fill_plot_poly_overlay(p, 0x07070707); },
         [&] { draw_poly_flat_overlay(screen_rect, 0x07070707); }},
        {[](const PolyVertex* p) { fill_plot_poly_stipple(p, 7); }, [&] { draw_poly_stipple(screen_rect, 7); }},
        {[&](const PolyVertex* p) { fill_plot_poly_remap(p, table.data()); },
         [&] { draw_poly_remap(screen_rect, table.data()); }},
        {[](const PolyVertex* p) { fill_plot_poly_gouraud(p, 0x07070707); },
         [&] { draw_poly_gouraud(screen_rect, 0x07070707); }},
        {[](const PolyVertex* p) { fill_plot_poly_gouraud_flat(p, 0x07070707); },
         [&] { draw_poly_gouraud_overlay(screen_rect, 0x07070707); }},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Polygon polygon(world);
        cases[i].plotted(polygon.first());
        std::vector<uint8_t> plotted = pixels;
        std::fill(pixels.begin(), pixels.end(), 0);
        cases[i].reference();
        EXPECT_EQ(plotted, pixels) << i;
        if (i < 4) {
            EXPECT_NE(std::accumulate(plotted.begin(), plotted.end(), 0), 0) << i;
        }
        std::fill(pixels.begin(), pixels.end(), 0);
    }
    // Nothing is drawn for a polygon beyond the window.
    fill_plot_poly(Polygon({{11000, 0}, {20000, 0}, {15000, 5000}}).first(), 0x07070707);
    EXPECT_EQ(std::accumulate(pixels.begin(), pixels.end(), 0), 0);
}

}  // namespace
}  // namespace vyr
