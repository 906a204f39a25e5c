#include "platform/window/window.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/joystick/joystick.h"
#include "platform/window/headless.h"

namespace vyr::platform {

namespace {

std::unique_ptr<Window> process_window;

bool open_headless(std::string& error) {
    auto headless = std::make_unique<HeadlessWindow>();
    if (const char* path = std::getenv("VYR_SCRIPT"); path && *path) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            error = std::string("cannot read the script ") + path;
            return false;
        }
        std::ostringstream text;
        text << file.rdbuf();
        std::vector<ScriptEvent> events;
        std::string why;
        if (!parse_script(text.str(), events, why)) {
            error = std::string("bad script ") + path + ", " + why;
            return false;
        }
        // The program later works in the player's directory; captures and digests go where the user
        // started it.
        for (ScriptEvent& event : events)
            if (!event.path.empty()) event.path = std::filesystem::absolute(event.path).string();
        if (uses_joystick(events) && !attach_virtual_joystick(error)) return false;
        headless->set_script(std::move(events));
    }
    process_window = std::move(headless);
    return true;
}

}  // namespace

std::string wrap_text(std::string_view text, size_t width) {
    std::string out;
    size_t line_start = 0;  // in `out`
    size_t last_space = std::string::npos;
    for (char c : text) {
        if (c == '\n') {
            out += c;
            line_start = out.size();
            last_space = std::string::npos;
            continue;
        }
        if (out.size() - line_start == width) {
            if (c == ' ') {
                out += '\n';
                line_start = out.size();
                last_space = std::string::npos;
                continue;
            }
            if (last_space != std::string::npos) {
                out[last_space] = '\n';
                line_start = last_space + 1;
            } else {
                out += '\n';
                line_start = out.size();
            }
            last_space = std::string::npos;
        }
        if (c == ' ') last_space = out.size();
        out += c;
    }
    return out;
}

Window* window() { return process_window.get(); }

void install_window(std::unique_ptr<Window> window) { process_window = std::move(window); }

bool select_window_backend(std::string& error) {
    const char* video = std::getenv("VYR_VIDEO");
    std::string name = video && *video ? video : "sdl";
    if (name == "headless") return open_headless(error);
    if (name != "sdl") {
        error = "unknown VYR_VIDEO value \"" + name + "\" (use sdl or headless)";
        return false;
    }
    auto sdl = make_sdl_window(error);
    if (!sdl) return false;
    process_window = std::move(sdl);
    return true;
}

std::unique_ptr<Window> make_headless_window() { return std::make_unique<HeadlessWindow>(); }

}  // namespace vyr::platform
