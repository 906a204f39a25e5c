#include "source/avionics/threat_warning.h"

#include <cmath>
#include <cstdlib>

#include "library/3dvisual/ground_objects.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/mobile.h"
#include "library/3dvisual/terrain.h"
#include "library/3dvisual/tiles.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/maths/trig.h"
#include "library/maths/units.h"
#include "source/avionics/failures.h"
#include "source/avionics/flight_data.h"
#include "source/drone/drone.h"
#include "source/drone/task.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/radar/target_scan.h"
#include "source/sound/triggers.h"
#include "source/weapons/rounds.h"
#include "source/weapons/stores.h"
#include "source/weapons/targets.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

ThreatWarning threat_warning;
ThreatSlot* threat_display_list[MAX_THREAT_DISPLAY];
int32_t threat_display_count = 0;
Target harm_emitter = {};

namespace {

constexpr const char* SOURCE = "source/avionics/threat_warning";
constexpr int32_t UNIT = 0x100000;  // 1.0 of the display's window
constexpr int32_t SYMBOL = 0x19999;  // 0.1
constexpr int SYMBOL_COLOUR = 217;
constexpr int BAR_COLOUR = 221;
constexpr int32_t CALL_OUT_SPACING = 2000;
// Below this height above the ground a ground threat lights no lamp.
constexpr int32_t GROUND_LAMP_HEIGHT = 1281;
constexpr double AIR_LAMP_HOLD_SECONDS = 2.0, AIR_LAMP_TIMER_LIMIT = 4.0;
constexpr int SPECIAL_EMITTER_LIMIT = 5;
constexpr int MOBILE_SCAN_LIMIT = 49;

struct Emitter {
    int16_t number;
    int16_t threat_class;
    int32_t weapon_range, detection_range;  // world units
};

constexpr int32_t nm(double miles) { return int32_t(miles * NAUTICAL_MILE); }

constexpr Emitter EMITTERS[] = {
    {231, THREAT_CLASS_AIRCRAFT, nm(25), nm(50)},   {234, THREAT_CLASS_AIRCRAFT, nm(25), nm(50)},
    {489, THREAT_CLASS_6, nm(25), nm(50)},          {225, THREAT_CLASS_AIRCRAFT, nm(25), nm(50)},
    {453, THREAT_CLASS_AIRCRAFT, nm(25), nm(50)},   {320, THREAT_CLASS_6, nm(25), nm(50)},
    {228, THREAT_CLASS_AIRCRAFT, nm(6), nm(20)},    {1056, THREAT_CLASS_AIRCRAFT, nm(6), nm(30)},
    {1066, THREAT_CLASS_AIRCRAFT, nm(6), nm(30)},   {77, THREAT_CLASS_EW_RADAR, 0, nm(30)},
    {526, THREAT_CLASS_EW_RADAR, 0, nm(30)},        {328, THREAT_CLASS_EW_RADAR, 0, nm(30)},
    {514, THREAT_CLASS_6, nm(5), nm(15)},           {316, THREAT_CLASS_6, nm(5), nm(15)},
    {469, THREAT_CLASS_3, nm(5), nm(15)},           {87, THREAT_CLASS_3, nm(5), nm(15)},
    {99, THREAT_CLASS_SAM, nm(2.5), nm(8)},         {100, THREAT_CLASS_SAM, nm(2.5), nm(8)},
    {211, THREAT_CLASS_SAM, nm(2.5), nm(8)},        {450, THREAT_CLASS_SAM, nm(2), nm(8)},
    {46, THREAT_CLASS_EW_RADAR, 0, nm(60)},         {111, THREAT_CLASS_EW_RADAR, 0, nm(60)},
    {84, THREAT_CLASS_3, nm(8), nm(20)},            {1085, THREAT_CLASS_5, 0, nm(100)},
    {1145, THREAT_CLASS_5, 0, nm(100)},             {577, THREAT_CLASS_AIRCRAFT, nm(40), nm(80)},
    {64, THREAT_CLASS_AIRCRAFT, nm(10), nm(20)},
};

const Emitter* find_emitter(int number) {
    for (const Emitter& e : EMITTERS)
        if (e.number == number) return &e;
    return nullptr;
}

// Rounded places of the sectors' symbols: the outer ring at 0.8, the inner at 0.4 (0.3 on the
// diagonals), both clockwise from straight ahead.
constexpr int32_t P8 = 0xCCCCC, P7 = 0xB3333, P4 = 0x66666, P3 = 0x4CCCC;
constexpr int32_t SECTOR_PLACES[THREAT_SECTORS][2] = {
    {0, P8},   {P4, P7},   {P7, P4},   {P8, 0},  {P7, -P4},  {P4, -P7}, {0, -P8},
    {-P4, -P7}, {-P7, -P4}, {-P8, 0}, {-P7, P4}, {-P4, P7},  {0, P4},   {P3, P3},
    {P4, 0},   {P3, -P3},  {0, -P4},  {-P3, -P3}, {-P4, 0},  {-P3, P3},
};

struct SymbolLine {
    int8_t x0, y0, x1, y1;  // in symbol units s
};
struct Symbol {
    int count;
    SymbolLine lines[5];
};
const Symbol SYMBOLS[9] = {
    {0, {}},
    {5, {{-1, -1, 1, -1}, {0, -1, 1, 0}, {-1, 0, 0, -1}, {-1, 0, 0, 1}, {0, 1, 1, 0}}},
    {4, {{-1, -1, 1, -1}, {0, -1, 0, 1}, {0, -1, -1, 1}, {0, -1, 1, 1}}},
    {3, {{-1, -1, 1, -1}, {0, -1, -1, 1}, {0, -1, 1, 1}}},
    {4, {{-1, -1, 0, 1}, {-1, -1, 0, 0}, {0, 1, 1, -1}, {0, 0, 1, -1}}},
    {4, {{0, -1, 1, 0}, {-1, 0, 0, -1}, {-1, 0, 0, 1}, {0, 1, 1, 0}}},
    {4, {{-1, 0, 0, 1}, {0, 1, 1, 0}, {-1, -1, 0, 0}, {0, 0, 1, -1}}},
    {3, {{0, -1, 1, 1}, {-1, 1, 1, 1}, {-1, 1, 0, -1}}},
    {2, {{0, -1, 1, 1}, {-1, 1, 0, -1}}},
};

int32_t call_out_counter = 0;
double air_lamp_timer = 0;
int32_t harm_step_request = 0;
int32_t harm_reselect = 0;
int32_t previous_weapon = 0;

// Where the emitter stands: a ground site at its place in its tile on the ground there.
Vector3 emitter_position(const Target& t) {
    Vector3 p;
    get_target_position(&t, p);
    if (t.kind == TARGET_GROUND_OBJECT) p.z = get_ground_height(p.x, p.y);
    return p;
}

Vector3 offset_from_player(const Target& t) {
    const Vector3 p = emitter_position(t);
    const Vector3& a = player_position->position;
    return {p.x - a.x, p.y - a.y, p.z - a.z};
}

uint32_t aircraft_heading() {
    const int32_t* forward = player_position->matrix[1];
    return compute_bearing(forward[0], forward[1]);
}

int32_t relative_bearing(const Vector3& offset) {
    return int32_t(compute_bearing(offset.x, offset.y) - aircraft_heading());
}

int32_t horizontal_distance(const Vector3& d) {
    return int32_t(std::min<double>(std::hypot(double(d.x), double(d.y)), 0x7fffffff));
}

bool is_intact(const Target& t) { return !is_target_destroyed(&t); }

// The sector the emitter belongs in, or -1 when it is no emitter the receiver knows.
int threat_sector_for(const Target& t) {
    const Emitter* e = find_emitter(get_target_object_number(&t));
    if (!e) return -1;
    const Vector3 d = offset_from_player(t);
    const int32_t bearing = relative_bearing(d);
    return e->weapon_range < measure_distance_3d(d.x, d.y, d.z) ? outer_threat_sector(bearing)
                                                                 : inner_threat_sector(bearing);
}

// The emitter sees the player: within its detection range, and for a ground emitter with the
// player at least about a degree above its horizon.
int compute_illumination(Target& t) {
    const Emitter* e = find_emitter(get_target_object_number(&t));
    if (!e) return 0;
    const Vector3 d = offset_from_player(t);
    if (measure_distance_3d(d.x, d.y, d.z) > e->detection_range) return 0;
    if (get_target_domain(&t) == TARGET_DOMAIN_AIR) return 1;
    return std::abs(double(d.z)) >= 0.0175 * horizontal_distance(d) ? 1 : 0;
}

// A mobile threat other than a radar site shows only while its drone goes for the player.
bool engages_player(const ThreatSlot& slot) {
    const Target& t = slot.target;
    if (t.kind != TARGET_MOBILE || slot.threat_class == THREAT_CLASS_EW_RADAR) return true;
    const ObjectInstance* object = static_cast<const ObjectInstance*>(t.object);
    if (object->owner_kind != OWNER_DRONE || !object->owner) return false;
    const Target* aim = static_cast<const Drone*>(object->owner)->attack_target;
    return aim && aim->kind != TARGET_NONE && get_target_object_number(aim) == OBJ_VYR_HOVREN_TALSWEEP;
}

void check_known_kind(const Target& t) {
    if (t.kind != TARGET_GROUND_OBJECT && t.kind != TARGET_MOBILE && t.kind != TARGET_FIXED_POINT)
        report_fatal_error("unknown target type %d", SOURCE, __LINE__, t.kind);
}

int find_threat_group(const Target& t, ThreatSlot** found) {
    for (int g = 0; g < THREAT_SECTORS; ++g)
        for (ThreatSlot* s = threat_warning.groups[g].head; s; s = s->next)
            if (targets_equal(&s->target, &t)) {
                *found = s;
                return g;
            }
    return -1;
}

void unlink_threat(ThreatGroup& group, ThreatSlot* slot) {
    (slot->prev ? slot->prev->next : group.head) = slot->next;
    if (slot->next) slot->next->prev = slot->prev;
    slot->next = group.free_head;
    group.free_head = slot;
    --group.count;
}

void insert_threat(int sector, const Target& t) {
    ThreatGroup& group = threat_warning.groups[sector];
    if (group.count >= THREAT_SECTOR_LIMIT || !group.free_head) return;
    ThreatSlot* slot = group.free_head;
    group.free_head = slot->next;
    slot->target = t;
    slot->target.next = slot->target.prev = nullptr;
    const Vector3& a = player_position->position;
    slot->priority = compute_target_priority(&slot->target, a.x, a.y, a.z);
    slot->illuminating = compute_illumination(slot->target);
    slot->threat_class = threat_class_of(get_target_object_number(&t));
    switch (slot->threat_class) {
    case THREAT_CLASS_SAM: play_warning_tone(26); break;
    case THREAT_CLASS_3: play_warning_tone(27); break;
    case THREAT_CLASS_AIRCRAFT: play_warning_tone(25); break;
    default: break;
    }
    ThreatSlot* before = nullptr;
    ThreatSlot* after = group.head;
    while (after && after->priority >= slot->priority) {
        before = after;
        after = after->next;
    }
    slot->prev = before;
    slot->next = after;
    (before ? before->next : group.head) = slot;
    if (after) after->prev = slot;
    ++group.count;
}

void move_threat(int from, ThreatSlot* slot, int to) {
    const Target copy = slot->target;
    insert_threat(to, copy);
    unlink_threat(threat_warning.groups[from], slot);
}

// The illuminating threats of every sector into the display list, highest priority first.
void insert_threat_display(ThreatSlot* slot) {
    int at = threat_display_count;
    while (at > 0 && threat_display_list[at - 1]->priority < slot->priority) {
        threat_display_list[at] = threat_display_list[at - 1];
        --at;
    }
    threat_display_list[at] = slot;
    ++threat_display_count;
}

void update_threat_lamps() {
    bool air = false, ground = false;
    for (ThreatGroup& group : threat_warning.groups)
        for (ThreatSlot* s = group.head; s; s = s->next) {
            s->illuminating = is_intact(s->target) && compute_illumination(s->target) && engages_player(*s);
            if (!s->illuminating) continue;
            if (get_target_domain(&s->target) == TARGET_DOMAIN_AIR) {
                air = true;
                threat_lamp_bits |= THREAT_LAMP_AIR;
                if (call_out_counter > CALL_OUT_SPACING) {
                    call_out_counter = 0;
                    call_out_threat_clock(&s->target);
                }
            } else {
                ground = true;
                if (flight_data.height_above_ground >= GROUND_LAMP_HEIGHT)
                    threat_lamp_bits |= THREAT_LAMP_GROUND;
                else
                    threat_lamp_bits &= uint8_t(~THREAT_LAMP_GROUND);
            }
        }
    if (!air) threat_lamp_bits &= uint8_t(~THREAT_LAMP_AIR);
    if (!ground) threat_lamp_bits &= uint8_t(~THREAT_LAMP_GROUND);
}

void refile_threats() {
    for (int g = 0; g < THREAT_SECTORS; ++g) {
        ThreatGroup& group = threat_warning.groups[g];
        for (ThreatSlot* s = group.head; s;) {
            ThreatSlot* next = s->next;
            const int sector = is_intact(s->target) ? threat_sector_for(s->target) : -1;
            if (sector < 0)
                unlink_threat(group, s);
            else if (sector != g)
                move_threat(g, s, sector);
            s = next;
        }
    }
}

void fill_display_list() {
    for (ThreatGroup& group : threat_warning.groups)
        for (ThreatSlot* s = group.head; s && threat_display_count < MAX_THREAT_DISPLAY; s = s->next)
            if (s->illuminating) insert_threat_display(s);
}

int display_index_of(const Target& t) {
    for (int i = 0; i < threat_display_count; ++i)
        if (targets_equal(&threat_display_list[i]->target, &t)) return i;
    return -1;
}

void set_harm_emitter(int index) {
    if (index < 0 || index >= threat_display_count)
        harm_emitter.kind = TARGET_NONE;
    else
        harm_emitter = threat_display_list[index]->target;
}

void request_reselection() {
    harm_step_request = 1;
    harm_reselect = 1;
}

bool is_enemy_emitter(const Target& t) {
    return get_target_side(&t) == SIDE_ENEMY && find_emitter(get_target_object_number(&t)) != nullptr;
}

void designate_emitter(const Target& emitter) {
    designated_target = emitter;
    designated_target.next = designated_target.prev = nullptr;
    if (emitter.kind == TARGET_GROUND_OBJECT) designated_target.position = emitter_position(emitter);
}

void step_harm_emitter() {
    if (threat_display_count == 0) {
        harm_emitter.kind = TARGET_NONE;
        return;
    }
    const int current = harm_emitter.kind == TARGET_NONE ? -1 : display_index_of(harm_emitter);
    if (harm_emitter.kind == TARGET_NONE)
        set_harm_emitter(0);
    else if (harm_step_request == 1)
        set_harm_emitter(current < 0 || current == threat_display_count - 1 ? 0 : current + 1);
    else
        set_harm_emitter(current <= 0 ? threat_display_count - 1 : current - 1);
}

void update_harm_target() {
    const bool harm = selected_weapon == WEAPON_AGM_88A;
    if (harm && previous_weapon != WEAPON_AGM_88A) request_reselection();
    previous_weapon = selected_weapon;
    if (designated_target.kind == TARGET_NONE) request_reselection();
    if (harm_emitter.kind != TARGET_NONE && (!is_intact(harm_emitter) || !compute_illumination(harm_emitter)))
        request_reselection();
    if (harm && designated_target.kind != TARGET_NONE &&
        (!is_intact(designated_target) || !is_enemy_emitter(designated_target))) {
        designated_target.kind = TARGET_NONE;
        request_reselection();
    }
    if (harm_reselect) step_harm_emitter();
    if (!harm) {
        harm_emitter.kind = TARGET_NONE;
    } else if (harm_emitter.kind != TARGET_NONE) {
        if (designated_target.kind == TARGET_NONE || harm_reselect) {
            if (is_intact(harm_emitter)) {
                designate_emitter(harm_emitter);
            } else {
                designated_target.kind = TARGET_NONE;
                set_harm_emitter(0);
            }
        } else if (display_index_of(harm_emitter) < 0) {
            set_harm_emitter(0);
        }
    }
    harm_reselect = 0;
}

template <typename Visit>
void for_each_ground_record(Visit visit) {
    for (int tile = 0; tile < WORLD_TILES * WORLD_TILES; ++tile) {
        int16_t* lists[2] = {ground_object_tiles[tile],
                             current_world_settings
                                 ? ground_object_list(current_world_settings->dynamic_ground_objects, tile)
                                 : nullptr};
        for (int16_t* list : lists) {
            ground_object* records = ground_object_records(list);
            for (int i = 0; i < ground_object_count(list); ++i)
                if (!visit(tile, records[i])) return;
        }
    }
}

template <typename Visit>
void for_each_mobile(Visit visit) {
    for (int tx = 0; tx < WORLD_TILES; ++tx)
        for (int ty = 0; ty < WORLD_TILES; ++ty)
            for (ObjectInstance* o = mobile_object_tiles[tx][ty]; o; o = o->next)
                if (!visit(o)) return;
}

bool is_enemy_ground(const ground_object& r) {
    return !(r.flags & GROUND_DESTROYED) && ((r.flags & GROUND_SIDE_MASK) >> GROUND_SIDE_SHIFT) == SIDE_ENEMY;
}

bool is_enemy_mobile(const ObjectInstance* o) {
    return !(o->flags & INSTANCE_INACTIVE) && ((o->flags >> INSTANCE_SIDE_SHIFT) & 3) == SIDE_ENEMY;
}

Target ground_target(int tile, ground_object& record) {
    Target t = {};
    t.kind = TARGET_GROUND_OBJECT;
    t.object = &record;
    t.position = ground_object_position(tile, record);
    return t;
}

Target mobile_target(ObjectInstance* o) {
    Target t = {};
    t.kind = TARGET_MOBILE;
    t.object = o;
    return t;
}

// Files every enemy ground record and active mobile whose type passes `wanted`, up to `limit`
// in all, the mobiles only while fewer than `mobile_limit` are filed.
template <typename Wanted>
void scan_emitters(Wanted wanted, int limit, int mobile_limit) {
    int filed = 0;
    for_each_ground_record([&](int tile, ground_object& record) {
        if (filed >= limit) return false;
        if (!is_enemy_ground(record) || !wanted(record.type)) return true;
        const Target t = ground_target(tile, record);
        add_threat(&t);
        ++filed;
        return true;
    });
    for_each_mobile([&](ObjectInstance* o) {
        if (filed >= limit || filed >= mobile_limit) return false;
        if (!is_enemy_mobile(o) || !wanted(o->object_type) || o == player_object) return true;
        const Target t = mobile_target(o);
        add_threat(&t);
        ++filed;
        return true;
    });
}

void scan_special_emitters() {
    scan_emitters([](int number) { return number == 1145 || number == 1085; }, SPECIAL_EMITTER_LIMIT,
                  SPECIAL_EMITTER_LIMIT);
}

void draw_symbol(int threat_class, int32_t x, int32_t y) {
    if (threat_class < 0 || threat_class > THREAT_CLASS_IR_MISSILE) return;
    const Symbol& symbol = SYMBOLS[threat_class];
    for (int i = 0; i < symbol.count; ++i) {
        const SymbolLine& l = symbol.lines[i];
        draw_plot_line(x + l.x0 * SYMBOL, y + l.y0 * SYMBOL, x + l.x1 * SYMBOL, y + l.y1 * SYMBOL, SYMBOL_COLOUR);
    }
}

ThreatSlot* first_illuminating(const ThreatGroup& group) {
    for (ThreatSlot* s = group.head; s; s = s->next)
        if (s->illuminating) return s;
    return nullptr;
}

// The sector where the AGM-88A's emitter, else the highest-priority illuminating threat, is
// shown; -1 when none is.
int chosen_threat_sector() {
    const Target* chosen = harm_emitter.kind != TARGET_NONE ? &harm_emitter
                           : threat_display_count     ? &threat_display_list[0]->target
                                                      : nullptr;
    if (!chosen) return -1;
    ThreatSlot* slot = nullptr;
    return find_threat_group(*chosen, &slot);
}

}  // namespace

