// Span tables and the span fillers that paint them onto the current 8-bit target.
// A scan converter fills the tables; a filler then paints every run from span_first to
// span_last. Fillers do not clip to the clip rectangle; they only skip scanlines that lie
// outside the tables or the target and cut runs at the target's edges.
#pragma once

#include <algorithm>
#include <cstdint>

#include "library/graphics/poly_types.h"
#include "library/graphics/screen.h"

namespace vyr {

constexpr int MAX_SPAN_ROWS = 1000;

extern int32_t span_first;
extern int32_t span_last;  // nothing is in use when below span_first
extern int32_t span_left_x[MAX_SPAN_ROWS], span_right_x[MAX_SPAN_ROWS];
extern int32_t span_left_u[MAX_SPAN_ROWS], span_right_u[MAX_SPAN_ROWS];  // 16.16 texels
extern int32_t span_left_v[MAX_SPAN_ROWS], span_right_v[MAX_SPAN_ROWS];
extern int32_t span_left_shade[MAX_SPAN_ROWS], span_right_shade[MAX_SPAN_ROWS];  // level in bits 23 to 30

// The shimmer pattern for each frame_phase.
constexpr uint8_t SHIMMER_PATTERNS[4] = {0xCC, 0x66, 0x33, 0x99};

void draw_spans_flat(uint32_t pattern);
void draw_spans_gouraud(uint32_t pattern);
void draw_spans_stipple(uint32_t colour);
void draw_spans_stipple_quarter(uint32_t colour);
void draw_spans_alternate(uint32_t colour);
void draw_spans_remap(const uint8_t* table);
void draw_spans_shimmer(uint32_t pattern);
void draw_spans_tex_plain(const TextureRecord* texture);
void draw_spans_tex_transparent_plain(const TextureRecord* texture);
void draw_spans_tex_lit(int32_t shade, const TextureRecord* texture);
void draw_spans_tex_transparent(int32_t shade, const TextureRecord* texture);
void draw_spans_tex_gouraud(const TextureRecord* texture);
void draw_spans_tex_transparent_gouraud(const TextureRecord* texture);
// Texels 0xFE and 0xFD recolour the pixel through table_a and table_b; 0xFF leaves it.
void draw_spans_tex_special(const uint8_t* table_a, const uint8_t* table_b, const TextureRecord* texture);

// Per-step change of an interpolated value over `steps` (> 0), truncated like a 32-bit division.
inline int32_t interpolation_step(int32_t from, int32_t to, int64_t steps) {
    return int32_t(int64_t(int32_t(uint32_t(to) - uint32_t(from))) / steps);
}

// The scanlines from span_first to span_last that lie in the tables and on the target.
inline void visible_span_rows(int32_t& top, int32_t& bottom) {
    top = std::max(span_first, 0);
    bottom = std::min({span_last, MAX_SPAN_ROWS - 1, screen_height - 1});
}

// Cuts the run left..right to the target's columns; false when nothing of it is on the target.
inline bool clamp_run(int32_t left, int32_t right, int32_t& x0, int32_t& x1) {
    x0 = std::max(left, 0);
    x1 = std::min(right, screen_width - 1);
    return x0 <= x1;
}

}  // namespace vyr
