#include "platform/accel/spans.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <type_traits>
#include <utility>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "platform/accel/framebuffer.h"
#include "platform/accel/pipeline.h"
#include "platform/accel/texel_colours.h"
#include "platform/accel/textures.h"

// Both kinds of routine must round alike, so no multiply and add may fuse where the CPU could.
#pragma GCC optimize("fp-contract=off")

namespace vyr::platform::accel {

namespace {

// Keeps w finite where rounding at a polygon's rim takes oow to 0 or below.
constexpr float OOW_MIN = 1e-9f;
// Texel positions (in 1/256 texel) are limited to this before they become integers.
constexpr float TEXEL_LIMIT = 16777216.0f;

enum Channel { R, G, B, A };

template <typename I>
struct Colour {
    I r, g, b, a;

    I operator[](int channel) const {
        return channel == R ? r : channel == G ? g : channel == B ? b : a;
    }
};
using Rgba = Colour<int>;

// A channel of 8 bits becomes the 565 level (channel x scale_5 + threshold) >> 11 for red and
// blue, (channel x scale_6 + threshold / 2) >> 10 for green.
struct Dither {
    int scale_5, scale_6;
    // [y & 3][x & 3][k]: the threshold of pixel x + k in row y, as wide as the widest group.
    int threshold[4][4][16];
};

// Scales of 31/255 and 63/255 spread the levels evenly over 0..255, as the reader widens them
// back; the thresholds put the 16 cells' steps in the middle of their sixteenths of a level.
constexpr int BAYER[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
constexpr int ORDERED_SCALE_5 = 249, ORDERED_SCALE_6 = 253;
constexpr int THRESHOLD_STEP = (1 << 11) / 16;  // a sixteenth of a red or blue level
constexpr int ORDERED_THRESHOLD_MIN = THRESHOLD_STEP / 2;
constexpr int ORDERED_THRESHOLD_MAX = 15 * THRESHOLD_STEP + ORDERED_THRESHOLD_MIN;
// Black and white stay themselves on every cell, and no sum overflows the 16-bit products.
static_assert(255 * ORDERED_SCALE_5 + ORDERED_THRESHOLD_MIN >= 31 << 11);
static_assert(255 * ORDERED_SCALE_5 + ORDERED_THRESHOLD_MAX < 32 << 11);
static_assert(255 * ORDERED_SCALE_6 + ORDERED_THRESHOLD_MIN / 2 >= 63 << 10);
static_assert(255 * ORDERED_SCALE_6 + ORDERED_THRESHOLD_MAX / 2 < 64 << 10);
static_assert(ORDERED_THRESHOLD_MAX < 1 << 11);

constexpr Dither make_dither(DitherMode mode) {
    bool ordered = mode == DitherMode::ORDERED;
    Dither d{ordered ? ORDERED_SCALE_5 : 256, ordered ? ORDERED_SCALE_6 : 256, {}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            for (int k = 0; k < 16; ++k)
                d.threshold[y][x][k] =
                    ordered ? BAYER[y][(x + k) & 3] * THRESHOLD_STEP + ORDERED_THRESHOLD_MIN : 0;
    return d;
}

constexpr Dither TRUNCATED = make_dither(DitherMode::DISABLED);
constexpr Dither ORDERED = make_dither(DitherMode::ORDERED);

const Dither& dither_of(DitherMode mode) {
    return mode == DitherMode::ORDERED ? ORDERED : TRUNCATED;
}

// The thresholds are those of the span's first pixels, repeating every four.
using SpanRoutine = void (*)(uint16_t*, int, const int*, const SpanAttributes&,
                             const SpanAttributes&);

// Everything a routine reads, gathered once per primitive.
struct Context {
    PipelineState pipeline;
    TextureSource texture;
    const uint32_t* colours;  // the texture as texel_colours gives it (specialised routines only)
    bool uses_texture;
    Rgba constant;
    Rgba fog_colour;
    // Each fog table entry with its rise to the next: entry | (next - entry) << 16. All 0 while
    // fog is off.
    int fog[FOG_TABLE_SIZE];
    uint8_t fog_source[FOG_TABLE_SIZE];  // the table `fog` was made from
    int u_wrap, v_wrap;  // texel index masks: the size less 1 to wrap, all bits to clamp
    int u_last, v_last;
    const Dither* dither;
    SpanRoutine routine;
    bool specialised;
};

Context context;

// The states the specialised routines reduce the pipeline to.
enum class ColourOp : uint8_t { ITERATED, CONSTANT, TEXTURE, TEXTURE_X_ITERATED };
enum class AlphaOp : uint8_t { ITERATED, CONSTANT, TEXTURE, TEXTURE_MINUS_CONSTANT };
enum class Blend : uint8_t { REPLACE, ALPHA };
// No texture, or its filter.
enum class Texturing : uint8_t { NONE, POINT, BILINEAR };

constexpr int COLOUR_OPS = 4, ALPHA_OPS = 4, TEXTURINGS = 3, BLENDS = 2;
constexpr int ROUTINE_COUNT = COLOUR_OPS * ALPHA_OPS * TEXTURINGS * BLENDS * 2;

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

// The routines for any CPU: four pixels to a group, on the baseline vector unit.
namespace portable {
#define VYR_LANES 4
#include "platform/accel/span_kernel.inc"
}  // namespace portable

// The routines for CPUs with AVX2, and with AVX-512: eight and sixteen pixels to a group, texels
// and fog fetched with gather loads. They are built under their targets' options and run only
// where the CPU has them.
#if defined(__x86_64__)
#define VYR_SPAN_X86 1
#pragma GCC push_options
#pragma GCC target("arch=x86-64-v3")
namespace avx2 {
#define VYR_LANES 8
#include "platform/accel/span_kernel.inc"
}  // namespace avx2
#pragma GCC pop_options

#pragma GCC push_options
#pragma GCC target("arch=x86-64-v4")
namespace avx512 {
#define VYR_LANES 16
#include "platform/accel/span_kernel.inc"
}  // namespace avx512
#pragma GCC pop_options
#endif

using RoutineTable = std::array<SpanRoutine, ROUTINE_COUNT>;

// The specialised routines of a set; null when this CPU cannot run them.
const RoutineTable* routines_of(SpanPath set) {
    switch (set) {
    case SpanPath::REFERENCE: return nullptr;
    case SpanPath::PORTABLE: return &portable::ROUTINES;
#ifdef VYR_SPAN_X86
    case SpanPath::AVX2:
        __builtin_cpu_init();
        return __builtin_cpu_supports("x86-64-v3") ? &avx2::ROUTINES : nullptr;
    case SpanPath::AVX512:
        __builtin_cpu_init();
        return __builtin_cpu_supports("x86-64-v4") ? &avx512::ROUTINES : nullptr;
#else
    case SpanPath::AVX2:
    case SpanPath::AVX512: return nullptr;
#endif
    }
    return nullptr;
}

// The routines primitives run on, resolved when the set is chosen; null for the generic routine.
const RoutineTable* chosen_routines = routines_of(fastest_span_path());

void build_fog(Context& c, const uint8_t table[FOG_TABLE_SIZE]) {
    std::memcpy(c.fog_source, table, FOG_TABLE_SIZE);
    for (int entry = 0; entry < FOG_TABLE_SIZE; ++entry) {
        int next = table[entry < FOG_TABLE_SIZE - 1 ? entry + 1 : entry];
        c.fog[entry] = table[entry] | int(uint32_t(next - table[entry]) << 16);
    }
}

// ---- The generic routine: the state is looked up for every pixel. ----

using namespace portable;

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

void reference_span(uint16_t* pixels, int count, const int* dither, const SpanAttributes& a,
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
            texel = sample<float, int>(interpolate(a.s, d.s, at) * w,
                                       interpolate(a.t, d.t, at) * w, c.texture.filter,
                                       texel_colour);
        const Rgba* const sources[3] = {&iter, &c.constant, &texel};
        Rgba out{combine_channel(p.colour_combine, sources, R),
                 combine_channel(p.colour_combine, sources, G),
                 combine_channel(p.colour_combine, sources, B),
                 combine_channel(p.alpha_combine, sources, A)};
        if (p.alpha_test == AlphaTest::GREATER && out.a <= p.alpha_reference)
            continue;
        if (p.fog_mode == FogMode::TABLE)
            out = lerp_colour(out, c.fog_colour, alpha_weight(fog_amount<float, int>(w)));
        Rgba dest = expand_565(int(pixels[i]));
        int sw = blend_weight(p.blend_source, out.a);
        int dw = blend_weight(p.blend_destination, out.a);
        auto blend = [&](int source, int destination) {
            return std::min(255, (source * sw + destination * dw) >> 8);
        };
        out = {blend(out.r, dest.r), blend(out.g, dest.g), blend(out.b, dest.b), out.a};
        pixels[i] = uint16_t(pack_565(out, dither[i & 3], *c.dither));
    }
}

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
    c.dither = &dither_of(p.dither_mode);

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
    const RoutineTable* routines = chosen_routines;
    if (routines == nullptr || !reduce_colour(p.colour_combine, colour) ||
        !reduce_alpha(p.alpha_combine, alpha_op) || !reduce_blend(p, blend))
        return true;
    Texturing texturing = Texturing::NONE;
    if (c.uses_texture) {
        texturing = c.texture.filter == TextureFilter::BILINEAR ? Texturing::BILINEAR
                                                                 : Texturing::POINT;
        c.colours = texel_colours(c.texture);
    }
    SpanRoutine routine = (*routines)[routine_index(colour, alpha_op, texturing, blend, test)];
    if (routine != nullptr) {
        c.routine = routine;
        c.specialised = true;
    }
    return true;
}

void draw_span(uint16_t* buffer, int x, int y, int count, const SpanAttributes& start,
               const SpanAttributes& step) {
    context.routine(buffer + y * SCREEN_WIDTH + x, count, context.dither->threshold[y & 3][x & 3],
                    start, step);
}

void to_565(const uint32_t* rgb, uint16_t* out, int x, int y, int count) {
    const Dither& d = dither_of(pipeline_state().dither_mode);
    const int* thresholds = d.threshold[y & 3][x & 3];
    Ints threshold;
    std::memcpy(&threshold, thresholds, sizeof threshold);
    int i = 0;
    for (; i + LANES <= count; i += LANES) {
        Ints colours;
        std::memcpy(&colours, rgb + i, sizeof colours);
        Pixels packed = __builtin_convertvector(pack_565(split(colours), threshold, d), Pixels);
        std::memcpy(out + i, &packed, sizeof packed);
    }
    for (; i < count; ++i)
        out[i] = uint16_t(pack_565(split(int(rgb[i])), thresholds[i & 3], d));
}

bool primitive_is_specialised() { return context.specialised; }

bool span_path_available(SpanPath set) {
    return set == SpanPath::REFERENCE || routines_of(set) != nullptr;
}

SpanPath fastest_span_path() {
    for (SpanPath set : {SpanPath::AVX512, SpanPath::AVX2, SpanPath::PORTABLE}) {
        if (span_path_available(set))
            return set;
    }
    return SpanPath::REFERENCE;
}

void use_span_path(SpanPath set) {
    chosen_routines = routines_of(span_path_available(set) ? set : fastest_span_path());
}

}  // namespace vyr::platform::accel
