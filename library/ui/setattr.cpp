#include "library/ui/setattr.h"

#include <algorithm>
#include <cstring>

#include "library/debug/fatal.h"
#include "library/graphics/palette.h"
#include "library/system/memory.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/system/timer.h"
#include "library/ui/clip.h"
#include "library/ui/repaint.h"
#include "library/ui/route.h"
#include "library/ui/uclose.h"
#include "library/ui/umenu.h"
#include "library/ui/upicture.h"
#include "library/ui/uresize.h"
#include "library/ui/utext.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/ui/setattr";
constexpr int SELECTION_GROWTH = 8;  // bytes: 64 lines

constexpr uint8_t DEFAULT_UI_COLOURS[UI_COLOUR_COUNT * 3] = {
    66, 97, 100, 76, 112, 116, 135, 169, 171, 102, 151, 154, 178, 203, 204, 255, 255, 255, 0, 127, 127,
};
const uint8_t* chosen_ui_colours = nullptr;

void report_invalid_tag() { report_fatal_error("Set Attr Invalid", SOURCE, __LINE__); }

// Takes the values of one tag in order. The end guard of a list is never passed: a tag short of
// values reads 0 or null there.
class TagValues {
public:
    explicit TagValues(const UiTag*& position) : at_(position) {}

    int32_t number() {
        if (at_->is_end()) return 0;
        const UiTag& word = *at_++;
        if (word.is_number()) return word.number();
        report_invalid_tag();
        return 0;
    }

    // A number 0 stands for none, as in lists written with plain words.
    template <typename P>
    P pointer() {
        P value = nullptr;
        if (at_->is_end()) return value;
        const UiTag& word = *at_++;
        if (word.get_pointer(value) || (word.is_number() && word.number() == 0)) return value;
        report_invalid_tag();
        return nullptr;
    }

    bool next_is_object() const {
        UiObject* object;
        return !at_->is_end() && !at_->is_number() && at_->get_pointer(object);
    }

private:
    const UiTag*& at_;
};

template <typename T>
bool update(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}

void repaint_when(bool changed, UiObject* object) {
    if (changed) invalidate_ui_object(object, 0);
}

void set_flag(UiObject* object, uint32_t flag, int on) {
    if (on)
        object->flags |= flag;
    else
        object->flags &= ~flag;
}

void send_to(UiObject* object, EventType type, int value, int x, int y) {
    Event event{type, value, x, y, read_coarse_clock()};
    send_ui_event(object, event);
}

void set_rect(UiObject* object, int x0, int y0, int x1, int y1) {
    move_ui_object(object, x0, y0);
    resize_ui_object(object, x1 - x0, y1 - y0);
}

void fill_parent(UiObject* object, int inset) {
    const UiObject* parent = object->parent;
    if (!parent) return;
    invalidate_ui_object(object, 0);
    object->x0 = parent->x0 + inset;
    object->y0 = parent->y0 + inset;
    object->x1 = parent->x1 - inset;
    object->y1 = parent->y1 - inset;
    ui_list_dirty = 1;
    invalidate_ui_object(object, 0);
    send_to(object, EV_MOVE, 0, inset, inset);
    send_to(object, EV_SIZE, 0, object->x1 - object->x0, object->y1 - object->y0);
}

void clip_to_parent(UiObject* object) {
    if (const UiObject* parent = object->parent) {
        object->x0 = std::max(object->x0, parent->x0);
        object->y0 = std::max(object->y0, parent->y0);
        object->x1 = std::min(object->x1, parent->x1);
        object->y1 = std::min(object->y1, parent->y1);
    }
    rebuild_visible_list();
}

void invalidate_parent(UiObject* object) {
    if (object->parent) invalidate_ui_object(object->parent, 0);
}

int32_t clamp_to_spinner(const UiObject* object, int32_t value) {
    return value < object->param2 ? object->param2 : value > object->param3 ? object->param3 : value;
}

void set_stacking(UiObject* object, uint32_t flag, uint32_t other, int on, void (*when_set)(UiObject*),
                  void (*when_clear)(UiObject*)) {
    set_flag(object, flag, on);
    if (on) {
        object->flags &= ~other;
        when_set(object);
    } else {
        when_clear(object);
    }
}

