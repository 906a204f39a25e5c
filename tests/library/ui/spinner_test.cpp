#include "library/ui/spinner.h"

#include <gtest/gtest.h>

#include <string>

#include "library/system/timer.h"
#include "library/system/winmain.h"
#include "tests/library/ui/widget_fixture.h"

namespace vyr {
namespace {

// A number field of three cells (hundreds, tens, units) on one integer, 0 to 300.
class Spinner : public Widgets {
protected:
    void SetUp() override {
        Widgets::SetUp();
        kept_active = app_active.load();
        app_active = 0;  // no half-tick: the clock moves only with the test's ticks
        tick_count += 1;
        UiObject* screen = make("screen", root, 0, 0, 639, 479);
        field = make("field", screen, 100, 100, 60, 60);
        for (int i = 0; i < 3; ++i)
            cells[i] = create_ui_object(UI_SPINNER, field, "cell", ATTR_POS, 4 + 12 * i, 20, ATTR_SIZE, 10, 16,
                                        ATTR_STEP, STEPS[i], ATTR_VARIABLE, &value, ATTR_MIN, 0, ATTR_MAX, 300,
                                        ATTR_NOTIFY, log_event, 0);
        event_log.clear();
    }

    void TearDown() override {
        app_active = kept_active;
        Widgets::TearDown();
    }

    // A left press in the middle of an inactive cell makes it the active one.
    static void activate(UiObject* cell) {
        if (cell->state) return;
        press(cell, (cell->y0 + cell->y1) / 2);
        release(cell, (cell->y0 + cell->y1) / 2);
    }
    static void press(UiObject* cell, int y) { deliver(EV_MOUSE_CLICK, 1, cell->x0 + 2, y, read_clock()); }
    static void release(UiObject* cell, int y) { deliver(EV_MOUSE_CLICK, 0, cell->x0 + 2, y, read_clock()); }

    // "clock:value" of every EV_SELECT, clocks counted from `start`.
    static std::string steps_since(int start) {
        std::string text;
        for (const LoggedEvent& logged : event_log)
            if (logged.event.type == EV_SELECT)
                text += std::to_string(logged.event.time - start) + ":" + std::to_string(logged.event.value) + " ";
        return text;
    }

