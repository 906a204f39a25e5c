// The payload window over the mission map: the aircraft with its eleven hardpoints, the store
// picks, the stores shown where they hang, the weight and the salvo window.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "library/3dvisual/world_palette.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/rect.h"
#include "library/ui/object.h"
#include "library/ui/setattr.h"
#include "library/ui/umenu.h"
#include "library/ui/utext.h"
#include "source/menus/front_end.h"
#include "source/menus/missions/payload.h"

namespace vyr {

UiObject* payload_window = nullptr;

namespace {

constexpr int NO_HARDPOINT = 11;
constexpr int HIGHLIGHT_WIDTH = 35, HIGHLIGHT_HEIGHT = 70;
constexpr int ROCKETS_HE = 3, ROCKETS_AT = 4;
constexpr int SALVO_ROW_OBJECTS = 5;
constexpr int SALVO_PYLONS[2] = {2, 3};  // the "MID" and "INNER" rows
constexpr uint32_t SALVO_NAME_FILL = 247u * 0x01010101u;

const char* const SELECT_WEAPON = "\n      SELECT A WEAPON";
const char* const SELECT_HARDPOINT = "\n    SELECT A HARDPOINT";

constexpr int HIGHLIGHT_CENTRES[PAYLOAD_HARDPOINTS][2] = {{47, 261},  {84, 271},  {123, 265}, {173, 263},
                                                          {243, 215}, {424, 299}, {394, 298}, {360, 287},
                                                          {315, 277}, {285, 222}, {245, 285}};

struct StorePicture {
    const char* file;
    int x, y, width, height;  // the pick's place and the picture's size
    int spread_x, spread_y;   // between the stores of one hardpoint
};
const StorePicture STORE_PICTURES[PAYLOAD_STORES] = {
    {"menuscrn\\gepod.bbm", 439, 111, 51, 112, 0, 0},    {"menuscrn\\aim-9l.bbm", 321, 400, 34, 71, 0, 0},
    {"menuscrn\\amraam.bbm", 368, 376, 39, 95, 7, 0},    {"menuscrn\\lau-3a.bbm", 110, 430, 26, 42, 0, 0},
    {"menuscrn\\lau-3a.bbm", 110, 430, 26, 42, 10, 0},   {"menuscrn\\mav_tv.bbm", 489, 8, 33, 68, 10, 0},
    {"menuscrn\\mav_ir.bbm", 435, 8, 33, 67, 10, 0},     {"menuscrn\\durandal.bbm", 331, 10, 27, 63, 7, 0},
    {"menuscrn\\harm.bbm", 370, 9, 41, 107, 0, 0},       {"menuscrn\\mk_82.bbm", 21, 7, 22, 55, 9, 20},
    {"menuscrn\\mk_82ret.bbm", 94, 115, 22, 56, 10, 21}, {"menuscrn\\mk_82pv.bbm", 251, 7, 34, 81, 8, 0},
    {"menuscrn\\mk_83.bbm", 55, 7, 30, 74, 10, 0},       {"menuscrn\\mk_83ret.bbm", 54, 106, 32, 77, 12, 0},
    {"menuscrn\\mk_83pv.bbm", 199, 5, 43, 98, 10, 0},    {"menuscrn\\mk_84.bbm", 98, 6, 36, 92, 0, 0},
    {"menuscrn\\mk_84ret.bbm", 3, 98, 40, 96, 0, 0},     {"menuscrn\\mk_84pv.bbm", 139, 7, 53, 113, 0, 0},
    {"menuscrn\\cbu-87.bbm", 54, 415, 26, 56, 10, 20},   {"menuscrn\\cbu-89.bbm", 6, 413, 26, 56, 10, 20},
    {"menuscrn\\alq-131.bbm", 508, 160, 26, 61, 0, 0},   {"menuscrn\\lant_l.bbm", 193, 403, 29, 67, 0, 0},
    {"menuscrn\\lant_r.bbm", 245, 413, 24, 59, 0, 0},    {"menuscrn\\orpheus.bbm", 568, 135, 41, 90, 0, 0},
    {"menuscrn\\fuel_1.bbm", 588, 12, 50, 95, 0, 0},     {"menuscrn\\fuel_2.bbm", 517, 5, 64, 130, 0, 0},
};

// The fixed nudge of each position code of the 3 x 3 grid.
constexpr int NUDGES[PAYLOAD_POSITION_CODES][2] = {{8, -6}, {6, 6},  {6, -3}, {0, 0}, {-1, 6},
                                                    {-1, 3}, {-8, 0}, {-6, 6}, {-6, 3}};

UiObject* info_text = nullptr;
UiObject* weight_text = nullptr;
UiObject* salvo_window = nullptr;
UiObject* picks[PAYLOAD_STORES] = {};
Sprite store_sprites[PAYLOAD_STORES] = {};
std::vector<uint8_t> store_pixels;
Sprite highlight_sprite = {};
std::vector<uint8_t> highlight_pixels;
UiObject* salvo_rows[2][SALVO_ROW_OBJECTS] = {};
UiObject* salvo_numbers[2] = {};

int selected = NO_HARDPOINT;
int clearing = 0;
// The picture whose click is being handled: it is destroyed once the click is delivered.
UiObject* clicked_picture = nullptr;

int mirror_of(int pylon) {
    const int mirror = payload_pylons[pylon].reflection - 1;
    return mirror >= 0 && mirror != pylon ? mirror : -1;
}

// The hardpoint and its mirror's highlights, in front of the back drop or under it.
void raise_highlights(int pylon, bool front) {
    for (int p : {pylon, mirror_of(pylon)}) {
        if (p < 0 || !payload_pylons[p].highlight) continue;
        if (front)
            raise_ui_object(payload_pylons[p].highlight);
        else
            lower_ui_object(payload_pylons[p].highlight);
    }
}

void show_highlights(int pylon, int on) {
    for (int p : {pylon, mirror_of(pylon)})
        if (p >= 0 && payload_pylons[p].highlight) show_ui_object(payload_pylons[p].highlight, on);
}

// Transparent pixels let clicks and the pointer's text through.
bool over_picture(const UiObject* object, const Event& event) {
    const Sprite* s = object->sprite;
    const int x = event.x - object->x0, y = event.y - object->y0;
    return s && x >= 0 && y >= 0 && x < s->width && y < s->height && s->pixels[y * s->width + x] != 0;
}

std::string store_name(int store) {
    if (store == ROCKETS_HE || store == ROCKETS_AT)
        return std::string("\n\tName: ") + (store == ROCKETS_HE ? "M151 HIGH EXPLOSIVE " : "M247 ANTI TANK      ") +
               "\n\t\t\t\t\t\t\t\tROCKETS";
    const PayloadWeapon& w = payload_weapons[store];
    std::string text = "\n\tName: " + w.description_1;
    if (w.has_description_2) text += "\n\t\t\t\t\t\t\t\t" + w.description_2;
    return text;
}

void select_hardpoint(int pylon) {
    if (pylon == selected) return;
    if (selected != NO_HARDPOINT) raise_highlights(selected, false);
    selected = pylon;
    raise_highlights(pylon, true);
    for (int store = 0; store < PAYLOAD_STORES; ++store)
        show_ui_object(picks[store], payload_pylons[pylon].allowed[store] > 0);
    set_ui_text(info_text, SELECT_WEAPON);
}

void hide_picks() {
    for (UiObject* pick : picks) show_ui_object(pick, 0);
}

void handle_highlight(UiObject* object, Event& event) {
    const int pylon = object->id;
    const bool is_selected = selected != NO_HARDPOINT && (pylon == selected || pylon == mirror_of(selected));
    switch (event.type) {
    case EV_ENTER:
        if (!is_selected) raise_highlights(pylon, true);
        break;
    case EV_LEAVE:
        if (!is_selected) raise_highlights(pylon, false);
        break;
    case EV_SELECT: select_hardpoint(pylon); break;
    default: break;
    }
}

void choose_count(UiObject*, Event& event) {
    if (selected != NO_HARDPOINT) load_pylon(selected, event.value + 1);
}

void choose_store(UiObject* pick, int store) {
    payload_pylons[selected].weapon = store;
    const int allowed = std::min(payload_pylons[selected].allowed[store], PAYLOAD_MAX_COUNT);
    if (allowed <= 1) {
        load_pylon(selected, 1);
        return;
    }
    const StorePicture& p = STORE_PICTURES[store];
    int y = p.y + p.height / 2;
    if (store == 18 || store == 19) y = selected == 3 || selected == 8 ? p.y - p.height / 2 : p.y;
    UiObject* menu = popup_menu(pick, p.x + p.width / 2, y, ATTR_NOTIFY, choose_count);
    for (int k = 0; k < allowed; ++k) add_menu_item(menu, k, (" " + std::to_string(k + 1) + " ").c_str());
    place_menu(menu, p.x + p.width / 2, y);
    set_ui_text(info_text, "\n\t\t\t\tMultiple bombs can be \n\t\t\t\tfitted to this hardpoint\n"
                           "\t\t\t\tSelect the number of \n\t\t\t\tbombs from the menu");
}

void choose_rockets(UiObject*, Event& event) {
    if (selected != NO_HARDPOINT) choose_store(picks[event.value ? ROCKETS_AT : ROCKETS_HE], event.value ? ROCKETS_AT : ROCKETS_HE);
}

void handle_pick(UiObject* object, Event& event) {
    const int store = object->id;
    if (!over_picture(object, event)) {
        if (event.type == EV_MOUSE_MOVE) set_ui_text(info_text, SELECT_WEAPON);
        return;
    }
    if (event.type == EV_MOUSE_MOVE) {
        set_ui_text(info_text, store_name(store).c_str());
        return;
    }
    // A pick left shown with no hardpoint selected has nowhere to load.
    if (event.type != EV_SELECT || selected == NO_HARDPOINT) return;
    if (store == ROCKETS_HE || store == ROCKETS_AT) {
        const UiTag items[] = {ATTR_MENU_ITEM, 0, "M151 High Explosive", ATTR_MENU_ITEM, 1, "M247 Anti-Tank",
                               ATTR_NOTIFY, UiNotify(choose_rockets), UiTag()};
        const Font* kept = ui_menu_font;
        ui_menu_font = &menu_font_tall;
        popup_menu_list(object, event.x, event.y, items);
        ui_menu_font = kept;
        return;
    }
    choose_store(object, store);
}

void unload_from_screen(int pylon) {
    unload_pylon(pylon);
    if (!clearing) raise_highlights(pylon, true);
    if (selected != NO_HARDPOINT) raise_highlights(selected, false);
    set_ui_text(info_text, SELECT_WEAPON);
    refresh_payload_weight();
    const int mirror = mirror_of(pylon);
    selected = NO_HARDPOINT;
    select_hardpoint(mirror >= 0 ? mirror : pylon);
}

void handle_placed_picture(UiObject* object, Event& event) {
    const int pylon = object->id;
    if (!over_picture(object, event)) {
        if (event.type == EV_MOUSE_MOVE) set_ui_text(info_text, selected != NO_HARDPOINT ? SELECT_WEAPON : SELECT_HARDPOINT);
        return;
    }
    if (event.type == EV_MOUSE_MOVE) {
        set_ui_text(info_text, store_name(payload_pylons[pylon].weapon).c_str());
        return;
    }
    if (event.type != EV_SELECT) return;
    clicked_picture = object;
    unload_from_screen(pylon);
    clicked_picture = nullptr;
}

void destroy_pictures(int pylon) {
    for (UiObject* picture : payload_pylons[pylon].pictures) {
        if (picture == clicked_picture) {
            show_ui_object(picture, 0);
            request_ui_destroy(picture);
        } else {
            destroy_ui_object(picture);
        }
    }
    payload_pylons[pylon].pictures.clear();
}

void accept_payload() {
    for (int pylon = 0; pylon < PAYLOAD_HARDPOINTS; ++pylon) destroy_pictures(pylon);
    show_ui_object(salvo_window, 0);
    show_ui_object(payload_window, 0);
    build_world_palette();
}

void write_salvo_number(int row) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", int(payload_pylons[SALVO_PYLONS[row]].salvo_size));
    set_ui_text(salvo_numbers[row], text);
}

void step_salvo(UiObject* object, int up) {
    step_salvo_size(object->id, up);
    for (int row = 0; row < 2; ++row)
        if (salvo_numbers[row]) write_salvo_number(row);
}
void salvo_minus(UiObject* object, Event&) { step_salvo(object, 0); }
void salvo_plus(UiObject* object, Event&) { step_salvo(object, 1); }

void destroy_salvo_rows() {
    for (auto& row : salvo_rows)
        for (UiObject*& object : row) {
            if (object) destroy_ui_object(object);
            object = nullptr;
        }
    salvo_numbers[0] = salvo_numbers[1] = nullptr;
}

UiObject* salvo_box(int x, int y, int width, const char* text, int text_x, uint32_t fill) {
    UiObject* box = create_ui_object(UI_BOX, salvo_window, "salvo box", ATTR_POS, x, y, ATTR_SIZE, width, 15,
                                     ATTR_ON_TOP, 1, ATTR_INPUT, 0);
    if (fill) set_ui_attrs(box, ATTR_COLOUR, fill);
    create_ui_object(UI_TEXT, box, "salvo box text", ATTR_POS, text_x, 0, ATTR_SIZE, width - text_x, 15, ATTR_TEXT,
                     text, ATTR_FONT, &menu_font, ATTR_INPUT, 0);
    return box;
}

void open_salvo_window() {
    destroy_salvo_rows();
    int y = 235;
    for (int row = 0; row < 2; ++row) {
        const int pylon = SALVO_PYLONS[row];
        const int store = payload_pylons[pylon].weapon;
        if (!is_valid_store(store) || !is_bomb(store)) continue;
        const char* suffix = row == 0 ? "1" : "2";
        UiObject** objects = salvo_rows[row];
        objects[0] = salvo_box(30, y, 70, payload_weapons[store].short_description.c_str(), 5, SALVO_NAME_FILL);
        objects[1] = salvo_box(175, y, 40, row == 0 ? "MID" : "INNER", 5, 0);
        objects[2] = create_ui_object(UI_BUTTON, salvo_window, "Minus Button", ATTR_RECT, 286, y - 2, 305, y + 13,
                                      ATTR_PICTURE, (std::string("menuscrn\\minus") + suffix + ".bbm").c_str(),
                                      ATTR_ID, pylon, ATTR_NOTIFY, salvo_minus, ATTR_NOTIFY_EVENT, EV_SELECT);
        objects[3] = salvo_box(326, y + 2, 40, "", 15, 0);
        salvo_numbers[row] = objects[3]->first_child;
        objects[4] = create_ui_object(UI_BUTTON, salvo_window, "Plus Button", ATTR_RECT, 387, y - 7, 408, y + 11,
                                      ATTR_PICTURE, (std::string("menuscrn\\plus") + suffix + ".bbm").c_str(),
                                      ATTR_ID, pylon, ATTR_NOTIFY, salvo_plus, ATTR_NOTIFY_EVENT, EV_SELECT);
        write_salvo_number(row);
        y += 58;
    }
    show_ui_object(salvo_window, 1);
    raise_ui_object(salvo_window);
}

void press_accept(UiObject*, Event&) {
    if (selected != NO_HARDPOINT) show_highlights(selected, 0);
    for (int pylon : SALVO_PYLONS) {
        const PayloadPylon& p = payload_pylons[pylon];
        if (!is_valid_store(p.weapon) || !is_bomb(p.weapon)) continue;
        const bool plain_pair = p.count <= 1 && (p.weapon == 9 || p.weapon == 10 || p.weapon == 12 || p.weapon == 13);
        if (plain_pair) break;
        open_salvo_window();
        return;
    }
    accept_payload();
}

void press_clear(UiObject*, Event&) {
    clearing = 1;
    for (int pylon = 5; pylon <= 10; ++pylon) {
        raise_highlights(pylon, false);
        if (!payload_pylons[pylon].pictures.empty()) unload_from_screen(pylon);
    }
    hide_picks();
    selected = NO_HARDPOINT;
    clearing = 0;
    set_ui_text(info_text, SELECT_HARDPOINT);
}

void press_salvo_accept(UiObject*, Event&) {
    destroy_salvo_rows();
    accept_payload();
}

void press_salvo_back(UiObject*, Event&) {
    for (int pylon : SALVO_PYLONS) reset_salvo_size(pylon);
    destroy_salvo_rows();
    show_ui_object(salvo_window, 0);
}

UiObject* create_button(UiObject* parent, const char* name, int x0, int y0, int x1, int y1, const char* picture,
                        UiNotify notify) {
    return create_ui_object(UI_BUTTON, parent, name, ATTR_RECT, x0, y0, x1, y1, ATTR_PICTURE, picture, ATTR_NOTIFY,
                            notify, ATTR_NOTIFY_EVENT, EV_SELECT);
}

UiObject* create_info_text(const char* name, int y, int height, int text_height, int input) {
    UiObject* box = create_ui_object(UI_BOX, payload_window, "weapon info box", ATTR_POS, 462, y, ATTR_SIZE, 166,
                                     height, ATTR_COLOUR, 0, ATTR_ON_TOP, 1, ATTR_TRANSPARENT, 1);
    return create_ui_object(UI_TEXT, box, name, ATTR_POS, 0, 0, ATTR_SIZE, 166, text_height, ATTR_FONT, &menu_font,
                            ATTR_WRAP, 1, ATTR_SHADOW, 1, ATTR_INPUT, input);
}

void load_store_pictures() {
    size_t total = 0;
    for (const StorePicture& p : STORE_PICTURES) total += size_t(p.width) * p.height;
    store_pixels.assign(total, 0);
    uint8_t palette[PICTURE_PALETTE_SIZE];
    size_t offset = 0;
    for (int store = 0; store < PAYLOAD_STORES; ++store) {
        const StorePicture& p = STORE_PICTURES[store];
        load_picture_palette(p.file, store_pixels.data() + offset, p.width, p.height, palette);
        store_sprites[store] = {p.width, p.height, 0, 0, store_pixels.data() + offset};
        offset += size_t(p.width) * p.height;
    }
    highlight_pixels.assign(size_t(HIGHLIGHT_WIDTH) * HIGHLIGHT_HEIGHT, 0);
    load_picture_palette("menuscrn\\select.bbm", highlight_pixels.data(), HIGHLIGHT_WIDTH, HIGHLIGHT_HEIGHT, palette);
    highlight_sprite = {HIGHLIGHT_WIDTH, HIGHLIGHT_HEIGHT, 0, 0, highlight_pixels.data()};
}

}  // namespace

