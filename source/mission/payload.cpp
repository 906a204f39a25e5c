#include "source/mission/payload.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "library/system/memory.h"
#include "source/models/integration.h"
#include "source/weapons/stores.h"
#include "source/weapons/weapon_info.h"

namespace vyr {

PayloadWeapon payload_weapons[PAYLOAD_STORES] = {};
PayloadPylon payload_pylons[PAYLOAD_HARDPOINTS];
int32_t multi_positions[PAYLOAD_MAX_COUNT][PAYLOAD_MAX_COUNT] = {};

namespace {

constexpr const char* SOURCE = "source/mission/payload";
constexpr int TEXT_LENGTH = 39;
constexpr size_t DESCRIPTION_SPLIT = 20;
constexpr int GUN_HARDPOINT = 9;
constexpr int GUN_WEAPON_ID = 21;
constexpr int NONE = -1;

// The aircraft's weapon id of each store; stores 20..25 are sensors.
constexpr int STORE_WEAPON_IDS[PAYLOAD_STORES] = {22, 23, 24, 25, 26, 27, 28, 29, 41, 30, 33, 36, 31,
                                                  34, 37, 32, 35, 38, 39, 40, 0,  0,  0,  0,  0,  0};
constexpr int STORE_SENSOR_TYPES[PAYLOAD_STORES] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, SENSOR_TYPE_ECM_POD, SENSOR_TYPE_NONE,
    SENSOR_TYPE_TARGETING_POD, SENSOR_TYPE_RECON_POD, SENSOR_TYPE_CENTRE_TANK, SENSOR_TYPE_WING_TANK};
constexpr int HARDPOINT_OF[PAYLOAD_HARDPOINTS] = {7, 5, 3, 1, NONE, 8, 6, 4, 2, NONE, 0};
constexpr int SENSOR_SLOT_OF[PAYLOAD_HARDPOINTS] = {NONE, NONE, 3, 5, 1, NONE, NONE, 4, 6, 2, 0};
constexpr int FIRST_BOMB = 9, LAST_BOMB = 19, FIRST_SENSOR_STORE = 20;

// Pylon types the hand-over fits.
constexpr int PYLON_BARE = 0, PYLON_AIM9 = 1, PYLON_AMRAAM = 2, PYLON_GUN_POD = 3, PYLON_SINGLE = 4,
              PYLON_TRIPLE = 5, PYLON_MULTIPLE = 6, PYLON_MAVERICK = 7;
constexpr int STORE_AIM9 = 1, STORE_AMRAAM = 2, STORE_MAVERICK_TV = 5, STORE_MAVERICK_IR = 6;
constexpr int G_LIMIT_CLEAN = 9, G_LIMIT_OVERWEIGHT = 5;

enum PylonTag { PYLON_COMMENT, PYLON_ID, PYLON_QUANTITY, PYLON_X, PYLON_Y, PYLON_MAX, PYLON_REFLECTION,
                PYLON_SET, PYLON_LIMIT, PYLON_WEIGHT, PYLON_SALVO, PYLON_FILE, PYLON_END, PYLON_POSITIONS };
const char* const PYLON_TAGS[] = {":Comment",     ":PylonId",          ":PylonWpnsQty", ":PylonX",
                                  ":PylonY",      ":PylonMaxWpns",     ":PylonReflection", ":PylonWpnSet",
                                  ":PylonWgtLmt", ":PylonActWgt",      ":PylonSalvoSize", ":PylonFile",
                                  ":EndFile",     ":MultiWpnsPosns"};
enum WeaponTag { WEAPON_COMMENT, WEAPON_ID, WEAPON_WEIGHT, WEAPON_DESCRIPTION, WEAPON_SHORT, WEAPON_SALVO,
                 WEAPON_END, WEAPON_FILE };
const char* const WEAPON_TAGS[] = {":Comment",       ":WpnId",        ":WpnWeight", ":WpnDescription",
                                   ":WpnShortDesc",  ":WpnSalvoSize", ":EndFile",   ":WpnFile"};

// The payload files' own scanner: tags after ":", numbers after any separators, texts between
// "<" and ">". It never reads past the file; whatever it cannot find is fatal, naming the file.
class PayloadScanner {
public:
    // `kind` names the file in its messages, `tag_kind` its tags.
    PayloadScanner(const char* name, const char* kind, const char* tag_kind)
        : name_(name), kind_(kind), tag_kind_(tag_kind) {
        if (!check_file_exists(name)) fail("error loading %s data file %s", kind, name);
        size_t size = 0;
        bytes_ = static_cast<char*>(load_file_alloc(name, &size, SOURCE, __LINE__));
        if (!bytes_) fail("error loading %s data file %s", kind, name);
        end_ = bytes_ + size;
        at_ = bytes_;
    }
    ~PayloadScanner() { free_memory(bytes_, SOURCE, __LINE__); }
    PayloadScanner(const PayloadScanner&) = delete;
    PayloadScanner& operator=(const PayloadScanner&) = delete;

