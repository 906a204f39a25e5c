// The mission map's view of the theatre: centre, scale and turn, their limits, the zoom stack,
// the fit to the routes, world units against the metres shown, and the plot window the map's
// drawing and pointer picks go through.
#pragma once

#include <cstdint>

namespace vyr {

struct MapView {
    int32_t scale;  // world units per map pixel
    int32_t centre_x, centre_y;
    uint32_t rotation;  // 0 north up
    int32_t pointer_x, pointer_y;  // the world point under the pointer
    uint32_t pointer_bearing;
};
extern MapView map_view;

constexpr int32_t MAP_WORLD_MAX = 0xfffffff;
constexpr int32_t MAP_WORLD_MIDDLE = 0x7ffffff;
constexpr int32_t MAP_SCALE_MIN = 256;
constexpr int32_t MAP_SCALE_MAX = 2560000;
// The largest scale at which the 640 pixels of the map span no more than 2^27 units.
constexpr int32_t MAP_SCALE_SHOWN_MAX = 209715;
constexpr int MAP_ZOOM_DEPTH = 32;

struct MapZoomEntry {
    int32_t centre_x, centre_y, scale;
    uint32_t rotation;
};
extern MapZoomEntry map_zoom_stack[MAP_ZOOM_DEPTH];
extern int32_t map_zoom_depth;

// Each limits its arguments, keeps the view inside the theatre and redraws the map.
void set_map_view(int32_t x, int32_t y, int32_t scale);
void set_map_view_rotated(int32_t x, int32_t y, int32_t scale, uint32_t rotation);
void set_map_centre(int32_t x, int32_t y);
void set_map_rotation(uint32_t rotation);
// The scale held to what 640 pixels can show, then the view moved inside the allowed area:
// tiles 8 to 55, or 1 to 62 in war zone 4.
void clamp_map_view();

// A full stack drops the push.
void push_map_view();
// "Back": the newest stacked view, or with none the whole theatre north up.
void pop_map_view();
void clear_map_zoom_stack();
// "Fit": the routes' points fill two thirds of the map, north up; with no point, the whole
// theatre.
void fit_map_to_routes();

// The current plot window becomes the map's.
void setup_map_plot();

int32_t metres_to_world(int32_t metres);
int32_t world_to_metres(int32_t world);

}  // namespace vyr
