// The multi-function display frame.
#pragma once

#include <cstdint>

namespace vyr {

void register_mfd_keys();
// Mission set-up: the pages and the focus.
void init_mfds();

// One display's rectangle in the cockpit panel's pixels, handed to every page drawer.
struct MfdRect {
    int32_t x, y, width, height;
};

// Into the panel: both displays with their pages.
void draw_mfds();

// Pages an MFD can show.
constexpr int MFD_HSI = 2;
constexpr int MFD_RADAR = 3;
constexpr int MFD_POD = 5;
constexpr int MFD_MAVERICK = 6;

// The page each MFD shows, and the MFD (1 or 2) with the input focus.
extern int32_t left_mfd_page;
extern int32_t right_mfd_page;
extern int32_t active_mfd;

int get_active_mfd();
int get_left_mfd_page();
int get_right_mfd_page();
// The radar page on an MFD, which takes the focus.
void show_radar_page();
// The focus reassigned after pages changed.
void update_mfd_focus();

}  // namespace vyr
