#include "library/graphics/rect.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

#include "library/graphics/plot_recorder.h"
#include "library/graphics/screen.h"

namespace vyr {

namespace {

// A row of four pattern bytes is stored as one word, byte 0 at the lowest address.
static_assert(std::endian::native == std::endian::little);

// Rows of 1 to 7 pixels alternate between bytes 0 and 1 of the row pattern.
template <int WIDTH>
void fill_short_row(uint8_t* pixel, uint32_t pattern) {
    uint8_t even = uint8_t(pattern), odd = uint8_t(pattern >> 8);
    for (int k = 0; k < WIDTH; ++k) pixel[k] = k & 1 ? odd : even;
}

using ShortRowFiller = void (*)(uint8_t*, uint32_t);
constexpr ShortRowFiller SHORT_ROW_FILLERS[8] = {
    nullptr, fill_short_row<1>, fill_short_row<2>, fill_short_row<3>,
    fill_short_row<4>, fill_short_row<5>, fill_short_row<6>, fill_short_row<7>};

// Longer rows run through all four bytes; whole aligned words take the pattern as it stands.
void fill_long_row(uint8_t* pixel, int width, uint32_t pattern) {
    for (; (reinterpret_cast<uintptr_t>(pixel) & 3) != 0; --width, pattern = std::rotr(pattern, 8))
        *pixel++ = uint8_t(pattern);
    for (; width >= 4; width -= 4, pixel += 4) std::memcpy(pixel, &pattern, 4);
    for (; width > 0; --width, pattern = std::rotr(pattern, 8)) *pixel++ = uint8_t(pattern);
}

// The rows of a rectangle on the current screen, each handed over with the matching row of
// memory; memory advances `step` bytes a row. A destroyed current screen leaves nothing to draw.
template <class Memory, class RowOp>
void for_screen_rows(int x, int y, int height, Memory* memory, ptrdiff_t step, RowOp row_op) {
    if (!current_screen) return;
    for (int row = y; row < y + height; ++row, memory += step) row_op(row_table[row] + x, memory);
}

// The same over the frame buffer.
template <class RowOp>
void for_frame_rows(int x, int y, int height, const uint8_t* source, ptrdiff_t step, RowOp row_op) {
    uint8_t* target = frame_buffer + ptrdiff_t(y) * frame_buffer_stride + 4 * ptrdiff_t(x);
    for (int row = 0; row < height; ++row, target += frame_buffer_stride, source += step) row_op(target, source);
}

// What is left of a sprite inside the clip rectangle.
struct SpriteClip {
    int left, top, width, height;
    const uint8_t* source;
};

bool clip_sprite(const Sprite* sprite, int x, int y, SpriteClip& clip) {
    int64_t left = int64_t(x) - sprite->hot_x, top = int64_t(y) - sprite->hot_y;
    int64_t right = left + sprite->width - 1, bottom = top + sprite->height - 1;
    if (left > clip_x1 || top > clip_y1 || right < clip_x0 || bottom < clip_y0) return false;
    const uint8_t* source = sprite->pixels;
    bottom = std::min<int64_t>(bottom, clip_y1);
    if (top < clip_y0) {
        source += (clip_y0 - top) * sprite->width;
        top = clip_y0;
    }
    right = std::min<int64_t>(right, clip_x1);
    if (left < clip_x0) {
        source += clip_x0 - left;
        left = clip_x0;
    }
    clip = {int(left), int(top), int(right - left + 1), int(bottom - top + 1), source};
    return true;
}

}  // namespace

void fill_rect(uint32_t pattern, int x, int y, int width, int height) {
    if (width <= 0 || !current_screen) return;
    ShortRowFiller fill_short = width < 8 ? SHORT_ROW_FILLERS[width] : nullptr;
    uint32_t row_pattern = std::rotr(pattern, 8 * ((x & 1) + (y & 1)));
    for (int row = y; row < y + height; ++row, row_pattern = std::rotr(row_pattern, 8)) {
        if (fill_short)
            fill_short(row_table[row] + x, row_pattern);
        else
            fill_long_row(row_table[row] + x, width, row_pattern);
    }
}

void remap_rect(int x, int y, int width, int height, const uint8_t* table) {
    for_screen_rows(x, y, height, table, 0, [width](uint8_t* row, const uint8_t* map) {
        for (int k = 0; k < width; ++k) row[k] = map[row[k]];
    });
}

void copy_rect_from_screen(int x, int y, int width, int height, uint8_t* destination, int gap) {
    for_screen_rows(x, y, height, destination, ptrdiff_t(width) + gap,
                    [width](uint8_t* row, uint8_t* out) { std::memcpy(out, row, size_t(width)); });
}

void draw_hline(int colour, int x1, int x2, int y) {
    if (!current_screen) return;
    auto [left, right] = std::minmax(x1, x2);
    std::memset(row_table[y] + left, uint8_t(colour), size_t(right - left) + 1);
}

void blit_opaque(int x, int y, int width, int height, const uint8_t* source, int gap) {
    for_screen_rows(x, y, height, source, ptrdiff_t(width) + gap,
                    [width](uint8_t* row, const uint8_t* in) { std::memcpy(row, in, size_t(width)); });
}

void blit_transparent(int x, int y, int width, int height, const uint8_t* source, int gap) {
    for_screen_rows(x, y, height, source, ptrdiff_t(width) + gap, [width](uint8_t* row, const uint8_t* in) {
        for (int k = 0; k < width; ++k)
            if (in[k]) row[k] = in[k];
    });
}

void blit_opaque32(int x, int y, int width, int height, const uint8_t* source, int gap) {
    for_frame_rows(x, y, height, source, ptrdiff_t(width) + gap, [width](uint8_t* row, const uint8_t* in) {
        for (int k = 0; k < width; ++k) put_frame_pixel(row + 4 * k, display_colours[in[k]]);
    });
}

void blit_transparent32(int x, int y, int width, int height, const uint8_t* source, int gap) {
    for_frame_rows(x, y, height, source, ptrdiff_t(width) + gap, [width](uint8_t* row, const uint8_t* in) {
        for (int k = 0; k < width; ++k)
            if (in[k]) put_frame_pixel(row + 4 * k, display_colours[in[k]]);
    });
}

void paint_mask(int x, int y, int width, int height, const uint8_t* mask, int gap) {
    for_screen_rows(x, y, height, mask, ptrdiff_t(width) + gap, [width](uint8_t* row, const uint8_t* in) {
        for (int k = 0; k < width; ++k)
            if (!in[k]) row[k] = MASK_PAINT_COLOUR;
    });
}

void draw_sprite(const Sprite* sprite, int x, int y) {
    if (PlotRecorder* r = plot_recorder()) return r->sprite(x - sprite->hot_x, y - sprite->hot_y, *sprite);
    SpriteClip clip;
    if (!clip_sprite(sprite, x, y, clip)) return;
    blit_transparent(clip.left, clip.top, clip.width, clip.height, clip.source, sprite->width - clip.width);
}

void draw_sprite32(const Sprite* sprite, int x, int y) {
    SpriteClip clip;
    if (!clip_sprite(sprite, x, y, clip)) return;
    blit_transparent32(clip.left, clip.top, clip.width, clip.height, clip.source, sprite->width - clip.width);
}

void draw_sprite_remap(const Sprite* sprite, int x, int y, const uint8_t* table) {
    SpriteClip clip;
    if (!clip_sprite(sprite, x, y, clip)) return;
    for_screen_rows(clip.left, clip.top, clip.height, clip.source, sprite->width, [&](uint8_t* row, const uint8_t* in) {
        for (int k = 0; k < clip.width; ++k)
            if (in[k]) row[k] = table[in[k]];
    });
}

}  // namespace vyr
