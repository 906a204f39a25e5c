// Drawing of one object instance: level of detail, placement of the root's parts, the bounds
// test, the vertex transform and light, and its face code with or without clipping. Parts are
// drawn by the face code's sub-object op with the drawing state saved on a five-deep stack.
#pragma once

#include <cstdint>

#include "library/3dvisual/instance.h"

namespace vyr {

constexpr int32_t OBJ_NOZZLE = 1210;
constexpr int MAX_OBJECT_NESTING = 5;

// The state of the object being drawn, read by the face handlers.
extern ObjectInstance* current_instance;
extern uint32_t current_state_mask;
extern int32_t facing_value;  // of the last face or node tested; negative when turned away
extern int32_t nozzle_flag;   // 1 while the nozzle object's faces are drawn
extern int32_t translucent_colour;
// The nozzle's glow: its blended colour, palette entry 180 as reals, alpha and flicker.
extern uint8_t glow_colour[3];
extern float glow_base[3];
extern int32_t glow_alpha;
extern int32_t flicker_level;

// Draws `instance`, whose view distance the caller has set.
void draw_object(ObjectInstance* instance);
// Draws the current instance's part in `slot` at its distance, when it has one there.
void draw_sub_object(int slot);

// Set every frame by the player's aircraft: 0..100, and 1 while the afterburner burns.
void set_nozzle_opening(int32_t value);
void set_afterburner_lit(int32_t flag);

}  // namespace vyr
