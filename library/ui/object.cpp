#include "library/ui/object.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "library/debug/fatal.h"
#include "library/graphics/ddraw.h"
#include "library/system/exit.h"
#include "library/system/memory.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "library/ui/button.h"
#include "library/ui/repaint.h"
#include "library/ui/route.h"
#include "library/ui/scroll.h"
#include "library/ui/setattr.h"
#include "library/ui/screens.h"
#include "library/ui/spinner.h"
#include "library/ui/uclose.h"
#include "library/ui/umenu.h"
#include "library/ui/uresize.h"
#include "library/ui/upicture.h"
#include "library/ui/usprite.h"
#include "library/ui/utext.h"
#include "library/ui/window.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/ui/object";

void ignore_event(UiObject*, Event&) {}
void draw_nothing(UiObject*) {}
void keep_size(UiObject*) {}

constexpr UiTypeRoutines NO_ROUTINES = {ignore_event, draw_nothing, keep_size};

}  // namespace

const UiTypeRoutines ui_type_table[UI_TYPE_COUNT] = {
    {ignore_event, draw_box, keep_size},                      // UI_BOX
    {ignore_event, draw_frame, keep_size},                    // UI_FRAME
    {handle_window, draw_window, keep_size},                  // UI_WINDOW
    {handle_toggle, draw_toggle, keep_size},                  // UI_TOGGLE
    {handle_close_box, draw_close_box, keep_size},            // UI_CLOSE_BOX
    {ignore_event, draw_canvas, keep_size},                   // UI_CANVAS
    {handle_menu_event, draw_menu, measure_menu},             // UI_MENU
    {ignore_event, draw_menu_line, measure_menu_line},        // UI_MENU_LINE
    {ignore_event, draw_menu_item, measure_menu_item},        // UI_MENU_ITEM
    {handle_button, draw_button, keep_size},                  // UI_BUTTON
    {handle_radio, draw_radio, keep_size},                    // UI_RADIO
    {handle_resize_box_event, draw_resize_box, keep_size},    // UI_RESIZE_BOX
    {ignore_event, draw_text_object, measure_ui_text},        // UI_TEXT
    {handle_scroll_event, draw_scroll_bar, keep_size},        // UI_SCROLL_V
    {handle_scroll_event, draw_scroll_bar, keep_size},        // UI_SCROLL_H
    {handle_spinner_event, draw_spinner, keep_size},          // UI_SPINNER
    {handle_picture, draw_picture, keep_size},                // UI_PICTURE
    {handle_sprite_event, draw_sprite_object, keep_size},     // UI_SPRITE
};

UiObject* ui_root = nullptr;
UiObject* ui_under_pointer = nullptr;
UiObject* ui_key_focus = nullptr;
UiObject* ui_joy_focus = nullptr;
UiObject* ui_captured = nullptr;
int ui_list_dirty = 0;
VisibleEntry visible_list[MAX_UI_OBJECTS];
int visible_count = 0;
int visible_generation = 0;
int visible_peak = 0;

