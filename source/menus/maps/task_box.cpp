#include "source/menus/maps/task_box.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "library/debug/fatal.h"
#include "library/graphics/font.h"
#include "library/ui/object.h"
#include "library/ui/setattr.h"
#include "library/ui/utext.h"
#include "source/drone/drone.h"
#include "source/drone/formations.h"
#include "source/drone/task.h"
#include "source/menus/front_end.h"
#include "source/menus/logs/pilot_log.h"
#include "source/menus/maps/waypoint_tool.h"
#include "source/mission/selection.h"
#include "source/weapons/object_types.h"

namespace vyr {

UiObject* task_box = nullptr;
UiObject* task_text = nullptr;
TaskLine task_lines[TASK_BOX_LINES] = {};

namespace {

constexpr const char* SOURCE_PATH = "source/menus/maps/task_box";
constexpr int BOX_WIDTH = 300, LINE_PIXELS = 15, EXTRA_LINES = 4;
constexpr int LIST_INSET = 22;
constexpr size_t NAME_COLUMN = 9;  // the colon stands after at least this many characters

std::string padded(std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

}  // namespace

void create_task_box(UiObject* map) {
    task_box = create_ui_object(UI_WINDOW, map, "Task Box", ATTR_POS, 10, 10, ATTR_SIZE, BOX_WIDTH, 120, ATTR_CLOSE_BOX,
                                ATTR_MOVABLE, 1, ATTR_SHOWN, 0, ATTR_NOTIFY, size_task_box, ATTR_NOTIFY_EVENT, EV_SIZE);
    create_ui_object(UI_TEXT, task_box, "Task Box Title", ATTR_POS, 20, 4, ATTR_SIZE, 80, 20, ATTR_TEXT, "Task Box",
                     ATTR_FONT, &menu_font, ATTR_INPUT, 0);
    task_text = create_ui_object(UI_TEXT, task_box, "Task Text", ATTR_POS, 20, 14, ATTR_SIZE, 100, 100, ATTR_TEXT,
                                 "No task", ATTR_FONT, &menu_font, ATTR_SELECTABLE, 1, ATTR_TOP_LINE, 0,
                                 ATTR_SELECTED_LINE, 0, ATTR_NOTIFY, handle_task_click);
}

void size_task_box(UiObject* object, Event&) {
    if (!task_text) return;
    resize_ui_object(task_text, std::max(object->x1 - object->x0 - LIST_INSET, 1),
                     std::max(object->y1 - object->y0 - LIST_INSET, 1));
}

void rebuild_task_box(int select) {
    if (!task_box) return;
    std::fill(std::begin(task_lines), std::end(task_lines), TaskLine{});
    Task* task = get_first_task();
    int drones = 0;
    for (Drone* d = task ? task->first_drone : nullptr; d; d = get_next_drone(d)) ++drones;
    resize_ui_object(task_box, BOX_WIDTH, LINE_PIXELS * (drones + EXTRA_LINES));
    std::string text = "\n";
    // The wingmen's colons line up under the pilot's, when the pilot heads the list.
    size_t colon = 0;
    if (task && task == get_user_task()) {
        const std::string name = get_log_name(current_pilot_log);
        colon = std::max(name.size(), NAME_COLUMN);
        text += padded(name, colon) + ": ";
    }
    const bool selecting = select == 1 && task && task == get_selected_task();
    int selected_line = -1;
    if (selecting && !get_selected_drone()) selected_line = 0;
    int line = 1;
    for (Drone* d = task ? task->first_drone : nullptr; d; d = get_next_drone(d), ++line) {
        if (line < TASK_BOX_LINES) task_lines[line] = {TASK_LINE_DRONE, task, d};
        if (d->formation_type) {
            text += "  Formation : ";
            text += formation_names[d->formation_type];
        } else {
            const int object_number = get_drone_object_number(d);
            if (object_number == 0) report_fatal_error("Unknown Drone Object Number", SOURCE_PATH, __LINE__);
            if (line > 1) text += padded("Wingman ", colon) + ": ";
            text += get_object_type_name(object_number);
        }
        text += "\n";
        if (selecting && d == get_selected_drone()) selected_line = line;
    }
    set_ui_text(task_text, text.c_str());
    if (selected_line >= 0) set_ui_attrs(task_text, ATTR_SELECTED_LINE, selected_line);
}

void handle_task_click(UiObject* object, Event& event) {
    if (event.type != EV_MOUSE_CLICK || (event.value != 1 && event.value != 2)) return;
    const Font* font = object->font ? object->font : &menu_font;
    const int line = (event.y - object->y0) / (font->height + 1) + object->param2;
    if (line < 0 || line >= TASK_BOX_LINES) return;
    if (event.value == 2) {
        set_ui_attrs(object, ATTR_SELECTED_LINE, line);
        return;
    }
    const TaskLine& entry = task_lines[line];
    if (entry.kind == TASK_LINE_EMPTY || line == 0 || line == object->selection) return;
    set_ui_attrs(object, ATTR_SELECTED_LINE, line);
    if (entry.kind != TASK_LINE_DRONE) return;
    select_drone(entry.drone);
    build_route_draw_list();
    refresh_waypoint_buttons();
    refresh_waypoint_info();
    rebuild_task_box(0);
}

}  // namespace vyr
