// The two built-in bitmap fonts and text drawn at a current position in one colour. Glyphs clip
// to the clip rectangle and go into the current screen, or into the frame buffer as
// display_colours[colour] while `accelerator_flag` is set.
#pragma once

#include <cstdint>

namespace vyr {

// Draws one character cell with its top-left pixel at (x, y).
using GlyphRoutine = void (*)(int code, int x, int y, int colour);

constexpr int32_t FONT_OWN_COLOURS = 1;   // the routine is not given the text colour
constexpr int32_t FONT_PROPORTIONAL = 2;  // widths come from the width table

struct Font {
    GlyphRoutine glyph;
    int32_t fixed_width;
    int32_t height;
    int32_t flags;
    const uint8_t* width_table;  // 256 widths, read only for proportional fonts
};

extern const Font font_small;  // 3 x 5
extern const Font font_large;  // 5 x 9

// Shared by every thread; callers set them directly before drawing.
extern int32_t text_x, text_y;
extern uint8_t text_colour;

// Copies the record into the current font (initially font_small).
void select_font(const Font* font);
// Draws at (text_x, text_y) and moves text_x on by the character's width + 1.
void draw_char(int code);
void draw_text(const char* string);
// Vertical text: text_y moves on by height + 1 after each character.
void draw_text_down(const char* string);

int get_char_width(int code);  // width + 1
int get_line_height();         // height + 1
int get_text_width(const char* string);

// The glyph routines; codes outside a font's table draw nothing.
void draw_char_small(int code, int x, int y, int colour);
void draw_char_large(int code, int x, int y, int colour);

}  // namespace vyr
