#include <cmath>
#include <limits>
#include <random>

#include "tests/platform/accel/accel_fixture.h"

namespace vyr::platform::accel {
namespace {

class DrawTest : public AccelTest {
protected:
    // Each drawn pixel gets half of white over black, a second coverage three quarters: the
    // buffer then tells how often every pixel was drawn.
    void SetUp() override {
        AccelTest::SetUp();
        set_dither_mode(DitherMode::DISABLED);
        set_constant_colour(0x00000080);
        set_alpha_combine({CombineFunction::LOCAL, CombineFactor::ZERO, CombineSource::CONSTANT,
                           CombineSource::CONSTANT});
        set_alpha_blend(BlendFactor::SRC_ALPHA, BlendFactor::ONE_MINUS_SRC_ALPHA);
    }
    static int coverage(int x, int y) {
        uint16_t p = pixel(x, y);
        return p == 0 ? 0 : p == ONCE ? 1 : 2;
    }
    static inline const uint16_t ONCE = rgb565(128, 128, 128);
};

// A rectangle with corners off the pixel grid, cut into triangles round jittered inner points:
// every pixel whose centre lies inside is drawn exactly once, no other pixel at all.
TEST_F(DrawTest, SharedEdgesDrawEveryPixelOnce) {
    const float x0 = 10.3125f, y0 = 20.5f, x1 = 200.75f, y1 = 150.0625f;
    constexpr int N = 9;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> jitter(-0.2f, 0.2f);  // keeps every cell convex
    Vertex grid[N + 1][N + 1];
    for (int j = 0; j <= N; ++j) {
        for (int i = 0; i <= N; ++i) {
            float fx = float(i) / N, fy = float(j) / N;
            bool inner = i > 0 && i < N && j > 0 && j < N;
            float x = x0 + (x1 - x0) * (fx + (inner ? jitter(random) / N : 0.0f));
            float y = y0 + (y1 - y0) * (fy + (inner ? jitter(random) / N : 0.0f));
            grid[j][i] = at(std::round(x * 16) / 16, std::round(y * 16) / 16);
        }
    }
    for (int j = 0; j < N; ++j) {
        for (int i = 0; i < N; ++i) {
            // A fan round a centre point and two triangles, alternately.
            if ((i + j) % 2 == 0) {
                draw_triangle(grid[j][i], grid[j][i + 1], grid[j + 1][i + 1]);
                draw_triangle(grid[j][i], grid[j + 1][i + 1], grid[j + 1][i]);
            } else {
                Vertex c = at((grid[j][i].x + grid[j + 1][i + 1].x) / 2 - SNAP_BIAS + 0.0625f,
                              (grid[j][i].y + grid[j + 1][i + 1].y) / 2 - SNAP_BIAS);
                Vertex fan[6] = {c, grid[j][i], grid[j][i + 1], grid[j + 1][i + 1],
                                 grid[j + 1][i], grid[j][i]};
                draw_polygon(fan, 6);
            }
        }
    }
    int wrong = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 260; ++x) {
            bool inside = x + 0.5f >= x0 && x + 0.5f < x1 && y + 0.5f >= y0 && y + 0.5f < y1;
            wrong += coverage(x, y) != (inside ? 1 : 0);
        }
    }
    EXPECT_EQ(wrong, 0);
}

// Which pixels a primitive covers: centres on left and top edges are inside, on right and
// bottom edges outside.
TEST_F(DrawTest, PixelCentresDecideCoverage) {
    struct Case {
        const char* name;
        float x0, y0, x1, y1;
        int px0, py0, px1, py1;  // expected pixels, end exclusive
    };
    const Case cases[] = {
        {"on the grid", 1, 1, 3, 3, 1, 1, 3, 3},
        {"centres on the edges", 0.5f, 0.5f, 2.5f, 2.5f, 0, 0, 2, 2},
        {"just past the centres", 0.5625f, 0.5625f, 2.5625f, 2.5625f, 1, 1, 3, 3},
        {"thinner than a pixel", 4.25f, 4.0f, 4.75f, 9.0f, 4, 4, 5, 9},
        {"between two centres", 6.0625f, 6.0f, 6.4375f, 8.0f, 0, 0, 0, 0},
        {"off the screen's corner", -5, -5, 2, 2, 0, 0, 2, 2},
        {"past the screen's far corner", 637, 477, 700, 500, 637, 477, 640, 480},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clear_buffer(0);
        draw_rectangle(c.x0, c.y0, c.x1, c.y1);
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x) {
                int sx = c.x0 > 600 ? 628 + x : x, sy = c.y0 > 400 ? 468 + y : y;
                bool inside = sx >= c.px0 && sx < c.px1 && sy >= c.py0 && sy < c.py1;
                ASSERT_EQ(coverage(sx, sy), inside ? 1 : 0) << sx << "," << sy;
            }
        }
    }
}

TEST_F(DrawTest, WindingDoesNotMatterAndAScreenSizedTriangleFillsTheScreen) {
    draw_triangle(at(-2000, -2000), at(-2000, 5000), at(5000, -2000));
    for (int y = 0; y < SCREEN_HEIGHT; y += 7)
        for (int x = 0; x < SCREEN_WIDTH; x += 7)
            ASSERT_EQ(coverage(x, y), 1) << x << "," << y;
}

