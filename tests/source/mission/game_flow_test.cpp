// The war zone's setting.
#include "source/mission/game_flow.h"

#include <gtest/gtest.h>

#include "library/config/prefs.h"
#include "tests/source/mission/zone_fixture.h"

namespace vyr {
namespace {

class WarZone : public GeneratedZone {};

TEST_F(WarZone, AZoneOutsideOneToFiveLoadsCyprusAndTheSameZoneAgainWritesNothing) {
    load_prefs(nullptr);
    enter(WAR_ZONE_ISRAEL);
    set_war_zone(9);
    EXPECT_EQ(get_war_zone(), WAR_ZONE_CYPRUS);
    int stored = 0;
    ASSERT_TRUE(get_pref_int("Set Map", &stored));
    EXPECT_EQ(stored, 3);
    set_pref_int("Set Map", 7);
    set_war_zone(WAR_ZONE_CYPRUS);
    get_pref_int("Set Map", &stored);
    EXPECT_EQ(stored, 7) << "the present zone again changes nothing";
}

}  // namespace
}  // namespace vyr
