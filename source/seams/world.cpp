// Stand-in for the 3D world's smoke settings, which the preferences and the detail keys write.
#include "library/3dvisual/smoke.h"

namespace vyr {

int32_t smoke_life = 600;
int32_t smoke_density = 0;

}  // namespace vyr
