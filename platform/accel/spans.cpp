#include "platform/accel/spans.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <type_traits>
#include <utility>

#include "platform/accel/pipeline.h"
#include "platform/accel/textures.h"

// Both kinds of routine must round alike, so no multiply and add may fuse where the CPU could.
#pragma GCC optimize("fp-contract=off")

namespace vyr::platform::accel {

namespace {

// Keeps w finite where rounding at a polygon's rim takes oow to 0 or below.
constexpr float OOW_MIN = 1e-9f;
// Texel positions (in 1/256 texel) are limited to this before they become integers.
constexpr float TEXEL_LIMIT = 16777216.0f;

// Four pixels side by side. Every per-pixel helper below is written once for a pixel (float,
// int) and for four (F4, I4), so the specialised routines, which run four pixels at a time, and
// the generic routine, which runs one, compute the same pixels bit for bit.
using F4 = float __attribute__((vector_size(16)));
using I4 = int32_t __attribute__((vector_size(16)));
constexpr int LANES = 4;

enum Channel { R, G, B, A };

template <typename I>
struct Colour {
    I r, g, b, a;

    I operator[](int channel) const {
        return channel == R ? r : channel == G ? g : channel == B ? b : a;
    }
};
using Rgba = Colour<int>;

using SpanRoutine = void (*)(uint16_t*, int, const SpanAttributes&, const SpanAttributes&);

// Everything a routine reads, gathered once per primitive.
struct Context {
    PipelineState pipeline;
    TextureSource texture;
    bool uses_texture;
    Rgba constant;
    Rgba fog_colour;
    // The fog amount at every table position (entry x 256 + fraction); all 0 while fog is off.
    int fog[(FOG_TABLE_SIZE - 1) * 256 + 1];
    uint8_t fog_source[FOG_TABLE_SIZE];  // the table `fog` was made from
    int u_wrap, v_wrap;  // texel index masks: the size less 1 to wrap, all bits to clamp
    int u_last, v_last;
    SpanRoutine routine;
    bool specialised;
};

Context context;
bool reference_only = false;

#define VYR_INLINE [[gnu::always_inline]] inline

template <typename T>
VYR_INLINE T splat(auto value) {
    return T{} + value;
}
VYR_INLINE int to_int(float v) { return int(v); }
VYR_INLINE I4 to_int(F4 v) { return __builtin_convertvector(v, I4); }
VYR_INLINE float to_float(int v) { return float(v); }
VYR_INLINE F4 to_float(I4 v) { return __builtin_convertvector(v, F4); }
VYR_INLINE int lane(int v, int) { return v; }
VYR_INLINE int lane(I4 v, int k) { return v[k]; }

// A value of each pixel from its lane number (built in registers, not through memory).
template <typename I>
VYR_INLINE I from_lanes(auto value_of) {
    if constexpr (sizeof(I) == sizeof(int))
        return value_of(0);
    else
        return I{value_of(0), value_of(1), value_of(2), value_of(3)};
}

template <typename I>
VYR_INLINE I clamp(I v, I low, I high) {
    v = v < low ? low : v;
    return v > high ? high : v;
}

// a x b for operands and product in 0..65535: on 16-bit lanes, which the vector unit multiplies
// directly (their upper halves are 0).
VYR_INLINE int mul16(int a, int b) { return a * b; }
VYR_INLINE I4 mul16(I4 a, I4 b) {
    using U8 = uint16_t __attribute__((vector_size(16)));
    return std::bit_cast<I4>(std::bit_cast<U8>(a) * std::bit_cast<U8>(b));
}

// round(a x b / 255) for a and b in 0..255.
template <typename I>
VYR_INLINE I mul8(I a, I b) {
    I x = mul16(a, b) + 128;
    return (x + (x >> 8)) >> 8;
}

template <typename I>
VYR_INLINE I alpha_weight(I alpha) {
    return alpha + (alpha >> 7);
}

template <typename I>
VYR_INLINE I lerp8(I a, I b, I weight) {
    return (mul16(a, 256 - weight) + mul16(b, weight)) >> 8;
}

// From a toward b by weight / 256 on the colour channels; a's alpha stays.
template <typename I>
VYR_INLINE Colour<I> lerp_colour(const Colour<I>& a, const Colour<I>& b, I weight) {
    return {lerp8(a.r, b.r, weight), lerp8(a.g, b.g, weight), lerp8(a.b, b.b, weight), a.a};
}

// The same on the four 16-bit lanes of a palette word at once.
VYR_INLINE uint64_t lerp_lanes(uint64_t a, uint64_t b, int weight) {
    constexpr uint64_t LANES_MASK = 0x00FF00FF00FF00FF;
    return ((a * uint64_t(256 - weight) + b * uint64_t(weight)) >> 8) & LANES_MASK;
}

template <typename F, typename I>
VYR_INLINE I round_colour(F v) {
    v = v < 0.0f ? splat<F>(0.0f) : v;
    v = v > 255.0f ? splat<F>(255.0f) : v;
    return to_int(v + 0.5f);
}

template <typename F, typename I>
VYR_INLINE I floor_to_int(F v) {
    v = v < -TEXEL_LIMIT ? splat<F>(-TEXEL_LIMIT) : v;
    v = v > TEXEL_LIMIT ? splat<F>(TEXEL_LIMIT) : v;
    I i = to_int(v);
    return i - (to_float(i) > v ? splat<I>(1) : splat<I>(0));
}

template <typename F>
VYR_INLINE F w_of(F oow) {
    return 1.0f / (oow > OOW_MIN ? oow : splat<F>(OOW_MIN));
}

// The fog amount 0..255 at w: the table position is read from w's exponent and top mantissa
// bits (the entry) and the rest of the mantissa (the fraction between entries).
template <typename F, typename I>
VYR_INLINE I fog_amount(const int* fog, F w) {
    I position = (std::bit_cast<I>(w) - 0x3F800000) >> 13;
    position = clamp(position, splat<I>(0), splat<I>((FOG_TABLE_SIZE - 1) * 256));
    return from_lanes<I>([&](int k) { return fog[lane(position, k)]; });
}

void build_fog(Context& c, const uint8_t table[FOG_TABLE_SIZE]) {
    std::memcpy(c.fog_source, table, FOG_TABLE_SIZE);
    for (int position = 0; position < (FOG_TABLE_SIZE - 1) * 256; ++position) {
        int low = table[position >> 8], high = table[(position >> 8) + 1];
        c.fog[position] = low + (((high - low) * (position & 255)) >> 8);
    }
    c.fog[(FOG_TABLE_SIZE - 1) * 256] = table[FOG_TABLE_SIZE - 1];
}

template <typename I>
VYR_INLINE Colour<I> expand_565(I p) {
    I r = p >> 11, g = p >> 5 & 63, b = p & 31;
    return {r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2, splat<I>(0)};
}

template <typename I>
VYR_INLINE I pack_565(const Colour<I>& c) {
    return (c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3;
}

template <typename I>
VYR_INLINE I wrap_index(I i, int wrap, int last) {
    return clamp(i & wrap, splat<I>(0), splat<I>(last));
}

// The byte offset of texel (u, v).
template <typename I>
VYR_INLINE I texel_offset(const Context& c, TextureFormat format, I u, I v) {
    I index = (v << c.texture.width_shift) + u;
    return format == TextureFormat::PALETTE_8 ? index : index << 1;
}

VYR_INLINE uint64_t fetch(const Context& c, TextureFormat format, int offset) {
    const uint8_t* texel = c.texture.texels + offset;
    if (format == TextureFormat::PALETTE_8)
        return c.texture.palette_opaque[texel[0]];
    return c.texture.palette_transparent[texel[0]] | uint64_t(texel[1]) << 48;
}

// Palette words of one pixel (a 64-bit word of four 16-bit lanes) or of four (two vectors of
// two pixels' lanes each).
using U16X8 = uint16_t __attribute__((vector_size(16)));
using U64X2 = uint64_t __attribute__((vector_size(16)));
struct Texels4 {
    U16X8 low, high;
};
template <typename I>
using Texels = std::conditional_t<sizeof(I) == sizeof(int), uint64_t, Texels4>;

VYR_INLINE uint64_t gather_texels(const Context& c, TextureFormat format, int offset) {
    return fetch(c, format, offset);
}
VYR_INLINE Texels4 gather_texels(const Context& c, TextureFormat format, I4 offset) {
    auto at = [&](int k) { return fetch(c, format, offset[k]); };
    return {std::bit_cast<U16X8>(U64X2{at(0), at(1)}), std::bit_cast<U16X8>(U64X2{at(2), at(3)})};
}

VYR_INLINE uint64_t lerp_texels(uint64_t a, uint64_t b, int weight) {
    return lerp_lanes(a, b, weight);
}
// The same sums as lerp_lanes, on 16-bit vector lanes.
VYR_INLINE Texels4 lerp_texels(const Texels4& a, const Texels4& b, I4 weight) {
    U16X8 w = std::bit_cast<U16X8>(weight);
    U16X8 low = __builtin_shufflevector(w, w, 0, 0, 0, 0, 2, 2, 2, 2);
    U16X8 high = __builtin_shufflevector(w, w, 4, 4, 4, 4, 6, 6, 6, 6);
    auto lerp = [](U16X8 x, U16X8 y, U16X8 f) { return (x * (256 - f) + y * f) >> 8; };
    return {lerp(a.low, b.low, low), lerp(a.high, b.high, high)};
}

VYR_INLINE Rgba split(uint64_t c) {
    return {int(c >> 16 & 255), int(c >> 32 & 255), int(c & 255), int(c >> 48 & 255)};
}
VYR_INLINE Colour<I4> split(const Texels4& c) {
    using U16X4 = uint16_t __attribute__((vector_size(8)));
    auto widen = [](U16X4 picked) { return __builtin_convertvector(picked, I4); };
    return {widen(__builtin_shufflevector(c.low, c.high, 1, 5, 9, 13)),
            widen(__builtin_shufflevector(c.low, c.high, 2, 6, 10, 14)),
            widen(__builtin_shufflevector(c.low, c.high, 0, 4, 8, 12)),
            widen(__builtin_shufflevector(c.low, c.high, 3, 7, 11, 15))};
}

template <typename F, typename I>
VYR_INLINE Colour<I> sample(const Context& c, F s, F t, TextureFormat format,
                            TextureFilter filter) {
    float scale = float(c.texture.scale);
    if (filter == TextureFilter::POINT) {
        I u = wrap_index(floor_to_int<F, I>(s * scale) >> 8, c.u_wrap, c.u_last);
        I v = wrap_index(floor_to_int<F, I>(t * scale) >> 8, c.v_wrap, c.v_last);
        return split(gather_texels(c, format, texel_offset(c, format, u, v)));
    }
    // Bilinear: texel centres sit half a texel in.
    I uf = floor_to_int<F, I>(s * scale - 128.0f);
    I vf = floor_to_int<F, I>(t * scale - 128.0f);
    I u0 = wrap_index(uf >> 8, c.u_wrap, c.u_last);
    I u1 = wrap_index((uf >> 8) + 1, c.u_wrap, c.u_last);
    I v0 = wrap_index(vf >> 8, c.v_wrap, c.v_last);
    I v1 = wrap_index((vf >> 8) + 1, c.v_wrap, c.v_last);
    I fu = uf & 255;
    Texels<I> top = lerp_texels(gather_texels(c, format, texel_offset(c, format, u0, v0)),
                                gather_texels(c, format, texel_offset(c, format, u1, v0)), fu);
    Texels<I> bottom = lerp_texels(gather_texels(c, format, texel_offset(c, format, u0, v1)),
                                   gather_texels(c, format, texel_offset(c, format, u1, v1)), fu);
    return split(lerp_texels(top, bottom, vf & 255));
}

// The attributes at pixels `first` (and the three after it, for F4) of a span.
template <typename F>
struct At {
    F oow, r, g, b, a, s, t;
};

template <typename F>
VYR_INLINE F offsets(int first) {
    if constexpr (sizeof(F) == sizeof(float))
        return float(first);
    else
        return F{0.0f, 1.0f, 2.0f, 3.0f} + float(first);
}

template <typename F>
VYR_INLINE F interpolate(float start, float step, F offset) {
    return start + offset * step;
}

// ---- The generic routine: the state is looked up for every pixel. ----

int combine_factor(CombineFactor factor, const Rgba& local, int k) {
    switch (factor) {
    case CombineFactor::ZERO: return 0;
    case CombineFactor::ONE: return 255;
    case CombineFactor::LOCAL: return local[k];
    case CombineFactor::LOCAL_ALPHA: return local.a;
    }
    return 0;
}

int combine_channel(const Combine& combine, const Rgba* const sources[3], int k) {
    const Rgba& local = *sources[int(combine.local)];
    const Rgba& other = *sources[int(combine.other)];
    switch (combine.function) {
    case CombineFunction::ZERO: return 0;
    case CombineFunction::LOCAL: return local[k];
    case CombineFunction::LOCAL_ALPHA: return local.a;
    case CombineFunction::SCALE_OTHER:
        return mul8(combine_factor(combine.factor, local, k), other[k]);
    case CombineFunction::SCALE_OTHER_MINUS_LOCAL: {
        int d = other[k] - local[k];
        return d <= 0 ? 0 : mul8(combine_factor(combine.factor, local, k), d);
    }
    }
    return 0;
}

int blend_weight(BlendFactor factor, int alpha) {
    switch (factor) {
    case BlendFactor::ZERO: return 0;
    case BlendFactor::ONE: return 256;
    case BlendFactor::SRC_ALPHA: return alpha_weight(alpha);
    case BlendFactor::ONE_MINUS_SRC_ALPHA: return 256 - alpha_weight(alpha);
    }
    return 0;
}

void reference_span(uint16_t* pixels, int count, const SpanAttributes& a,
                    const SpanAttributes& d) {
    const Context& c = context;
    const PipelineState& p = c.pipeline;
    for (int i = 0; i < count; ++i) {
        float at = offsets<float>(i);
        float w = w_of(interpolate(a.oow, d.oow, at));
        Rgba iter{round_colour<float, int>(interpolate(a.r, d.r, at) * w),
                  round_colour<float, int>(interpolate(a.g, d.g, at) * w),
                  round_colour<float, int>(interpolate(a.b, d.b, at) * w),
                  round_colour<float, int>(interpolate(a.a, d.a, at) * w)};
        Rgba texel{};
        if (c.uses_texture)
            texel = sample<float, int>(c, interpolate(a.s, d.s, at) * w,
                                       interpolate(a.t, d.t, at) * w, c.texture.format,
                                       c.texture.filter);
        const Rgba* const sources[3] = {&iter, &c.constant, &texel};
        Rgba out{combine_channel(p.colour_combine, sources, R),
                 combine_channel(p.colour_combine, sources, G),
                 combine_channel(p.colour_combine, sources, B),
                 combine_channel(p.alpha_combine, sources, A)};
        if (p.alpha_test == AlphaTest::GREATER && out.a <= p.alpha_reference)
            continue;
        if (p.fog_mode == FogMode::TABLE)
            out = lerp_colour(out, c.fog_colour, alpha_weight(fog_amount<float, int>(c.fog, w)));
        Rgba dest = expand_565(int(pixels[i]));
        int sw = blend_weight(p.blend_source, out.a);
        int dw = blend_weight(p.blend_destination, out.a);
        auto blend = [&](int source, int destination) {
            return std::min(255, (source * sw + destination * dw) >> 8);
        };
        out = {blend(out.r, dest.r), blend(out.g, dest.g), blend(out.b, dest.b), out.a};
        pixels[i] = uint16_t(pack_565(out));
    }
}

// ---- Specialised routines: one per reduced state, chosen once per primitive. ----

enum class ColourOp : uint8_t { ITERATED, CONSTANT, TEXTURE, TEXTURE_X_ITERATED };
enum class AlphaOp : uint8_t { ITERATED, CONSTANT, TEXTURE, TEXTURE_MINUS_CONSTANT };
enum class Blend : uint8_t { REPLACE, ALPHA };
// No texture, or a format and filter.
enum class Texturing : uint8_t { NONE, P8_POINT, P8_BILINEAR, AP88_POINT, AP88_BILINEAR };

using U4 = uint16_t __attribute__((vector_size(8)));
using S8 = uint16_t __attribute__((vector_size(16)));

template <typename I>
VYR_INLINE I load_pixels(const uint16_t* p) {
    if constexpr (sizeof(I) == sizeof(int)) {
        return p[0];
    } else {
        U4 packed;
        std::memcpy(&packed, p, sizeof packed);
        return __builtin_convertvector(packed, I4);
    }
}

template <typename I>
VYR_INLINE void store_pixels(uint16_t* p, I values) {
    if constexpr (sizeof(I) == sizeof(int)) {
        p[0] = uint16_t(values);
    } else {
        S8 halves = std::bit_cast<S8>(values);
        U4 packed = __builtin_shufflevector(halves, halves, 0, 2, 4, 6);
        std::memcpy(p, &packed, sizeof packed);
    }
}

// Pixels `first` on (one, or four) of a span through the reduced pipeline.
template <ColourOp C, AlphaOp AO, Texturing T, Blend BL, bool TEST, typename F, typename I>
VYR_INLINE void shade(uint16_t* pixels, const SpanAttributes& a, const SpanAttributes& d,
                      int first) {
    constexpr bool ITER_RGB = C == ColourOp::ITERATED || C == ColourOp::TEXTURE_X_ITERATED;
    constexpr TextureFormat FORMAT = T == Texturing::AP88_POINT || T == Texturing::AP88_BILINEAR
                                         ? TextureFormat::ALPHA_PALETTE_88
                                         : TextureFormat::PALETTE_8;
    constexpr TextureFilter FILTER = T == Texturing::P8_BILINEAR || T == Texturing::AP88_BILINEAR
                                         ? TextureFilter::BILINEAR
                                         : TextureFilter::POINT;
    const Context& c = context;
    F at = offsets<F>(first);
    F w = w_of(interpolate(a.oow, d.oow, at));
    Colour<I> texel{};
    if constexpr (T != Texturing::NONE)
        texel = sample<F, I>(c, interpolate(a.s, d.s, at) * w, interpolate(a.t, d.t, at) * w,
                             FORMAT, FILTER);
    Colour<I> out;
    if constexpr (ITER_RGB) {
        out.r = round_colour<F, I>(interpolate(a.r, d.r, at) * w);
        out.g = round_colour<F, I>(interpolate(a.g, d.g, at) * w);
        out.b = round_colour<F, I>(interpolate(a.b, d.b, at) * w);
        if constexpr (C == ColourOp::TEXTURE_X_ITERATED) {
            out.r = mul8(out.r, texel.r);
            out.g = mul8(out.g, texel.g);
            out.b = mul8(out.b, texel.b);
        }
    } else if constexpr (C == ColourOp::CONSTANT) {
        out = {splat<I>(c.constant.r), splat<I>(c.constant.g), splat<I>(c.constant.b), I{}};
    } else {
        out = texel;
    }
    if constexpr (AO == AlphaOp::ITERATED)
        out.a = round_colour<F, I>(interpolate(a.a, d.a, at) * w);
    else if constexpr (AO == AlphaOp::CONSTANT)
        out.a = splat<I>(c.constant.a);
    else if constexpr (AO == AlphaOp::TEXTURE)
        out.a = texel.a;
    else
        out.a = clamp(texel.a - c.constant.a, splat<I>(0), splat<I>(255));
    Colour<I> fog{splat<I>(c.fog_colour.r), splat<I>(c.fog_colour.g), splat<I>(c.fog_colour.b),
                  I{}};
    out = lerp_colour(out, fog, alpha_weight(fog_amount<F, I>(c.fog, w)));
    I before = load_pixels<I>(pixels + first);
    I alpha = out.a;
    if constexpr (BL == Blend::ALPHA)
        out = lerp_colour(expand_565(before), out, alpha_weight(alpha));
    I result = pack_565(out);
    if constexpr (TEST)
        result = alpha > int(c.pipeline.alpha_reference) ? result : before;
    store_pixels(pixels + first, result);
}

// Built for CPUs with AVX2 (whose vector unit has 32-bit multiplies, minimum and maximum and lane
// extracts) and for any other; the loader picks the one the machine runs. ThreadSanitizer's
// run-time is not up when the loader makes that choice, so its builds take the plain one.
#if defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define VYR_SPAN_TARGETS __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define VYR_SPAN_TARGETS
#endif

template <ColourOp C, AlphaOp AO, Texturing T, Blend BL, bool TEST>
VYR_SPAN_TARGETS void specialised_span(uint16_t* pixels, int count, const SpanAttributes& a,
                                       const SpanAttributes& d) {
    int i = 0;
    for (; i + LANES <= count; i += LANES)
        shade<C, AO, T, BL, TEST, F4, I4>(pixels, a, d, i);
    for (; i < count; ++i)
        shade<C, AO, T, BL, TEST, float, int>(pixels, a, d, i);
}

#undef VYR_INLINE
#undef VYR_SPAN_TARGETS

constexpr int COLOUR_OPS = 4, ALPHA_OPS = 4, TEXTURINGS = 5, BLENDS = 2;

constexpr int routine_index(ColourOp c, AlphaOp a, Texturing t, Blend b, bool test) {
    return (((int(c) * ALPHA_OPS + int(a)) * TEXTURINGS + int(t)) * BLENDS + int(b)) * 2 +
           int(test);
}

// Whether a reduced state has a routine of its own: the untextured ones, and textures with their
// colour as it is or times the iterated colour. The alpha test is resolved in advance when the
// alpha is constant.
constexpr bool has_routine(ColourOp c, AlphaOp a, Texturing t, bool test) {
    bool texture_used = c == ColourOp::TEXTURE || c == ColourOp::TEXTURE_X_ITERATED ||
                        a == AlphaOp::TEXTURE || a == AlphaOp::TEXTURE_MINUS_CONSTANT;
    if (test && a == AlphaOp::CONSTANT)
        return false;
    if (t == Texturing::NONE)
        return !texture_used;
    return c == ColourOp::TEXTURE || c == ColourOp::TEXTURE_X_ITERATED;
}

template <int INDEX>
constexpr SpanRoutine routine_at() {
    constexpr int TEST = INDEX % 2;
    constexpr int BL = INDEX / 2 % BLENDS;
    constexpr int T = INDEX / 2 / BLENDS % TEXTURINGS;
    constexpr int AO = INDEX / 2 / BLENDS / TEXTURINGS % ALPHA_OPS;
    constexpr int C = INDEX / 2 / BLENDS / TEXTURINGS / ALPHA_OPS;
    if constexpr (has_routine(ColourOp(C), AlphaOp(AO), Texturing(T), TEST))
        return &specialised_span<ColourOp(C), AlphaOp(AO), Texturing(T), Blend(BL), TEST>;
    else
        return nullptr;
}

template <int... INDEX>
constexpr auto make_routines(std::integer_sequence<int, INDEX...>) {
    return std::array<SpanRoutine, sizeof...(INDEX)>{routine_at<INDEX>()...};
}

constexpr int ROUTINE_COUNT = COLOUR_OPS * ALPHA_OPS * TEXTURINGS * BLENDS * 2;
constexpr auto ROUTINES = make_routines(std::make_integer_sequence<int, ROUTINE_COUNT>{});

bool reduce_colour(const Combine& combine, ColourOp& op) {
    auto from_source = [&](CombineSource s) {
        op = s == CombineSource::ITERATED   ? ColourOp::ITERATED
             : s == CombineSource::CONSTANT ? ColourOp::CONSTANT
                                            : ColourOp::TEXTURE;
        return true;
    };
    if (combine.function == CombineFunction::LOCAL)
        return from_source(combine.local);
    if (combine.function != CombineFunction::SCALE_OTHER)
        return false;
    if (combine.factor == CombineFactor::ONE)
        return from_source(combine.other);
    bool texture_x_iterated = (combine.local == CombineSource::ITERATED &&
                               combine.other == CombineSource::TEXTURE) ||
                              (combine.local == CombineSource::TEXTURE &&
                               combine.other == CombineSource::ITERATED);
    op = ColourOp::TEXTURE_X_ITERATED;
    return combine.factor == CombineFactor::LOCAL && texture_x_iterated;
}

bool reduce_alpha(const Combine& combine, AlphaOp& op) {
    auto from_source = [&](CombineSource s) {
        op = s == CombineSource::ITERATED   ? AlphaOp::ITERATED
             : s == CombineSource::CONSTANT ? AlphaOp::CONSTANT
                                            : AlphaOp::TEXTURE;
        return true;
    };
    if (combine.function == CombineFunction::LOCAL ||
        combine.function == CombineFunction::LOCAL_ALPHA)
        return from_source(combine.local);
    if (combine.factor != CombineFactor::ONE)
        return false;
    if (combine.function == CombineFunction::SCALE_OTHER)
        return from_source(combine.other);
    op = AlphaOp::TEXTURE_MINUS_CONSTANT;
    return combine.function == CombineFunction::SCALE_OTHER_MINUS_LOCAL &&
           combine.local == CombineSource::CONSTANT && combine.other == CombineSource::TEXTURE;
}

bool reduce_blend(const PipelineState& p, Blend& blend) {
    if (p.blend_source == BlendFactor::ONE && p.blend_destination == BlendFactor::ZERO) {
        blend = Blend::REPLACE;
        return true;
    }
    blend = Blend::ALPHA;
    return p.blend_source == BlendFactor::SRC_ALPHA &&
           p.blend_destination == BlendFactor::ONE_MINUS_SRC_ALPHA;
}

bool combine_reads(const Combine& combine, CombineSource source) {
    switch (combine.function) {
    case CombineFunction::ZERO: return false;
    case CombineFunction::LOCAL:
    case CombineFunction::LOCAL_ALPHA: return combine.local == source;
    case CombineFunction::SCALE_OTHER:
    case CombineFunction::SCALE_OTHER_MINUS_LOCAL:
        return combine.local == source || combine.other == source;
    }
    return false;
}

Rgba split_rgba(uint32_t rgba) {
    return {int(rgba >> 24), int(rgba >> 16 & 255), int(rgba >> 8 & 255), int(rgba & 255)};
}

// A constant alpha decides the alpha test for the whole primitive.
bool constant_alpha(const Combine& combine, int& alpha) {
    AlphaOp op;
    if (combine.function == CombineFunction::ZERO) {
        alpha = 0;
        return true;
    }
    if (!reduce_alpha(combine, op) || op != AlphaOp::CONSTANT)
        return false;
    alpha = context.constant.a;
    return true;
}

}  // namespace

bool begin_primitive() {
    Context& c = context;
    c.pipeline = pipeline_state();
    c.texture = texture_source();
    const PipelineState& p = c.pipeline;
    c.uses_texture = combine_reads(p.colour_combine, CombineSource::TEXTURE) ||
                     combine_reads(p.alpha_combine, CombineSource::TEXTURE);
    if (c.uses_texture && c.texture.texels == nullptr)
        return false;
    c.constant = split_rgba(p.constant_colour);
    c.fog_colour = split_rgba(p.fog_colour);
    static const uint8_t NO_FOG[FOG_TABLE_SIZE] = {};
    const uint8_t* fog = p.fog_mode == FogMode::TABLE ? p.fog_table : NO_FOG;
    if (std::memcmp(fog, c.fog_source, FOG_TABLE_SIZE) != 0)
        build_fog(c, fog);
    bool clamp = c.texture.clamp == TextureClamp::CLAMP;
    c.u_last = (1 << c.texture.width_shift) - 1;
    c.v_last = (1 << c.texture.height_shift) - 1;
    c.u_wrap = clamp ? -1 : c.u_last;
    c.v_wrap = clamp ? -1 : c.v_last;

    bool test = p.alpha_test == AlphaTest::GREATER;
    int alpha;
    if (test && constant_alpha(p.alpha_combine, alpha)) {
        if (alpha <= p.alpha_reference)
            return false;
        test = false;
    }
    c.routine = &reference_span;
    c.specialised = false;
    ColourOp colour;
    AlphaOp alpha_op;
    Blend blend;
    if (reference_only || !reduce_colour(p.colour_combine, colour) ||
        !reduce_alpha(p.alpha_combine, alpha_op) || !reduce_blend(p, blend))
        return true;
    Texturing texturing = Texturing::NONE;
    if (c.uses_texture) {
        bool bilinear = c.texture.filter == TextureFilter::BILINEAR;
        texturing = c.texture.format == TextureFormat::PALETTE_8
                        ? (bilinear ? Texturing::P8_BILINEAR : Texturing::P8_POINT)
                        : (bilinear ? Texturing::AP88_BILINEAR : Texturing::AP88_POINT);
    }
    SpanRoutine routine = ROUTINES[routine_index(colour, alpha_op, texturing, blend, test)];
    if (routine != nullptr) {
        c.routine = routine;
        c.specialised = true;
    }
    return true;
}

void draw_span(uint16_t* pixels, int count, const SpanAttributes& start,
               const SpanAttributes& step) {
    context.routine(pixels, count, start, step);
}

bool primitive_is_specialised() { return context.specialised; }

void use_reference_path(bool on) { reference_only = on; }

}  // namespace vyr::platform::accel
