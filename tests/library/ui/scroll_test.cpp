#include "library/ui/scroll.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "library/system/mouse.h"
#include "tests/library/ui/widget_fixture.h"
#include "tests/platform/window/stub_window.h"

namespace vyr {
namespace {

// Where the program puts the system pointer.
class PointerRecorder final : public platform::StubWindow {
public:
    std::vector<std::pair<int, int>> placed;

    void set_cursor_position(int x, int y) override { placed.emplace_back(x, y); }
};

class ScrollBar : public Widgets {
protected:
    // A vertical bar at (100, 50), 104 high: a track of 100 rows from y 52.
    UiObject* make_bar(UiType type, int minimum, int maximum, int value, int page) {
        int width = type == UI_SCROLL_V ? 12 : 104, height = type == UI_SCROLL_V ? 104 : 12;
        return create_ui_object(type, root, "bar", ATTR_POS, 100, 50, ATTR_SIZE, width, height, ATTR_RANGE, minimum,
                                maximum, ATTR_SCROLL, value, page, ATTR_NOTIFY, log_event, 0);
    }

    // "type:direction:value" of the bar's events.
    static std::string reports(const UiObject* bar) {
        std::string text;
        for (const LoggedEvent& logged : event_log)
            if (logged.object == bar && (logged.event.type == EV_SELECT || logged.event.type == EV_SCROLL))
                text += std::to_string(logged.event.type) + ":" + std::to_string(logged.event.value) + ":" +
                        std::to_string(logged.event.x) + " ";
        return text;
    }
};

TEST_F(ScrollBar, TheThumbShowsValueAndPageOverTheTrack) {
    struct Case {
        int minimum, maximum, value, page;
        int top, bottom;  // from the bar's top
    };
    const Case cases[] = {
        {0, 99, 0, 10, 2, 14},      // 10 rows long, drawn 12
        {0, 99, 50, 10, 52, 64},    //
        {0, 99, 99, 10, 90, 102},   // resting on the track's end
        {0, 99, 0, 50, 2, 52},      //
        {0, 99, 20, 500, 22, 102},  // a page longer than the range stops at the end
        {0, -1, 0, 3, 2, 102},      // an empty text's range: the thumb fills the track
        {5, 5, 5, 1, 2, 102},       // a one-value range
    };
    for (const Case& c : cases) {
        for (UiType type : {UI_SCROLL_V, UI_SCROLL_H}) {
            UiObject* bar = make_bar(type, c.minimum, c.maximum, c.value, c.page);
            int origin = type == UI_SCROLL_V ? bar->y0 : bar->x0;
            ScrollThumb thumb = get_scroll_thumb(bar);
            EXPECT_EQ(thumb.top - origin, c.top) << c.maximum << " " << c.value << " " << c.page;
            EXPECT_EQ(thumb.bottom - origin, c.bottom) << c.maximum << " " << c.value << " " << c.page;
            destroy_ui_object(bar);
        }
    }
}

TEST_F(ScrollBar, APressBesideTheThumbPagesWhenReleasedOverTheBar) {
    struct Case {
        int value, press_y;  // from the bar's top
        bool release_on_bar;
        int after;
        const char* reports;
    };
    const Case cases[] = {
        {40, 10, true, 30, "13:-1:30 "},  // above the thumb
        {5, 3, true, 0, "13:-1:0 "},      // stops at the minimum
        {40, 90, true, 50, "13:1:50 "},   // below it
        {60, 90, true, 70, "13:1:70 "},   //
        {40, 10, false, 40, ""},          // released off the bar
    };
    for (const Case& c : cases) {
        event_log.clear();
        UiObject* bar = make_bar(UI_SCROLL_V, 0, 90, c.value, 10);
        deliver(EV_MOUSE_CLICK, 1, 105, bar->y0 + c.press_y);
        EXPECT_EQ(ui_captured, bar);
        if (c.release_on_bar)
            deliver(EV_MOUSE_CLICK, 0, 105, bar->y0 + c.press_y);
        else
            deliver(EV_MOUSE_CLICK, 0, 400, 400);
        EXPECT_EQ(bar->param2, c.after) << c.value << " " << c.press_y;
        EXPECT_EQ(reports(bar), c.reports) << c.value << " " << c.press_y;
        EXPECT_EQ(ui_captured, nullptr);
        destroy_ui_object(bar);
    }
}

TEST_F(ScrollBar, TheDraggedThumbFollowsThePointerInValueSpaceAndKeepsItOnRelease) {
    platform::install_window(std::make_unique<PointerRecorder>());
    auto* recorder = static_cast<PointerRecorder*>(platform::window());
    reset_pointer_limits();
    for (UiType type : {UI_SCROLL_V, UI_SCROLL_H}) {
        event_log.clear();
        recorder->placed.clear();
        UiObject* bar = make_bar(type, 0, 99, 20, 10);
        bool vertical = type == UI_SCROLL_V;
        // On the thumb (from 72), 3 pixels into it and 5 across.
        int along = 75, across = 55;
        deliver(EV_MOUSE_CLICK, 1, vertical ? 105 : along + 50, vertical ? along : across);
        EXPECT_EQ(bar->state, 1);
        for (int value : {30, 45})
            deliver(EV_MOUSE_MOVE, 1, vertical ? 0 : value, vertical ? value : 0);
        deliver(EV_MOUSE_CLICK, 0, vertical ? 0 : 45, vertical ? 45 : 0);
        EXPECT_EQ(bar->param2, 45);
        EXPECT_EQ(reports(bar), "14:0:30 14:0:45 14:0:45 ");
        EXPECT_EQ(bar->state, 0);
        EXPECT_EQ(ui_captured, nullptr);
        // The thumb now starts at 50 + 2 + 45 along the bar; the grab stays where it was.
        int grab_along = vertical ? 75 - 72 : 75 + 50 - 122;
        std::pair<int, int> expected = vertical ? std::pair{105, 97 + grab_along} : std::pair{97 + 50 + grab_along, 55};
        ASSERT_FALSE(recorder->placed.empty());
        EXPECT_EQ(recorder->placed.back(), expected);
        destroy_ui_object(bar);
    }
    platform::install_window(nullptr);
}

TEST_F(ScrollBar, DrawsATickedHorizontalBarWithAPressedThumbWhileDragged) {
    UiObject* bar = make_bar(UI_SCROLL_H, 0, 99, 0, 10);
    draw_scroll_bar(bar);
    int middle = (bar->y0 + bar->y1) / 2;
    for (int k = 1; k < 10; ++k) {
        EXPECT_EQ(pixel(bar->x0 + 2 + k * 10, middle), COLOUR_UI_TEXT) << k;
        EXPECT_EQ(pixel(bar->x0 + 2 + k * 10, middle + 1), COLOUR_UI_TEXT) << k;
    }
    EXPECT_EQ(pixel(bar->x0 + 3, bar->y0 + 2), COLOUR_BEVEL_LIGHT);  // the raised thumb
    bar->state = 1;
    draw_scroll_bar(bar);
    EXPECT_EQ(pixel(bar->x0 + 3, bar->y0 + 2), COLOUR_BEVEL_SHADOW);
    set_ui_attrs(bar, ATTR_TRANSPARENT, 1, 0);
    clear_screen(BACKGROUND * 0x01010101u);
    draw_scroll_bar(bar);
    EXPECT_EQ(pixel(bar->x0 + 50, bar->y0 + 3), BACKGROUND);
}

}  // namespace
}  // namespace vyr
