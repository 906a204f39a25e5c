// The layers of the tree, checked on every include: platform/ knows nothing of the program above
// it, library/ nothing of the game, and SDL and POSIX stay behind the platform stand-ins.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "tests/support/paths.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;

// The folders a folder of the program may include from.
const std::map<std::string, std::set<std::string>> PROGRAM_LAYERS = {
    {"platform", {"platform"}},
    {"library", {"platform", "library"}},
    {"source", {"platform", "library", "source"}},
    {"tools", {"platform", "library", "tools"}},  // the data writer shares the library's tables
    {"bench", {"platform", "library", "source", "tests/support"}},  // the tests' paths and worlds
};

// The first folder of a path, or of tests/ the first two ("tests/library").
std::string layer_of(const std::string& path) {
    size_t slash = path.find('/');
    if (slash == std::string::npos) return "";
    std::string top = path.substr(0, slash);
    if (top != "tests") return top;
    size_t next = path.find('/', slash + 1);
    return next == std::string::npos ? "" : path.substr(0, next);
}

bool may_include(const std::string& layer, const std::string& target) {
    if (target.empty()) return true;  // beside the including file
    if (layer == target) return true;
    if (layer.rfind("tests/", 0) == 0) {
        std::string tested = layer.substr(6);
        auto program = PROGRAM_LAYERS.find(tested);
        if (program == PROGRAM_LAYERS.end()) return true;  // e2e, support and this check see everything
        // Tests use the data writer's headers to know what the sample data hold.
        if (target == "tools" || target == "tests/support") return true;
        std::string below = target.rfind("tests/", 0) == 0 ? target.substr(6) : target;
        return program->second.count(below) != 0;
    }
    auto program = PROGRAM_LAYERS.find(layer);
    return program == PROGRAM_LAYERS.end() || program->second.count(target) != 0;
}

bool is_sdl_header(const std::string& name) { return name.rfind("SDL", 0) == 0; }

bool is_posix_header(const std::string& name) {
    static const std::set<std::string> headers = {
        "unistd.h", "pthread.h", "fcntl.h", "dirent.h", "termios.h", "poll.h",   "semaphore.h",
        "dlfcn.h",  "spawn.h",   "sched.h", "pwd.h",    "grp.h",     "glob.h",   "netdb.h",
        "ifaddrs.h", "syslog.h", "strings.h", "libgen.h"};
    for (const char* folder : {"sys/", "netinet/", "arpa/", "net/"})
        if (name.rfind(folder, 0) == 0) return true;
    return headers.count(name) != 0;
}

// Why `file` (a path from the top of the tree) may not include `name`; empty when it may.
// `system` is an include in angle brackets.
std::string include_fault(const std::string& file, const std::string& name, bool system) {
    std::string layer = layer_of(file);
    if (system) {
        bool platform_side = layer == "platform" || layer == "tests/platform";
        if (is_sdl_header(name) && !platform_side) return "SDL outside platform/";
        // Tests may drive processes and resource limits themselves.
        if (is_posix_header(name) && layer != "platform" && layer.rfind("tests/", 0) != 0)
            return "POSIX outside platform/";
        return "";
    }
    std::string target = name.find('/') == std::string::npos ? "" : layer_of(name);
    return may_include(layer, target) ? "" : "reaches " + target + "/ from " + layer + "/";
}

// The name an `#include` line names and whether it is in angle brackets; false for other lines.
bool parse_include(const std::string& line, std::string& name, bool& system) {
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line[i] != '#') return false;
    i = line.find_first_not_of(" \t", i + 1);
    if (i == std::string::npos || line.compare(i, 7, "include") != 0) return false;
    i = line.find_first_not_of(" \t", i + 7);
    if (i == std::string::npos || (line[i] != '<' && line[i] != '"')) return false;
    char close = line[i] == '<' ? '>' : '"';
    size_t end = line.find(close, i + 1);
    if (end == std::string::npos) return false;
    name = line.substr(i + 1, end - i - 1);
    system = close == '>';
    return true;
}

// Every include of the tree that breaks its layer, as "file:line: include (why)".
std::vector<std::string> layering_faults(const fs::path& root) {
    std::vector<std::string> faults;
    for (const char* top : {"platform", "library", "source", "tools", "bench", "tests"}) {
        if (!fs::exists(root / top)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            std::string extension = entry.path().extension().string();
            if (extension != ".h" && extension != ".cpp" && extension != ".inc") continue;
            std::string file = fs::relative(entry.path(), root).generic_string();
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                std::string name;
                bool system = false;
                if (!parse_include(line, name, system)) continue;
                std::string why = include_fault(file, name, system);
                if (!why.empty()) faults.push_back(file + ":" + std::to_string(number) + ": " + line + " (" + why + ")");
            }
        }
    }
    return faults;
}

TEST(Layering, EachIncludeIsJudgedByTheLayerOfItsFile) {
    const struct {
        const char* file;
        const char* name;
        bool system;
        bool allowed;
    } cases[] = {
        {"platform/window/sdl.cpp", "platform/window/window.h", false, true},
        {"platform/window/sdl.cpp", "SDL.h", true, true},
        {"platform/window/window.cpp", "library/system/key.h", false, false},
        {"platform/accel/spans.cpp", "source/frame_loop.h", false, false},
        {"platform/audio/mixer.cpp", "tools/vyrgen/iff.h", false, false},
        {"platform/serial/termios.cpp", "termios.h", true, true},
        {"library/system/key.cpp", "platform/timer/timer.h", false, true},
        {"library/3dvisual/world.h", "source/drone/drone.h", false, false},
        {"library/sound/samples.cpp", "tools/vyrgen/sounds.h", false, false},
        {"library/system/thread.cpp", "pthread.h", true, false},
        {"library/system/thread.cpp", "semaphore", true, true},
        {"source/hotkeys.cpp", "SDL.h", true, false},
        {"source/hotkeys.cpp", "sys/time.h", true, false},
        {"source/hotkeys.cpp", "library/system/key.h", false, true},
        {"source/hotkeys.cpp", "tools/vyrgen/iff.h", false, false},
        {"tools/vyrgen/sounds.cpp", "library/sound/samples.h", false, true},
        {"tools/vyrgen/sounds.cpp", "source/startup.h", false, false},
        {"platform/accel/spans.cpp", "span_kernel.inc", false, true},
        {"tests/platform/accel/draw_test.cpp", "library/graphics/poly.h", false, false},
        {"tests/platform/window/sdl_keys_test.cpp", "SDL.h", true, true},
        {"tests/library/system/winmain_test.cpp", "tests/platform/window/stub_window.h", false, true},
        {"tests/library/ui/screens_test.cpp", "source/startup.h", false, false},
        {"tests/library/ui/screens_test.cpp", "tests/source/fixture.h", false, false},
        {"tests/library/ui/screens_test.cpp", "tools/vyrgen/test_screen.h", false, true},
        {"tests/library/ui/screens_test.cpp", "unistd.h", true, true},
        {"tests/library/ui/screens_test.cpp", "SDL.h", true, false},
        {"tests/source/hotkeys_test.cpp", "tests/support/world.h", false, true},
        {"tests/e2e/run_vyr.cpp", "source/startup.h", false, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(include_fault(c.file, c.name, c.system).empty(), c.allowed) << c.file << " includes " << c.name;
}

TEST(Layering, TheTreeKeepsItsLayers) {
    std::vector<std::string> faults = layering_faults(VYR_SOURCE_DIR);
    std::string list;
    for (const std::string& fault : faults) list += fault + "\n";
    EXPECT_TRUE(faults.empty()) << list;
}

}  // namespace
}  // namespace vyr
