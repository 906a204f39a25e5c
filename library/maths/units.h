// The world's units: positions in 1/256 ft, angles binary (2^32 to the turn), time in ticks of
// 1/200 s.
#pragma once

#include <cstdint>

namespace vyr {

constexpr int32_t FOOT = 256;
// 2^32 / 360 to the nearest unit.
constexpr int32_t DEGREE = 11930465;
// 6,076 ft.
constexpr int32_t NAUTICAL_MILE = 6076 * FOOT;
// A knot in world units a second.
constexpr int32_t KNOT = 432;
constexpr int32_t TICKS_PER_SECOND = 200;

}  // namespace vyr