// Far left of the screen the snap bias no longer rounds to 1/16 pixel: vertices in a line there
// may not be in a line on the grid the edges use. What such a triangle draws has its colour.
TEST_F(DrawTest, VerticesOffTheSnapGridDrawWithTheirColour) {
    auto vertex = [](double x, double y) {
        return Vertex{float(x + SNAP_BIAS), float(y + SNAP_BIAS), 1, 255, 255, 255, 255, 0, 0};
    };
    const double t = 300000.03125;
    draw_triangle(vertex(320.5 - 2 * t, 240.5 - t), vertex(2320.5, 1240.5), vertex(120.5, 140.5));
    int drawn = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            ASSERT_NE(coverage(x, y), 2) << x << "," << y << ": " << pixel(x, y);
            drawn += coverage(x, y);
        }
    EXPECT_GT(drawn, 0);
}

TEST_F(DrawTest, BadVertexListsDrawNothing) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Vertex many[MAX_POLYGON_VERTICES + 1];
    for (int i = 0; i <= MAX_POLYGON_VERTICES; ++i) {
        float angle = float(i) * 6.2831853f / (MAX_POLYGON_VERTICES + 1);
        many[i] = at(100 + 50 * std::cos(angle), 100 + 50 * std::sin(angle));
    }
    draw_polygon(many, MAX_POLYGON_VERTICES + 1);
    draw_polygon(many, 2);
    draw_polygon(many, -1);
    draw_polygon(nullptr, 3);

    struct Case {
        const char* name;
        Vertex bad;
    };
    Vertex base = at(50, 60);
    auto with = [&](auto change) {
        Vertex v = base;
        change(v);
        return v;
    };
    const Case cases[] = {
        {"NaN x", with([&](Vertex& v) { v.x = nan; })},
        {"infinite y", with([&](Vertex& v) { v.y = -inf; })},
        {"NaN colour", with([&](Vertex& v) { v.g = nan; })},
        {"infinite s", with([&](Vertex& v) { v.sow = inf; })},
        {"zero oow", with([&](Vertex& v) { v.oow = 0; })},
        {"negative oow", with([&](Vertex& v) { v.oow = -1; })},
        {"far away", with([&](Vertex& v) { v.x = 1e30f; })},
        {"huge colour", with([&](Vertex& v) { v.r = 1e30f; })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Vertex v[3] = {at(10, 10), c.bad, at(100, 10)};
        draw_polygon(v, 3);
        draw_line(v[0], c.bad);
        Vertex point = c.bad;
        point.x -= SNAP_BIAS;
        point.y -= SNAP_BIAS;
        draw_point(point);
    }
    EXPECT_EQ(back_buffer(), std::vector<uint16_t>(SCREEN_WIDTH * SCREEN_HEIGHT, 0));
    draw_polygon(many, MAX_POLYGON_VERTICES);
    EXPECT_EQ(coverage(100, 100), 1);
}

TEST_F(DrawTest, NothingIsDrawnWithoutAnOpenDisplay) {
    shut_down();
    draw_rectangle(0, 0, 10, 10);
    draw_point({1, 1, 1, 255, 255, 255, 255, 0, 0});
    clear_buffer(0xFFFFFFFF);
    EXPECT_EQ(draw_buffer(), nullptr);
}

TEST_F(DrawTest, PointsAndLinesTakePlainPositions) {
    draw_point({3.7f, 4.2f, 1, 255, 255, 255, 255, 0, 0});
    EXPECT_EQ(coverage(3, 4), 1);
    draw_point({-0.5f, 4, 1, 255, 255, 255, 255, 0, 0});
    draw_point({640, 4, 1, 255, 255, 255, 255, 0, 0});
    EXPECT_EQ(coverage(639, 4), 0);

    // A closed outline: every pixel of it once, corners included.
    const float corners[4][2] = {{20.5f, 30.5f}, {60.5f, 30.5f}, {60.5f, 50.5f}, {20.5f, 50.5f}};
    for (int i = 0; i < 4; ++i) {
        const float* a = corners[i];
        const float* b = corners[(i + 1) % 4];
        draw_line({a[0], a[1], 1, 255, 255, 255, 255, 0, 0},
                  {b[0], b[1], 1, 255, 255, 255, 255, 0, 0});
    }
    int drawn = 0;
    for (int y = 28; y < 53; ++y) {
        for (int x = 18; x < 63; ++x) {
            bool edge = ((y == 30 || y == 50) && x >= 20 && x <= 60) ||
                        ((x == 20 || x == 60) && y >= 30 && y <= 50);
            ASSERT_EQ(coverage(x, y), edge ? 1 : 0) << x << "," << y;
            drawn += edge;
        }
    }
    EXPECT_EQ(drawn, 120);
}

TEST_F(DrawTest, LinesLeavingTheScreenAreCut) {
    draw_line({-100.5f, 10.5f, 1, 255, 255, 255, 255, 0, 0},
              {1000.5f, 10.5f, 1, 255, 255, 255, 255, 0, 0});
    for (int x = 0; x < SCREEN_WIDTH; ++x)
        ASSERT_EQ(coverage(x, 10), 1) << x;
}

}  // namespace
}  // namespace vyr::platform::accel