void apply_tag(UiObject* object, int32_t tag, TagValues& values) {
    switch (tag) {
    case ATTR_RECT:
    case ATTR_RECT_CLIPPED: {
        int x0 = values.number(), y0 = values.number(), x1 = values.number(), y1 = values.number();
        set_rect(object, x0, y0, x1, y1);
        if (tag == ATTR_RECT_CLIPPED) clip_to_parent(object);
        break;
    }
    case ATTR_POS: {
        int x = values.number(), y = values.number();
        move_ui_object(object, x, y);
        break;
    }
    case ATTR_CENTRE: {
        int x = values.number(), y = values.number();
        move_ui_object(object, x - (object->x1 - object->x0) / 2, y - (object->y1 - object->y0) / 2);
        break;
    }
    case ATTR_SIZE: {
        int width = values.number(), height = values.number();
        resize_ui_object(object, width, height);
        break;
    }
    case ATTR_FILL_PARENT_INSET: fill_parent(object, 1); break;
    case ATTR_FILL_PARENT: fill_parent(object, 0); break;
    case ATTR_FIT: measure_ui_object(object); break;
    case ATTR_KEEP_INSIDE: keep_ui_inside(object); break;
    case ATTR_RANGE: {
        bool changed = update(object->param0, values.number());
        changed |= update(object->param1, values.number());
        repaint_when(changed, object);
        break;
    }
    case ATTR_SCROLL: {
        int32_t value = values.number();
        value = value < object->param0 ? object->param0 : value > object->param1 ? object->param1 : value;
        bool changed = update(object->param2, value);
        changed |= update(object->param3, values.number());
        repaint_when(changed, object);
        break;
    }
    case ATTR_STATE: set_ui_state(object, values.number()); break;
    case ATTR_COLOUR: repaint_when(update(object->fill_colour, uint32_t(values.number())), object); break;
    case ATTR_ID:
        if (values.next_is_object())
            repaint_when(update(object->owner, values.pointer<UiObject*>()), object);
        else
            repaint_when(update(object->id, values.number()), object);
        break;
    case ATTR_RAISE: raise_ui_object(object); break;
    case ATTR_INPUT: set_flag(object, UIF_INPUT, values.number()); break;
    case ATTR_ON_TOP: set_stacking(object, UIF_ON_TOP, UIF_AT_BACK, values.number(), raise_ui_object, lower_ui_object); break;
    case ATTR_AT_BACK: set_stacking(object, UIF_AT_BACK, UIF_ON_TOP, values.number(), lower_ui_object, raise_ui_object); break;
    case ATTR_SHOWN: show_ui_object(object, values.number()); break;
    case ATTR_MOVABLE: set_flag(object, UIF_MOVABLE, values.number()); break;
    case ATTR_SELECTABLE: set_flag(object, UIF_SELECTABLE, values.number()); break;
    case ATTR_MULTI_SELECT: clear_ui_selection(object, values.number()); break;
    case ATTR_TRANSPARENT: {
        uint32_t flags = object->flags;
        set_flag(object, UIF_TRANSPARENT, values.number());
        repaint_when(flags != object->flags, object);
        break;
    }
    case ATTR_PALETTE_RANGE: object->palette_range = values.number(); break;
    case ATTR_ARROW: set_flag(object, UIF_ARROW, values.number()); break;
    case ATTR_TEXT_INSET: set_flag(object, UIF_TEXT_INSET, values.number()); break;
    case ATTR_MENU: set_flag(object, UIF_MENU, values.number()); break;
    case ATTR_HANDLER: set_flag(object, UIF_HANDLER, values.number()); break;
    case ATTR_THREAD: object->thread = uint32_t(values.number()); break;
    case ATTR_THREAD_TOP:
    case ATTR_THREAD_TOP2:
        if (object->thread) set_thread_priority_top(object->thread);
        break;
    case ATTR_NOTIFY: object->notify = values.pointer<UiNotify>(); break;
    case ATTR_NOTIFY_EVENT: object->event_mask = ui_event_bit(values.number()); break;
    case ATTR_NOTIFY_ADD: object->event_mask |= ui_event_bit(values.number()); break;
    case ATTR_NOTIFY_REMOVE: object->event_mask &= ~ui_event_bit(values.number()); break;
    case ATTR_DRAW_EVENT: set_flag(object, UIF_DRAW_EVENT, values.number()); break;
    case ATTR_POINTER: set_ui_pointer(object, values.pointer<PointerShape*>()); break;
    case ATTR_SCREEN:
        object->screen = values.pointer<Screen*>();
        invalidate_ui_object(object, 0);
        break;
    case ATTR_FONT:
        object->font = values.pointer<const Font*>();
        invalidate_ui_object(object, 0);
        break;
    case ATTR_TOP_LINE: set_ui_top_line(object, values.number()); break;
    case ATTR_SELECTED_LINE: repaint_when(update(object->selection, values.number()), object); break;
    case ATTR_WRAP:
        set_flag(object, UIF_WRAP, values.number());
        object->param2 = 0;
        object->flags &= ~UIF_LAYOUT_VALID;
        invalidate_ui_object(object, 0);
        break;
    case ATTR_TEXT_COLOUR:
        object->text_colour = uint32_t(values.number());
        invalidate_ui_object(object, 0);
        break;
    case ATTR_LINE_SELECTED: {
        int line = values.number(), on = values.number();
        set_ui_line_selected(object, line, on);
        break;
    }
    case ATTR_SHADOW: repaint_when(update(object->shadow, values.number()), object); break;
    case ATTR_STEP: object->param0 = values.number(); break;
    case ATTR_VARIABLE:
        object->variable = values.pointer<int32_t*>();
        invalidate_parent(object);
        break;
    case ATTR_MIN:
        set_spinner_min(object, values.number());
        invalidate_parent(object);
        break;
    case ATTR_MAX:
        set_spinner_max(object, values.number());
        invalidate_parent(object);
        break;
    case ATTR_SPRITE:
        object->sprite = values.pointer<const Sprite*>();
        invalidate_ui_object(object, 0);
        break;
    case ATTR_PICTURE_MASKED: object->masked = values.number(); break;
    case ATTR_PICTURE_TOP_ROW: object->top_row = values.number(); break;
    case ATTR_PICTURE_ROWS: object->rows = values.number(); break;
    case ATTR_FLAT: object->flags |= UIF_FLAT; break;
    case ATTR_GLASS_DRAG: object->flags |= UIF_GLASS_DRAG; break;
    case ATTR_SCROLLER: {
        UiObject* bar = values.pointer<UiObject*>();
        if (object->type == UI_TEXT && bar) link_text_scroller(object, bar);
        if (object->type == UI_PICTURE) link_picture_scroller(object, bar);
        break;
    }
    case ATTR_TEXT: set_ui_text(object, values.pointer<const char*>()); break;
    case ATTR_APPEND_TEXT: append_ui_text(object, values.pointer<const char*>()); break;
    case ATTR_TEXT_FILE: set_ui_text_from_file(object, values.pointer<const char*>()); break;
    case ATTR_PICTURE: set_ui_picture(object, values.pointer<const char*>()); break;
    case ATTR_TEXT_INDEXED: {
        const char* file_name = values.pointer<const char*>();
        const char* section = values.pointer<const char*>();
        set_ui_text_from_index(object, file_name, section);
        break;
    }
    case ATTR_MENU_LINE: add_menu_line(object); break;
    case ATTR_MENU_ITEM: {
        int id = values.number();
        add_menu_item(object, id, values.pointer<const char*>());
        break;
    }
    case ATTR_CLOSE_BOX: add_close_box(object); break;
    case ATTR_RESIZE_BOX: add_resize_box(object); break;
    default: report_invalid_tag(); break;
    }
}

}  // namespace

