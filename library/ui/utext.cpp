#include "library/ui/utext.h"

#include <algorithm>
#include <cstring>

#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/os/file.h"
#include "library/system/memory.h"
#include "library/ui/clip.h"
#include "library/ui/repaint.h"
#include "library/ui/setattr.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/ui/utext";
constexpr int TEXT_INSET = 3;
constexpr int BAR_SHORTER = 5;  // the selection bar leaves the line's last rows free
constexpr uint8_t SHADOW_COLOUR = 0;

// An object without a font of its own is measured and drawn in the small one.
void select_text_font(const UiObject* object) { select_font(object->font ? object->font : &font_small); }

void replace_text(UiObject* object, char* text) {
    free_memory(object->text, SOURCE, __LINE__);
    object->text = text;
    object->flags &= ~UIF_LAYOUT_VALID;
    invalidate_ui_object(object, 0);
}

char* copy_text(const char* first, size_t first_length, const char* second, size_t second_length) {
    auto* text = static_cast<char*>(allocate_memory(first_length + second_length + 1, SOURCE, __LINE__));
    if (first_length) std::memcpy(text, first, first_length);
    std::memcpy(text + first_length, second, second_length);
    text[first_length + second_length] = '\0';
    return text;
}

// The file without its carriage returns, terminated after its last byte; `length` excludes the
// terminator.
char* load_text_file(const char* file_name, size_t& length) {
    size_t size = 0;
    auto* bytes = static_cast<char*>(load_file_alloc(file_name, &size, SOURCE, __LINE__));
    auto* text = static_cast<char*>(allocate_memory(size + 1, SOURCE, __LINE__));
    length = 0;
    for (size_t i = 0; i < size; ++i)
        if (bytes[i] != '\r') text[length++] = bytes[i];
    text[length] = '\0';
    free_memory(bytes, SOURCE, __LINE__);
    return text;
}

// Calls found(line, start) for the start of every line after the first, in the object's font
// and width; the line count.
template <typename Found>
int walk_lines(const UiObject* object, Found found) {
    bool wrap = object->flags & UIF_WRAP;
    int count = 1;
    int run_width = 0, run_chars = 0, space_width = 0, space_chars = 0;
    for (const char* at = object->text; *at; ++at) {
        if (*at == '\n') {
            found(count++, at + 1);
            run_width = run_chars = space_width = space_chars = 0;
            continue;
        }
        if (!wrap) continue;
        run_width += get_char_width(uint8_t(*at));
        ++run_chars;
        if (*at == ' ') {
            space_width = run_width;
            space_chars = run_chars;
        }
        if (object->x0 + run_width <= object->x1) continue;
        // Break after the last space; a run without one stays whole and opens another line.
        run_width -= space_width;
        run_chars -= space_chars;
        space_width = space_chars = 0;
        found(count++, at + 1 - run_chars);
    }
    return count;
}

bool is_selected(const UiObject* object, int line) {
    return object->selection_bits ? is_ui_line_selected(object, line) != 0 : line == object->selection;
}

void draw_selection_bar(const UiObject* object, int line, int y) {
    if ((object->flags & UIF_SELECTABLE) && is_selected(object, line))
        fill_box(object->x0, y, object->x1, y + get_line_height() - BAR_SHORTER, SELECTION_BAR_PATTERN);
}

// One pass over the lines shown: (x, y) is the first character's place and (right, bottom) the
// limits; the first pass draws the selection bars of the lines it opens.
struct TextPass {
    const UiObject* object;
    int line;
    int x, y, right, bottom;
    bool draws_bars;
};

void draw_run(const char* from, const char* to, int x, int y) {
    text_x = x;
    text_y = y;
    for (; from < to; ++from) draw_char(uint8_t(*from));
}

void draw_pass(TextPass pass, const char* start, uint8_t colour) {
    const bool wrap = pass.object->flags & UIF_WRAP;
    const int line_height = get_line_height();
    text_colour = colour;
    text_x = pass.x;
    text_y = pass.y;
    const char* run = start;  // the pending run of a wrapped text
    const char* space = nullptr;
    int run_width = 0, space_width = 0;
    auto break_line = [&] {
        ++pass.line;
        text_x = pass.x;
        text_y += line_height;
        if (pass.draws_bars) draw_selection_bar(pass.object, pass.line, text_y);
    };
    const char* at = start;
    for (; *at && text_y <= pass.bottom; ++at) {
        if (*at == '\n') {
            if (wrap) draw_run(run, at, pass.x, text_y);
            run = at + 1;
            space = nullptr;
            run_width = space_width = 0;
            break_line();
            continue;
        }
        if (!wrap) {
            draw_char(uint8_t(*at));
            continue;
        }
        run_width += get_char_width(uint8_t(*at));
        if (*at == ' ') {
            space = at;
            space_width = run_width;
        }
        if (pass.x + run_width <= pass.right) continue;
        if (space) {
            draw_run(run, space + 1, pass.x, text_y);
            run = space + 1;
            space = nullptr;
            run_width -= space_width;
            space_width = 0;
        }
        break_line();
    }
    if (wrap) draw_run(run, at, pass.x, text_y);
}

}  // namespace

