#include "source/menus/debrief/debrief.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "library/3dvisual/features.h"
#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/objects.h"
#include "library/animplay/movie.h"
#include "library/debug/fatal.h"
#include "library/graphics/ddraw.h"
#include "library/graphics/plot_draw.h"
#include "library/maths/random.h"
#include "library/sound/music.h"
#include "library/system/key.h"
#include "library/ui/repaint.h"
#include "library/ui/screens.h"
#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/frame_loop.h"
#include "source/gameplay/defence_sites.h"
#include "source/gameplay/gameplay_grid.h"
#include "source/menus/brief/briefing.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/maps/map_screen.h"
#include "source/menus/maps/map_tools.h"
#include "source/menus/missions/mission_select.h"
#include "source/menus/notify.h"
#include "source/menus/screens.h"
#include "source/menus/speech.h"
#include "source/mission/game_flow.h"
#include "source/mission/goals.h"
#include "source/mission/mission.h"
#include "source/mission/mission_data.h"
#include "source/models/landing.h"
#include "source/recorder.h"
#include "source/sknet/game_rules.h"
#include "source/weapons/damage.h"
#include "source/weapons/object_types.h"
#include "source/weapons/round_impact.h"
#include "source/weapons/weapon_keys.h"

namespace vyr {

int32_t object_group[DEBRIEF_OBJECTS] = {};
int32_t debrief_result = DEBRIEF_FAILURE;
int32_t pilot_fate = FATE_UNHURT;
char debrief_text[DEBRIEF_TEXT_SIZE] = {};
DebriefState debrief = {};
int32_t award_bits = 0;
const char* debrief_failure_text = nullptr;
const char* debrief_success_text = nullptr;
const char* debrief_outstanding_text = nullptr;

namespace {

constexpr const char* SOURCE = "source/menus/debrief/debrief";

// Killer classes, the kill tables' columns.
constexpr int KILLER_PLAYER = 0;
constexpr int KILLER_ALLIED = 1;
constexpr int KILLER_ENEMY = 2;
constexpr int KILLERS = 3;
// The kill tables by the victim's side.
constexpr int VICTIMS_ALLIED = 0;
constexpr int VICTIMS_ENEMY = 1;
constexpr int VICTIMS_NEUTRAL = 2;
constexpr int VICTIM_SIDES = 3;
// A kill record's killer as the kill code gave it.
constexpr int32_t KILLED_BY_PLAYER = 3;

constexpr int TEXT_LIMIT = DEBRIEF_TEXT_SIZE - 1;
constexpr int LINE_LIMIT = 2046;  // a line that would bring the text this far is dropped
constexpr int32_t COLLIDED_WITH_CRATER = 11;
constexpr int32_t END_DISINTEGRATED = 11;
constexpr int32_t LOW_COLLISION_ALTITUDE = 5120;  // 20 ft
constexpr int TASK_TYPE_GROUND_ATTACK = 4;
constexpr int WON_MOVIE_LEVEL = 10;
constexpr int FLIGHT_PATH_COLOUR = 245;
constexpr int SCAN_LEFT_SHIFT = 0x2a;
constexpr int STREAM_RATE = 22000;
constexpr int SMALL_SUBTITLES = 50;

// Numbers that count as nothing: trees and scrub.
constexpr int32_t NEVER_COUNTED[] = {13, 19, 25, 28, 102, 141, 144};
// Craters count as the crater.
constexpr int32_t CRATERS[] = {41, 62, 195, 197, 257};
constexpr int32_t CRATER = 11;
// City blocks and towers count as the tower block.
constexpr int32_t TOWER_BLOCK = 16;
constexpr int32_t AIRCRAFT[] = {3,   34,  64,  103, 222, 225, 228, 231,  234,  237,  307,  453,  504,
                                507, 577, 606, 607, 686, 932, 990, 1038, 1056, 1066, 1085, 1145, 1232};

int32_t kill_table[VICTIM_SIDES][DEBRIEF_OBJECTS][KILLERS] = {};

bool is_aircraft(int32_t number) { return std::find(std::begin(AIRCRAFT), std::end(AIRCRAFT), number) != std::end(AIRCRAFT); }

template <typename Visit>
void for_each_record(Visit visit) {
    for (FlightEventBlock* block = first_event_block; block; block = block->next)
        for (FlightEventRecord& record : block->records)
            if (record.kind != RECORD_FREE) visit(record);
}

bool has_records() { return first_event_block && first_event_block->records[0].kind != RECORD_FREE; }

bool is_kill(const FlightEventRecord& record) {
    return record.kind == RECORD_MOBILE_OBJECT || record.kind == RECORD_GROUND_OBJECT;
}

// The kill code gives the player 3, an allied shooter 1 and any other 2; nobody known counts as
// allied forces.
int killer_class(const FlightEventRecord& record) {
    switch (record.value4) {
    case KILLED_BY_PLAYER: return KILLER_PLAYER;
    case KILLER_ENEMY: return KILLER_ENEMY;
    default: return KILLER_ALLIED;
    }
}

int victim_table(int side) {
    switch (side) {
    case SIDE_ALLIED: return VICTIMS_ALLIED;
    case SIDE_ENEMY: return VICTIMS_ENEMY;
    default: return VICTIMS_NEUTRAL;
    }
}

int drone_side(const Drone* drone) { return (drone->object.flags >> INSTANCE_SIDE_SHIFT) & 3; }

const char* object_name(int32_t number) { return get_object_type_name(number); }

const char* short_object_name(int32_t number) {
    const ObjectHeader* header = get_object_header(number);
    return header ? header->short_name : object_name(number);
}

bool is_dying_end(int flag) {
    return flag == END_COLLISION || flag == END_CRASH || flag == END_SHOT_DOWN || flag == END_DISINTEGRATED || flag == END_DITCHED;
}

void fail(int loss_state) {
    debrief_result = DEBRIEF_FAILURE;
    debrief.loss_state = loss_state;
}

int max_landing_grade() {
    intptr_t grade = 0;
    for_each_record([&](const FlightEventRecord& r) {
        if (r.kind == RECORD_PLAYER_LANDED && r.reference > grade) grade = r.reference;
    });
    return int(grade);
}

void sum_flight_time() {
    for_each_record([](const FlightEventRecord& r) {
        if (r.kind == RECORD_DELTA_TIME) debrief.flight_time += r.value1;
    });
}

Waypoint* player_route() { return user_drone ? user_drone->first_waypoint : nullptr; }

void assess_waypoint_targets() {
    if (has_runway_landing(player_route())) return;
    int counted = 0, destroyed = 0;
    for (Waypoint* w = player_route(); w; w = get_next_waypoint(w)) {
        if (get_waypoint_type(w) != WAYPOINT_TARGET) continue;
        const ground_object* target = find_nearest_ground_object(get_waypoint_x(w), get_waypoint_y(w));
        if (!target) continue;
        ++counted;
        if (target->flags & GROUND_DESTROYED) ++destroyed;
    }
    debrief.success_score += destroyed;
    if (counted && destroyed == counted) add_debrief_line("All waypoint targets were destroyed.");
}

// The ground objects nearest the grid's gameplay objects of one kind that are destroyed.
int count_destroyed_gameplay(int type) {
    int count = 0;
    for (GameplayCell& cell : gameplay_grid)
        for (const GameplayObject* object : get_gameplay_slots(cell, type))
            if (object)
                if (const ground_object* g = find_nearest_ground_object(object->x, object->y))
                    count += (g->flags & GROUND_DESTROYED) != 0;
    return count;
}

void count_destroyed_mission_targets() { debrief.success_score += count_destroyed_gameplay(GAMEPLAY_TARGET); }

bool counts(int32_t number) { return object_group[number] != 0; }

bool is_enemy_defence_site(int32_t number) {
    const char* name = object_name(number);
    return std::strcmp(name, object_name(aaa_site_object(SIDE_ENEMY))) == 0 ||
           std::strcmp(name, object_name(sam_site_object(SIDE_ENEMY))) == 0;
}

void tally_drone(int32_t number, int side, int killer) {
    kill_table[victim_table(side)][number][killer] += 1;
    const bool by_player = killer == KILLER_PLAYER;
    if (side == SIDE_ALLIED) {
        if (by_player && counts(number)) ++debrief.friendly_kills, ++debrief.failure_score;
    } else if (side == SIDE_ENEMY) {
        if (by_player) ++(is_aircraft(number) ? debrief.air_kills : debrief.ground_kills);
    } else if (by_player && counts(number)) {
        ++debrief.failure_score;
    }
}

void tally_ground_object(int32_t number, int side, int killer) {
    const bool by_player = killer == KILLER_PLAYER;
    if (side == SIDE_ALLIED) {
        if (by_player && counts(number)) ++debrief.friendly_kills, ++debrief.failure_score;
        return;
    }
    kill_table[victim_table(side)][number][killer] += 1;
    if (side == SIDE_ENEMY) {
        if (!by_player) return;
        ++debrief.ground_kills;
        if (is_enemy_defence_site(number))
            ++(user_task && get_task_type(user_task) == TASK_TYPE_GROUND_ATTACK ? debrief.success_score
                                                                                : debrief.outstanding_score);
    } else if (by_player && counts(number)) {
        ++debrief.failure_score;
    }
}

void tally_kills() {
    std::memset(kill_table, 0, sizeof kill_table);
    for_each_record([](const FlightEventRecord& r) {
        if (!is_kill(r) || !r.reference) return;
        const int killer = killer_class(r);
        if (r.kind == RECORD_MOBILE_OBJECT) {
            const Drone* drone = reinterpret_cast<const Drone*>(r.reference);
            const int32_t number = drone->object.object_type;
            if (number >= 0 && number < DEBRIEF_OBJECTS) tally_drone(number, drone_side(drone), killer);
            return;
        }
        const ground_object* object = reinterpret_cast<const ground_object*>(r.reference);
        if (r.value3 >= 0 && r.value3 < DEBRIEF_OBJECTS)
            tally_ground_object(r.value3, (object->flags & GROUND_SIDE_MASK) >> GROUND_SIDE_SHIFT, killer);
    });
    for (int number = 0; number < DEBRIEF_OBJECTS; ++number) {
        const int32_t group = object_group[number];
        if (group == number) continue;
        for (auto& table : kill_table)
            for (int k = 0; k < KILLERS; ++k) {
                table[group][k] += table[number][k];
                table[number][k] = 0;
            }
    }
}

// The record of the drone's destruction; null when none was made.
const FlightEventRecord* destruction_record(const Drone* drone) {
    const FlightEventRecord* found = nullptr;
    for_each_record([&](const FlightEventRecord& r) {
        if (!found && r.kind == RECORD_MOBILE_OBJECT && r.reference == reinterpret_cast<intptr_t>(drone)) found = &r;
    });
    return found;
}

void score_goal_drone(const Drone* drone, bool leader) {
    if (!drone->destroyed) return;
    const FlightEventRecord* record = destruction_record(drone);
    if (drone->mission_flags & DRONE_FLAG_KILL_FAILURE) ++debrief.failure_score;
    if ((drone->mission_flags & DRONE_FLAG_KILL_SUCCESS) && (!leader || record)) ++debrief.success_score;
    if ((drone->mission_flags & DRONE_FLAG_KILL_OUTSTANDING) && record && killer_class(*record) == KILLER_PLAYER)
        ++debrief.outstanding_score;
}

// Failed when the soldiers loaded or delivered fall short; a blank line when there were any to carry.
bool humans_met() {
    bool met = true;
    if (humans_loaded_count > 0)
        met = humans_loaded_count <= soldiers_picked_up;
    else if (humans_deployed_count > 0)
        met = humans_deployed_count <= soldiers_delivered;
    if (humans_loaded_count > 0 || humans_deployed_count > 0) add_debrief_line(" ");
    return met;
}

bool mines_laid() { return mine_target_count <= mined_target_count; }

void check_goals_after_success() {
    if (!humans_met()) debrief_result = DEBRIEF_FAILURE;
    if (!mine_target_count) return;
    if (mines_laid()) {
        add_debrief_line("and enough mines successfully layed.");
    } else {
        debrief_result = DEBRIEF_FAILURE;
        add_debrief_line("but not enough mines successfully layed.");
    }
}

void check_mines_alone() {
    if (!mine_target_count) return;
    debrief_result = mines_laid() ? DEBRIEF_SUCCESS : DEBRIEF_FAILURE;
    add_debrief_line(mines_laid() ? "Enough mines successfully layed." : "Not enough mines successfully layed.");
}

void assess_goals(int landing_grade) {
    for (Task* task = get_first_task(); task; task = get_next_task(task))
        for (Drone* leader = get_task_first_drone(task); leader; leader = leader->next) {
            score_goal_drone(leader, true);
            for (Drone* member = leader->first_member; member; member = member->next) score_goal_drone(member, false);
        }
    const int f = mission_failure_count, s = mission_success_count, o = mission_outstanding_count;
    const int success = debrief.success_score, outstanding = debrief.outstanding_score;
    if (debrief.failure_score > f) {
        add_debrief_line("Allied or civilian casualties too high.");
        debrief_result = DEBRIEF_FAILURE;
    } else if (success >= s && s > 0) {
        const bool plain = success + outstanding < o;
        debrief_result = plain ? DEBRIEF_SUCCESS : DEBRIEF_OUTSTANDING;
        add_debrief_line(plain ? "Enough targets for success." : "Outstanding number of targets.");
        check_goals_after_success();
    } else if (s == 0 && outstanding > 0 && success + outstanding >= o) {
        debrief_result = DEBRIEF_OUTSTANDING;
        add_debrief_line("Outstanding number of targets destroyed.");
        if (!humans_met()) debrief_result = DEBRIEF_FAILURE;
        check_mines_alone();
    } else if (s != 0) {
        add_debrief_line("Insufficient targets destroyed.");
    } else {
        if (humans_loaded_count > 0 || humans_deployed_count > 0)
            debrief_result = humans_met() ? DEBRIEF_SUCCESS : DEBRIEF_FAILURE;
        check_mines_alone();
        const bool no_goals = !humans_loaded_count && !humans_deployed_count && !mine_target_count;
        if (no_goals && (landing_grade > 0 || (die_flag != 0 && die_flag != END_QUIT)) && !is_dying_end(die_flag)) {
            add_debrief_line("Good flying.");
            debrief_result = DEBRIEF_SUCCESS;
        }
        if (has_runway_landing(player_route())) {
            const bool met = landing_goal_met || runway_destroyed;
            add_debrief_line(met ? "Runway destroyed." : "Runway was not destroyed.");
            debrief_result = met ? DEBRIEF_SUCCESS : DEBRIEF_FAILURE;
        }
    }
    debrief.assessment_result = debrief_result;
}

void assess_recon() {
    if (recon_required <= 0) return;
    if (waypoints_reached >= recon_required) {
        if (debrief_result != DEBRIEF_OUTSTANDING) debrief_result = DEBRIEF_SUCCESS;
        add_debrief_line("Reconnaissance data was sent successfully.");
        return;
    }
    debrief_result = DEBRIEF_FAILURE;
    add_debrief_line(waypoints_reached ? "You failed to send all required reconnaissance data."
                                       : "You failed to send any reconnaissance data.");
}

void assess_prohibited_targets() {
    for (GameplayCell& cell : gameplay_grid)
        for (const GameplayObject* object : cell.prohibited) {
            if (!object || debrief_result <= DEBRIEF_FAILURE) continue;
            const ground_object* g = find_nearest_ground_object(object->x, object->y);
            if (!g || !(g->flags & GROUND_DESTROYED)) continue;
            add_debrief_line("However, you destroyed a prohibited target.");
            fail(2);
        }
}

// The last touchdown, or where the aircraft ended without one.
void landing_position(int32_t& x, int32_t& y) {
    bool landed = false;
    for_each_record([&](const FlightEventRecord& r) {
        if (r.kind != RECORD_PLAYER_LANDED) return;
        x = r.value1, y = r.value2, landed = true;
    });
    if (landed || !user_drone) return;
    x = user_drone->pose.position.x;
    y = user_drone->pose.position.y;
}

void assess_landing_place() {
    int32_t x = 0, y = 0;
    landing_position(x, y);
    const int side = get_cell_side(x, y) & CELL_SIDE_MASK;
    debrief.away_from_landing_point = !(get_feature_kind(x, y) == FEATURE_RUNWAY && (side == 1 || side == 3));
    if (side != SIDE_ENEMY) return;
    if (debrief_result >= DEBRIEF_SUCCESS) fail(2);
    debrief.aborted = debrief.over_enemy_ground = 1;
    const int distance = get_front_line_distance(x, y);
    debrief.front_line_distance = distance < 0 ? NO_FRONT_LINE : distance;
}

// Leaves a fate already decided.
void decide_ejection_outcome(bool over_enemy, bool crash, int distance) {
    if (pilot_fate != FATE_UNHURT) return;
    if (crash) {
        int limit = 50;
        if (landing_result == LANDING_ENGINE_FIRE) limit = 98;
        if (landing_result == LANDING_CRASH && landing_damage_ratio >= 1.0f) limit = int(landing_damage_ratio * 40);
        if (landing_result == LANDING_GEAR_COLLAPSE) limit = 10;
        if (next_random(random_seed) % 100 <= limit) {
            pilot_fate = FATE_KILLED;
            return;
        }
        if (next_random(random_seed) % 10 <= 5) {
            pilot_fate = FATE_INJURED;
        } else if (over_enemy) {
            pilot_fate = FATE_MISSING;
            return;
        }
    }
    if (!over_enemy) return;
    if (distance == 1) {
        if (next_random(random_seed) % 2)
            pilot_fate = FATE_CAPTURED;
        else if (pilot_fate == FATE_UNHURT)
            pilot_fate = FATE_ESCAPED;
    } else if (distance >= 3) {
        pilot_fate = FATE_CAPTURED;
    }
}

void decide_crash_outcome() {
    decide_ejection_outcome(debrief.over_enemy_ground, true, debrief.front_line_distance);
}

void assess_ejection() {
    if (!pilot_ejected) return;
    debrief_result = DEBRIEF_FAILURE;
    add_debrief_line("\nPilot Ejected.");
    const int r = draw_rand() % 100;
    if (debrief.over_enemy_ground)
        pilot_fate = r < 40 ? FATE_UNHURT : r < 50 ? FATE_INJURED : r < 70 ? FATE_MISSING : r < 97 ? FATE_CAPTURED : FATE_KILLED;
    else
        pilot_fate = r < 80 ? FATE_UNHURT : r < 97 ? FATE_INJURED : FATE_KILLED;
}

void lost_the_aircraft() {
    if (debrief_result < DEBRIEF_SUCCESS) return;
    add_debrief_line("Mission Failed - Vyr destroyed.");
    fail(2);
}

void killed() {
    pilot_fate = FATE_KILLED;
    debrief.died = 1;
}

void report_collision() {
    lost_the_aircraft();
    if (collision_object == COLLIDED_WITH_CRATER) {
        add_debrief_line("Vyr crash landed.");
        decide_crash_outcome();
        return;
    }
    if (collision_object > 0 && collision_object < DEBRIEF_OBJECTS) {
        const int32_t group = object_group[collision_object];
        add_debrief_line("Vyr collided with %s.", group ? object_name(group) : short_object_name(collision_object));
    } else {
        add_debrief_line("Vyr crashed");
    }
    if (!user_drone || user_drone->pose.position.z <= LOW_COLLISION_ALTITUDE)
        decide_ejection_outcome(debrief.over_enemy_ground, false, debrief.front_line_distance);
    killed();
}

void report_crash() {
    switch (landing_result) {
    case 5: add_debrief_line("Mission failed because you crash landed."); break;
    case LANDING_ENGINE_FIRE: add_debrief_line("Mission failed due to damage caused by a severe engine fire.\n"); break;
    case LANDING_CRASH: {
        add_debrief_line("Mission failed because you crash landed.\n");
        if (!landing_faults) break;
        add_debrief_line("\nLanding criteria that you failed to meet:");
        const char* const faults[] = {"-\tDescent rate too high", "-\tVelocity too high", "-\tRoll angle too high",
                                      "-\tPitch angle too high/low", "-\tBeta angle too high"};
        for (size_t bit = 0; bit < std::size(faults); ++bit)
            if (landing_faults & (1u << bit)) add_debrief_line("%s", faults[bit]);
        add_debrief_line("%s", "");
        break;
    }
    case LANDING_GEAR_COLLAPSE:
        add_debrief_line("Mission failed due to landing gear collapse caused by excessive speed.\n");
        break;
    default: break;
    }
    fail(2);
    decide_crash_outcome();
    killed();
}

void report_ditching() {
    lost_the_aircraft();
    decide_crash_outcome();
    const int32_t x = user_drone ? user_drone->pose.position.x : 0, y = user_drone ? user_drone->pose.position.y : 0;
    switch (get_feature_kind(x, y)) {
    case FEATURE_RIVER: add_debrief_line("Vyr ditched in a river."); break;
    case FEATURE_LAKE: add_debrief_line("Vyr ditched in a lake."); break;
    case FEATURE_OCEAN: add_debrief_line("Vyr ditched in the sea."); break;
    default: report_fatal_error("Vyr sunk on land!!!", SOURCE, __LINE__);
    }
    killed();
}

void assess_end_of_flight() {
    switch (die_flag) {
    case END_COLLISION: report_collision(); break;
    case END_CRASH: report_crash(); break;
    case END_SHOT_DOWN:
        lost_the_aircraft();
        if (killer_object_number > 0 && killer_object_number < DEBRIEF_OBJECTS)
            add_debrief_line("Vyr was shot down by %s.", object_name(killer_object_number));
        else
            add_debrief_line("Vyr was shot down");
        killed();
        break;
    case END_DISINTEGRATED:
        lost_the_aircraft();
        add_debrief_line("Vyr disintegrated due to excessive speed.");
        killed();
        break;
    case END_DITCHED: report_ditching(); break;
    default: return;
    }
    debrief.aborted = 0;
}

void assess_landing(int grade) {
    if (grade == 0) {
        if (debrief_result >= DEBRIEF_SUCCESS) {
            add_debrief_line("Mission failed because you did not land.");
            fail(2);
        }
        if (die_flag == 0 || die_flag == END_QUIT) debrief.aborted = 1;
    } else if (grade >= 5) {
        if (debrief_result >= DEBRIEF_SUCCESS) {
            add_debrief_line("Mission failed because you crash landed.");
            fail(2);
        }
        killed();
        decide_crash_outcome();
    } else if (grade >= 3) {
        if (debrief_result == DEBRIEF_OUTSTANDING) {
            add_debrief_line("Mission not outstanding due to heavy landing.");
            debrief_result = DEBRIEF_SUCCESS;
            debrief.loss_state = 3;
        }
    } else if (debrief.over_enemy_ground && die_flag != END_CRASH) {
        add_debrief_line("Misson failed due to landing in enemy territory.");
        fail(2);
        decide_ejection_outcome(true, false, debrief.front_line_distance);
    } else if (debrief.away_from_landing_point && !is_dying_end(die_flag)) {
        add_debrief_line("Mission failed due to not returning to landing point.");
        fail(2);
        decide_ejection_outcome(debrief.over_enemy_ground, false, debrief.front_line_distance);
    }
}

void report_pilot_fate() {
    const char* const lines[] = {nullptr,
                                 "%s is missing in action.",
                                 "%s was captured by enemy forces and is now a prisoner of war.",
                                 "%s was injured.",
                                 "%s was killed.",
                                 "%s landed in enemy territory, but fortunately escaped."};
    if (pilot_fate > 0 && pilot_fate < int(std::size(lines)))
        add_debrief_line(lines[pilot_fate], format_rank_and_name(current_pilot_log));
}

void list_kills() {
    struct Headings {
        const char* tables[VICTIM_SIDES];
    };
    const Headings headings[KILLERS] = {
        {{"  Friendly Fire Casualties Caused:", "  Enemy Targets:", "  Civilian Casualties:"}},
        {{"  Allied Friendly Fire Casualties:", "  Enemy Targets:", "  Civilian Casualties:"}},
        {{"  Allied Targets:", "  Enemy Friendly Fire Casualties:", "  Civilian Casualties:"}},
    };
    for (int killer = 0; killer < KILLERS; ++killer) {
        bool headed = false;
        for (int table = 0; table < VICTIM_SIDES; ++table) {
            bool sub_headed = false;
            for (int number = 1; number < DEBRIEF_OBJECTS; ++number) {
                const int32_t count = kill_table[table][number][killer];
                if (!count) continue;
                if (!headed) {
                    const char* call_sign = get_log_name(current_pilot_log);
                    if (killer == KILLER_PLAYER && *call_sign)
                        add_debrief_line("\nTargets destroyed by %s:", call_sign);
                    else if (killer == KILLER_PLAYER)
                        add_debrief_line("\nTargets destroyed by you:");
                    else if (killer == KILLER_ALLIED)
                        add_debrief_line("\nTargets destroyed by other allied forces:");
                    else
                        add_debrief_line("\nTargets destroyed by enemy forces:");
                    headed = true;
                }
                if (!sub_headed) add_debrief_line("%s", headings[killer].tables[table]);
                sub_headed = true;
                add_debrief_line("  %d x %s", int(count), object_name(number));
            }
        }
    }
}

void group_range(int32_t first, int32_t last, int32_t group) {
    for (int32_t n = first; n <= last; ++n) object_group[n] = group;
}

// Variants of one thing share its long name; they count under the first number bearing it.
void group_by_name() {
    for (const ObjectTypeInfo& row : object_type_table) {
        if (row.object_number <= 0 || row.object_number >= DEBRIEF_OBJECTS) continue;
        if (object_group[row.object_number] != row.object_number) continue;
        for (const ObjectTypeInfo& first : object_type_table) {
            if (first.object_number <= 0 || first.object_number >= row.object_number) continue;
            if (std::strcmp(first.long_name, row.long_name) == 0) {
                object_group[row.object_number] = first.object_number;
                break;
            }
        }
    }
}

// A failure until judged otherwise, the result kept when there is nothing to judge.
void clear_debrief() {
    debrief = {};
    debrief.assessment_result = DEBRIEF_FAILURE;
    debrief.loss_state = 3;
    debrief_result = DEBRIEF_FAILURE;
    pilot_fate = FATE_UNHURT;
    debrief_text[0] = 0;
}

const char* mission_text(const char* text) { return text ? text : ""; }

void show_result() {
    std::string text = debrief_mission_text();
    text += '\n';
    text += debrief_text;
    set_map_subtitles(debrief_title(), text.c_str());
    const char* sound = debrief_result == DEBRIEF_SUCCESS       ? "sound\\success.raw"
                        : debrief_result == DEBRIEF_OUTSTANDING ? "sound\\outstand.raw"
                        : debrief.died                          ? "sound\\death.raw"
                                                                : "sound\\fail.raw";
    if (sound_speech_on) play_stream(sound, 2, STREAM_RATE, 0, 0);
}

void show_debrief_layout() {
    if (!map_screen) return;  // a flight flown without the menus (a test's)
    set_ui_text(briefing_button, "Debrief");
    for (UiObject* panel : {map_tool_box, waypoint_tool_box, map_3d_view, met_box, point_data_box,
                            briefing_takeoff_button, log_box})
        show_ui_object(panel, 0);
    for (UiObject* button : briefing_playback) show_ui_object(button, 0);
    show_ui_object(subtitles_box, 1);
    if (subtitles_box->y1 - subtitles_box->y0 + 1 <= SMALL_SUBTITLES) {
        Event event{};
        toggle_subtitles_size(subtitles_box, event);
    }
    show_ui_object(debrief_exit_button, 1);
    show_ui_object(map_exit_button, 0);
    set_back_hook(ask_log_mission);
    reset_map_tool();
    invalidate_area(0, 0, display_width() - 1, display_height() - 1, 1);
}

// The map as the planner left it: its own exit back, the question and the hook gone.
void leave_debrief() {
    choose_menu_music();
    if (map_screen) {
        show_ui_object(map_exit_button, 1);
        show_ui_object(debrief_exit_button, 0);
        show_ui_object(log_box, 0);
        pop_screen_now();
    }
}

bool in_campaign() { return get_game_flow() == FLOW_CAMPAIGN; }

void record_mission_result(PilotLog* log) {
    switch (get_game_flow()) {
    case FLOW_TRAINING:
    case FLOW_SINGLE_MISSION:
        set_log_mission_result(log, get_war_zone(), current_mission_number, 0, debrief_result);
        break;
    case FLOW_CAMPAIGN:
        set_campaign_mission_result(log, current_mission_number, debrief_result);
        step_campaign_level(log, debrief_result >= DEBRIEF_SUCCESS);
        set_campaign_seed(log, int32_t(uint32_t(get_campaign_seed(log)) * 0x41c64e6du + 0x3039u));
        if (map_screen) pop_screen_now();
        break;
    default: break;
    }
}

}  // namespace

void record_mission_in_log(PilotLog* log) {
    record_mission_result(log);
    const int flow = get_game_flow();
    if (flow >= FLOW_TRAINING && flow <= FLOW_CAMPAIGN) add_log_total_time(log, debrief.flight_time);
    if (flow == FLOW_SINGLE_MISSION || flow == FLOW_CAMPAIGN) add_log_combat_time(log, debrief.flight_time);
    add_log_missions_flown(log, 1);
    if (debrief_result == DEBRIEF_SUCCESS) add_log_successful_missions(log, 1);
    else if (debrief_result == DEBRIEF_OUTSTANDING) add_log_outstanding_missions(log, 1);
    else add_log_failed_missions(log, 1);
    add_log_air_kills(log, debrief.air_kills);
    add_log_ground_kills(log, debrief.ground_kills);
    add_log_friendly_kills(log, debrief.friendly_kills);
    if (debrief.died) {
        switch (pilot_fate) {
        case FATE_MISSING: set_log_status(log, 5); break;
        case FATE_CAPTURED: set_log_status(log, 6); break;
        case FATE_INJURED: set_log_status(log, 7); break;
        case FATE_KILLED:
            if (flow == FLOW_TRAINING)
                set_log_status(log, 9);
            else if (flow == FLOW_CAMPAIGN && get_campaign_lives(log) > 0)
                lose_campaign_life(log);
            else if (flow == FLOW_CAMPAIGN)
                set_campaign_level(log, 0);
            else
                set_log_status(log, 8);
            break;
        default: report_fatal_error("Pilot is dead and alive!", SOURCE, __LINE__);
        }
        add_log_aircraft_lost(log, 1);
    }
    write_pilot_log(log);
}

namespace {

void play_won_movie() {
    const char* const movies[] = {nullptr, "anims\\m1_fin.rpl", "anims\\k2_fin.rpl", "anims\\c2_fin.rpl"};
    const int zone = get_war_zone();
    if (zone < 1 || zone >= int(std::size(movies)) || !movie_backdrop) return;
    push_screen(movie_backdrop);
    play_movie(movies[zone]);
    pop_screen_now();
}

// The award screens, the promotion's showing first; true when any is shown.
bool show_awards(PilotLog* log) {
    award_bits = is_key_down(SCAN_LEFT_SHIFT) ? 0xf : get_log_awards(log);
    const int rank = get_log_rank(log);
    if (rank < 3 || rank > 7) award_bits &= ~LOG_AWARD_PROMOTION;  // no insignia to show
    if (!award_bits || !award_screens[0]) return false;
    if (sound_speech_on) play_stream("sound\\medal.raw", 2, STREAM_RATE, 0, 0);
    for (int id = 4; id >= 2; --id)
        if (award_bits & (1 << (id - 1))) push_screen_now(award_screens[id - 1]);
    if (award_bits & LOG_AWARD_PROMOTION) {
        char picture[32];
        std::snprintf(picture, sizeof picture, "menuscrn\\promo%03d.lbm", rank - 2);
        set_ui_attrs(award_screens[0], ATTR_PICTURE, picture);
        push_screen_now(award_screens[0]);
    }
    return true;
}

}  // namespace

void add_debrief_line(const char* format, ...) {
    char line[DEBRIEF_TEXT_SIZE];
    va_list values;
    va_start(values, format);
    std::vsnprintf(line, sizeof line, format, values);
    va_end(values);
    const size_t length = std::strlen(debrief_text);
    // The line feed of a dropped line is kept only while it fits.
    if (length + 1 > size_t(TEXT_LIMIT)) return;
    debrief_text[length] = '\n';
    debrief_text[length + 1] = 0;
    if (length + 1 + std::strlen(line) >= size_t(LINE_LIMIT)) return;
    std::strcat(debrief_text, line);
}

void init_debrief() {
    for (int n = 0; n < DEBRIEF_OBJECTS; ++n) object_group[n] = n;
    group_by_name();
    for (int32_t n : NEVER_COUNTED) object_group[n] = 0;
    for (int32_t n : CRATERS) object_group[n] = CRATER;
    group_range(350, 370, TOWER_BLOCK);
    group_range(374, 383, TOWER_BLOCK);
    object_group[OBJ_AH64D_SKEREL_TARNVEL] = OBJ_AH64C_SKEREL;
    // A wreck counts as what it was.
    for (int n = 1; n < DEBRIEF_OBJECTS; ++n) {
        const ObjectHeader* header = get_object_header(n);
        if (header && header->destroyed_type > 0 && header->destroyed_type < DEBRIEF_OBJECTS &&
            header->destroyed_type != n)
            object_group[header->destroyed_type] = n;
    }
    // Every number names its final group, so one pass of the tally moves each count home.
    for (int n = 0; n < DEBRIEF_OBJECTS; ++n)
        for (int step = 0; step < DEBRIEF_OBJECTS && object_group[object_group[n]] != object_group[n]; ++step)
            object_group[n] = object_group[object_group[n]];
}

const char* debrief_title() {
    switch (debrief_result) {
    case DEBRIEF_SUCCESS: return " - SUCCESS";
    case DEBRIEF_OUTSTANDING: return " - OUTSTANDING";
    default: return debrief.aborted ? " - ABORTED" : " - FAILURE";
    }
}

const char* debrief_mission_text() {
    switch (debrief_result) {
    case DEBRIEF_SUCCESS: return mission_text(debrief_success_text);
    case DEBRIEF_OUTSTANDING: return mission_text(debrief_outstanding_text);
    default:
        // A failure the goals did not cause shows the mission's text for none.
        const bool by_goals = debrief.assessment_result == DEBRIEF_FAILURE && debrief.loss_state != 2;
        return by_goals ? mission_text(debrief_failure_text) : "";
    }
}

void reset_debrief_records() { reset_flight_records(); }

void judge_flight() {
    clear_debrief();
    if (has_records()) {
        const int grade = max_landing_grade();
        sum_flight_time();
        assess_waypoint_targets();
        count_destroyed_mission_targets();
        tally_kills();
        assess_goals(grade);
        assess_recon();
        assess_prohibited_targets();
        assess_landing_place();
        assess_ejection();
        assess_end_of_flight();
        assess_landing(grade);
        report_pilot_fate();
        list_kills();
    }
    if (always_succeed) debrief_result = DEBRIEF_SUCCESS;
    if (always_outstanding) debrief_result = DEBRIEF_OUTSTANDING;
}

void show_debrief() {
    show_debrief_layout();
    judge_flight();
    show_result();
}

void draw_flight_path() {
    bool started = false;
    int32_t x = 0, y = 0;
    for_each_record([&](const FlightEventRecord& r) {
        if (r.kind != RECORD_PLAYER_POSITION) return;
        if (started) draw_plot_line(x, y, r.value1, r.value2, FLIGHT_PATH_COLOUR);
        x = r.value1, y = r.value2, started = true;
    });
}

void restore_destroyed_ground_objects() {
    for_each_record([](const FlightEventRecord& r) {
        if (r.kind != RECORD_GROUND_OBJECT || !r.reference) return;
        auto* object = reinterpret_cast<ground_object*>(r.reference);
        object->type = uint16_t(r.value3);
        object->flags &= uint16_t(~GROUND_DESTROYED);
    });
}

void set_debrief_texts(const char* failure, const char* success, const char* outstanding) {
    debrief_failure_text = failure;
    debrief_success_text = success;
    debrief_outstanding_text = outstanding;
}

int ask_log_mission() {
    if (in_campaign()) {
        Event event{};
        log_flown_mission(nullptr, event);
        return 0;
    }
    if (!log_box) return 0;
    show_ui_object(log_retry_button, connection_mode == CONNECTION_NONE);
    show_ui_object(log_box, 1);
    return 0;
}

void log_flown_mission(UiObject*, Event&) {
    PilotLog* log = current_pilot_log;
    const bool campaign = in_campaign();
    if (campaign && get_campaign_level(log) >= WON_MOVIE_LEVEL && debrief_result >= DEBRIEF_SUCCESS) play_won_movie();
    leave_debrief();
    record_mission_in_log(log);
    update_log_totals(log);
    compile_mission_list();
    restore_destroyed_ground_objects();
    load_ground_objects();
    set_back_hook(nullptr);
    if (campaign) set_campaign_result(debrief_result);
    const bool active = get_log_status(log) == LOG_STATUS_ACTIVE;
    if (!active && log_screen) push_screen(log_screen);
    if (!show_awards(log) && campaign && active) enter_campaign();
}

void skip_logging(UiObject*, Event&) {
    leave_debrief();
    restore_destroyed_ground_objects();
    set_back_hook(nullptr);
    if (in_campaign()) enter_campaign();
}

void retry_mission(UiObject* object, Event& event) {
    skip_logging(object, event);
    if (Mission* mission = get_current_mission()) start_chosen_mission(mission);
}

void close_award_screen(UiObject* object, Event&) {
    const int id = object ? object->id : 0;
    if (id >= 1 && id <= 4) award_bits &= ~(1 << (id - 1));
    pop_screen();
    if (!award_bits && in_campaign()) enter_campaign();
}

}  // namespace vyr
