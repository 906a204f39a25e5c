// Stand-in for the feature query until the features load: no feature lies anywhere. It has a file
// of its own so that a test program may answer the query with a layout of its own.
#include "library/3dvisual/features.h"

namespace vyr {

int get_feature_kind(int32_t, int32_t) { return FEATURE_UNKNOWN; }

}  // namespace vyr
