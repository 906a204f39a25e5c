// The mission map screen: the theatre's map under the flight's routes, with the briefing's
// subtitles.
#pragma once

namespace vyr {

// The view fitted round the routes of the mission loaded.
void fit_map_to_routes();
// The subtitles' title and text, the text scrolled to its top with its scroll bar following.
void set_map_subtitles(const char* title, const char* text);
// Fades out and pushes the map screen without fades; returns once it is up, display updates
// resumed and the fade-in switched off.
void show_map_screen();

}  // namespace vyr