void create_payload_screen(UiObject* map) {
    load_store_pictures();
    payload_window = create_ui_object(UI_WINDOW, map, "Payload Window", ATTR_POS, 0, 0, ATTR_SIZE, 640, 480,
                                      ATTR_ON_TOP, 1, ATTR_MOVABLE, 0, ATTR_SHOWN, 0);
    UiObject* back_drop = create_ui_object(UI_PICTURE, payload_window, "Vyr Back Drop", ATTR_RECT, 0, 0, 640, 480,
                                           ATTR_ID, 99999, ATTR_INPUT, 0, ATTR_PICTURE, "menuscrn\\pay_off.lbm");
    info_text = create_info_text("weapon info text1", 302, 113, 124, 0);
    weight_text = create_info_text("weapon info text2", 415, 26, 26, 1);
    create_button(back_drop, "Accept Button", 534, 446, 636, 475, "menuscrn\\accept.bbm", press_accept);
    create_button(back_drop, "Clear Button", 427, 446, 530, 475, "menuscrn\\clear.bbm", press_clear);

    salvo_window = create_ui_object(UI_WINDOW, payload_window, "Payload Window", ATTR_POS, 0, 0, ATTR_SIZE, 640, 480,
                                    ATTR_COLOUR, 0, ATTR_TRANSPARENT, 1, ATTR_ON_TOP, 1, ATTR_SHOWN, 0);
    UiObject* salvo_back_drop = create_ui_object(UI_PICTURE, salvo_window, "Salvo Back Drop", ATTR_RECT, 0, 0, 640,
                                                 480, ATTR_INPUT, 0, ATTR_PICTURE, "menuscrn\\psalv_of.lbm",
                                                 ATTR_TRANSPARENT, 1);
    create_button(salvo_back_drop, "Salvo Accept Button", 108, 326, 212, 356, "menuscrn\\accept1.bbm",
                  press_salvo_accept);
    create_button(salvo_back_drop, "Salvo Back Button", 239, 327, 340, 355, "menuscrn\\back1.bbm", press_salvo_back);
    UiObject* salvo_text_box = create_ui_object(UI_BOX, salvo_window, "salvo text box", ATTR_POS, 35, 235, ATTR_SIZE,
                                                350, 200, ATTR_COLOUR, 0, ATTR_TRANSPARENT, 1, ATTR_ON_TOP, 1,
                                                ATTR_INPUT, 0);
    create_ui_object(UI_TEXT, salvo_text_box, "salvo text", ATTR_POS, 0, 0, ATTR_SIZE, 350, 100, ATTR_TEXT_COLOUR, 0,
                     ATTR_WRAP, 1, ATTR_FONT, &menu_font, ATTR_INPUT, 0);

    for (int pylon = 0; pylon < PAYLOAD_HARDPOINTS; ++pylon) {
        const int* centre = HIGHLIGHT_CENTRES[pylon];
        UiObject* highlight = create_ui_object(
            UI_SPRITE, payload_window, "generic highlight", ATTR_POS, centre[0] - HIGHLIGHT_WIDTH / 2,
            centre[1] - HIGHLIGHT_HEIGHT / 2, ATTR_SIZE, HIGHLIGHT_WIDTH, HIGHLIGHT_HEIGHT, ATTR_SPRITE,
            &highlight_sprite, ATTR_ID, pylon, ATTR_NOTIFY, handle_highlight, ATTR_NOTIFY_EVENT, EV_SELECT,
            ATTR_NOTIFY_ADD, EV_ENTER, ATTR_NOTIFY_ADD, EV_LEAVE);
        lower_ui_object(highlight);
        payload_pylons[pylon].highlight = highlight;
    }
    for (int store = 0; store < PAYLOAD_STORES; ++store) {
        const StorePicture& p = STORE_PICTURES[store];
        const std::string name = "Wpn " + std::to_string(store + 1);
        picks[store] = create_ui_object(UI_SPRITE, payload_window, name.c_str(), ATTR_POS, p.x, p.y, ATTR_SIZE,
                                        p.width, p.height, ATTR_SPRITE, &store_sprites[store], ATTR_ON_TOP, 1,
                                        ATTR_ID, store, ATTR_NOTIFY, handle_pick, ATTR_NOTIFY_EVENT, EV_SELECT,
                                        ATTR_NOTIFY_ADD, EV_MOUSE_MOVE, ATTR_SHOWN, 0);
    }
    refresh_payload_weight();
}

