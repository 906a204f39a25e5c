#include "library/ui/upicture.h"

#include <algorithm>
#include <cstring>

#include "library/debug/fatal.h"
#include "library/graphics/palette.h"
#include "library/os/file.h"
#include "library/system/memory.h"
#include "library/system/thread.h"
#include "library/ui/clip.h"
#include "library/ui/repaint.h"
#include "library/ui/setattr.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/ui/upicture";
constexpr size_t PALETTE_SIZE = 768;

struct PaletteRange {
    int first, count;
};
// Entries 246 to 255 belong to the toolkit and the pointer.
constexpr PaletteRange PALETTE_RANGES[] = {{0, 246}, {168, 78}, {0, 64}, {64, 182},
                                           {0, 0},   {0, 192},  {0, 112}, {112, 134}};

uint32_t read_be32(const uint8_t* at) { return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3]; }
int read_be16(const uint8_t* at) { return at[0] << 8 | at[1]; }

template <typename T>
void free_field(T*& field) {
    free_memory(field, SOURCE, __LINE__);
    field = nullptr;
}

uint8_t* copy_bytes(const uint8_t* from, size_t count, size_t size) {
    auto* bytes = static_cast<uint8_t*>(allocate_memory(std::max<size_t>(size, 1), SOURCE, __LINE__));
    std::memset(bytes, 0, size);
    std::memcpy(bytes, from, std::min(count, size));
    return bytes;
}

void read_chunks(UiObject* object, const uint8_t* at, size_t left, const char* name) {
    while (left >= 8) {
        uint32_t length = read_be32(at + 4);
        size_t rounded = (size_t(length) + 1) & ~size_t(1);
        const uint8_t* data = at + 8;
        // The last chunk may lack its pad byte; anything longer than the file is broken.
        if (length > left - 8) {
            report_fatal_error("%s Chunk Longer Than File", SOURCE, __LINE__, name);
            return;
        }
        if (std::memcmp(at, "BMHD", 4) == 0 && length >= 11) {
            object->pic_width = read_be16(data);
            object->pic_height = read_be16(data + 2);
            object->compression = data[10];
            object->pic_odd = object->pic_width & 1;
        } else if (std::memcmp(at, "CMAP", 4) == 0) {
            free_field(object->palette);
            object->palette = copy_bytes(data, length, PALETTE_SIZE);
        } else if (std::memcmp(at, "BODY", 4) == 0) {
            free_field(object->body);
            object->body = copy_bytes(data, length, length);
            object->body_length = int32_t(length);
        }
        size_t used = std::min(left, 8 + rounded);
        at += used;
        left -= used;
    }
}

// Column `column` of a picture row goes to the screen when the object is that wide.
struct RowWriter {
    uint8_t* row;
    int columns;
    void put(int column, uint8_t pixel) const {
        if (column < columns) row[column] = pixel;
    }
};

void decode_run_length(const UiObject* object, Screen* screen) {
    const uint8_t* body = object->body;
    int length = object->body_length, at = 0;
    int row_length = object->pic_width + object->pic_odd, stride = screen->width + screen->row_pad;
    int columns = std::min(screen->width, row_length);
    for (int y = 0, x = 0; y < screen->height && at < length;) {
        RowWriter row{screen->pixels + size_t(y) * size_t(stride), columns};
        int n = body[at++];
        if (n < 0x80) {
            for (int i = 0; i <= n && at < length; ++i) row.put(x++, body[at++]);
        } else if (at < length) {
            uint8_t pixel = body[at++];
            for (int i = 0; i < 257 - n; ++i) row.put(x++, pixel);
        }
        if (x >= row_length) x = 0, ++y;
    }
}

void decode_plain(const UiObject* object, Screen* screen) {
    int row_length = object->pic_width + object->pic_odd, stride = screen->width + screen->row_pad;
    int columns = std::min(screen->width, object->pic_width);
    if (row_length <= 0) return;
    // Rows the body does not hold stay as cleared.
    int rows = std::min(screen->height, object->body_length / row_length);
    for (int y = 0; y < rows; ++y)
        std::memcpy(screen->pixels + size_t(y) * size_t(stride), object->body + size_t(y) * size_t(row_length),
                    size_t(std::max(columns, 0)));
}