void set_ui_text(UiObject* object, const char* text) {
    if (!text || !*text) {
        if (object->text) replace_text(object, nullptr);
        return;
    }
    if (object->text && std::strcmp(object->text, text) == 0) return;
    replace_text(object, copy_text(nullptr, 0, text, std::strlen(text)));
}

void append_ui_text(UiObject* object, const char* text) {
    if (!text || !*text) return;
    size_t old_length = object->text ? std::strlen(object->text) : 0;
    replace_text(object, copy_text(object->text, old_length, text, std::strlen(text)));
}

void set_ui_text_from_file(UiObject* object, const char* file_name) {
    size_t length;
    char* text = load_text_file(file_name, length);
    set_ui_text(object, text);
    free_memory(text, SOURCE, __LINE__);
}

void set_ui_text_from_index(UiObject* object, const char* file_name, const char* section) {
    size_t length;
    char* text = load_text_file(file_name, length);
    const size_t name_length = std::strlen(section);
    char* end = text + length;
    char* found = nullptr;
    for (char* line = text; line < end;) {
        if (*line == '#') {
            if (found) {
                end = line;
                break;
            }
            if (size_t(end - line) >= name_length && std::memcmp(line, section, name_length) == 0) found = line;
        }
        auto* feed = static_cast<char*>(std::memchr(line, '\n', size_t(end - line)));
        line = feed ? feed + 1 : end;
    }
    if (!found) {
        report_fatal_error("Index %s not found in %s", SOURCE, __LINE__, section, file_name);
    } else {
        *end = '\0';
        auto* feed = static_cast<char*>(std::memchr(found, '\n', size_t(end - found)));
        set_ui_text(object, feed ? feed + 1 : end);
    }
    free_memory(text, SOURCE, __LINE__);
}

void measure_ui_text(UiObject* object) {
    select_text_font(object);
    int width = 0, line_width = 0, lines = 1;
    for (const char* at = object->text ? object->text : ""; *at; ++at) {
        if (*at == '\n') {
            ++lines;
            line_width = 0;
            continue;
        }
        line_width += get_char_width(uint8_t(*at));
        width = std::max(width, line_width);
    }
    invalidate_area(object->x0, object->y0, object->x1, object->y1, 0);
    object->x1 = object->x0 + width;
    object->y1 = object->y0 + get_line_height() * lines;
    ui_list_dirty = 1;
    invalidate_area(object->x0, object->y0, object->x1, object->y1, 0);
}

void layout_ui_text(UiObject* object) {
    if (!object->text || (object->flags & UIF_LAYOUT_VALID)) return;
    if (object->param2 < 0) object->param2 = 0;
    select_text_font(object);
    int count = walk_lines(object, [](int, const char*) {});
    if (count < object->param2) object->param2 = 0;
    object->line_count = count;
    free_memory(object->line_table, SOURCE, __LINE__);
    object->line_table = static_cast<const char**>(allocate_memory(sizeof(const char*) * size_t(count), SOURCE, __LINE__));
    std::fill_n(object->line_table, count, object->text);
    walk_lines(object, [object, count](int line, const char* start) {
        if (line < count) object->line_table[line] = start;
    });
    object->flags |= UIF_LAYOUT_VALID;
}

void scroll_ui_text_to(UiObject* object, int offset) {
    layout_ui_text(object);
    if (!object->text) return;
    int line = 0;
    while (line < object->line_count && object->line_table[line] - object->text < offset) ++line;
    set_ui_top_line(object, line);
}

void link_text_scroller(UiObject* text, UiObject* bar) {
    layout_ui_text(text);
    select_text_font(text);
    set_ui_attrs(bar, ATTR_RANGE, 0, text->line_count - 1, ATTR_SCROLL, text->param2,
                 (text->y1 - text->y0) / get_line_height(), 0);
}

const char* get_ui_line_start(UiObject* object, int line) {
    layout_ui_text(object);
    if (!object->text || line < 0 || line >= object->line_count) return nullptr;
    return object->line_table[line];
}

void draw_text_object(UiObject* object) {
    if (!object->text) {
        if (object->font) {
            select_font(object->font);
            draw_selection_bar(object, 0, object->y0);
        }
        return;
    }
    int inset = object->flags & UIF_TEXT_INSET ? TEXT_INSET : 0;
    if (object->param2 != 0) layout_ui_text(object);
    select_text_font(object);
    int first = object->param2;
    const char* start = object->text;
    if (first != 0) {
        // A text scrolled past its last line shows nothing.
        if (first < 0 || first >= object->line_count) return;
        start = object->line_table[first];
    }
    draw_selection_bar(object, first, object->y0);
    bool shadow = object->shadow != 0;
    if (shadow)
        draw_pass({object, first, object->x0 + inset + 1, object->y0 + 1, object->x1 + 1, object->y1 + 1, true}, start,
                  SHADOW_COLOUR);
    draw_pass({object, first, object->x0 + inset, object->y0, object->x1, object->y1, !shadow}, start,
              uint8_t(object->text_colour));
}

}  // namespace vyr
