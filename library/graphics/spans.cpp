#include "library/graphics/spans.h"

#include <cstring>
#include <utility>

#include "library/graphics/palette.h"

namespace vyr {

int32_t span_first = 0;
int32_t span_last = -1;
int32_t span_left_x[MAX_SPAN_ROWS], span_right_x[MAX_SPAN_ROWS];
int32_t span_left_u[MAX_SPAN_ROWS], span_right_u[MAX_SPAN_ROWS];
int32_t span_left_v[MAX_SPAN_ROWS], span_right_v[MAX_SPAN_ROWS];
int32_t span_left_shade[MAX_SPAN_ROWS], span_right_shade[MAX_SPAN_ROWS];

namespace {

// Calls paint(y, row, left, right, x0, x1) for every run on the target: left and right are the
// run's ends (put in order in the tables), x0 to x1 the part of it on the target.
template <class Paint>
void for_each_span(Paint paint) {
    if (!current_screen) return;
    int32_t top, bottom;
    visible_span_rows(top, bottom);
    for (int32_t y = top; y <= bottom; ++y) {
        if (span_right_x[y] < span_left_x[y]) std::swap(span_left_x[y], span_right_x[y]);
        int32_t left = span_left_x[y], right = span_right_x[y], x0, x1;
        if (clamp_run(left, right, x0, x1)) paint(y, row_table[y], left, right, x0, x1);
    }
}

uint8_t pattern_byte(uint32_t pattern, uint32_t index) { return uint8_t(pattern >> (8 * (index & 3))); }

// Two colours alternating from `first`, with aligned word stores for the middle of the run.
void fill_run(uint8_t* pixel, int32_t count, uint8_t first, uint8_t second) {
    if (first == second) {
        std::memset(pixel, first, size_t(count));
        return;
    }
    for (; count > 0 && (reinterpret_cast<uintptr_t>(pixel) & 3) != 0; --count) {
        *pixel++ = first;
        std::swap(first, second);
    }
    const uint8_t word[4] = {first, second, first, second};
    for (; count >= 4; count -= 4, pixel += 4) std::memcpy(pixel, word, 4);
    for (; count > 0; --count) {
        *pixel++ = first;
        std::swap(first, second);
    }
}

// Colour on every `stride`-th pixel of x0..x1, starting at the first x >= x0 with x % stride == phase.
void fill_every(uint8_t* row, int32_t x0, int32_t x1, int32_t stride, int32_t phase, uint8_t colour) {
    for (int32_t x = x0 + ((phase - x0) & (stride - 1)); x <= x1; x += stride) row[x] = colour;
}

enum class Texturing { PLAIN, PLAIN_CLEAR, LIT, LIT_CLEAR, GOURAUD, GOURAUD_CLEAR, SPECIAL };

constexpr bool is_gouraud(Texturing mode) { return mode == Texturing::GOURAUD || mode == Texturing::GOURAUD_CLEAR; }

// Working words of a textured filler.
struct TexWork {
    const uint8_t* texels;
    const uint8_t* shades;  // the shade table, already offset by the level for the lit forms
    const uint8_t* table_a;
    const uint8_t* table_b;
};

// One run of a textured filler: rows of 1 << SHIFT texels, the row number masked by ROW_MASK.
template <int SHIFT, uint32_t ROW_MASK, Texturing MODE>
void paint_tex_run(uint8_t* pixel, int32_t count, uint32_t u, uint32_t v, uint32_t shade, uint32_t du, uint32_t dv,
                   uint32_t dshade, const TexWork& work) {
    constexpr uint32_t COLUMN_MASK = (1u << SHIFT) - 1;
    const uint8_t* texels = work.texels;
    const uint8_t* shades = work.shades;
    for (; count > 0; --count, ++pixel, u += du, v += dv) {
        const uint32_t t = texels[(((v >> 16) & ROW_MASK) << SHIFT) | ((u >> 16) & COLUMN_MASK)];
        if constexpr (MODE == Texturing::PLAIN) {
            *pixel = uint8_t(t);
        } else if constexpr (MODE == Texturing::PLAIN_CLEAR) {
            if (t) *pixel = uint8_t(t);
        } else if constexpr (MODE == Texturing::LIT) {
            *pixel = shades[t << 8];
        } else if constexpr (MODE == Texturing::LIT_CLEAR) {
            if (t) *pixel = shades[t << 8];
        } else if constexpr (MODE == Texturing::GOURAUD) {
            *pixel = shades[t << 8 | ((shade >> 23) & 0xFF)];
            shade += dshade;
        } else if constexpr (MODE == Texturing::GOURAUD_CLEAR) {
            if (t) *pixel = shades[t << 8 | ((shade >> 23) & 0xFF)];
            shade += dshade;
        } else {
            if (t <= 0xFC)
                *pixel = uint8_t(t);
            else if (t == 0xFE)
                *pixel = work.table_a[*pixel];
            else if (t == 0xFD)
                *pixel = work.table_b[*pixel];
        }
    }
}

using TexRun = void (*)(uint8_t*, int32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, const TexWork&);

// By width class: 16 to 512 texels a row, then the four 64 x 64 terrain classes.
template <Texturing MODE>
constexpr TexRun TEX_RUNS[10] = {
    paint_tex_run<4, 0xFFFF, MODE>, paint_tex_run<5, 0xFFFF, MODE>, paint_tex_run<6, 0xFFFF, MODE>,
    paint_tex_run<7, 0xFFFF, MODE>, paint_tex_run<8, 0xFFFF, MODE>, paint_tex_run<9, 0xFFFF, MODE>,
    paint_tex_run<6, 63, MODE>,     paint_tex_run<6, 63, MODE>,     paint_tex_run<6, 63, MODE>,
    paint_tex_run<6, 63, MODE>,
};

template <Texturing MODE>
void fill_textured(const TextureRecord* texture, TexWork work) {
    const uint32_t width_class = uint32_t(texture->width_class);
    if (width_class >= 10) return;
    const TexRun run = TEX_RUNS<MODE>[width_class];
    work.texels = texture->texels;
    for_each_span([&](int32_t y, uint8_t* row, int32_t left, int32_t right, int32_t x0, int32_t x1) {
        const int64_t n = int64_t(right) - left;
        const uint32_t skipped = uint32_t(int64_t(x0) - left);
        uint32_t du = 0, dv = 0, dshade = 0;
        if (n > 0) {
            du = uint32_t(interpolation_step(span_left_u[y], span_right_u[y], n));
            dv = uint32_t(interpolation_step(span_left_v[y], span_right_v[y], n));
            if constexpr (is_gouraud(MODE))
                dshade = uint32_t(interpolation_step(span_left_shade[y], span_right_shade[y], n));
        }
        run(row + x0, x1 - x0 + 1, uint32_t(span_left_u[y]) + skipped * du, uint32_t(span_left_v[y]) + skipped * dv,
            uint32_t(span_left_shade[y]) + skipped * dshade, du, dv, dshade, work);
    });
}

}  // namespace

void draw_spans_flat(uint32_t pattern) {
    for_each_span([&](int32_t y, uint8_t* row, int32_t, int32_t, int32_t x0, int32_t x1) {
        fill_run(row + x0, x1 - x0 + 1, pattern_byte(pattern, (x0 + y) & 1), pattern_byte(pattern, (x0 + y + 1) & 1));
    });
}

void draw_spans_gouraud(uint32_t pattern) {
    const uint8_t* by_index[4];
    for (uint32_t i = 0; i < 4; ++i) by_index[i] = shade_table + pattern_byte(pattern, i) * 256;
    const uint32_t first_phase = uint32_t(span_first & 1) - uint32_t(span_first);
    for_each_span([&](int32_t y, uint8_t* row, int32_t left, int32_t right, int32_t x0, int32_t x1) {
        const int64_t n = int64_t(right) - left;
        const uint32_t dshade = n > 0 ? uint32_t(interpolation_step(span_left_shade[y], span_right_shade[y], n)) : 0;
        const uint32_t skipped = uint32_t(int64_t(x0) - left);
        uint32_t shade = uint32_t(span_left_shade[y]) + skipped * dshade;
        uint32_t index = skipped + uint32_t(left & 1) + uint32_t(y) + first_phase;
        for (uint8_t* pixel = row + x0; pixel <= row + x1; ++pixel, ++index, shade += dshade)
            *pixel = by_index[index & 3][(shade >> 23) & 0xFF];
    });
}

void draw_spans_stipple(uint32_t colour) {
    for_each_span([&](int32_t y, uint8_t* row, int32_t, int32_t, int32_t x0, int32_t x1) {
        fill_every(row, x0, x1, 2, y & 1, uint8_t(colour));
    });
}

void draw_spans_stipple_quarter(uint32_t colour) {
    for_each_span([&](int32_t y, uint8_t* row, int32_t, int32_t, int32_t x0, int32_t x1) {
        fill_every(row, x0, x1, 4, 2 * (y & 1), uint8_t(colour));
    });
}

void draw_spans_alternate(uint32_t colour) {
    for_each_span([&](int32_t y, uint8_t* row, int32_t, int32_t, int32_t x0, int32_t x1) {
        if ((y & 1) == 0) fill_every(row, x0, x1, 2, 0, uint8_t(colour));
    });
}

void draw_spans_remap(const uint8_t* table) {
    for_each_span([&](int32_t, uint8_t* row, int32_t, int32_t, int32_t x0, int32_t x1) {
        for (uint8_t* pixel = row + x0; pixel <= row + x1; ++pixel) *pixel = table[*pixel];
    });
}

void draw_spans_shimmer(uint32_t pattern) {
    // Each bit moves one scanline left (0) or right (1, the scanline after it left alone), so
    // the moves repeat every 8 + (number of 1 bits) scanlines from span_first.
    enum Move : uint8_t { LEFT, RIGHT, NONE };
    Move moves[16];
    int period = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if ((pattern >> bit) & 1) {
            moves[period++] = RIGHT;
            moves[period++] = NONE;
        } else {
            moves[period++] = LEFT;
        }
    }
    for_each_span([&](int32_t y, uint8_t* row, int32_t, int32_t, int32_t x0, int32_t x1) {
        const Move move = moves[(int64_t(y) - span_first) % period];
        if (move == LEFT) {
            // A run ending in the target's last column repeats its own last pixel.
            const int32_t count = x1 == screen_width - 1 ? x1 - x0 : x1 - x0 + 1;
            std::memmove(row + x0, row + x0 + 1, size_t(count));
        } else if (move == RIGHT) {
            std::memmove(row + x0 + 1, row + x0, size_t(x1 - x0));
        }
    });
}

