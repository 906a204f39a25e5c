#include "source/drone/soldier_moves.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "library/3dvisual/instance.h"
#include "library/3dvisual/terrain.h"
#include "library/debug/fatal.h"
#include "library/maths/matrix.h"
#include "library/os/file.h"
#include "library/system/memory.h"
#include "source/drone/drone.h"
#include "source/drone/soldiers.h"
#include "source/frame_loop.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "source/drone/soldier_moves";

// A movement file: one or two letters, then decimal numbers apart by white space. Every failure
// names the file and what is wrong with it.
class MovementText {
public:
    MovementText(const std::string& path, const char* text, size_t size) : path_(path), at_(text), end_(text + size) {}

    char letter() {
        if (at_ == end_) fail("the play mode letter is missing");
        return *at_++;
    }

    int32_t number() {
        while (at_ != end_ && std::isspace(static_cast<unsigned char>(*at_))) ++at_;
        const bool negative = at_ != end_ && *at_ == '-';
        if (at_ != end_ && (*at_ == '-' || *at_ == '+')) ++at_;
        if (at_ == end_ || !std::isdigit(static_cast<unsigned char>(*at_))) fail("a number is missing");
        int64_t value = 0;
        for (; at_ != end_ && std::isdigit(static_cast<unsigned char>(*at_)); ++at_) {
            value = value * 10 + (*at_ - '0');
            if (value > int64_t{INT32_MAX} + 1) fail("a number is too large");
        }
        if (!negative && value > INT32_MAX) fail("a number is too large");
        return static_cast<int32_t>(negative ? -value : value);
    }

    // Each number takes at least two characters (a digit and a separator), so a file can hold no
    // more frames than this; a larger count cannot be filled.
    int64_t most_numbers_left() const { return (end_ - at_ + 1) / 2; }

    [[noreturn]] void fail(const char* what) const {
        report_fatal_error("Bad movement file %s: %s", SOURCE, __LINE__, path_.c_str(), what);
        std::abort();  // reached only when the fatal error returns during shut-down
    }

private:
    const std::string& path_;
    const char* at_;
    const char* end_;
};

// Frame values 0 and 1 are recorded in units 1,000 / 840 of a world unit.
int32_t scale_frame_value(int32_t value) { return static_cast<int32_t>(int64_t{value} * 840 / 1000); }

// Segments between frames: a looping movement's last frame blends back into frame 0.
int32_t segment_count(const HumanMovement& movement) {
    return movement.play_mode == MOVEMENT_ONE_SHOT ? movement.frame_count - 1 : movement.frame_count;
}

void set_whole_frame(const int32_t* frame) {
    human_pose.height = frame[1];
    human_pose.tilt = static_cast<uint32_t>(frame[2]) << 16;
    for (int i = 0; i < HUMAN_JOINT_COUNT; ++i) {
        human_pose.first[i] = static_cast<uint32_t>(frame[3 + i]) << 16;
        human_pose.second[i] = static_cast<uint32_t>(frame[3 + HUMAN_JOINT_COUNT + i]) << 16;
    }
}

// Binary angles: the products wrap modulo 2^32 as the angles do.
uint32_t blend_angle(int32_t a, uint32_t wa, int32_t b, uint32_t wb) {
    return static_cast<uint32_t>(a) * wa + static_cast<uint32_t>(b) * wb;
}

HumanFigure* figure_of(Drone* drone) { return drone->class_record; }

int advance_figure(Drone* drone, int32_t milliseconds) {
    HumanFigure* figure = figure_of(drone);
    figure->flags |= HUMAN_POSE_CHANGED;
    return advance_movement_time(human_movements[figure->animation], milliseconds, figure->animation_time);
}

int32_t to_milliseconds(double value) {
    return static_cast<int32_t>(std::lround(std::fmin(std::fmax(value, 0.0), static_cast<double>(INT32_MAX))));
}

}  // namespace

HumanMovement human_movements[HUMAN_MOVEMENT_COUNT];
HumanPose human_pose;

