#include "tools/vyrgen/prefs.h"

namespace vyr::vyrgen {

// What a new player starts with: the values the game assumes anyway, spelled out for players who
// edit the file, and sound switched on. The run count is left out on purpose: its absence marks
// the first run, which opens the preferences.
std::string default_prefs() {
    const char* const lines[][2] = {
        {"Product Language", "1"}, {"Set Map", "3"},      {"Visual Detail", "9"},
        {"Visual Range", "7"},     {"Terrain Detail", "3"}, {"Animations", "1"},
        {"Sound Volume", "63"},    {"UI Continuous Move", "1"}, {"Sound effects", "1"},
        {"Sound Music", "1"},      {"Sound Speech", "1"},
    };
    std::string text;
    for (const auto& line : lines) text += std::string(line[0]) + "=" + line[1] + "\r\n";
    return text;
}

}  // namespace vyr::vyrgen
