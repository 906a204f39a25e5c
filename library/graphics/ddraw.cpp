#include "library/graphics/ddraw.h"

#include <algorithm>
#include <cstring>

#include "library/debug/fatal.h"
#include "library/graphics/line.h"
#include "library/graphics/screen.h"
#include "library/system/winmain.h"
#include "platform/display/display.h"
#include "platform/display/vblank.h"

namespace vyr {

const VideoMode video_modes[VIDEO_MODE_COUNT] = {
    {320, 240, 8}, {640, 480, 8}, {800, 600, 8}, {640, 480, 16}, {320, 200, 8},
};

int page_flipping = 0;
int32_t display_clip_x0 = 0, display_clip_y0 = 0, display_clip_x1 = 639, display_clip_y1 = 479;
uint8_t* display_surface = nullptr;
int32_t display_row_offsets[MAX_DISPLAY_ROWS];

namespace {

constexpr const char* SOURCE = "library/graphics/ddraw";

using platform::LockStatus;
using platform::Surface;

int display_w = 640;
int display_h = 480;

// Window thread only.
bool cooperative_level_taken = false;
bool palette_created = false;
platform::PaletteEntry display_palette_entries[256];
// The sizes the modes need, and whether the display listed each when the cooperative level was
// taken.
constexpr int MODE_SIZE_COUNT = 4;
constexpr platform::DisplaySize MODE_SIZES[MODE_SIZE_COUNT] = {{320, 200}, {320, 240}, {640, 480}, {800, 600}};
bool size_available[MODE_SIZE_COUNT];

Surface drawn_surface() { return page_flipping ? Surface::BACK : Surface::VISIBLE; }

bool restore_if_lost(Surface surface) {
    return !platform::surface_lost(surface) || platform::restore_surface(surface);
}

void report_lock_failure(LockStatus status) {
    const char* reason = nullptr;
    switch (status) {
    case LockStatus::INVALID_OBJECT: reason = "invalid object"; break;
    case LockStatus::SURFACE_LOST: reason = "surface lost"; break;
    case LockStatus::OUT_OF_MEMORY: reason = "out of memory"; break;
    case LockStatus::INVALID_PARAMS: reason = "invalid params"; break;
    case LockStatus::SURFACE_BUSY: reason = "surface busy"; break;
    case LockStatus::STILL_DRAWING: reason = "was still drawing"; break;
    case LockStatus::OK:
    case LockStatus::FAILED: return;
    }
    report_fatal_error("Unable to lock video memory - %s", SOURCE, 412, reason);
}

// A display-sized screen goes whole; any other is placed at its origin, and only its own pixels
// inside the display clip rectangle are copied.
void copy_current_screen(const platform::SurfaceLock& surface) {
    if (!current_screen) return;
    if (screen_display_sized) {
        int rows = std::min(screen_height, surface.height);
        size_t columns = size_t(std::clamp(screen_width, 0, surface.width));
        for (int y = 0; y < rows; ++y)
            std::memcpy(surface.pixels + size_t(y) * surface.pitch, row_table[y], columns);
        return;
    }
    int64_t x0 = std::max<int64_t>({screen_origin_x, display_clip_x0, 0});
    int64_t x1 = std::min<int64_t>({int64_t(screen_origin_x) + screen_width - 1, display_clip_x1, surface.width - 1});
    int64_t y0 = std::max<int64_t>({screen_origin_y, display_clip_y0, 0});
    int64_t y1 = std::min<int64_t>({int64_t(screen_origin_y) + screen_height - 1, display_clip_y1, surface.height - 1});
    if (x0 > x1) return;
    for (int64_t y = y0; y <= y1; ++y)
        std::memcpy(surface.pixels + y * surface.pitch + x0, row_table[y - screen_origin_y] + (x0 - screen_origin_x),
                    size_t(x1 - x0 + 1));
}

void store_palette_entries(const uint8_t* triples, int first, int count, int shift) {
    int skip;
    if (!platform::clamp_palette_range(first, count, skip)) return;
    triples += 3 * skip;
    for (int i = 0; i < count; ++i)
        display_palette_entries[first + i] = {uint8_t(triples[3 * i] << shift), uint8_t(triples[3 * i + 1] << shift),
                                              uint8_t(triples[3 * i + 2] << shift), 0};
}

void send_palette_entries(int first, int count) {
    int skip;
    if (platform::clamp_palette_range(first, count, skip))
        platform::set_palette(display_palette_entries + first, first, count);
}

bool palette_ready() { return platform::display_open() && palette_created; }

// Locks the visible surface for an inverting line, with the display clip kept inside it.
template <typename DrawLine>
void draw_on_visible_surface(DrawLine draw) {
    if (!platform::display_open() || !platform::surface_exists(Surface::VISIBLE)) return;
    platform::SurfaceLock surface;
    if (platform::lock_surface(Surface::VISIBLE, surface) != LockStatus::OK) return;
    display_surface = surface.pixels;
    int32_t kept[4] = {display_clip_x0, display_clip_y0, display_clip_x1, display_clip_y1};
    display_clip_x0 = std::max(display_clip_x0, 0);
    display_clip_y0 = std::max(display_clip_y0, 0);
    display_clip_x1 = std::min(display_clip_x1, surface.width - 1);
    display_clip_y1 = std::min(display_clip_y1, std::min(surface.height, MAX_DISPLAY_ROWS) - 1);
    draw();
    display_clip_x0 = kept[0];
    display_clip_y0 = kept[1];
    display_clip_x1 = kept[2];
    display_clip_y1 = kept[3];
    platform::unlock_surface(Surface::VISIBLE);
}

}  // namespace

int create_direct_draw() { return platform::open_display() ? 1 : 0; }

int set_cooperative_level() {
    if (!platform::display_open()) return 0;
    if (cooperative_level_taken) return 1;
    cooperative_level_taken = true;
    for (int i = 0; i < MODE_SIZE_COUNT; ++i)
        size_available[i] = platform::display_lists_mode(MODE_SIZES[i].width, MODE_SIZES[i].height);
    return 1;
}

bool have_direct_draw() { return platform::display_open(); }

bool video_mode_available(int mode) {
    if (mode < 0 || mode >= VIDEO_MODE_COUNT) return false;
    for (int i = 0; i < MODE_SIZE_COUNT; ++i)
        if (MODE_SIZES[i].width == video_modes[mode].width && MODE_SIZES[i].height == video_modes[mode].height)
            return size_available[i];
    return false;
}

void apply_video_mode(int mode) {
    // The display shows palette indices only; the 16-bit mode is never asked for.
    if (mode < 0 || mode >= VIDEO_MODE_COUNT || video_modes[mode].bits != 8) return;
    set_popup_window_style();
    if (!platform::display_open()) return;
    const VideoMode& m = video_modes[mode];
    platform::release_surfaces();
    if (!platform::set_display_mode(m.width, m.height)) return;
    set_display_size(m.width, m.height);
    reset_display_clip();
    platform::create_surfaces(page_flipping != 0);
    if (!palette_created) {
        platform::set_palette(display_palette_entries, 0, 256);
        palette_created = true;
    }
    int pitch = platform::surface_pitch();
    for (int y = 0; y < std::min(m.height, MAX_DISPLAY_ROWS); ++y) display_row_offsets[y] = y * pitch;
}

int lock_video_memory() {
    if (!platform::display_open() || !platform::surface_exists(Surface::VISIBLE)) return 0;
    if (!restore_if_lost(Surface::VISIBLE)) return 0;
    Surface target = drawn_surface();
    if (!restore_if_lost(target)) return 0;
    platform::SurfaceLock surface;
    LockStatus status = platform::lock_surface(target, surface);
    if (status != LockStatus::OK) {
        // A failure that is not fatal leaves nothing to copy into: the caller tries again.
        report_lock_failure(status);
        return 0;
    }
    copy_current_screen(surface);
    platform::unlock_surface(target);
    return 1;
}

void present_frame() {
    if (!platform::display_open() || !platform::surface_exists(Surface::VISIBLE)) return;
    if (page_flipping) platform::flip_surfaces();
    platform::present_display();
}

bool set_display_palette(const uint8_t* triples, int first, int count) {
    if (!palette_ready()) return false;
    store_palette_entries(triples, first, count, 0);
    send_palette_entries(first, count);
    return true;
}

void set_display_palette6(const uint8_t* triples, int first, int count) {
    if (!palette_ready()) return;
    store_palette_entries(triples, first, count, 2);
    send_palette_entries(first, count);
}

const uint8_t* set_display_palette_runs(const uint8_t* runs) {
    bool ready = palette_ready();
    int run_count = *runs++;
    int lowest = 256, end = 0;
    for (int r = 0; r < run_count; ++r) {
        int first = runs[0], count = runs[1];
        runs += 2;
        if (ready) store_palette_entries(runs, first, count, 2);
        runs += 3 * count;
        lowest = std::min(lowest, first);
        end = std::max(end, first + count);
    }
    if (ready && lowest < end) send_palette_entries(lowest, end - lowest);
    return runs;
}

void get_display_palette(uint8_t* triples, int first, int count) {
    if (!palette_ready()) return;
    int skip;
    if (!platform::clamp_palette_range(first, count, skip)) return;
    platform::get_palette(display_palette_entries + first, first, count);
    triples += 3 * skip;
    for (int i = 0; i < count; ++i) {
        const platform::PaletteEntry& e = display_palette_entries[first + i];
        triples[3 * i] = e.red;
        triples[3 * i + 1] = e.green;
        triples[3 * i + 2] = e.blue;
    }
}

void draw_xor_line_display(int x0, int y0, int x1, int y1) {
    draw_on_visible_surface([&] { draw_xor_line_raw(display_surface, display_row_offsets, x0, y0, x1, y1); });
}

void draw_xor_dashed_line_display(int x0, int y0, int x1, int y1) {
    draw_on_visible_surface([&] { draw_xor_dashed_line_raw(display_surface, display_row_offsets, x0, y0, x1, y1); });
}

void wait_vertical_blank_display() {
    if (!platform::display_open()) return;
    platform::wait_for_vertical_blank();
    // What changed on the visible surface since the last frame is seen at the blank.
    platform::refresh_display();
}

void restore_system_palette() {
    if (!platform::display_open()) return;
    platform::close_display();
    cooperative_level_taken = false;
    palette_created = false;
    display_surface = nullptr;
}

int display_width() { return display_w; }
int display_height() { return display_h; }

void set_display_size(int width, int height) {
    display_w = width;
    display_h = height;
}

void set_display_clip(int x0, int y0, int x1, int y1) {
    display_clip_x0 = x0;
    display_clip_y0 = y0;
    display_clip_x1 = x1;
    display_clip_y1 = y1;
}

void reset_display_clip() { set_display_clip(0, 0, display_w - 1, display_h - 1); }

void install_display_requests() {
    set_request_handler(REQ_SET_VIDEO_MODE, [](intptr_t mode) -> intptr_t {
        apply_video_mode(int(mode));
        return 0;
    });
    set_request_handler(REQ_SET_PALETTE, [](intptr_t lparam) -> intptr_t {
        intptr_t* b = request_block(lparam);
        return set_display_palette(reinterpret_cast<const uint8_t*>(b[0]), int(b[1]), int(b[2])) ? 1 : 0;
    });
    set_request_handler(REQ_SET_PALETTE_VGA, [](intptr_t lparam) -> intptr_t {
        intptr_t* b = request_block(lparam);
        set_display_palette6(reinterpret_cast<const uint8_t*>(b[0]), int(b[1]), int(b[2]));
        return 0;
    });
    set_request_handler(REQ_SET_PALETTE_RUNS, [](intptr_t lparam) -> intptr_t {
        intptr_t* b = request_block(lparam);
        b[0] = reinterpret_cast<intptr_t>(set_display_palette_runs(reinterpret_cast<const uint8_t*>(b[0])));
        return 0;
    });
    set_request_handler(REQ_GET_PALETTE, [](intptr_t lparam) -> intptr_t {
        intptr_t* b = request_block(lparam);
        get_display_palette(reinterpret_cast<uint8_t*>(b[0]), int(b[1]), int(b[2]));
        return 0;
    });
    set_request_handler(REQ_LOCK_SURFACE, [](intptr_t lparam) -> intptr_t {
        request_block(lparam)[0] = lock_video_memory();
        return 0;
    });
    set_request_handler(REQ_PRESENT, [](intptr_t) -> intptr_t {
        present_frame();
        return 0;
    });
    set_request_handler(REQ_WAIT_VBLANK, [](intptr_t) -> intptr_t {
        wait_vertical_blank_display();
        return 0;
    });
    set_request_handler(REQ_XOR_LINE, [](intptr_t lparam) -> intptr_t {
        intptr_t* b = request_block(lparam);
        draw_xor_line_display(int(b[0]), int(b[1]), int(b[2]), int(b[3]));
        return 0;
    });
    set_request_handler(REQ_XOR_DASHED_LINE, [](intptr_t lparam) -> intptr_t {
        intptr_t* b = request_block(lparam);
        draw_xor_dashed_line_display(int(b[0]), int(b[1]), int(b[2]), int(b[3]));
        return 0;
    });
    // The start-up requests may come without a block, their result then going nowhere.
    set_request_handler(REQ_CREATE_DIRECTDRAW, [](intptr_t lparam) -> intptr_t {
        int ok = create_direct_draw();
        if (intptr_t* b = request_block(lparam)) b[0] = ok;
        return 0;
    });
    set_request_handler(REQ_SET_COOPERATIVE_LEVEL, [](intptr_t lparam) -> intptr_t {
        int ok = set_cooperative_level();
        if (intptr_t* b = request_block(lparam)) b[0] = ok;
        return 0;
    });
    set_request_handler(REQ_RESTORE_SYSTEM_PALETTE, [](intptr_t) -> intptr_t {
        restore_system_palette();
        return 0;
    });
}

}  // namespace vyr
