// The flight thread: a flight from take-off to debrief on a cooperative thread of its own that
// holds the scheduler throughout, so that no menu, music or other thread runs meanwhile.
#pragma once

#include <atomic>
#include <cstdint>

namespace vyr {

struct Screen;
struct Waypoint;

// 1 from the start of a flight until just before it gives the scheduler back; the flight
// thread's run condition.
extern std::atomic<int> in_flight;
// The 8-bit screen the cockpit's software drawing goes to.
extern Screen* flight_screen;

// Creates "Game Thread" on fly_mission; the flight starts when the scheduler next picks it.
uint32_t start_game_thread();
// start_flight, flight_loop and finish_flight.
void fly_mission();
// Everything before a flight's first frame: the scheduler locked, the stores, the world, the
// drones and the cockpit set up for the mission loaded.
void start_flight();
// Everything after its last frame, back to the menus: the world released, the debrief, the
// scheduler unlocked and the menus' rules restored.
void finish_flight();
void init_game();
void end_game();

// After the flight, by game_mode: the single player's debrief or top ten, or the scores of a
// multiplayer game; an unknown mode is fatal.
void debrief_flight(int quick_start_flow);

// The cockpit's "  Mission" "Accomplished" for 10 s with its speech: what the mission goals
// announce.
void announce_mission_accomplished();
// The battle cells, the lased ground objects, and the avionics on the user task's route from its
// second waypoint.
void select_player_route();

}  // namespace vyr
