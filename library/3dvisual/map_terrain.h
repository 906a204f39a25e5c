// The terrain of the plan map's current tile: flat by terrain class, or by height with an
// ordered dither, and contour lines over either.
#pragma once

#include <cstdint>

#include "library/graphics/poly_types.h"

namespace vyr {

// The highest post of the theatre in feet (posts 0..255 each way); 0 until computed.
extern int32_t terrain_map_max_height;
void compute_terrain_max_height();

constexpr int MAP_CONTOUR_COLOUR = 199;

void draw_map_terrain();
void draw_map_terrain_alt();
void draw_map_terrain_lines();

// The cell between screen corners (i, j) at (x0, y0) and (i+1, j+1) at (x1, y1), its sides
// along the plot window's turn, coloured from the corners' heights in feet.
void fill_map_cell_by_height(int32_t x0, int32_t y0, int32_t x1, int32_t y1, float height_00, float height_01,
                             float height_10, float height_11);
// A plan vertex (x, y in the window's frame, z its height in feet) beyond the world window
// moved onto its edge or corner, with new pixels and the ground's height there.
void clip_map_vertex_to_window(PolyVertex& v);

struct MapContourCorner {
    int32_t x, y;    // in the window's frame
    int32_t height;  // feet
};
void draw_triangle_contours(const MapContourCorner corners[3]);
void draw_triangle_contours_clipped(const MapContourCorner corners[3]);

}  // namespace vyr