    static constexpr int STEPS[3] = {100, 10, 1};
    int32_t value = 0;
    UiObject* field = nullptr;
    UiObject* cells[3] = {};
    int kept_active = 0;
};

TEST_F(Spinner, AnActivatedCellGrowsArrowsAndTheOtherCellShrinksBack) {
    UiObject* tens = cells[1];
    UiObject* units = cells[2];
    int top = tens->y0, bottom = tens->y1;
    activate(tens);
    EXPECT_EQ(tens->state, 1);
    EXPECT_EQ(tens->y0, top - SPINNER_ARROW);
    EXPECT_EQ(tens->y1, bottom + SPINNER_ARROW);
    EXPECT_EQ(steps_since(0), "");  // activating changes nothing
    activate(units);
    EXPECT_EQ(tens->state, 0);
    EXPECT_EQ(tens->y0, top);
    EXPECT_EQ(tens->y1, bottom);
    EXPECT_EQ(units->state, 1);
}

TEST_F(Spinner, HeldOnTheUpperArrowItStepsAtOnceAfterHalfASecondThenEveryTenth) {
    UiObject* tens = cells[1];
    activate(tens);
    int start = read_clock();
    press(tens, tens->y0 + 2);
    EXPECT_EQ(value, 10);
    for (int i = 0; i < 75; ++i) {  // 150 clock units of timer events
        tick_count += 1;
        deliver(EV_TIMER, 0, 0, 0, read_clock());
    }
    EXPECT_EQ(steps_since(start), "0:10 100:20 120:30 140:40 ");
    release(tens, tens->y0 + 2);
    EXPECT_EQ(events_of(tens, EV_STOP), "15:40 ");
    EXPECT_EQ(tens->state, 1);  // released on an arrow, the cell stays active
    EXPECT_EQ(ui_captured, nullptr);
}

TEST_F(Spinner, StepsStopAtTheBounds) {
    struct Case {
        int cell;
        int32_t before;
        bool up;
        int32_t after;
    };
    for (Case c : {Case{1, 3, false, 0}, Case{0, 250, true, 300}, Case{2, 0, false, 0}, Case{2, 17, true, 18}}) {
        value = c.before;
        UiObject* cell = cells[c.cell];
        activate(cell);
        int y = c.up ? cell->y0 + 1 : cell->y1 - 1;
        press(cell, y);
        release(cell, y);
        EXPECT_EQ(value, c.after) << c.before;
    }
}

TEST_F(Spinner, AStepOfZeroCountsAsOne) {
    set_ui_attrs(cells[2], ATTR_STEP, 0, 0);
    value = 7;
    activate(cells[2]);
    press(cells[2], cells[2]->y0 + 1);
    EXPECT_EQ(value, 8);
    draw_spinner(cells[2]);  // the shown digit divides by the step too
}

TEST_F(Spinner, AReleaseAwayFromTheCellEndsItsActivity) {
    UiObject* tens = cells[1];
    activate(tens);
    press(tens, tens->y0 + 1);
    deliver(EV_MOUSE_MOVE, 1, 600, 400);
    deliver(EV_MOUSE_CLICK, 0, 600, 400);
    EXPECT_EQ(tens->state, 0);
    EXPECT_EQ(events_of(tens, EV_STOP), "15:10 ");
}

TEST_F(Spinner, TheDigitMenuSetsOneDigitWithinTheBounds) {
    struct Case {
        int32_t maximum, after;
    };
    for (Case c : {Case{300, 297}, Case{290, 290}}) {
        event_log.clear();
        set_ui_attrs(cells[1], ATTR_MAX, c.maximum, 0);
        value = 247;
        deliver(EV_MOUSE_CLICK, 2, cells[1]->x0 + 2, cells[1]->y0 + 2);
        UiObject* menu = ui_captured;
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->type, UI_MENU);
        UiObject* nine = menu->first_child;
        while (nine && nine->id != 9) nine = nine->next_sibling;
        ASSERT_NE(nine, nullptr);
        deliver(EV_MOUSE_CLICK, 0, nine->x0 + 2, nine->y0 + 2);
        EXPECT_EQ(value, c.after);
        EXPECT_EQ(events_of(cells[1]), "3:2 13:" + std::to_string(c.after) + " 15:" + std::to_string(c.after) + " ");
        EXPECT_EQ(ui_captured, nullptr);
    }
}

TEST_F(Spinner, ShowsItsDigitWithArrowsWhenActive) {
    value = 247;
    UiObject* tens = cells[1];
    draw_spinner(tens);
    EXPECT_EQ(pixel(tens->x0 + 1, tens->y0), COLOUR_BEVEL_LIGHT);  // raised
    activate(tens);
    draw_spinner(tens);
    EXPECT_EQ(pixel(tens->x0 + 1, tens->y0), COLOUR_BEVEL_LIGHT);  // the raised upper arrow
    EXPECT_EQ(pixel(tens->x0 + 1, tens->y0 + SPINNER_ARROW), COLOUR_BEVEL_SHADOW);
    EXPECT_EQ(pixel(tens->x0 + 1, tens->y1 - SPINNER_ARROW), COLOUR_BEVEL_LIGHT);
    int white = 0;
    for (int y = tens->y0 + SPINNER_ARROW + 1; y < tens->y1 - SPINNER_ARROW; ++y)
        for (int x = tens->x0 + 1; x < tens->x1; ++x) white += pixel(x, y) == COLOUR_UI_TEXT;
    EXPECT_GT(white, 5);  // the 4
}

}  // namespace
}  // namespace vyr
