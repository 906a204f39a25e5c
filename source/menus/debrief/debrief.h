// The debrief of a single-player mission.
#pragma once

namespace vyr {

// Frees the last flight's event records before a new flight.
void reset_debrief_records();
// The result, the kill lists, the reasons and the log question.
void show_debrief();

}  // namespace vyr
