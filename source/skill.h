// The strength of the enemy forces: one setting turned into seven skill values through a constant
// table, read by the AI and weapons code whenever they need one.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int FORCES_TYPE_LOWEST = -2;
constexpr int SKILL_ROWS = 12;  // forces types -2 to 9
constexpr int SKILL_COLUMNS = 7;

// "Forces Type"; the front end keeps it within 0..9. Callers that need another row set it for the
// duration of their call and put it back.
extern int32_t forces_type;

extern const int32_t enemy_skill_table[SKILL_ROWS][SKILL_COLUMNS];

// The column of the row for `forces_type`; a type outside -2..9 reads the nearest row.
int32_t get_skill_reaction_delay();  // ticks
int32_t get_skill_damage_percent();
int32_t get_skill_range_percent();
int32_t get_skill_refire_percent();
int32_t get_skill_rate_percent();
int32_t get_skill_burst_percent();
int32_t get_skill_accuracy_divisor();

}  // namespace vyr
