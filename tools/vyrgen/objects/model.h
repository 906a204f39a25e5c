// One object type as the game's object file holds it, and the writer of 3DOBJS.BIN.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/vyrgen/objects/mesh.h"

namespace vyr::vyrgen {

constexpr int OBJECT_NUMBERS = 1238;

constexpr uint8_t CASTS_SHADOW = 1;
constexpr uint8_t SHADOW_DECK = 2;
constexpr uint8_t SOLID = 4;
// Of the gameplay flags: the object belongs to a side, which the gameplay grid gives it and the
// plan map shows.
constexpr int32_t SIDE_DEPENDENT = 1;
// Of the gameplay flags: a target, whose kill the radio remarks on.
constexpr int32_t TARGET = 2;

// An entry of a sub-object list: type 0 takes the next of the creator's variable list.
struct SubPlace {
    int32_t type;
    Point at;            // from the parent, feet
    double heading = 0;  // degrees, turning the part about its parent's up axis
};

struct Model {
    Mesh mesh;
    bool unrotated = false;  // fixed scenery: world axes, compact vertices, precomputed light
    uint8_t flags = 0;
    int32_t gameplay_flags = 0;
    int32_t damage_radius = 0;    // of its own explosion when destroyed, world units
    int32_t destroyed_type = -1;  // its wreck; -1 none
    std::vector<SubPlace> parts;
};

// A model and its levels of detail: lod_distance in feet, -1 on the last level.
struct ObjectEntry {
    int32_t number;
    int32_t lod_distance;
    int32_t lod_next;
    const Model* model;
};

// The file's bytes: `count` numbers, entries in any order; a number may appear more than once
// in the table by sharing one entry's header. Every model with vertices carries its footprint as
// its map outline: the hull of its vertices seen from above, clockwise, in the vertices' 1/16 ft.
std::vector<uint8_t> encode_object_file(const std::vector<ObjectEntry>& entries,
                                        const std::vector<std::pair<int32_t, int32_t>>& shared, int count);

}  // namespace vyr::vyrgen
