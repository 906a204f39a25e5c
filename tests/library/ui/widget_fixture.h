// Widgets under test: events go where the object manager would send them, and draw tests get a
// 640 x 480 target cleared to a background colour.
#pragma once

#include <gtest/gtest.h>

#include "library/graphics/screen.h"
#include "library/ui/route.h"
#include "tests/library/ui/ui_fixture.h"

namespace vyr {

inline constexpr int BACKGROUND = 3;

class Widgets : public UiTree {
protected:
    void SetUp() override {
        UiTree::SetUp();
        target = create_screen(640, 480);
        select_screen(target);
        clear_screen(BACKGROUND * 0x01010101u);
        set_clip_rect(0, 0, 639, 479);
    }

    void TearDown() override {
        UiTree::TearDown();
        select_screen(nullptr);
        destroy_screen(target);
    }

    // To the object holding the pointer, else to the one under the point.
    static void deliver(int type, int value, int x, int y, int time = 0) {
        Event event{type, value, x, y, time};
        send_ui_event(ui_captured ? ui_captured : find_ui_object_at(x, y), event);
    }

    static int pixel(int x, int y) { return row_table[y][x]; }

    Screen* target = nullptr;
};

}  // namespace vyr
