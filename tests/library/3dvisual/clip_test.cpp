#include "library/3dvisual/clip.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "library/3dvisual/viewport.h"
#include "library/graphics/plot_poly.h"
#include "tests/library/3dvisual/eye_points.h"

namespace vyr {
namespace {

// An eye-space corner (up unstretched) with what the families carry.
struct Corner {
    int32_t x, depth, up;
    int32_t shade = 0, u = 0, v = 0;
};

std::vector<PolyVertex> link(const std::vector<Corner>& corners, bool clip_form) {
    std::vector<PolyVertex> v(corners.size());
    for (size_t i = 0; i < corners.size(); ++i) {
        const Corner& c = corners[i];
        v[i] = {};
        v[i].x = c.x;
        v[i].y = c.depth;
        v[i].z = clip_form ? stretch_up(c.up) : c.up;
        v[i].shade = c.shade;
        v[i].u = c.u;
        v[i].v = c.v;
        v[i].outcode = get_outcode(v[i].x, v[i].y, v[i].z);
        v[i].next = i + 1 < v.size() ? &v[i + 1] : nullptr;
    }
    return v;
}

struct Clipper {
    const char* name;
    bool projects;
    // Shade, texture coordinates: what the cuts carry.
    bool shade, texture;
    std::function<PolyVertex*(std::vector<PolyVertex>&)> clip;
};

PolyVertex* in_place(PolyVertex* (*clip)(int32_t, PolyVertex*, PolyVertex*, PolyVertex*), std::vector<PolyVertex>& v) {
    int32_t any = 0;
    for (const PolyVertex& p : v) any |= p.outcode;
    return clip(any, v.data(), &v.back(), clip_pool);
}

// The copying clippers take the raw list; the others take it in clip form.
const Clipper CLIPPERS[] = {
    {"clip_project_shaded", true, true, false, [](auto& v) { return clip_project_shaded(v.data()); }},
    {"clip_project_textured", true, false, true, [](auto& v) { return clip_project_textured(v.data()); }},
    {"clip_project_plain", true, false, false, [](auto& v) { return clip_project_plain(v.data()); }},
    {"plain_poly_build_clip", false, false, false, [](auto& v) { return plain_poly_build_clip(v.data()); }},
    {"clip_polygon_shaded", true, true, false, [](auto& v) { return in_place(clip_polygon_shaded, v); }},
    {"clip_polygon_textured", true, false, true, [](auto& v) { return in_place(clip_polygon_textured, v); }},
    {"poly_clip_project", true, true, true, [](auto& v) { return in_place(poly_clip_project, v); }},
    {"plain_poly_clip_project", true, false, false, [](auto& v) { return in_place(plain_poly_clip_project, v); }},
};

bool copies(const Clipper& c) { return std::string(c.name).starts_with("clip_project") || !c.projects; }

std::vector<PolyVertex> collect(const PolyVertex* first) {
    std::vector<PolyVertex> out;
    for (const PolyVertex* v = first; v && out.size() < 1000; v = v->next) out.push_back(*v);
    return out;
}

class PolygonClipping : public testing::Test {
protected:
    void SetUp() override { set_viewport(0, 0, 640, 480); }

