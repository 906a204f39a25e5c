// The threat warning receiver: the hostile emitters that can see the player's aircraft, filed in
// twenty display sectors round it by priority, which of them illuminate it, the incoming missiles
// in eight bearing sectors, the threat display of the cockpit panel and the AGM-88A's choice of
// emitter.
#pragma once

#include <cstdint>

#include "source/weapons/target.h"

namespace vyr {

struct WeaponRound;

// Sectors 0..11 are the outer ring (30 degrees each, the player outside the emitter's weapon
// range), 12..19 the inner ring (45 degrees each, inside it).
constexpr int THREAT_SECTORS = 20;
constexpr int THREAT_OUTER_SECTORS = 12;
constexpr int THREAT_SLOTS = 21;
// A sector files at most this many; its last two slots are never used.
constexpr int THREAT_SECTOR_LIMIT = 19;
constexpr int MAX_THREAT_DISPLAY = 49;
constexpr int MAX_THREAT_EMITTERS = 512;
constexpr int MISSILE_SECTORS = 8;
constexpr int MISSILE_SECTOR_SLOTS = 20;
// nearest_incoming_missile's answer when no missile comes.
constexpr int NO_INCOMING_MISSILE = 12000;

enum ThreatClass : int32_t {
    THREAT_CLASS_NONE = 0,
    THREAT_CLASS_EW_RADAR = 1,
    THREAT_CLASS_SAM = 2,
    THREAT_CLASS_3 = 3,
    THREAT_CLASS_AIRCRAFT = 4,
    THREAT_CLASS_5 = 5,
    THREAT_CLASS_6 = 6,
    THREAT_CLASS_RADAR_MISSILE = 7,
    THREAT_CLASS_IR_MISSILE = 8,
};

// Bits of threat_lamp_bits (failures.h) that the receiver writes.
constexpr uint8_t THREAT_LAMP_GROUND = 0x04;
constexpr uint8_t THREAT_LAMP_IR_MISSILE = 0x08;
constexpr uint8_t THREAT_LAMP_RADAR_MISSILE = 0x10;
constexpr uint8_t THREAT_LAMP_AIR = 0x20;

// One filed emitter. The receiver keeps its own copy of the emitter's target, so that nothing it
// files is owned elsewhere.
struct ThreatSlot {
    int32_t priority;  // the sort key, highest first
    int32_t illuminating;
    int32_t threat_class;
    Target target;
    ThreatSlot* prev;
    ThreatSlot* next;
};

struct ThreatGroup {
    int32_t display_x, display_y;  // the symbol's place in the -1.0..+1.0 window (1.0 = 0x100000)
    ThreatSlot slots[THREAT_SLOTS];
    ThreatSlot* head;  // in use, highest priority first
    ThreatSlot* free_head;
    int32_t count;
};

struct IncomingMissile {
    int32_t key;  // whole seconds to impact
    int32_t threat_class;
    int32_t dx, dy, dz;
};

struct MissileSector {
    IncomingMissile entries[MISSILE_SECTOR_SLOTS];  // ascending key
    int32_t count;
};

struct ThreatWarning {
    ThreatGroup groups[THREAT_SECTORS];
    MissileSector missiles[MISSILE_SECTORS];
};

extern ThreatWarning threat_warning;
// The illuminating threats of the last update, highest priority first.
extern ThreatSlot* threat_display_list[MAX_THREAT_DISPLAY];
extern int32_t threat_display_count;
// The AGM-88A's current emitter; kind TARGET_NONE when there is none.
extern Target harm_emitter;

// Mission start: every sector and missile sector empty, the AGM-88A's choice and lamps reset.
void init_threat_warning();
// Mission set-up: the enemy radar sites, then up to five special emitters (types 1145, 1085).
void scan_threat_emitters();
// Files or re-files an emitter in its proper sector; an object that is no emitter is dropped.
// A target of no known kind is fatal.
void add_threat(const Target* emitter);
// Every 0.5 s: the display list emptied, then the threats looked at again.
void clear_sorted_threats();
void update_threat_warning();
// A missile fired at the player, `seconds` from impact: filed in its bearing's sector (at most
// MISSILE_SECTOR_SLOTS a sector), nearest first.
void add_incoming_missile(const WeaponRound* missile, int seconds);
// The smallest key of all sectors; NO_INCOMING_MISSILE when none comes.
int nearest_incoming_missile();
// After every frame's panel draw: the missiles are filed again by the weapons as they fly.
void clear_incoming_missiles();
// Into the current plot rectangle (the panel's threat instrument): symbols, bars and the lamps.
void draw_threat_display();
// The radar's next (1) and previous (2) target keys under the AGM-88A: the emitter to step to.
void request_harm_target_step(int step);

// Sector of a bearing relative to the heading (signed binary angle): outer 0..11, inner 12..19.
int outer_threat_sector(int32_t relative_bearing);
int inner_threat_sector(int32_t relative_bearing);
// Class of an emitter's object number; THREAT_CLASS_NONE for one the receiver does not know.
int threat_class_of(int object_number);

}  // namespace vyr
