#include "library/system/mouse.h"

#include <gtest/gtest.h>

#include <vector>

#include "library/graphics/screen.h"
#include "library/system/event.h"

namespace vyr {
namespace {

class Mouse : public testing::Test {
protected:
    void SetUp() override {
        flush_events();
        set_clip_rect(0, 0, 639, 479);
        reset_pointer_limits();
    }

    static Event reported_move(int x, int y) {
        flush_events();
        on_mouse_move(0, x, y);
        Event e{};
        EXPECT_TRUE(get_event(e));
        EXPECT_EQ(e.type, EV_MOUSE_MOVE);
        return e;
    }
};

TEST_F(Mouse, UnconfinedReportsTheSystemPosition) {
    Event e = reported_move(700, -5);
    EXPECT_EQ(e.x, 700);
    EXPECT_EQ(e.y, -5);
    on_mouse_button(1, 3, 4);
    ASSERT_TRUE(get_event(e));
    EXPECT_EQ(e.type, EV_MOUSE_CLICK);
    EXPECT_EQ(e.value, 1);
    EXPECT_EQ(pointer_x.load(), 700);  // a click does not move the drawn pointer
}

TEST_F(Mouse, ConfinedPointerStopsAtTheEdgeAndTurnsBackAtOnce) {
    on_mouse_move(0, 150, 150);
    set_pointer_limits(100, 100, 200, 200);
    set_pointer_position(150, 150);
    EXPECT_EQ(reported_move(150, 150).x, 150);
    EXPECT_EQ(reported_move(230, 150).x, 200);
    EXPECT_EQ(reported_move(220, 150).x, 190);
    Event e = reported_move(220, 40);
    EXPECT_EQ(e.y, 100);
    EXPECT_EQ(reported_move(220, 50).y, 110);
    EXPECT_EQ(pointer_x.load(), 220);  // the image stays at the raw position
}

TEST_F(Mouse, ShowCountGoesBelowZeroAndBack) {
    show_pointer();
    show_pointer();
    hide_pointer();
    EXPECT_EQ(pointer_drawn, 1);
    hide_pointer();
    EXPECT_EQ(pointer_drawn, 0);
    hide_pointer();
    show_pointer();
    EXPECT_EQ(pointer_drawn, 0);
    show_pointer();
    EXPECT_EQ(pointer_drawn, 1);
    hide_pointer();
}

TEST(PointerShapes, CutKeepsTheFirstTwoColoursFound) {
    // A 4 x 2 area: 0 and 1 are transparent, 7 and 9 become 253 and 254, 5 comes third.
    const uint8_t picture[2 * 6] = {0, 7, 1, 9, 99, 99, 5, 9, 7, 0, 99, 99};
    uint8_t palette[768] = {};
    palette[7 * 3] = 70, palette[9 * 3 + 1] = 90, palette[5 * 3 + 2] = 50;
    PointerShape* shape = create_pointer_shape(4, 2, 0, 0);
    cut_pointer_shape(shape, picture, 0, 0, 6, palette);
    EXPECT_EQ(std::vector<uint8_t>(shape->pixels, shape->pixels + 8),
              (std::vector<uint8_t>{0, 253, 0, 254, 0, 254, 253, 0}));
    EXPECT_EQ(std::vector<uint8_t>(shape->colours, shape->colours + 6), (std::vector<uint8_t>{70, 0, 0, 0, 90, 0}));
}

}  // namespace
}  // namespace vyr
