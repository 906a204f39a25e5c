#include "source/frame_loop.h"

#include <gtest/gtest.h>

#include <vector>

#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/graphics/screen.h"
#include "library/maths/trig.h"
#include "library/system/key.h"
#include "library/system/timer.h"
#include "library/system/winmain.h"
#include "platform/accel/framebuffer.h"
#include "platform/timer/timer.h"
#include "source/avionics/views.h"
#include "source/drone/drone.h"
#include "library/maths/matrix.h"
#include "source/drone/drone_types.h"
#include "source/drone/task.h"
#include "source/drone/user_drone.h"
#include "source/models/flight_model.h"
#include "source/recorder.h"
#include "source/sknet/game_rules.h"
#include "source/sknet/link.h"
#include "source/weapons/weapon_keys.h"
#include "tests/support/empty_flight_world.h"

namespace vyr {
namespace {

namespace accel = platform::accel;

// A flight's frames on the seams over an empty world, the display the software accelerator's.
class FrameLoop : public EmptyFlightWorld {
protected:
    void SetUp() override {
        EmptyFlightWorld::SetUp();
        crashing_off = invincible = 0;
        view_mode = VIEW_COCKPIT;
        view_settings.visual_range = 7;
        reset_end_of_flight();
        reset_flight_records();
        fly_own_aircraft();
        init_flight_model();
        flight_running = 1;
        start_flight_loop();
    }
    void TearDown() override {
        end_flight_loop();
        flight_running = 0;
        game_mode = GAME_SINGLE;
        connection_mode = CONNECTION_NONE;
        crashing_off = invincible = 0;
        reset_end_of_flight();
        reset_flight_records();
        destroy_all_tasks();
        user_drone = nullptr;
        accel::shut_down();
        shutdown_world();
        EmptyFlightWorld::TearDown();
    }

    // The mission's only drone, the player's aircraft, over the middle of the theatre heading north.
    static void fly_own_aircraft() {
        init_drone_types();
        Drone* own = create_drone(create_task());
        set_drone_type(own, OBJ_VYR_HOVREN_TALSWEEP);
        own->pose.position = {1 << 27, 1 << 27, 3000 * 256};
        set_identity_matrix(own->pose.matrix);
        create_user_drone();
    }

    static platform::ScriptEvent key_press(uint64_t time, int scan) {
        platform::ScriptEvent event;
        event.time = time;
        event.kind = platform::ScriptEvent::KEY;
        event.code = scan;
        event.down = true;
        return event;
    }

