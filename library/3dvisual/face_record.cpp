#include "library/3dvisual/face_record.h"

namespace vyr {

namespace {

// Colours, normal, texture, vertex normals, u and v, fewest vertices.
constexpr FaceLayout LAYOUTS[RENDER_MODE_COUNT] = {
    {1, false, false, false, false, 1},  // points
    {1, false, false, false, false, 2},  // lines
    {1, false, false, false, false, 3},  // flat
    {2, false, false, false, false, 3},  // flat rgb
    {1, false, false, false, false, 3},  // glow
    {1, false, false, false, false, 3},  // translucent rgb
    {0, false, false, false, false, 3},  // translucent
    {2, false, true, false, true, 3},    // textured
    {2, false, true, false, true, 3},    // masked
    {1, true, false, false, false, 1},   // points lit
    {1, true, false, false, false, 2},   // lines lit
    {1, true, false, false, false, 3},   // flat lit
    {2, true, false, false, false, 3},   // flat lit dual
    {1, true, false, false, false, 3},   // stipple lit
    {1, true, false, false, false, 3},   // sparse lit
    {2, true, true, false, true, 3},     // textured lit
    {2, true, true, false, true, 3},     // masked lit
    {1, true, false, true, false, 3},    // Gouraud
    {2, true, false, true, false, 3},    // Gouraud dual
    {2, true, true, true, true, 3},      // detail
    {2, true, true, true, true, 3},      // detail masked
    {0, false, false, false, false, 3},  // shimmer
};

}  // namespace

FaceLayout face_layout(int mode, bool conditional) {
    FaceLayout layout = LAYOUTS[mode];
    if (conditional && (mode == RENDER_MASKED || mode == RENDER_MASKED_LIT || mode == RENDER_DETAIL_MASKED))
        layout.colours = 0;
    return layout;
}

int face_record_length(const FaceLayout& layout, int count) {
    const int per_vertex = 1 + (layout.vertex_normal ? 1 : 0) + (layout.uv ? 2 : 0);
    return 2 + layout.colours + (layout.normal ? 1 : 0) + (layout.texture ? 1 : 0) + count * per_vertex;
}

const uint8_t* read_face_record(const uint8_t* record, bool conditional, FaceRecord& face) {
    face.mode = record[0];
    face.count = record[1];
    const FaceLayout layout = face_layout(face.mode, conditional);
    const uint8_t* p = record + 2;
    face.colour1 = layout.colours > 0 ? *p++ : 0;
    face.colour2 = layout.colours > 1 ? *p++ : 0;
    face.face_normal = layout.normal ? *p++ : 0;
    face.texture = layout.texture ? *p++ : 0;
    // The values of each vertex follow its number.
    for (int i = 0; i < face.count; ++i) {
        face.vertices[i] = *p++;
        face.vertex_normals[i] = layout.vertex_normal ? *p++ : 0;
        face.u[i] = layout.uv ? *p++ : 0;
        face.v[i] = layout.uv ? *p++ : 0;
    }
    return p;
}

}  // namespace vyr
