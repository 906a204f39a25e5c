#include "platform/display/display.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <utility>

#include "platform/timer/timer.h"
#include "platform/window/window.h"

namespace vyr::platform {

namespace {

constexpr int PITCH_ALIGNMENT = 256;
constexpr int SURFACES = 2;

const std::vector<DisplaySize> STANDARD_MODES = {{320, 200}, {320, 240}, {640, 480}, {800, 600}};

struct DisplayState {
    bool open = false;
    std::vector<DisplaySize> listed = STANDARD_MODES;
    int width = 0, height = 0, pitch = 0;
    std::vector<uint8_t> pixels[SURFACES];
    bool exists[SURFACES] = {};
    bool locked[SURFACES] = {};
    PaletteEntry palette[256] = {};
    bool changed = false;  // since the last frame shown
    LockStatus lock_fault = LockStatus::OK;
    bool lost = false;
};

std::mutex state_mutex;
std::condition_variable unlocked;
DisplayState state;

// Serialises presentation, which converts into one shared frame.
std::mutex present_mutex;
std::vector<uint32_t> frame;
bool held = false;  // guarded by present_mutex

int index_of(Surface surface) { return surface == Surface::VISIBLE ? 0 : 1; }

void wait_until_unlocked(std::unique_lock<std::mutex>& lock) {
    unlocked.wait(lock, [] { return !state.locked[0] && !state.locked[1]; });
}

void drop_surfaces() {
    for (int i = 0; i < SURFACES; ++i) {
        state.pixels[i] = {};
        state.exists[i] = false;
    }
}

// Converts the visible surface into `frame` when `always` or something changed; false when
// there is nothing to show.
bool convert_visible(bool always, int& width, int& height) {
    std::unique_lock lock(state_mutex);
    unlocked.wait(lock, [] { return !state.locked[0]; });
    if (!state.exists[0] || (!always && !state.changed)) return false;
    width = state.width;
    height = state.height;
    frame.resize(size_t(width) * height);
    uint32_t colours[256];
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = state.palette[i];
        colours[i] = uint32_t(e.red) << 16 | uint32_t(e.green) << 8 | e.blue;
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = state.pixels[0].data() + size_t(y) * state.pitch;
        uint32_t* out = frame.data() + size_t(y) * width;
        for (int x = 0; x < width; ++x) out[x] = colours[row[x]];
    }
    state.changed = false;
    return true;
}

void show(bool always) {
    std::lock_guard present_lock(present_mutex);
    if (held) return;
    int width = 0, height = 0;
    if (!convert_visible(always, width, height)) return;
    if (Window* w = window()) w->present(frame.data(), width, height, width);
}

}  // namespace

bool open_display() {
    std::lock_guard lock(state_mutex);
    state.open = true;
    return true;
}

void close_display() {
    std::unique_lock lock(state_mutex);
    wait_until_unlocked(lock);
    drop_surfaces();
    state.open = false;
    state.width = state.height = state.pitch = 0;
    std::fill(std::begin(state.palette), std::end(state.palette), PaletteEntry{});
    state.changed = false;
}

bool display_open() {
    std::lock_guard lock(state_mutex);
    return state.open;
}

bool display_lists_mode(int width, int height) {
    std::lock_guard lock(state_mutex);
    return std::any_of(state.listed.begin(), state.listed.end(),
                       [&](const DisplaySize& s) { return s.width == width && s.height == height; });
}

void set_listed_display_modes(std::vector<DisplaySize> modes) {
    std::lock_guard lock(state_mutex);
    state.listed = std::move(modes);
}

bool set_display_mode(int width, int height) {
    if (!display_lists_mode(width, height)) return false;
    std::unique_lock lock(state_mutex);
    if (!state.open) return false;
    wait_until_unlocked(lock);
    drop_surfaces();
    state.width = width;
    state.height = height;
    state.pitch = (width + PITCH_ALIGNMENT - 1) / PITCH_ALIGNMENT * PITCH_ALIGNMENT;
    return true;
}

bool create_surfaces(bool with_back_buffer) {
    std::unique_lock lock(state_mutex);
    if (!state.open || state.width <= 0) return false;
    wait_until_unlocked(lock);
    drop_surfaces();
    for (int i = 0; i < (with_back_buffer ? 2 : 1); ++i) {
        state.pixels[i].assign(size_t(state.pitch) * state.height, 0);
        state.exists[i] = true;
    }
    state.changed = true;
    return true;
}

void release_surfaces() {
    std::unique_lock lock(state_mutex);
    wait_until_unlocked(lock);
    drop_surfaces();
}

bool surface_exists(Surface surface) {
    std::lock_guard lock(state_mutex);
    return state.exists[index_of(surface)];
}

int surface_pitch() {
    std::lock_guard lock(state_mutex);
    return state.exists[0] ? state.pitch : 0;
}

bool surface_lost(Surface surface) {
    std::lock_guard lock(state_mutex);
    return state.exists[index_of(surface)] && state.lost;
}

bool restore_surface(Surface surface) { return !surface_lost(surface); }

LockStatus lock_surface(Surface surface, SurfaceLock& out, bool wait) {
    int i = index_of(surface);
    std::unique_lock lock(state_mutex);
    if (state.lock_fault != LockStatus::OK) return state.lock_fault;
    if (!wait && state.locked[i]) return LockStatus::SURFACE_BUSY;
    unlocked.wait(lock, [i] { return !state.locked[i]; });
    if (!state.open || !state.exists[i]) return LockStatus::INVALID_OBJECT;
    state.locked[i] = true;
    out = {state.pixels[i].data(), state.pitch, state.width, state.height};
    return LockStatus::OK;
}

void unlock_surface(Surface surface) {
    int i = index_of(surface);
    {
        std::lock_guard lock(state_mutex);
        if (!state.locked[i]) return;
        state.locked[i] = false;
        if (surface == Surface::VISIBLE) state.changed = true;
    }
    unlocked.notify_all();
}

void flip_surfaces() {
    std::unique_lock lock(state_mutex);
    if (!state.exists[1]) return;
    wait_until_unlocked(lock);
    std::swap(state.pixels[0], state.pixels[1]);
    state.changed = true;
}

bool clamp_palette_range(int& first, int& count, int& skip) {
    int64_t begin = std::max<int64_t>(first, 0);
    int64_t end = std::min<int64_t>(int64_t(first) + count, 256);
    if (begin >= end) return false;
    skip = int(begin - first);
    first = int(begin);
    count = int(end - begin);
    return true;
}

void set_palette(const PaletteEntry* entries, int first, int count) {
    int skip;
    if (!clamp_palette_range(first, count, skip)) return;
    std::lock_guard lock(state_mutex);
    std::copy(entries + skip, entries + skip + count, state.palette + first);
    state.changed = true;
}

void get_palette(PaletteEntry* entries, int first, int count) {
    int skip;
    if (!clamp_palette_range(first, count, skip)) return;
    std::lock_guard lock(state_mutex);
    std::copy(state.palette + first, state.palette + first + count, entries + skip);
}

void present_display() {
    show(true);
    advance_virtual_clock(2);
}

void refresh_display() { show(false); }

void hold_display(bool hold) {
    std::lock_guard present_lock(present_mutex);
    held = hold;
    if (held) return;
    std::lock_guard lock(state_mutex);
    state.changed = true;
}

void set_lock_fault(LockStatus status) {
    std::lock_guard lock(state_mutex);
    state.lock_fault = status;
}

void set_surfaces_lost(bool lost) {
    std::lock_guard lock(state_mutex);
    state.lost = lost;
}

}  // namespace vyr::platform
