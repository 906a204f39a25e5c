#include "tools/vyrgen/data_set.h"

#include <fstream>
#include <system_error>

#include "tools/vyrgen/accel_files.h"
#include "tools/vyrgen/menus/menu_pictures.h"
#include "tools/vyrgen/menus/payload_pictures.h"
#include "tools/vyrgen/menus/recognition_pictures.h"
#include "tools/vyrgen/missions/missions.h"
#include "tools/vyrgen/pictures/backdrops.h"
#include "tools/vyrgen/pictures/cockpit_pictures.h"
#include "tools/vyrgen/pictures/mfd_pictures.h"
#include "tools/vyrgen/pictures/loading.h"
#include "tools/vyrgen/missions/payload_files.h"
#include "tools/vyrgen/movies/movies.h"
#include "tools/vyrgen/objects/object_set.h"
#include "tools/vyrgen/pictures/pointers.h"
#include "tools/vyrgen/prefs.h"
#include "tools/vyrgen/soldiers/movements.h"
#include "tools/vyrgen/sound/sounds.h"
#include "tools/vyrgen/pictures/test_screen.h"
#include "tools/vyrgen/pictures/ui_pictures.h"
#include "tools/vyrgen/world/feature_files.h"
#include "tools/vyrgen/world/airfields.h"
#include "tools/vyrgen/world/ground_objects.h"
#include "tools/vyrgen/world/sky.h"
#include "tools/vyrgen/world/terrain_files.h"

namespace vyr::vyrgen {

namespace {

// The game takes a directory holding this file for its read-only data directory.
constexpr const char* SENTINEL = "vyr.rop";

std::vector<uint8_t> bytes_of(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

std::vector<PictureFile> data_set_pictures() {
    std::vector<PictureFile> pictures = {pointer_picture()};
    for (PictureFile& picture : loading_pictures()) pictures.push_back(std::move(picture));
    for (PictureFile& picture : cockpit_pictures()) pictures.push_back(std::move(picture));
    for (PictureFile& picture : mfd_pictures()) pictures.push_back(std::move(picture));
    return pictures;
}

std::vector<DataFile> data_set_files() {
    std::vector<DataFile> files = {{"prefs.cfg", bytes_of(default_prefs())}};
    for (const PictureFile& picture : data_set_pictures())
        files.push_back({picture.name, encode_pbm(picture.picture, picture.compressed)});
    for (const PictureFile& picture : backdrop_pictures())
        files.push_back({picture.name, encode_pbm(picture.picture, picture.compressed)});
    for (const PictureFile& picture : menu_pictures())
        files.push_back({picture.name, encode_pbm(picture.picture, picture.compressed)});
    for (const PictureFile& picture : payload_pictures())
        files.push_back({picture.name, encode_pbm(picture.picture, picture.compressed)});
    for (const PictureFile& picture : recognition_pictures())
        files.push_back({picture.name, encode_pbm(picture.picture, picture.compressed)});
    for (const PictureFile& picture : test_screen_pictures())
        files.push_back({picture.name, encode_pbm(picture.picture, picture.compressed)});
    for (const UiPicture& picture : ui_pictures())
        files.push_back({picture.name, encode_ui_picture(picture.image)});
    for (DataFile& file : accel_files()) files.push_back(std::move(file));
    for (DataFile& file : terrain_files()) files.push_back(std::move(file));
    for (DataFile& file : feature_files()) files.push_back(std::move(file));
    for (DataFile& file : ground_object_files()) files.push_back(std::move(file));
    for (DataFile& file : airfield_files()) files.push_back(std::move(file));
    for (DataFile& file : sound_files()) files.push_back(std::move(file));
    for (DataFile& file : menu_speech_files()) files.push_back(std::move(file));
    for (DataFile& file : object_files()) files.push_back(std::move(file));
    for (DataFile& file : sky_files()) files.push_back(std::move(file));
    for (DataFile& file : movement_files()) files.push_back(std::move(file));
    for (DataFile& file : mission_files()) files.push_back(std::move(file));
    for (DataFile& file : payload_files()) files.push_back(std::move(file));
    for (DataFile& file : movie_files()) files.push_back(std::move(file));
    // Last, so that a run cut short leaves no directory the game would take for complete.
    files.push_back({SENTINEL, bytes_of("vyr sample data\n")});
    return files;
}

bool write_data_set(const std::filesystem::path& root, std::string& error) {
    for (const DataFile& file : data_set_files()) {
        std::filesystem::path path = root / file.name;
        std::error_code failure;
        std::filesystem::create_directories(path.parent_path(), failure);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()), std::streamsize(file.bytes.size()));
        if (failure || !out.flush()) {
            error = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

}  // namespace vyr::vyrgen
