#include "library/ui/screens.h"

#include "library/graphics/ddraw.h"
#include "library/graphics/display.h"
#include "library/graphics/palette.h"
#include "library/system/thread.h"
#include "library/ui/repaint.h"
#include "library/ui/route.h"
#include "library/ui/setattr.h"

namespace vyr {

UiObject* screen_stack[MAX_SCREEN_DEPTH];
int screen_depth = 0;

namespace {

constexpr int FADE_BLACK = 0x7FFFFFFF;
constexpr int IDLE_POLL_UNITS = 20;

PaletteEffect* fade_effect = nullptr;

void ensure_fade_effect() {
    if (!fade_effect) fade_effect = create_palette_effect(0, 0, 0, 256, 0, 0, 0, 0);
}

void drop_text_entry() {
    ui_key_focus = nullptr;
    place_text_cursor(nullptr);
}

void record_screen(UiObject* screen) {
    for (int i = screen_depth - 1; i >= 0; --i)
        if (screen_stack[i] == screen) {
            screen_depth = i;
            break;
        }
    if (screen_depth < MAX_SCREEN_DEPTH) screen_stack[screen_depth++] = screen;
}

void hide_other_screens(UiObject* screen) {
    if (!ui_root) return;
    for (UiObject* child = ui_root->first_child; child; child = child->next_sibling)
        if (child != screen) show_ui_object(child, 0);
}

void show_screen(UiObject* screen) {
    show_ui_object(screen, 1);
    invalidate_area(0, 0, display_width(), display_height(), 1);
}

// The screen below the top becomes the top; with nothing below, the top is shown again.
UiObject* step_back() {
    if (screen_depth >= 2) --screen_depth;
    return screen_stack[screen_depth - 1];
}

void switch_to(UiObject* screen, bool poll_idle) {
    hide_other_screens(screen);
    fade_screen_out();
    show_screen(screen);
    idle_flag = 0;
    if (poll_idle)
        while (!idle_flag) sleep_thread(IDLE_POLL_UNITS);
    else
        wait_until_idle();
    fade_screen_in();
}

void switch_now(UiObject* screen) {
    lock_scheduler();
    hide_other_screens(screen);
    show_screen(screen);
    unlock_scheduler();
}

}  // namespace

void push_screen(UiObject* screen) {
    drop_text_entry();
    record_screen(screen);
    switch_to(screen, false);
}

void push_screen_now(UiObject* screen) {
    drop_text_entry();
    record_screen(screen);
    switch_now(screen);
}

void pop_screen() {
    drop_text_entry();
    if (screen_depth > 0) switch_to(step_back(), true);
}

void pop_screen_now() {
    drop_text_entry();
    if (screen_depth > 0) switch_now(step_back());
}

void fade_screen_out() {
    ensure_fade_effect();
    for (int i = 0; i < FADE_FRAMES; ++i) {
        set_palette_effect_level(fade_effect, int(int64_t(i) * FADE_BLACK / FADE_FRAMES), 1);
        wait_vertical_blank();
    }
    black_out_screen();
}

void fade_screen_in() {
    ensure_fade_effect();
    set_palette_effect_level(fade_effect, 0, 1);
    // The display takes a new palette at its next blank; wait for it, so the picture is back
    // on return.
    wait_vertical_blank();
}

void black_out_screen() {
    ensure_fade_effect();
    set_palette_effect_level(fade_effect, FADE_BLACK, 1);
}

}  // namespace vyr