void apply_ui_tags(UiObject* object, const UiTag*& position) {
    TagValues values(position);
    while (!position->is_end()) {
        int32_t tag = values.number();
        if (tag == ATTR_END) return;
        apply_tag(object, tag, values);
    }
}

void set_ui_state(UiObject* object, int state) {
    if (!update(object->state, int32_t(state))) return;
    invalidate_ui_object(object, 0);
    send_to(object, EV_ON, state, 0, 0);
}

void show_ui_object(UiObject* object, int on) {
    on = on != 0;
    if (((object->flags & UIF_SHOWN) != 0) == bool(on)) return;
    invalidate_ui_object(object, 0);
    set_flag(object, UIF_SHOWN, on);
    ui_list_dirty = 1;
    invalidate_ui_object(object, 0);
    send_to(object, EV_DISPLAY, on, 0, 0);
    track_pointer_object(pointer_x, pointer_y);
}

void set_ui_pointer(UiObject* object, PointerShape* shape) {
    object->pointer_shape = shape;
    if (object == ui_under_pointer) set_pointer_shape(shape ? shape : pointer_arrow);
}

void set_spinner_min(UiObject* object, int minimum) {
    object->param2 = minimum;
    if (object->variable) *object->variable = clamp_to_spinner(object, *object->variable);
}

