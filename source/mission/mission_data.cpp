#include "source/mission/mission_data.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "library/3dvisual/ground_objects.h"
#include "library/debug/fatal.h"
#include "library/maths/units.h"
#include "library/os/file.h"
#include "library/system/memory.h"
#include "library/system/thread.h"
#include "source/drone/drone.h"
#include "source/drone/drone_types.h"
#include "source/drone/formations.h"
#include "source/drone/ships.h"
#include "source/drone/task.h"
#include "source/drone/waypoint.h"
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/menus/missions/catalogue.h"
#include "source/mission/game_flow.h"
#include "source/mission/payload.h"
#include "source/mission/selection.h"
#include "source/mission/tagged_text.h"
#include "source/time_of_day.h"
#include "source/weapons/stores.h"

namespace vyr {

int32_t mission_failure_count = 0;
int32_t mission_success_count = 0;
int32_t mission_outstanding_count = 0;
int32_t humans_loaded_count = 0;
int32_t humans_deployed_count = 0;
int32_t destroy_point_count = 0;
int32_t mission_modified = 0;

namespace {

// The mission map's, when it is built.
void (*map_save_state_hook)(int modified) = nullptr;
void (*map_refresh_hook)() = nullptr;

}  // namespace
uint32_t wind_direction = 0;
int32_t wind_speed = 0;
int32_t weather_condition = 0;
int32_t laser_timeout = 0;

namespace {

constexpr const char* SOURCE = "source/mission/mission_data";
constexpr int32_t NOON = 12 * TICKS_PER_HOUR;
constexpr int32_t TICKS_PER_MINUTE = TICKS_PER_HOUR / 60;
constexpr int MAX_VALUES = 19;
constexpr int SPARE_NUMBERS = 149;
constexpr int CELL_SIDE_UNSET = 3;  // a cell no mission gave a side
// A tile index shifted to world units must stay inside 32 bits.
constexpr int32_t LARGEST_SHIFTED_TILE = INT32_MAX >> 22;

int32_t destroy_x[MAX_DESTROY_POINTS];
int32_t destroy_y[MAX_DESTROY_POINTS];
int32_t mission_start_time = NOON;

struct GameplayTag {
    int tag;
    int type;
    const char* name;
};
const GameplayTag GAMEPLAY_TAGS[] = {
    {TAG_GAMEPLAY_AAA, GAMEPLAY_AAA, "Gameplay AAA"},     {TAG_GAMEPLAY_SAM, GAMEPLAY_SAM, "Gameplay SAM"},
    {TAG_GAMEPLAY_TANKS, GAMEPLAY_TANK, "Gameplay Tanks"}, {TAG_GAMEPLAY_APC, GAMEPLAY_APC, "Gameplay APC"},
    {TAG_GAMEPLAY_RECON, GAMEPLAY_RECON, "Gameplay Recon"}, {TAG_GAMEPLAY_LASER, GAMEPLAY_LASER, "Gameplay Laser"},
    {TAG_GAMEPLAY_KEEP, GAMEPLAY_PROHIBITED, "Gameplay Keep"}, {TAG_GAMEPLAY_EXTRA, GAMEPLAY_TARGET, "Gameplay Extra"},
};

// The decimal numbers of a data line, whatever separates them; fatal when fewer than `needed`.
struct Values {
    int32_t value[MAX_VALUES];
    int count = 0;
};

Values read_values(const char* line, int needed) {
    Values values;
    const char* at = line;
    while (values.count < MAX_VALUES) {
        while (*at && !(*at == '-' || *at == '+' || (*at >= '0' && *at <= '9'))) ++at;
        if (!*at) break;
        char* end = nullptr;
        long value = std::strtol(at, &end, 10);
        if (end == at) {
            ++at;
            continue;
        }
        values.value[values.count++] = int32_t(value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value);
        at = end;
    }
    if (values.count < needed)
        tagged_file_error("%d values where %d are needed in \"%s\"", values.count, needed, line);
    return values;
}

int32_t read_value(const char* line) { return read_values(line, 1).value[0]; }

void read_weapon_line(const char* line) {
    Values values = read_values(line, 3);
    const int pylon = values.value[0], store = values.value[1], count = values.value[2];
    if (pylon < 0 || pylon >= PAYLOAD_PYLONS) return;
    const bool in_range = store >= 0 && store <= STORE_NONE && count >= 1 && count <= MAX_PYLON_COUNT;
    if (in_range) set_pylon_count(pylon, count, store);
    // A count the hardpoint refuses empties it now, as a save and reload of the line would.
    if (!in_range || get_pylon_count(pylon) != count) {
        set_pylon_count(pylon, 0, STORE_NONE);
        set_pylon_weapon(pylon, STORE_NONE);
        return;
    }
    set_pylon_weapon(pylon, store);
    // What the hardpoint refused weighs nothing: the weight is that of the store and count it kept.
    set_pylon_weight(pylon, get_pylon_count(pylon), get_pylon_weapon(pylon));
}

void read_gameplay_sides(const char* line) {
    Values values = read_values(line, 3);
    const int32_t x = values.value[0], y = values.value[1];
    if (x < -LARGEST_SHIFTED_TILE - 1 || x > LARGEST_SHIFTED_TILE || y < -LARGEST_SHIFTED_TILE - 1 ||
        y > LARGEST_SHIFTED_TILE)
        tagged_file_error("gameplay tile %d,%d lies far outside the world", x, y);
    set_cell_side(values.value[2], int32_t(uint32_t(x) << 22), int32_t(uint32_t(y) << 22));
}

void read_gameplay_object(int tag, const char* line) {
    Values values = read_values(line, 2);
    for (const GameplayTag& row : GAMEPLAY_TAGS)
        if (row.tag == tag) add_gameplay_object(row.type, values.value[0], values.value[1]);
}

Task* loading_task() {
    if (!selected_task) tagged_file_error("a task's line before any task");
    return selected_task;
}

Drone* loading_drone() {
    if (!selected_drone) tagged_file_error("a drone's line before any drone");
    return selected_drone;
}

int32_t read_in_range(const char* line, int32_t lowest, int32_t highest, const char* what) {
    const int32_t value = read_value(line);
    if (value < lowest || value > highest) tagged_file_error("%s %d is not one of %d to %d", what, value, lowest, highest);
    return value;
}

void read_waypoint(const char* line) {
    Drone* drone = loading_drone();
    Values values = read_values(line, 18);
    // A full route hands back its last waypoint rather than a new one: the line is dropped.
    Waypoint* last = drone->first_waypoint ? get_last_waypoint(drone->first_waypoint) : nullptr;
    Waypoint* waypoint = append_waypoint(drone);
    if (!waypoint || waypoint == last) return;
    const int32_t* v = values.value;
    waypoint->arrival_time = v[4];
    waypoint->leg_time = v[6];
    waypoint->leg_distance = v[7];
    waypoint->target_radius = v[8];
    for (int i = 0; i < WAYPOINT_TARGET_CLASSES; ++i) waypoint->target_classes[i] = v[9 + i];
    waypoint->wait = v[17];
    set_waypoint_type(waypoint, v[0]);
    set_waypoint_position(waypoint, v[1], v[2], v[3]);
    set_waypoint_speed(waypoint, v[5]);
}

// What a tag line itself does.
void act_on_tag(int tag) {
    switch (tag) {
    case TAG_TASK: select_task(create_task()); break;
    case TAG_USER_TASK: set_user_task(loading_task()); break;
    case TAG_DRONE: select_drone(create_drone(loading_task())); break;
    case TAG_KILL_FAILURE: set_drone_kill_failure(loading_drone(), 1); break;
    case TAG_KILL_SUCCESS: set_drone_kill_success(loading_drone(), 1); break;
    case TAG_KILL_OUTSTANDING: set_drone_kill_outstanding(loading_drone(), 1); break;
    case TAG_LASER_DESIGNATED: set_drone_laser_designated(loading_drone(), 1); break;
    default: break;
    }
}

// The data line of the current tag.
void act_on_data(const char* line) {
    switch (mission_tag) {
    case TAG_SIDE: set_task_side(loading_task(), read_value(line)); break;
    case TAG_TASK_TYPE: set_task_type(loading_task(), read_in_range(line, 0, TASK_END - 1, "task type")); break;
    case TAG_BATTLE_CELL: set_task_battle_cell(loading_task(), read_value(line)); break;
    case TAG_DRONE_TYPE: {
        Drone* drone = loading_drone();
        set_drone_type(drone, read_in_range(line, 0, DRONE_TYPE_ROWS - 1, "object number"));
        set_drone_formation(drone, 0);
        break;
    }
    case TAG_FORMATION_TYPE:
        set_drone_formation(loading_drone(), read_in_range(line, 0, FORMATION_TYPES - 1, "formation type"));
        break;
    case TAG_DRONE_START: {
        Drone* drone = loading_drone();
        Values values = read_values(line, 7);
        const int32_t* v = values.value;
        set_drone_position(drone, v[0], v[1], v[2]);
        set_drone_angles(drone, uint32_t(v[3]), uint32_t(v[4]), uint32_t(v[5]));
        set_drone_speed(drone, v[6]);
        break;
    }
    case TAG_WAYPOINT: read_waypoint(line); break;
    case TAG_START_WAYPOINT: set_drone_start_waypoint(loading_drone(), read_value(line)); break;
    case TAG_DRONE_CARGO: set_drone_cargo(loading_drone(), read_value(line)); break;
    case TAG_DRONE_ONBOARD: set_drone_onboard(loading_drone(), read_value(line)); break;
    case TAG_DRONE_NOTIFY: set_drone_notify(loading_drone(), read_value(line)); break;
    case TAG_DRONE_EXPLODE: set_drone_explode(loading_drone(), read_value(line)); break;
    case TAG_DRONE_UNARMED: set_drone_unarmed(loading_drone(), read_value(line)); break;
    case TAG_WIND_DIRECTION: wind_direction = uint32_t(read_value(line)) * DEGREE; break;
    case TAG_WIND_SPEED: wind_speed = read_value(line); break;
    case TAG_WEATHER_CONDITION: weather_condition = read_value(line); break;
    case TAG_INFINITE_WEAPONS: unlimited_weapons = read_value(line); break;
    case TAG_LASER_TIMEOUT: laser_timeout = read_value(line); break;
    case TAG_TIME: {
        Values values = read_values(line, 2);
        const int64_t time = int64_t(values.value[0]) * TICKS_PER_HOUR + int64_t(values.value[1]) * TICKS_PER_MINUTE;
        if (time < INT32_MIN || time > INT32_MAX)
            tagged_file_error("the time %d:%d is too far from midnight", values.value[0], values.value[1]);
        mission_start_time = int32_t(time);
        break;
    }
    case TAG_WEAPON: read_weapon_line(line); break;
    case TAG_GAMEPLAY: tagged_file_error("Gameplay should have no data");
    case TAG_GAMEPLAY_SIDES: read_gameplay_sides(line); break;
    case TAG_GAMEPLAY_AAA:
    case TAG_GAMEPLAY_SAM:
    case TAG_GAMEPLAY_TANKS:
    case TAG_GAMEPLAY_APC:
    case TAG_GAMEPLAY_RECON:
    case TAG_GAMEPLAY_LASER:
    case TAG_GAMEPLAY_KEEP:
    case TAG_GAMEPLAY_EXTRA: read_gameplay_object(mission_tag, line); break;
    case TAG_FAILURE_COUNT: mission_failure_count = read_value(line); break;
    case TAG_SUCCESS_COUNT: mission_success_count = read_value(line); break;
    case TAG_OUTSTANDING_COUNT: mission_outstanding_count = read_value(line); break;
    case TAG_HUMANS_LOADED_COUNT: humans_loaded_count = read_value(line); break;
    case TAG_HUMANS_DEPLOYED_COUNT: humans_deployed_count = read_value(line); break;
    case TAG_DESTROY: {
        Values values = read_values(line, 2);
        add_destroy_point(values.value[0], values.value[1]);
        break;
    }
    default: break;  // tags a data file does not use
    }
}

struct MissionWriter {
    std::string text;

