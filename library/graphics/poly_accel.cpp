#include "library/graphics/poly_accel.h"

#include <array>

#include "library/graphics/palette.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/gfxinit/textures.h"
#include "library/maths/random.h"
#include "platform/accel/draw.h"
#include "platform/accel/framebuffer.h"
#include "platform/accel/pipeline.h"

namespace vyr {

namespace accel = platform::accel;
using accel::CombineFactor;
using accel::CombineFunction;
using accel::CombineSource;

namespace {

constexpr accel::Combine ITERATED_COLOUR = {CombineFunction::LOCAL, CombineFactor::ZERO, CombineSource::ITERATED,
                                            CombineSource::CONSTANT};
constexpr accel::Combine TEXTURE_TIMES_ITERATED = {CombineFunction::SCALE_OTHER, CombineFactor::LOCAL,
                                                   CombineSource::ITERATED, CombineSource::TEXTURE};
constexpr accel::Combine TEXTURE_COLOUR = {CombineFunction::SCALE_OTHER, CombineFactor::ONE, CombineSource::CONSTANT,
                                           CombineSource::TEXTURE};
constexpr accel::Combine TEXTURE_ALPHA_LESS_CONSTANT = {CombineFunction::SCALE_OTHER_MINUS_LOCAL, CombineFactor::ONE,
                                                        CombineSource::CONSTANT, CombineSource::TEXTURE};
constexpr accel::Combine CONSTANT_ALPHA = {CombineFunction::SCALE_OTHER, CombineFactor::ONE, CombineSource::CONSTANT,
                                           CombineSource::CONSTANT};
constexpr accel::Combine LOCAL_CONSTANT = {CombineFunction::LOCAL, CombineFactor::ZERO, CombineSource::CONSTANT,
                                           CombineSource::CONSTANT};
constexpr accel::Combine LOCAL_CONSTANT_ALPHA = {CombineFunction::LOCAL_ALPHA, CombineFactor::ONE,
                                                 CombineSource::CONSTANT, CombineSource::CONSTANT};
constexpr accel::Combine ITERATED_ALPHA = {CombineFunction::LOCAL, CombineFactor::ZERO, CombineSource::ITERATED,
                                           CombineSource::CONSTANT};

constexpr uint32_t OPAQUE_CONSTANT = 0x000000FF;
constexpr uint32_t REMAP_CONSTANT = 0x00000064;
constexpr float REMAP_COLOUR[3] = {241.0f, 214.0f, 105.0f};
constexpr float DEPTH_RANGE = 65534.0f;
constexpr int TEXEL_COORDINATE_UNIT = 0x4040;  // 64.0 texels become 255 of the 256 across a texture
constexpr int GLOW_FLICKER_MASK = 0x7FFF0000;
constexpr int FADE_FEET_PER_LEVEL = 600;
constexpr int FADE_LOW = 160, FADE_HIGH = 192, FADE_LOW_ALPHA = 10, FADE_HIGH_ALPHA = 244;

// Shared by every primitive: what one does not set stays as the last one left it. Until then
// vertices are opaque white, so a texture drawn first shows as it is.
std::array<accel::Vertex, MAX_POLY_VERTICES> glide_vertices = [] {
    std::array<accel::Vertex, MAX_POLY_VERTICES> vertices{};
    for (accel::Vertex& v : vertices) v.r = v.g = v.b = v.a = 255.0f;
    return vertices;
}();

enum class Texture : bool { NONE, COORDINATES };

int level_of(const PolyVertex& vertex) { return (vertex.shade >> 23) & 0xFF; }

void set_rgb(accel::Vertex& out, float red, float green, float blue) {
    out.r = red;
    out.g = green;
    out.b = blue;
}

void set_palette_rgb(accel::Vertex& out, int colour) {
    const uint8_t* rgb = working_palette + 3 * (colour & 0xFF);
    set_rgb(out, rgb[0], rgb[1], rgb[2]);
}

// Fills a Glide vertex per polygon vertex (position, 1/w and for textured forms s and t), lets
// `colour` add the primitive's own values, and draws them as one polygon.
template <class Colour>
void draw_vertices(const PolyVertex* first, PolyDepth depth, Texture texture, Colour colour) {
    const float depth_factor = get_depth_scale();
    int count = 0;
    for (const PolyVertex* v = first; v && count < MAX_POLY_VERTICES; v = v->next, ++count) {
        accel::Vertex& out = glide_vertices[count];
        out.x = float(v->screen_x) + accel::SNAP_BIAS;
        out.y = float(v->screen_y) + accel::SNAP_BIAS;
        out.oow = depth == PolyDepth::OVERLAY ? 1.0f : 1.0f / (1.0f + float(v->y) * depth_factor * DEPTH_RANGE);
        if (texture == Texture::COORDINATES) {
            out.sow = float(v->u / TEXEL_COORDINATE_UNIT) * out.oow;
            out.tow = float(v->v / TEXEL_COORDINATE_UNIT) * out.oow;
        }
        colour(out, *v, count);
    }
    accel::draw_polygon(glide_vertices.data(), count);
}

void restore_constant_and_blend() {
    accel::set_constant_colour(OPAQUE_CONSTANT);
    accel::set_alpha_blend(accel::BlendFactor::ONE, accel::BlendFactor::ZERO);
}

void blend_by_alpha() { accel::set_alpha_blend(accel::BlendFactor::SRC_ALPHA, accel::BlendFactor::ONE_MINUS_SRC_ALPHA); }

// Numbers outside accel_textures select nothing, and the primitive draws nothing.
bool select_texture(int number) {
    if (number < 0 || number >= ACCEL_TEXTURE_COUNT) return false;
    const AccelTexture& texture = accel_textures[number];
    accel::set_texture_source(texture.start_address, texture.info);
    return true;
}

void draw_translucent(const PolyVertex* vertices, float red, float green, float blue, uint32_t constant_colour,
                      PolyDepth depth) {
    ++poly_count;
    accel::set_colour_combine(ITERATED_COLOUR);
    accel::set_constant_colour(constant_colour);
    accel::set_alpha_combine(CONSTANT_ALPHA);
    blend_by_alpha();
    draw_vertices(vertices, depth, Texture::NONE,
                  [&](accel::Vertex& out, const PolyVertex&, int) { set_rgb(out, red, green, blue); });
    accel::set_alpha_combine(LOCAL_CONSTANT);
    restore_constant_and_blend();
}

void draw_texture_coloured(const PolyVertex* vertices, int number, bool tinted) {
    if (!select_texture(number)) return;
    ++poly_count;
    accel::set_colour_combine(TEXTURE_TIMES_ITERATED);
    float tint[3] = {};
    if (tinted && vertices) {
        float intensity = 255.0f - (56.0f + 0.44f * float(128 - level_of(*vertices)));
        intensity = intensity < 0.0f ? 0.0f : intensity > 255.0f ? 255.0f : intensity;
        tint_by_palette_effects(intensity, tint[0], tint[1], tint[2]);
    }
    draw_vertices(vertices, PolyDepth::DEPTH, Texture::COORDINATES, [&](accel::Vertex& out, const PolyVertex& v, int) {
        if (tinted) {
            set_rgb(out, tint[0], tint[1], tint[2]);
        } else {
            const float level = float(level_of(v));
            set_rgb(out, level, level, level);
        }
    });
}

}  // namespace

void accel_poly_flat(const PolyVertex* vertices, int colour, PolyDepth depth) {
    accel::set_colour_combine(ITERATED_COLOUR);
    draw_vertices(vertices, depth, Texture::NONE, [&](accel::Vertex& out, const PolyVertex&, int) {
        set_palette_rgb(out, colour);
        out.a = 255.0f;
    });
}

void accel_poly_gouraud(const PolyVertex* vertices, int colour, PolyDepth depth) {
    accel::set_colour_combine(ITERATED_COLOUR);
    draw_vertices(vertices, depth, Texture::NONE, [&](accel::Vertex& out, const PolyVertex& v, int) {
        set_palette_rgb(out, shade_table[(colour & 0xFF) * 256 + level_of(v)]);
        out.a = 255.0f;
    });
}

void accel_poly_textured(const PolyVertex* vertices) {
    accel::set_colour_combine(TEXTURE_TIMES_ITERATED);
    draw_vertices(vertices, PolyDepth::DEPTH, Texture::COORDINATES, [](accel::Vertex&, const PolyVertex&, int) {});
}

void accel_poly_remap(const PolyVertex* vertices) {
    accel::set_constant_colour(REMAP_CONSTANT);
    accel::set_alpha_combine(CONSTANT_ALPHA);
    blend_by_alpha();
    draw_vertices(vertices, PolyDepth::DEPTH, Texture::NONE, [](accel::Vertex& out, const PolyVertex&, int) {
        set_rgb(out, REMAP_COLOUR[0], REMAP_COLOUR[1], REMAP_COLOUR[2]);
        out.a = 255.0f;
    });
    accel::set_alpha_combine(LOCAL_CONSTANT);
    restore_constant_and_blend();
}

void accel_point(int x, int y, int colour) {
    accel::Vertex point{};
    point.x = float(x);
    point.y = float(y);
    point.oow = 1.0f;
    set_palette_rgb(point, colour);
    point.a = 255.0f;
    // The point shows its palette colour whatever combine the last polygon left.
    accel::set_colour_combine(ITERATED_COLOUR);
    accel::draw_point(point);
}

bool accel_lock_frame_buffer() {
    accel::LockedBuffer locked;
    if (!accel::lock_frame_buffer(accel::LockAccess::WRITE, accel::LockBuffer::BACK, accel::LockFormat::RGB888, locked))
        return false;
    frame_buffer = static_cast<uint8_t*>(locked.pixels);
    frame_buffer_stride = locked.stride;
    return true;
}

void accel_unlock_frame_buffer() { accel::unlock_frame_buffer(accel::LockAccess::WRITE, accel::LockBuffer::BACK); }

void draw_poly_texture_number(const PolyVertex* vertices, int number) { draw_texture_coloured(vertices, number, false); }

void draw_poly_texture_tinted(const PolyVertex* vertices, int number) { draw_texture_coloured(vertices, number, true); }

void draw_poly_keyed(const PolyVertex* vertices, int number, uint32_t constant_colour, int reference) {
    if (!select_texture(number)) return;
    ++poly_count;
    accel::set_alpha_reference(uint8_t(reference));
    accel::set_constant_colour(constant_colour);
    accel::set_colour_combine(TEXTURE_COLOUR);
    accel::set_alpha_combine(TEXTURE_ALPHA_LESS_CONSTANT);
    blend_by_alpha();
    draw_vertices(vertices, PolyDepth::DEPTH, Texture::COORDINATES, [](accel::Vertex&, const PolyVertex&, int) {});
    accel::set_alpha_reference(0);
    accel::set_alpha_combine(LOCAL_CONSTANT_ALPHA);
    restore_constant_and_blend();
}

void draw_poly_translucent_rgb(const PolyVertex* vertices, float red, float green, float blue,
                               uint32_t constant_colour) {
    draw_translucent(vertices, red, green, blue, constant_colour, PolyDepth::DEPTH);
}

void draw_poly_translucent(const PolyVertex* vertices, int colour, uint32_t constant_colour) {
    const uint8_t* rgb = working_palette + 3 * (colour & 0xFF);
    draw_translucent(vertices, rgb[0], rgb[1], rgb[2], constant_colour, PolyDepth::DEPTH);
}

void draw_poly_translucent_overlay(const PolyVertex* vertices, int colour, uint32_t constant_colour) {
    const uint8_t* rgb = working_palette + 3 * (colour & 0xFF);
    draw_translucent(vertices, rgb[0], rgb[1], rgb[2], constant_colour, PolyDepth::OVERLAY);
}

void draw_poly_glow(const PolyVertex* vertices, float red, float green, float blue, int alpha) {
    ++poly_count;
    accel::set_colour_combine(ITERATED_COLOUR);
    accel::set_alpha_combine(ITERATED_ALPHA);
    accel::set_alpha_blend(accel::BlendFactor::SRC_ALPHA, accel::BlendFactor::ONE_MINUS_SRC_ALPHA);
    if (alpha >= 2) {
        next_random(random_seed);
        alpha -= (random_seed & GLOW_FLICKER_MASK) % (alpha / 2);
    }
    const int first_alpha = alpha / 4 < 0 ? 0 : alpha / 4;
    draw_vertices(vertices, PolyDepth::DEPTH, Texture::NONE, [&](accel::Vertex& out, const PolyVertex&, int index) {
        set_rgb(out, red, green, blue);
        out.a = float(index == 0 ? first_alpha : alpha);
    });
    accel::set_alpha_combine(LOCAL_CONSTANT);
    restore_constant_and_blend();
}

void draw_poly_soft_rgb(const PolyVertex* vertices, float red, float green, float blue, int centre_alpha,
                        int rim_alpha) {
    ++poly_count;
    accel::set_colour_combine(ITERATED_COLOUR);
    accel::set_alpha_combine(ITERATED_ALPHA);
    blend_by_alpha();
    draw_vertices(vertices, PolyDepth::OVERLAY, Texture::NONE, [&](accel::Vertex& out, const PolyVertex&, int index) {
        set_rgb(out, red, green, blue);
        out.a = float(index == 0 ? centre_alpha : rim_alpha);
    });
    accel::set_alpha_combine(LOCAL_CONSTANT);
    restore_constant_and_blend();
}

void draw_poly_gouraud_fade(const PolyVertex* vertices, int colour, int32_t feet_above_fade) {
    ++poly_count;
    accel::set_colour_combine(ITERATED_COLOUR);
    accel::set_alpha_combine(ITERATED_ALPHA);
    blend_by_alpha();
    const int lift = feet_above_fade / FADE_FEET_PER_LEVEL;
    draw_vertices(vertices, PolyDepth::OVERLAY, Texture::NONE, [&](accel::Vertex& out, const PolyVertex& v, int) {
        const int level = level_of(v);
        set_palette_rgb(out, shade_table[(colour & 0xFF) * 256 + level]);
        const int lifted = level + lift;
        out.a = float(lifted < FADE_LOW ? FADE_LOW_ALPHA : lifted > FADE_HIGH ? FADE_HIGH_ALPHA : lifted);
    });
    restore_constant_and_blend();
}

void draw_poly_rgb(const PolyVertex* vertices, float red, float green, float blue) {
    ++poly_count;
    accel::set_colour_combine(ITERATED_COLOUR);
    draw_vertices(vertices, PolyDepth::DEPTH, Texture::NONE, [&](accel::Vertex& out, const PolyVertex&, int) {
        set_rgb(out, red, green, blue);
        out.a = 255.0f;
    });
}

void draw_poly_rgb_record(const PolyVertex* vertices, const RgbColour* colour) {
    ++poly_count;
    accel::set_colour_combine(ITERATED_COLOUR);
    draw_vertices(vertices, PolyDepth::DEPTH, Texture::NONE, [&](accel::Vertex& out, const PolyVertex&, int) {
        set_rgb(out, colour->red, colour->green, colour->blue);
    });
}

}  // namespace vyr
