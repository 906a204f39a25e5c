#include "platform/accel/pipeline.h"

#include <cmath>
#include <cstring>

namespace vyr::platform::accel {

namespace {

PipelineState state;

}  // namespace

void reset_pipeline() {
    state = PipelineState{};
    state.colour_combine = {CombineFunction::LOCAL, CombineFactor::ZERO, CombineSource::ITERATED,
                            CombineSource::CONSTANT};
    state.alpha_combine = state.colour_combine;
    state.constant_colour = 0x000000FF;
    state.alpha_test = AlphaTest::ALWAYS;
    state.blend_source = BlendFactor::ONE;
    state.blend_destination = BlendFactor::ZERO;
    state.fog_mode = FogMode::DISABLED;
    state.dither_mode = DitherMode::ORDERED;
}

const PipelineState& pipeline_state() { return state; }

void set_colour_combine(const Combine& combine) { state.colour_combine = combine; }
void set_alpha_combine(const Combine& combine) { state.alpha_combine = combine; }
void set_constant_colour(uint32_t rgba) { state.constant_colour = rgba; }
void set_alpha_test(AlphaTest test) { state.alpha_test = test; }
void set_alpha_reference(uint8_t reference) { state.alpha_reference = reference; }

void set_alpha_blend(BlendFactor source, BlendFactor destination) {
    state.blend_source = source;
    state.blend_destination = destination;
}

void set_fog_mode(FogMode mode) { state.fog_mode = mode; }
void set_fog_colour(uint32_t rgba) { state.fog_colour = rgba; }

void set_fog_table(const uint8_t table[FOG_TABLE_SIZE]) {
    std::memcpy(state.fog_table, table, FOG_TABLE_SIZE);
}

void set_dither_mode(DitherMode mode) { state.dither_mode = mode; }

float fog_table_w(int index) {
    return std::ldexp(1.0f + float(index & 3) / 4.0f, index >> 2);
}

void generate_exp2_fog_table(uint8_t table[FOG_TABLE_SIZE], float density) {
    for (int i = 0; i < FOG_TABLE_SIZE; ++i) {
        double d = double(density) * fog_table_w(i);
        double f = 255.0 * (1.0 - std::exp(-d * d));
        table[i] = uint8_t(std::lround(std::fmin(std::fmax(f, 0.0), 255.0)));
    }
}

}  // namespace vyr::platform::accel
