// The records of an object's face code: the ops of the stream and the face records they hold,
// read by the loader's check and by the walkers alike so that both agree on every length.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int FACE_OP_FACE = 0;
constexpr int FACE_OP_CONDITIONAL = 1;  // drawn only when the last facing was not negative
constexpr int FACE_OP_NODE = 2;         // two sub-streams ordered by the side the eye is on
constexpr int FACE_OP_IF = 3;
constexpr int FACE_OP_IF_ELSE = 4;
constexpr int FACE_OP_SWITCH = 5;
constexpr int FACE_OP_SUB_OBJECT = 6;
constexpr int FACE_OP_END = 7;

enum RenderMode : uint8_t {
    RENDER_POINTS,
    RENDER_LINES,
    RENDER_FLAT,
    RENDER_FLAT_RGB,
    RENDER_GLOW,
    RENDER_TRANSLUCENT_RGB,
    RENDER_TRANSLUCENT,
    RENDER_TEXTURED,
    RENDER_MASKED,
    RENDER_POINTS_LIT,
    RENDER_LINES_LIT,
    RENDER_FLAT_LIT,
    RENDER_FLAT_LIT_DUAL,
    RENDER_STIPPLE_LIT,
    RENDER_SPARSE_LIT,
    RENDER_TEXTURED_LIT,
    RENDER_MASKED_LIT,
    RENDER_GOURAUD,
    RENDER_GOURAUD_DUAL,
    RENDER_DETAIL,
    RENDER_DETAIL_MASKED,
    RENDER_SHIMMER,
    RENDER_MODE_COUNT
};

constexpr int MAX_FACE_VERTICES = 256;

// One face record read out: fields the mode lacks stay 0.
struct FaceRecord {
    int mode;
    int count;  // vertices
    uint8_t colour1, colour2;
    uint8_t face_normal;
    uint8_t texture;
    uint8_t vertices[MAX_FACE_VERTICES];
    uint8_t vertex_normals[MAX_FACE_VERTICES];
    uint8_t u[MAX_FACE_VERTICES], v[MAX_FACE_VERTICES];
};

// What a mode's record holds after its mode and count bytes.
struct FaceLayout {
    uint8_t colours;  // 0, 1 or 2 colour bytes
    bool normal;      // a face-normal number
    bool texture;     // a texture number
    bool vertex_normal;
    bool uv;
    uint8_t min_count;  // fewer vertices make no point, line or polygon
};

// The layout of `mode` (below RENDER_MODE_COUNT) as a plain or a conditional face: the
// conditional masked modes carry no colours.
FaceLayout face_layout(int mode, bool conditional);

// Bytes of a record with `count` vertices, mode and count bytes included.
int face_record_length(const FaceLayout& layout, int count);

// Reads a record whose mode is valid and whose bytes are all there; returns the byte after it.
const uint8_t* read_face_record(const uint8_t* record, bool conditional, FaceRecord& face);

inline int16_t read_offset16(const uint8_t* p) { return int16_t(uint16_t(p[0] | p[1] << 8)); }
inline uint32_t read_u32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace vyr