void draw_spans_tex_plain(const TextureRecord* texture) { fill_textured<Texturing::PLAIN>(texture, {}); }

void draw_spans_tex_transparent_plain(const TextureRecord* texture) {
    fill_textured<Texturing::PLAIN_CLEAR>(texture, {});
}

void draw_spans_tex_lit(int32_t shade, const TextureRecord* texture) {
    fill_textured<Texturing::LIT>(texture, {nullptr, shade_table + ((uint32_t(shade) >> 23) & 0xFF), nullptr, nullptr});
}

void draw_spans_tex_transparent(int32_t shade, const TextureRecord* texture) {
    fill_textured<Texturing::LIT_CLEAR>(texture,
                                        {nullptr, shade_table + ((uint32_t(shade) >> 23) & 0xFF), nullptr, nullptr});
}

void draw_spans_tex_gouraud(const TextureRecord* texture) {
    const int32_t width_class = texture->width_class;
    const uint8_t* shades = width_class >= 6 && width_class <= 9 ? terrain_haze_tables[width_class - 6] : shade_table;
    fill_textured<Texturing::GOURAUD>(texture, {nullptr, shades, nullptr, nullptr});
}

void draw_spans_tex_transparent_gouraud(const TextureRecord* texture) {
    fill_textured<Texturing::GOURAUD_CLEAR>(texture, {nullptr, shade_table, nullptr, nullptr});
}

void draw_spans_tex_special(const uint8_t* table_a, const uint8_t* table_b, const TextureRecord* texture) {
    fill_textured<Texturing::SPECIAL>(texture, {nullptr, nullptr, table_a, table_b});
}

}  // namespace vyr
