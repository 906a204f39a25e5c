// The flight controls: the devices the preferences choose.
#pragma once

#include <cstdint>

namespace vyr {

// "Collective control", "Cyclic control", "Tailrotor control", and the joystick's dead band.
extern int32_t collective_control;
extern int32_t cyclic_control;
extern int32_t tailrotor_control;
extern int32_t control_deadband;

}  // namespace vyr
