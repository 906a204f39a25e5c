// The five theatres and the look of their land.
#pragma once

#include <array>

namespace vyr::vyrgen {

enum class Climate { TEMPERATE, MEDITERRANEAN, DESERT, MOUNTAIN };

struct WarZone {
    const char* directory;  // lower case, without the trailing separator
    Climate climate;
};

inline constexpr std::array<WarZone, 5> WAR_ZONES = {{
    {"israel.wz", Climate::DESERT},
    {"korea.wz", Climate::TEMPERATE},
    {"cyprus.wz", Climate::MEDITERRANEAN},
    {"afghan.wz", Climate::MOUNTAIN},
    {"nevada.wz", Climate::DESERT},
}};

}  // namespace vyr::vyrgen
