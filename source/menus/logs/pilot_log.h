// Pilot log records and files.
#pragma once

#include <cstdint>

namespace vyr {

// Set when a pilot log with a special call sign becomes current: they gate the debug keys.
extern int32_t debug_mode;
extern int32_t debug_flag;

}  // namespace vyr
