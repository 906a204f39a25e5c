// The cockpit panel's instruments and lamps, and the failure bits they show.
#pragma once

#include <cstdint>

namespace vyr {

constexpr uint32_t FAIL_ELECTRICS = 1u << 0;
constexpr uint32_t FAIL_HYDRAULICS = 1u << 1;
constexpr uint32_t FAIL_FLAPS = 1u << 2;
constexpr uint32_t FAIL_ENGINE = 1u << 3;
constexpr uint32_t FAIL_FIRE = 1u << 4;
constexpr uint32_t FAIL_AFTERBURNER = 1u << 5;
constexpr uint32_t FAIL_FUEL_LEAK = 1u << 6;
constexpr uint32_t FAIL_FUEL = 1u << 7;  // below the low-fuel mark: warned once
constexpr uint32_t FAIL_GEAR = 1u << 8;
constexpr uint32_t FAIL_BRAKE = 1u << 9;  // the air brake
constexpr uint32_t FAIL_RADAR = 1u << 10;
constexpr uint32_t FAIL_ECM = 1u << 11;
constexpr uint32_t FAIL_PRESSURE = 1u << 12;  // the cabin pressure: the oxygen fails a while later
constexpr uint32_t FAIL_OXYGEN = 1u << 13;
constexpr uint32_t FAIL_AUTOPILOT = 1u << 14;

// The failure bits of the player's aircraft.
extern uint32_t system_failures;
// Cockpit indicator bits: 1 radar on, 2 automatic ECM on.
extern int32_t cockpit_indicators;

void reset_caution_lamps();
void reset_system_failures();

// The 42 cockpit panel pictures.
void load_cockpit_art();
// Into flight_screen: the panel in the cockpit view, else the time-acceleration indicator.
void draw_cockpit_panel();

}  // namespace vyr
