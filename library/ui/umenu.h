// Pop-up menus: opened by a right press, they follow the pointer while the button is held and
// choose the item under it on release; a release anywhere closes them.
#pragma once

#include "library/graphics/font.h"
#include "library/ui/object.h"

namespace vyr {

// The font of menu items.
extern const Font* ui_menu_font;
// Where the next item or line goes, relative to the menu; a new menu starts it at 2.
extern int menu_row;

// The menu is placed under the owner's screen, centred on (x, y), and holds the pointer until
// the buttons are released; `tags` add items and lines and set the notify callback.
UiObject* popup_menu_list(UiObject* owner, int x, int y, const UiTag* tags);
// popup_menu(owner, x, y, tag, values ..., 0)
template <typename... Tags>
UiObject* popup_menu(UiObject* owner, int x, int y, Tags... tags) {
    const UiTag list[] = {UiTag(tags)..., UiTag()};
    return popup_menu_list(owner, x, y, list);
}
// Sizes the menu to its items, centres it on (x, y) and keeps it inside its parent.
void place_menu(UiObject* menu, int x, int y);
void add_menu_line(UiObject* menu);
void add_menu_item(UiObject* menu, int id, const char* text);

void measure_menu(UiObject* menu);
void measure_menu_line(UiObject* line);
void measure_menu_item(UiObject* item);
void handle_menu_event(UiObject* menu, Event& event);
void draw_menu(UiObject* menu);
void draw_menu_line(UiObject* line);
void draw_menu_item(UiObject* item);

}  // namespace vyr
