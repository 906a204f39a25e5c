// gndobjs.bin of each theatre, from its layout: towns with their streets, suburbs and industry,
// villages along the roads, the buildings of each airfield beside its runway, the camps of the
// defence areas, bridges where roads and railways cross, and trees; all on the layout's flat
// cells, at height 0, off the water and the routes.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/vyrgen/data_set.h"

namespace vyr::vyrgen {

struct GroundObjectPlace {
    uint16_t type;
    int32_t x, y;      // world units
    uint32_t heading;  // binary angle; only its upper 16 bits are kept
};

std::vector<GroundObjectPlace> place_ground_objects(int zone);
// The file: 4096 list offsets by tile (x-major), then each tile's count and records.
std::vector<uint8_t> encode_ground_objects(const std::vector<GroundObjectPlace>& places);
std::vector<DataFile> ground_object_files();

}  // namespace vyr::vyrgen
