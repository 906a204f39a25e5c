// Soldier figures and groups: the figure record hung on a soldier, a mounted gun or a casualty.
#pragma once

namespace vyr {

struct Drone;
struct HumanFigure;

// Each makes the drone's figure record (its class record).
void create_human_figure(Drone* drone);
void create_gun_figure(Drone* drone);
void create_plain_figure(Drone* drone);
// A figure that leads no group of its own.
void set_figure_alone(HumanFigure* figure);
// A figure that has become a formation member of `leader`.
void set_figure_leader(HumanFigure* figure, Drone* leader);

}  // namespace vyr