void refresh_payload_screen() {
    if (!payload_window) return;
    show_ui_object(payload_window, 1);
    raise_ui_object(payload_window);
    for (int pylon = 5; pylon <= 10; ++pylon) {
        PayloadPylon& p = payload_pylons[pylon];
        if (p.weapon == PAYLOAD_EMPTY) {
            show_highlights(pylon, 1);
            raise_highlights(pylon, false);
        } else if (p.pictures.empty()) {
            selected = pylon;
            load_pylon(pylon, p.count);
        }
    }
    selected = NO_HARDPOINT;
    hide_picks();
    set_ui_text(info_text, SELECT_HARDPOINT);
}

void place_pylon_pictures(int pylon) {
    if (!payload_window) return;
    PayloadPylon& p = payload_pylons[pylon];
    destroy_pictures(pylon);
    if (p.highlight) show_ui_object(p.highlight, 0);
    if (!is_valid_store(p.weapon) || p.count < 1 || p.count > PAYLOAD_MAX_COUNT) return;
    const StorePicture& picture = STORE_PICTURES[p.weapon];
    for (int i = 0; i < p.count; ++i) {
        const int code = multi_positions[p.count - 1][i];
        const int x = p.x + (code % 3 - 1) * picture.spread_x + NUDGES[code][0];
        const int y = p.y + (code / 3 - 1) * picture.spread_y + NUDGES[code][1];
        p.pictures.push_back(create_ui_object(UI_SPRITE, payload_window, "Payload Weapon", ATTR_POS, x, y, ATTR_SIZE,
                                              picture.width, picture.height, ATTR_SPRITE, &store_sprites[p.weapon],
                                              ATTR_ON_TOP, 1, ATTR_ID, pylon, ATTR_NOTIFY, handle_placed_picture,
                                              ATTR_NOTIFY_EVENT, EV_SELECT, ATTR_NOTIFY_ADD, EV_MOUSE_MOVE));
    }
}

void remove_pylon_pictures(int pylon) {
    if (!payload_window) return;
    destroy_pictures(pylon);
    if (payload_pylons[pylon].highlight) show_ui_object(payload_pylons[pylon].highlight, 1);
}

void end_pylon_load() {
    if (!payload_window) return;
    selected = NO_HARDPOINT;
    hide_picks();
    refresh_payload_weight();
}

void refresh_payload_weight() {
    if (payload_window) set_ui_text(weight_text, format_payload_weight().c_str());
}

}  // namespace vyr
