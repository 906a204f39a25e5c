// UI objects: every widget of the menu screens is one record of a fixed pool, a node of a single
// tree whose root covers the display. The tree, the stacking of siblings, the list of visible
// objects with their clipped rectangles, the hit test, moving and sizing, and the 18 types.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <variant>

#include "library/graphics/font.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"
#include "library/system/event.h"

namespace vyr {

struct PointerShape;
struct UiObject;

constexpr uint32_t UI_MAGIC = 0xBD17;
constexpr int MAX_UI_OBJECTS = 1536;
constexpr int UI_NAME_SIZE = 32;

enum UiType : int32_t {
    UI_BOX,
    UI_FRAME,
    UI_WINDOW,
    UI_TOGGLE,
    UI_CLOSE_BOX,
    UI_CANVAS,
    UI_MENU,
    UI_MENU_LINE,
    UI_MENU_ITEM,
    UI_BUTTON,
    UI_RADIO,
    UI_RESIZE_BOX,
    UI_TEXT,
    UI_SCROLL_V,
    UI_SCROLL_H,
    UI_SPINNER,
    UI_PICTURE,
    UI_SPRITE,
    UI_TYPE_COUNT
};

constexpr uint32_t UIF_SHOWN = 1u << 0;
constexpr uint32_t UIF_CLOSE_BOX = 1u << 1;
constexpr uint32_t UIF_MOVABLE = 1u << 3;
constexpr uint32_t UIF_SELECTABLE = 1u << 4;
constexpr uint32_t UIF_MENU = 1u << 5;
constexpr uint32_t UIF_HANDLER = 1u << 6;
constexpr uint32_t UIF_DRAW_EVENT = 1u << 7;
constexpr uint32_t UIF_AT_BACK = 1u << 11;
constexpr uint32_t UIF_ON_TOP = 1u << 12;
constexpr uint32_t UIF_TRANSPARENT = 1u << 14;
constexpr uint32_t UIF_INPUT = 1u << 15;
constexpr uint32_t UIF_ARROW = 1u << 16;
constexpr uint32_t UIF_TEXT_INSET = 1u << 17;
constexpr uint32_t UIF_LAYOUT_VALID = 1u << 19;
constexpr uint32_t UIF_WRAP = 1u << 20;
constexpr uint32_t UIF_DESTROY_PENDING = 1u << 21;
constexpr uint32_t UIF_FLAT = 1u << 22;
constexpr uint32_t UIF_GLASS_DRAG = 1u << 23;
constexpr uint32_t UIF_DRAGGING = 1u << 24;

// The event mask bit of an event type; none for a type the mask cannot hold.
constexpr uint32_t ui_event_bit(int32_t type) { return type >= 0 && type < 32 ? 1u << type : 0; }

// A handler that takes an event sets its type to 0.
using UiNotify = void (*)(UiObject* object, Event& event);
using UiHandler = void (*)(UiObject* object, Event& event);
using UiDraw = void (*)(UiObject* object);
using UiMeasure = void (*)(UiObject* object);

struct UiTypeRoutines {
    UiHandler handler;
    UiDraw draw;
    UiMeasure measure;  // sets x1, y1 for ATTR_FIT
};

extern const UiTypeRoutines ui_type_table[UI_TYPE_COUNT];

// One word of a tag list: a tag or one of its values. Lists are read in order, a tag then its
// values, up to a 0 tag; each value keeps its own type, so a pointer is never read as a number.
class UiTag {
public:
    // Ends a list built by the variadic builders, which always add one: reading stops there.
    UiTag() = default;
    template <typename T>
        requires std::is_integral_v<T> || std::is_enum_v<T>
    UiTag(T number) : value_(int32_t(number)) {}
    UiTag(std::nullptr_t) : value_(nullptr) {}
    UiTag(const char* text) : value_(text) {}
    UiTag(UiNotify notify) : value_(notify) {}
    UiTag(Screen* screen) : value_(screen) {}
    UiTag(const Sprite* sprite) : value_(sprite) {}
    UiTag(const Font* font) : value_(font) {}
    UiTag(PointerShape* shape) : value_(shape) {}
    UiTag(int32_t* variable) : value_(variable) {}
    UiTag(UiObject* object) : value_(object) {}