    static void run_frames(int count) {
        for (int i = 0; i < count; ++i) run_flight_frame();
    }
};

TEST_F(FrameLoop, TheLeadInFramesCountNoTime) {
    run_frames(3);
    EXPECT_EQ(game_clock, 0);
    EXPECT_EQ(frame_count, 3);
    EXPECT_EQ(frame_rate, 5.0);
    run_flight_frame();
    EXPECT_GT(frame_ticks, 0);
    EXPECT_EQ(game_clock, frame_ticks);
}

TEST_F(FrameLoop, AModemLinkAddsTwoLeadInFrames) {
    end_flight_loop();
    game_mode = GAME_TWO_PLAYER_MISSION;
    connection_mode = CONNECTION_MODEM;
    start_flight_loop();
    EXPECT_EQ(link_lead_frames, 2);
    run_frames(5);
    EXPECT_EQ(game_clock, 0);
    EXPECT_EQ(frame_count, 5);
}

TEST_F(FrameLoop, EachAccelerationStepAdvancesTheClockByTheFrameAndRecordsIt) {
    run_frames(3);
    time_acceleration_request = 8;
    platform::advance_virtual_clock(5);  // a frame of at least 10 ticks
    run_flight_frame();
    EXPECT_EQ(time_acceleration, 8);
    EXPECT_GE(frame_ticks, 10);
    EXPECT_EQ(game_clock, 8 * frame_ticks);
    ASSERT_NE(first_event_block, nullptr);
    EXPECT_EQ(first_event_block->records[0].kind, RECORD_DELTA_TIME);
    EXPECT_EQ(first_event_block->records[0].value1, game_clock) << "eight steps, merged into one record";
}

TEST_F(FrameLoop, APausedFrameCountsNeitherTimeNorTheCountdown) {
    run_frames(4);
    const int32_t clock = game_clock, frames = frame_count;
    flight_paused = 1;
    schedule_flight_end();
    run_frames(3);
    EXPECT_EQ(game_clock, clock);
    EXPECT_EQ(frame_count, frames);
    EXPECT_EQ(end_countdown, 2);
    EXPECT_EQ(flight_running, 1);
    flight_paused = 0;
    run_frames(2);
    EXPECT_EQ(flight_running, 0);
}

TEST_F(FrameLoop, TheFireLatchIsClearedOnceTheFireControlIsLetGo) {
    fire_latch = 1;
    run_flight_frame();
    EXPECT_EQ(fire_latch, 0);
}

// Over a modem the other machine applies a frame's time two frames late, so the pacing machine
// uses its own measurement three frames late; over other links one frame late.
TEST_F(FrameLoop, ThePacingMachineOfALinkUsesItsFrameTimesLate) {
    const struct {
        int32_t connection, position, delay;
    } cases[] = {{CONNECTION_MODEM, 1, 3}, {CONNECTION_DIRECT, 1, 1}};
    for (const auto& c : cases) {
        end_flight_loop();
        game_mode = GAME_TWO_PLAYER_MISSION;
        connection_mode = c.connection;
        two_player_position = c.position;
        start_flight_loop();
        // A tick first: a test on the real clock may have left the clock's mark half a tick ahead.
        platform::advance_virtual_clock(1);
        get_frame_time();
        std::vector<int32_t> measured;
        for (int k = 0; k < 6; ++k) {
            platform::advance_virtual_clock(5 + k);
            measure_frame_time();
            measured.push_back(measured_frame_ticks);
            EXPECT_EQ(measured.back(), 2 * (5 + k));
            const int32_t expected = k >= c.delay ? measured[size_t(k - c.delay)] : 0;
            EXPECT_EQ(frame_ticks, expected) << "connection " << c.connection << " frame " << k;
        }
    }
    end_flight_loop();
    two_player_position = 2;
    received_frame_ticks = 17;
    start_flight_loop();
    measure_frame_time();
    EXPECT_EQ(frame_ticks, 17) << "the other machine takes the time it was sent";
    two_player_position = 1;
    received_frame_ticks = 0;
}

TEST_F(FrameLoop, LongFramesAreCutIntoModelSubstepsOfAtMostHalfASecond) {
    const struct {
        int32_t ticks;
        int count;
    } cases[] = {{1, 1}, {100, 1}, {101, 2}, {150, 2}, {200, 2}};
    for (const auto& c : cases) {
        const double seconds = c.ticks * 0.005;
        const ModelSubsteps substeps = split_model_step(seconds, int32_t(seconds * 2147483647.0));
        EXPECT_EQ(substeps.count, c.count) << c.ticks;
        EXPECT_DOUBLE_EQ(substeps.seconds * substeps.count, seconds);
    }
}

TEST_F(FrameLoop, TheCountdownStopsTheLoopAfterItsFrames) {
    run_frames(3);
    schedule_flight_end();
    EXPECT_EQ(end_countdown, 2);
    run_flight_frame();
    schedule_flight_end();
    EXPECT_EQ(end_countdown, 1) << "a second call changes nothing";
    EXPECT_EQ(flight_running, 1);
    EXPECT_EQ(end_countdown_running, 1);
    run_flight_frame();
    EXPECT_EQ(flight_running, 0);
}

TEST_F(FrameLoop, TheQuitBoxWaitsForYOrNAndItsWaitIsNotCounted) {
    run_frames(4);
    struct Answer {
        int scan;
        int32_t die;
    };
    for (const Answer answer : {Answer{0x31, 0}, Answer{0x15, END_QUIT}}) {
        const uint64_t now = platform::timer_periods();
        headless->set_script({key_press(now + 60, 0x1E), key_press(now + 80, answer.scan)});
        quit_request = 1;
        confirm_quit();
        EXPECT_EQ(die_flag, answer.die);
        EXPECT_EQ(flight_running, answer.die ? 0 : 1);
        EXPECT_EQ(quit_request, answer.die ? 1 : 0);
        EXPECT_GE(platform::timer_periods(), now + 80);
        const int32_t clock = game_clock;
        run_flight_frame();
        EXPECT_LT(game_clock - clock, 60) << "the 80 ticks in the box are not a frame";
    }
}

TEST_F(FrameLoop, EndReasonsFollowTheRulesAndTheFirstWins) {
    const struct {
        int reason;
        int32_t crashing, invincible;
        int32_t die, running, crash_view;
    } cases[] = {
        {END_QUIT, 0, 0, END_QUIT, 0, 0},
        {END_COLLISION, 0, 1, 0, 1, 0},
        {END_CRASH, 1, 0, 0, 1, 0},
        {END_DITCHED, 0, 1, 0, 1, 0},
        {END_COLLISION, 0, 0, END_COLLISION, 1, 1},  // the crash view runs its four seconds first
        {END_SHOT_DOWN, 0, 1, END_SHOT_DOWN, 1, 1},
        {END_SHOT_DOWN, 1, 0, 0, 1, 0},
        {11, 1, 0, 0, 1, 0},
        {END_LINK_ERRORS, 1, 1, END_LINK_ERRORS, 0, 0},
        {END_NO_CARRIER, 0, 0, END_NO_CARRIER, 0, 0},
        {END_PEER_DESTROYED, 1, 1, END_PEER_DESTROYED, 1, 1},
        {0, 0, 0, 0, 1, 0},
        {13, 0, 0, 0, 1, 0},
    };
    for (const auto& c : cases) {
        reset_end_of_flight();
        flight_running = 1;
        view_mode = VIEW_COCKPIT;
        crashing_off = c.crashing;
        invincible = c.invincible;
        end_flight(c.reason);
        EXPECT_EQ(die_flag, c.die) << c.reason << " crashing off " << c.crashing << " invincible " << c.invincible;
        EXPECT_EQ(flight_running, c.running) << c.reason;
        EXPECT_EQ(view_mode == VIEW_CRASH, bool(c.crash_view)) << c.reason;
    }
    // Ignored while invincible, so a later reason still counts; after that nothing does.
    reset_end_of_flight();
    crashing_off = 0;
    invincible = 1;
    end_flight(END_COLLISION);
    end_flight(END_SHOT_DOWN);
    end_flight(END_QUIT);
    EXPECT_EQ(die_flag, END_SHOT_DOWN);
}

TEST_F(FrameLoop, AQuitInATwoPlayerGameRunsTheCountdown) {
    game_mode = GAME_COMBAT;
    connection_mode = CONNECTION_DIRECT;
    escape_key(KEY_ALT | SCAN_X);
    EXPECT_EQ(die_flag, END_QUIT);
    EXPECT_EQ(flight_running, 1);
    EXPECT_EQ(end_countdown, 2);
    EXPECT_EQ(quit_request, 0);
    game_mode = GAME_SINGLE;
    connection_mode = CONNECTION_NONE;
    escape_key(KEY_CTRL | SCAN_Q);
    EXPECT_EQ(quit_request, 1) << "a single player is asked first";
}

TEST_F(FrameLoop, TimeKeysActOnlyInASinglePlayerGame) {
    push_hot_key_layer();
    register_time_keys();
    const struct {
        int32_t mode, before, key, after;
    } cases[] = {
        {GAME_SINGLE, 1, SCAN_TAB, 2},
        {GAME_SINGLE, 8, SCAN_TAB, 1},
        {GAME_SINGLE, 4, KEY_CTRL | SCAN_TAB, 2},
        {GAME_SINGLE, 1, KEY_CTRL | SCAN_TAB, 1},
        {GAME_SINGLE, 2, KEY_SHIFT | SCAN_TAB, 8},
        {GAME_SINGLE, 8, SCAN_ESCAPE, 1},
        {GAME_MULTI_PLAYER, 1, SCAN_TAB, 1},
        {GAME_COMBAT, 8, SCAN_ESCAPE, 8},
    };
    for (const auto& c : cases) {
        game_mode = c.mode;
        time_acceleration_request = c.before;
        EXPECT_EQ(dispatch_hot_key(c.key), 1);
        EXPECT_EQ(time_acceleration_request, c.after) << "mode " << c.mode << " key " << std::hex << c.key;
    }
    pop_hot_key_layer();
}

TEST_F(FrameLoop, TheAutomaticDetailStepsWithHysteresisAndTheFlightPutsTheRangeBack) {
    const ViewSettings before = view_settings;
    detail_ceiling = 7;
    frame_rate = 2.0;
    for (int i = 0; i < 2; ++i) adjust_detail_level();
    EXPECT_EQ(view_settings.visual_range, 7);
    adjust_detail_level();
    EXPECT_EQ(view_settings.visual_range, 6) << "the third slow frame";
    for (int i = 0; i < 9; ++i) adjust_detail_level();
    EXPECT_EQ(view_settings.visual_range, 4) << "never below 4";
    frame_rate = 5.0;  // frames in the band bring the count back to 0
    for (int i = 0; i < 2; ++i) adjust_detail_level();
    frame_rate = 9.0;
    for (int i = 0; i < 6; ++i) adjust_detail_level();
    EXPECT_EQ(view_settings.visual_range, 4);
    adjust_detail_level();
    EXPECT_EQ(view_settings.visual_range, 5) << "the seventh fast frame";
    for (int i = 0; i < 40; ++i) adjust_detail_level();
    EXPECT_EQ(view_settings.visual_range, 7) << "never above the ceiling";
    frame_rate = 5.0;
    view_settings.terrain_detail = 0;
    end_flight_loop();
    EXPECT_EQ(view_settings.visual_range, before.visual_range);
    EXPECT_EQ(view_settings.terrain_detail, before.terrain_detail);
    start_flight_loop();
}

}  // namespace
}  // namespace vyr