namespace {

UiObject object_pool[MAX_UI_OBJECTS];
bool object_in_use[MAX_UI_OBJECTS];

void clear_record(UiObject* object) {
    std::destroy_at(object);
    std::construct_at(object);
}

UiObject* take_pool_record() {
    for (int i = 0; i < MAX_UI_OBJECTS; ++i)
        if (!object_in_use[i]) {
            object_in_use[i] = true;
            clear_record(&object_pool[i]);
            return &object_pool[i];
        }
    report_fatal_error("Allocate Object - too many", SOURCE, __LINE__);
    return nullptr;
}

void release_pool_record(UiObject* object) {
    if (object < object_pool || object >= object_pool + MAX_UI_OBJECTS) return;
    clear_record(object);
    object_in_use[object - object_pool] = false;
}

bool has_label(UiType type) { return type == UI_TOGGLE || type == UI_BUTTON || type == UI_RADIO || type == UI_TEXT; }

bool owns_text(UiType type) { return has_label(type) || type == UI_MENU_ITEM; }

void send_geometry_event(UiObject* object, EventType type, int x, int y) {
    Event event{type, 0, x, y, read_coarse_clock()};
    send_ui_event(object, event);
}

// The child list's link that points at `object`.
UiObject** link_to(UiObject* object) {
    UiObject** link = &object->parent->first_child;
    while (*link != object) link = &(*link)->next_sibling;
    return link;
}

void unlink_child(UiObject* object) {
    UiObject** link = link_to(object);
    *link = object->next_sibling;
    object->next_sibling = nullptr;
}

int place_among_siblings(const UiObject* object) {
    int place = 0;
    for (const UiObject* sibling = object->parent->first_child; sibling != object; sibling = sibling->next_sibling)
        ++place;
    return place;
}

// Inserts before the first sibling that `stops` accepts, or at the end.
template <typename Stop>
void insert_child_before(UiObject* object, Stop stops) {
    UiObject** link = &object->parent->first_child;
    while (*link && !stops(*link)) link = &(*link)->next_sibling;
    object->next_sibling = *link;
    *link = object;
}

bool has(const UiObject* object, uint32_t flag) { return (object->flags & flag) != 0; }

// Moves the object out of the list and back to where `stops` puts it; true when the order changed.
template <typename Stop>
bool restack(UiObject* object, Stop stops) {
    int before = place_among_siblings(object);
    unlink_child(object);
    insert_child_before(object, stops);
    return place_among_siblings(object) != before;
}

void visit_siblings(UiObject* first, int x0, int y0, int x1, int y1, bool shown) {
    if (!first) return;
    UiObject* last = first;
    first->prev_sibling = nullptr;
    for (UiObject* next = first->next_sibling; next; next = next->next_sibling) {
        next->prev_sibling = last;
        last = next;
    }
    for (UiObject* object = last; object; object = object->prev_sibling) {
        if (shown && has(object, UIF_SHOWN) && object->x0 <= x1 && object->y0 <= y1 && object->x1 >= x0 &&
            object->y1 >= y0) {
            object->visible = 1;
            object->vis_x0 = std::max(object->x0, x0);
            object->vis_y0 = std::max(object->y0, y0);
            object->vis_x1 = std::min(object->x1, x1);
            object->vis_y1 = std::min(object->y1, y1);
            visible_list[visible_count++] = {object->vis_x0, object->vis_y0, object->vis_x1, object->vis_y1, object};
            visit_siblings(object->first_child, object->vis_x0, object->vis_y0, object->vis_x1, object->vis_y1, true);
        } else {
            object->visible = 0;
            visit_siblings(object->first_child, x0, y0, x1, y1, false);
        }
    }
}

void shift_subtree(UiObject* object, int dx, int dy) {
    object->x0 += dx, object->y0 += dy, object->x1 += dx, object->y1 += dy;
    object->vis_x0 += dx, object->vis_y0 += dy, object->vis_x1 += dx, object->vis_y1 += dy;
    for (UiObject* child = object->first_child; child; child = child->next_sibling) shift_subtree(child, dx, dy);
}

void invalidate_visible_rect(const UiObject* object) {
    invalidate_area(object->vis_x0, object->vis_y0, object->vis_x1, object->vis_y1, 1);
}

int origin_x(const UiObject* object) { return object->parent ? object->parent->x0 : 0; }
int origin_y(const UiObject* object) { return object->parent ? object->parent->y0 : 0; }

}  // namespace

UiObject* create_ui_object_list(UiType type, UiObject* parent, const char* name, const UiTag* tags) {
    UiObject* object = take_pool_record();
    if (!object) return nullptr;
    object->magic = UI_MAGIC;
    object->parent = parent;
    if (parent) {
        object->next_sibling = parent->first_child;
        parent->first_child = object;
    } else {
        ui_root = object;
    }
    std::strncpy(object->name, name ? name : "", UI_NAME_SIZE - 1);
    object->event_mask = ~0u;
    object->flags = UIF_SHOWN | UIF_MOVABLE | UIF_HANDLER | UIF_INPUT | (parent ? parent->flags & UIF_GLASS_DRAG : 0);
    object->visible = 1;
    object->x0 = object->y0 = object->x1 = object->y1 = -1;
    object->fill_colour = 0xF9F9F9F9;
    object->type = type;
    if (has_label(type)) object->text_colour = 0xFBFBFBFB;
    if (type == UI_MENU) menu_row = 2;
    apply_ui_tags(object, tags);
    ui_list_dirty = 1;
    raise_ui_object(object);
    invalidate_ui_object(object, 0);
    if (ui_root) check_ui_tree(ui_root);
    return object;
}

void destroy_ui_object(UiObject* object) {
    object->flags &= ~UIF_DESTROY_PENDING;
    Event destroy{EV_DESTROY, 0, 0, 0, read_clock()};
    send_ui_event(object, destroy);
    for (UiObject** slot : {&ui_under_pointer, &ui_key_focus, &ui_joy_focus, &ui_captured})
        if (*slot == object) *slot = nullptr;
    invalidate_ui_object(object, 0);
    while (object->first_child) destroy_ui_object(object->first_child);
    if (object->thread) kill_thread(object->thread);
    if (object->parent)
        unlink_child(object);
    else if (ui_root == object)
        ui_root = nullptr;
    if (owns_text(object->type)) {
        free_memory(object->text, SOURCE, __LINE__);
        free_memory(object->line_table, SOURCE, __LINE__);
    }
    free_memory(object->selection_bits, SOURCE, __LINE__);
    release_pool_record(object);
    ui_list_dirty = 1;
}

void request_ui_destroy(UiObject* object) { object->flags |= UIF_DESTROY_PENDING; }

// At exit no handler may hand the scheduler on (a sprite's does on every event): the thread
// running the exit handlers would never be picked again and the program would not end.
void destroy_ui_tree() {
    lock_scheduler();
    if (ui_root) destroy_ui_object(ui_root);
    unlock_scheduler();
}

void check_ui_tree(UiObject* object) {
    for (; object; object = object->next_sibling) {
        if (!object->first_child) continue;
        if (object->first_child->parent != object)
            report_fatal_error("Object's Child's Parent is not Object", SOURCE, __LINE__);
        check_ui_tree(object->first_child);
    }
}

