#include "tools/vyrgen/accel_files.h"

#include <string>
#include <utility>

#include "tools/vyrgen/effect_textures.h"
#include "tools/vyrgen/rgb_palettes.h"
#include "tools/vyrgen/terrain_textures.h"
#include "tools/vyrgen/war_zones.h"

namespace vyr::vyrgen {

std::vector<DataFile> accel_files() {
    std::vector<DataFile> files;
    for (size_t zone = 0; zone < WAR_ZONES.size(); ++zone) {
        const std::string directory = WAR_ZONES[zone].directory;
        files.push_back({directory + "/text64.raw", terrain_textures(int(zone))});
        // Start-up looks for the 3D palette in the war zone first.
        files.push_back({directory + "/3dpal.rgb", three_d_palette()});
        files.push_back({directory + "/terrain.rgb", terrain_palette(WAR_ZONES[zone].climate)});
    }
    files.push_back({"3ddata/3dpal.rgb", three_d_palette()});
    for (EffectPicture& picture : effect_pictures()) files.push_back({picture.name, std::move(picture.image.pixels)});
    files.push_back({"cockpits/cockpits.rgb", cockpit_palette()});
    return files;
}

}  // namespace vyr::vyrgen
