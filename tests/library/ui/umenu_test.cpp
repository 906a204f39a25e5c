#include "library/ui/umenu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "library/graphics/font.h"
#include "tests/library/ui/widget_fixture.h"

namespace vyr {
namespace {

class PopupMenu : public Widgets {
protected:
    void SetUp() override {
        Widgets::SetUp();
        screen = make("screen", root, 0, 0, 639, 479);
        UiObject* panel = make("panel", screen, 50, 50, 300, 300);
        owner = make("owner", panel, 10, 10, 40, 20);
    }

    UiObject* open_at(int x, int y) {
        return popup_menu(owner, x, y, ATTR_MENU_ITEM, 1, "One", ATTR_MENU_LINE, ATTR_MENU_ITEM, 2, "Second",
                          ATTR_NOTIFY, log_event, 0);
    }

    static UiObject* child_named(UiObject* parent, const char* name, int skip = 0) {
        for (UiObject* child = parent->first_child; child; child = child->next_sibling)
            if (std::string(child->name) == name && skip-- == 0) return child;
        return nullptr;
    }

    std::string selections() const {
        std::string text;
        for (const LoggedEvent& logged : event_log)
            if (logged.event.type == EV_SELECT) text += std::to_string(logged.event.value) + " ";
        return text;
    }

    UiObject* screen = nullptr;
    UiObject* owner = nullptr;
};

TEST_F(PopupMenu, OpensOnTheOwnersScreenSizedToItsItemsAndHoldsThePointer) {
    UiObject* menu = open_at(300, 200);
    EXPECT_EQ(menu->parent, screen);
    EXPECT_EQ(menu->owner, owner);
    EXPECT_EQ(ui_captured, menu);
    EXPECT_EQ(children_of(menu), "MenuItem MenuLine MenuItem ");

    select_font(&font_large);
    int inner = std::max(get_text_width("One"), get_text_width("Second")) + 4;
    int item_height = get_line_height() + 2;
    UiObject* first = menu->first_child;
    UiObject* line = first->next_sibling;
    UiObject* second = line->next_sibling;
    EXPECT_EQ(first->y0 - menu->y0, 2);
    EXPECT_EQ(line->y0 - menu->y0, 2 + item_height + 1);
    EXPECT_EQ(second->y0 - menu->y0, 2 + item_height + 1 + 3 + 1);
    EXPECT_EQ(line->x1 - line->x0, inner);
    EXPECT_EQ(second->x0 - menu->x0, 2);
    EXPECT_EQ(menu->x1 - menu->x0, inner + 4);
    EXPECT_EQ(menu->y1 - menu->y0, second->y1 - menu->y0 + 2);
    EXPECT_EQ(menu->x0, 300 - (inner + 4) / 2);
    EXPECT_EQ(menu->y0, 200 - (menu->y1 - menu->y0) / 2);
}

TEST_F(PopupMenu, ANarrowItemListIsStillEightPixelsWide) {
    UiObject* menu = popup_menu(owner, 300, 200, ATTR_MENU_LINE, 0);
    EXPECT_EQ(menu->x1 - menu->x0, 8 + 4);
}

TEST_F(PopupMenu, OpenedAtTheDisplaysCornerItStaysInside) {
    UiObject* menu = open_at(637, 478);
    EXPECT_EQ(menu->x1, 639);
    EXPECT_EQ(menu->y1, 479);
    EXPECT_GT(menu->x0, 500);
}

TEST_F(PopupMenu, FollowsThePointerAndSelectsTheItemUnderItOnRelease) {
    UiObject* menu = open_at(300, 200);
    UiObject* first = child_named(menu, "MenuItem");
    UiObject* second = child_named(menu, "MenuItem", 1);
    int x = menu->x0 + 5;
    deliver(EV_MOUSE_MOVE, 2, x, first->y0 + 1);
    EXPECT_EQ(first->state, 1);
    deliver(EV_MOUSE_MOVE, 2, x, second->y1);
    EXPECT_EQ(first->state, 0);
    EXPECT_EQ(second->state, 1);
    deliver(EV_MOUSE_CLICK, 0, x, second->y1);
    EXPECT_EQ(selections(), "2 ");
    EXPECT_EQ(child_named(screen, "Menu"), nullptr);
    EXPECT_EQ(ui_captured, nullptr);
}

TEST_F(PopupMenu, AReleaseOffTheItemsClosesWithoutASelection) {
    struct Case {
        const char* where;
        int dx, dy;  // from the line's top-left corner
    };
    for (Case c : {Case{"on the line", 5, 1}, Case{"outside", -100, 1}, Case{"on the border", 5, -100}}) {
        event_log.clear();
        UiObject* menu = open_at(300, 200);
        UiObject* line = child_named(menu, "MenuLine");
        int x = line->x0 + c.dx, y = c.dy == -100 ? menu->y1 : line->y0 + c.dy;
        deliver(EV_MOUSE_MOVE, 2, x, y);
        for (UiObject* child = menu->first_child; child; child = child->next_sibling) EXPECT_EQ(child->state, 0) << c.where;
        deliver(EV_MOUSE_CLICK, 0, x, y);
        EXPECT_EQ(selections(), "") << c.where;
        EXPECT_EQ(child_named(screen, "Menu"), nullptr) << c.where;
        EXPECT_EQ(ui_captured, nullptr) << c.where;
    }
}

TEST_F(PopupMenu, AnOwnerOnTheRootGetsTheMenuItself) {
    UiObject* menu = popup_menu(screen, 100, 100, ATTR_MENU_ITEM, 1, "A", 0);
    EXPECT_EQ(menu->parent, screen);
    UiObject* on_root = popup_menu(root, 100, 100, ATTR_MENU_ITEM, 1, "A", 0);
    EXPECT_EQ(on_root->parent, root);
}

TEST_F(PopupMenu, DrawsTheHighlightedItemRaisedWithItsText) {
    UiObject* menu = open_at(300, 200);
    UiObject* first = child_named(menu, "MenuItem");
    UiObject* line = child_named(menu, "MenuLine");
    deliver(EV_MOUSE_MOVE, 2, menu->x0 + 5, first->y0 + 1);
    for (UiObject* object : {menu, first, line}) ui_type_table[object->type].draw(object);
    EXPECT_EQ(pixel(menu->x0 + 1, menu->y0), COLOUR_BEVEL_LIGHT);
    EXPECT_EQ(pixel(first->x0 + 1, first->y0), COLOUR_BEVEL_LIGHT);
    EXPECT_EQ(pixel(first->x0 + 1, first->y1), COLOUR_BEVEL_SHADOW);
    EXPECT_EQ(pixel(line->x0 + 3, line->y0 + 1), COLOUR_BEVEL_SHADOW);
    EXPECT_EQ(pixel(line->x0 + 3, line->y0 + 2), COLOUR_BEVEL_LIGHT);
    int white = 0;
    for (int y = first->y0 + 2; y < first->y1; ++y)
        for (int x = first->x0 + 2; x < first->x1; ++x) white += pixel(x, y) == COLOUR_UI_TEXT;
    EXPECT_GT(white, 10);
}

}  // namespace
}  // namespace vyr
