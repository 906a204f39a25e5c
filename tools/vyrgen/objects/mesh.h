// Low-polygon models built in code: flat faces in the 3D palette's object colours, a few
// textured, with the sub-object places of their instance trees. Measures are in feet; x is to
// the right, y forward and z up, as in the game's object frame.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace vyr::vyrgen {

struct Point {
    double x, y, z;
};

inline Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Point operator*(Point a, double k) { return {a.x * k, a.y * k, a.z * k}; }

// Object colours of the 3D palette: the middle of each ramp, so that light moves them both ways.
namespace colour {
constexpr uint8_t BLACK = 3;
constexpr uint8_t DARK_GREY = 7;
constexpr uint8_t GREY = 10;
constexpr uint8_t LIGHT_GREY = 13;
constexpr uint8_t WHITE = 16;
constexpr uint8_t DARK_OLIVE = 19;
constexpr uint8_t OLIVE = 23;
constexpr uint8_t LIGHT_OLIVE = 27;
constexpr uint8_t BROWN = 31;
constexpr uint8_t TAN = 35;
constexpr uint8_t SAND = 39;
constexpr uint8_t NAVY_GREY = 43;
constexpr uint8_t BLUE_GREY = 46;
constexpr uint8_t DARK_RED = 51;
constexpr uint8_t RED = 54;
constexpr uint8_t ORANGE = 58;
constexpr uint8_t YELLOW = 61;
constexpr uint8_t DARK_BLUE = 65;
constexpr uint8_t BLUE = 68;
}  // namespace colour

// Object textures: face texture number 2 + 6k is accelerator texture 326 + k.
enum class Skin { WINDOWS = 0, CAMOUFLAGE = 1, ROOF = 3, BRICK = 4, DESERT_CAMO = 5, HULL = 7, SHUTTER = 9 };

struct TexturePoint {
    Point at;
    uint8_t u, v;
};

// One op of a model's face code, in the order drawn.
struct FaceItem {
    uint8_t mode = 0;
    uint8_t colour1 = 0, colour2 = 0;
    int texture = -1;
    std::vector<int> vertices;  // clockwise seen from outside, as the facing test wants
    std::vector<uint8_t> u, v;
    Point normal{0, 0, 1};  // unit, outward
    int sub_object = -1;    // >= 0: draw that slot instead of a face
    // A switch on the instance's state: case (state >> shift) & (cases - 1) is drawn.
    uint8_t shift = 0;
    std::vector<std::vector<FaceItem>> cases;
    bool node = false;  // cases 0 and 1 are the streams behind and in front of `vertices`
};

inline FaceItem face_of(uint8_t mode, uint8_t colour1, uint8_t colour2) {
    FaceItem face;
    face.mode = mode;
    face.colour1 = colour1;
    face.colour2 = colour2;
    return face;
}

class Mesh {
public:
    // Polygons are given counter-clockwise seen from outside (right-handed about the outward
    // normal); each is drawn lit, from its outside only.
    void polygon(const std::vector<Point>& points, uint8_t colour);
    void polygon2(const std::vector<Point>& points, uint8_t colour1, uint8_t colour2);  // two-tone
    void textured(const std::vector<TexturePoint>& points, uint8_t colour, Skin skin);
    // Both sides of a thin plate.
    void plate(const std::vector<Point>& points, uint8_t colour);
    // Unlit, for lamps, flames and markings.
    void glowing(const std::vector<Point>& points, uint8_t colour);
    void lamps(const std::vector<Point>& points, uint8_t colour);
    void raw(FaceItem face, const std::vector<Point>& points);
    void sub_object(int slot);
    // A node: the faces behind `plane` (counter-clockwise seen from its front) and those in front
    // of it, drawn far side first from wherever the eye is.
    void node(const std::vector<Point>& plane, const std::function<void(Mesh&)>& behind,
              const std::function<void(Mesh&)>& in_front);
    // Each case adds the faces drawn for its state; the count of cases is a power of two.
    void switch_on_state(uint8_t shift, const std::vector<std::function<void(Mesh&)>>& cases);

    void box(Point lo, Point hi, uint8_t colour, uint8_t top);
    void box(Point lo, Point hi, uint8_t colour) { box(lo, hi, colour, colour); }
    // A box whose sides carry `skin`, repeated every `tile` feet.
    void skinned_box(Point lo, Point hi, uint8_t colour, uint8_t top, Skin skin, double tile);
    // A prism along y of the cross-section (x, z) points given counter-clockwise seen from the
    // front (+y), from y0 to y1.
    void prism_y(const std::vector<std::pair<double, double>>& section, double y0, double y1, uint8_t colour);
    void prism_x(const std::vector<std::pair<double, double>>& section, double x0, double x1, uint8_t colour);
    // A tapering solid of `sides` sides along the y axis at (x, z): radius r0 at y0, r1 at y1
    // (a zero radius closes to a point). An end joined to another tube needs no cap.
    void tube_y(double x, double z, double y0, double r0, double y1, double r1, int sides, uint8_t colour,
                bool cap0 = true, bool cap1 = true);
    // The same standing on z.
    void tube_z(double x, double y, double z0, double r0, double z1, double r1, int sides, uint8_t colour);
    // A pyramid roof or spike over the rectangle at height z0 up to z1.
    void pyramid(Point lo, Point hi, double ridge_inset_x, double ridge_inset_y, double top, uint8_t colour);
    // A wing panel: root leading and trailing edge points (on the right side), tip leading and
    // trailing, thickness at the root; mirrored for both sides when `both`.
    void wing(Point root_lead, Point root_trail, Point tip_lead, Point tip_trail, double thickness, uint8_t colour,
              bool both);
    // A vertical fin on x = `x`, root and tip leading and trailing edges.
    void fin(double x, Point root_lead, Point root_trail, Point tip_lead, Point tip_trail, double thickness,
             uint8_t colour);

    int vertex(Point p);

    std::vector<Point> vertices;
    std::vector<FaceItem> items;
};

}  // namespace vyr::vyrgen
