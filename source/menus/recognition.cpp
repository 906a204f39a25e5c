#include "source/menus/recognition.h"

#include <algorithm>
#include <cstring>

#include "library/3dvisual/draw_object.h"
#include "library/3dvisual/eye.h"
#include "library/3dvisual/instance.h"
#include "library/3dvisual/objects.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/viewport.h"
#include "library/3dvisual/world.h"
#include "library/3dvisual/world_palette.h"
#include "library/graphics/font.h"
#include "library/graphics/loadgfx.h"
#include "library/graphics/plot.h"
#include "library/graphics/plot_draw.h"
#include "library/graphics/rect.h"
#include "library/graphics/screen.h"
#include "library/sound/music.h"
#include "library/system/thread.h"
#include "library/ui/object.h"
#include "library/ui/repaint.h"
#include "library/ui/setattr.h"
#include "source/menus/notify.h"
#include "source/menus/screens.h"
#include "source/sound/triggers.h"
#include "source/weapons/object_types.h"

namespace vyr {

namespace {

constexpr int BACKDROP_SIZE = 399;
constexpr int32_t PLOT_REACH = 0x100000;
constexpr int PLOT_WIDTH = 398, PLOT_HEIGHT = 479;
constexpr double CAPTION_CHARACTER = 34603.008;  // world units of the plot window a character takes
constexpr double CAPTION_PIXEL = 5242.88;
constexpr int32_t CAPTION_SHADOW_Y = 996147, CAPTION_Y = 1001390;
constexpr int CAPTION_SHADOW_COLOUR = 0, CAPTION_COLOUR = 1;
constexpr int32_t SUN_ELEVATION = int32_t(0xE0000000);  // 45 degrees down
constexpr int FIRST_NAP = 100, NAP = 2;

constexpr ViewerEntry at(int32_t object, int32_t distance, std::array<int32_t, VIEWER_SUB_OBJECTS> slots = {}) {
    return {object, distance, slots};
}
constexpr ViewerEntry END = at(VIEWER_LIST_END, 0);
constexpr int32_t R = FRAME_AT_SIZE;

UiObject* visual_box = nullptr;
UiObject* visual_canvas = nullptr;

int list_length(const ViewerEntry* list) {
    int n = 0;
    while (list[n].object != VIEWER_LIST_END) ++n;
    return n;
}

const ViewerEntry* find_entry(int32_t object_number) {
    for (const ViewerEntry* list : {aircraft_list, vehicle_list, ship_list})
        for (const ViewerEntry* e = list; e->object != VIEWER_LIST_END; ++e)
            if (e->object == object_number) return e;
    return nullptr;
}

int32_t object_size(int32_t object_number) {
    const ObjectHeader* header = get_object_header(object_number);
    return header ? std::max(header->radius, header->height) : 0;
}

void free_viewer_object() {
    if (!viewer_object) return;
    free_object_instance(viewer_object);
    viewer_object = nullptr;
}

void create_viewer_object(int32_t object_number, const VariableList* sub_objects) {
    static ObjectInstance record;
    viewer_object = create_object_instance(object_number, &record, &viewer_object_pose, sub_objects);
}

// Seen from in front and a little above, `distance` away.
void place_eye(int32_t distance) {
    viewer_eye.position = {0, -(3 * distance / 2), distance / 2};
    Vector3 direction = {0, 3, -1};
    normalize_vector(direction);
    build_direction_matrix(direction, viewer_eye.matrix);
}

void stop_sounds_for_speech() {
    if (!sound_music_on && sound_speech_on) stop_all_sounds();
}

void show_entry(const ViewerEntry* list, int index) {
    viewer_list = list;
    viewer_index = index;
    show_vehicle(list[index].object);
}

uint32_t own_thread_id() { return thread_table[current_thread].id; }

// After every sleep and yield: the viewer goes on only while it is still the one wanted; a hide
// clears the word, and a show after it starts another viewer.
bool still_wanted(uint32_t self) { return viewer_thread.load() == self; }

void render_viewer_frame() {
    if (!visual_canvas->screen) create_ui_screen(visual_canvas);
    Screen* canvas = visual_canvas->screen;
    select_screen(canvas);
    set_viewport(0, 0, canvas->width, canvas->height);
    if (viewer_backdrop)
        blit_opaque(0, 0, std::min(canvas->width, BACKDROP_SIZE), std::min(canvas->height, BACKDROP_SIZE),
                    viewer_backdrop->pixels, BACKDROP_SIZE + viewer_backdrop->row_pad - std::min(canvas->width, BACKDROP_SIZE));
    show_ui_object(visual_box, 1);

    set_eye(&viewer_eye);
    set_plot(0, 0, PLOT_WIDTH, PLOT_HEIGHT, -PLOT_REACH, -PLOT_REACH, PLOT_REACH, PLOT_REACH);
    // The plot window reaches past the canvas; text must not.
    set_clip_rect(0, 0, std::min(PLOT_WIDTH, canvas->width) - 1, std::min(PLOT_HEIGHT, canvas->height) - 1);

    ViewSettings light = view_settings;
    light.sun_heading = 0;
    light.sun_elevation = SUN_ELEVATION;
    light.darkness = 0;
    light.weather = WEATHER_CLEAR;
    light.night_vision = 0;
    set_view_settings(&light);
    select_colour_remap();
    update_sky_palette();

    const Vector3& p = viewer_object_pose.position;
    viewer_object->view_distance =
        estimate_distance_3d(p.x - viewer_eye.position.x, p.y - viewer_eye.position.y, p.z - viewer_eye.position.z);
    place_sub_instances(viewer_object);
    draw_object(viewer_object);

    viewer_angle += VIEWER_TURN;
    build_rotation_matrix(viewer_angle, 0, 0, viewer_object_pose.matrix);

    draw_viewer_caption(viewer_object->object_type);
    invalidate_ui_object(visual_canvas, 0);
}

}  // namespace

const ViewerEntry aircraft_list[] = {
    at(34, 16000),
    at(3, 8000, {1217, 1214, 1219}),
    at(237, R),
    at(228, R),
    at(234, R),
    at(225, 8000, {1228, 1231, 1229}),
    at(606, 7000, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1034}),
    at(453, 8000, {1226, 1224, 1225}),
    at(932, 16000, {958, 964}),
    at(1038, 20000, {1042, 1044, 1043}),
    at(1085, 20000, {1042, 1044, 1043}),
    at(1145, 20000, {1156, 1153}),
    at(1056, R),
    at(1066, R),
    at(64, 10000),
    at(307, R),
    at(507, 8000),
    at(607, 8000, {614, 0, 620}),
    at(686, 10000),
    END,
};