int outer_threat_sector(int32_t relative_bearing) {
    const uint32_t half = 0x100000000ull / (2 * THREAT_OUTER_SECTORS);
    return int((uint64_t(uint32_t(relative_bearing) + half) * THREAT_OUTER_SECTORS) >> 32);
}

int inner_threat_sector(int32_t relative_bearing) {
    static const uint32_t limits[] = {23 * DEGREE, 68 * DEGREE, 113 * DEGREE, 158 * DEGREE};
    const uint32_t off = uint32_t(std::abs(int64_t(relative_bearing)));
    int ring = 0;
    while (ring < 4 && off >= limits[ring]) ++ring;
    const int sector = relative_bearing >= 0 || ring == 0 || ring == 4 ? ring : MISSILE_SECTORS - ring;
    return THREAT_OUTER_SECTORS + sector;
}

int threat_class_of(int object_number) {
    const Emitter* e = find_emitter(object_number);
    return e ? e->threat_class : int(THREAT_CLASS_NONE);
}

void init_threat_warning() {
    for (int g = 0; g < THREAT_SECTORS; ++g) {
        ThreatGroup& group = threat_warning.groups[g];
        group = {};
        group.display_x = SECTOR_PLACES[g][0];
        group.display_y = SECTOR_PLACES[g][1];
        for (int i = THREAT_SLOTS - 1; i >= 0; --i) {
            group.slots[i].next = group.free_head;
            group.free_head = &group.slots[i];
        }
    }
    clear_incoming_missiles();
    threat_display_count = 0;
    harm_emitter = {};
    harm_step_request = harm_reselect = previous_weapon = 0;
    call_out_counter = 0;
    air_lamp_timer = 0;
}

