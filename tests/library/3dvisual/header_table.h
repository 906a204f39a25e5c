// An object table of the test's own headers in place of a loaded one, for the tests of what
// reads headers (radius, height, box, flags) without drawing.
#pragma once

#include <deque>
#include <vector>

#include "library/3dvisual/objects.h"

namespace vyr {

class HeaderTable {
public:
    explicit HeaderTable(int count)
        : pointers(size_t(count), nullptr), saved_table(object_table), saved_count(object_count),
          saved_tallest(tallest_object) {
        object_table = pointers.data();
        object_count = count;
        tallest_object = 0;
    }
    ~HeaderTable() {
        object_table = saved_table;
        object_count = saved_count;
        tallest_object = saved_tallest;
    }
    HeaderTable(const HeaderTable&) = delete;
    HeaderTable& operator=(const HeaderTable&) = delete;

    // A header for `number`: a cube of half-width `half` (world units) on its base, tallest
    // object kept up to date.
    ObjectHeader& add(int number, int32_t radius, int32_t height, uint8_t flags, int32_t half = 512) {
        ObjectHeader& h = headers.emplace_back();
        h.radius = radius;
        h.height = height;
        h.flags = flags;
        h.destroyed_type = -1;
        h.box_min_x = h.box_min_y = -half;
        h.box_max_x = h.box_max_y = half;
        h.box_min_z = 0;
        h.box_max_z = height;
        pointers[size_t(number)] = &h;
        tallest_object = std::max(tallest_object, height);
        return h;
    }

private:
    std::deque<ObjectHeader> headers;
    std::vector<ObjectHeader*> pointers;
    ObjectHeader** saved_table;
    int32_t saved_count;
    int32_t saved_tallest;
};

}  // namespace vyr