const ViewerEntry vehicle_list[] = {
    at(54, 4500),   at(71, 7000), at(74, 5500), at(77, 8000),   at(80, R),    at(84, 6000),  at(87, 4500),
    at(90, 6000),   at(1076, 5000), at(96, 4500), at(99, 4500), at(201, 4000), at(203, 4000), at(204, R),
    at(208, 4000),  at(211, 4000), at(244, R),   at(256, 4000), at(299, R),   at(450, 5500), at(456, 6000),
    at(460, 7000),  at(464, 4500), at(469, 4000), at(496, R),   at(526, 5500), at(912, 3000),
    at(916, 1500, {707}), at(984, 1500), at(924, 3000), at(1045, R), at(1050, R),
    END,
};

const ViewerEntry ship_list[] = {
    at(130, R), at(253, R), at(316, R), at(320, R), at(484, R), at(489, R), at(514, R), END,
};

UiObject* recognition_screen = nullptr;
const ViewerEntry* viewer_list = aircraft_list;
int viewer_index = 0;
ObjectInstance* viewer_object = nullptr;
Pose viewer_object_pose = {};
std::array<int32_t, VIEWER_SUB_OBJECTS> viewer_sub_objects = {};
uint32_t viewer_angle = 0;
Pose viewer_eye = {};
std::atomic<uint32_t> viewer_thread{0};
Screen* viewer_backdrop = nullptr;

void create_recognition_screen() {
    recognition_screen =
        create_menu_screen("Vehicle Recognition Screen", "menuscrn\\rec_off.lbm", recognition_screen_shown);
    UiObject* s = recognition_screen;
    create_menu_button(s, "Aircraft Button", 400, 36, 639, 107, "menuscrn\\vr_aircr.bbm", show_aircraft_list);
    create_menu_button(s, "Vehicles Button", 400, 132, 639, 203, "menuscrn\\vr_vehic.bbm", show_vehicle_list);
    create_menu_button(s, "Ships Button", 400, 229, 639, 300, "menuscrn\\vr_ships.bbm", show_ship_list);
    create_menu_button(s, "Previous object button", 420, 320, 536, 390, "menuscrn\\vr_prev.bbm",
                       show_previous_vehicle);
    create_menu_button(s, "Next object button", 537, 320, 639, 391, "menuscrn\\vr_next.bbm", show_next_vehicle);
    create_bar_button(s, 0, "Small Help Button", "menuscrn\\vr_help.bbm", show_help_screen);
    create_bar_button(s, 1, "Small Prefs Button", "menuscrn\\vr_prefs.bbm", show_preferences_screen);
    create_bar_button(s, 2, "Small Log Button", "menuscrn\\vr_logs.bbm", show_log_screen);
    create_bar_button(s, 3, "Small Main Button", "menuscrn\\vr_main.bbm", go_main_screen);
    create_bar_button(s, 4, "Small Back Button", "menuscrn\\vr_back.bbm", go_back_screen);
    create_bar_button(s, 5, "Small Quit Button", "menuscrn\\vr_quit.bbm", show_exit_screen);
    visual_box = create_ui_object(UI_BOX, s, "Visual Box", ATTR_RECT, 0, 40, 398, 439, ATTR_TRANSPARENT, 1,
                                  ATTR_SHOWN, 0, ATTR_INPUT, 0);
    visual_canvas = create_ui_object(UI_CANVAS, visual_box, "Vehicle Visual", ATTR_FILL_PARENT_INSET, ATTR_INPUT, 0);
    viewer_list = aircraft_list;
    viewer_index = 0;
    viewer_backdrop = create_screen(BACKDROP_SIZE, BACKDROP_SIZE);
    std::memset(viewer_backdrop->pixels, 0, size_t(BACKDROP_SIZE + viewer_backdrop->row_pad) * BACKDROP_SIZE);
    uint8_t* pixels = viewer_backdrop->pixels;
    read_picture("menuscrn\\vr_backd.lbm", &pixels, BACKDROP_SIZE + viewer_backdrop->row_pad, BACKDROP_SIZE, nullptr,
                 nullptr, nullptr);
}