void scan_threat_emitters() {
    scan_emitters([](int number) { return threat_class_of(number) == THREAT_CLASS_EW_RADAR; },
                  MAX_THREAT_EMITTERS, MOBILE_SCAN_LIMIT);
    scan_special_emitters();
}

void add_threat(const Target* emitter) {
    check_known_kind(*emitter);
    if (!player_position) return;
    ThreatSlot* slot = nullptr;
    const int group = find_threat_group(*emitter, &slot);
    const int sector = threat_sector_for(*emitter);
    if (sector < 0 || group == sector) return;
    if (group < 0)
        insert_threat(sector, *emitter);
    else
        move_threat(group, slot, sector);
}

void clear_sorted_threats() { threat_display_count = 0; }

void update_threat_warning() {
    if (!player_position) return;
    update_threat_lamps();
    call_out_counter += int32_t(std::lround(200 * frame_seconds));
    refile_threats();
    fill_display_list();
    update_harm_target();
}

void add_incoming_missile(const WeaponRound* missile, int seconds) {
    if (!player_position) return;
    const Vector3& a = player_position->position;
    const Vector3& m = missile->pose.position;
    const Vector3 d = {m.x - a.x, m.y - a.y, m.z - a.z};
    MissileSector& sector = threat_warning.missiles[inner_threat_sector(relative_bearing(d)) - THREAT_OUTER_SECTORS];
    if (sector.count >= MISSILE_SECTOR_SLOTS) return;
    const int guidance = weapon_info[get_round_weapon(missile)].guidance;
    int at = sector.count++;
    while (at > 0 && sector.entries[at - 1].key > seconds) {
        sector.entries[at] = sector.entries[at - 1];
        --at;
    }
    sector.entries[at] = {seconds, guidance == GUIDANCE_RADAR ? THREAT_CLASS_RADAR_MISSILE : THREAT_CLASS_IR_MISSILE,
                          d.x, d.y, d.z};
}

