#include "library/ui/repaint.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "library/config/prefs.h"
#include "library/debug/fatal.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/display.h"
#include "library/graphics/pointer.h"
#include "library/os/file.h"
#include "library/system/exit.h"
#include "library/system/key.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/ui/clip.h"
#include "library/ui/route.h"
#include "library/ui/setattr.h"
#include "platform/accel/framebuffer.h"

namespace vyr {

RepaintArea* repaint_head = nullptr;
int repaint_count = 0;
int repaint_peak = 0;
std::atomic<int> update_required{0};
std::atomic<int> display_active{0};
std::atomic<int> redisplay_pending{0};
int continuous_move = 1;
Screen* composition_screen = nullptr;

namespace {

constexpr const char* SOURCE = "library/ui/repaint";
constexpr const char* CONTINUOUS_MOVE_PREF = "UI Continuous Move";
constexpr int ROOT_POLL_UNITS = 10;
constexpr int SHOT_WIDTH = 640, SHOT_HEIGHT = 480;
constexpr uint8_t CURSOR_COLOUR = 251;

struct Band {
    int x0, y0, x1, y1;
};

struct RubberLine {
    int in_use;
    int x0, y0, x1, y1;
};

RepaintArea area_pool[MAX_REPAINT_AREAS];
RepaintArea* repaint_tail = nullptr;
int area_in_hand = 0;  // the area being drawn still counts as required

Band current_band, previous_band;

int rubber_rect_shown = 0;
Band rubber_rect;
RubberLine rubber_lines[MAX_RUBBER_LINES];
int rubber_line_count = 0;

RepaintArea* allocate_area() {
    for (RepaintArea& area : area_pool)
        if (!area.in_use) {
            area = {nullptr, 1, 0, 0, 0, 0};
            return &area;
        }
    report_fatal_error("Cannot Allocate Repaint Area", SOURCE, __LINE__);
    return nullptr;
}

void free_area(RepaintArea* area) {
    if (!area->in_use) {
        report_fatal_error("Cannot Free Repaint Area", SOURCE, __LINE__);
        return;
    }
    area->in_use = 0;
}

void count_changed() { update_required = repaint_count + area_in_hand; }

void free_list() {
    for (RepaintArea* area = repaint_head; area;) {
        RepaintArea* next = area->next;
        free_area(area);
        area = next;
    }
    repaint_head = repaint_tail = nullptr;
}

// A count cleared from outside takes the list with it.
void drop_cleared_list() {
    if (repaint_count == 0 && repaint_head) {
        free_list();
        count_changed();
    }
}

void append_area(int x0, int y0, int x1, int y1) {
    RepaintArea* area = allocate_area();
    if (!area) return;
    area->x0 = x0, area->y0 = y0, area->x1 = x1, area->y1 = y1;
    if (repaint_tail)
        repaint_tail->next = area;
    else
        repaint_head = area;
    repaint_tail = area;
    ++repaint_count;
    repaint_peak = std::max(repaint_peak, repaint_count);
    count_changed();
}

bool overlaps(const RepaintArea& area, int x0, int y0, int x1, int y1) {
    return y0 <= area.y1 && area.y0 <= y1 && x0 <= area.x1 && x1 >= area.x0;
}

void add_cut_around(int x0, int y0, int x1, int y1) {
    const RepaintArea* hit = repaint_head;
    while (hit && !overlaps(*hit, x0, y0, x1, y1)) hit = hit->next;
    if (!hit) {
        append_area(x0, y0, x1, y1);
        return;
    }
    // The recursion below may change the list, so the area is read first.
    const RepaintArea area = *hit;
    if (area.y0 > y0) invalidate_area(x0, y0, x1, area.y0 - 1, 0);
    if (x0 < area.x0) invalidate_area(x0, std::max(y0, area.y0), area.x0 - 1, std::min(y1, area.y1), 0);
    if (x1 > area.x1) invalidate_area(area.x1 + 1, std::max(y0, area.y0), x1, std::min(y1, area.y1), 0);
    if (y1 > area.y1) invalidate_area(x0, area.y1 + 1, x1, y1, 0);
}

void take_pointer_off(int slot) {
    if (!pointer_drawn) return;
    restore_pointer_background(slot);
    pointer_drawn = 0;
}

void put_pointer_on(int slot) {
    save_pointer_background(slot);
    draw_pointer(slot);
    pointer_drawn = 1;
}

// Inverting twice removes a line, so one routine both shows and removes. The sides stop short
// of the corners, which would otherwise be inverted twice and vanish.
void draw_rubber_rect_lines() {
    const Band& r = rubber_rect;
    draw_ui_xor_line(r.x0, r.y0, r.x1, r.y0);
    if (r.y1 != r.y0) draw_ui_xor_line(r.x0, r.y1, r.x1, r.y1);
    if (r.y1 - r.y0 < 2) return;
    draw_ui_xor_line(r.x0, r.y0 + 1, r.x0, r.y1 - 1);
    if (r.x1 != r.x0) draw_ui_xor_line(r.x1, r.y0 + 1, r.x1, r.y1 - 1);
}

void draw_rubber_line(const RubberLine& line) { draw_ui_xor_line(line.x0, line.y0, line.x1, line.y1); }

void draw_used_rubber_lines() {
    for (const RubberLine& line : rubber_lines)
        if (line.in_use) draw_rubber_line(line);
}

bool outlines_shown() { return rubber_rect_shown || rubber_line_count > 0; }

// Around a drawing on the display itself the pointer is lifted off, so that neither spoils the other.
template <typename Draw>
void draw_on_display(Draw draw) {
    if (!have_direct_draw()) return;
    int was_drawn = pointer_drawn;
    take_pointer_off(1);
    draw();
    if (was_drawn) put_pointer_on(1);
}

void redraw_outlines(bool rect_first) {
    if (page_flipping) take_pointer_off(1);
    if (rect_first) {
        if (rubber_rect_shown) draw_rubber_rect_lines();
        draw_used_rubber_lines();
    } else {
        draw_used_rubber_lines();
        if (rubber_rect_shown) draw_rubber_rect_lines();
    }
    if (page_flipping && pointer_show_count > 0) put_pointer_on(1);
}

void draw_area(const RepaintArea& area) {
    for (int i = 0; i < visible_count; ++i) {
        const VisibleEntry entry = visible_list[i];
        UiObject* object = entry.object;
        if (object->magic != UI_MAGIC || entry.x0 > area.x1 || entry.y0 > area.y1 || entry.x1 < area.x0 ||
            entry.y1 < area.y0)
            continue;
        set_clip_rect(std::max(entry.x0, area.x0), std::max(entry.y0, area.y0), std::min(entry.x1, area.x1),
                      std::min(entry.y1, area.y1));
        if (object->flags & UIF_DRAW_EVENT) {
            Event draw{EV_DRAW, 0, 0, 0, 0};
            send_ui_event(object, draw);
        } else {
            ui_type_table[object->type].draw(object);
        }
        yield_if_due();
        update_pointer();
    }
    reset_clip_rect();
}

void draw_text_cursor(const RepaintArea& area) {
    set_clip_rect(area.x0, area.y0, area.x1, area.y1);
    draw_vline_clipped(text_cursor_x + 1, text_cursor_y + 3, text_cursor_y + 11, CURSOR_COLOUR);
    reset_clip_rect();
}

void queue_for_display(int x0, int y0, int x1, int y1) {
    Band band{std::max(x0, 0), std::max(y0, 0), std::min(x1, display_width() - 1), std::min(y1, display_height() - 1)};
    if (!redisplay_pending) {
        current_band = band;
        redisplay_pending = 1;
        return;
    }
    current_band = {std::min(current_band.x0, band.x0), std::min(current_band.y0, band.y0),
                    std::max(current_band.x1, band.x1), std::max(current_band.y1, band.y1)};
}

void redraw_one_area() {
    drop_cleared_list();
    if (!repaint_head) {
        count_changed();
        return;
    }
    if (ui_list_dirty) rebuild_visible_list();
    RepaintArea* node = repaint_head;
    const RepaintArea area = *node;
    repaint_head = node->next;
    if (!repaint_head) repaint_tail = nullptr;
    --repaint_count;
    free_area(node);
    area_in_hand = 1;
    int active = display_active;
    // A draw routine that yields must not let a half-drawn area reach the display.
    display_active = 0;
    draw_area(area);
    display_active = active;
    if (text_cursor_phase) draw_text_cursor(area);
    queue_for_display(area.x0, area.y0, area.x1, area.y1);
    area_in_hand = 0;
    count_changed();
}

void present() {
    int top = std::min(previous_band.y0, current_band.y0), bottom = std::max(previous_band.y1, current_band.y1);
    int stride = composition_screen->width + composition_screen->row_pad;
    Screen* band = wrap_screen(composition_screen->width, bottom - top + 1, composition_screen->row_pad,
                               composition_screen->pixels + size_t(top) * size_t(stride));
    select_screen(band);
    set_screen_origin(display_clip_x0, top);
    int kept_show_count = pointer_show_count;
    if (!page_flipping) {
        take_pointer_off(1);
        pointer_show_count = 0;
    }
    if (outlines_shown()) redraw_outlines(true);
    lock_display_nested();
    if (page_flipping && pointer_show_count > 0) put_pointer_on(0);
    ++update_depth;
    flip_display();
    install_ui_colours();
    if (page_flipping) {
        take_pointer_off(0);
        pointer_drawn = pointer_show_count > 0;
    }
    if (outlines_shown()) redraw_outlines(false);
    if (!page_flipping) {
        pointer_show_count = kept_show_count;
        if (pointer_show_count > 0) put_pointer_on(1);
    }
    previous_band = current_band;
    redisplay_pending = 0;
    --update_depth;
    select_screen(composition_screen);
    destroy_screen(band);
}

// Without a display there is nothing to show the rows on.
void skip_present() {
    previous_band = current_band;
    redisplay_pending = 0;
}

void wait_for_root() {
    while (!ui_root) sleep_thread(ROOT_POLL_UNITS);
}

}  // namespace

void invalidate_ui_object(UiObject* object, int whole) {
    if (shutting_down) return;
    int was_visible = object->visible;
    if (ui_list_dirty) rebuild_visible_list();
    if (was_visible || object->visible)
        invalidate_area(object->vis_x0, object->vis_y0, object->vis_x1, object->vis_y1, whole);
}

void invalidate_area(int x0, int y0, int x1, int y1, int whole) {
    if (shutting_down) return;
    if (x0 > display_clip_x1 || y0 > display_clip_y1 || x1 < display_clip_x0 || y1 < display_clip_y0) return;
    x0 = std::max(x0, display_clip_x0);
    y0 = std::max(y0, display_clip_y0);
    x1 = std::min(x1, display_clip_x1);
    y1 = std::min(y1, display_clip_y1);
    if (x0 > x1 || y0 > y1) return;
    drop_cleared_list();
    if (repaint_count > REPAINT_COLLAPSE) {
        for (const RepaintArea* area = repaint_head; area; area = area->next) {
            x0 = std::min(x0, area->x0), y0 = std::min(y0, area->y0);
            x1 = std::max(x1, area->x1), y1 = std::max(y1, area->y1);
        }
        free_list();
        repaint_count = 0;
        count_changed();
    }
    if (!repaint_head) {
        append_area(x0, y0, x1, y1);
        return;
    }
    for (const RepaintArea* area = repaint_head; area; area = area->next)
        if (area->x0 <= x0 && area->y0 <= y0 && area->x1 >= x1 && area->y1 >= y1) return;
    if (!whole) {
        add_cut_around(x0, y0, x1, y1);
        return;
    }
    // The older areas give way; their nodes are freed first so that re-adding them cannot run
    // the pool dry.
    Band older[MAX_REPAINT_AREAS];
    int count = 0;
    for (const RepaintArea* area = repaint_head; area; area = area->next)
        older[count++] = {area->x0, area->y0, area->x1, area->y1};
    free_list();
    repaint_count = 0;
    append_area(x0, y0, x1, y1);
    for (int i = 0; i < count; ++i) invalidate_area(older[i].x0, older[i].y0, older[i].x1, older[i].y1, 0);
}

void discard_repaint_areas() {
    free_list();
    repaint_count = 0;
    area_in_hand = 0;
    count_changed();
    if (composition_screen) destroy_screen(composition_screen);
    composition_screen = nullptr;
}

void resume_ui_updates() {
    display_active = 1;
    invalidate_area(0, 0, COMPOSITION_WIDTH, COMPOSITION_HEIGHT, 1);
}

void suspend_ui_updates() { display_active = 0; }

void show_rubber_rect(int x0, int y0, int x1, int y1) {
    hide_rubber_rect();
    rubber_rect = {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    rubber_rect_shown = 1;
    draw_on_display(draw_rubber_rect_lines);
}

void hide_rubber_rect() {
    if (!rubber_rect_shown) return;
    draw_on_display(draw_rubber_rect_lines);
    rubber_rect_shown = 0;
}

void show_rubber_line(int slot, int x0, int y0, int x1, int y1) {
    if (slot < 0 || slot >= MAX_RUBBER_LINES) return;
    erase_rubber_line(slot);
    RubberLine& line = rubber_lines[slot];
    line = {1, x0, y0, x1, y1};
    ++rubber_line_count;
    draw_on_display([&] { draw_rubber_line(line); });
}

void erase_rubber_line(int slot) {
    if (slot < 0 || slot >= MAX_RUBBER_LINES || !rubber_lines[slot].in_use) return;
    RubberLine& line = rubber_lines[slot];
    draw_on_display([&] { draw_rubber_line(line); });
    line.in_use = 0;
    --rubber_line_count;
}

void hide_rubber_lines() {
    for (int slot = 0; slot < MAX_RUBBER_LINES; ++slot) erase_rubber_line(slot);
    rubber_line_count = 0;
}

int toggle_continuous_move(int) {
    continuous_move = !continuous_move;
    set_pref_int(CONTINUOUS_MOVE_PREF, continuous_move);
    return 1;
}

int take_screen_shot() {
    using namespace platform::accel;
    LockedBuffer lock{};
    if (!lock_frame_buffer(LockAccess::READ, LockBuffer::FRONT, LockFormat::RGB565, lock)) return 1;
    char name[24];
    int number = 0;
    for (; number < MAX_SCREEN_SHOTS; ++number) {
        std::snprintf(name, sizeof name, "shot%04d.raw", number);
        if (!check_file_exists(name)) break;
    }
    // A full set of shots is no reason to end the game.
    if (number < MAX_SCREEN_SHOTS) {
        std::vector<uint8_t> rgb(size_t(SHOT_WIDTH) * SHOT_HEIGHT * 3);
        uint8_t* out = rgb.data();
        const auto* row = static_cast<const uint8_t*>(lock.pixels);
        for (int y = 0; y < SHOT_HEIGHT; ++y, row += lock.stride) {
            const auto* pixels = reinterpret_cast<const uint16_t*>(row);
            for (int x = 0; x < SHOT_WIDTH; ++x) {
                uint16_t pixel = pixels[x];
                *out++ = uint8_t((pixel >> 8) & 0xF8);
                *out++ = uint8_t((pixel >> 3) & 0xFC);
                *out++ = uint8_t((pixel << 3) & 0xF8);
            }
        }
        save_file(name, rgb.data(), rgb.size());
    }
    unlock_frame_buffer(LockAccess::READ, LockBuffer::FRONT);
    return 0;
}

int screen_shot_key(int) { return take_screen_shot(); }

void start_repaint() {
    add_hot_key(SCREEN_SHOT_KEY, screen_shot_key);
    resume_ui_updates();
}

void run_update_screen() {
    watch_debug_value("Repaint Count", 0, &repaint_count);
    watch_debug_value("Update Required", 0, &update_required);
    watch_debug_value("Display Screen Active", 0, &display_active);
    watch_debug_value("Redisplay Screen Semaphore", 0, &redisplay_pending);
    wait_for_root();
    get_pref_int(CONTINUOUS_MOVE_PREF, &continuous_move);
    set_pref_int(CONTINUOUS_MOVE_PREF, continuous_move);
    add_hot_key(CONTINUOUS_MOVE_KEY, toggle_continuous_move);
    set_thread_priority(UPDATE_SCREEN_PRIORITY);
    invalidate_area(0, 0, COMPOSITION_WIDTH, COMPOSITION_HEIGHT, 1);
    composition_screen = create_screen(COMPOSITION_WIDTH, COMPOSITION_HEIGHT);
    add_exit_handler(discard_repaint_areas);
    select_screen(composition_screen);
    clear_screen(0);
    wait_for_flag(&update_required);
    for (;;) {
        redraw_one_area();
        if (repaint_head)
            yield_if_due();
        else
            yield_thread();
    }
}

void run_display_screen() {
    lower_thread_priority();
    wait_for_root();
    // The first rows to show come once the composition screen exists.
    wait_for_flag(&redisplay_pending);
    set_thread_priority(DISPLAY_SCREEN_PRIORITY);
    select_screen(composition_screen);
    previous_band = {display_clip_x0, display_clip_y0, display_clip_x1, display_clip_y1};
    for (;;) {
        wait_for_flag(&redisplay_pending);
        if (!display_active) {
            wait_for_flag(&display_active);
            continue;
        }
        while (shutting_down) yield_thread();
        if (have_direct_draw())
            present();
        else
            skip_present();
    }
}

}  // namespace vyr
