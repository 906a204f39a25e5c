// The accelerator's pixel pipeline state: colour and alpha combine, constant colour, alpha test,
// alpha blending, table fog and dithering.
//
// Colour words are 0xRRGGBBAA (the display is opened in the RGBA colour format). Every setter
// takes effect from the next primitive on; the state survives until changed or until the display
// is opened again.
#pragma once

#include <cstdint>

namespace vyr::platform::accel {

// What a combine unit computes from its local and other inputs.
enum class CombineFunction : uint8_t {
    ZERO,
    LOCAL,                    // local
    LOCAL_ALPHA,              // local alpha (on every channel)
    SCALE_OTHER,              // factor x other
    SCALE_OTHER_MINUS_LOCAL,  // factor x (other - local), never below 0
};

// The factor of the SCALE_ functions; ZERO is also the "none" of functions without a factor.
enum class CombineFactor : uint8_t { ZERO, ONE, LOCAL, LOCAL_ALPHA };

enum class CombineSource : uint8_t { ITERATED, CONSTANT, TEXTURE };

struct Combine {
    CombineFunction function;
    CombineFactor factor;
    CombineSource local;
    CombineSource other;
};

// Pixels are drawn only when their combined alpha passes the test against the reference.
enum class AlphaTest : uint8_t { ALWAYS, GREATER };

// Only the colour factors exist: the auxiliary buffer holds no destination alpha.
enum class BlendFactor : uint8_t { ZERO, ONE, SRC_ALPHA, ONE_MINUS_SRC_ALPHA };

enum class FogMode : uint8_t { DISABLED, TABLE };

constexpr int FOG_TABLE_SIZE = 64;

// How colours of 8 bits a channel become the buffers' RGB565: truncated, or through a 4 x 4
// ordered dither tied to the screen, so that an area keeps its 8-bit brightness on average.
// Primitives, buffer clears and the 888 frame-buffer writes all follow it.
enum class DitherMode : uint8_t { DISABLED, ORDERED };

struct PipelineState {
    Combine colour_combine;
    Combine alpha_combine;
    uint32_t constant_colour;  // 0xRRGGBBAA
    AlphaTest alpha_test;
    uint8_t alpha_reference;
    BlendFactor blend_source;
    BlendFactor blend_destination;
    FogMode fog_mode;
    uint32_t fog_colour;  // 0xRRGGBBAA, alpha unused
    uint8_t fog_table[FOG_TABLE_SIZE];
    DitherMode dither_mode;
};

// The state the display opens with: colour and alpha iterated, constant 0x000000FF, no alpha test,
// blending (ONE, ZERO), fog off with an all-zero table, ordered dither.
void reset_pipeline();
const PipelineState& pipeline_state();

void set_colour_combine(const Combine& combine);
void set_alpha_combine(const Combine& combine);
void set_constant_colour(uint32_t rgba);
void set_alpha_test(AlphaTest test);
void set_alpha_reference(uint8_t reference);
void set_alpha_blend(BlendFactor source, BlendFactor destination);
void set_fog_mode(FogMode mode);
void set_fog_colour(uint32_t rgba);
void set_fog_table(const uint8_t table[FOG_TABLE_SIZE]);
void set_dither_mode(DitherMode mode);

// The w (1 / oow) at which fog table entry `index` applies: entries 4e..4e+3 divide the octave
// 2^e..2^(e+1) in four equal steps, from w = 1 at entry 0 to w = 57344 at entry 63. Between
// entries the fog is interpolated linearly in w; below w = 1 entry 0 applies, beyond entry 63 the
// last.
float fog_table_w(int index);

// Fills `table` with exponential-squared fog of `density` per unit of w:
// 255 x (1 - e^-(density x w)^2), rounded.
void generate_exp2_fog_table(uint8_t table[FOG_TABLE_SIZE], float density);

}  // namespace vyr::platform::accel
