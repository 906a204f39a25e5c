#include "library/3dvisual/faces.h"

#include "library/3dvisual/clip.h"
#include "library/3dvisual/draw_object.h"
#include "library/3dvisual/face_record.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/shadows.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world_palette.h"
#include "library/debug/fatal.h"
#include "library/graphics/line.h"
#include "library/graphics/palette.h"
#include "library/graphics/plot_poly.h"
#include "library/graphics/poly.h"
#include "library/graphics/poly_accel.h"
#include "library/graphics/screen.h"
#include "library/maths/random.h"
#include "library/ui/clip.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/3dvisual/faces";
constexpr int TRANSLUCENT_ALPHA = 50;
constexpr int SHADOW_COLOUR = 2;
constexpr uint32_t SHADOW_LEVEL = 229, SHADOW_GLASS_LEVEL = 25;

// Which handler draws: the clipping ones cut faces that cross the view; the conditional ones
// test no facing and have no colours for their masked modes.
struct Handler {
    bool clipping;
    bool conditional;
    bool shadow = false;
};

// How a face is filled, and so which clipper keeps what its primitive needs.
enum class Fill {
    NONE,
    FLAT,
    STIPPLE,
    SPARSE,
    NOZZLE_RGB,
    NOZZLE_GLOW,
    NOZZLE_FLICKER,
    TRANSLUCENT,
    GLASS,
    SHIMMER,
    TEXTURE,         // software: one texture; accelerator: the texture by number
    TEXTURE_SHADED,  // software: one shade over the texture
    TEXTURE_GOURAUD,
    GOURAUD,
};

struct Paint {
    Fill fill;
    uint32_t pattern;
    int colour;
    int32_t shade;
    bool masked;
    bool tinted;  // the accelerator's tinted texture rather than the plain one
    int accel_texture;
    const TextureRecord* texture;
};

uint8_t remap(int colour) { return colour_remap[colour]; }
uint8_t shade_of(int colour, int32_t light) { return shade_table[remap(colour) * 256 + ((light >> 23) & 0xFF)]; }
uint32_t pattern(uint8_t a) { return uint32_t(a) * 0x01010101u; }
uint32_t pattern(uint8_t a, uint8_t b) { return (uint32_t(a) | uint32_t(b) << 8) * 0x00010001u; }

int textures_level() { return current_view.object_textures; }
bool textured_level() { return textures_level() == 1 || textures_level() == 3; }

// The pattern a lit face falls back to: its colours at its face normal's light.
uint32_t lit_pattern(const FaceRecord& face, const int32_t* light, bool dual) {
    const int32_t l = light[face.face_normal];
    return dual ? pattern(shade_of(face.colour1, l), shade_of(face.colour2, l)) : pattern(shade_of(face.colour1, l));
}

Paint flat(uint32_t p) { return {Fill::FLAT, p, 0, 0, false, false, 0, nullptr}; }
Paint plain(Fill fill, int colour = 0) { return {fill, 0, colour, 0, false, false, 0, nullptr}; }

// A textured face: through the accelerator by number (a texture byte reaches 368 at most), in
// software from the texture table.
Paint texture_paint(const FaceRecord& face, Fill software_fill, int32_t shade, const Handler& h, bool masked) {
    if (accelerator_flag) {
        const bool numbered = h.clipping && (h.conditional || face.mode >= RENDER_DETAIL);
        return {Fill::TEXTURE, 0, 0, shade, masked, !numbered, accel_texture_of(face.texture), nullptr};
    }
    return {software_fill, 0, 0, shade, masked, false, 0, texture_table[face.texture]};
}

