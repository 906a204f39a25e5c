// What the effects of the world share when they are queued and drawn: the depth window and key of
// a node, the eye-space centre of a billboard and its keyed quad. Each effect keeps its own sky
// and night-vision filters.
#pragma once

#include <cstdint>

#include "library/3dvisual/object_buffer.h"
#include "library/maths/vector.h"

namespace vyr {

// Texture coordinates of the polygon layer: a texture's full width and half of it.
constexpr int32_t EFFECT_TEXTURE_FULL = 4194303;
constexpr int32_t EFFECT_TEXTURE_HALF = 2097151;

enum class EffectQueue : uint8_t { SKIPPED, QUEUED, FULL };

// Whether an effect at height z shows from the eye's side of the cloud layer: none from inside
// it, below it only what lies under the cloud base, above it only what lies over the cloud top.
bool effect_height_shows(int32_t z);

// Files a node of `type` for `record` at `position` when its depth lies strictly between the
// object near limit and the object visual range; FULL when no node was left.
EffectQueue queue_effect_node(const Vector3& position, BufferNodeType type, void* record);

// A billboard corner: offsets right and up from the centre, texture coordinates across and down.
struct EffectCorner {
    int32_t right, up, u, v;
};

// The right, forward and up coordinates of a world point as the eye sees it.
Vector3 find_eye_space(const Vector3& position);

// The quad at the centre's depth, keyed: texel alpha minus `level`, drawn above `reference`.
void draw_effect_quad(const Vector3& centre, const EffectCorner (&corners)[4], int texture, int32_t level,
                      int reference);
// A square of half-size `size` turned by `angle` in the eye's right-and-up plane, the whole
// texture on it.
void draw_effect_square(const Vector3& centre, int32_t size, uint32_t angle, int texture, int32_t level,
                        int reference);

}  // namespace vyr