    template <typename... Args>
    [[noreturn]] void fail(const char* format, Args... args) const {
        char text[256];
        std::snprintf(text, sizeof text, format, args...);
        report_fatal_error("%s", SOURCE, __LINE__, text);
        std::abort();  // reached only when the fatal error returns during shut-down
    }
    [[noreturn]] void fault(const char* what) const { fail("%s: %s", name_, what); }
    const char* name() const { return name_; }

    // The first word must be the file's own tag.
    void expect_own_tag(const char* tag, const char* file) {
        while (at_ < end_ && is_blank(*at_)) ++at_;
        if (word() != tag) fail("%s is not a %s data file", file, kind_);
    }
    // The next tag's index in `tags`; fatal when there is none or it is unknown.
    template <size_t N>
    int next_tag(const char* const (&tags)[N]) {
        at_ = std::find(at_, end_, ':');
        if (at_ == end_) fault("no :EndFile");
        const std::string tag = word();
        for (size_t i = 0; i < N; ++i)
            if (tag == tags[i]) return int(i);
        fail("Unknown %s tag type %s in %s", tag_kind_, tag.c_str(), name_);
    }
    int32_t number() {
        while (at_ < end_ && !is_blank(*at_)) ++at_;
        while (at_ < end_ && *at_ != '-' && !std::isdigit(static_cast<unsigned char>(*at_))) ++at_;
        const bool negative = at_ < end_ && *at_ == '-';
        if (negative) ++at_;
        if (at_ == end_ || !std::isdigit(static_cast<unsigned char>(*at_))) fault("a number is missing");
        int64_t value = 0;
        for (; at_ < end_ && std::isdigit(static_cast<unsigned char>(*at_)); ++at_) {
            value = value * 10 + (*at_ - '0');
            if (value > INT32_MAX) fault("a number is too large");
        }
        return int32_t(negative ? -value : value);
    }
    int32_t number_in(int32_t low, int32_t high, const char* what) {
        const int32_t value = number();
        if (value < low || value > high) fault(what);
        return value;
    }
    std::string text() {
        at_ = std::find(at_, end_, '<');
        if (at_ == end_) fault("a text has no <");
        const char* close = std::find(at_ + 1, end_, '>');
        if (close == end_) fault("a text has no >");
        std::string value(at_ + 1, std::min<size_t>(size_t(close - at_ - 1), TEXT_LENGTH));
        at_ = close + 1;
        return value;
    }

private:
    static bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    std::string word() {
        const char* start = at_;
        while (at_ < end_ && !is_blank(*at_)) ++at_;
        return std::string(start, at_);
    }

    const char* name_;
    const char* kind_;
    const char* tag_kind_;
    char* bytes_ = nullptr;
    const char* end_ = nullptr;
    const char* at_ = nullptr;
};

int pylon_type_for(int pylon, int store, int count) {
    if (count == 1) {
        // The right wing tip's missiles sit on its bare rail.
        if (store == STORE_AIM9 || store == STORE_AMRAAM)
            return pylon == 5 ? PYLON_BARE : store == STORE_AIM9 ? PYLON_AIM9 : PYLON_AMRAAM;
        return store == STORE_GUN_POD ? PYLON_GUN_POD : PYLON_SINGLE;
    }
    if (count <= 3) return store == STORE_MAVERICK_TV || store == STORE_MAVERICK_IR ? PYLON_MAVERICK : PYLON_TRIPLE;
    return PYLON_MULTIPLE;
}

// The pounds a hardpoint still carries: a weapon's share of its rounds left (in 64 bits: a pod's
// rounds each weigh a fraction of the pod), a sensor's whole weight until it is gone.
int64_t carried_weight(int pylon) {
    const PayloadPylon& p = payload_pylons[pylon];
    if (is_sensor_store(p.weapon)) {
        const int slot = SENSOR_SLOT_OF[pylon];
        return slot != NONE && sensor_slots[slot].sensor_type != SENSOR_TYPE_NONE ? p.weight : 0;
    }
    const int hardpoint = HARDPOINT_OF[pylon];
    const int64_t full = int64_t(p.count) * get_weapon_rounds_per_station(STORE_WEAPON_IDS[p.weapon]);
    if (hardpoint == NONE || full <= 0) return 0;  // a mission line can give a store and no count
    return int64_t(p.weight) * count_hardpoint_rounds(hardpoint) / full;
}

}  // namespace

