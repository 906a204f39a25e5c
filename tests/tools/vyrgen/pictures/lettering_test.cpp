#include "tools/vyrgen/pictures/lettering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tools/vyrgen/menus/menu_pictures.h"
#include "tools/vyrgen/pictures/backdrops.h"

namespace vyr::vyrgen {
namespace {

constexpr int CLEAR = 2;  // pixels no glyph may come within of its box's edge

// Whether the rooms the two texts' glyphs may take (their boxes less the clear edge) meet; the
// small buttons' plates overlap at their edges.
bool overlap(const LetteredBox& a, const LetteredBox& b) {
    return a.x0 + CLEAR <= b.x1 - CLEAR && b.x0 + CLEAR <= a.x1 - CLEAR && a.y0 + CLEAR <= b.y1 - CLEAR &&
           b.y0 + CLEAR <= a.y1 - CLEAR;
}

// Every menu picture's lettering sits inside its plate's face or its room on the board, clear of
// the edges, and no two texts share room.
TEST(Lettering, EveryGlyphOfTheMenuPicturesKeepsClearOfItsBoxsEdges) {
    std::vector<PictureFile> files = menu_pictures();
    for (PictureFile& file : backdrop_pictures()) files.push_back(std::move(file));
    int boxes = 0;
    for (const PictureFile& file : files) {
        const Image& image = file.picture.image;
        for (size_t i = 0; i < image.lettered.size(); ++i) {
            const LetteredBox& box = image.lettered[i];
            SCOPED_TRACE(file.name + " box at " + std::to_string(box.x0) + "," + std::to_string(box.y0));
            ++boxes;
            ASSERT_TRUE(box.x0 >= 0 && box.y0 >= 0 && box.x1 < image.width && box.y1 < image.height);
            for (size_t j = 0; j < i; ++j) EXPECT_FALSE(overlap(box, image.lettered[j])) << "shares room with another";
            int ink = 0, near_edge = 0;
            for (int y = box.y0; y <= box.y1; ++y)
                for (int x = box.x0; x <= box.x1; ++x) {
                    const uint8_t c = image.at(x, y);
                    if (c != box.ink && c != box.outline) continue;
                    ++ink;
                    const int edge = std::min({x - box.x0, box.x1 - x, y - box.y0, box.y1 - y});
                    if (edge < CLEAR) ++near_edge;
                }
            EXPECT_GT(ink, 0) << "the text is drawn";
            EXPECT_EQ(near_edge, 0);
        }
    }
    EXPECT_GT(boxes, 100);
}

}  // namespace
}  // namespace vyr::vyrgen