void draw_screen_pixels(const UiObject* object) {
    const Screen* screen = object->screen;
    if (!object->masked) {
        copy_screen_to_box(object->x0, object->y0, object->x1, object->y1, screen);
        return;
    }
    // Never past the decoded rows or columns, however large the picture claims to be.
    int stride = screen->width + screen->row_pad;
    int last = object->rows ? object->y0 + object->rows : object->y1;
    last = std::min(last, object->y0 + screen->height - 1 - object->top_row);
    int right = std::min(object->x1, object->x0 + screen->width - 1);
    if (object->top_row < 0 || last < object->y0 || right < object->x0) return;
    copy_pixels_to_box_masked(object, object->x0, object->y0, right, last,
                              screen->pixels + size_t(object->top_row) * size_t(stride),
                              stride - (right - object->x0 + 1));
}

// Decoded at the object's size when it was first drawn; any other size needs decoding again.
bool fits_object(const Screen* screen, const UiObject* object) {
    return screen->width == object->x1 - object->x0 + 1 && screen->height == object->y1 - object->y0 + 1;
}

}  // namespace

void set_ui_picture(UiObject* object, const char* file_name) {
    release_ui_picture(object);
    free_ui_screen(object);
    if (!file_name) return;
    size_t length = std::strlen(file_name) + 1;
    object->file_name = static_cast<char*>(allocate_memory(length, SOURCE, __LINE__));
    std::memcpy(object->file_name, file_name, length);
}

void load_ui_picture(UiObject* object) {
    const char* name = object->file_name;
    if (!name || !check_file_exists(name)) return;
    size_t size = 0;
    auto* file = static_cast<uint8_t*>(load_file_alloc(name, &size, SOURCE, __LINE__));
    if (size < 12 || std::memcmp(file, "FORM", 4) != 0) {
        report_fatal_error("%s Not a FORM File", SOURCE, __LINE__, name);
    } else if (std::memcmp(file + 8, "PBM ", 4) != 0) {
        report_fatal_error("%s Not a PBM File", SOURCE, __LINE__, name);
    } else {
        size_t left = std::min<size_t>(read_be32(file + 4), size - 8);
        read_chunks(object, file + 12, left >= 4 ? left - 4 : 0, name);
    }
    free_memory(file, SOURCE, __LINE__);
}

void decode_ui_picture(UiObject* object) {
    Screen* screen = create_ui_screen(object);
    std::memset(screen->pixels, 0, size_t(screen->height) * size_t(screen->width + screen->row_pad));
    if (!object->body) return;
    if (object->compression)
        decode_run_length(object, screen);
    else
        decode_plain(object, screen);
}

void install_picture_palette(const UiObject* object) {
    if (!object->palette || object->palette_range < 0 || object->palette_range >= int(std::size(PALETTE_RANGES)))
        return;
    const PaletteRange& range = PALETTE_RANGES[object->palette_range];
    if (range.count) set_base_palette(object->palette + 3 * range.first, range.first, range.count, 0);
}

Screen* prepare_ui_picture(UiObject* object) {
    if (object->screen && fits_object(object->screen, object)) return object->screen;
    free_ui_screen(object);
    if (!object->body && object->file_name) load_ui_picture(object);
    yield_if_due();
    if (object->body) decode_ui_picture(object);
    yield_if_due();
    return object->screen;
}

void release_ui_picture(UiObject* object) {
    free_field(object->file_name);
    free_field(object->body);
    free_field(object->palette);
    object->body_length = 0;
}

void link_picture_scroller(UiObject* picture, UiObject* scroll_bar) {
    if (scroll_bar) set_ui_attrs(scroll_bar, ATTR_SCROLL, picture->top_row, 13, 0);
    invalidate_ui_object(picture, 0);
}

int free_hidden_pictures(UiObject* object) {
    if (!object) return 0;
    int freed = 0;
    for (; object; object = object->next_sibling) {
        // Every sibling's subtree, not the first one's only.
        if (object->first_child) freed |= free_hidden_pictures(object->first_child);
        if (object->type != UI_PICTURE || object->visible) continue;
        if (object->body || object->palette) freed = 1;
        free_field(object->body);
        free_field(object->palette);
        object->body_length = 0;
        free_ui_screen(object);
    }
    return freed;
}

int free_pictures_on_low_memory(size_t) { return ui_root ? free_hidden_pictures(ui_root) : 0; }

void handle_picture(UiObject* object, Event& event) {
    if (event.type == EV_DISPLAY) {
        if (event.value == 1 && !object->body && object->file_name)
            load_ui_picture(object);
        else if (event.value == 0)
            free_hidden_pictures(object);
    } else if (event.type == EV_DESTROY) {
        release_ui_picture(object);
        free_ui_screen(object);
    }
}

void draw_picture(UiObject* object) {
    if (!prepare_ui_picture(object)) {
        fill_box(object->x0, object->y0, object->x1, object->y1, 0);
        return;
    }
    draw_screen_pixels(object);
    yield_if_due();
    install_picture_palette(object);
}

}  // namespace vyr
