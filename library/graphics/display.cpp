#include "library/graphics/display.h"

#include <algorithm>

#include "library/debug/fatal.h"
#include "library/graphics/palette.h"
#include "library/graphics/poly.h"
#include "library/graphics/screen.h"
#include "library/system/winmain.h"
#include "platform/display/display.h"
#include "platform/timer/timer.h"

namespace vyr {

int frame_phase = 0;

namespace {

constexpr const char* SOURCE = "library/graphics/ddraw";
constexpr int RETRY_TICKS = 100;  // one second

int video_mode = 0;
int exclusive_level = 0;
int screen_layout = 0;

intptr_t as_word(const void* address) { return reinterpret_cast<intptr_t>(address); }

// The triples the window thread last kept from send_palette_to_display, entry by entry: the game
// sends its whole palette every frame, and an unchanged one needs no round trip.
uint8_t kept_triples[256 * 3];
bool kept[256];

// The other palette requests change entries behind the copy's back.
void forget_kept_palette() { std::fill(std::begin(kept), std::end(kept), false); }

bool palette_kept(const uint8_t* triples, int first, int count) {
    return std::all_of(kept + first, kept + first + count, [](bool k) { return k; }) &&
           std::equal(triples, triples + 3 * count, kept_triples + 3 * first);
}

}  // namespace

int set_video_mode(int mode) {
    video_mode = mode;
    return request_video_mode(mode);
}

int get_video_mode() { return video_mode; }

int request_video_mode(int mode) {
    if (!have_direct_draw()) return 0;
    send_request(REQ_SET_COOPERATIVE_LEVEL);
    switch (mode) {
    case 0:
    case 4:
        if (!video_mode_available(mode)) return 0;
        page_flipping = 1;
        break;
    case 1:
    case 2:
        if (!video_mode_available(mode)) {
            report_fatal_error("Video mode not supported", SOURCE, 233);
            return 0;
        }
        page_flipping = 0;
        break;
    default: report_fatal_error("Video mode unknown", SOURCE, 241); return 0;
    }
    send_request(REQ_SET_VIDEO_MODE, mode);
    // The pointer starts at the display centre in every mode.
    RequestBlock centre = {display_width() / 2, display_height() / 2, 0, 0};
    send_request(REQ_SET_CURSOR_POS, centre);
    return 1;
}

void set_screen_layout(int layout) { screen_layout = layout; }
int get_screen_layout() { return screen_layout; }

void lock_video_memory_retry() {
    for (;;) {
        RequestBlock block = {0, 0, 0, 0};
        send_request(REQ_LOCK_SURFACE, block);
        if (block[0]) return;
        platform::wait_periods(RETRY_TICKS);
    }
}

void request_flip() { send_request(REQ_PRESENT); }

void flip_display() {
    request_flip();
    apply_palette();
    frame_phase = (frame_phase + 1) & 3;
    poly_count = 0;
}

void send_palette_to_display(const uint8_t* triples, int first, int count) {
    int skip;
    if (!platform::clamp_palette_range(first, count, skip)) return;
    for (int i = first; i < first + count; ++i)
        display_colours[i] = uint32_t(working_palette[3 * i]) << 16 | uint32_t(working_palette[3 * i + 1]) << 8 |
                             working_palette[3 * i + 2];
    triples += 3 * skip;
    if (palette_kept(triples, first, count)) return;
    RequestBlock block = {as_word(triples), first, count, 0};
    if (send_request(REQ_SET_PALETTE, block) == 0) {
        forget_kept_palette();
        return;
    }
    std::copy(triples, triples + 3 * count, kept_triples + 3 * first);
    std::fill(kept + first, kept + first + count, true);
}

void request_display_palette6(const uint8_t* triples, int first, int count) {
    forget_kept_palette();
    RequestBlock block = {as_word(triples), first, count, 0};
    send_request(REQ_SET_PALETTE_VGA, block);
}

const uint8_t* request_display_palette_runs(const uint8_t* runs) {
    forget_kept_palette();
    RequestBlock block = {as_word(runs), 0, 0, 0};
    send_request(REQ_SET_PALETTE_RUNS, block);
    return reinterpret_cast<const uint8_t*>(block[0]);
}

void request_display_palette(uint8_t* triples, int first, int count) {
    RequestBlock block = {as_word(triples), first, count, 0};
    send_request(REQ_GET_PALETTE, block);
}

void request_xor_line(int x0, int y0, int x1, int y1) {
    RequestBlock block = {x0, y0, x1, y1};
    send_request(REQ_XOR_LINE, block);
}

void request_xor_dashed_line(int x0, int y0, int x1, int y1) {
    RequestBlock block = {x0, y0, x1, y1};
    send_request(REQ_XOR_DASHED_LINE, block);
}

void wait_vertical_blank() { send_request(REQ_WAIT_VBLANK); }

int toggle_exclusive_mode() { return exclusive_level ^= 1; }

int pass_value(int mode) { return mode; }

}  // namespace vyr