Paint choose_paint(const FaceRecord& face, const int32_t* light, const Handler& h) {
    const bool nozzle = nozzle_flag && accelerator_flag && !(h.conditional && h.clipping);
    const bool colourless = h.conditional && face_layout(face.mode, true).colours == 0;
    const Paint none = plain(Fill::NONE);
    switch (face.mode) {
    case RENDER_FLAT: return flat(pattern(remap(face.colour1)));
    case RENDER_FLAT_RGB:
        return nozzle ? plain(Fill::NOZZLE_RGB) : flat(pattern(remap(face.colour1), remap(face.colour2)));
    case RENDER_GLOW:
        return nozzle && !h.conditional ? plain(Fill::NOZZLE_GLOW) : plain(Fill::STIPPLE, remap(face.colour1));
    case RENDER_TRANSLUCENT_RGB:
        return nozzle && !h.conditional ? plain(Fill::NOZZLE_FLICKER) : plain(Fill::SPARSE, remap(face.colour1));
    case RENDER_TRANSLUCENT:
        if (current_view.night_vision == NIGHT_VISION_ALTERNATE) return none;
        return accelerator_flag ? plain(Fill::TRANSLUCENT, translucent_colour) : plain(Fill::GLASS);
    case RENDER_TEXTURED:
    case RENDER_MASKED: {
        const Paint fallback = colourless ? none : flat(pattern(remap(face.colour1), remap(face.colour2)));
        if (!textured_level()) return fallback;
        return texture_paint(face, Fill::TEXTURE, 0, h, face.mode == RENDER_MASKED);
    }
    case RENDER_FLAT_LIT: return flat(lit_pattern(face, light, false));
    case RENDER_FLAT_LIT_DUAL: return flat(lit_pattern(face, light, true));
    case RENDER_STIPPLE_LIT: return plain(Fill::STIPPLE, shade_of(face.colour1, light[face.face_normal]));
    case RENDER_SPARSE_LIT: return plain(Fill::SPARSE, shade_of(face.colour1, light[face.face_normal]));
    case RENDER_TEXTURED_LIT:
    case RENDER_MASKED_LIT: {
        const Paint fallback = colourless ? none : flat(lit_pattern(face, light, true));
        if (!textured_level()) return fallback;
        return texture_paint(face, Fill::TEXTURE_SHADED, light[face.face_normal], h, face.mode == RENDER_MASKED_LIT);
    }
    case RENDER_GOURAUD:
    case RENDER_GOURAUD_DUAL: {
        const bool dual = face.mode == RENDER_GOURAUD_DUAL;
        if (textures_level() >= 2)
            return {Fill::GOURAUD, dual ? pattern(remap(face.colour1), remap(face.colour2)) : pattern(remap(face.colour1)),
                    0, 0, false, false, 0, nullptr};
        return flat(lit_pattern(face, light, dual));
    }
    case RENDER_DETAIL:
    case RENDER_DETAIL_MASKED: {
        const bool masked = face.mode == RENDER_DETAIL_MASKED;
        const Paint lit_flat = colourless ? none : flat(lit_pattern(face, light, true));
        switch (textures_level()) {
        case 0: return lit_flat;
        case 1: return texture_paint(face, Fill::TEXTURE_SHADED, light[face.face_normal], h, masked);
        case 2:
            if (colourless) return none;
            return {Fill::GOURAUD, pattern(remap(face.colour1), remap(face.colour2)), 0, 0, false, false, 0, nullptr};
        default: return texture_paint(face, Fill::TEXTURE_GOURAUD, 0, h, masked);
        }
    }
    case RENDER_SHIMMER:
        return current_view.night_vision == NIGHT_VISION_ALTERNATE ? none : plain(Fill::SHIMMER);
    default: return none;
    }
}

// Alpha of one flicker of the nozzle's flame: two draws of the shared seed.
int flicker_alpha() {
    int r[2];
    for (int& draw : r) {
        next_random(random_seed);
        draw = (random_seed & 0x7FFF0000) % 50;
    }
    return flicker_level - r[0] > 0 ? flicker_level - r[1] : 0;
}

