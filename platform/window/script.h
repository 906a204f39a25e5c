// The input script of the headless window: one event per line, timed in timer periods.
//
//   100 key 0x1c down        set-1 scan code; 0xe0NN for an extended key
//   120 move 320 240         pointer moves, no button held
//   140 click 320 240        left button pressed and released there (rclick: the right one)
//   150 press 320 240        left button pressed there and held: moves until the release drag
//   160 release 330 250      the held left button released there
//   170 dclick 320 240       two clicks there at once (the program sees two clicks)
//   300 capture menu.ppm     what the player sees now, as a PPM file
//   300 record 100 f.ppm     what the player sees now and every frame presented in the next 100
//                            periods, one PPM picture after another in one file; a frame that
//                            shows the same as the one before it is left out
//   300 digest run.txt       the game's state digest, one line appended (virtual clock only)
//   400 focus lost           the program loses (or "gained": regains) the focus
//   420 joy axis 0 -32768    a scripted joystick: axis 0..3 (x, y, throttle, rudder) to -32768..32767,
//   430 joy button 1 down    button 0..3 down or up, or the hat centre, up, right, down or left
//   440 joy hat up
//   900 quit                 the program ends through its own exit path
//
// Blank lines and lines starting with '#' are ignored; times never go backwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vyr::platform {

struct ScriptEvent {
    enum Kind { KEY, MOVE, CLICK, RIGHT_CLICK, PRESS, RELEASE, DOUBLE_CLICK, CAPTURE, RECORD, DIGEST, FOCUS, QUIT, JOY_AXIS, JOY_BUTTON, JOY_HAT };
    uint64_t time;
    Kind kind;
    int code = 0;       // KEY: scan code; FOCUS: 1 gained, 0 lost; JOY_AXIS, JOY_BUTTON: the index
    bool extended = false;
    bool down = false;  // KEY, JOY_BUTTON
    int x = 0, y = 0;   // pointer events; x: JOY_AXIS the value, JOY_HAT 0 centre .. 4 left,
                        // RECORD the periods
    std::string path;   // CAPTURE, RECORD, DIGEST
};

// Parses a whole script; on a bad line returns false with "line N: what is wrong" in `error`.
bool parse_script(const std::string& text, std::vector<ScriptEvent>& events, std::string& error);
// Whether the script moves a joystick, which the run then needs.
bool uses_joystick(const std::vector<ScriptEvent>& events);

}  // namespace vyr::platform
