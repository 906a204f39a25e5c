#include "platform/window/window.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

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
        headless->set_script(std::move(events));
    }
    process_window = std::move(headless);
    return true;
}

}  // namespace

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
    auto sdl = make_sdl_window();
    if (!sdl) {
        error = "cannot open a display; set VYR_VIDEO=headless to run without one";
        return false;
    }
    process_window = std::move(sdl);
    return true;
}

std::unique_ptr<Window> make_headless_window() { return std::make_unique<HeadlessWindow>(); }

}  // namespace vyr::platform
