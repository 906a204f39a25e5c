#include "library/3dvisual/viewport.h"

#include <gtest/gtest.h>

#include <vector>

#include "library/graphics/screen.h"
#include "tests/library/3dvisual/eye_points.h"

namespace vyr {
namespace {

class Viewport : public testing::Test {
protected:
    void SetUp() override { set_viewport(0, 0, 640, 480); }
};

TEST_F(Viewport, FullScreenHasTheAspectFactorsAndClipRectangle) {
    EXPECT_EQ(projection_scale.aspect, 178956970);
    EXPECT_EQ(projection_scale.inverse_aspect, 100663295);
    EXPECT_EQ(viewport_rect.right, 639);
    EXPECT_EQ(viewport_rect.bottom, 479);
    EXPECT_EQ(viewport_rect.half_width, 320);
    EXPECT_EQ(viewport_rect.half_height, 240);
    EXPECT_EQ(clip_x1, 639);
    EXPECT_EQ(clip_y1, 479);
    EXPECT_EQ(stretch_up(300), 400);
}

TEST_F(Viewport, OutcodesFollowTheFixedTable) {
    // One point for each of the 18 classes, in table order.
    const struct {
        int32_t x, depth, up, code;
    } cases[] = {
        {0, 100, 0, 0},        {0, 100, 101, 8},       {0, 100, -101, 4},     {101, 100, 0, 2},
        {101, 100, 101, 10},   {101, 100, -101, 6},    {-101, 100, 0, 1},     {-101, 100, 101, 9},
        {-101, 100, -101, 5},  {0, 0, 0, 0x8F},        {0, -100, 101, 0x8B},  {0, -100, -101, 0x87},
        {101, -100, 0, 0x8E},  {101, -100, 101, 0x8A}, {101, -100, -101, 0x86}, {-101, -100, 0, 0x8D},
        {-101, -100, 101, 0x89}, {-101, -100, -101, 0x85},
    };
    for (const auto& c : cases)
        EXPECT_EQ(get_outcode(c.x, c.depth, c.up), c.code) << c.x << ", " << c.depth << ", " << c.up;
    EXPECT_EQ(get_outcode(100, 100, -100), 0) << "on the planes is inside";
}

TEST_F(Viewport, ClassifyPointsStretchesTheUpValues) {
    const int32_t x[] = {0, 0}, depth[] = {100, 100};
    const int32_t inside_only_unstretched[] = {0, 90};  // 90 x 4/3 = 120 lies above
    const int32_t inside[] = {0, 70};
    const int32_t above[] = {90, 200};
    EXPECT_EQ(classify_points(x, depth, inside, 2), 2);
    EXPECT_EQ(classify_points(x, depth, inside_only_unstretched, 2), 1);
    EXPECT_EQ(classify_points(x, depth, above, 2), 0);
}

TEST_F(Viewport, ProjectionMapsTheVolumeOntoTheViewport) {
    PolyVertex centre = eye_point(0, 100, 0);
    project_vertex(centre);
    EXPECT_EQ(centre.screen_x, 320);
    EXPECT_EQ(centre.screen_y, 239);
    PolyVertex corner = eye_point(100, 100, 100);  // top right edge of the volume
    project_vertex(corner);
    EXPECT_EQ(corner.screen_x, 639);
    EXPECT_EQ(corner.screen_y, 0);
    set_viewport(100, 50, 200, 100);
    PolyVertex low_left = eye_point(-100, 100, -100);
    project_vertex(low_left);
    EXPECT_EQ(low_left.screen_x, 100);
    EXPECT_EQ(low_left.screen_y, 149);
}

// Screen points linked into a polygon.
std::vector<PolyVertex> screen_polygon(const std::vector<std::pair<int, int>>& points) {
    std::vector<PolyVertex> v(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        v[i] = {};
        v[i].screen_x = points[i].first;
        v[i].screen_y = points[i].second;
    }
    for (size_t i = 0; i + 1 < v.size(); ++i) v[i].next = &v[i + 1];
    return v;
}

TEST_F(Viewport, FacingTests) {
    // Screen y grows downwards: clockwise on screen faces the eye.
    auto front = screen_polygon({{0, 0}, {0x10000, 0}, {0x10000, 0x10000}});
    auto back = screen_polygon({{0, 0}, {0x10000, 0x10000}, {0x10000, 0}});
    EXPECT_GT(get_facing(front.data()), 0);
    EXPECT_LT(get_facing(back.data()), 0);
    EXPECT_EQ(get_facing(front.data() + 1), 0) << "two vertices";

    auto repeated = screen_polygon({{0, 0}, {0, 0}, {0x10000, 0}, {0x10000, 0x10000}});
    EXPECT_EQ(get_facing(repeated.data()), 0);
    EXPECT_EQ(get_facing_robust(repeated.data()), get_facing(front.data()));

    // A bow tie: the first two corners disagree, the third decides.
    auto bow = screen_polygon({{0, 0}, {0x20000, 0}, {0, 0x10000}, {0x20000, 0x10000}, {0x10000, 0x30000}});
    auto third = screen_polygon({{0, 0x10000}, {0x20000, 0x10000}, {0x10000, 0x30000}});
    EXPECT_EQ(get_facing_robust(bow.data()), get_facing(third.data()));

    auto point = screen_polygon({{5, 5}, {5, 5}, {5, 5}, {5, 5}});
    EXPECT_EQ(get_facing_robust(point.data()), 0);
}

}  // namespace
}  // namespace vyr