const char* const human_movement_names[HUMAN_MOVEMENT_COUNT] = {
    "default", "walk",    "walk_jog", "jog",     "jog_run", "run",      "m_w",      "m_wj",    "m_j",
    "m_jr",    "m_r",     "r_d",      "r_w",     "r_wj",    "r_j",      "r_jr",     "r_r",     "s_d",
    "s_w",     "s_wj",    "s_j",      "s_jr",    "s_r",     "die_n",    "die_n_t",  "die_e",   "die_e_t",
    "die_s",   "die_s_t", "die_w",    "die_w_t", "ikneel",  "kneelup",  "okneel",   "r_ik",    "r_ku",
    "r_ok",    "ishoot",  "shootup",  "oshoot",  "r_is",    "r_su",     "r_os",     "s_is",    "s_su",
    "s_os",    "idive",   "odive",    "get_in",  "get_out", "dshk",     "hmg",      "casualty", "wave",
    "r_wave",  "s_wave",  "gun",      "r_g",     "s_g",     "scratch",  "r_s",      "s_s",     "look",
    "r_l",     "s_l",     "hip",      "r_h",     "s_h",     "nuts",     "r_n",      "s_n",     "swing",
    "r_sw",    "s_sw"};

void load_human_movements() {
    for (int i = 0; i < HUMAN_MOVEMENT_COUNT; ++i) read_movement_file(&human_movements[i], human_movement_names[i]);
}

int read_movement_file(HumanMovement* record, const char* name) {
    const std::string path = std::string("3DDATA\\") + name + ".ROT";
    if (!check_file_exists(path.c_str()))
        report_fatal_error("Unable to open movement file %s", SOURCE, __LINE__, path.c_str());
    size_t size = 0;
    char* bytes = static_cast<char*>(load_file_alloc(path.c_str(), &size, SOURCE, __LINE__));
    MovementText text(path, bytes, size);
    const char first = text.letter();
    const bool twelve_joints = first == 'G' || first == 'H';
    record->play_mode = twelve_joints ? text.letter() : first;
    record->frame_count = text.number();
    record->duration = text.number();
    record->speed_basis = text.number();
    const bool two_angles = first == 'H' || text.number() == 3;
    if (record->frame_count < 1) text.fail("the frame count is below 1");
    if (record->duration < std::max(1, segment_count(*record)))
        text.fail("the duration is shorter than the frame count");
    if (record->speed_basis < 1) text.fail("the speed basis is below 1");
    if (record->frame_count > text.most_numbers_left()) text.fail("the file holds fewer frames than its count");
    record->frames.assign(size_t(record->frame_count) * MOVEMENT_FRAME_VALUES, 0);
    const int joints = twelve_joints ? HUMAN_JOINT_COUNT : HUMAN_JOINT_COUNT - 1;
    for (int f = 0; f < record->frame_count; ++f) {
        int32_t* frame = &record->frames[size_t(f) * MOVEMENT_FRAME_VALUES];
        frame[0] = scale_frame_value(text.number());
        frame[1] = scale_frame_value(text.number());
        if (first == 'H') frame[2] = text.number();
        for (int j = 0; j < joints; ++j) {
            frame[3 + j] = text.number();
            if (two_angles) frame[3 + HUMAN_JOINT_COUNT + j] = text.number();
        }
    }
    free_memory(bytes, SOURCE, __LINE__);
    return 1;
}

int advance_movement_time(const HumanMovement& movement, int32_t milliseconds, int32_t& time) {
    int64_t t = int64_t{time} + milliseconds;
    int ended = 0;
    if (t >= movement.duration) {
        t = movement.play_mode == MOVEMENT_ONE_SHOT ? movement.duration : t % movement.duration;
        ended = 1;
    }
    if (t > movement.duration) report_fatal_error("Cycled value too big!", SOURCE, __LINE__);
    if (t < 0) report_fatal_error("Cycled value is negative!", SOURCE, __LINE__);
    time = static_cast<int32_t>(t);
    return ended;
}

int animate_human_by_time(Drone* drone) { return advance_figure(drone, to_milliseconds(frame_seconds * 1000.0)) + 1; }

