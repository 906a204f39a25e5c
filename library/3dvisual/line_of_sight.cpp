#include "library/3dvisual/line_of_sight.h"

#include "library/3dvisual/terrain.h"

namespace vyr {

namespace {

// Differences are taken in 64 bits so that far-apart ends cannot wrap.
struct Step {
    int64_t x, y, z;
};

Step step_of(const Vector3& a, const Vector3& b, int n) {
    return {(int64_t(b.x) - a.x) >> n, (int64_t(b.y) - a.y) >> n, (int64_t(b.z) - a.z) >> n};
}

// Samples `count` points from `p`, moving by `step` after each; false at the first one below ground.
bool clear_from(Step& p, const Step& step, int count) {
    for (int k = 0; k < count; ++k) {
        if (get_ground_height(int(p.x), int(p.y)) > p.z) return false;
        p.x += step.x;
        p.y += step.y;
        p.z += step.z;
    }
    return true;
}

}  // namespace

int check_line_of_sight(const Vector3& a, const Vector3& b, int n) {
    if (terrain_max_height < b.z && terrain_max_height < a.z) return 1;
    const Step coarse = step_of(a, b, n);
    const Step fine = {coarse.x >> n, coarse.y >> n, coarse.z >> n};
    const int samples = 1 << n;
    Step p = {a.x, a.y, a.z};
    return clear_from(p, fine, samples) && clear_from(p, coarse, samples - 1) ? 1 : 0;
}

}  // namespace vyr
