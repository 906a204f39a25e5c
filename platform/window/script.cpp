#include "platform/window/script.h"

#include <sstream>

namespace vyr::platform {

namespace {

// Numbers are decimal, so zero-padded columns read as they look; a key code may be written in hex
// instead (0x1c).
bool read_number(std::istringstream& in, long long& value, bool hex_allowed = false) {
    std::string word;
    if (!(in >> word)) return false;
    bool hex = hex_allowed && word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    size_t used = 0;
    try {
        value = std::stoll(hex ? word.substr(2) : word, &used, hex ? 16 : 10);
    } catch (const std::logic_error&) {
        return false;
    }
    return used == word.size() - (hex ? 2 : 0);
}

bool read_position(std::istringstream& in, ScriptEvent& event) {
    long long x, y;
    if (!read_number(in, x) || !read_number(in, y)) return false;
    if (x < 0 || y < 0 || x > 4095 || y > 4095) return false;
    event.x = int(x);
    event.y = int(y);
    return true;
}

bool parse_joystick(std::istringstream& in, ScriptEvent& event) {
    std::string part, word;
    long long number;
    in >> part;
    if (part == "axis" || part == "button") {
        if (!read_number(in, number) || number < 0 || number > 3) return false;
        event.code = int(number);
        if (part == "button") {
            event.kind = ScriptEvent::JOY_BUTTON;
            if (!(in >> word) || (word != "down" && word != "up")) return false;
            event.down = word == "down";
            return true;
        }
        event.kind = ScriptEvent::JOY_AXIS;
        if (!read_number(in, number) || number < -32768 || number > 32767) return false;
        event.x = int(number);
        return true;
    }
    if (part != "hat" || !(in >> word)) return false;
    event.kind = ScriptEvent::JOY_HAT;
    const char* const hats[] = {"centre", "up", "right", "down", "left"};
    for (int hat = 0; hat < 5; ++hat)
        if (word == hats[hat]) {
            event.x = hat;
            return true;
        }
    return false;
}

// Fills `event` from the words after the time; false when they make no event.
bool parse_event(std::istringstream& in, ScriptEvent& event) {
    std::string verb, word;
    in >> verb;
    if (verb == "key") {
        long long code;
        if (!read_number(in, code, true) || !(in >> word)) return false;
        if (word != "down" && word != "up") return false;
        event.kind = ScriptEvent::KEY;
        event.extended = (code & 0xff00) == 0xe000;
        event.code = int(code & 0xff);
        event.down = word == "down";
        return (code & ~0xff) == (event.extended ? 0xe000 : 0) && event.code >= 1 && event.code <= 0x7f;
    }
    const struct {
        const char* verb;
        ScriptEvent::Kind kind;
    } pointer_verbs[] = {{"move", ScriptEvent::MOVE},       {"click", ScriptEvent::CLICK},
                         {"rclick", ScriptEvent::RIGHT_CLICK}, {"press", ScriptEvent::PRESS},
                         {"release", ScriptEvent::RELEASE}, {"dclick", ScriptEvent::DOUBLE_CLICK}};
    for (const auto& pointer : pointer_verbs)
        if (verb == pointer.verb) {
            event.kind = pointer.kind;
            return read_position(in, event);
        }
    if (verb == "capture" || verb == "digest") {
        event.kind = verb == "capture" ? ScriptEvent::CAPTURE : ScriptEvent::DIGEST;
        return bool(in >> event.path);
    }
    if (verb == "record") {
        long long periods;
        event.kind = ScriptEvent::RECORD;
        if (!read_number(in, periods) || periods < 1 || periods > 1000000) return false;
        event.x = int(periods);
        return bool(in >> event.path);
    }
    if (verb == "focus") {
        event.kind = ScriptEvent::FOCUS;
        if (!(in >> word) || (word != "lost" && word != "gained")) return false;
        event.code = word == "gained";
        return true;
    }
    if (verb == "joy") return parse_joystick(in, event);
    if (verb == "quit") {
        event.kind = ScriptEvent::QUIT;
        return true;
    }
    return false;
}

}  // namespace

bool parse_script(const std::string& text, std::vector<ScriptEvent>& events, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    uint64_t last_time = 0;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        std::istringstream in(line);
        long long time;
        ScriptEvent event{};
        std::string rest;
        bool ok = read_number(in, time) && time >= 0 && parse_event(in, event) && !(in >> rest);
        if (ok && uint64_t(time) < last_time) {
            error = "line " + std::to_string(number) + ": time goes backwards: " + line;
            return false;
        }
        if (!ok) {
            error = "line " + std::to_string(number) + ": cannot read: " + line;
            return false;
        }
        event.time = last_time = uint64_t(time);
        events.push_back(event);
    }
    return true;
}

bool uses_joystick(const std::vector<ScriptEvent>& events) {
    for (const ScriptEvent& event : events)
        if (event.kind == ScriptEvent::JOY_AXIS || event.kind == ScriptEvent::JOY_BUTTON ||
            event.kind == ScriptEvent::JOY_HAT)
            return true;
    return false;
}

}  // namespace vyr::platform
