#include "source/drone/soldier_moves.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "library/3dvisual/instance.h"
#include "source/drone/drone.h"
#include "source/drone/soldiers.h"
#include "source/frame_loop.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

class SoldierMoves : public ScratchDirectories {
protected:
    void put_file(const std::string& name, const std::string& text) {
        write_bytes(work / "3ddata" / (name + ".rot"), text);
    }
    HumanMovement read(const std::string& text) {
        put_file("test", text);
        HumanMovement movement{};
        EXPECT_EQ(read_movement_file(&movement, "test"), 1);
        return movement;
    }
};

// A frame line whose numbers count up from `first`: easy to find again in the record.
std::string counting_frame(int first, int count) {
    std::string line;
    for (int i = 0; i < count; ++i) line += std::to_string(first + i) + " ";
    return line + "\n";
}

const int32_t* frame(const HumanMovement& movement, int f) { return &movement.frames[size_t(f) * MOVEMENT_FRAME_VALUES]; }

TEST_F(SoldierMoves, EachFormOfTheFileFillsTheFrames) {
    // 'G': 12 joints, two angles each.
    HumanMovement g = read("GL 2 100 1500 3\n" + counting_frame(1000, 26) + counting_frame(2000, 26));
    EXPECT_EQ(g.play_mode, 'L');
    EXPECT_EQ(g.frame_count, 2);
    EXPECT_EQ(g.duration, 100);
    EXPECT_EQ(g.speed_basis, 1500);
    EXPECT_EQ(frame(g, 0)[0], 1000 * 840 / 1000);
    EXPECT_EQ(frame(g, 0)[1], 1001 * 840 / 1000);
    EXPECT_EQ(frame(g, 0)[2], 0);  // no tilt
    for (int j = 0; j < 12; ++j) {
        EXPECT_EQ(frame(g, 1)[3 + j], 2002 + 2 * j) << j;
        EXPECT_EQ(frame(g, 1)[15 + j], 2003 + 2 * j) << j;
    }
    // 'H': a body tilt, and two angles whatever follows.
    HumanMovement h = read("HI 1 1 1\n" + counting_frame(10, 27));
    EXPECT_EQ(h.play_mode, MOVEMENT_ONE_SHOT);
    EXPECT_EQ(frame(h, 0)[2], 12);
    EXPECT_EQ(frame(h, 0)[3 + 11], 13 + 22);
    EXPECT_EQ(frame(h, 0)[15 + 11], 14 + 22);
    // Any other letter: 11 joints, joint 11 unbent; column mode 1: first angles only.
    HumanMovement eleven = read("L 1 5 100 3\n" + counting_frame(10, 24));
    EXPECT_EQ(eleven.play_mode, 'L');
    EXPECT_EQ(frame(eleven, 0)[3 + 10], 32);
    EXPECT_EQ(frame(eleven, 0)[15 + 10], 33);
    EXPECT_EQ(frame(eleven, 0)[3 + 11], 0);
    EXPECT_EQ(frame(eleven, 0)[15 + 11], 0);
    HumanMovement first_only = read("GX 1 5 100 1\n" + counting_frame(10, 14) + "trailing text is never read");
    EXPECT_EQ(frame(first_only, 0)[3 + 11], 23);
    EXPECT_EQ(frame(first_only, 0)[15 + 5], 0);
}

struct BadFile {
    const char* text;
    const char* message;
};

const BadFile BAD_FILES[] = {
    {"", "3DDATA\\test.ROT: the play mode letter is missing"},
    {"GL 2 100", "a number is missing"},
    {"GL 2 100 1000 3\n1 2 3", "a number is missing"},
    {"GL 1 100 x1000 3\n", "a number is missing"},
    {"GL 1 100 99999999999 3\n", "a number is too large"},
    {"GL 0 100 1000 3\n", "the frame count is below 1"},
    {"GL -5 100 1000 3\n", "the frame count is below 1"},
    {"GL 100000000 200000000 1000 3\n1 2", "the file holds fewer frames than its count"},
    {"GL 5 4 1000 3\n", "the duration is shorter than the frame count"},
    {"GI 5 3 1000 3\n", "the duration is shorter than the frame count"},
    {"GI 1 0 1000 3\n", "the duration is shorter than the frame count"},
    {"GL 2 100 0 3\n", "the speed basis is below 1"},
};

