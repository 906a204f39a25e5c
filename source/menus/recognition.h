// The vehicle recognition viewer: the aircraft, vehicles and ships of the game, one at a time,
// turning in a window over a fixed backdrop with the name above, rendered by "Vehicle Visual".
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "library/maths/matrix.h"
#include "library/system/event.h"

namespace vyr {

struct ObjectInstance;
struct Screen;
struct UiObject;

constexpr int VIEWER_SUB_OBJECTS = 20;
constexpr int32_t VIEWER_LIST_END = -1;
// A distance of 0 frames the object at its r: the larger of its radius and height.
constexpr int32_t FRAME_AT_SIZE = 0;
constexpr uint32_t VIEWER_TURN = 0xB60B61;  // one degree a frame
constexpr uint32_t VIEWER_PRIORITY = 10000;

// One object of a list: where it is framed from and what fills its variable sub-object slots,
// slot 1 first; 0 leaves a slot empty.
struct ViewerEntry {
    int32_t object;
    int32_t distance;
    std::array<int32_t, VIEWER_SUB_OBJECTS> sub_objects;
};

// Each ends with an entry of object VIEWER_LIST_END.
extern const ViewerEntry aircraft_list[];
extern const ViewerEntry vehicle_list[];
extern const ViewerEntry ship_list[];

extern UiObject* recognition_screen;
extern const ViewerEntry* viewer_list;
extern int viewer_index;
// The object on view, null while none; its pose and the sub-object list it was built with.
extern ObjectInstance* viewer_object;
extern Pose viewer_object_pose;
extern std::array<int32_t, VIEWER_SUB_OBJECTS> viewer_sub_objects;
extern uint32_t viewer_angle;
extern Pose viewer_eye;
// The "Vehicle Visual" thread's id while it should run, 0 to stop it.
extern std::atomic<uint32_t> viewer_thread;
// 399 x 399, "menuscrn\vr_backd.lbm".
extern Screen* viewer_backdrop;

void create_recognition_screen();
void show_vehicle(int32_t object_number);
void show_aircraft_list(UiObject* object, Event& event);
void show_vehicle_list(UiObject* object, Event& event);
void show_ship_list(UiObject* object, Event& event);
void show_next_vehicle(UiObject* object, Event& event);
void show_previous_vehicle(UiObject* object, Event& event);
void recognition_screen_shown(UiObject* object, Event& event);
// The body of "Vehicle Visual".
void run_vehicle_viewer();

// What the caption shows of a long name: all of it up to its first "(".
const char* viewer_caption(const char* long_name, char* out, int size);
// The caption of the object on view at the top of the current plot window, over its shadow.
void draw_viewer_caption(int32_t object_number);

}  // namespace vyr
