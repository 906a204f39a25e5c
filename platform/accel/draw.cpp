#include "platform/accel/draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "platform/accel/framebuffer.h"
#include "platform/accel/spans.h"

namespace vyr::platform::accel {

namespace {

// Far enough for any guard band, near enough that edge products stay well inside 64 bits.
constexpr float COORDINATE_LIMIT = 1048576.0f;
// Larger colours or texture coordinates are garbage, and could overflow the interpolation.
constexpr float ATTRIBUTE_LIMIT = 1e6f;
constexpr int ATTRIBUTES = 7;
constexpr int SUBPIXELS = 16;

// A vertex ready for setup: position in pixels and in 1/16 pixels, and the attributes that
// interpolate linearly on the screen (in the order of SpanAttributes).
struct Prepared {
    double x, y;
    int64_t fx, fy;
    double values[ATTRIBUTES];
};

bool prepare(const Vertex& v, float bias, Prepared& out) {
    const float all[] = {v.x, v.y, v.oow, v.r, v.g, v.b, v.a, v.sow, v.tow};
    for (float f : all) {
        if (!std::isfinite(f))
            return false;
    }
    float x = v.x - bias, y = v.y - bias;
    if (std::fabs(x) > COORDINATE_LIMIT || std::fabs(y) > COORDINATE_LIMIT || !(v.oow > 0.0f))
        return false;
    for (int i = 2; i < 9; ++i) {
        if (std::fabs(all[i]) > ATTRIBUTE_LIMIT)
            return false;
    }
    out.x = x;
    out.y = y;
    out.fx = std::llround(double(x) * SUBPIXELS);
    out.fy = std::llround(double(y) * SUBPIXELS);
    double oow = v.oow;
    double values[ATTRIBUTES] = {oow, v.r * oow, v.g * oow, v.b * oow, v.a * oow, v.sow, v.tow};
    std::copy(values, values + ATTRIBUTES, out.values);
    return true;
}

SpanAttributes to_span(const double values[ATTRIBUTES]) {
    return {float(values[0]), float(values[1]), float(values[2]), float(values[3]),
            float(values[4]), float(values[5]), float(values[6])};
}

int64_t floor_div(int64_t n, int64_t d) { return n / d - ((n % d != 0) && ((n < 0) != (d < 0))); }
int64_t ceil_div(int64_t n, int64_t d) { return -floor_div(-n, d); }

// The first pixel at or right of an edge, row by row: ceil((x(Ys) - 8) / 16) in 1/16 pixels,
// with Ys the row's centre; kept as quotient and remainder so each row costs two additions.
struct Edge {
    int64_t q, r, d, q_step, r_step;