void fill(const Paint& p, const PolyVertex* polygon) {
    switch (p.fill) {
    case Fill::NONE: break;
    case Fill::FLAT: draw_poly_flat(polygon, p.pattern); break;
    case Fill::STIPPLE: draw_poly_stipple(polygon, p.colour); break;
    case Fill::SPARSE: draw_poly_sparse(polygon, p.colour); break;
    case Fill::NOZZLE_RGB: draw_poly_rgb(polygon, glow_colour[0], glow_colour[1], glow_colour[2]); break;
    case Fill::NOZZLE_GLOW: draw_poly_glow(polygon, glow_base[0], glow_base[1], glow_base[2], glow_alpha); break;
    case Fill::NOZZLE_FLICKER:
        draw_poly_translucent_rgb(polygon, glow_base[0], glow_base[1], glow_base[2], uint32_t(flicker_alpha()));
        break;
    case Fill::TRANSLUCENT: draw_poly_translucent(polygon, p.colour, TRANSLUCENT_ALPHA); break;
    case Fill::GLASS: draw_poly_remap(polygon, glass_remap.data()); break;
    case Fill::SHIMMER: draw_poly_shimmer(polygon); break;
    case Fill::GOURAUD: draw_poly_gouraud(polygon, p.pattern); break;
    case Fill::TEXTURE:
    case Fill::TEXTURE_SHADED:
    case Fill::TEXTURE_GOURAUD:
        if (accelerator_flag) {
            if (p.tinted) draw_poly_texture_tinted(polygon, p.accel_texture);
            else draw_poly_texture_number(polygon, p.accel_texture);
        } else if (p.fill == Fill::TEXTURE) {
            if (p.masked) draw_poly_masked(polygon, p.texture);
            else draw_poly_textured(polygon, p.texture);
        } else if (p.fill == Fill::TEXTURE_SHADED) {
            if (p.masked) draw_poly_masked_shaded(polygon, p.shade, p.texture);
            else draw_poly_textured_shaded(polygon, p.shade, p.texture);
        } else {
            if (p.masked) draw_poly_masked_gouraud(polygon, p.texture);
            else draw_poly_textured_gouraud(polygon, p.texture);
        }
        break;
    }
}

// Cuts a polygon that crosses the view with the clipper that keeps what its fill needs.
PolyVertex* clip_for(Fill f, int32_t outcodes, PolyVertex* first, PolyVertex* last) {
    switch (f) {
    case Fill::TEXTURE:
    case Fill::TEXTURE_SHADED: return clip_polygon_textured(outcodes, first, last, clip_pool);
    case Fill::GOURAUD: return clip_polygon_shaded(outcodes, first, last, clip_pool);
    case Fill::TEXTURE_GOURAUD: return poly_clip_project(outcodes, first, last, clip_pool);
    default: return plain_poly_clip_project(outcodes, first, last, clip_pool);
    }
}

// Links the face's vertices in order and writes the values each carries.
PolyVertex* link_face(const FaceRecord& face, PolyVertex* vertices, const int32_t* light, PolyVertex** last) {
    const FaceLayout layout = face_layout(face.mode, false);
    const bool shade_all = face.mode == RENDER_TEXTURED_LIT || face.mode == RENDER_MASKED_LIT;
    const bool shade_first = face.mode == RENDER_FLAT_LIT || face.mode == RENDER_FLAT_LIT_DUAL;
    for (int i = 0; i < face.count; ++i) {
        PolyVertex& v = vertices[face.vertices[i]];
        v.next = i + 1 < face.count ? &vertices[face.vertices[i + 1]] : nullptr;
        if (layout.uv) {
            v.u = int32_t(face.u[i]) << 16;
            v.v = int32_t(face.v[i]) << 16;
        }
        if (layout.vertex_normal) v.shade = light[face.vertex_normals[i]];
        else if (shade_all || (i == 0 && shade_first)) v.shade = light[face.face_normal];
    }
    *last = &vertices[face.vertices[face.count - 1]];
    return &vertices[face.vertices[0]];
}

void draw_point_face(const FaceRecord& face, const PolyVertex* vertices, int colour, bool clipping) {
    for (int i = 0; i < face.count; ++i) {
        const PolyVertex& v = vertices[face.vertices[i]];
        if (!clipping || v.outcode == 0) draw_point(v.screen_x, v.screen_y, colour);
    }
}

void draw_line_face(const FaceRecord& face, PolyVertex* vertices, int colour, bool clipping) {
    for (int i = 0; i + 1 < face.count; ++i) {
        PolyVertex* a = &vertices[face.vertices[i]];
        PolyVertex* b = &vertices[face.vertices[i + 1]];
        if (clipping && (a->outcode & b->outcode)) continue;
        if (clipping && (a->outcode | b->outcode) && !clip_screen_line(&a, &b)) continue;
        if (!accelerator_flag) {
            draw_line(colour, a->screen_x, a->screen_y, b->screen_x, b->screen_y);
        } else if (accel_lock_frame_buffer()) {
            draw_line32(colour, a->screen_x, a->screen_y, b->screen_x, b->screen_y);
            accel_unlock_frame_buffer();
        }
    }
}

