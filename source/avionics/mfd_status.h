// The MFD status pages: the failures grid of 24 systems lit when failed, and the flight data,
// one set of readouts for the landing configuration and one for cruise.
#pragma once

#include "source/avionics/mfd.h"

namespace vyr {

void draw_mfd_failures_page(const MfdRect& rect, int page);
void draw_mfd_flight_data_page(const MfdRect& rect, int page);

}  // namespace vyr
