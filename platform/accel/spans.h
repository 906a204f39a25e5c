// Span routines: the per-pixel work of the pipeline for one horizontal run of pixels.
//
// A routine specialised for the pipeline state is chosen once per primitive; a plain generic
// routine computes the same pixels with the state looked up pixel by pixel. It is the measure the
// specialised routines are tested and timed against, and it serves the rare states that have no
// specialised routine.
#pragma once

#include <cstdint>

namespace vyr::platform::accel {

// Interpolated values at a pixel centre. Colours and texture coordinates are premultiplied by
// oow (1/w) so that they interpolate linearly on the screen; the pipeline divides them by oow.
struct SpanAttributes {
    float oow;
    float r, g, b, a;  // 0..255 each, times oow
    float s, t;        // s/w and t/w: 256 units span the texture's larger side
};

// Chooses the routine for the current pipeline and texture state; false when that state draws
// nothing at all (the texture is used but there is no source, or a constant alpha fails the alpha
// test).
bool begin_primitive();

// Runs the chosen routine over `count` pixels of `buffer` (rows SCREEN_WIDTH apart) from (x, y)
// on, `start` holding the values at the first pixel and `step` their change from one pixel to the
// next. The routines work on groups of pixels and may read, and write back unchanged, up to
// SPAN_SLACK pixels past the span's end: a buffer drawn into has that many pixels to spare after
// its last.
constexpr int SPAN_SLACK = 15;
void draw_span(uint16_t* buffer, int x, int y, int count, const SpanAttributes& start,
               const SpanAttributes& step);

// The RGB565 words the pipeline's dither mode makes of `count` colours 0x00RRGGBB from screen
// position (x, y) on along its row.
void to_565(const uint32_t* rgb, uint16_t* out, int x, int y, int count);

// Whether the primitive begun last runs on a specialised routine.
bool primitive_is_specialised();

// The sets of routines: the generic routine alone, and the specialised routines built for any
// CPU, for CPUs with AVX2 and for CPUs with AVX-512. Primitives run on the fastest set this CPU
// has unless told otherwise (for tests and measurements); a set it lacks is not taken.
enum class SpanPath { REFERENCE, PORTABLE, AVX2, AVX512 };
bool span_path_available(SpanPath set);
SpanPath fastest_span_path();
void use_span_path(SpanPath set);

}  // namespace vyr::platform::accel