void show_vehicle(int32_t object_number) {
    free_viewer_object();
    viewer_sub_objects.fill(0);
    const ViewerEntry* entry = find_entry(object_number);
    int32_t distance = entry ? entry->distance : FRAME_AT_SIZE;
    if (entry) viewer_sub_objects = entry->sub_objects;
    if (distance == FRAME_AT_SIZE) distance = object_size(object_number);
    const VariableList list = {viewer_sub_objects.data(), VIEWER_SUB_OBJECTS};
    create_viewer_object(object_number, &list);
    place_eye(distance);
    stop_sounds_for_speech();
}

void show_aircraft_list(UiObject*, Event&) { show_entry(aircraft_list, 0); }
void show_vehicle_list(UiObject*, Event&) { show_entry(vehicle_list, 0); }
void show_ship_list(UiObject*, Event&) { show_entry(ship_list, 0); }

void show_next_vehicle(UiObject*, Event&) {
    const int next = viewer_index + 1;
    show_entry(viewer_list, viewer_list[next].object == VIEWER_LIST_END ? 0 : next);
}

void show_previous_vehicle(UiObject*, Event&) {
    show_entry(viewer_list, viewer_index > 0 ? viewer_index - 1 : list_length(viewer_list) - 1);
}

void recognition_screen_shown(UiObject*, Event& event) {
    if (event.value) {
        init_world(&world_settings);
        build_world_palette();
        viewer_object_pose.position = {0, 0, 0};
        set_identity_matrix(viewer_object_pose.matrix);
        viewer_list = aircraft_list;
        viewer_index = 0;
        free_viewer_object();
        viewer_sub_objects.fill(0);
        create_viewer_object(aircraft_list[0].object, nullptr);
        place_eye(object_size(aircraft_list[0].object));
        if (!viewer_thread) viewer_thread = create_thread("Vehicle Visual", run_vehicle_viewer);
        stop_sounds_for_speech();
    } else {
        viewer_thread = 0;
        free_viewer_object();
        shutdown_world();
        show_ui_object(visual_box, 0);
    }
}

void run_vehicle_viewer() {
    const uint32_t self = own_thread_id();
    set_thread_priority(VIEWER_PRIORITY);
    sleep_thread(FIRST_NAP);
    yield_thread();
    while (still_wanted(self)) {
        sleep_thread(NAP);
        if (!still_wanted(self)) break;
        yield_thread();
        if (!still_wanted(self)) break;
        sleep_thread(NAP);
        if (!still_wanted(self)) break;
        render_viewer_frame();
    }
    if (visual_canvas->screen) free_ui_screen(visual_canvas);
}

const char* viewer_caption(const char* long_name, char* out, int size) {
    const char* cut = std::strchr(long_name, '(');
    const size_t length = std::min(cut ? size_t(cut - long_name) : std::strlen(long_name), size_t(size - 1));
    std::memcpy(out, long_name, length);
    out[length] = 0;
    return out;
}

void draw_viewer_caption(int32_t object_number) {
    char caption[64];
    viewer_caption(get_object_type_name(object_number), caption, sizeof caption);
    // The centring counts characters of about 6.6 pixels, which the larger built-in font keeps to.
    select_font(&font_large);
    const int32_t x = int32_t(-(double(std::strlen(caption)) / 2) * CAPTION_CHARACTER);
    place_text_at_plot_point(x, CAPTION_SHADOW_Y);
    text_colour = CAPTION_SHADOW_COLOUR;
    draw_text(caption);
    place_text_at_plot_point(int32_t(x - CAPTION_PIXEL), CAPTION_Y);
    text_colour = CAPTION_COLOUR;
    draw_text(caption);
}

}  // namespace vyr
