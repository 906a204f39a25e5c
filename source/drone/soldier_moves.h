// Soldier movement files and animation cycles: the recorded movements read at start-up and the
// pose of a figure at a time into one of them.
#pragma once

#include <cstdint>
#include <vector>

namespace vyr {

struct Drone;

constexpr int HUMAN_MOVEMENT_COUNT = 74;
constexpr int HUMAN_JOINT_COUNT = 12;
constexpr int MOVEMENT_FRAME_VALUES = 3 + 2 * HUMAN_JOINT_COUNT;
constexpr char MOVEMENT_ONE_SHOT = 'I';

// A frame: [0] unused, [1] root height (world units), [2] body tilt, [3..14] first angles of
// joints 0..11, [15..26] their second angles (angles in 1/65,536 of a turn).
struct HumanMovement {
    int32_t speed_basis;  // mm/s the cycle was recorded for; >= 1
    int32_t frame_count;  // >= 1
    char play_mode;
    int32_t duration;  // ms; long enough that no frame segment is empty
    std::vector<int32_t> frames;
};

struct HumanPose {
    int32_t height;
    uint32_t tilt;
    uint32_t first[HUMAN_JOINT_COUNT];
    uint32_t second[HUMAN_JOINT_COUNT];
};

extern HumanMovement human_movements[HUMAN_MOVEMENT_COUNT];
extern const char* const human_movement_names[HUMAN_MOVEMENT_COUNT];
// Written by each interpolation, valid until the next.
extern HumanPose human_pose;

// Reads the 74 files; a missing or malformed one is fatal, naming it.
void load_human_movements();
// Fills the record from "3DDATA\<name>.ROT"; answers 1.
int read_movement_file(HumanMovement* record, const char* name);
// Moves `time` on by `milliseconds`: a one-shot movement holds at its end, a looping one wraps.
// Answers 1 when the end was reached or passed, else 0.
int advance_movement_time(const HumanMovement& movement, int32_t milliseconds, int32_t& time);
// Each advances the soldier's current animation and marks its figure for posing; the first two
// answer 2 when the cycle ended, else 1; the last answers advance_movement_time's value.
int animate_human_by_time(Drone* drone);
int animate_human_by_distance(Drone* drone);
int finish_human_animation(Drone* drone);
void interpolate_movement(const HumanMovement& movement, int32_t time);
void apply_human_pose(Drone* drone);
void pose_human_now(Drone* drone);
// The animation hook of soldier figures; poses a figure whose animation advanced, at the two
// nearest levels of detail only.
void pose_human_figure(void* instance, int level);

}  // namespace vyr
