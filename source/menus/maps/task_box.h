// The task box of the mission map: the aircraft of the player's flight, one line each; a click on
// a line selects that aircraft, whose route the waypoint tool then edits.
#pragma once

#include <cstdint>

#include "library/system/event.h"

namespace vyr {

struct Drone;
struct Task;
struct UiObject;

constexpr int TASK_BOX_LINES = 1000;
enum TaskLineKind : int32_t { TASK_LINE_EMPTY = 0, TASK_LINE_DRONE = 2 };
struct TaskLine {
    int32_t kind;
    Task* task;
    Drone* drone;
};
// One entry per line of the list.
extern TaskLine task_lines[TASK_BOX_LINES];

void create_task_box(UiObject* map);
extern UiObject* task_box;
extern UiObject* task_text;
// The box sized to the first task's flight; with select 1 the selected drone's line is selected.
void rebuild_task_box(int select);
// The list's width and height follow the box's.
void size_task_box(UiObject* object, Event& event);
// The list's notify: a left click selects the line's drone, a right click only the line.
void handle_task_click(UiObject* object, Event& event);

}  // namespace vyr
