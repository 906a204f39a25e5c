// Drawing of one object instance: level of detail, placement of the root's parts, the bounds
// test, the vertex transform and light, and its face code with or without clipping. Parts are
// drawn by the face code's sub-object op with the drawing state saved on a five-deep stack.
#pragma once

#include <cstdint>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/viewport.h"
#include "library/graphics/poly_types.h"

namespace vyr {

constexpr int32_t OBJ_NOZZLE = 1210;
constexpr int MAX_OBJECT_NESTING = 5;

// The state of the object being drawn, read by the face handlers.
extern ObjectInstance* current_instance;
extern uint32_t current_state_mask;
extern int32_t facing_value;  // of the last face or node tested; negative when turned away
extern int32_t nozzle_flag;   // 1 while the nozzle object's faces are drawn
extern int32_t translucent_colour;
// The nozzle's glow: its blended colour, palette entry 180 as reals, alpha and flicker.
extern uint8_t glow_colour[3];
extern float glow_base[3];
extern int32_t glow_alpha;
extern int32_t flicker_level;

// A coordinate times an 8.24 scale, rounded.
int32_t scale_coordinate(int32_t value, int32_t scale);
// The level of detail of `header` drawn at `view_distance`; its number (0 the nearest) into
// `level` when given.
struct ObjectHeader;
const ObjectHeader* get_object_level(const ObjectHeader* header, int32_t view_distance, int* level = nullptr);

// Fills `count` vertex records from `eye_of` (vertex number to eye space, up unstretched); with
// `outcodes` they are left in clip form and only those inside are projected. Answers false when
// a vertex lies at or behind the eye without outcodes.
template <typename EyeOf>
bool transform_vertices(int count, PolyVertex* vertices, bool outcodes, EyeOf eye_of) {
    for (int i = 0; i < count; ++i) {
        PolyVertex& out = vertices[i];
        int32_t up = 0;
        eye_of(i, out.x, out.y, up);
        out.z = stretch_up(up);
        if (outcodes) {
            out.outcode = get_outcode(out.x, out.y, out.z);
            if (out.outcode == 0) project_vertex(out);
        } else {
            if (out.y <= 0) return false;
            project_vertex(out);
        }
    }
    return true;
}

// Draws `instance`, whose view distance the caller has set.
void draw_object(ObjectInstance* instance);
// The part of `parent` in `slot` at the parent's distance, or null when it has none there; drawing
// it `depth` parts deep beyond the nesting limit is fatal.
ObjectInstance* get_part_to_draw(ObjectInstance* parent, int slot, int depth);
// Draws the current instance's part in `slot` at its distance, when it has one there.
void draw_sub_object(int slot);

// Set every frame by the player's aircraft: 0..100, and 1 while the afterburner burns.
void set_nozzle_opening(int32_t value);
void set_afterburner_lit(int32_t flag);

}  // namespace vyr
