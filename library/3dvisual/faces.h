// The face code of an object: a stream of faces, conditional faces, nodes that order two
// sub-streams by the side the eye is on, state switches and parts. One walker serves objects
// wholly inside the view, one those that cross it; each has a handler for plain and one for
// conditional faces. The streams have been checked at load.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"

namespace vyr {

// `vertices` are projected (and, for the clipping walker, outcoded in clip form); `light` holds
// one 1.31 light value per normal.
void walk_faces(const uint8_t* code, PolyVertex* vertices, const int32_t* light);
void walk_faces_clipped(const uint8_t* code, PolyVertex* vertices, const int32_t* light);

// The same stream drawn as a flattened shadow: points and lines skipped, every polygon in one
// dark fill, parts through draw_sub_object_shadow. No light is needed.
void walk_shadow_faces(const uint8_t* code, PolyVertex* vertices);
void walk_shadow_faces_clipped(const uint8_t* code, PolyVertex* vertices);

// Each draws one face record and returns the byte after it.
const uint8_t* draw_face(const uint8_t* record, PolyVertex* vertices, const int32_t* light);
const uint8_t* draw_conditional_face(const uint8_t* record, PolyVertex* vertices, const int32_t* light);
const uint8_t* draw_face_clipped(const uint8_t* record, PolyVertex* vertices, const int32_t* light);
const uint8_t* draw_conditional_face_clipped(const uint8_t* record, PolyVertex* vertices, const int32_t* light);

// The accelerator texture that holds object texture t: 326 to 368 for t of 0 to 255.
inline int accel_texture_of(int t) { return (t - 2) / 6 + 326; }

}  // namespace vyr