int is_valid_pylon(int pylon) { return pylon >= 0 && pylon < PAYLOAD_HARDPOINTS; }
int is_valid_store(int store) { return store >= 0 && store < PAYLOAD_STORES; }

void load_pylon_file() {
    PayloadScanner in("menuscrn\\pylon.dat", "pylon", "pylon");
    in.expect_own_tag(PYLON_TAGS[PYLON_FILE], "pylon.dat");
    PayloadPylon* p = nullptr;
    auto current = [&]() -> PayloadPylon& {
        if (!p) in.fault("a field comes before the first :PylonId");
        return *p;
    };
    for (;;) {
        const int tag = in.next_tag(PYLON_TAGS);
        switch (tag) {
        case PYLON_COMMENT: break;
        case PYLON_ID:
            p = &payload_pylons[in.number_in(1, PAYLOAD_HARDPOINTS, ":PylonId is outside 1..11") - 1];
            p->weapon = PAYLOAD_EMPTY;
            break;
        case PYLON_QUANTITY: current().count = in.number(); break;
        case PYLON_X: current().x = in.number(); break;
        case PYLON_Y: current().y = in.number(); break;
        case PYLON_MAX: current().max_pictures = in.number_in(0, INT32_MAX, ":PylonMaxWpns is negative"); break;
        case PYLON_REFLECTION:
            current().reflection = in.number_in(0, PAYLOAD_HARDPOINTS, ":PylonReflection is outside 0..11");
            break;
        case PYLON_SET:
            for (int32_t& allowed : current().allowed)
                allowed = in.number_in(0, PAYLOAD_MAX_COUNT, "an allowed count is outside 0..6");
            break;
        case PYLON_LIMIT: current().weight_limit = in.number(); break;
        case PYLON_WEIGHT: current().weight = in.number(); break;
        case PYLON_SALVO: current().salvo_size = in.number(); break;
        case PYLON_POSITIONS:
            for (int row = 0; row < PAYLOAD_MAX_COUNT; ++row)
                for (int k = 0; k <= row; ++k)
                    multi_positions[row][k] =
                        in.number_in(0, PAYLOAD_POSITION_CODES - 1, "a position code is outside 0..8");
            break;
        case PYLON_END:
            for (const PayloadPylon& pylon : payload_pylons)
                if (*std::max_element(std::begin(pylon.allowed), std::end(pylon.allowed)) > pylon.max_pictures)
                    in.fault("an allowed count is above :PylonMaxWpns");
            return;
        default: in.fail("tag type %s is not valid for payload data in %s", PYLON_TAGS[tag], in.name());
        }
    }
}

void load_weapon_file() {
    PayloadScanner in("menuscrn\\wpn.dat", "weapon", "wpn");
    in.expect_own_tag(WEAPON_TAGS[WEAPON_FILE], "wpn.dat");
    PayloadWeapon* w = nullptr;
    auto current = [&]() -> PayloadWeapon& {
        if (!w) in.fault("a field comes before the first :WpnId");
        return *w;
    };
    for (;;) {
        const int tag = in.next_tag(WEAPON_TAGS);
        switch (tag) {
        case WEAPON_COMMENT: break;
        case WEAPON_ID: w = &payload_weapons[in.number_in(0, PAYLOAD_STORES - 1, ":WpnId is outside 0..25")]; break;
        case WEAPON_WEIGHT: current().weight = in.number(); break;
        case WEAPON_DESCRIPTION: {
            PayloadWeapon& weapon = current();
            const std::string text = in.text();
            weapon.has_description_2 = text.size() >= DESCRIPTION_SPLIT;
            weapon.description_1 = text.substr(0, DESCRIPTION_SPLIT);
            weapon.description_2 = weapon.has_description_2 ? text.substr(DESCRIPTION_SPLIT) : "";
            break;
        }
        case WEAPON_SHORT: current().short_description = in.text(); break;
        case WEAPON_SALVO: current().salvo_size = in.number(); break;
        case WEAPON_END: return;
        default: in.fail("tag type %s is not valid for payload data in %s", WEAPON_TAGS[tag], in.name());
        }
    }
}

