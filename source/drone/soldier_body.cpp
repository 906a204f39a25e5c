#include "source/drone/soldier_body.h"

#include "library/debug/fatal.h"
#include "source/drone/drone.h"
#include "source/drone/soldiers.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/soldier_body";

constexpr int32_t CARRIER_WALK = 52;
constexpr int32_t GESTURE_VARIANTS = 6;
constexpr int32_t FIRST_GESTURE = 56;

// By move, the animation of each weapon set: plain, m, r, s.
constexpr int32_t MOVE_ANIMATIONS[][4] = {
    {0, 0, 11, 17},    // standing
    {1, 6, 12, 18},    // walk
    {2, 7, 13, 19},    // walk_jog
    {3, 8, 14, 20},    // jog
    {4, 9, 15, 21},    // jog_run
    {5, 10, 16, 22},   // run
    {37, 37, 40, 43},  // raise weapon
    {38, 38, 41, 44},  // aim standing
    {39, 39, 42, 45},  // lower weapon
    {31, 31, 34, 43},  // kneel down
    {32, 32, 35, 44},  // aim kneeling
    {33, 33, 36, 45},  // stand up
    {46, 46, 46, 46},  // dive
    {47, 47, 47, 47},  // get up
    {49, 49, 49, 49},  // get out
    {48, 48, 48, 48},  // get in
    {53, 53, 54, 55},  // wave
    {56, 56, 57, 58},  // gesture, variant 0
};

int set_column(SoldierSet set) {
    switch (set) {
    case SoldierSet::PLAIN: return 0;
    case SoldierSet::M: return 1;
    case SoldierSet::R: return 2;
    case SoldierSet::S: return 3;
    case SoldierSet::NONE: break;
    }
    report_fatal_error("Unknown", SOURCE, __LINE__);
    return 0;
}

}  // namespace

int32_t choose_human_animation(Drone* drone, HumanMove move) {
    const int column = set_column(get_soldier_set(drone->object.object_type));
    HumanFigure* figure = drone->class_record;
    if (move == HumanMove::WALK && (figure->flags & HUMAN_CARRIER)) return CARRIER_WALK;
    const int32_t animation = MOVE_ANIMATIONS[int(move)][column];
    if (move != HumanMove::GESTURE) return animation;
    const uint32_t variant = (figure->flags & HUMAN_GESTURE_MASK) >> HUMAN_GESTURE_SHIFT;
    figure->flags = (figure->flags & ~HUMAN_GESTURE_MASK) | ((variant + 1) % GESTURE_VARIANTS) << HUMAN_GESTURE_SHIFT;
    return animation + 3 * int32_t(variant);
}

}  // namespace vyr
