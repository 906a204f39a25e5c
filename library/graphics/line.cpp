#include "library/graphics/line.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdlib>

#include "library/graphics/ddraw.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"

namespace vyr {

uint32_t dash_mask = 0xAAAAAAAA;

namespace {

constexpr uint8_t DISPLAY_XOR = 0xB9;

// Pixel writers hold a running position that the stepping moves one unit at a time, so no
// address is ever multiplied out inside a line.
template <class Op>
struct ScreenWriter {
    uint8_t* at;
    ptrdiff_t pitch;
    Op op;
    void step_x(int direction) { at += direction; }
    void step_y(int direction) { at += direction < 0 ? -pitch : pitch; }
    void put() { op(*at); }
};

struct FrameWriter {
    uint8_t* at;
    ptrdiff_t stride;
    uint32_t colour;
    void step_x(int direction) { at += 4 * direction; }
    void step_y(int direction) { at += direction < 0 ? -stride : stride; }
    void put() { put_frame_pixel(at, colour); }
};

// Lines on the display may run anywhere, so this writer keeps coordinates and tests each pixel
// against the display clip rectangle as it stood when the line began.
struct DisplayWriter {
    uint8_t* surface;
    const int32_t* row_offsets;
    int x, y;
    int32_t left = display_clip_x0, top = display_clip_y0, right = display_clip_x1, bottom = display_clip_y1;
    void step_x(int direction) { x += direction; }
    void step_y(int direction) { y += direction; }
    void put() {
        if (x >= left && x <= right && y >= top && y <= bottom) surface[row_offsets[y] + x] ^= DISPLAY_XOR;
    }
};

// Draws where the bit leaving position 31 of the running mask is 1.
template <class Writer>
struct Dashed {
    Writer writer;
    uint32_t mask;
    void step_x(int direction) { writer.step_x(direction); }
    void step_y(int direction) { writer.step_y(direction); }
    void put() {
        bool on = (mask >> 31) != 0;
        mask = std::rotl(mask, 1);
        if (on) writer.put();
    }
};

// One loop per octant: the major axis steps every pixel, the minor one whenever the error term,
// starting at half the major length rounded up, falls to 0 or below.
template <bool X_MAJOR, int STEP_X, int STEP_Y, class Writer>
Writer step_octant(Writer writer, int64_t major, int64_t minor) {
    int64_t error = (major + 1) / 2;
    writer.put();
    for (int64_t left = major; left > 0; --left) {
        if constexpr (X_MAJOR) writer.step_x(STEP_X); else writer.step_y(STEP_Y);
        error -= minor;
        if (error <= 0) {
            error += major;
            if constexpr (X_MAJOR) writer.step_y(STEP_Y); else writer.step_x(STEP_X);
        }
        writer.put();
    }
    return writer;
}

// Every line form steps through here; |dx| == |dy| takes y as the major axis. The writer goes by
// value so that its running position stays in registers; it comes back as the line left it.
template <class Writer>
Writer step_line(Writer writer, int x1, int y1, int x2, int y2) {
    using Octant = Writer (*)(Writer, int64_t, int64_t);
    static constexpr Octant OCTANTS[8] = {
        step_octant<false, 1, 1, Writer>,   step_octant<true, 1, 1, Writer>,
        step_octant<false, 1, -1, Writer>,  step_octant<true, 1, -1, Writer>,
        step_octant<false, -1, 1, Writer>,  step_octant<true, -1, 1, Writer>,
        step_octant<false, -1, -1, Writer>, step_octant<true, -1, -1, Writer>,
    };
    int64_t dx = int64_t(x2) - x1, dy = int64_t(y2) - y1;
    int64_t run = std::abs(dx), rise = std::abs(dy);
    bool x_major = run > rise;
    return OCTANTS[4 * (dx < 0) + 2 * (dy < 0) + x_major](writer, x_major ? run : rise, x_major ? rise : run);
}

template <class Op>
ScreenWriter<Op> screen_writer(Op op, int x, int y) {
    return {row_table[y] + x, screen_pitch, op};
}

template <class Op>
void screen_line(Op op, int x1, int y1, int x2, int y2) {
    if (current_screen) step_line(screen_writer(op, x1, y1), x1, y1, x2, y2);
}

// Returns the dash mask as the line leaves it.
template <class Op>
uint32_t screen_dashed_line(Op op, uint32_t mask, int x1, int y1, int x2, int y2) {
    if (!current_screen) return mask;
    return step_line(Dashed<ScreenWriter<Op>>{screen_writer(op, x1, y1), mask}, x1, y1, x2, y2).mask;
}

auto set_to(int colour) {
    return [value = uint8_t(colour)](uint8_t& pixel) { pixel = value; };
}

auto remap_by(const uint8_t* table) {
    return [table](uint8_t& pixel) { pixel = table[pixel]; };
}

constexpr auto invert = [](uint8_t& pixel) { pixel ^= 0xFF; };

}  // namespace

void draw_line(int colour, int x1, int y1, int x2, int y2) { screen_line(set_to(colour), x1, y1, x2, y2); }

void line_remap(const uint8_t* table, int x1, int y1, int x2, int y2) { screen_line(remap_by(table), x1, y1, x2, y2); }

void line_xor(int x1, int y1, int x2, int y2) { screen_line(invert, x1, y1, x2, y2); }

void line_dashed(int colour, int x1, int y1, int x2, int y2) {
    dash_mask = screen_dashed_line(set_to(colour), dash_mask, x1, y1, x2, y2);
}

void line_dashed_xor(int x1, int y1, int x2, int y2) { dash_mask = screen_dashed_line(invert, dash_mask, x1, y1, x2, y2); }

void line_dashed_remap(const uint8_t* table, int x1, int y1, int x2, int y2) {
    screen_dashed_line(remap_by(table), dash_mask, x1, y1, x2, y2);
}

void draw_vline(int colour, int x, int y1, int y2) {
    if (!current_screen) return;
    auto [top, bottom] = std::minmax(y1, y2);
    uint8_t* at = row_table[top] + x;
    for (int y = top; y <= bottom; ++y, at += screen_pitch) *at = uint8_t(colour);
}

void draw_line32(int colour, int x1, int y1, int x2, int y2) {
    uint8_t* start = frame_buffer + ptrdiff_t(y1) * frame_buffer_stride + 4 * ptrdiff_t(x1);
    step_line(FrameWriter{start, frame_buffer_stride, display_colours[uint8_t(colour)]}, x1, y1, x2, y2);
}

void draw_line32_dashed(int colour, int x1, int y1, int x2, int y2) {
    uint8_t* start = frame_buffer + ptrdiff_t(y1) * frame_buffer_stride + 4 * ptrdiff_t(x1);
    dash_mask = step_line(Dashed<FrameWriter>{{start, frame_buffer_stride, display_colours[uint8_t(colour)]}, dash_mask}, x1, y1, x2, y2).mask;
}

void draw_xor_line_raw(uint8_t* surface, const int32_t* row_offsets, int x0, int y0, int x1, int y1) {
    step_line(DisplayWriter{surface, row_offsets, x0, y0}, x0, y0, x1, y1);
}

void draw_xor_dashed_line_raw(uint8_t* surface, const int32_t* row_offsets, int x0, int y0, int x1, int y1) {
    dash_mask = step_line(Dashed<DisplayWriter>{{surface, row_offsets, x0, y0}, dash_mask}, x0, y0, x1, y1).mask;
}

}  // namespace vyr
