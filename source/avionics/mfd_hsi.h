// The MFD navigation pages: the HSI, a north-up moving map around the aircraft with the route,
// the landing beacon's approach cone, the other players and the own symbol turned to the
// heading; and the frag plan, the network players ranked by kills.
#pragma once

#include "source/avionics/mfd.h"

namespace vyr {

// Seconds gathered towards the frag plan's next redraw; it lives for the run, so the page is
// first drawn a second after it is first shown.
extern float frag_plan_timer;

void draw_mfd_hsi_page(const MfdRect& rect, int page);
void draw_mfd_frag_plan_page(const MfdRect& rect, int page);

// The HSI's layers, drawn through the window the page has set.
void draw_ils_approach_cone();
void draw_hsi_players();
void draw_hsi_route();
void draw_hsi_own_aircraft();
// The label of an HSI scale: roughly half the window's side in nautical miles.
const char* hsi_scale_label(int32_t scale);
// The name at (x, y) and the number text ending at `right_x`.
void draw_frag_plan_row(const char* name, int32_t x, const char* number, int32_t y, int32_t right_x);

}  // namespace vyr
