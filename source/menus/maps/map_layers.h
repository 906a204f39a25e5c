// The mission map's picture: the ground, overlay and route layers, each drawn by its own thread
// into its own screen, and their composite on the map canvas.
#pragma once

#include <atomic>
#include <cstdint>

namespace vyr {

struct Screen;
struct UiObject;

extern Screen* ground_layer;
extern Screen* overlay_layer;
extern Screen* route_layer;
extern Screen* composite_a;
extern Screen* composite_b;

// A layer's request word (0 idle, 2 requested, 1 being drawn) and whether its last drawing is
// still to be taken into the composite.
struct MapLayerState {
    std::atomic<int> request;
    std::atomic<int> changed;
};
extern MapLayerState ground_state, overlay_state, route_state;

// The five screens and the layer sprites of the map's size, and the layers' threads.
void create_map_layers();
void free_map_layers();

// All three layers redrawn.
void redraw_map();
void request_ground_layer();
// Draws the airfields, grid and compass rose at once and asks the thread for the tiles' part.
void redraw_overlay_layer();
// The pointer shape of the current tool, or the wait pointer while a layer is drawing.
void update_map_pointer();
// The canvas's EV_DRAW: the layers that changed into the composites, and the composite shown.
void draw_map_composite(UiObject* map);

// One pass of each layer's drawing, as its thread does it.
void draw_ground_layer();
void draw_overlay_tiles();
void draw_route_layer();

}  // namespace vyr
