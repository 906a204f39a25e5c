// The sprite object: shows a Sprite and reports a click released over it.
#pragma once

#include "library/ui/object.h"

namespace vyr {

void handle_sprite_event(UiObject* object, Event& event);
void draw_sprite_object(UiObject* object);

}  // namespace vyr