    bool is_end() const { return std::holds_alternative<std::monostate>(value_); }
    bool is_number() const { return std::holds_alternative<int32_t>(value_); }
    int32_t number() const { return std::get<int32_t>(value_); }
    // A pointer of type P; null also for a null value. False when the word holds something else.
    template <typename P>
    bool get_pointer(P& out) const {
        if (std::holds_alternative<std::nullptr_t>(value_)) {
            out = nullptr;
            return true;
        }
        const P* held = std::get_if<P>(&value_);
        if (held) out = *held;
        return held != nullptr;
    }

private:
    std::variant<std::monostate, int32_t, std::nullptr_t, const char*, UiNotify, Screen*, const Sprite*,
                 const Font*, PointerShape*, int32_t*, UiObject*>
        value_;
};

struct UiObject {
    uint32_t magic;
    UiType type;
    UiObject* parent;
    UiObject* first_child;   // front-most; children run front to back
    UiObject* prev_sibling;  // valid only after a visible-list pass
    UiObject* next_sibling;  // one step further back
    int32_t x0, y0, x1, y1;  // absolute display coordinates, inclusive
    int32_t vis_x0, vis_y0, vis_x1, vis_y1;
    uint32_t event_mask;  // bit n: events of type n reach notify
    UiNotify notify;
    char name[UI_NAME_SIZE];
    Screen* screen;         // off-screen pixels: a canvas, a decoded picture
    const Sprite* sprite;   // what a UI_SPRITE shows
    uint32_t thread;        // a bound cooperative thread, 0 for none
    std::atomic<int> visible;  // 1 while in the visible list
    uint32_t flags;
    int32_t palette_range;
    int32_t state;
    uint32_t fill_colour;  // a four-byte fill pattern
    int32_t id;
    UiObject* owner;  // a pop-up menu's owner, set by ATTR_ID with an object
    PointerShape* pointer_shape;
    // The per-type words: range minimum / spinner step, range maximum, first line shown / scroll
    // value / spinner minimum, page / spinner maximum.
    int32_t param0, param1, param2, param3;
    char* text;              // text types: owned copy
    const Font* font;        // text types
    int32_t* variable;       // a spinner's shared integer
    const char** line_table; // text types: start of each laid-out line
    int32_t line_count;
    int32_t selection;         // selected line, or the bit set's size in bytes
    uint8_t* selection_bits;   // null for single selection
    uint32_t text_colour;      // low byte is the palette index
    int32_t shadow;
    int32_t pic_width, pic_odd, pic_height, body_length, masked, top_row, rows, compression;
    uint8_t* body;
    uint8_t* palette;
    char* file_name;
    int32_t user_word;
};

// One entry of the visible list.
struct VisibleEntry {
    int32_t x0, y0, x1, y1;
    UiObject* object;
};

extern UiObject* ui_root;
extern UiObject* ui_under_pointer;
extern UiObject* ui_key_focus;
extern UiObject* ui_joy_focus;
extern UiObject* ui_captured;
// Set by every change of the tree, stacking, showing or geometry; cleared by the visible-list pass.
extern int ui_list_dirty;
// Back to front: parents before their children.
extern VisibleEntry visible_list[MAX_UI_OBJECTS];
extern int visible_count;
extern int visible_generation;
extern int visible_peak;

// `tags` is read up to its 0 tag. A null parent makes the object the root.
UiObject* create_ui_object_list(UiType type, UiObject* parent, const char* name, const UiTag* tags);
// create_ui_object(type, parent, name, tag, values ..., 0)
template <typename... Tags>
UiObject* create_ui_object(UiType type, UiObject* parent, const char* name, Tags... tags) {
    const UiTag list[] = {UiTag(tags)..., UiTag()};
    return create_ui_object_list(type, parent, name, list);
}
// Destroys the object and its subtree at once.
void destroy_ui_object(UiObject* object);
// Destroyed once the event being dispatched to it has been delivered.
void request_ui_destroy(UiObject* object);
void destroy_ui_tree();
// Fatal when a first child does not name its parent, from the object and its following siblings.
void check_ui_tree(UiObject* object);
void check_whole_ui_tree();

void raise_ui_object(UiObject* object);
void lower_ui_object(UiObject* object);

void rebuild_visible_list();
// The front-most object taking input whose clipped rectangle holds the point; null for none.
UiObject* find_ui_object_at(int x, int y);

// Relative to the parent's top-left corner (absolute for the root).
void move_ui_object(UiObject* object, int x, int y);
// Width and height as x1 - x0 and y1 - y0.
void resize_ui_object(UiObject* object, int width, int height);

// A new screen of the object's pixel size, replacing (and destroying) any previous one.
Screen* create_ui_screen(UiObject* object);
void free_ui_screen(UiObject* object);
// A new screen of the current size keeping the old one's pixels at its top-left, and selected.
Screen* resize_ui_screen(UiObject* object);

void start_ui();
// Hides the pointer and, unless shut-down has begun, ends the program with exit code 0.
void quit_ui();

}  // namespace vyr
