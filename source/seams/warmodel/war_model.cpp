// Stand-in for the war model's reset flag, which has nothing to reset yet.
#include "source/warmodel/war_model.h"

namespace vyr {

void reset_war_model_flag() {}

}  // namespace vyr
