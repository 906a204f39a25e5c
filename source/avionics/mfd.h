// The multi-function display frame: which page each of the two displays shows, which one has the
// input focus, the page cycle and its keys, the radar page's placing, the noise of a failed or
// flickering display, and the per-frame drawing of both through the table of page drawers.
#pragma once

#include <cstdint>

namespace vyr {

void register_mfd_keys();
// Mission set-up: the pod reset, the first pages and the focus, the stores page's pictures (a
// missing one is fatal) and the plan map's background for the flight.
void init_mfds();
// The stores page's pictures go with the cockpit art.
void free_mfd_pictures();

// One display's rectangle in the cockpit panel's pixels, handed to every page drawer.
struct MfdRect {
    int32_t x, y, width, height;
};

// MFD 1 and MFD 2 in panel_screen. Its rows are 1280 pixels and the plot window clips to its own
// rectangle alone, so the displays stand where a row-wrapping placement would have put them.
constexpr MfdRect LEFT_MFD_RECT = {395, 331, 140, 140};
constexpr MfdRect RIGHT_MFD_RECT = {745, 331, 140, 140};

// Into the current drawing target, with the frame buffer locked: both displays with their pages.
void draw_mfds();

// Pages an MFD can show. Tactical, flight plan and engines keep their drawers, but nothing
// selects them.
constexpr int MFD_OFF = 0;
constexpr int MFD_NOISE = 1;
constexpr int MFD_HSI = 2;
constexpr int MFD_RADAR = 3;
constexpr int MFD_TACTICAL = 4;
constexpr int MFD_POD = 5;
constexpr int MFD_MAVERICK = 6;
constexpr int MFD_FLIGHT_PLAN = 7;
constexpr int MFD_STORES = 8;
constexpr int MFD_ENGINES = 9;
constexpr int MFD_FAILURES = 10;
constexpr int MFD_CREDITS_1 = 11;
constexpr int MFD_CREDITS_2 = 12;
constexpr int MFD_FRAG_PLAN = 13;
constexpr int MFD_FLIGHT_DATA = 14;
constexpr int MFD_PAGE_END = 15;

// The page each MFD shows, and the MFD (1 or 2) with the input focus.
extern int32_t left_mfd_page;
extern int32_t right_mfd_page;
extern int32_t active_mfd;
// 1 when the last page-step key stepped forward; 0 (backward) at program start, kept across
// missions.
extern int32_t mfd_step_forward;
// The credits pages' enabling flags and whether each has been shown since.
extern int32_t credits_1_enabled, credits_1_shown, credits_2_enabled, credits_2_shown;

int get_active_mfd();
int get_left_mfd_page();
int get_right_mfd_page();
// The radar page on the MFD whose page ranks first to give way (a page without a rank gives way
// after every ranked one; MFD 1 on a tie), which takes the focus. Callers re-run the focus rule.
void show_radar_page();
// The focus reassigned after pages changed: to a display showing the HSI, the pod page or the
// live radar page, MFD 1 first unless MFD 2 holds the focus on such a page.
void update_mfd_focus();
// The in-flight credits command: the two halves of the credits on the two displays.
void show_credits_on_mfds();
// The next available page after `page` in the cycle, or before it when stepping backward.
int next_mfd_page(int page);
// The next page for one display, passing over the page the other display shows.
int step_left_mfd_page(int page);
int step_right_mfd_page(int page);

// Hot-key handlers.
int step_left_mfd_key(int key_code);
int step_right_mfd_key(int key_code);
int toggle_left_mfd_key(int key_code);
int toggle_right_mfd_key(int key_code);
int mfd_focus_key(int key_code);

// The noise and flicker's random states, for reproducible tests.
extern int32_t mfd_noise_seed;
extern int32_t mfd_flicker_seed;

// A page drawer: the display's rectangle and the page it draws.
using MfdPageDrawer = void (*)(const MfdRect& rect, int page);
// Page drawers of the frame itself.
void draw_mfd_title_page(const MfdRect& rect, int page);
void draw_mfd_noise_page(const MfdRect& rect, int page);
void draw_mfd_credits_page(const MfdRect& rect, int page);

// Shared by the page drawers: the plot window over the display with the world window from
// (x0, y0) to (x1, y1), no rotation or offset.
void set_mfd_plot(const MfdRect& rect, int32_t x0, int32_t y0, int32_t x1, int32_t y1);
// Colour 208, the displays' background, as a fill pattern.
constexpr uint32_t MFD_BACKGROUND_FILL = 0xD0D0D0D0;
// The -1.0..+1.0 window, 1.0 being 0x100000.
constexpr int32_t MFD_UNIT = 0x100000;
void set_mfd_unit_plot(const MfdRect& rect);
// A text at a plot point, and one centred on it (moved left by half its width less a pixel).
void draw_plot_text(int32_t x, int32_t y, const char* text);
void draw_plot_text_centred(int32_t x, int32_t y, const char* text);
// One degree of a binary angle: 2^32 / 360, rounded down.
constexpr int32_t MFD_DEGREE = 11930465;
// Whole degrees 0..359 of a binary angle, rounded down. Exact, where dividing by MFD_DEGREE would
// read a quarter turn as 89 or 269 and a turn less a tenth of a degree as 0.
int whole_degrees(uint32_t angle);
// "CUR" goes on a page only while the display with the focus shows it.
bool focused_mfd_shows(int page);

}  // namespace vyr
