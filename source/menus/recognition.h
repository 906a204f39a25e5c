// The vehicle recognition viewer.
#pragma once

namespace vyr {

struct UiObject;
extern UiObject* recognition_screen;
void create_recognition_screen();

}  // namespace vyr