void combine_outcodes(const PolyVertex* polygon, int32_t& and_codes, int32_t& or_codes) {
    for (const PolyVertex* v = polygon; v; v = v->next) {
        and_codes &= v->outcode;
        or_codes |= v->outcode;
    }
}

// A shadow ignores the face's colours: one dark fill, translucent under the accelerator and
// stippled on the 8-bit screen, lighter through glass.
void fill_shadow(const FaceRecord& face, const PolyVertex* polygon) {
    const int colour = remap(SHADOW_COLOUR);
    const bool glass = face.mode == RENDER_TRANSLUCENT;
    if (accelerator_flag) draw_poly_translucent_overlay(polygon, colour, glass ? SHADOW_GLASS_LEVEL : SHADOW_LEVEL);
    else if (glass) draw_poly_columns(polygon, colour);
    else draw_poly_stipple(polygon, colour);
}

// Shadow faces: points and lines cast none; polygons take the plain faces' facing rules.
const uint8_t* handle_shadow_face(const FaceRecord& face, const uint8_t* end, PolyVertex* vertices, const Handler& h) {
    switch (face.mode) {
    case RENDER_POINTS:
    case RENDER_POINTS_LIT:
    case RENDER_LINES:
    case RENDER_LINES_LIT: return end;
    default: break;
    }
    PolyVertex* polygon = &vertices[face.vertices[0]];
    for (int i = 0; i < face.count; ++i)
        vertices[face.vertices[i]].next = i + 1 < face.count ? &vertices[face.vertices[i + 1]] : nullptr;
    PolyVertex* last = &vertices[face.vertices[face.count - 1]];
    int32_t and_codes = ~0, or_codes = 0;
    if (h.clipping) combine_outcodes(polygon, and_codes, or_codes);
    if (h.clipping && and_codes) {
        if (!h.conditional) facing_value = -1;
        return end;
    }
    if (or_codes) {
        polygon = plain_poly_clip_project(or_codes, polygon, last, clip_pool);
        if (!polygon) {
            facing_value = -1;
            return end;
        }
        if (!h.conditional) facing_value = get_facing_robust(polygon);
    } else if (!h.conditional) {
        facing_value = get_facing(polygon);
    }
    if ((!h.conditional && facing_value < 0) || face.mode == RENDER_SHIMMER) return end;
    fill_shadow(face, polygon);
    return end;
}

const uint8_t* handle_face(const uint8_t* record, PolyVertex* vertices, const int32_t* light, const Handler& h) {
    if (record[0] >= RENDER_MODE_COUNT)
        report_fatal_error("Illegal render mode encountered in 3D object data.", SOURCE, __LINE__);
    FaceRecord face;
    const uint8_t* end = read_face_record(record, h.conditional, face);
    if (h.shadow) return handle_shadow_face(face, end, vertices, h);
    switch (face.mode) {
    case RENDER_POINTS:
    case RENDER_POINTS_LIT:
    case RENDER_LINES:
    case RENDER_LINES_LIT: {
        const int colour = face.mode == RENDER_POINTS || face.mode == RENDER_LINES
                               ? remap(face.colour1)
                               : shade_of(face.colour1, light[face.face_normal]);
        if (face.mode == RENDER_POINTS || face.mode == RENDER_POINTS_LIT)
            draw_point_face(face, vertices, colour, h.clipping);
        else
            draw_line_face(face, vertices, colour, h.clipping);
        return end;
    }
    default: break;
    }
    PolyVertex* last = nullptr;
    PolyVertex* polygon = link_face(face, vertices, light, &last);
    const Paint paint = choose_paint(face, light, h);
    int32_t and_codes = ~0, or_codes = 0;
    if (h.clipping) combine_outcodes(polygon, and_codes, or_codes);
    if (h.clipping && and_codes) {
        if (!h.conditional) facing_value = -1;
        return end;
    }
    int32_t facing = 0;
    if (or_codes) {
        polygon = clip_for(paint.fill, or_codes, polygon, last);
        facing = polygon ? get_facing_robust(polygon) : -1;
    } else if (!h.conditional) {
        facing = get_facing(polygon);
    }
    if (!h.conditional) facing_value = facing;
    if (facing < 0 || !polygon) return end;
    fill(paint, polygon);
    return end;
}

