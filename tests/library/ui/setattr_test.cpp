#include "library/ui/setattr.h"

#include <gtest/gtest.h>

#include <cstring>

#include "library/ui/route.h"
#include "library/ui/uoaccess.h"
#include "tests/library/ui/ui_fixture.h"

namespace vyr {
namespace {

using TagEffects = UiTree;
using Selection = UiTree;
using KeepInside = UiTree;

TEST_F(TagEffects, ShowingAndStateSendTheirEventsOnlyOnAChange) {
    UiObject* button = make("button", root, 10, 10, 20, 20);
    event_log.clear();
    set_ui_attrs(button, ATTR_SHOWN, 0, 0);
    set_ui_attrs(button, ATTR_SHOWN, 0, 0);
    set_ui_attrs(button, ATTR_STATE, 0, 0);
    set_ui_attrs(button, ATTR_STATE, 1, ATTR_STATE, 1, 0);
    set_ui_attrs(button, ATTR_SHOWN, 5, 0);
    EXPECT_EQ(events_of(button), "19:0 18:1 19:1 ");
    EXPECT_EQ(get_ui_state(button), 1);
}

TEST_F(TagEffects, RepaintsFollowEachTagsRule) {
    UiObject* object = make("object", root, 10, 10, 20, 20);
    set_ui_attrs(object, ATTR_COLOUR, 0x01020304, ATTR_ID, 7, ATTR_SHADOW, 1, ATTR_RANGE, 0, 9, 0);
    struct Case {
        const char* what;
        UiTag tag, value;
        bool repaints;
    } cases[] = {
        {"same colour", ATTR_COLOUR, 0x01020304, false},
        {"new colour", ATTR_COLOUR, 0x05050505, true},
        {"same id", ATTR_ID, 7, false},
        {"new id", ATTR_ID, 8, true},
        {"same shadow", ATTR_SHADOW, 1, false},
        {"same text colour", ATTR_TEXT_COLOUR, 0, true},
        {"flag", ATTR_INPUT, 0, false},
        {"same transparency", ATTR_TRANSPARENT, 0, false},
        {"new transparency", ATTR_TRANSPARENT, 1, true},
        {"font", ATTR_FONT, &font_small, true},
        {"palette range", ATTR_PALETTE_RANGE, 3, false},
    };
    for (const Case& c : cases) {
        repaint_count = 0;
        const UiTag list[] = {c.tag, c.value, 0};
        const UiTag* position = list;
        apply_ui_tags(object, position);
        EXPECT_EQ(repaint_count > 0, c.repaints) << c.what;
        EXPECT_EQ(position, list + 3) << c.what;
    }
}

TEST_F(TagEffects, RangeAndScrollClampTheValue) {
    UiObject* bar = make("bar", root, 0, 0, 10, 100, UI_SCROLL_V);
    set_ui_attrs(bar, ATTR_RANGE, 10, 20, ATTR_SCROLL, 99, 5, 0);
    EXPECT_EQ(get_ui_scroll_pos(bar), 20);
    set_ui_attrs(bar, ATTR_SCROLL, -4, 5, 0);
    EXPECT_EQ(get_ui_scroll_pos(bar), 10);
    EXPECT_EQ(bar->param3, 5);
}

TEST_F(TagEffects, OnTopClearsAtBackAndComesForward) {
    UiObject* object = make("object", root, 0, 0, 10, 10);
    set_ui_attrs(object, ATTR_AT_BACK, 1, 0);
    make("other", root, 0, 0, 10, 10);
    EXPECT_EQ(children_of(root), "other object ");
    set_ui_attrs(object, ATTR_ON_TOP, 1, 0);
    EXPECT_EQ(is_ui_at_back(object), 0u);
    EXPECT_NE(is_ui_on_top(object), 0u);
    EXPECT_EQ(children_of(root), "object other ");
    set_ui_attrs(object, ATTR_ON_TOP, 0, 0);
    EXPECT_EQ(children_of(root), "other object ");
}

TEST_F(TagEffects, NotifyEventLetsOnlyThatTypeThrough) {
    UiObject* object = make("object", root, 0, 0, 10, 10);
    set_ui_attrs(object, ATTR_NOTIFY_EVENT, EV_SELECT, 0);
    event_log.clear();
    for (int type : {int(EV_MOUSE_CLICK), int(EV_SELECT), int(EV_ON), 0, 40}) {
        Event event{type, 0, 0, 0, 0};
        send_ui_event(object, event);
    }
    EXPECT_EQ(events_of(object), "13:0 ");
    set_ui_attrs(object, ATTR_NOTIFY_ADD, EV_ON, ATTR_NOTIFY_REMOVE, EV_SELECT, 0);
    EXPECT_EQ(is_ui_notify_event(object, EV_ON), 1u << EV_ON);
    EXPECT_EQ(is_ui_notify_event(object, EV_SELECT), 0u);
}

TEST_F(TagEffects, PlacementTags) {
    UiObject* window = make("window", root, 100, 100, 50, 40);
    UiObject* child = make("child", window, 0, 0, 5, 4);
    set_ui_attrs(child, ATTR_CENTRE, 20, 20, 0);  // halves truncate: 5 / 2 = 2
    EXPECT_EQ(get_ui_x(child), 18);
    EXPECT_EQ(get_ui_y(child), 18);
    set_ui_attrs(child, ATTR_RECT_CLIPPED, -10, 30, 10, 60, 0);
    EXPECT_EQ(get_ui_left(child), 0);
    EXPECT_EQ(get_ui_top(child), 30);
    EXPECT_EQ(get_ui_right(child), 10);
    EXPECT_EQ(get_ui_bottom(child), 40);
    event_log.clear();
    set_ui_attrs(child, ATTR_FILL_PARENT_INSET, 0);
    EXPECT_EQ(child->x0, 101);
    EXPECT_EQ(child->y1, 139);
    ASSERT_EQ(events_of(child), "16:0 17:0 ");
    EXPECT_EQ(event_log[0].event.x, 1);
    EXPECT_EQ(event_log[1].event.x, 48);
    EXPECT_EQ(event_log[1].event.y, 38);
}

TEST_F(TagEffects, SpinnerBoundsClampTheSharedInteger) {
    int32_t value = 50;
    UiObject* cell = make("cell", root, 0, 0, 10, 10, UI_SPINNER);
    set_ui_attrs(cell, ATTR_MIN, 60, 0);  // before the variable: only the bound is kept
    EXPECT_EQ(value, 50);
    set_ui_attrs(cell, ATTR_VARIABLE, &value, ATTR_MAX, 99, 0);
    EXPECT_EQ(value, 60);
    set_ui_attrs(cell, ATTR_MIN, 0, ATTR_MAX, 40, 0);
    EXPECT_EQ(value, 40);
}

TEST_F(TagEffects, AListShortOfValuesStopsAtItsEnd) {
    UiObject* object = make("object", root, 10, 10, 5, 5);
    set_ui_attrs(object, ATTR_POS, 30);
    EXPECT_EQ(get_ui_x(object), 30);
    EXPECT_EQ(get_ui_y(object), 0);
}

TEST_F(TagEffects, AccessorsOfTheRootAndOfChildren) {
    UiObject* window = make("window", root, 100, 50, 40, 30);
    make("low", window, 0, 25, 5, 20);
    make("high", window, 0, 2, 5, 5);
    EXPECT_EQ(get_ui_x(root), 0);
    EXPECT_EQ(get_ui_width(window), 40);
    EXPECT_EQ(to_ui_local_y(window, 60), 10);
    EXPECT_EQ(get_ui_children_height(window), 45);
    EXPECT_EQ(get_ui_children_height(window->first_child), 0);
    set_ui_user_word(window, 1234);
    EXPECT_EQ(get_ui_user_word(window), 1234);
    EXPECT_NE(is_ui_visible(window), 0);
    show_ui_object(window, 0);
    EXPECT_EQ(is_ui_visible(window), 0);
}

TEST_F(Selection, ASetOf8BytesGrowsTo16ForLine70) {
    UiObject* text = make("text", root, 0, 0, 100, 100, UI_TEXT);
    set_ui_attrs(text, ATTR_MULTI_SELECT, 1, 0);
    EXPECT_EQ(text->selection, 8);
    EXPECT_NE(is_ui_selectable(text), 0u);
    set_ui_attrs(text, ATTR_LINE_SELECTED, 3, 1, 0);
    repaint_count = 0;
    set_ui_line_selected(text, 70, 1);
    EXPECT_GT(repaint_count, 0);
    EXPECT_EQ(text->selection, 16);
    std::string selected;
    for (int line = 0; line < 200; ++line)
        if (is_ui_line_selected(text, line)) selected += std::to_string(line) + " ";
    EXPECT_EQ(selected, "3 70 ");
    repaint_count = 0;
    set_ui_line_selected(text, 70, 1);
    set_ui_line_selected(text, 71, 0);
    EXPECT_EQ(repaint_count, 0);
    EXPECT_EQ(is_ui_line_selected(text, -1), 0);
    clear_ui_selection(text, 0);
    EXPECT_EQ(text->selection_bits, nullptr);
    EXPECT_EQ(is_ui_line_selected(text, 3), 0);
}

TEST_F(Selection, LinesOutsideTheSetAreFatal) {
    UiObject* text = make("text", root, 0, 0, 100, 100, UI_TEXT);
    set_ui_attrs(text, ATTR_MULTI_SELECT, 1, 0);
    EXPECT_DEATH(set_ui_attrs(text, ATTR_LINE_SELECTED, 8192, 1, 0), "Set Object Text Set Line Selected \\(.*, 8192, 1\\)");
    EXPECT_DEATH(set_ui_line_selected(text, -1, 1), "Set Object Text Set Line Selected \\(.*, -1, 1\\)");
}

TEST_F(KeepInside, MovesByTheLeastShiftAndTheLeftEdgeWins) {
    UiObject* parent = make("parent", root, 100, 100, 100, 50);
    struct Case {
        int x0, y0, width, height, want_x, want_y;
    } cases[] = {
        {10, 10, 20, 20, 10, 10},      // inside already
        {90, 40, 20, 20, 80, 30},      // past the right and bottom edges
        {-5, -7, 20, 20, 0, 0},        // before the left and top edges
        {10, 10, 150, 80, 0, 0},       // larger than the parent: left and top aligned
    };
    for (const Case& c : cases) {
        UiObject* object = make("object", parent, c.x0, c.y0, c.width, c.height);
        set_ui_attrs(object, ATTR_KEEP_INSIDE, 0);
        EXPECT_EQ(get_ui_x(object), c.want_x) << c.x0;
        EXPECT_EQ(get_ui_y(object), c.want_y) << c.y0;
        destroy_ui_object(object);
    }
}

using TagFatal = UiTree;

TEST_F(TagFatal, InvalidTagsAndValuesOfTheWrongKind) {
    UiObject* object = make("object", root, 0, 0, 10, 10);
    EXPECT_DEATH(set_ui_attrs(object, ATTR_INVALID, 0), "Set Attr Invalid");
    EXPECT_DEATH(set_ui_attrs(object, 67, 0), "Set Attr Invalid");
    EXPECT_DEATH(set_ui_attrs(object, ATTR_NOTIFY, "not a callback", 0), "Set Attr Invalid");
    EXPECT_DEATH(set_ui_attrs(object, ATTR_POS, &font_small, 0, 0), "Set Attr Invalid");
}

}  // namespace
}  // namespace vyr