class BadMovementFiles : public SoldierMoves, public testing::WithParamInterface<BadFile> {};

TEST_P(BadMovementFiles, AreFatalNamingTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    put_file("test", GetParam().text);
    HumanMovement movement{};
    EXPECT_DEATH(read_movement_file(&movement, "test"),
                 testing::AllOf(testing::HasSubstr("Bad movement file 3DDATA\\test.ROT"),
                                testing::HasSubstr(GetParam().message)));
}

INSTANTIATE_TEST_SUITE_P(Table, BadMovementFiles, testing::ValuesIn(BAD_FILES));

TEST_F(SoldierMoves, AMissingFileIsFatalWithItsFullPath) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    HumanMovement movement{};
    EXPECT_DEATH(read_movement_file(&movement, "nothing"), "Unable to open movement file 3DDATA\\\\nothing\\.ROT");
}

HumanMovement movement_of(char mode, int32_t duration, std::vector<std::vector<int32_t>> frames) {
    HumanMovement m{};
    m.play_mode = mode;
    m.duration = duration;
    m.speed_basis = 1000;
    m.frame_count = int32_t(frames.size());
    for (auto& f : frames) {
        f.resize(MOVEMENT_FRAME_VALUES);
        m.frames.insert(m.frames.end(), f.begin(), f.end());
    }
    return m;
}

TEST(MovementTime, AOneShotHoldsItsEndAndALoopWrapsReportingEachEnd) {
    const HumanMovement once = movement_of('I', 1000, {{0}, {0}});
    int32_t t = 0;
    EXPECT_EQ(advance_movement_time(once, 999, t), 0);
    EXPECT_EQ(t, 999);
    EXPECT_EQ(advance_movement_time(once, 1, t), 1);
    EXPECT_EQ(t, 1000);
    EXPECT_EQ(advance_movement_time(once, 5000, t), 1);
    EXPECT_EQ(t, 1000);

    const HumanMovement loop = movement_of('L', 1000, {{0}, {0}});
    t = 900;
    EXPECT_EQ(advance_movement_time(loop, 50, t), 0);
    EXPECT_EQ(t, 950);
    EXPECT_EQ(advance_movement_time(loop, 100, t), 1);
    EXPECT_EQ(t, 50);
    EXPECT_EQ(advance_movement_time(loop, 0, t), 0);
    EXPECT_EQ(advance_movement_time(loop, 3200, t), 1);
    EXPECT_EQ(t, 250);
    t = 5;
    EXPECT_EQ(advance_movement_time(loop, INT32_MAX, t), 1);  // no overflow on the way
    EXPECT_EQ(t, int32_t((int64_t{INT32_MAX} + 5) % 1000));
}

TEST(MovementTime, GoingBackBeforeTheStartIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const HumanMovement loop = movement_of('L', 1000, {{0}});
    int32_t t = 10;
    EXPECT_DEATH(advance_movement_time(loop, -20, t), "Cycled value is negative!");
}

TEST(MovementPose, ALoopStartsAtFrameZeroAndBlendsBackIntoIt) {
    // Frame values: height, tilt, joint 0's first angle, joint 11's second angle.
    auto values = [](int32_t height, int32_t angle) {
        std::vector<int32_t> f(MOVEMENT_FRAME_VALUES);
        f[1] = height;
        f[2] = angle;
        f[3] = angle;
        f[26] = angle;
        return f;
    };
    const HumanMovement loop = movement_of('L', 800, {values(100, 0), values(200, 1000), values(300, 2000), values(400, 3000)});
    interpolate_movement(loop, 0);
    EXPECT_EQ(human_pose.height, 100);
    EXPECT_EQ(human_pose.first[0], 0u);
    interpolate_movement(loop, 100);  // halfway from frame 0 to frame 1
    EXPECT_EQ(human_pose.height, 150);
    const uint32_t half = 100 * (4 * 65536 / 800);  // the weight of each end, a little under 1/2
    EXPECT_EQ(human_pose.tilt, 1000 * half);
    EXPECT_EQ(human_pose.second[11], 1000 * half);
    interpolate_movement(loop, 799);  // nearly back from frame 3 to frame 0
    EXPECT_NEAR(human_pose.height, 100, 2);
    EXPECT_NEAR(double(human_pose.first[0]) / 65536, 3000.0 / 200, 1);
    EXPECT_EQ(human_pose.height, (100 * 199 + 400 * 1) / 200);

    const HumanMovement once = movement_of('I', 300, {values(0, 0), values(30, 300), values(60, 600), values(90, 900)});
    interpolate_movement(once, 300);
    EXPECT_EQ(human_pose.height, 90);
    EXPECT_EQ(human_pose.first[0], 900u * 65536);
    for (int32_t beyond : {301, INT32_MAX}) {
        interpolate_movement(once, beyond);
        EXPECT_EQ(human_pose.height, 90) << beyond;
    }
    interpolate_movement(once, -5);
    EXPECT_EQ(human_pose.height, 0);
    interpolate_movement(once, 150);
    EXPECT_EQ(human_pose.height, 45);
    EXPECT_EQ(human_pose.first[0], (300 + 600) * 50u * (3 * 65536 / 300));
}

