// Stand-in for the task box of the mission map, which is not built yet.
#include "source/menus/maps/task_box.h"

namespace vyr {

UiObject* task_box = nullptr;

void create_task_box(UiObject*) {}
void rebuild_task_box(int) {}
void handle_task_click(UiObject*, Event&) {}

}  // namespace vyr
