// A quick start flown as the program flies it, for tests that watch a whole flight: in a child
// (EXPECT_EXIT), a game entry of the test's own starts "Game Thread" over the generated data,
// headless under the virtual clock, while a script of timed keys and captures plays; the captures
// are read back as pictures by the parent.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "library/graphics/palette.h"
#include "library/maths/units.h"
#include "library/system/library.h"
#include "library/system/thread.h"
#include "library/system/winmain.h"
#include "platform/timer/timer.h"
#include "platform/window/headless.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/flight.h"
#include "source/game_main.h"
#include "source/menus/missions/catalogue.h"
#include "source/mission/game_flow.h"
#include "source/mission/mission_data.h"
#include "source/mission/quick_start.h"
#include "source/startup.h"
#include "tests/support/headless_world.h"

namespace vyr {

struct Picture {
    int width = 0, height = 0;
    std::string pixels;
    // 0x00RRGGBB
    uint32_t at(int x, int y) const {
        const size_t i = 3 * (size_t(y) * width + x);
        return uint32_t(uint8_t(pixels[i])) << 16 | uint32_t(uint8_t(pixels[i + 1])) << 8 | uint8_t(pixels[i + 2]);
    }
};

// A rectangle of a picture, x0 and y0 inside, x1 and y1 just outside.
struct Box {
    int x0, y0, x1, y1;
};

// The brightest channel of 0x00RRGGBB.
inline int brightest(uint32_t c) { return std::max({int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF)}); }

inline Picture read_ppm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    Picture picture;
    std::string magic;
    int depth = 0;
    in >> magic >> picture.width >> picture.height >> depth;
    in.get();
    picture.pixels.assign(size_t(picture.width) * picture.height * 3, '\0');
    in.read(picture.pixels.data(), std::streamsize(picture.pixels.size()));
    return picture;
}

inline platform::ScriptEvent script_event(uint64_t time, platform::ScriptEvent::Kind kind, int code = 0,
                                          bool down = false, const std::string& path = {}) {
    platform::ScriptEvent event;
    event.time = time;
    event.kind = kind;
    event.code = code;
    event.down = down;
    event.path = path;
    return event;
}

// The keys pressed one a period from `at`, in order, then let go in the same order.
inline void press(std::vector<platform::ScriptEvent>& script, uint64_t at, std::initializer_list<int> codes) {
    for (int code : codes) script.push_back(script_event(at++, platform::ScriptEvent::KEY, code, true));
    for (int code : codes) script.push_back(script_event(at++, platform::ScriptEvent::KEY, code, false));
}

inline void add_capture(std::vector<platform::ScriptEvent>& script, uint64_t at, const std::string& path) {
    script.push_back(script_event(at, platform::ScriptEvent::CAPTURE, 0, false, path));
}

// Alt+X, a capture of the box, then the answer (0x15 Y ends the flight); the key ups follow as a
// player's would.
inline void add_quit_question(std::vector<platform::ScriptEvent>& script, uint64_t at, int answer,
                              const std::string& capture) {
    using platform::ScriptEvent;
    for (const auto& [offset, code, down] : {std::tuple{0, 0x38, true}, {2, 0x2D, true}, {4, 0x2D, false}, {6, 0x38, false}})
        script.push_back(script_event(at + offset, ScriptEvent::KEY, code, down));
    add_capture(script, at + 40, capture);
    script.push_back(script_event(at + 60, ScriptEvent::KEY, answer, true));
    script.push_back(script_event(at + 62, ScriptEvent::KEY, answer, false));
}

// The first drone of the mission loaded for the flight that `matches`.
inline Drone* find_drone(bool (*matches)(const Drone&)) {
    for (Task* task = task_list; task; task = task->next)
        for (Drone* drone = task->first_drone; drone; drone = drone->next)
            if (matches(*drone)) return drone;
    return nullptr;
}

// For a QuickStartFlight's `before`: the player starts `east` and `north` feet from the first
// waypoint of the drone that `matches`, `up` feet above the ground (an airborne start above 10 ft),
// facing that waypoint.
inline void start_looking_at(bool (*matches)(const Drone&), int32_t east, int32_t north, int32_t up = 0) {
    const Waypoint* target = find_drone(matches)->first_waypoint;
    Waypoint* start = task_list->first_drone->first_waypoint;
    start->x = target->x + east * FOOT;
    start->y = target->y + north * FOOT;
    start->z = up * FOOT;
    start->next->x = target->x;
    start->next->y = target->y;
}

// Which quick start (or training mission) to fly, and what the test sets before and reports after
// the flight (on the flight's own side of the child, with the library up).
struct QuickStartFlight {
    int war_zone = 2;        // 1-based: 2 Korea, 3 Cyprus
    int kind = 1;            // quick_start_kind: 1 air combat, 2 ground attack
    int training = 0;        // when set, this training mission over Nevada instead of a quick start
    // The quick start's flow, as the front end sets it: its status lines and first display pages,
    // the engine at full power from the start. FLOW_NONE keeps the engine at idle, for a test that
    // watches from an aircraft standing where it was put.
    int flow = FLOW_QUICK_START;
    std::function<void()> before;
    std::function<void()> after;
};

inline QuickStartFlight quick_start_flight;

inline bool game_thread_alive(uint32_t id) {
    for (int i = 0; i < thread_count; ++i)
        if (thread_table[i].id == id) return true;
    return false;
}

inline int fly_quick_start(int, char**) {
    init_library("vyr.rop");
    load_mission_catalogue();
    set_war_zone(quick_start_flight.training ? int(WAR_ZONE_NEVADA) : quick_start_flight.war_zone);
    start_accelerator();
    load_flight_data();
    if (quick_start_flight.training) {
        set_game_flow(FLOW_TRAINING);
        Mission* mission = create_mission_record();
        mission->flow = FLOW_TRAINING;
        mission->number = quick_start_flight.training;
        load_mission(mission);
    } else {
        set_game_flow(quick_start_flight.flow);
        quick_start_kind = quick_start_flight.kind;
        prepare_quick_mission();
    }
    set_screen_mode(0, 1);
    if (quick_start_flight.before) quick_start_flight.before();

    const uint32_t id = start_game_thread();
    while (game_thread_alive(id)) yield_thread();
    if (quick_start_flight.after) quick_start_flight.after();
    std::_Exit(0);
}

// The child's whole life: the player's home and the generated data, the headless window with the
// script, and the flight; exits 0 once the flight has ended (the script must end it).
[[noreturn]] inline void fly_headless(const QuickStartFlight& flight, const std::string& home,
                                      const std::vector<platform::ScriptEvent>& script) {
    setenv("VYR_DATA", GENERATED_DATA.c_str(), 1);
    setenv("VYR_HOME", home.c_str(), 1);
    quick_start_flight = flight;
    HeadlessWindowThread world;
    world.window()->set_script(script);
    win_main(fly_quick_start, "");
    std::_Exit(1);
}

}  // namespace vyr
