#include "library/ui/route.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/graphics/pointer.h"
#include "library/system/key.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "platform/timer/timer.h"
#include "tests/library/system/system_scenario.h"
#include "tests/library/ui/ui_fixture.h"

namespace vyr {
namespace {

using Delivery = UiTree;
using PointerTracking = UiTree;
using TextCursor = UiTree;

TEST_F(Delivery, OnlyALeftPressAloneBringsTheObjectForward) {
    UiObject* back = make("back", root, 0, 0, 10, 10);
    make("front", root, 0, 0, 10, 10);
    Event both{EV_MOUSE_CLICK, 3, 5, 5, 0};
    send_ui_event(back, both);
    EXPECT_EQ(children_of(root), "front back ");
    Event left{EV_MOUSE_CLICK, 1, 5, 5, 0};
    send_ui_event(back, left);
    EXPECT_EQ(children_of(root), "back front ");
    EXPECT_EQ(events_of(back), "3:3 3:1 ");
}

TEST_F(Delivery, AParentWithTheNoRaiseIdKeepsItsChildrenInPlace) {
    UiObject* panel = make("panel", root, 0, 0, 100, 100);
    set_ui_attrs(panel, ATTR_ID, UI_NO_RAISE_ID, 0);
    UiObject* back = make("back", panel, 0, 0, 10, 10);
    make("front", panel, 0, 0, 10, 10);
    Event left{EV_MOUSE_CLICK, 1, 5, 5, 0};
    send_ui_event(back, left);
    EXPECT_EQ(children_of(panel), "front back ");
}

TEST_F(Delivery, NoObjectMeansNoDelivery) {
    Event event{EV_MOUSE_CLICK, 1, 5, 5, 0};
    send_ui_event(nullptr, event);
    EXPECT_TRUE(event_log.empty());
}

TEST_F(PointerTracking, LeaveAndEnterFollowTheObjectUnderThePointer) {
    static PointerShape hand{};
    UiObject* a = make("a", root, 0, 0, 10, 10);
    UiObject* b = make("b", root, 20, 0, 10, 10);
    set_ui_attrs(b, ATTR_POINTER, &hand, 0);
    set_ui_attrs(root, ATTR_NOTIFY, log_event, 0);
    event_log.clear();
    track_pointer_object(5, 5);
    EXPECT_EQ(ui_under_pointer, a);
    EXPECT_EQ(get_pointer_shape(), pointer_arrow);
    track_pointer_object(6, 6);  // same object: nothing
    track_pointer_object(25, 5);
    EXPECT_EQ(get_pointer_shape(), &hand);
    ui_captured = b;
    track_pointer_object(100, 100);  // captured: nothing
    ui_captured = nullptr;
    track_pointer_object(100, 100);
    std::string order;
    for (const LoggedEvent& logged : event_log)
        order += std::string(logged.object->name) + ":" + std::to_string(logged.event.type) + " ";
    EXPECT_EQ(order, "a:12 a:11 b:12 b:11 Root:12 ");
    EXPECT_EQ(event_log[1].event.x, 25);
}

TEST_F(PointerTracking, ShowingAnObjectUnderThePointerTracksItAtOnce) {
    UiObject* popup = make("popup", root, 0, 0, 639, 479);
    set_ui_attrs(popup, ATTR_SHOWN, 0, 0);
    track_pointer_object(pointer_x, pointer_y);
    EXPECT_EQ(ui_under_pointer, root);
    set_ui_attrs(popup, ATTR_SHOWN, 1, 0);
    EXPECT_EQ(ui_under_pointer, popup);
}

TEST_F(TextCursor, SitsAfterTheObjectsTextAndQueuesItsOldPlace) {
    static char text[] = "ab";
    UiObject* field = make("field", root, 100, 50, 80, 12);
    select_font(&font_large);
    place_text_cursor(field);
    EXPECT_EQ(text_cursor_x, 101);
    EXPECT_EQ(text_cursor_y, 50);
    EXPECT_EQ(text_cursor_enabled, 1);
    field->text = text;
    set_ui_attrs(field, ATTR_TEXT_INSET, 1, 0);
    repaint_count = 0;
    place_text_cursor(field);
    EXPECT_EQ(text_cursor_x, 100 + get_text_width(text) + 4);
    EXPECT_EQ(repaint_count, 1);
    field->text = nullptr;
    place_text_cursor(nullptr);
    EXPECT_EQ(text_cursor_enabled, 0);
}

// The UI's threads run in a fresh process each, as the test's thread becomes "System".
class Threaded : public SystemScenarios {
protected:
    static std::string run_as_system(std::string (*scenario)()) {
        return SystemScenarios::run_as_system(scenario, [] {
            start_as_system();
            set_display_clip(0, 0, 639, 479);
        });
    }
};

using ThreadedObjectManager = Threaded;
using ThreadedCursorFlash = Threaded;

std::string trace;

void trace_event(UiObject* object, Event& event) {
    trace += std::string(object->name) + ":" + std::to_string(event.type) + " ";
}

void post(int type, int value, int x = 0, int y = 0) { post_event(Event{type, value, x, y, 0}); }

void dispatch_everything() {
    while (event_count) yield_thread();
}

TEST_F(ThreadedObjectManager, EachEventGoesToOneObjectByItsKind) {
    std::string output = run_as_system([] {
        start_ui();
        UiObject* root = create_ui_object(UI_BOX, nullptr, "Root", ATTR_RECT, 0, 0, 639, 479, ATTR_NOTIFY, trace_event, 0);
        auto make = [&](const char* name, int x) {
            return create_ui_object(UI_BOX, root, name, ATTR_RECT, x, 0, x + 99, 99, ATTR_NOTIFY_EVENT, EV_MOUSE_CLICK,
                                    ATTR_NOTIFY_ADD, EV_KEY, ATTR_NOTIFY_ADD, EV_JOY_FIRE, ATTR_NOTIFY_ADD, EV_TIMER,
                                    ATTR_NOTIFY_ADD, EV_ENTER, ATTR_NOTIFY_ADD, EV_LEAVE, ATTR_NOTIFY, trace_event, 0);
        };
        ui_key_focus = make("keys", 0);
        ui_joy_focus = make("stick", 200);
        UiObject* holder = make("holder", 400);
        add_hot_key(0x3B, [](int) { return 1; });
        post(EV_KEY, 0x1E);
        post(EV_KEY, 0x3B);  // taken by its hot key
        post(EV_JOY_FIRE, 1);
        post(EV_MOUSE_MOVE, 0, 250, 50);
        post(EV_MOUSE_CLICK, 1, 250, 50);
        dispatch_everything();
        trace += "| ";
        ui_captured = holder;
        post(EV_MOUSE_MOVE, 0, 50, 50);  // captured: no tracking
        post(EV_MOUSE_CLICK, 0, 50, 50);
        post(EV_TIMER, 0);
        dispatch_everything();
        trace += "| ";
        ui_captured = nullptr;
        ui_key_focus = nullptr;
        post(EV_KEY, 0x1E);  // no focus: nowhere
        post(EV_MOUSE_MOVE, 0, 700, 50);
        post(EV_MOUSE_CLICK, 1, 700, 50);  // nothing under the pointer
        dispatch_everything();
        return trace;
    });
    EXPECT_EQ(output, "keys:1 stick:10 stick:12 stick:3 | holder:3 holder:5 | stick:11 ");
}

TEST_F(ThreadedObjectManager, ADestroyRequestedByACallbackTakesEffectAfterTheEvent) {
    std::string output = run_as_system([] {
        start_ui();
        UiObject* root = create_ui_object(UI_BOX, nullptr, "Root", ATTR_RECT, 0, 0, 639, 479, 0);
        UiObject* menu = create_ui_object(UI_BOX, root, "menu", ATTR_RECT, 0, 0, 99, 99, ATTR_NOTIFY,
                                          [](UiObject* object, Event& event) {
                                              trace_event(object, event);
                                              if (event.type == EV_MOUSE_CLICK) request_ui_destroy(object);
                                          },
                                          0);
        ui_captured = menu;
        post(EV_MOUSE_CLICK, 0, 10, 10);
        post(EV_MOUSE_CLICK, 0, 10, 10);
        dispatch_everything();
        trace += std::to_string(root->first_child == nullptr);
        return trace;
    });
    EXPECT_EQ(output, "menu:3 menu:21 1");
}

TEST_F(ThreadedCursorFlash, BlinksWhileEnabledAndRestsWhenOff) {
    std::string output = run_as_system([] {
        start_ui();
        create_ui_object(UI_BOX, nullptr, "Root", ATTR_RECT, 0, 0, 639, 479, 0);
        std::string phases;
        set_text_cursor(10, 10, 1);
        sleep_thread(CURSOR_FLASH_UNITS / 2);  // look between the blinks
        for (int i = 0; i < 4; ++i) {
            phases += std::to_string(text_cursor_phase);
            sleep_thread(CURSOR_FLASH_UNITS);
        }
        set_text_cursor(10, 10, 0);
        sleep_thread(CURSOR_FLASH_UNITS * 2);
        int queued = repaint_count;
        sleep_thread(CURSOR_FLASH_UNITS * 4);
        return phases + " " + std::to_string(text_cursor_phase) + " " + std::to_string(repaint_count - queued);
    });
    EXPECT_EQ(output, "1010 0 0");
}

TEST_F(ThreadedObjectManager, WaitingForAnObjectToBecomeVisible) {
    std::string output = run_as_system([] {
        static UiObject* root = create_ui_object(UI_BOX, nullptr, "Root", ATTR_RECT, 0, 0, 639, 479, 0);
        static UiObject* screen = create_ui_object(UI_BOX, root, "screen", ATTR_RECT, 0, 0, 99, 99, ATTR_SHOWN, 0, 0);
        rebuild_visible_list();
        create_thread("Shower", [] {
            trace += "show ";
            set_ui_attrs(screen, ATTR_SHOWN, 1, 0);
            rebuild_visible_list();
            for (;;) sleep_thread(1000);
        });
        trace += "wait ";
        wait_ui_visible(screen);
        return trace + "visible";
    });
    EXPECT_EQ(output, "wait show visible");
}

}  // namespace
}  // namespace vyr
