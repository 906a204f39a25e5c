// The cockpit panel's lamps and warnings: two-state lamps drawn into the panel picture only when
// their state changes (the picture keeps what was drawn), the AOA indexer, the low-altitude
// warning, the stall tone and the threat panel with its one-time ECM failure draw.
#pragma once

namespace vyr {

struct PanelLamp;

// The lit or unlit image when the lamp's state changes; and the one for the state every time.
void draw_lamp(PanelLamp& lamp, bool lit);
void draw_lamp_always(PanelLamp& lamp, bool lit);

// In the panel's drawing order, each from the flight data and the failure and lamp words.
void draw_threat_panel();
void draw_gear_lamps();
void draw_caution_lamp();
void update_aoa_indexer();
void draw_fire_lamp();
void draw_hydraulics_lamp();
void draw_nose_wheel_lamp();
void draw_disc_lamp();
void draw_brake_lamp();
void update_low_altitude_warning();
void update_stall_warning();
void draw_obstacle_lamp();
void draw_takeoff_landing_lamp();

// Mission set-up: the ECM failure is drawn for again, the stall tone and low-altitude call are
// taken as silent.
void reset_ecm_failure_draw();

}  // namespace vyr
