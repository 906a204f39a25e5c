// Picture objects: an IFF picture loaded when the object is shown and freed when it is hidden,
// decoded into the object's own screen and drawn plain or through a mask; part of its colour map
// goes into the base palette. Buttons and toggles use the same picture fields for their pressed
// look.
#pragma once

#include "library/ui/object.h"

namespace vyr {

// Frees the old picture and its name and keeps a copy of the new name; nothing is read yet.
void set_ui_picture(UiObject* object, const char* file_name);
// Reads the file's header, colour map and body; a missing file leaves the object without them.
void load_ui_picture(UiObject* object);
// Decodes the body into a new screen of the object's size.
void decode_ui_picture(UiObject* object);
// Copies the colour-map entries of the object's palette range into the base palette.
void install_picture_palette(const UiObject* object);
// Loads and decodes what is missing, and decodes again a screen of another size than the object's;
// the object's screen, or null without a picture.
Screen* prepare_ui_picture(UiObject* object);
// Frees the name, body and colour map (the screen is the object's own business).
void release_ui_picture(UiObject* object);
void link_picture_scroller(UiObject* picture, UiObject* scroll_bar);
// Frees the data of every hidden picture object from the object down and on along its siblings:
// 1 when any body or colour map was freed.
int free_hidden_pictures(UiObject* object);
// Low-memory handler: the walk from the root.
int free_pictures_on_low_memory(size_t size);

void handle_picture(UiObject* object, Event& event);
void draw_picture(UiObject* object);

}  // namespace vyr
