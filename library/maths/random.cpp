#include "library/maths/random.h"

#include <cstdlib>

namespace vyr {

int32_t random_seed = 0;

void reset_random_seed() {
    random_seed = 0;
    std::srand(0);
}

}  // namespace vyr
