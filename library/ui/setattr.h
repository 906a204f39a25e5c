// Tag lists: objects are configured by (tag, values ...) sequences ended by a 0 tag, and the
// setters they dispatch to. Also the seven UI colours of the base palette.
#pragma once

#include <cstdint>

#include "library/ui/object.h"

namespace vyr {

// The value count of each tag is in brackets; coordinates are relative to the parent.
enum UiAttr : int32_t {
    ATTR_END,
    ATTR_RECT,              // [4] x0, y0, x1, y1
    ATTR_RECT_CLIPPED,      // [4] as ATTR_RECT, then cut to the parent
    ATTR_POS,               // [2]
    ATTR_CENTRE,            // [2]
    ATTR_SIZE,              // [2] width, height
    ATTR_FILL_PARENT_INSET, // [0]
    ATTR_FILL_PARENT,       // [0]
    ATTR_FIT,               // [0] the type's measure routine
    ATTR_KEEP_INSIDE,       // [0]
    ATTR_RANGE,             // [2] min, max
    ATTR_SCROLL,            // [2] value, page
    ATTR_SCROLLER,          // [1] scroll bar
    ATTR_STATE,             // [1]
    ATTR_COLOUR,            // [1] fill pattern
    ATTR_ID,                // [1] a number, or a menu's owner object
    ATTR_RAISE,             // [0]
    ATTR_INPUT,             // [1]
    ATTR_ON_TOP,            // [1]
    ATTR_AT_BACK,           // [1]
    ATTR_SHOWN,             // [1]
    ATTR_MOVABLE,           // [1]
    ATTR_SELECTABLE,        // [1]
    ATTR_MULTI_SELECT,      // [1]
    ATTR_TRANSPARENT,       // [1]
    ATTR_PALETTE_RANGE,     // [1]
    ATTR_ARROW,             // [1]
    ATTR_TEXT_INSET,        // [1]
    ATTR_MENU,              // [1]
    ATTR_HANDLER,           // [1]
    ATTR_THREAD,            // [1] thread id
    ATTR_THREAD_TOP,        // [0]
    ATTR_THREAD_TOP2,       // [0]
    ATTR_NOTIFY,            // [1] UiNotify
    ATTR_NOTIFY_EVENT,      // [1] event type
    ATTR_NOTIFY_ADD,        // [1] event type
    ATTR_NOTIFY_REMOVE,     // [1] event type
    ATTR_DRAW_EVENT,        // [1]
    ATTR_POINTER,           // [1] PointerShape*
    ATTR_SCREEN,            // [1] Screen*
    ATTR_FONT,              // [1] const Font*
    ATTR_TEXT,              // [1] text
    ATTR_APPEND_TEXT,       // [1] text
    ATTR_TEXT_FILE,         // [1] file name
    ATTR_TEXT_INDEXED,      // [2] file name, section name
    ATTR_TOP_LINE,          // [1]
    ATTR_SELECTED_LINE,     // [1]
    ATTR_WRAP,              // [1]
    ATTR_TEXT_COLOUR,       // [1]
    ATTR_LINE_SELECTED,     // [2] line, on
    ATTR_SHADOW,            // [1]
    ATTR_MENU_LINE,         // [0]
    ATTR_MENU_ITEM,         // [2] id, text
    ATTR_CLOSE_BOX,         // [0]
    ATTR_RESIZE_BOX,        // [0]
    ATTR_STEP,              // [1]
    ATTR_VARIABLE,          // [1] int32_t*
    ATTR_MIN,               // [1]
    ATTR_MAX,               // [1]
    ATTR_PICTURE,           // [1] file name
    ATTR_SPRITE,            // [1] const Sprite*
    ATTR_INVALID,           // never valid
    ATTR_PICTURE_MASKED,    // [1]
    ATTR_PICTURE_TOP_ROW,   // [1]
    ATTR_PICTURE_ROWS,      // [1] 0: to the object's bottom
    ATTR_FLAT,              // [0]
    ATTR_GLASS_DRAG,        // [0]
};

constexpr int UI_COLOUR_FIRST = 246;
constexpr int UI_COLOUR_COUNT = 7;
// The roles of the UI colours.
constexpr int COLOUR_BEVEL_CORNER = 246;
constexpr int COLOUR_BEVEL_SHADOW = 247;  // also the pressed fill
constexpr int COLOUR_HIGHLIGHT = 248;     // bevel corners and selected lines
constexpr int COLOUR_DEFAULT_FILL = 249;
constexpr int COLOUR_BEVEL_LIGHT = 250;
constexpr int COLOUR_UI_TEXT = 251;  // text, cursor and tick lines
constexpr int MAX_SELECTABLE_LINES = 8192;

// Reads tags and their values up to the 0 tag; `position` ends past the last value read.
void apply_ui_tags(UiObject* object, const UiTag*& position);
// set_ui_attrs(object, tag, values ..., 0)
template <typename... Tags>
void set_ui_attrs(UiObject* object, Tags... tags) {
    const UiTag list[] = {UiTag(tags)..., UiTag()};
    const UiTag* position = list;
    apply_ui_tags(object, position);
}

// Each queues a repaint and sends its event only when the value changed.
void set_ui_state(UiObject* object, int state);
void show_ui_object(UiObject* object, int on);
// Selected at once when the object is under the pointer; null means the arrow.
void set_ui_pointer(UiObject* object, PointerShape* shape);
// Both clamp the spinner's integer into the new range.
void set_spinner_min(UiObject* object, int minimum);
void set_spinner_max(UiObject* object, int maximum);
void set_ui_top_line(UiObject* object, int line);

// Single selection, or with `multiple` a cleared set of 64 lines that grows when needed.
void clear_ui_selection(UiObject* object, int multiple);
void set_ui_line_selected(UiObject* object, int line, int on);
int is_ui_line_selected(const UiObject* object, int line);

// Moves the object by the least shift that brings it inside its parent; the left and top edges
// win when it is larger.
void keep_ui_inside(UiObject* object);

// The chosen seven RGB triples (null: the default) into base palette entries 246 to 252.
void set_ui_colours(const uint8_t* table);
void install_ui_colours();

}  // namespace vyr
