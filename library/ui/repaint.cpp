#include "library/ui/repaint.h"

#include <algorithm>

#include "library/graphics/ddraw.h"
#include "library/system/exit.h"

namespace vyr {

int repaint_count = 0;

void invalidate_ui_object(UiObject* object, int whole) {
    if (shutting_down) return;
    int was_visible = object->visible;
    if (ui_list_dirty) rebuild_visible_list();
    if (was_visible || object->visible)
        invalidate_area(object->vis_x0, object->vis_y0, object->vis_x1, object->vis_y1, whole);
}

void invalidate_area(int x0, int y0, int x1, int y1, int) {
    if (shutting_down) return;
    if (x0 > display_clip_x1 || y0 > display_clip_y1 || x1 < display_clip_x0 || y1 < display_clip_y0) return;
    ++repaint_count;
}

}  // namespace vyr
