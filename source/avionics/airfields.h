// The airfields of the theatre and the instrument landing aid.
#pragma once

namespace vyr {

// The current landing-aid airfield for the status line: its name in eight characters (or
// "NO ILS  "), its beacon frequency (or "000.0") and its runway in two digits (or "00").
const char* get_ils_airfield_label();
const char* get_ils_frequency_text();
const char* get_ils_runway_text();

}  // namespace vyr
