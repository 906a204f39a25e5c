// The 3D viewport and the eye-space view volume every 3D drawer works against: x right, y the
// depth, z up stretched by the viewport's aspect so that the volume is the pyramid |x| <= y,
// |z| <= y. Outcodes classify points against it; projection turns clipped points into pixels.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"

namespace vyr {

struct ViewportRect {
    int32_t left, top;
    int32_t right, bottom;  // inclusive
    int32_t width, height;
    int32_t half_width, half_height;
};

// 5.27 fixed point: width / height and height / width.
struct ProjectionScale {
    int32_t aspect;
    int32_t inverse_aspect;
};

extern ViewportRect viewport_rect;
extern ProjectionScale projection_scale;

constexpr int32_t OUTCODE_LEFT = 1;
constexpr int32_t OUTCODE_RIGHT = 2;
constexpr int32_t OUTCODE_BELOW = 4;
constexpr int32_t OUTCODE_ABOVE = 8;
constexpr int32_t OUTCODE_BEHIND = 0x80;  // depth <= 0

// Also makes the rectangle the clip rectangle of the 2D primitives.
void set_viewport(int left, int top, int width, int height);
// Fills the viewport with a four-byte colour pattern.
void clear_viewport(uint32_t pattern);

// An up coordinate times the aspect factor, rounded: the z that outcodes and clippers compare.
int32_t stretch_up(int32_t up);
// `up` already stretched. A point behind the eye is classed against the planes through the eye.
int32_t get_outcode(int32_t x, int32_t depth, int32_t up);
// 0 when every point lies outside one plane, 2 when all lie inside, else 1; `up` unstretched.
int classify_points(const int32_t* x, const int32_t* depth, const int32_t* up, int count);

// Screen position of a clipped vertex (depth at least 1).
void project_vertex(PolyVertex& v);

// The winding of a projected polygon: negative when it faces away, 0 with fewer than three
// vertices.
int32_t get_facing(const PolyVertex* first);
// The same, skipping vertices that coincide on screen; 0 when fewer than three distinct ones.
int32_t get_facing_robust(const PolyVertex* first);

}  // namespace vyr
