#include "library/maths/random.h"

namespace vyr {

int32_t random_seed = 0;
int32_t rand_state = 0;

void reset_random_seed() {
    random_seed = 0;
    rand_state = 0;
}

}  // namespace vyr
