// Straight lines from (x1, y1) to (x2, y2), both ends drawn. The target lines do not clip: their
// callers clip first. The display lines invert pixels of the locked display surface and skip,
// pixel by pixel, those outside the display clip rectangle.
#pragma once

#include <cstdint>

namespace vyr {

// Dash pattern: bit 31 governs the next pixel. The dashed lines that store it back carry the
// phase from one line to the next, so a polyline keeps its rhythm round the corners.
extern uint32_t dash_mask;

// On the current screen; nothing is drawn when there is none.
void draw_line(int colour, int x1, int y1, int x2, int y2);
void line_remap(const uint8_t* table, int x1, int y1, int x2, int y2);
void line_xor(int x1, int y1, int x2, int y2);  // p becomes p ^ 0xFF
void line_dashed(int colour, int x1, int y1, int x2, int y2);
void line_dashed_xor(int x1, int y1, int x2, int y2);
// Starts from `dash_mask` each time and leaves it as it was.
void line_dashed_remap(const uint8_t* table, int x1, int y1, int x2, int y2);
// Column x from min(y1, y2) to max(y1, y2).
void draw_vline(int colour, int x, int y1, int y2);

// In the frame buffer, as display_colours[colour].
void draw_line32(int colour, int x1, int y1, int x2, int y2);
// The same with `dash_mask`, stored back as the dashed screen lines do.
void draw_line32_dashed(int colour, int x1, int y1, int x2, int y2);

// On the locked display surface: pixel (x, y) is surface[row_offsets[y] + x], XORed with 0xB9.
// Any end points are accepted.
void draw_xor_line_raw(uint8_t* surface, const int32_t* row_offsets, int x0, int y0, int x1, int y1);
void draw_xor_dashed_line_raw(uint8_t* surface, const int32_t* row_offsets, int x0, int y0, int x1, int y1);

}  // namespace vyr
