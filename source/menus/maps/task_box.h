// The task box of the mission map: the aircraft of the player's flight, one line each.
#pragma once

#include "library/system/event.h"

namespace vyr {

struct UiObject;

void create_task_box(UiObject* map);
extern UiObject* task_box;
// With select 1 the selected drone's line is selected.
void rebuild_task_box(int select);
void handle_task_click(UiObject* object, Event& event);

}  // namespace vyr