void check_whole_ui_tree() { check_ui_tree(ui_root); }

void raise_ui_object(UiObject* object) {
    if (!object->parent) {
        ui_list_dirty = 1;
        return;
    }
    raise_ui_object(object->parent);
    if (!object->parent->first_child->next_sibling) return;
    bool moved;
    if (has(object, UIF_ON_TOP))
        moved = restack(object, [](const UiObject*) { return true; });
    else if (has(object, UIF_AT_BACK))
        moved = restack(object, [](const UiObject* sibling) { return has(sibling, UIF_AT_BACK); });
    else
        moved = restack(object, [](const UiObject* sibling) { return !has(sibling, UIF_ON_TOP); });
    if (moved) {
        ui_list_dirty = 1;
        invalidate_ui_object(object, 0);
    }
}

void lower_ui_object(UiObject* object) {
    if (!object->parent) return;
    raise_ui_object(object->parent);
    if (!object->parent->first_child->next_sibling) return;
    if (has(object, UIF_ON_TOP))
        restack(object, [](const UiObject* sibling) { return !has(sibling, UIF_ON_TOP); });
    else if (has(object, UIF_AT_BACK))
        restack(object, [](const UiObject*) { return false; });
    else
        restack(object, [](const UiObject* sibling) { return has(sibling, UIF_AT_BACK) && !has(sibling, UIF_ON_TOP); });
    ui_list_dirty = 1;
    invalidate_ui_object(object, 0);
}

void rebuild_visible_list() {
    visible_count = 0;
    visit_siblings(ui_root, display_clip_x0, display_clip_y0, display_clip_x1, display_clip_y1, true);
    visible_peak = std::max(visible_peak, visible_count);
    ++visible_generation;
    ui_list_dirty = 0;
}

UiObject* find_ui_object_at(int x, int y) {
    if (ui_list_dirty) rebuild_visible_list();
    for (int i = visible_count - 1; i >= 0; --i) {
        const VisibleEntry& entry = visible_list[i];
        if (has(entry.object, UIF_INPUT) && x >= entry.x0 && x <= entry.x1 && y >= entry.y0 && y <= entry.y1)
            return entry.object;
    }
    return nullptr;
}

void move_ui_object(UiObject* object, int x, int y) {
    int dx = origin_x(object) + x - object->x0, dy = origin_y(object) + y - object->y0;
    if (dx == 0 && dy == 0) return;
    rebuild_visible_list();
    invalidate_visible_rect(object);
    shift_subtree(object, dx, dy);
    ui_list_dirty = 1;
    rebuild_visible_list();
    invalidate_visible_rect(object);
    send_geometry_event(object, EV_MOVE, object->x0 - origin_x(object), object->y0 - origin_y(object));
}

void resize_ui_object(UiObject* object, int width, int height) {
    if (width == object->x1 - object->x0 && height == object->y1 - object->y0) return;
    if (object->visible) {
        invalidate_area(object->x0, object->y0, object->x1, object->y1, 1);
        invalidate_area(object->x0, object->y0, object->x0 + width, object->y0 + height, 1);
    }
    object->x1 = object->x0 + width;
    object->y1 = object->y0 + height;
    for (UiObject* child = object->first_child; child; child = child->next_sibling)
        if (child->type == UI_RESIZE_BOX) move_ui_object(child, width - 15, height - 15);
    ui_list_dirty = 1;
    send_geometry_event(object, EV_SIZE, width, height);
}

Screen* create_ui_screen(UiObject* object) {
    free_ui_screen(object);
    object->screen = create_screen(object->x1 - object->x0 + 1, object->y1 - object->y0 + 1);
    return object->screen;
}

void free_ui_screen(UiObject* object) {
    if (object->screen) destroy_screen(object->screen);
    object->screen = nullptr;
}

Screen* resize_ui_screen(UiObject* object) {
    Screen* old = object->screen;
    if (!old) return create_ui_screen(object);
    object->screen = nullptr;
    Screen* screen = create_ui_screen(object);
    select_screen(screen);
    int width = std::min(old->width, screen->width), height = std::min(old->height, screen->height);
    blit_opaque(0, 0, width, height, old->pixels, old->width + old->row_pad - width);
    destroy_screen(old);
    return screen;
}

void start_ui() {
    load_close_box_pictures();
    load_resize_box_pictures();
    start_repaint();
    add_low_memory_handler(free_pictures_on_low_memory, SOURCE, __LINE__);
    uint32_t manager = create_thread("Object Manager", run_object_manager);
    set_thread_priority_by_id(manager, OBJECT_MANAGER_PRIORITY);
    create_thread("Update Screen", run_update_screen);
    create_thread("Display Screen", run_display_screen);
    create_thread("Cursor Flash", run_cursor_flash);
    add_exit_handler(destroy_ui_tree);
}

void quit_ui() {
    hide_pointer();
    if (!shutting_down) end_process(0);
}

}  // namespace vyr