void set_spinner_max(UiObject* object, int maximum) {
    object->param3 = maximum;
    if (object->variable) *object->variable = clamp_to_spinner(object, *object->variable);
}

void set_ui_top_line(UiObject* object, int line) {
    if (!update(object->param2, int32_t(line))) return;
    object->flags &= ~UIF_LAYOUT_VALID;  // the next layout checks the line against the text
    invalidate_ui_object(object, 0);
}

void clear_ui_selection(UiObject* object, int multiple) {
    free_memory(object->selection_bits, SOURCE, __LINE__);
    object->selection_bits = nullptr;
    object->selection = 0;
    object->flags |= UIF_SELECTABLE;
    if (!multiple) return;
    object->selection_bits = static_cast<uint8_t*>(allocate_memory(SELECTION_GROWTH, SOURCE, __LINE__));
    std::memset(object->selection_bits, 0, SELECTION_GROWTH);
    object->selection = SELECTION_GROWTH;
}

void set_ui_line_selected(UiObject* object, int line, int on) {
    if (line < 0 || line >= MAX_SELECTABLE_LINES) {
        report_fatal_error("Set Object Text Set Line Selected (%08x, %d, %d)", SOURCE, __LINE__,
                           unsigned(reinterpret_cast<uintptr_t>(object)), line, on);
        return;
    }
    int byte = line / 8;
    uint8_t bit = uint8_t(0x80 >> (line % 8));
    int size = object->selection_bits ? object->selection : 0;
    if (byte >= size) {
        int grown = byte + SELECTION_GROWTH;
        auto* bits = static_cast<uint8_t*>(allocate_memory(size_t(grown), SOURCE, __LINE__));
        if (size > 0) std::memcpy(bits, object->selection_bits, size_t(size));
        std::memset(bits + size, 0, size_t(grown - size));
        free_memory(object->selection_bits, SOURCE, __LINE__);
        object->selection_bits = bits;
        object->selection = grown;
    }
    uint8_t& held = object->selection_bits[byte];
    uint8_t wanted = on ? uint8_t(held | bit) : uint8_t(held & ~bit);
    repaint_when(update(held, wanted), object);
}

int is_ui_line_selected(const UiObject* object, int line) {
    if (!object->selection_bits || line < 0 || line / 8 >= object->selection) return 0;
    return object->selection_bits[line / 8] & (0x80 >> (line % 8));
}

void keep_ui_inside(UiObject* object) {
    const UiObject* parent = object->parent;
    if (!parent) return;
    int dx = 0, dy = 0;
    if (object->x1 > parent->x1) dx = parent->x1 - object->x1;
    if (object->x0 + dx < parent->x0) dx = parent->x0 - object->x0;
    if (object->y1 > parent->y1) dy = parent->y1 - object->y1;
    if (object->y0 + dy < parent->y0) dy = parent->y0 - object->y0;
    move_ui_object(object, object->x0 + dx - parent->x0, object->y0 + dy - parent->y0);
}

void set_ui_colours(const uint8_t* table) { chosen_ui_colours = table; }

void install_ui_colours() {
    set_base_palette(chosen_ui_colours ? chosen_ui_colours : DEFAULT_UI_COLOURS, UI_COLOUR_FIRST, UI_COLOUR_COUNT, 1);
}

}  // namespace vyr