TEST(MovementPose, AnglesWrapAsBinaryAnglesAndOneFrameOneShotsShowTheirFrame) {
    std::vector<int32_t> a(MOVEMENT_FRAME_VALUES), b(MOVEMENT_FRAME_VALUES);
    a[3] = 30000;
    b[3] = -30000;
    a[4] = -1000000;  // many turns: the products leave 32 bits
    b[4] = 1000000;
    const HumanMovement loop = movement_of('L', 1000, {a, b});
    interpolate_movement(loop, 250);
    EXPECT_EQ(human_pose.first[0], 0u);
    interpolate_movement(loop, 400);  // weights 100 and 400 x 131
    EXPECT_EQ(int32_t(human_pose.first[0]), 30000 * 13100 - 30000 * 52400);
    EXPECT_EQ(human_pose.first[1], uint32_t(int64_t{-1000000} * 13100 + int64_t{1000000} * 52400));

    std::vector<int32_t> only(MOVEMENT_FRAME_VALUES, 7);
    only[1] = 64;
    const HumanMovement still = movement_of('I', 1, {only});
    for (int32_t t : {0, 1}) {
        interpolate_movement(still, t);
        EXPECT_EQ(human_pose.height, 64) << t;
        EXPECT_EQ(human_pose.second[11], 7u << 16) << t;
    }
}

// A soldier drone with a figure whose joint matrices are its own.
struct Soldier {
    Drone drone{};
    HumanFigure figure{};
    Matrix3 joints[11]{};

    explicit Soldier(int32_t object) {
        drone.object.object_type = object;
        drone.object.owner_kind = OWNER_DRONE;
        drone.object.owner = &drone;
        drone.object.pose = &drone.pose;
        drone.class_record = &figure;
        for (int j = 0; j < 11; ++j) figure.joints[j] = &joints[j];
    }
};

class SoldierAnimation : public testing::Test {
protected:
    void SetUp() override {
        saved = human_movements[1];
        std::vector<int32_t> bent(MOVEMENT_FRAME_VALUES);
        bent[3 + 3] = 4096;  // the right thigh an eighth of a turn forward
        // 1,024 ms over two segments: the weights come out whole.
        human_movements[1] = movement_of('L', 1024, {std::vector<int32_t>(MOVEMENT_FRAME_VALUES), bent});
        human_movements[1].speed_basis = 1500;
    }
    void TearDown() override {
        human_movements[1] = saved;
        frame_seconds = 0;
    }
    HumanMovement saved;
};

