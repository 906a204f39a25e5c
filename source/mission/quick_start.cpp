#include "source/mission/quick_start.h"

namespace vyr {

int32_t quick_start_kind = 1;
int32_t quick_start_score = 0;

void set_quick_start_kind(int kind) {
    if (kind == 1 || kind == 2) quick_start_kind = kind;
}

void reset_quick_start_score() { quick_start_score = 0; }

}  // namespace vyr
