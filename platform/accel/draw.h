// Drawing through the accelerator's pipeline into the back buffer.
//
// Polygons and triangles cover the pixels whose centres lie inside them; a centre on a left or a
// top edge is inside, one on a right or a bottom edge is not, so primitives that share an edge
// never both draw a pixel on it and leave no gap. Colours and texture coordinates are interpolated
// perspective-correct by the vertices' oow. Vertices that are not finite, lie beyond a million
// pixels of the screen, have an oow that is not positive or values beyond a million draw nothing.
#pragma once

namespace vyr::platform::accel {

// Polygon and triangle vertices carry x and y plus SNAP_BIAS: the float addition snaps them to
// 1/16 pixel, the grid the edges are computed on. Lines and points take plain pixel positions.
constexpr float SNAP_BIAS = 786432.0f;

constexpr int MAX_POLYGON_VERTICES = 256;

struct Vertex {
    float x, y;      // pixels; pixel (0, 0) spans 0..1, its centre is at 0.5
    float oow;       // 1 / w
    float r, g, b;   // 0..255
    float a;         // 0..255
    float sow, tow;  // s / w and t / w: s and t run 0..256 across the texture's larger side
};

// A convex polygon as a fan from its first vertex; 3 to MAX_POLYGON_VERTICES vertices.
void draw_polygon(const Vertex* vertices, int count);
void draw_triangle(const Vertex& a, const Vertex& b, const Vertex& c);
// The pixels a line passes from `a` towards `b`, one per step along its longer axis; the pixel
// of `b` is left to the line that starts there.
void draw_line(const Vertex& a, const Vertex& b);
// The pixel that holds (x, y).
void draw_point(const Vertex& v);

}  // namespace vyr::platform::accel
