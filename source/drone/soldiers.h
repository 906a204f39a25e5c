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
// A formation member's figure takes its template row (low four bits); `crew` when it serves a gun.
void set_figure_formation_row(HumanFigure* figure, int row, int crew);
// A soldier group starts aboard its transport, ready to get out.
void unload_human_group(Drone* drone);
void update_human_drone(Drone* drone);

}  // namespace vyr