// A node's polygon, linked, and the side of it the eye is on.
int32_t node_facing(const uint8_t* numbers, int count, PolyVertex* vertices, bool clipping) {
    int32_t and_codes = ~0, or_codes = 0;
    for (int i = 0; i < count; ++i) {
        PolyVertex& v = vertices[numbers[i]];
        v.next = i + 1 < count ? &vertices[numbers[i + 1]] : nullptr;
        and_codes &= v.outcode;
        or_codes |= v.outcode;
    }
    PolyVertex* first = &vertices[numbers[0]];
    if (!clipping || or_codes == 0) return get_facing(first);
    if (and_codes) return -1;
    PolyVertex* clipped = plain_poly_clip_project(or_codes, first, &vertices[numbers[count - 1]], clip_pool);
    return clipped ? get_facing_robust(clipped) : -1;
}

const uint8_t* target(const uint8_t* offset) { return offset + 2 + read_offset16(offset); }

void walk(const uint8_t* p, PolyVertex* vertices, const int32_t* light, bool clipping, bool shadow) {
    const Handler plain_faces{clipping, false, shadow}, conditional_faces{clipping, true, shadow};
    for (;;) {
        const int op = *p++;
        switch (op) {
        case FACE_OP_FACE:
            p = handle_face(p, vertices, light, plain_faces);
            break;
        case FACE_OP_CONDITIONAL: {
            const int length = *p++;
            if (facing_value >= 0) handle_face(p, vertices, light, conditional_faces);
            p += length;
            break;
        }
        case FACE_OP_NODE: {
            const int count = *p;
            const uint8_t* offsets = p + 1 + count;
            const int32_t facing = node_facing(p + 1, count, vertices, clipping);
            facing_value = facing;
            const uint8_t* first = target(offsets + 2);
            const uint8_t* second = target(offsets + 4);
            walk(facing >= 0 ? first : second, vertices, light, clipping, shadow);
            walk(facing >= 0 ? second : first, vertices, light, clipping, shadow);
            p = target(offsets);
            break;
        }
        case FACE_OP_IF:
            if (current_state_mask & read_u32(p)) walk(target(p + 6), vertices, light, clipping, shadow);
            p = target(p + 4);
            break;
        case FACE_OP_IF_ELSE:
            walk(target((current_state_mask & read_u32(p)) ? p + 6 : p + 8), vertices, light, clipping, shadow);
            p = target(p + 4);
            break;
        case FACE_OP_SWITCH: {
            // Its case table, mask + 1 offsets, follows the next offset.
            const uint32_t k = (current_state_mask >> p[5]) & read_u32(p + 1);
            walk(target(p + 8 + 2 * size_t(k)), vertices, light, clipping, shadow);
            p = target(p + 6);
            break;
        }
        case FACE_OP_SUB_OBJECT:
            if (shadow) draw_sub_object_shadow(*p++);
            else draw_sub_object(*p++);
            break;
        case FACE_OP_END:
            return;
        default:
            if (clipping) report_fatal_error("Illegal face type encountered in 3D object data.", SOURCE, __LINE__);
            else report_fatal_error("Illegal face type %d encountered in 3D object data.", SOURCE, __LINE__, op);
            return;
        }
    }
}

}  // namespace

void walk_faces(const uint8_t* code, PolyVertex* vertices, const int32_t* light) {
    walk(code, vertices, light, false, false);
}
void walk_faces_clipped(const uint8_t* code, PolyVertex* vertices, const int32_t* light) {
    walk(code, vertices, light, true, false);
}
void walk_shadow_faces(const uint8_t* code, PolyVertex* vertices) { walk(code, vertices, nullptr, false, true); }
void walk_shadow_faces_clipped(const uint8_t* code, PolyVertex* vertices) { walk(code, vertices, nullptr, true, true); }

const uint8_t* draw_face(const uint8_t* record, PolyVertex* vertices, const int32_t* light) {
    return handle_face(record, vertices, light, {false, false});
}
const uint8_t* draw_conditional_face(const uint8_t* record, PolyVertex* vertices, const int32_t* light) {
    return handle_face(record, vertices, light, {false, true});
}
const uint8_t* draw_face_clipped(const uint8_t* record, PolyVertex* vertices, const int32_t* light) {
    return handle_face(record, vertices, light, {true, false});
}
const uint8_t* draw_conditional_face_clipped(const uint8_t* record, PolyVertex* vertices, const int32_t* light) {
    return handle_face(record, vertices, light, {true, true});
}

}  // namespace vyr
