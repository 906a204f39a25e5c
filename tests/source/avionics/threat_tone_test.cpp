// The tone a threat's class sounds as it is filed, heard through the null sound device.
#include <gtest/gtest.h>

#include "library/3dvisual/ground_objects.h"
#include "source/avionics/failures.h"
#include "source/avionics/threat_warning.h"
#include "source/avionics/views.h"
#include "source/drone/user_drone.h"
#include "source/frame_loop.h"
#include "source/sound/triggers.h"
#include "tests/library/sound/sound_fixture.h"

namespace vyr {
namespace {

class ThreatTones : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        for (int row = 25; row <= 29; ++row) load_tone(row);
        view_mode = VIEW_COCKPIT;
        system_failures = {};
        build_rotation_matrix(0, 0, 0, aircraft.matrix);
        aircraft.position = {32 << 22, 32 << 22, 5000 * 256};
        player_position = &aircraft;
        init_threat_warning();
    }
    void TearDown() override {
        stop_all_sounds();
        player_position = nullptr;
        SoundTest::TearDown();
    }
    static int playing(int row) {
        int count = 0;
        for (int channel = 0; channel < MAX_SOUND_CHANNELS; ++channel)
            count += channel_status(channel) == SOUND_PLAYING && channel_sample(channel) == row;
        return count;
    }
    Pose aircraft{};
};

TEST_F(ThreatTones, AFiledThreatSoundsItsClassesTone) {
    const struct {
        int number, row;
    } cases[] = {{450, 26}, {84, 27}, {64, 25}, {46, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        stop_all_sounds();
        // A tone's repeat time outlives the tests; this clock passes every one set before.
        static int32_t clock = 1 << 30;
        game_clock = clock += 10000;
        init_threat_warning();
        ground_object record = {uint16_t(c.number), 0, 0, 0, 0, uint16_t(2 << GROUND_SIDE_SHIFT)};
        Target t = {};
        t.kind = TARGET_GROUND_OBJECT;
        t.object = &record;
        t.position = {aircraft.position.x, aircraft.position.y + 1555456, 0};
        add_threat(&t);
        for (int row = 25; row <= 29; ++row) EXPECT_EQ(playing(row), row == c.row ? 1 : 0) << row;
    }
}

}  // namespace
}  // namespace vyr
