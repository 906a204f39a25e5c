// The layers of the tree, checked on every include: platform/ knows nothing of the program above
// it, library/ nothing of the game, and SDL and POSIX stay behind the platform stand-ins. Inside
// the library and the game the folders stand on floors; what reaches a higher floor today is
// listed in back_edges.txt, a list that may only shrink.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
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

// Calls `visit` with each include of the tree's code: the including file (a path from the top
// of the tree), its line number, the line, the name and whether it is in angle brackets.
void for_each_include(const fs::path& root,
                      const std::function<void(const std::string&, int, const std::string&, const std::string&, bool)>& visit) {
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
                if (parse_include(line, name, system)) visit(file, number, line, name, system);
            }
        }
    }
}

// Every include of the tree that breaks its layer, as "file:line: include (why)".
std::vector<std::string> layering_faults(const fs::path& root) {
    std::vector<std::string> faults;
    for_each_include(root, [&](const std::string& file, int number, const std::string& line, const std::string& name,
                               bool system) {
        std::string why = include_fault(file, name, system);
        if (!why.empty()) faults.push_back(file + ":" + std::to_string(number) + ": " + line + " (" + why + ")");
    });
    return faults;
}

// The floors inside the library and the game, lowest first. A folder may include from its own
// floor and those below it; a folder not named here has no floor.
const std::map<std::string, int> FLOORS = {
    {"library/graphics", 0}, {"library/gfxinit", 0}, {"library/3dvisual", 1},
    {"source/models", 0},    {"source/gameplay", 0},
    {"source/drone", 1},     {"source/weapons", 1},  {"source/radar", 1}, {"source/warmodel", 1},
    {"source/mission", 2},   // the mission model reads drones, tasks, waypoints and stores
    {"source/avionics", 3},  {"source/sound", 3},
    {"source", 4},           // the flight thread, the frame loop, start-up and controls
    {"source/menus", 5},     {"source/sknet", 5},
    {"source/seams", 6},     // stub bodies behind the headers of every floor
};

// The network game's headers the flight sends and receives through, open to every floor.
const std::set<std::string> OPEN_FROM_BELOW = {
    "source/sknet/net_messages.h", "source/sknet/kill_reports.h", "source/sknet/link.h",
    "source/sknet/net_players.h",  "source/sknet/game_rules.h",
};

// The folders of the flight, which never read the menus, even as a listed back-edge.
const std::set<std::string> FLIGHT_FOLDERS = {"source/models", "source/gameplay", "source/drone",
                                              "source/warmodel", "source/weapons", "source/radar",
                                              "source/avionics", "source/sound"};

// The floor's folder of a path from the top of the tree: "source/menus" for
// source/menus/missions/catalogue.h, "source" for a file in source/ itself; empty for none.
std::string floor_folder(const std::string& path) {
    size_t slash = path.find('/');
    if (slash == std::string::npos) return "";
    size_t next = path.find('/', slash + 1);
    std::string top = path.substr(0, slash);
    std::string folder = next == std::string::npos ? top : path.substr(0, next);
    return FLOORS.count(folder) ? folder : "";
}

enum class Reach { FLOOR, BACK_EDGE, NEVER };

// Whether `file` including `name` keeps to the floors, is a back-edge, or may never be.
Reach floor_reach(const std::string& file, const std::string& name) {
    std::string from = floor_folder(file), to = floor_folder(name);
    if (from.empty() || to.empty() || OPEN_FROM_BELOW.count(name)) return Reach::FLOOR;
    if (from.substr(0, from.find('/')) != to.substr(0, to.find('/'))) return Reach::FLOOR;  // the layers judge
    if (FLIGHT_FOLDERS.count(from) && to == "source/menus") return Reach::NEVER;
    return FLOORS.at(to) > FLOORS.at(from) ? Reach::BACK_EDGE : Reach::FLOOR;
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

TEST(Floors, EachIncludeIsJudgedByTheFloorsOfBothFolders) {
    const struct {
        const char* file;
        const char* name;
        Reach reach;
    } cases[] = {
        {"source/mission/mission_data.cpp", "source/drone/task.h", Reach::FLOOR},
        {"source/drone/drone.cpp", "source/mission/selection.h", Reach::BACK_EDGE},
        {"source/weapons/stores.cpp", "source/drone/drone.h", Reach::FLOOR},  // one floor
        {"source/drone/drone.cpp", "source/avionics/views.h", Reach::BACK_EDGE},
        {"source/menus/missions/catalogue.cpp", "source/mission/mission.h", Reach::FLOOR},
        {"source/flight.cpp", "source/menus/front_end.h", Reach::BACK_EDGE},
        {"source/weapons/damage.cpp", "source/menus/top_ten.h", Reach::NEVER},
        {"source/sound/triggers.cpp", "source/menus/logs/pilot_log.h", Reach::NEVER},
        {"source/avionics/mfd.cpp", "source/sknet/net_messages.h", Reach::FLOOR},
        {"source/avionics/mfd.cpp", "source/sknet/net_screens.h", Reach::BACK_EDGE},
        {"source/seams/front_end.cpp", "source/menus/screens.h", Reach::FLOOR},
        {"library/graphics/spans.cpp", "library/3dvisual/view.h", Reach::BACK_EDGE},
        {"library/3dvisual/sky.cpp", "library/graphics/poly.h", Reach::FLOOR},
        {"library/ui/object.cpp", "library/3dvisual/view.h", Reach::FLOOR},  // no floor
        {"source/hotkeys.cpp", "library/3dvisual/view.h", Reach::FLOOR},
        {"tests/source/drone/drone_test.cpp", "source/menus/front_end.h", Reach::FLOOR},
    };
    for (const auto& c : cases) EXPECT_EQ(floor_reach(c.file, c.name), c.reach) << c.file << " includes " << c.name;
}

// "file include" lines; blank lines and lines starting with '#' say nothing.
std::set<std::string> read_back_edge_list(const fs::path& path) {
    std::set<std::string> edges;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#') edges.insert(line);
    return edges;
}

TEST(Floors, EveryBackEdgeIsListedAndEveryListedOneStillExists) {
    const fs::path root = VYR_SOURCE_DIR;
    const std::set<std::string> listed = read_back_edge_list(root / "tests/layout/back_edges.txt");
    ASSERT_FALSE(listed.empty()) << "tests/layout/back_edges.txt is missing";
    std::set<std::string> found;
    std::string unlisted, never;
    for_each_include(root, [&](const std::string& file, int number, const std::string&, const std::string& name, bool) {
        Reach reach = floor_reach(file, name);
        std::string at = file + ":" + std::to_string(number) + " " + name + "\n";
        if (reach == Reach::NEVER) never += at;
        if (reach != Reach::BACK_EDGE) return;
        std::string edge = file + " " + name;
        found.insert(edge);
        if (!listed.count(edge)) unlisted += at;
    });
    std::string stale;
    for (const std::string& edge : listed)
        if (!found.count(edge)) stale += edge + "\n";
    EXPECT_TRUE(never.empty()) << "flight code reads the menus:\n" << never;
    EXPECT_TRUE(unlisted.empty()) << "new back-edges (include from a lower floor instead):\n" << unlisted;
    EXPECT_TRUE(stale.empty()) << "listed back-edges that are gone (delete their lines):\n" << stale;
}

}  // namespace
}  // namespace vyr