    void line(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        char buffer[256];
        va_list values;
        va_start(values, format);
        std::vsnprintf(buffer, sizeof buffer, format, values);
        va_end(values);
        text += buffer;
        text += '\n';
    }
};

void write_drone(MissionWriter& out, Drone* drone) {
    out.line(":Drone");
    if (drone->formation_type != 0) {
        out.line(":Formation Type");
        out.line("%d", drone->formation_type);
    } else {
        out.line(":Drone Type");
        out.line("%d", get_drone_object_number(drone));
    }
    const struct {
        uint32_t flag;
        const char* tag;
    } flags[] = {{DRONE_FLAG_KILL_FAILURE, "Kill Failure"},
                 {DRONE_FLAG_LASER_DESIGNATED, "Laser Designated"},
                 {DRONE_FLAG_KILL_SUCCESS, "Kill Success"},
                 {DRONE_FLAG_KILL_OUTSTANDING, "Kill Outstanding"}};
    for (const auto& flag : flags)
        if (drone->mission_flags & flag.flag) out.line(":%s", flag.tag);
    if (drone->start_waypoint != 0) {
        out.line(":Start Waypoint");
        out.line("%d", drone->start_waypoint);
    }
    for (Waypoint* w = drone->first_waypoint; w; w = w->next) {
        out.line(":Waypoint");
        const int32_t* c = w->target_classes;
        out.line("%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d", w->type, w->x, w->y, w->z, w->arrival_time,
                 w->speed, w->leg_time, w->leg_distance, w->target_radius, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7],
                 w->wait);
    }
    const struct {
        int32_t value;
        const char* tag;
    } values[] = {{drone->cargo, "Drone cargo"}, {drone->onboard, "Drone onboard"}, {drone->awaited_event, "Drone notify"}};
    for (const auto& value : values) {
        if (value.value == 0) continue;
        out.line(":%s", value.tag);
        out.line("%d", value.value);
    }
    if (drone->mission_flags & DRONE_FLAG_EXPLODE) {
        out.line(":Drone explode");
        out.line("1");
    }
    if (drone->mission_flags & DRONE_FLAG_UNARMED) {
        out.line(":Drone unarmed");
        out.line("1");
    }
}

void write_task(MissionWriter& out, Task* task, bool user) {
    out.line(":Task");
    if (user) out.line(":User Task");
    out.line(":Side");
    out.line("%d", get_task_side(task));
    out.line(":Task Type");
    out.line("%d", get_task_type(task));
    if (get_task_battle_cell(task) != 0) {
        out.line(":Battle Cell");
        out.line("%d", get_task_battle_cell(task));
    }
    for (Drone* drone = get_task_first_drone(task); drone; drone = get_next_drone(drone)) write_drone(out, drone);
}

void write_tasks(MissionWriter& out) {
    if (Task* user = get_user_task()) write_task(out, user, true);
    for (Task* task = get_first_ai_task(); task; task = get_next_ai_task(task)) write_task(out, task, false);
}

void write_gameplay(MissionWriter& out) {
    out.line(":Gameplay");
    out.line(":Gameplay Sides");
    for (int y = 0; y < GAMEPLAY_GRID_SIZE; ++y)
        for (int x = 0; x < GAMEPLAY_GRID_SIZE; ++x)
            if (int side = gameplay_grid[x * GAMEPLAY_GRID_SIZE + y].side; side != CELL_SIDE_UNSET)
                out.line("%d,%d %d", x, y, side);
    for (const GameplayTag& row : GAMEPLAY_TAGS) {
        out.line(":%s", row.name);
        const size_t slots = get_gameplay_slots(gameplay_grid[0], row.type).size();
        for (size_t slot = 0; slot < slots; ++slot)
            for (int y = 0; y < GAMEPLAY_GRID_SIZE; ++y)
                for (int x = 0; x < GAMEPLAY_GRID_SIZE; ++x)
                    if (const GameplayObject* object =
                            get_gameplay_slots(gameplay_grid[x * GAMEPLAY_GRID_SIZE + y], row.type)[slot])
                        out.line("%d,%d", object->x, object->y);
    }
}

void write_settings(MissionWriter& out) {
    out.line(":Weapon");
    for (int pylon = 0; pylon < PAYLOAD_PYLONS; ++pylon)
        out.line("%d,%d,%d", pylon, get_pylon_weapon(pylon), get_pylon_count(pylon));
    out.line(":Gun");
    out.line("%d", get_weapon_rounds(WEAPON_TURRET_GUN));
    out.line(":Laser Timeout");
    out.line("%d", laser_timeout);
    out.line(":Wind Speed");
    out.line("%d", wind_speed);
    out.line(":Wind Direction");
    out.line("%u", wind_direction / DEGREE);
    out.line(":Weather Condition");
    out.line("%d", weather_condition);
    out.line(":Time");
    out.line("%d:%d", mission_start_time / TICKS_PER_HOUR, mission_start_time % TICKS_PER_HOUR / TICKS_PER_MINUTE);
    out.line(":Failure Count");
    out.line("%d", mission_failure_count);
    out.line(":Success Count");
    out.line("%d", mission_success_count);
    out.line(":Outstanding Count");
    out.line("%d", mission_outstanding_count);
    out.line(":Humans loaded count");
    out.line("%d", humans_loaded_count);
    out.line(":Humans deployed count");
    out.line("%d", humans_deployed_count);
    out.line(":Destroy");
    for (int i = 0; i < destroy_point_count; ++i) out.line("%d,%d", destroy_x[i], destroy_y[i]);
}

std::string mission_file_path(const char* format, const char* name) {
    char path[64];
    std::snprintf(path, sizeof path, format, name);
    return path;
}

}  // namespace

