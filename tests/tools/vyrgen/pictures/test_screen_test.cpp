#include "tools/vyrgen/pictures/test_screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "library/graphics/loadgfx.h"
#include "library/system/memory.h"
#include "tests/support/scratch.h"

namespace vyr::vyrgen {
namespace {

// The game's picture reader sees the screen at the display's size and the pressed look at exactly
// the button's, and the button sits where the pressed look goes.
TEST(TestScreen, BothPicturesDecodeAtTheirSizesWithTheButtonInPlace) {
    ScratchDirectory root;
    std::vector<PictureFile> files = test_screen_pictures();
    ASSERT_EQ(files.size(), 2u);
    const std::pair<int, int> sizes[] = {{640, 480}, {TEST_BUTTON_WIDTH, TEST_BUTTON_HEIGHT}};
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].name);
        std::filesystem::path path = root / "picture.lbm";
        write_bytes(path, encode_pbm(files[i].picture, files[i].compressed));
        uint8_t* pixels = nullptr;
        int width = 0, height = 0;
        ASSERT_EQ(load_picture(path.string().c_str(), &pixels, &width, &height), 1);
        EXPECT_EQ(std::make_pair(width, height), sizes[i]);
        EXPECT_TRUE(std::equal(pixels, pixels + size_t(width) * height, files[i].picture.image.pixels.begin()));
        free_memory(pixels, "test", 0);
    }
    const Image& screen = files[0].picture.image;
    const Image& pressed = files[1].picture.image;
    EXPECT_NE(screen.at(TEST_BUTTON_X + 2, TEST_BUTTON_Y + 2), screen.at(TEST_BUTTON_X - 1, TEST_BUTTON_Y - 1));
    EXPECT_NE(screen.at(TEST_BUTTON_X + 2, TEST_BUTTON_Y + 2), pressed.at(2, 2));
}

}  // namespace
}  // namespace vyr::vyrgen