TEST_F(SoldierAnimation, DistanceAdvancesByTheWalkOverTheBasisAndNotAtAll) {
    Soldier soldier(917);
    soldier.figure.animation = 1;
    frame_seconds = 0.1;
    soldier.drone.speed = 0;
    EXPECT_EQ(animate_human_by_distance(&soldier.drone), 1);
    EXPECT_EQ(soldier.figure.animation_time, 0);
    EXPECT_TRUE(soldier.figure.flags & HUMAN_POSE_CHANGED);
    // 1,280 units a second is 1,500 mm a second: the recorded pace plays in real time.
    soldier.drone.speed = 1280;
    EXPECT_EQ(animate_human_by_distance(&soldier.drone), 1);
    EXPECT_EQ(soldier.figure.animation_time, 100);
    EXPECT_EQ(animate_human_by_time(&soldier.drone), 1);
    EXPECT_EQ(soldier.figure.animation_time, 200);
    EXPECT_EQ(finish_human_animation(&soldier.drone), 1);
    EXPECT_EQ(soldier.figure.animation_time, 10200 % 1024);
    frame_seconds = 0.9;
    EXPECT_EQ(animate_human_by_time(&soldier.drone), 2);
    EXPECT_EQ(soldier.figure.animation_time, (10200 % 1024 + 900) % 1024);
}

TEST_F(SoldierAnimation, TheHookPosesAChangedSoldierOnceAtTheNearLevelsOnly) {
    Soldier soldier(916);
    soldier.figure.animation = 1;
    soldier.figure.animation_time = 512;  // frame 1
    soldier.figure.flags = HUMAN_POSE_CHANGED;
    for (int level : {2, 3}) pose_human_figure(&soldier.drone.object, level);
    EXPECT_EQ(soldier.joints[2].m[0][0], 0) << "posed at a far level";
    Soldier tank(50);
    tank.figure = soldier.figure;
    pose_human_figure(&tank.drone.object, 0);
    EXPECT_EQ(tank.joints[2].m[0][0], 0) << "posed an object that is no soldier";

    pose_human_figure(&soldier.drone.object, 1);
    EXPECT_FALSE(soldier.figure.flags & HUMAN_POSE_CHANGED);
    Matrix3 thigh;
    build_yx_rotation(4096u << 16, 0, thigh);
    EXPECT_EQ(std::memcmp(&soldier.joints[2], &thigh, sizeof thigh), 0);
    Matrix3 untilted, turned, root;
    build_z_rotation(0, untilted);
    build_rotation_matrix(0, 0, 0, turned);
    multiply_matrices(untilted, turned, root);
    EXPECT_EQ(std::memcmp(&soldier.drone.pose.matrix, &root, sizeof root), 0);
    Matrix3 straight, straight_foot;
    build_yx_rotation(0, 0, straight);
    build_zx_rotation(0, 0, straight_foot);
    for (int j : {1, 2, 4, 5, 6, 7, 8, 9, 10, 11}) {
        const Matrix3& expected = j == 5 || j == 10 || j == 11 ? straight_foot : straight;
        EXPECT_EQ(std::memcmp(&soldier.joints[j - 1], &expected, sizeof expected), 0) << "joint " << j;
    }

    soldier.joints[2] = {};
    pose_human_figure(&soldier.drone.object, 0);
    EXPECT_EQ(soldier.joints[2].m[0][0], 0) << "posed again without a change";
}

TEST_F(SoldierMoves, TheGeneratedMovementsLoadAndTheirWalksMatchTheSpeedBands) {
    use_generated_data();
    load_human_movements();
    int forms_with_joint_11 = 0;
    for (int i = 0; i < HUMAN_MOVEMENT_COUNT; ++i) {
        const HumanMovement& m = human_movements[i];
        ASSERT_GE(m.frame_count, 1) << human_movement_names[i];
        for (int f = 0; f < m.frame_count && !forms_with_joint_11; ++f) forms_with_joint_11 += frame(m, f)[3 + 11] != 0;
    }
    // The walk cycles by the body's speed bands (world units a second) in mm/s.
    const struct { int animation; double low, high; } bands[] = {
        {1, 0, 1771.2}, {2, 1771.2, 2851.2}, {3, 2851.2, 4017.6}, {4, 4017.6, 5183}, {5, 5183, 8000}};
    for (const auto& band : bands) {
        const double speed = human_movements[band.animation].speed_basis * 256.0 / (25 * 12);
        EXPECT_GT(speed, band.low) << human_movement_names[band.animation];
        EXPECT_LT(speed, band.high) << human_movement_names[band.animation];
    }
    EXPECT_EQ(human_movements[23].play_mode, MOVEMENT_ONE_SHOT);
    EXPECT_NE(human_movements[1].play_mode, MOVEMENT_ONE_SHOT);
}

}  // namespace
}  // namespace vyr
