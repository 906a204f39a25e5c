#include "library/ui/clip.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "library/debug/fatal.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/display.h"
#include "library/graphics/line.h"
#include "library/graphics/poly.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"
#include "library/ui/setattr.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/ui/clip";

constexpr std::array<uint8_t, 256> identity_table() {
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) table[size_t(i)] = uint8_t(i);
    return table;
}

bool inside_clip(int x, int y) { return x >= clip_x0 && x <= clip_x1 && y >= clip_y0 && y <= clip_y1; }

// Moves the corners inside the clip rectangle; false when nothing is left.
bool cut_to_clip(int& x0, int& y0, int& x1, int& y1) {
    if (x0 > clip_x1 || y0 > clip_y1 || x1 < clip_x0 || y1 < clip_y0) return false;
    x0 = std::max(x0, clip_x0);
    y0 = std::max(y0, clip_y0);
    x1 = std::min(x1, clip_x1);
    y1 = std::min(y1, clip_y1);
    return x0 <= x1 && y0 <= y1;
}

// What is left of an image placed on a rectangle: where, how much, and where in the image.
struct ImageCut {
    int x, y, width, height;
    ptrdiff_t offset;  // of the first pixel used
    int gap;           // image bytes skipped after each row used
    int rows_skipped;
};

bool cut_image(int x0, int y0, int x1, int y1, int gap, ImageCut& cut) {
    int width = x1 - x0 + 1, stride = width + gap;
    int cx0 = x0, cy0 = y0, cx1 = x1, cy1 = y1;
    if (!cut_to_clip(cx0, cy0, cx1, cy1)) return false;
    cut = {cx0, cy0, cx1 - cx0 + 1, cy1 - cy0 + 1, ptrdiff_t(cy0 - y0) * stride + (cx0 - x0),
           gap + width - (cx1 - cx0 + 1), cy0 - y0};
    return true;
}

void draw_bevel(int x0, int y0, int x1, int y1, int top_left, int bottom_right, int first_corner, int last_corner) {
    draw_hline_clipped(x0, x1, y0, top_left);
    draw_vline_clipped(x0, y0, y1, top_left);
    draw_hline_clipped(x0, x1, y1, bottom_right);
    draw_vline_clipped(x1, y0, y1, bottom_right);
    draw_box_pixel(x0, y0, first_corner);
    draw_box_pixel(x0, y1, COLOUR_HIGHLIGHT);
    draw_box_pixel(x1, y0, COLOUR_HIGHLIGHT);
    draw_box_pixel(x1, y1, last_corner);
}

int64_t scaled(int64_t over, int64_t numerator, int64_t denominator) { return over * numerator / denominator; }

int clip_segment(int& x0, int& y0, int& x1, int& y1, int left, int top, int right, int bottom) {
    if (y0 > y1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    if (x0 == x1) {
        if (x0 < left || x0 > right || y1 < top || y0 > bottom) return 0;
        y0 = std::max(y0, top);
        y1 = std::min(y1, bottom);
        return 1;
    }
    if (y0 == y1) {
        if (y0 < top || y0 > bottom || std::max(x0, x1) < left || std::min(x0, x1) > right) return 0;
        x0 = std::clamp(x0, left, right);
        x1 = std::clamp(x1, left, right);
        return 1;
    }
    if (std::max(x0, x1) < left || std::min(x0, x1) > right || y1 < top || y0 > bottom) return 0;
    int64_t dx = int64_t(x1) - x0, dy = int64_t(y1) - y0;
    int64_t ax = x0, ay = y0, bx = x1, by = y1;
    if (dx > 0) {
        if (ax < left) ay -= scaled(ax - left, dy, dx), ax = left;
        if (bx > right) by -= scaled(bx - right, dy, dx), bx = right;
    } else {
        if (bx < left) by -= scaled(bx - left, dy, dx), bx = left;
        if (ax > right) ay -= scaled(ax - right, dy, dx), ax = right;
    }
    if (ay < top) {
        ax -= scaled(ay - top, dx, dy), ay = top;
        if (ax < left || ax > right) return 0;
    }
    if (by > bottom) {
        bx -= scaled(by - bottom, dx, dy), by = bottom;
        if (bx < left || bx > right) return 0;
    }
    x0 = int(ax), y0 = int(ay), x1 = int(bx), y1 = int(by);
    return 1;
}

}  // namespace

std::array<uint8_t, 256> glass_remap = identity_table();

void draw_box_pixel(int x, int y, int colour) {
    if (inside_clip(x, y)) draw_point(x, y, colour);
}

int read_box_pixel(int x, int y) { return current_screen && inside_clip(x, y) ? row_table[y][x] : 0; }

