#include "source/skill.h"

#include <gtest/gtest.h>

#include <array>

namespace vyr {
namespace {

std::array<int32_t, SKILL_COLUMNS> skill_row(int type) {
    forces_type = type;
    return {get_skill_reaction_delay(), get_skill_damage_percent(), get_skill_range_percent(),
            get_skill_refire_percent(), get_skill_rate_percent(),   get_skill_burst_percent(),
            get_skill_accuracy_divisor()};
}

TEST(Skill, EachForcesTypeReadsItsRow) {
    const struct {
        int type;
        std::array<int32_t, SKILL_COLUMNS> row;
    } cases[] = {
        {-2, {1400, 40, 40, 110, 118, 55, 12}}, {0, {1000, 60, 55, 90, 114, 65, 10}},
        {4, {400, 80, 75, 40, 106, 85, 6}},     {5, {500, 85, 80, 35, 104, 90, 5}},
        {7, {0, 100, 100, 25, 100, 100, 3}},    {9, {0, 110, 120, 15, 80, 120, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(skill_row(c.type), c.row) << c.type;
    forces_type = 0;
}

TEST(Skill, AStoredTypeOutsideTheTableReadsTheNearestRow) {
    EXPECT_EQ(skill_row(-40), skill_row(-2));
    EXPECT_EQ(skill_row(1000), skill_row(9));
    forces_type = 0;
}

}  // namespace
}  // namespace vyr