// The distance walked in millimetres (25 mm to the inch, 256 world units to the foot) over the
// speed the cycle was recorded for.
int animate_human_by_distance(Drone* drone) {
    const HumanMovement& movement = human_movements[figure_of(drone)->animation];
    const double ms =
        drone->speed * frame_seconds * 25.0 * 12.0 * 1000.0 / (static_cast<double>(movement.speed_basis) * 256.0);
    return advance_figure(drone, to_milliseconds(ms)) + 1;
}

int finish_human_animation(Drone* drone) { return advance_figure(drone, 10000); }

// A time outside the movement (an aim elevation kept as the time, a movement changed under a
// time) is held to its ends rather than read past the frames.
void interpolate_movement(const HumanMovement& movement, int32_t time) {
    time = std::clamp(time, 0, movement.duration);
    const int64_t n = segment_count(movement);
    const int64_t duration = movement.duration;
    if (time == movement.duration || n == 0) {
        set_whole_frame(&movement.frames[size_t(n == 0 ? 0 : movement.frame_count - 1) * MOVEMENT_FRAME_VALUES]);
        return;
    }
    const int64_t f0 = time * n / duration;
    const int64_t f1 = f0 + 1 == movement.frame_count ? 0 : f0 + 1;
    const int64_t segment = duration / n;
    const int64_t k = n * 65536 / duration;
    int64_t w0 = duration * f1 / n - time;
    int64_t w1 = time - duration * f0 / n;
    if (w0 < 0) w0 += duration;
    if (w1 < 0) w1 += duration;
    const int32_t* a = &movement.frames[size_t(f0) * MOVEMENT_FRAME_VALUES];
    const int32_t* b = &movement.frames[size_t(f1) * MOVEMENT_FRAME_VALUES];
    human_pose.height = static_cast<int32_t>((int64_t{b[1]} * w1 + int64_t{a[1]} * w0) / segment);
    const uint32_t wa = static_cast<uint32_t>(w0 * k), wb = static_cast<uint32_t>(w1 * k);
    human_pose.tilt = blend_angle(a[2], wa, b[2], wb);
    for (int i = 0; i < HUMAN_JOINT_COUNT; ++i) {
        human_pose.first[i] = blend_angle(a[3 + i], wa, b[3 + i], wb);
        human_pose.second[i] = blend_angle(a[3 + HUMAN_JOINT_COUNT + i], wa, b[3 + HUMAN_JOINT_COUNT + i], wb);
    }
}

// Soldiers stand on the terrain: the recorded height counts from the ground under them.
void apply_human_pose(Drone* drone) {
    HumanFigure* figure = figure_of(drone);
    drone->pose.position.z = get_ground_height(drone->pose.position.x, drone->pose.position.y) + human_pose.height;
    Matrix3 tilt;
    Matrix3 turn;
    build_z_rotation(0u - human_pose.tilt, tilt);
    build_rotation_matrix(drone->heading, human_pose.first[0], human_pose.second[0], turn);
    multiply_matrices(tilt, turn, drone->pose.matrix);
    for (int j = 1; j < HUMAN_JOINT_COUNT; ++j) {
        Matrix3* joint = figure->joints[j - 1];
        if (!joint) continue;
        const uint32_t a = human_pose.first[j], b = 0u - human_pose.second[j];
        if (j == 5 || j == 10 || j == 11)
            build_zx_rotation(a, b, *joint);
        else
            build_yx_rotation(a, b, *joint);
    }
}

void pose_human_now(Drone* drone) {
    const HumanFigure* figure = figure_of(drone);
    interpolate_movement(human_movements[figure->animation], figure->animation_time);
    apply_human_pose(drone);
}

void pose_human_figure(void* instance, int level) {
    const ObjectInstance* object = static_cast<ObjectInstance*>(instance);
    if (level > 1 || object->owner_kind != OWNER_DRONE || !object->owner) return;
    if (get_soldier_set(object->object_type) == SoldierSet::NONE) return;
    Drone* drone = static_cast<Drone*>(object->owner);
    HumanFigure* figure = figure_of(drone);
    if (!figure || !(figure->flags & HUMAN_POSE_CHANGED)) return;
    pose_human_now(drone);
    figure->flags &= ~HUMAN_POSE_CHANGED;
}

}  // namespace vyr
