#include "source/drone/air_manoeuvre.h"

namespace vyr {

// The helicopters' floor is negative: they may back away from a goal.
const MovementProfile movement_profiles[MOVEMENT_PROFILES] = {
    {357913941, 357913941, 596523236, 4320, 151200, 56160, 86400, 129600},     // transports
    {357913941, 357913941, 596523236, 4320, 216000, 56160, 151200, 194400},    // large jets
    {477218588, 477218588, 775480206, 6480, 151200, 120960, 129600, 129600},   // attack aircraft
    {596523236, 596523236, 954437177, 12960, 259200, 151200, 151200, 237600},  // fast jets
    {835132530, 954437177, 954437177, 4320, 86400, -21600, 21600, 64800},      // helicopters
    {0, 0, 0, 0, 0, 0, 0, 0},                                                  // not an aircraft
};

}  // namespace vyr
