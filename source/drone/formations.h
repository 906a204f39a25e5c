// Formation templates: the members a drone's formation type makes and where they stand.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int FORMATION_TYPES = 164;
constexpr int FORMATION_ROWS = 16;

// Offsets in world units from the formation's reference point: y along the leader's heading, x
// to its right, z up.
struct FormationRow {
    int32_t x, y, z;
    int32_t object_number;
};

// Row 0 is the leader itself, rows 1.. its members.
struct FormationTemplate {
    int32_t count;
    FormationRow rows[FORMATION_ROWS];
};

extern const FormationTemplate formation_table[FORMATION_TYPES];
// The mission editor's names, by type.
extern const char* const formation_names[FORMATION_TYPES];

}  // namespace vyr
