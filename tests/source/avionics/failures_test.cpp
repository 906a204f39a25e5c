#include "source/avionics/failures.h"

#include <gtest/gtest.h>

namespace vyr {
namespace {

class SystemFailureBlock : public ::testing::Test {
protected:
    void SetUp() override { system_failures = {}; }
    void TearDown() override { system_failures = {}; }
};

TEST_F(SystemFailureBlock, TheResetKeepsTheThreeBitsThatOutliveIt) {
    for (uint8_t& byte : system_failures.bytes) byte = 0xff;
    system_failures.word = 0xffffffffu;
    system_failures.caution_word = 0xffffffffu;
    system_failures.lamp_word = 0xffffffffu;
    reset_system_failures();
    EXPECT_EQ(system_failures.bytes[0], 0);
    EXPECT_EQ(system_failures.bytes[1], 0);
    EXPECT_EQ(system_failures.bytes[2], 0x10);
    EXPECT_EQ(system_failures.bytes[3], 0);
    EXPECT_EQ(system_failures.bytes[4], 0xc0);
    EXPECT_EQ(system_failures.word, 0u);
    EXPECT_EQ(system_failures.caution_word, 0xffffffffu);  // the caution lamps have their own reset
    EXPECT_EQ(system_failures.lamp_word, 0xfffff800u);
    EXPECT_EQ(check_any_failure(), 0);  // what survives is not a failure
    reset_caution_lamps();
    EXPECT_EQ(system_failures.caution_word, 0xff000000u);
}

TEST_F(SystemFailureBlock, TheMasterCautionCountsEveryFailureButTheKeptBits) {
    struct Case {
        int byte;
        uint8_t mask;
        int counted;
    };
    for (const Case c : {Case{0, 0x01, 1}, {0, 0x80, 1}, {1, 0x20, 1}, {3, 0x80, 1}, {2, 0x01, 1}, {2, 0x10, 0},
                         {2, 0x40, 1}, {2, 0x80, 1}, {4, 0x01, 1}, {4, 0x20, 1}, {4, 0x40, 0}, {4, 0x80, 0}}) {
        system_failures = {};
        system_failures.bytes[c.byte] = c.mask;
        EXPECT_EQ(check_any_failure(), c.counted) << c.byte << " " << int(c.mask);
    }
    struct Lamp {
        uint32_t bit;
        int counted;
    };
    for (const Lamp l : {Lamp{LAMP_GROUND_COLLISION, 1}, {LAMP_LOW_ALTITUDE, 1}, {LAMP_MASTER_CAUTION, 0},
                         {LAMP_FAILURE_PRESENT, 0}, {LAMP_WHEEL_BRAKES, 0}, {LAMP_AIR_BRAKE, 0}}) {
        system_failures = {};
        system_failures.lamp_word = l.bit;
        EXPECT_EQ(check_any_failure(), l.counted) << l.bit;
    }
}

TEST_F(SystemFailureBlock, EachFailureIsOneBitOfItsOwn) {
    const FailureBit all[] = {FAIL_LEFT_MFD, FAIL_RIGHT_MFD, FAIL_RADAR, FAIL_FUEL, FAIL_FUEL_LEAK, FAIL_DATA_DISPLAY,
                              FAIL_HUD_FLICKER, FAIL_TARGETING, FAIL_GUN, FAIL_TERRAIN_FOLLOWING, FAIL_HUD,
                              FAIL_AUTOPILOT, FAIL_BRAKE, FAIL_ELECTRICS, FAIL_THREAT_WARNING, FAIL_FLAPS,
                              FAIL_ENGINE, FAIL_FIRE, FAIL_PYLON, FAIL_ECM, FAIL_OXYGEN, FAIL_AFTERBURNER,
                              FAIL_PRESSURE, FAIL_LASER, FAIL_HYDRAULICS, FAIL_RADIO, FAIL_RECON, FAIL_GEAR};
    for (const FailureBit bit : all) {
        system_failures = {};
        set_failure(bit);
        int set = 0;
        for (const FailureBit other : all) set += has_failure(other);
        EXPECT_EQ(set, 1) << int(bit.byte) << " " << int(bit.mask);
        EXPECT_EQ(check_any_failure(), 1);
        clear_failure(bit);
        EXPECT_FALSE(has_failure(bit));
    }
}

}  // namespace
}  // namespace vyr
