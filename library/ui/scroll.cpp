#include "library/ui/scroll.h"

#include <algorithm>
#include <cstdint>

#include "library/system/mouse.h"
#include "library/ui/clip.h"
#include "library/ui/repaint.h"
#include "library/ui/route.h"
#include "library/ui/setattr.h"

namespace vyr {

namespace {

constexpr int TRACK_INSET = 2;
constexpr int TICK_COUNT = 10;  // spaces between the horizontal bar's nine ticks

enum ScrollMode { PAGE_BACK = -1, DRAG_THUMB = 0, PAGE_FORWARD = 1 };

// One press at a time; the grab offsets are the pointer's, from the thumb's corner.
ScrollMode mode = DRAG_THUMB;
int grab_along = 0, grab_across = 0;

bool is_horizontal(const UiObject* bar) { return bar->type == UI_SCROLL_H; }
int along(const UiObject* bar, int x, int y) { return is_horizontal(bar) ? x : y; }
int across(const UiObject* bar, int x, int y) { return is_horizontal(bar) ? y : x; }
int start_along(const UiObject* bar) { return along(bar, bar->x0, bar->y0); }
int end_along(const UiObject* bar) { return along(bar, bar->x1, bar->y1); }
int start_across(const UiObject* bar) { return across(bar, bar->x0, bar->y0); }

int32_t clamp_to_range(const UiObject* bar, int32_t value) {
    return value < bar->param0 ? bar->param0 : value > bar->param1 ? bar->param1 : value;
}

void send_scroll_event(UiObject* bar, EventType type, int value, int time) {
    Event event{type, value, bar->param2, 0, time};
    send_ui_event(bar, event);
}

// A point along the bar and one across it, as display coordinates.
void put_pointer(const UiObject* bar, int at_along, int at_across) {
    if (is_horizontal(bar))
        set_pointer_position(at_along, at_across);
    else
        set_pointer_position(at_across, at_along);
}

void press(UiObject* bar, const Event& event) {
    ScrollThumb thumb = get_scroll_thumb(bar);
    int at = along(bar, event.x, event.y);
    grab_along = at - thumb.top;
    grab_across = across(bar, event.x, event.y) - start_across(bar);
    ui_captured = bar;
    if (at < thumb.top) {
        mode = PAGE_BACK;
    } else if (at > thumb.bottom) {
        mode = PAGE_FORWARD;
    } else {
        // From here on the pointer's position along the bar is the value.
        mode = DRAG_THUMB;
        hide_pointer();
        if (is_horizontal(bar))
            set_pointer_limits(bar->param0, 0, bar->param1, 0);
        else
            set_pointer_limits(0, bar->param0, 0, bar->param1);
        put_pointer(bar, bar->param2, 0);
        set_ui_state(bar, 1);
    }
}

void drag(UiObject* bar, const Event& event) {
    bar->param2 = clamp_to_range(bar, along(bar, event.x, event.y));
    send_scroll_event(bar, EV_SCROLL, 0, event.time);
    invalidate_ui_object(bar, 0);
}

void drop_thumb(UiObject* bar, const Event& event) {
    drag(bar, event);
    reset_pointer_limits();
    ScrollThumb thumb = get_scroll_thumb(bar);
    put_pointer(bar, thumb.top + grab_along, start_across(bar) + grab_across);
    show_pointer();
}

void page(UiObject* bar, const Event& event) {
    if (find_ui_object_at(event.x, event.y) != bar) return;
    if (mode == PAGE_FORWARD)
        bar->param2 = std::min(bar->param2 + bar->param3, bar->param1);
    else
        bar->param2 = std::max(bar->param2 - bar->param3, bar->param0);
    send_scroll_event(bar, EV_SELECT, mode, event.time);
    invalidate_ui_object(bar, 0);
}

void release(UiObject* bar, const Event& event) {
    if (mode == DRAG_THUMB)
        drop_thumb(bar, event);
    else
        page(bar, event);
    ui_captured = nullptr;
    set_ui_state(bar, 0);
}

}  // namespace

ScrollThumb get_scroll_thumb(const UiObject* bar) {
    int first = start_along(bar) + TRACK_INSET, last = end_along(bar) - TRACK_INSET;
    int64_t track = last - first, span = int64_t(bar->param1) - bar->param0 + 1;
    // An empty range (an empty text is 0..-1) has nothing to scroll: the thumb fills the track.
    if (span <= 0) return {first, last};
    ScrollThumb thumb;
    thumb.top = first + int((int64_t(bar->param2) - bar->param0) * track / span);
    int length = std::max(int(int64_t(bar->param3) * track / span), MIN_THUMB_LENGTH);
    thumb.bottom = thumb.top + length;
    if (thumb.bottom > last) {
        thumb.bottom = last;
        if (thumb.top + MIN_THUMB_LENGTH > last) thumb.top = last - MIN_THUMB_LENGTH;
    }
    return thumb;
}

void handle_scroll_event(UiObject* bar, Event& event) {
    if (ui_captured != bar) {
        if (event.type == EV_MOUSE_CLICK && event.value == 1) press(bar, event);
        return;
    }
    if (event.type == EV_MOUSE_MOVE && mode == DRAG_THUMB) drag(bar, event);
    if (event.type == EV_MOUSE_CLICK && event.value == 0) release(bar, event);
}

void draw_scroll_bar(UiObject* bar) {
    if (!(bar->flags & UIF_TRANSPARENT)) {
        if ((bar->flags & UIF_GLASS_DRAG) && bar->parent && (bar->parent->flags & UIF_DRAGGING))
            glass_box(bar->x0, bar->y0, bar->x1, bar->y1);
        else
            fill_box(bar->x0, bar->y0, bar->x1, bar->y1, bar->fill_colour);
    }
    draw_raised_box(bar->x0, bar->y0, bar->x1, bar->y1);
    if (is_horizontal(bar)) {
        int step = ((bar->x1 - bar->x0) - 2 * TRACK_INSET) / TICK_COUNT, middle = (bar->y0 + bar->y1) / 2;
        for (int k = 1; k < TICK_COUNT; ++k) {
            draw_box_pixel(bar->x0 + TRACK_INSET + k * step, middle, COLOUR_UI_TEXT);
            draw_box_pixel(bar->x0 + TRACK_INSET + k * step, middle + 1, COLOUR_UI_TEXT);
        }
    }
    ScrollThumb thumb = get_scroll_thumb(bar);
    int x0 = bar->x0 + TRACK_INSET, y0 = thumb.top, x1 = bar->x1 - TRACK_INSET, y1 = thumb.bottom;
    if (is_horizontal(bar)) {
        x0 = thumb.top;
        y0 = bar->y0 + TRACK_INSET;
        x1 = thumb.bottom;
        y1 = bar->y1 - TRACK_INSET;
    }
    if (bar->state != 0)
        draw_sunken_box(x0, y0, x1, y1);
    else
        draw_raised_box(x0, y0, x1, y1);
}

}  // namespace vyr
