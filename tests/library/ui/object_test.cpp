#include "library/ui/object.h"

#include <gtest/gtest.h>

#include <string>

#include "library/graphics/screen.h"
#include "library/ui/route.h"
#include "tests/library/ui/ui_fixture.h"

namespace vyr {
namespace {

using VisibleList = UiTree;
using HitTest = UiTree;
using Stacking = UiTree;
using Geometry = UiTree;
using Destruction = UiTree;
using ObjectScreens = UiTree;

std::string visible_names() {
    if (ui_list_dirty) rebuild_visible_list();
    std::string text;
    for (int i = 0; i < visible_count; ++i) text += std::string(visible_list[i].object->name) + " ";
    return text;
}

TEST_F(VisibleList, RunsBackToFrontWithParentsBeforeTheirChildren) {
    UiObject* back = make("back", root, 10, 10, 100, 100);
    make("back.child", back, 5, 5, 10, 10);
    make("front", root, 50, 50, 100, 100);
    EXPECT_EQ(visible_names(), "Root back back.child front ");
}

TEST_F(VisibleList, AHiddenParentTakesItsWholeSubtreeOut) {
    UiObject* window = make("window", root, 10, 10, 100, 100);
    UiObject* child = make("child", window, 5, 5, 10, 10);
    UiObject* grandchild = make("grandchild", child, 1, 1, 2, 2);
    show_ui_object(window, 0);
    EXPECT_EQ(visible_names(), "Root ");
    EXPECT_EQ(window->visible, 0);
    EXPECT_EQ(grandchild->visible, 0);
    EXPECT_NE(child->flags & UIF_SHOWN, 0u);  // still meant to be shown with its parent
    show_ui_object(window, 1);
    EXPECT_EQ(visible_names(), "Root window child grandchild ");
}

TEST_F(VisibleList, EachObjectIsCutByTheDisplayAndEveryAncestor) {
    UiObject* window = make("window", root, 100, 100, 99, 99);
    UiObject* overlap = make("overlap", window, 50, -20, 100, 40);
    UiObject* inside = make("inside", overlap, 40, 0, 20, 30);
    UiObject* outside = make("outside", window, 100, 0, 10, 10);  // starts one past the window's edge
    make("under outside", outside, -50, 0, 60, 10);              // reaches back into the window
    UiObject* edge = make("edge", root, 600, 470, 100, 100);
    rebuild_visible_list();
    EXPECT_EQ(visible_names(), "Root window overlap inside edge ");
    auto vis = [](const UiObject* o) {
        return std::to_string(o->vis_x0) + "," + std::to_string(o->vis_y0) + "-" + std::to_string(o->vis_x1) + "," +
               std::to_string(o->vis_y1);
    };
    EXPECT_EQ(vis(overlap), "150,100-199,120");
    EXPECT_EQ(vis(inside), "190,100-199,110");
    EXPECT_EQ(vis(edge), "600,470-639,479");
    EXPECT_EQ(outside->visible, 0);
}

TEST_F(VisibleList, IsRebuiltOnlyWhenSomethingChanged) {
    make("a", root, 0, 0, 10, 10);
    rebuild_visible_list();
    int generation = visible_generation;
    find_ui_object_at(5, 5);
    EXPECT_EQ(visible_generation, generation);
    make("b", root, 20, 0, 10, 10);
    find_ui_object_at(5, 5);
    EXPECT_GT(visible_generation, generation);
}

TEST_F(HitTest, FindsTheFrontMostObjectThatTakesInput) {
    UiObject* under = make("under", root, 100, 100, 50, 50);
    UiObject* glass = make("glass", root, 120, 120, 50, 50);
    set_ui_attrs(glass, ATTR_INPUT, 0, 0);
    UiObject* front = make("front", root, 140, 140, 50, 50);
    EXPECT_EQ(find_ui_object_at(130, 130), under);  // through the object that takes no input
    EXPECT_EQ(find_ui_object_at(145, 145), front);
    EXPECT_EQ(find_ui_object_at(190, 190), front);  // edges are inside
    EXPECT_EQ(find_ui_object_at(191, 191), root);
    EXPECT_EQ(find_ui_object_at(640, 10), nullptr);
    set_ui_attrs(root, ATTR_INPUT, 0, 0);
    EXPECT_EQ(find_ui_object_at(300, 300), nullptr);
}

TEST_F(Stacking, RaisingBringsEveryAncestorForward) {
    UiObject* first = make("first", root, 0, 0, 100, 100);
    UiObject* second = make("second", root, 0, 0, 100, 100);
    UiObject* a = make("a", first, 0, 0, 10, 10);
    EXPECT_EQ(children_of(root), "first second ");  // a new child raises its parent too
    make("b", first, 0, 0, 10, 10);
    raise_ui_object(second);
    EXPECT_EQ(children_of(root), "second first ");
    EXPECT_EQ(children_of(first), "b a ");
    raise_ui_object(a);
    EXPECT_EQ(children_of(first), "a b ");
    EXPECT_EQ(children_of(root), "first second ");
}

TEST_F(Stacking, OnTopAndAtBackSiblingsKeepTheirBands) {
    UiObject* top = make("top", root, 0, 0, 10, 10);
    set_ui_attrs(top, ATTR_ON_TOP, 1, 0);
    UiObject* back = make("back", root, 0, 0, 10, 10);
    set_ui_attrs(back, ATTR_AT_BACK, 1, 0);
    UiObject* plain = make("plain", root, 0, 0, 10, 10);
    UiObject* other = make("other", root, 0, 0, 10, 10);
    EXPECT_EQ(children_of(root), "top other plain back ");
    raise_ui_object(plain);
    raise_ui_object(back);
    EXPECT_EQ(children_of(root), "top plain other back ");
    lower_ui_object(plain);
    EXPECT_EQ(children_of(root), "top other plain back ");
    UiObject* top2 = make("top2", root, 0, 0, 10, 10);
    set_ui_attrs(top2, ATTR_ON_TOP, 1, 0);
    lower_ui_object(top);  // behind the other on-top ones, before the ordinary ones
    EXPECT_EQ(children_of(root), "top2 top other plain back ");
    lower_ui_object(other);
    EXPECT_EQ(children_of(root), "top2 top plain other back ");
}

TEST_F(Stacking, ARestackingOfSiblingsMarksTheListAndQueuesARepaint) {
    UiObject* a = make("a", root, 0, 0, 10, 10);
    make("b", root, 20, 0, 10, 10);
    rebuild_visible_list();
    repaint_count = 0;
    raise_ui_object(a);
    EXPECT_GT(repaint_count, 0);
    EXPECT_EQ(visible_names(), "Root b a ");
}

TEST_F(Geometry, MovingShiftsTheSubtreeAndReportsTheParentRelativePlace) {
    UiObject* window = make("window", root, 100, 100, 50, 50);
    UiObject* child = make("child", window, 10, 10, 5, 5);
    event_log.clear();
    move_ui_object(window, 200, 150);
    EXPECT_EQ(child->x0, 210);
    EXPECT_EQ(child->y1, 165);
    EXPECT_EQ(child->vis_x0, 210);
    move_ui_object(child, 1, 2);
    EXPECT_EQ(child->x0, 201);
    move_ui_object(child, 1, 2);  // no change: no event
    EXPECT_EQ(events_of(window), "16:0 ");
    ASSERT_EQ(event_log.size(), 2u);
    EXPECT_EQ(event_log[0].event.x, 200);
    EXPECT_EQ(event_log[0].event.y, 150);
    EXPECT_EQ(event_log[1].event.x, 1);
    EXPECT_EQ(event_log[1].event.y, 2);
}

TEST_F(Geometry, ResizingReportsOnlyARealChangeAndKeepsTheResizeBoxInTheCorner) {
    UiObject* window = make("window", root, 100, 100, 100, 80);
    UiObject* corner = make("corner", window, 85, 65, 15, 15, UI_RESIZE_BOX);
    event_log.clear();
    resize_ui_object(window, 100, 80);
    EXPECT_EQ(events_of(window), "");
    resize_ui_object(window, 120, 90);
    EXPECT_EQ(window->x1, 220);
    EXPECT_EQ(window->y1, 190);
    EXPECT_EQ(corner->x0, 205);
    EXPECT_EQ(corner->y0, 175);
    ASSERT_EQ(events_of(window), "17:0 ");
    EXPECT_EQ(event_log.back().event.x, 120);
    EXPECT_EQ(event_log.back().event.y, 90);
}

TEST_F(Destruction, TakesTheSubtreeAndEmptiesEverySlotThatHeldIt) {
    UiObject* window = make("window", root, 0, 0, 100, 100);
    UiObject* child = make("child", window, 0, 0, 10, 10);
    UiObject* keep = make("keep", root, 200, 0, 10, 10);
    ui_key_focus = child;
    ui_captured = window;
    ui_under_pointer = keep;
    destroy_ui_object(window);
    EXPECT_EQ(events_of(child), "21:0 ");
    EXPECT_EQ(window->magic, 0u);
    EXPECT_EQ(child->magic, 0u);
    EXPECT_EQ(ui_key_focus, nullptr);
    EXPECT_EQ(ui_captured, nullptr);
    EXPECT_EQ(ui_under_pointer, keep);
    EXPECT_EQ(children_of(root), "keep ");
    EXPECT_EQ(visible_names(), "Root keep ");
    EXPECT_EQ(make("again", root, 0, 0, 1, 1), window);  // the first free record is reused
}

TEST_F(Destruction, ARequestWaitsForTheEventBeingDelivered) {
    UiObject* menu = make("menu", root, 0, 0, 10, 10);
    request_ui_destroy(menu);
    EXPECT_EQ(menu->magic, UI_MAGIC);
    Event click{EV_MOUSE_CLICK, 0, 5, 5, 0};
    send_ui_event(menu, click);
    EXPECT_EQ(events_of(menu), "21:0 ");  // the click itself no longer reaches the callback
    EXPECT_EQ(children_of(root), "");
}

TEST_F(Destruction, ARequestMadeWhileBeingDestroyedDestroysOnlyOnce) {
    UiObject* box = create_ui_object(UI_BOX, root, "box", ATTR_NOTIFY,
                                     [](UiObject* object, Event& event) {
                                         log_event(object, event);
                                         request_ui_destroy(object);
                                     },
                                     0);
    make("after", root, 0, 0, 1, 1);
    destroy_ui_object(box);
    EXPECT_EQ(events_of(box), "21:0 ");
    EXPECT_EQ(children_of(root), "after ");
}

TEST_F(ObjectScreens, AResizedScreenKeepsItsPixelsAtTheTopLeft) {
    UiObject* canvas = make("canvas", root, 0, 0, 3, 2, UI_CANVAS);
    Screen* screen = create_ui_screen(canvas);
    ASSERT_EQ(screen->width, 4);
    ASSERT_EQ(screen->height, 3);
    for (int i = 0; i < 12; ++i) screen->pixels[(i / 4) * (4 + screen->row_pad) + i % 4] = uint8_t(i + 1);
    set_ui_attrs(canvas, ATTR_SIZE, 1, 3, 0);
    Screen* resized = resize_ui_screen(canvas);
    ASSERT_EQ(canvas->screen, resized);
    EXPECT_EQ(get_current_screen(), resized);
    ASSERT_EQ(resized->width, 2);
    ASSERT_EQ(resized->height, 4);
    int pitch = 2 + resized->row_pad;
    EXPECT_EQ(resized->pixels[0], 1);
    EXPECT_EQ(resized->pixels[1], 2);
    EXPECT_EQ(resized->pixels[2 * pitch + 1], 10);
    free_ui_screen(canvas);
    EXPECT_EQ(canvas->screen, nullptr);
    select_screen(nullptr);
}

using ObjectFatal = UiTree;

TEST_F(ObjectFatal, ThePoolHoldsNoMoreThan1536Objects) {
    EXPECT_DEATH(
        {
            for (int i = 1; i <= MAX_UI_OBJECTS; ++i) create_ui_object(UI_BOX, root, "x", 0);
        },
        "Allocate Object - too many");
}

TEST_F(ObjectFatal, ABrokenParentLinkIsFound) {
    UiObject* window = make("window", root, 0, 0, 10, 10);
    UiObject* child = make("child", window, 0, 0, 1, 1);
    child->parent = root;
    EXPECT_DEATH(check_whole_ui_tree(), "Object's Child's Parent is not Object");
    child->parent = window;
}

}  // namespace
}  // namespace vyr
