// Night vision and head panning: the pilot's choice of the low-light picture, which the views
// apply or remove, and the pans of the cockpit eye and of the airframe and runway cameras.
#pragma once

#include <cstdint>

namespace vyr {

// The pilot's choice; the views switch the effects to follow it.
extern int32_t night_vision_on;
// 1 when the mission is dark (0.7 of full darkness or more at set-up).
extern int32_t night_flag;

struct HeadPan {
    int32_t heading;  // binary angles, signed
    int32_t pitch;
};
extern HeadPan head_pan;    // the cockpit view
extern HeadPan sensor_pan;  // the airframe and runway cameras

// Mission set-up, after the time of day: the effects at level 0, the choice cleared, the view
// settings installed; and tear-down.
void create_night_vision_effects();
void init_night_vision();
void clear_night_vision_effects();
void shutdown_night_vision();
// Key V: only with a targeting pod; in the airframe, runway and crash views only a click.
int toggle_night_vision_key(int key_code);
// The effects by the sun factor and the weather, and the view settings' night-vision mode.
void apply_night_vision();
void remove_night_vision();
int get_night_flag();
// Per simulation step and per frame: the view-pan inputs turn the eye or the camera.
void update_head_panning();
HeadPan get_head_pan();
// Heading -90..90 and pitch -45..45 degrees.
void set_head_pan(int32_t heading, int32_t pitch);
// -60..60 degrees in the airframe camera, -45..45 in the runway camera, as given elsewhere.
void set_sensor_pan(int32_t heading, int32_t pitch);

}  // namespace vyr
