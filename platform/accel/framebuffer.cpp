#include "platform/accel/framebuffer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/accel/pipeline.h"
#include "platform/accel/spans.h"
#include "platform/accel/textures.h"
#include "platform/display/display.h"
#include "platform/display/vblank.h"
#include "platform/window/window.h"

namespace vyr::platform::accel {

namespace {

constexpr int PIXELS = SCREEN_WIDTH * SCREEN_HEIGHT;  // a multiple of 4
// Callers write 0x00RRGGBB, so a set top byte marks a pixel of the 888 buffer not yet written.
constexpr uint32_t UNWRITTEN = 0xFF000000;

std::vector<uint16_t> colour_buffers[2];
int front = 0;
// Pictures drawn apart from the frame (the sensor displays' images).
std::vector<uint16_t> offscreen_buffer;
bool offscreen_selected = false;
bool shown_3d = false;

std::vector<uint32_t> writes_888;
int locks_888 = 0;
uint16_t* target_888 = nullptr;

std::vector<uint32_t> presented;
// Every RGB565 word's presented 0x00RRGGBB under the gamma: one load a pixel.
std::vector<uint32_t> gamma_565;

uint16_t* buffer(LockBuffer which) {
    return colour_buffers[which == LockBuffer::FRONT ? front : 1 - front].data();
}

void build_gamma(float gamma) {
    auto level = [gamma](int value, int maximum) {
        double x = double(value) / maximum;
        return uint32_t(std::lround(255.0 * std::pow(x, 1.0 / gamma)));
    };
    uint32_t red[32], green[64], blue[32];
    for (int i = 0; i < 32; ++i) {
        red[i] = level(i, 31) << 16;
        blue[i] = level(i, 31);
    }
    for (int i = 0; i < 64; ++i)
        green[i] = level(i, 63) << 8;
    gamma_565.resize(1 << 16);
    for (uint32_t p = 0; p < gamma_565.size(); ++p)
        gamma_565[p] = red[p >> 11] | green[p >> 5 & 63] | blue[p & 31];
}

void present_front() {
    Window* w = window();
    if (w == nullptr || !shown_3d || !display_open())
        return;
    const uint16_t* source = buffer(LockBuffer::FRONT);
    const uint32_t* colour = gamma_565.data();
    for (int i = 0; i < PIXELS; ++i)
        presented[i] = colour[source[i]];
    w->call_on_window_thread(
        [&] { w->present(presented.data(), SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_WIDTH); });
}

bool written(uint32_t word) { return word < UNWRITTEN; }

// Whether any of the `count` pixels from `marks` on was written.
bool any_written(const uint32_t* marks, int count) {
    uint32_t all = ~0u;
    for (int x = 0; x < count; ++x)
        all &= marks[x];
    return written(all);
}

// Marks are looked at a block of pixels at once, and each run of blocks with writes in a row is
// converted in one go (the dither depends on the position alone); only the written pixels are
// taken, and the marks are reset.
constexpr int BLOCK = 16;
static_assert(SCREEN_WIDTH % BLOCK == 0);

void commit_888() {
    uint16_t converted[SCREEN_WIDTH];
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        uint32_t* row = writes_888.data() + y * SCREEN_WIDTH;
        if (!any_written(row, SCREEN_WIDTH))
            continue;
        uint16_t* target = target_888 + y * SCREEN_WIDTH;
        for (int x = 0; x < SCREEN_WIDTH;) {
            if (!any_written(row + x, BLOCK)) {
                x += BLOCK;
                continue;
            }
            int end = x + BLOCK;
            while (end < SCREEN_WIDTH && any_written(row + end, BLOCK))
                end += BLOCK;
            to_565(row + x, converted, x, y, end - x);
            for (int k = x; k < end; ++k) {
                target[k] = written(row[k]) ? converted[k - x] : target[k];
                row[k] = UNWRITTEN;
            }
            x = end;
        }
    }
}

// Puts the 888 writes into the locked buffer and ends the lock.
void release_888() {
    commit_888();
    locks_888 = 0;
    target_888 = nullptr;
}

}  // namespace

