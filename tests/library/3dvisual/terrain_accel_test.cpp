#include "library/3dvisual/terrain_accel.h"

#include <gtest/gtest.h>

#include <cstring>

#include "library/3dvisual/terrain_frame.h"

namespace vyr {
namespace {

using R = TerrainRenderer;

// A node of cell (10, 20)'s first or second triangle.
BufferNode node_for(int texture, bool diagonal, bool first, int detail) {
    TerrainPost& post = terrain_posts[10][20];
    post = {};
    post.classes = diagonal ? TERRAIN_DIAGONAL : 0;
    post.texture[first ? 0 : 1] = uint8_t(texture);
    BufferNode node{};
    node.type = NODE_TERRAIN;
    node.payload[TERRAIN_FLAGS] = first ? TERRAIN_NODE_FIRST : 0;
    node.payload[TERRAIN_POST] = 10 * TERRAIN_POSTS + 20;
    node.payload[TERRAIN_DETAIL] = detail;
    return node;
}

TEST(TerrainAccel, TheRendererFollowsTheInstalledAndTheNodesDetail) {
    const struct {
        int installed, detail, texture;
        R renderer;
    } cases[] = {
        {0, 3, 5, R::FLAT},          {1, 1, 5, R::GOURAUD},   {1, 0, 5, R::FLAT},         {1, -1, 5, R::FLAT},
        {2, 2, 5, R::TEXTURED},      {2, 1, 5, R::GOURAUD},   {2, 3, 5, R::FLAT},         {2, 0, 5, R::FLAT},
        {3, 3, 5, R::TEXTURED_LIT},  {3, 2, 5, R::TEXTURED_LIT}, {3, 1, 5, R::GOURAUD},   {3, 0, 5, R::FLAT},
        {4, 3, 5, R::NONE},          {-1, 3, 5, R::NONE},
        // No texture, or a special one the accelerator does not hold: lit per vertex instead.
        {2, 2, 127, R::GOURAUD},     {3, 3, 127, R::GOURAUD}, {3, 2, 100, R::GOURAUD},    {2, 2, 97, R::GOURAUD},
        {3, 3, 96, R::TEXTURED_LIT}, {3, 3, 0x80 | 96, R::TEXTURED_LIT}, {1, 1, 127, R::GOURAUD}, {0, 3, 127, R::FLAT},
    };
    for (const auto& c : cases) {
        for (const bool first : {true, false}) {
            const BufferNode node = node_for(c.texture, false, first, c.detail);
            EXPECT_EQ(choose_terrain_renderer_accel(c.installed, &node), c.renderer)
                << c.installed << " " << c.detail << " " << c.texture << " " << first;
        }
    }
}

TEST(TerrainAccel, TextureNumbersBySetOfTheDiagonal) {
    const struct {
        int texture;
        bool diagonal, first;
        int number;
    } cases[] = {{5, false, true, 102}, {5, true, true, 5}, {96, false, false, 193}, {0x80 | 7, true, false, 7}};
    for (const auto& c : cases) {
        const BufferNode node = node_for(c.texture, c.diagonal, c.first, 2);
        EXPECT_EQ(get_terrain_accel_texture(&node), c.number) << c.texture;
    }
}

}  // namespace
}  // namespace vyr