int32_t get_mission_start_time() { return mission_start_time; }

void reset_mission_world() {
    mission_start_time = NOON;
    destroy_all_tasks();
    reset_gameplay_grid();
    clear_destroy_points();
    reset_weapons();
    reset_carriers();
}

void parse_mission_data(char* line, void*) {
    if (line[0] == '#' || mission_tag == TAG_EOF) return;
    if (is_tag_line(line)) {
        mission_tag = find_mission_tag(line);
        act_on_tag(mission_tag);
        return;
    }
    act_on_data(line);
}

void write_mission_data(const char* path) {
    MissionWriter out;
    write_tasks(out);
    write_gameplay(out);
    write_settings(out);
    // The player's own directory starts without the folder the missions go in.
    std::error_code error;
    std::filesystem::create_directories("missdata", error);
    if (!save_file(path, out.text.data(), out.text.size()))
        report_fatal_error("Cannot write mission data file %s", SOURCE, __LINE__, path);
}

int load_mission(Mission* mission) {
    reset_mission_world();
    yield_if_due();
    clear_dynamic_ground_objects();
    yield_if_due();
    mission_failure_count = -1;
    mission_success_count = mission_outstanding_count = humans_loaded_count = humans_deployed_count = 0;
    mission_tag = TAG_UNKNOWN;
    if (mission->flow == FLOW_DEATHMATCH) mission->number = 1;
    if (mission->flow == FLOW_CAPTURE_FLAG) mission->number = 2;
    const bool numbered = mission->flow != FLOW_QUICK_START && mission->flow != FLOW_DEATHMATCH &&
                          mission->flow != FLOW_CAPTURE_FLAG;
    const int32_t previous_number = current_mission_number;
    current_mission_number = numbered ? mission->number : 0;
    char* name = make_mission_name(get_war_zone(), mission->flow, mission->number);
    const std::string path = mission_file_path("missdata\\%s.dta", name);
    free_memory(name, SOURCE, __LINE__);

    size_t size = 0;
    char* buffer = static_cast<char*>(load_file_alloc(path.c_str(), &size, SOURCE, __LINE__));
    clear_pylon_weights();
    const std::string error = buffer ? try_parse_tagged_lines(path.c_str(), buffer, size, parse_mission_data, nullptr)
                                     : std::string();
    free_memory(buffer, SOURCE, __LINE__);
    if (!error.empty()) {
        refuse_tagged_file(path.c_str(), error);
        reset_mission_world();
        current_mission_number = previous_number;
        return 0;
    }

    if (mission_failure_count == -1) {
        mission_failure_count = mission_success_count = mission_outstanding_count = 0;
        humans_loaded_count = humans_deployed_count = 0;
        flag_mission_modified();
    } else {
        flag_mission_saved();
    }
    if (Task* user = get_user_task()) {
        select_task(user);
        if (Drone* drone = get_task_first_drone(user)) {
            select_drone(drone);
            if (drone->first_waypoint) select_waypoint(drone->first_waypoint);
        }
    }
    update_front_line_distances();
    yield_if_due();
    place_defence_objects();
    yield_if_due();
    apply_cell_sides();
    yield_if_due();
    load_stores();
    reset_stores();
    if (map_refresh_hook) map_refresh_hook();
    return 1;
}