int count_boards() { return 1; }

void open_display() {
    for (auto& b : colour_buffers)
        b.assign(PIXELS + SPAN_SLACK, 0);
    offscreen_buffer.assign(PIXELS + SPAN_SLACK, 0);
    offscreen_selected = false;
    front = 0;
    writes_888.assign(PIXELS, UNWRITTEN);
    locks_888 = 0;
    target_888 = nullptr;
    presented.assign(PIXELS, 0);
    build_gamma(1.0f);
    reset_pipeline();
    reset_textures();
    show_3d_display();
}

void shut_down() {
    hand_display_to_2d();
    for (auto& b : colour_buffers)
        b = {};
    offscreen_buffer = {};
    offscreen_selected = false;
    writes_888 = {};
    presented = {};
    locks_888 = 0;
    target_888 = nullptr;
}

bool display_open() { return !colour_buffers[0].empty(); }

void clear_buffer(uint32_t rgba) {
    if (!display_open())
        return;
    // The dither repeats every four rows: four rows made once are copied down the buffer.
    uint32_t colour[SCREEN_WIDTH];
    std::fill_n(colour, SCREEN_WIDTH, rgba >> 8);
    uint16_t rows[4][SCREEN_WIDTH];
    for (int y = 0; y < 4; ++y)
        to_565(colour, rows[y], 0, y, SCREEN_WIDTH);
    uint16_t* back = draw_buffer();
    for (int y = 0; y < SCREEN_HEIGHT; ++y)
        std::copy_n(rows[y & 3], SCREEN_WIDTH, back + y * SCREEN_WIDTH);
}

void swap_buffers(int interval) {
    if (!display_open())
        return;
    for (int i = 0; i < interval; ++i)
        wait_for_vertical_blank();
    // A lock held across the swap would name the other buffer when it is let go.
    if (locks_888 > 0)
        release_888();
    front = 1 - front;
    present_front();
}

void show_3d_display() {
    shown_3d = true;
    hold_display(true);
    present_front();
}

void hand_display_to_2d() {
    shown_3d = false;
    hold_display(false);
}

bool is_3d_display_shown() { return shown_3d; }

void set_gamma(float gamma) {
    if (gamma > 0.0f && std::isfinite(gamma))
        build_gamma(gamma);
}

bool lock_frame_buffer(LockAccess access, LockBuffer which, LockFormat format,
                       LockedBuffer& out) {
    out = {};
    if (!display_open() || offscreen_selected)
        return false;
    uint16_t* colours = buffer(which);
    bool writes_in_888 = access == LockAccess::WRITE && format == LockFormat::RGB888;
    if (locks_888 > 0 && target_888 != colours && writes_in_888)
        return false;
    if (locks_888 > 0 && target_888 == colours && access == LockAccess::WRITE && !writes_in_888)
        return false;
    if (!writes_in_888) {
        out = {colours, SCREEN_WIDTH * int(sizeof(uint16_t))};
        return true;
    }
    ++locks_888;
    target_888 = colours;
    out = {writes_888.data(), SCREEN_WIDTH * int(sizeof(uint32_t))};
    return true;
}

void unlock_frame_buffer(LockAccess access, LockBuffer which) {
    if (access != LockAccess::WRITE || locks_888 == 0 || target_888 != buffer(which))
        return;
    if (locks_888 == 1)
        release_888();
    else
        --locks_888;
}

uint16_t* draw_buffer() {
    if (!display_open()) return nullptr;
    return offscreen_selected ? offscreen_buffer.data() : buffer(LockBuffer::BACK);
}

void select_offscreen_target(bool selected) { offscreen_selected = selected && display_open(); }

const uint16_t* offscreen_target() { return display_open() ? offscreen_buffer.data() : nullptr; }

}  // namespace vyr::platform::accel
