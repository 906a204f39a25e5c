// The quick-start top ten.
#pragma once

#include <cstdint>

namespace vyr {

void load_top_ten();

// The score of the running quick-start flight.
extern int32_t quick_start_score;
void reset_quick_start_score();
// The last quick-start score into its table, and the table shown.
void enter_top_ten_score();
void show_top_ten_screen();

}  // namespace vyr