void add_destroy_point(int32_t x, int32_t y) {
    if (destroy_point_count >= MAX_DESTROY_POINTS) return;
    destroy_x[destroy_point_count] = x;
    destroy_y[destroy_point_count] = y;
    ++destroy_point_count;
}

int get_destroy_point(int index, int32_t* x, int32_t* y) {
    if (index < 0 || index >= destroy_point_count) return 0;
    *x = destroy_x[index];
    *y = destroy_y[index];
    return 1;
}

void clear_destroy_points() { destroy_point_count = 0; }

void apply_destroy_points() {
    for (int i = 0; i < destroy_point_count; ++i) {
        ground_object* record = find_nearest_ground_object(destroy_x[i], destroy_y[i]);
        if (!record) continue;
        record->flags |= GROUND_DESTROYED;
        if (record->type == 680) record->type = 710;
        else if (record->type == 712) record->type = 720;
        else set_ground_object_destroyed_type(record);
    }
}

void save_current_mission() {
    if (!current_mission) return;
    find_spare_mission_slot(current_mission);
    flag_mission_saved();
}

void find_spare_mission_slot(Mission* mission) {
    const int zone = get_war_zone();
    if (mission->number == 0) {
        for (int number = 1; number <= SPARE_NUMBERS && mission->number == 0; ++number) {
            char* folder_name = language_folder(zone, mission->flow, number);
            char* name = make_mission_name(zone, mission->flow, number);
            const bool taken = check_file_exists(mission_file_path("missdata\\%s.txt", folder_name).c_str()) ||
                               check_file_exists(mission_file_path("missdata\\%s.dta", name).c_str());
            free_memory(folder_name, SOURCE, __LINE__);
            free_memory(name, SOURCE, __LINE__);
            if (!taken) mission->number = number;
        }
        if (mission->number == 0) {
            report_fatal_error("Too many missions - Cannot find a spare mission slot", SOURCE, __LINE__);
            return;
        }
    }
    if (mission->flow == FLOW_QUICK_START) return;
    char* name = make_mission_name(zone, mission->flow, mission->number);
    const std::string path = mission_file_path("missdata\\%s.dta", name);
    free_memory(name, SOURCE, __LINE__);
    write_mission_data(path.c_str());
}

namespace {

void set_mission_modified(int modified) {
    mission_modified = modified;
    if (map_save_state_hook) map_save_state_hook(modified);
}

}  // namespace

void flag_mission_modified() { set_mission_modified(1); }
void flag_mission_saved() { set_mission_modified(0); }

void set_mission_map_hooks(void (*save_state)(int modified), void (*refresh)()) {
    map_save_state_hook = save_state;
    map_refresh_hook = refresh;
}

}  // namespace vyr
