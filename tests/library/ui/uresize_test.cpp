#include "library/ui/uresize.h"

#include <gtest/gtest.h>

#include "library/ui/repaint.h"
#include "library/ui/usprite.h"
#include "tests/library/ui/widget_fixture.h"

namespace vyr {
namespace {

using ResizeBox = Widgets;
using SpriteObject = Widgets;

TEST_F(ResizeBox, SitsInTheWindowsCornerAndFollowsItsSize) {
    UiObject* window = make("window", root, 100, 100, 200, 150, UI_WINDOW);
    set_ui_attrs(window, ATTR_RESIZE_BOX, 0);
    UiObject* found = window->first_child;
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->name, "ResizeBox");
    EXPECT_EQ(found->x0, 285);
    EXPECT_EQ(found->y1, 250);
    set_ui_attrs(window, ATTR_SIZE, 120, 90, 0);
    EXPECT_EQ(found->x0, 205);
    EXPECT_EQ(found->y0, 175);
}

TEST_F(ResizeBox, ADragSizesTheWindowButNeverBelow64) {
    int kept_move = continuous_move;
    continuous_move = 1;
    UiObject* window = make("window", root, 100, 100, 200, 150, UI_WINDOW);
    UiObject* box = add_resize_box(window);
    deliver(EV_MOUSE_CLICK, 1, 290, 240);  // 10 pixels in from the box's far corner
    EXPECT_EQ(ui_captured, box);
    EXPECT_EQ(box->state, 1);
    deliver(EV_MOUSE_MOVE, 1, 140, 300);
    EXPECT_EQ(window->x1 - window->x0, 64);
    EXPECT_EQ(window->y1 - window->y0, 210);
    deliver(EV_MOUSE_MOVE, 1, 150, 120);  // the narrowed grab holds: 50 + 24
    EXPECT_EQ(window->x1 - window->x0, 74);
    EXPECT_EQ(window->y1 - window->y0, 64);
    event_log.clear();
    deliver(EV_MOUSE_CLICK, 0, 150, 120);
    EXPECT_EQ(events_of(window, EV_SIZE), "17:0 ");  // sent once more on release, at the same size
    EXPECT_EQ(ui_captured, nullptr);
    EXPECT_EQ(box->state, 0);
    EXPECT_EQ(box->x1, window->x1);
    continuous_move = kept_move;
}

TEST_F(ResizeBox, MissingPicturesLeaveTheBoxTransparent) {
    load_resize_box_pictures();  // the test's data set has no uidata
    ASSERT_NE(resize_released_sprite.pixels, nullptr);
    EXPECT_EQ(resize_released_sprite.width, 16);
    UiObject* box = add_resize_box(make("window", root, 100, 100, 200, 150, UI_WINDOW));
    draw_resize_box(box);
    for (int y = box->y0; y <= box->y1; ++y)
        for (int x = box->x0; x <= box->x1; ++x) EXPECT_EQ(pixel(x, y), BACKGROUND);
}

TEST_F(SpriteObject, AReleaseOverItSelects) {
    const uint8_t pixels[4] = {7, 0, 0, 7};
    const Sprite sprite{2, 2, 0, 0, pixels};
    UiObject* object = create_ui_object(UI_SPRITE, root, "sprite", ATTR_POS, 10, 10, ATTR_SIZE, 1, 1, ATTR_SPRITE,
                                        &sprite, ATTR_NOTIFY, log_event, 0);
    Event away{EV_MOUSE_CLICK, 0, 300, 300, 0};
    send_ui_event(object, away);
    deliver(EV_MOUSE_CLICK, 0, 11, 11, 5);
    ASSERT_EQ(events_of(object, EV_SELECT), "13:0 ");
    EXPECT_EQ(event_log[event_log.size() - 2].event.x, 11);
    draw_sprite_object(object);
    EXPECT_EQ(pixel(10, 10), 7);
    EXPECT_EQ(pixel(11, 10), BACKGROUND);
}

}  // namespace
}  // namespace vyr
