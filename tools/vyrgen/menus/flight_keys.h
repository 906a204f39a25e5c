// The flight keys a player is told about, as the program binds them: the help page of flight
// keys is drawn from this table and the README lists the same rows.
#pragma once

#include <array>

#include "library/system/key.h"

namespace vyr::vyrgen {

struct FlightKey {
    const char* keys;
    const char* action;
    std::array<int, 2> hot_keys;  // the hot-key codes it is bound to; none for the keys the controls hold
};

constexpr FlightKey FLIGHT_KEYS[] = {
    {"Arrows", "Stick", {}},
    {"= and -", "Throttle", {}},
    {"Z and X", "Rudder", {}},
    {"Space", "Fire", {SCAN_SPACE}},
    {"Enter", "Next weapon", {0x1C}},
    {"F and C", "Flare and chaff", {SCAN_F, SCAN_C}},
    {"G", "Gear", {0x22}},
    {"B", "Air brake", {0x30}},
    {"W", "Wheel brakes", {0x11}},
    {"F5 to F11", "Views", {SCAN_F5, SCAN_F11}},
    {"Tab", "Faster time", {SCAN_TAB}},
    {"Esc", "Normal time", {SCAN_ESCAPE}},
    {"P", "Pause", {SCAN_P}},
    {"Alt+X", "End the flight", {KEY_ALT | SCAN_X}},
};

}  // namespace vyr::vyrgen