void set_pylon_weapon(int pylon, int store) {
    if (!is_valid_pylon(pylon)) return;
    PayloadPylon& p = payload_pylons[pylon];
    if (!is_valid_store(store) || p.allowed[store] < 1) {
        p.weapon = PAYLOAD_EMPTY;
        return;
    }
    p.weapon = store;
    p.salvo_size = payload_weapons[store].salvo_size;
}

void set_pylon_count(int pylon, int count, int store) {
    if (!is_valid_pylon(pylon)) return;
    PayloadPylon& p = payload_pylons[pylon];
    p.count = is_valid_store(store) && count <= p.allowed[store] ? count : 0;
}

void set_pylon_weight(int pylon, int count, int store) {
    if (!is_valid_pylon(pylon)) return;
    payload_pylons[pylon].weight = is_valid_store(store) ? count * payload_weapons[store].weight : 0;
}

int get_pylon_weapon(int pylon) { return is_valid_pylon(pylon) ? payload_pylons[pylon].weapon : PAYLOAD_EMPTY; }
int get_pylon_count(int pylon) { return is_valid_pylon(pylon) ? payload_pylons[pylon].count : 0; }

void clear_pylon_weights() {
    for (PayloadPylon& p : payload_pylons) p.weight = p.salvo_size = 0;
}

int is_bomb(int store) { return store >= FIRST_BOMB && store <= LAST_BOMB; }
int is_sensor_store(int store) { return store >= FIRST_SENSOR_STORE && store < PAYLOAD_STORES; }

int32_t get_payload_weight() {
    int64_t sum = 0;
    for (const PayloadPylon& p : payload_pylons) sum += p.weight;
    return int32_t(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX - EMPTY_AIRCRAFT_WEIGHT));
}

int32_t get_all_up_weight() { return get_payload_weight() + EMPTY_AIRCRAFT_WEIGHT; }

void apply_loadout() {
    fit_pylon(GUN_HARDPOINT, PYLON_BARE);
    load_hardpoint(GUN_HARDPOINT, GUN_WEAPON_ID, 1, 1);
    // Each fitting takes the mirror hardpoint with it, so the left wing needs no work of its own.
    for (int pylon = 5; pylon < PAYLOAD_HARDPOINTS; ++pylon) {
        const PayloadPylon& p = payload_pylons[pylon];
        if (p.weapon == PAYLOAD_EMPTY) continue;
        if (is_sensor_store(p.weapon)) {
            if (SENSOR_SLOT_OF[pylon] != NONE) fit_sensor(SENSOR_SLOT_OF[pylon], STORE_SENSOR_TYPES[p.weapon]);
            continue;
        }
        const int hardpoint = HARDPOINT_OF[pylon];
        if (p.count > PAYLOAD_MAX_COUNT)
            report_fatal_error("Error - Illegal number of weapons on pylon : %d", SOURCE, __LINE__, pylon);
        if (p.count <= 0 || hardpoint == NONE || !is_valid_store(p.weapon)) continue;
        if (p.count > 1) fit_base_pylon(hardpoint, PYLON_SINGLE);
        fit_pylon(hardpoint, pylon_type_for(pylon, p.weapon, p.count));
        load_hardpoint(hardpoint, STORE_WEAPON_IDS[p.weapon], p.salvo_size, p.count);
    }
    set_stores_weight(get_payload_weight());
}

int check_loadout_limits() {
    for (int pylon = 0; pylon < PAYLOAD_HARDPOINTS; ++pylon) {
        const PayloadPylon& p = payload_pylons[pylon];
        if (!is_valid_store(p.weapon)) continue;
        if (p.weight_limit < carried_weight(pylon)) {
            set_model_g_limit(G_LIMIT_OVERWEIGHT);
            return 0;
        }
    }
    set_model_g_limit(G_LIMIT_CLEAN);
    return 1;
}

int32_t get_gun_pod_weight() { return payload_weapons[STORE_GUN_POD].weight; }

}  // namespace vyr