    void start(const Prepared& a, const Prepared& b, int row) {
        int64_t dx = b.fx - a.fx, dy = b.fy - a.fy;
        d = SUBPIXELS * dy;
        int64_t n = (a.fx - SUBPIXELS / 2) * dy + (SUBPIXELS * row + SUBPIXELS / 2 - a.fy) * dx;
        q = ceil_div(n, d);
        r = q * d - n;
        q_step = floor_div(SUBPIXELS * dx, d);
        r_step = SUBPIXELS * dx - q_step * d;
    }
    void step() {
        q += q_step;
        r -= r_step;
        if (r < 0) {
            ++q;
            r += d;
        }
    }
};

int first_row_at_or_below(int64_t fy) {
    return int(ceil_div(fy - SUBPIXELS / 2, SUBPIXELS));
}

void fill_triangle(const Prepared* v0, const Prepared* v1, const Prepared* v2, uint16_t* target) {
    if (v1->fy < v0->fy)
        std::swap(v0, v1);
    if (v2->fy < v1->fy)
        std::swap(v1, v2);
    if (v1->fy < v0->fy)
        std::swap(v0, v1);
    int64_t area2 = (v1->fx - v0->fx) * (v2->fy - v0->fy) - (v2->fx - v0->fx) * (v1->fy - v0->fy);
    if (area2 == 0)
        return;

    // Attribute planes, from v0.
    double x1 = v1->x - v0->x, y1 = v1->y - v0->y, x2 = v2->x - v0->x, y2 = v2->y - v0->y;
    double det = x1 * y2 - x2 * y1;
    double ddx[ATTRIBUTES], ddy[ATTRIBUTES];
    for (int k = 0; k < ATTRIBUTES; ++k) {
        double d1 = v1->values[k] - v0->values[k], d2 = v2->values[k] - v0->values[k];
        ddx[k] = (d1 * y2 - d2 * y1) / det;
        ddy[k] = (d2 * x1 - d1 * x2) / det;
    }
    SpanAttributes step = to_span(ddx);

    int top = std::max(first_row_at_or_below(v0->fy), 0);
    int middle = first_row_at_or_below(v1->fy);
    int bottom = std::min(first_row_at_or_below(v2->fy), SCREEN_HEIGHT);
    if (top >= bottom)
        return;
    bool long_edge_left = area2 > 0;
    Edge long_edge, short_edge;
    long_edge.start(*v0, *v2, top);
    const Prepared* ends[2][2] = {{v0, v1}, {v1, v2}};
    int rows[2][2] = {{top, std::min(middle, bottom)}, {std::max(middle, top), bottom}};
    for (int part = 0; part < 2; ++part) {
        if (rows[part][0] >= rows[part][1])
            continue;
        short_edge.start(*ends[part][0], *ends[part][1], rows[part][0]);
        for (int row = rows[part][0]; row < rows[part][1]; ++row) {
            const Edge& left = long_edge_left ? long_edge : short_edge;
            const Edge& right = long_edge_left ? short_edge : long_edge;
            int64_t x_start = std::max<int64_t>(left.q, 0);
            int64_t x_end = std::min<int64_t>(right.q, SCREEN_WIDTH);
            if (x_start < x_end) {
                double cx = double(x_start) + 0.5 - v0->x, cy = row + 0.5 - v0->y;
                auto at = [&](int k) { return float(v0->values[k] + ddx[k] * cx + ddy[k] * cy); };
                draw_span(target, int(x_start), row, int(x_end - x_start),
                          {at(0), at(1), at(2), at(3), at(4), at(5), at(6)}, step);
            }
            long_edge.step();
            short_edge.step();
        }
    }
}

bool on_screen(double x, double y) {
    return x >= 0 && x < SCREEN_WIDTH && y >= 0 && y < SCREEN_HEIGHT;
}

}  // namespace

void draw_polygon(const Vertex* vertices, int count) {
    uint16_t* target = draw_buffer();
    if (target == nullptr || vertices == nullptr || count < 3 || count > MAX_POLYGON_VERTICES)
        return;
    Prepared prepared[MAX_POLYGON_VERTICES];
    for (int i = 0; i < count; ++i) {
        if (!prepare(vertices[i], SNAP_BIAS, prepared[i]))
            return;
        // Far out the bias no longer rounds to 1/16: the planes then take the grid the edges
        // use, so a triangle that covers a pixel always has planes to interpolate.
        prepared[i].x = double(prepared[i].fx) / SUBPIXELS;
        prepared[i].y = double(prepared[i].fy) / SUBPIXELS;
    }
    if (!begin_primitive())
        return;
    for (int i = 1; i + 1 < count; ++i)
        fill_triangle(&prepared[0], &prepared[i], &prepared[i + 1], target);
}

void draw_triangle(const Vertex& a, const Vertex& b, const Vertex& c) {
    const Vertex vertices[3] = {a, b, c};
    draw_polygon(vertices, 3);
}

void draw_line(const Vertex& a, const Vertex& b) {
    uint16_t* target = draw_buffer();
    Prepared pa, pb;
    if (target == nullptr || !prepare(a, 0.0f, pa) || !prepare(b, 0.0f, pb))
        return;
    double dx = pb.x - pa.x, dy = pb.y - pa.y;
    int steps = int(std::lround(std::max(std::fabs(dx), std::fabs(dy))));
    if (steps == 0 || !begin_primitive())
        return;
    const SpanAttributes none{};
    for (int i = 0; i < steps; ++i) {
        double t = double(i) / steps;
        double x = pa.x + dx * t, y = pa.y + dy * t;
        if (!on_screen(x, y))
            continue;
        double values[ATTRIBUTES];
        for (int k = 0; k < ATTRIBUTES; ++k)
            values[k] = pa.values[k] + (pb.values[k] - pa.values[k]) * t;
        draw_span(target, int(x), int(y), 1, to_span(values), none);
    }
}

void draw_point(const Vertex& v) {
    uint16_t* target = draw_buffer();
    Prepared p;
    if (target == nullptr || !prepare(v, 0.0f, p) || !on_screen(p.x, p.y) || !begin_primitive())
        return;
    draw_span(target, int(p.x), int(p.y), 1, to_span(p.values), SpanAttributes{});
}

}  // namespace vyr::platform::accel
