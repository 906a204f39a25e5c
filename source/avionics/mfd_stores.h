// The MFD stores page: the aircraft's planform with a picture and a round count at every loaded
// station, the selected weapon's name, its release quantity and the flare and chaff counts.
#pragma once

#include <cstdint>

#include "library/graphics/rect.h"
#include "source/avionics/mfd.h"

namespace vyr {

// "cockpits\mfdweap.bbm" (140 x 140) and the three strips of store pictures; a missing or
// misshapen picture is fatal, naming it. Loading again frees the previous ones first.
void load_stores_pictures();
void free_stores_pictures();

void draw_mfd_stores_page(const MfdRect& rect, int page);
// The picture cell of a weapon id, or of a sensor type on an empty hardpoint, with its top-left
// at (x, y) plus the cell's offset; nothing for the gun. A key without a picture is fatal.
void draw_stores_picture(int key, int x, int y, int hardpoint);
// The loaded cell of a key as a sprite (the cell's offset in its hot spot, negated); false for a
// key without a picture.
bool find_stores_picture(int key, Sprite& cell);

}  // namespace vyr