    // Each clipper's result for the corners.
    void run(const std::vector<Corner>& corners, const std::function<void(const Clipper&, const std::vector<PolyVertex>&)>& check) {
        for (const Clipper& c : CLIPPERS) {
            SCOPED_TRACE(c.name);
            auto input = link(corners, !copies(c));
            check(c, collect(c.clip(input)));
        }
    }
};

void expect_inside_and_projected(const Clipper& c, const std::vector<PolyVertex>& out) {
    for (const PolyVertex& v : out) {
        EXPECT_EQ(get_outcode(v.x, v.y, v.z), 0) << v.x << ", " << v.y << ", " << v.z;
        if (!c.projects) continue;
        EXPECT_GE(v.screen_x, 0);
        EXPECT_LE(v.screen_x, 639);
        EXPECT_GE(v.screen_y, 0);
        EXPECT_LE(v.screen_y, 479);
    }
}

TEST_F(PolygonClipping, APolygonWhollyInsideIsOnlyProjected) {
    run({{-10, 100, -10}, {10, 100, -10}, {10, 100, 10}, {-10, 100, 10}}, [](const Clipper& c, const auto& out) {
        ASSERT_EQ(out.size(), 4u);
        if (c.projects) {
            EXPECT_EQ(out[0].screen_x, 288);
            EXPECT_EQ(out[2].screen_x, 352);
        }
    });
}

TEST_F(PolygonClipping, TheNearPlaneCutsAtDepthOneCarryingShadeAndTexture) {
    // The far corner's edges to the corner behind the eye meet depth 1 half way.
    const int32_t s = 1 << 24;
    run({{0, 201, 0, 2 * s, 0x20000, 0x40000}, {0, -199, 0, 0, 0, 0}, {2, 201, 0, 2 * s, 0x20000, 0x40000}},
        [&](const Clipper& c, const auto& out) {
            ASSERT_EQ(out.size(), 4u);
            expect_inside_and_projected(c, out);
            int at_one = 0;
            for (const PolyVertex& v : out) {
                if (v.y != 1) continue;
                ++at_one;
                if (c.shade) {
                    EXPECT_EQ(v.shade, s);
                }
                if (c.texture) {
                    EXPECT_EQ(v.u, 0x10000);
                    EXPECT_EQ(v.v, 0x20000);
                }
            }
            EXPECT_EQ(at_one, 2);
        });
}

TEST_F(PolygonClipping, ATriangleOverTheCentreKeepsThePartInView) {
    // Each corner lies beyond a different side plane; the centre of the view is inside.
    run({{-1000, 100, -300}, {1000, 100, -300}, {0, 100, 1000}}, [](const Clipper& c, const auto& out) {
        ASSERT_GE(out.size(), 3u);
        expect_inside_and_projected(c, out);
    });
}

TEST_F(PolygonClipping, AnEdgeOnAPlaneIsNotCut) {
    run({{100, 100, 0}, {100, 200, 0}, {0, 150, 0}}, [](const Clipper& c, const auto& out) {
        ASSERT_EQ(out.size(), 3u);
        if (c.projects) {
            EXPECT_EQ(out[0].screen_x, 639);
        }
    });
}

TEST_F(PolygonClipping, WhollyOutsideOnePlaneGivesNothing) {
    run({{-300, 100, 0}, {-200, 100, 0}, {-250, 150, 0}}, [](const Clipper&, const auto& out) { EXPECT_TRUE(out.empty()); });
}

TEST_F(PolygonClipping, APolygonThatWouldOverflowTheSharedPoolIsDropped) {
    // A fan crossing the left plane: copied, it fills the pool, so the cut has no room.
    std::vector<Corner> fan;
    for (int i = 0; i < CLIP_POOL_SIZE - 1; ++i) fan.push_back({-150 + i, 100, i % 2 ? 10 : -10});
    run(fan, [](const Clipper& c, const auto& out) {
        if (copies(c)) {
            EXPECT_TRUE(out.empty());
        } else {
            EXPECT_FALSE(out.empty()) << "its vertices are its own, only the cut's come from the pool";
        }
    });
    // In place, starting at the pool's last record leaves room for one cut of the two needed.
    auto input = link({{-150, 100, 0}, {0, 100, 10}, {0, 100, -10}}, true);
    EXPECT_EQ(plain_poly_clip_project(OUTCODE_LEFT, input.data(), &input.back(), clip_pool + CLIP_POOL_SIZE - 1), nullptr);
    input = link({{-150, 100, 0}, {0, 100, 10}, {0, 100, -10}}, true);
    EXPECT_NE(plain_poly_clip_project(OUTCODE_LEFT, input.data(), &input.back(), clip_pool + CLIP_POOL_SIZE - 2), nullptr);
}

TEST_F(PolygonClipping, MoreVerticesThanAPrimitiveTakesAreDropped) {
    std::vector<Corner> ring;
    for (int i = 0; i < MAX_POLY_VERTICES + 1; ++i) ring.push_back({i % 2, 100 + i, 0});
    auto input = link(ring, true);
    EXPECT_EQ(plain_poly_clip_project(0, input.data(), &input.back(), clip_pool), nullptr);
    input.pop_back();
    input.back().next = nullptr;
    EXPECT_NE(plain_poly_clip_project(0, input.data(), &input.back(), clip_pool), nullptr);
}

TEST(LineClipping, LinesAreCutToTheVolumeAndProjected) {
    set_viewport(0, 0, 640, 480);
    PolyVertex a = eye_point(-1000, 100, 0), b = eye_point(1000, 100, 0);
    ASSERT_EQ(clip_project_line(a, b), 1);
    EXPECT_EQ(a.x, -100);
    EXPECT_EQ(a.screen_x, 0);
    EXPECT_EQ(b.x, 100);
    EXPECT_EQ(b.screen_x, 639);

    PolyVertex behind = eye_point(0, -100, 0), ahead = eye_point(0, 100, 0);
    ASSERT_EQ(clip_project_line(behind, ahead), 1);
    EXPECT_EQ(behind.y, 1) << "cut at depth 1 before any side plane";
    EXPECT_EQ(behind.screen_x, 320);

    PolyVertex left1 = eye_point(-300, 100, 0), left2 = eye_point(-200, 50, 0);
    EXPECT_EQ(clip_project_line(left1, left2), 0);
    PolyVertex past1 = eye_point(-300, 100, 0), past2 = eye_point(0, -100, 0);  // misses the volume on its way behind
    EXPECT_EQ(clip_project_line(past1, past2), 0);
}

TEST(LineClipping, ScreenLinesReplaceOnlyTheEndsOutside) {
    set_viewport(0, 0, 640, 480);
    PolyVertex inside = eye_point(0, 100, 0), outside = eye_point(0, 100, 1000);
    inside.outcode = get_outcode(inside.x, inside.y, inside.z);
    outside.outcode = get_outcode(outside.x, outside.y, outside.z);
    project_vertex(inside);
    PolyVertex* a = &inside;
    PolyVertex* b = &outside;
    ASSERT_EQ(clip_screen_line(&a, &b), 1);
    EXPECT_EQ(a, &inside);
    EXPECT_NE(b, &outside);
    EXPECT_EQ(outside.z, 1000) << "the caller's end is left as it was";
    EXPECT_EQ(b->z, 100);
    EXPECT_EQ(b->screen_y, 0);
}

}  // namespace
}  // namespace vyr
