// Soldier figures and groups: the figure record hung on a soldier, a mounted gun or a casualty.
#pragma once

#include <cstdint>

#include "library/maths/matrix.h"

namespace vyr {

struct Drone;
struct ObjectInstance;
struct SubObject;

constexpr uint32_t HUMAN_CYCLE_END = 1u << 4;
constexpr uint32_t HUMAN_GROUP_LEADER = 1u << 7;
constexpr uint32_t HUMAN_POSE_CHANGED = 1u << 12;

// The record hung on a soldier, a mounted gun or a casualty.
struct HumanFigure {
    int32_t action_state;
    int32_t body_state;
    Drone* leader;
    Drone* transport;
    Matrix3* gun_part_matrix;
    Matrix3* joints[11];  // joints 1..11; joint 11 null when the figure holds no item
    Vector3 goal;
    ObjectInstance* item_holder;
    SubObject* detached_item;
    int32_t arrival_action;
    int32_t desired_speed;
    int32_t move_on_time;
    int32_t timer;
    int32_t animation_time;  // ms into the animation
    int32_t search_time;
    int32_t animation;  // 0..73
    uint32_t flags;
};

// Each makes the drone's figure record (its class record).
void create_human_figure(Drone* drone);
void create_gun_figure(Drone* drone);
void create_plain_figure(Drone* drone);
// A figure that leads no group of its own.
void set_figure_alone(HumanFigure* figure);
// A figure that has become a formation member of `leader`.
void set_figure_leader(HumanFigure* figure, Drone* leader);
// A formation member's figure takes its template row (low four bits); `crew` when it serves a gun.
void set_figure_formation_row(HumanFigure* figure, int row, int crew);
// A soldier group starts aboard its transport, ready to get out.
void unload_human_group(Drone* drone);
void update_human_drone(Drone* drone);
// A soldier or figure hit hard enough to fall, by the kill kind.
void damage_human_drone(Drone* drone, int kind);
// The two drones a crewed gun's figure links (null where none).
void get_figure_linked_drones(Drone* drone, Drone* out[2]);

}  // namespace vyr
