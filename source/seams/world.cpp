// Stand-in for the 3D world: the settings the preferences and the detail keys write. It renders
// nothing.
#include "library/3dvisual/object_buffer.h"
#include "library/3dvisual/smoke.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"

namespace vyr {

ViewSettings view_settings = {7,  -262144, 4194304, 0, -0x15555555, 0, 6400000, 6912000, 2, 3, 0, 0,
                              nullptr, VIEW_CLOUDS | VIEW_SHADOWS};

int32_t smoke_life = 600;
int32_t smoke_density = 0;

// Nothing is rendered yet: no figure is posed and nothing is ever queued.
void set_animation_hook(AnimationHook) {}
int get_object_buffer_count() { return 0; }
int get_object_buffer_back_count() { return 0; }

}  // namespace vyr
