#include "source/skill.h"

#include <algorithm>

namespace vyr {

int32_t forces_type = 0;

// Reaction delay, damage %, range %, refire %, rate %, burst %, accuracy divisor. Row 7's delay
// of 500 above row 6's 400 is the game's own balance and is kept.
const int32_t enemy_skill_table[SKILL_ROWS][SKILL_COLUMNS] = {
    {1400, 40, 40, 110, 118, 55, 12}, {1200, 50, 50, 100, 116, 60, 11},
    {1000, 60, 55, 90, 114, 65, 10},  {900, 65, 60, 75, 112, 70, 9},
    {800, 70, 65, 60, 110, 75, 8},    {600, 75, 70, 50, 108, 80, 7},
    {400, 80, 75, 40, 106, 85, 6},    {500, 85, 80, 35, 104, 90, 5},
    {200, 90, 90, 30, 102, 95, 4},    {0, 100, 100, 25, 100, 100, 3},
    {0, 105, 110, 20, 90, 110, 2},    {0, 110, 120, 15, 80, 120, 1},
};

namespace {

enum SkillColumn { REACTION_DELAY, DAMAGE, RANGE, REFIRE, RATE, BURST, ACCURACY };

// A hand-edited prefs.cfg can hold any number; it must not read outside the table.
int32_t skill_value(SkillColumn column) {
    int row = std::clamp(forces_type - FORCES_TYPE_LOWEST, 0, SKILL_ROWS - 1);
    return enemy_skill_table[row][column];
}

}  // namespace

int32_t get_skill_reaction_delay() { return skill_value(REACTION_DELAY); }
int32_t get_skill_damage_percent() { return skill_value(DAMAGE); }
int32_t get_skill_range_percent() { return skill_value(RANGE); }
int32_t get_skill_refire_percent() { return skill_value(REFIRE); }
int32_t get_skill_rate_percent() { return skill_value(RATE); }
int32_t get_skill_burst_percent() { return skill_value(BURST); }
int32_t get_skill_accuracy_divisor() { return skill_value(ACCURACY); }

}  // namespace vyr
