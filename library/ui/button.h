// Push buttons and radio buttons: pressed by the left button, they send EV_SELECT when released
// over themselves. A button with a picture shows it only while pressed (its pressed look over
// the screen's background picture).
#pragma once

#include "library/ui/object.h"

namespace vyr {

// State 1 on the radio and 0 on every other radio among its siblings.
void select_radio(UiObject* radio);
// The object's text centred in its rectangle, 3 pixels higher over a picture.
void draw_ui_label(const UiObject* object, bool over_picture);
// Loads the pressed-look picture when shown, frees its decoded pixels when hidden, frees it all
// when destroyed: the EV_DISPLAY and EV_DESTROY part of the handlers of the picture-bearing types.
void follow_picture_display(UiObject* object, const Event& event);
// The picture of a picture-bearing object while its state is on; false when it has no picture
// file (it then draws its own face).
bool draw_pressed_picture(UiObject* object);

void handle_button(UiObject* object, Event& event);
void handle_radio(UiObject* object, Event& event);
void draw_button(UiObject* object);
void draw_radio(UiObject* object);

}  // namespace vyr
