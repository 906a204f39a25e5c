// A fresh object tree under a 640 x 480 root for each test, and a notify callback that logs
// what reaches each object.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/graphics/ddraw.h"
#include "library/ui/object.h"
#include "library/ui/repaint.h"
#include "library/ui/setattr.h"

namespace vyr {

struct LoggedEvent {
    UiObject* object;
    Event event;
};

inline std::vector<LoggedEvent> event_log;

inline void log_event(UiObject* object, Event& event) { event_log.push_back({object, event}); }

// "type:value" of every logged event of the object, in order.
inline std::string events_of(const UiObject* object, int type = -1) {
    std::string text;
    for (const LoggedEvent& logged : event_log)
        if (logged.object == object && (type < 0 || logged.event.type == type))
            text += std::to_string(logged.event.type) + ":" + std::to_string(logged.event.value) + " ";
    return text;
}

// The names of an object's children, front to back.
inline std::string children_of(const UiObject* object) {
    std::string text;
    for (const UiObject* child = object->first_child; child; child = child->next_sibling)
        text += std::string(child->name) + " ";
    return text;
}

class UiTree : public testing::Test {
protected:
    void SetUp() override {
        set_display_clip(0, 0, 639, 479);
        root = create_ui_object(UI_BOX, nullptr, "Root", ATTR_RECT, 0, 0, 639, 479, 0);
        event_log.clear();
        repaint_count = 0;
    }

    void TearDown() override {
        destroy_ui_tree();
        ui_under_pointer = ui_key_focus = ui_joy_focus = ui_captured = nullptr;
    }

    // A logged child at (x, y) relative to the parent, of the given size.
    UiObject* make(const char* name, UiObject* parent, int x, int y, int width, int height, UiType type = UI_BOX) {
        return create_ui_object(type, parent, name, ATTR_POS, x, y, ATTR_SIZE, width, height, ATTR_NOTIFY,
                                log_event, 0);
    }

    UiObject* root = nullptr;
};

}  // namespace vyr
