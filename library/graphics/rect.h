// Rectangles, blits and sprites. The 8-bit forms draw into the current screen through
// `row_table`; the forms ending in 32 draw into the locked `frame_buffer` through
// `display_colours`. Only the sprite drawers clip (to the clip rectangle): every other operation
// draws exactly where it is told, so its caller keeps the rectangle inside the target. With no
// current screen (the selected one was destroyed) the 8-bit forms draw nothing.
#pragma once

#include <cstdint>
#include <cstring>

namespace vyr {

// A picture with a hot spot; drawn at (x, y) its top-left pixel lands at (x - hot_x, y - hot_y).
// Colour 0 is transparent. Width and height are at least 1; rows are packed.
struct Sprite {
    int32_t width;
    int32_t height;
    int32_t hot_x;
    int32_t hot_y;
    const uint8_t* pixels;
};

// Writes one 32-bit pixel of the frame buffer, whose rows need not be word-aligned.
inline void put_frame_pixel(uint8_t* at, uint32_t colour) { std::memcpy(at, &colour, sizeof colour); }

// The colour `paint_mask` writes where the mask is 0.
constexpr uint8_t MASK_PAINT_COLOUR = 251;

// Fills with four colour bytes (byte 0 lowest); a two-colour pattern gives a checkerboard fixed
// to the target whatever the rectangle. Width 0 draws nothing.
void fill_rect(uint32_t pattern, int x, int y, int width, int height);
// Replaces each pixel p by table[p].
void remap_rect(int x, int y, int width, int height, const uint8_t* table);
// Copies the rectangle into memory; the destination advances width + gap bytes per row.
void copy_rect_from_screen(int x, int y, int width, int height, uint8_t* destination, int gap);
// Row y from min(x1, x2) to max(x1, x2) inclusive.
void draw_hline(int colour, int x1, int x2, int y);

// Images: `gap` source bytes are skipped after each row (row pitch minus width).
void blit_opaque(int x, int y, int width, int height, const uint8_t* source, int gap);
// Source bytes 0 leave the target as it was.
void blit_transparent(int x, int y, int width, int height, const uint8_t* source, int gap);
void blit_opaque32(int x, int y, int width, int height, const uint8_t* source, int gap);
void blit_transparent32(int x, int y, int width, int height, const uint8_t* source, int gap);
// Paints MASK_PAINT_COLOUR under every mask byte 0; other pixels stay.
void paint_mask(int x, int y, int width, int height, const uint8_t* mask, int gap);

// Sprites, clipped to the clip rectangle.
void draw_sprite(const Sprite* sprite, int x, int y);
void draw_sprite32(const Sprite* sprite, int x, int y);
// Each non-zero pixel p drawn as table[p].
void draw_sprite_remap(const Sprite* sprite, int x, int y, const uint8_t* table);

}  // namespace vyr