int nearest_incoming_missile() {
    int nearest = NO_INCOMING_MISSILE;
    for (const MissileSector& s : threat_warning.missiles)
        if (s.count && s.entries[0].key < nearest) nearest = s.entries[0].key;
    return nearest;
}

void clear_incoming_missiles() {
    for (MissileSector& s : threat_warning.missiles) s.count = 0;
}

void draw_threat_display() {
    set_plot_world_window(-UNIT, -UNIT, UNIT, UNIT);
    threat_lamp_bits &= uint8_t(~(THREAT_LAMP_IR_MISSILE | THREAT_LAMP_RADAR_MISSILE));
    int chosen = chosen_threat_sector();
    int nearest_key = NO_INCOMING_MISSILE;
    bool aircraft_shown = false;
    for (int g = 0; g < THREAT_SECTORS; ++g) {
        const ThreatGroup& group = threat_warning.groups[g];
        int shown = THREAT_CLASS_NONE;
        if (const ThreatSlot* s = first_illuminating(group)) shown = s->threat_class;
        if (g >= THREAT_OUTER_SECTORS) {
            const MissileSector& m = threat_warning.missiles[g - THREAT_OUTER_SECTORS];
            if (m.count) {
                shown = m.entries[0].threat_class;
                if (m.entries[0].key < nearest_key) {
                    nearest_key = m.entries[0].key;
                    chosen = g;
                }
            }
        }
        if (shown == THREAT_CLASS_RADAR_MISSILE) threat_lamp_bits |= THREAT_LAMP_RADAR_MISSILE;
        if (shown == THREAT_CLASS_IR_MISSILE) threat_lamp_bits |= THREAT_LAMP_IR_MISSILE;
        if (shown == THREAT_CLASS_AIRCRAFT) aircraft_shown = true;
        draw_symbol(shown, group.display_x, group.display_y);
        if (group.count > 1)
            draw_plot_line(group.display_x - SYMBOL, group.display_y + SYMBOL, group.display_x + SYMBOL,
                           group.display_y + SYMBOL, BAR_COLOUR);
    }
    if (chosen >= 0) {
        const ThreatGroup& group = threat_warning.groups[chosen];
        for (int side : {-1, 1})
            draw_plot_line(group.display_x + side * SYMBOL, group.display_y - SYMBOL, group.display_x + side * SYMBOL,
                           group.display_y + SYMBOL, BAR_COLOUR);
    }
    if (aircraft_shown) {
        air_lamp_timer = 0;
        threat_lamp_bits |= THREAT_LAMP_AIR;
    } else {
        if (air_lamp_timer > AIR_LAMP_HOLD_SECONDS) threat_lamp_bits &= uint8_t(~THREAT_LAMP_AIR);
        if (air_lamp_timer < AIR_LAMP_TIMER_LIMIT) air_lamp_timer += frame_seconds * time_acceleration;
    }
}

void request_harm_target_step(int step) {
    harm_step_request = step;
    harm_reselect = 1;
}

}  // namespace vyr