void draw_box_outline(int x0, int y0, int x1, int y1, int colour) {
    draw_hline_clipped(x0, x1, y0, colour);
    draw_hline_clipped(x0, x1, y1, colour);
    draw_vline_clipped(x0, y0, y1, colour);
    draw_vline_clipped(x1, y0, y1, colour);
}

void draw_hline_clipped(int x0, int x1, int y, int colour) {
    int y1 = y;
    if (cut_to_clip(x0, y, x1, y1)) draw_hline(colour, x0, x1, y);
}

void draw_vline_clipped(int x, int y0, int y1, int colour) {
    int x1 = x;
    if (cut_to_clip(x, y0, x1, y1)) draw_vline(colour, x, y0, y1);
}

void fill_box(int x0, int y0, int x1, int y1, uint32_t pattern) {
    if (cut_to_clip(x0, y0, x1, y1)) fill_rect(pattern, x0, y0, x1 - x0 + 1, y1 - y0 + 1);
}

void glass_box(int x0, int y0, int x1, int y1) {
    if (cut_to_clip(x0, y0, x1, y1)) remap_rect(x0, y0, x1 - x0 + 1, y1 - y0 + 1, glass_remap.data());
}

void draw_raised_box(int x0, int y0, int x1, int y1) {
    draw_bevel(x0, y0, x1, y1, COLOUR_BEVEL_LIGHT, COLOUR_BEVEL_SHADOW, COLOUR_UI_TEXT, COLOUR_BEVEL_CORNER);
}

void draw_sunken_box(int x0, int y0, int x1, int y1) {
    draw_bevel(x0, y0, x1, y1, COLOUR_BEVEL_SHADOW, COLOUR_BEVEL_LIGHT, COLOUR_BEVEL_CORNER, COLOUR_UI_TEXT);
}

void copy_pixels_to_box(int x0, int y0, int x1, int y1, const uint8_t* pixels, int gap) {
    ImageCut cut;
    if (cut_image(x0, y0, x1, y1, gap, cut)) blit_opaque(cut.x, cut.y, cut.width, cut.height, pixels + cut.offset, cut.gap);
}

void copy_screen_to_box(int x0, int y0, int x1, int y1, const Screen* screen) {
    int width = std::min(x1 - x0 + 1, screen->width), height = std::min(y1 - y0 + 1, screen->height);
    if (width > 0 && height > 0)
        copy_pixels_to_box(x0, y0, x0 + width - 1, y0 + height - 1, screen->pixels,
                           screen->width + screen->row_pad - width);
}

void copy_pixels_to_box_masked(const UiObject* object, int x0, int y0, int x1, int y1, const uint8_t* pixels,
                               int gap) {
    ImageCut cut;
    if (!cut_image(x0, y0, x1, y1, gap, cut)) return;
    // Rows cut off at the top are picture rows too: never read past the picture's last row.
    int height = std::min(cut.height, object->pic_height - object->top_row - cut.rows_skipped);
    if (height > 0) paint_mask(cut.x, cut.y, cut.width, height, pixels + cut.offset, cut.gap);
}

void copy_box_to_pixels(int x0, int y0, int x1, int y1, uint8_t* pixels, int gap) {
    ImageCut cut;
    if (cut_image(x0, y0, x1, y1, gap, cut))
        copy_rect_from_screen(cut.x, cut.y, cut.width, cut.height, pixels + cut.offset, cut.gap);
}

void draw_xor_axis_line(int x0, int y0, int x1, int y1) {
    if (x0 == x1 || y0 == y1) {
        int left = std::min(x0, x1), top = std::min(y0, y1), right = std::max(x0, x1), bottom = std::max(y0, y1);
        if (cut_to_clip(left, top, right, bottom)) line_xor(left, top, right, bottom);
        return;
    }
    if (!inside_clip(x0, y0) || !inside_clip(x1, y1)) {
        report_fatal_error("Trying to clip a line", SOURCE, __LINE__);
        return;
    }
    line_xor(x0, y0, x1, y1);
}

void draw_ui_xor_line(int x0, int y0, int x1, int y1) {
    if (clip_line_to_display(x0, y0, x1, y1)) request_xor_line(x0, y0, x1, y1);
}

int clip_line_to_display(int& x0, int& y0, int& x1, int& y1) {
    return clip_segment(x0, y0, x1, y1, display_clip_x0, display_clip_y0, display_clip_x1, display_clip_y1);
}

int clip_line_to_clip(int& x0, int& y0, int& x1, int& y1) {
    return clip_segment(x0, y0, x1, y1, clip_x0, clip_y0, clip_x1, clip_y1);
}

void measure_ui_object(UiObject* object) { ui_type_table[object->type].measure(object); }

}  // namespace vyr
