#include "tools/vyrgen/data_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "library/graphics/cockpit_layout.h"
#include "library/graphics/loadgfx.h"
#include "library/system/memory.h"
#include "tests/support/scratch.h"
#include "tools/vyrgen/pictures/cockpit_pictures.h"
#include "tools/vyrgen/pictures/pointers.h"
#include "tools/vyrgen/pictures/ui_pictures.h"
#include "tools/vyrgen/rgb_palettes.h"

namespace vyr::vyrgen {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes read_whole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The data set the build wrote with this tool, read as the game reads it.
class DataSet : public testing::Test {
protected:
    const std::filesystem::path root_ = GENERATED_DATA;
};

TEST_F(DataSet, HoldsEveryFileTheGameLooksForUnderLowerCaseNames) {
    std::set<std::string> names;
    for (const DataFile& file : data_set_files()) {
        SCOPED_TRACE(file.name);
        EXPECT_TRUE(std::none_of(file.name.begin(), file.name.end(), [](char c) { return std::isupper(c); }));
        EXPECT_EQ(read_whole(root_ / file.name), file.bytes);
        names.insert(file.name);
    }
    for (const char* wanted : {"vyr.rop", "prefs.cfg", "uidata/mouse.lbm", "uidata/closeon.bm",
                               "uidata/closeoff.bm", "uidata/resize.bm", "uidata/resizing.bm",
                               "menuscrn/newintro.lbm", "menuscrn/tit-us.lbm", "menuscrn/ni_sys.bbm",
                               "menuscrn/ni_sound.bbm", "menuscrn/ni_miss.bbm", "menuscrn/ni_mapd.bbm"})
        EXPECT_EQ(names.count(wanted), 1u) << wanted;
    EXPECT_EQ(data_set_files().back().name, "vyr.rop");
}

TEST_F(DataSet, EveryPictureDecodesToWhatWasDrawnAtTheSizeTheGameExpects) {
    std::map<std::string, std::pair<int, int>> sizes = {
        {"uidata/mouse.lbm", {640, 480}},      {"menuscrn/newintro.lbm", {640, 480}},
        {"menuscrn/tit-us.lbm", {640, 480}},   {"menuscrn/ni_sys.bbm", {240, 170}},
        {"menuscrn/ni_sound.bbm", {240, 170}}, {"menuscrn/ni_miss.bbm", {240, 170}},
        {"menuscrn/ni_mapd.bbm", {240, 170}},  {"cockpits/endmiss3.lbm", {252, 100}},
        {"cockpits/yankend.lbm", {252, 100}},  {"cockpits/mfdweap.bbm", {140, 140}},
        {"cockpits/smlweaps.bbm", {8, 24 * 11}}, {"cockpits/medweaps.bbm", {9, 32 * 6}},
        {"cockpits/lgeweaps.bbm", {11, 45 * 7}}, {"cockpits/a_1280.lbm", {PANEL_WIDTH, PANEL_HEIGHT}},
    };
    // The panel's pictures: stacked images and cells, a tape's whole scale, else as placed.
    for (const CockpitArtPlace& p : COCKPIT_ART) {
        std::string name = "cockpits/";
        for (const char* c = p.name; *c; ++c) name += char(std::tolower(static_cast<unsigned char>(*c)));
        const bool stacked = p.kind == ArtKind::LAMPS || p.kind == ArtKind::DIGITS;
        sizes[name] = {p.width, stacked ? p.height * p.images : p.kind == ArtKind::TAPE ? p.images : p.height};
    }
    std::set<bool> kinds;
    for (const PictureFile& file : data_set_pictures()) {
        SCOPED_TRACE(file.name);
        std::string path = (root_ / file.name).string();
        uint8_t* pixels = nullptr;
        int width = 0, height = 0;
        ASSERT_EQ(load_picture(path.c_str(), &pixels, &width, &height), 1);
        EXPECT_EQ(std::make_pair(width, height), sizes.at(file.name));
        EXPECT_TRUE(std::equal(pixels, pixels + size_t(width) * height, file.picture.image.pixels.begin(),
                               file.picture.image.pixels.end()));
        free_memory(pixels, "test", 0);
        Palette palette{};
        Bytes buffer(size_t(width) * height);
        ASSERT_EQ(load_picture_palette(path.c_str(), buffer.data(), width, height, palette.data()), 1);
        EXPECT_EQ(palette, file.picture.palette);
        kinds.insert(file.compressed);
    }
    EXPECT_EQ(kinds.size(), 2u);  // both storage forms reach the game
}

// The quit box is drawn over the flight in the cockpit's colours, none of it transparent.
TEST_F(DataSet, QuitBoxesUseOnlyTheCockpitColours) {
    const std::vector<uint8_t> cockpit = cockpit_palette();
    for (const PictureFile& file : cockpit_pictures()) {
        if (file.name != "cockpits/endmiss3.lbm" && file.name != "cockpits/yankend.lbm") continue;
        SCOPED_TRACE(file.name);
        std::set<int> colours(file.picture.image.pixels.begin(), file.picture.image.pixels.end());
        EXPECT_GE(*colours.begin(), 224);
        EXPECT_GE(colours.size(), 4u) << "rim, plate, question and answers";
        EXPECT_TRUE(std::equal(cockpit.begin(), cockpit.end(), file.picture.palette.begin() + 3 * 224));
    }
}

// The panel and its pictures are in the cockpit's colours, with colour 0 where the world shows
// through; the shades only lighten or darken by one step. The head-up display's glass is clear,
// the front panel has no hole.
TEST_F(DataSet, CockpitPicturesUseTheCockpitColoursOrLetTheWorldThrough) {
    const std::vector<PictureFile> files = cockpit_pictures();
    for (const PictureFile& file : files) {
        SCOPED_TRACE(file.name);
        const bool shade = file.name.find("shade") != std::string::npos || file.name.find("shde") != std::string::npos;
        for (uint8_t c : file.picture.image.pixels) {
            if (shade)
                ASSERT_TRUE(c == 0 || c == 1 || c == 0xFF) << int(c);
            else
                ASSERT_TRUE(c == 0 || c >= COCKPIT_FIRST_COLOUR) << int(c);
        }
    }
    const Image& panel = std::find_if(files.begin(), files.end(), [](const PictureFile& f) {
                             return f.name == "cockpits/a_1280.lbm";
                         })->picture.image;
    for (int y = HUD_GLASS_Y; y < HUD_GLASS_Y + HUD_GLASS_HEIGHT; ++y)
        for (int x = HUD_GLASS_X; x < HUD_GLASS_X + HUD_GLASS_WIDTH; ++x) ASSERT_EQ(panel.at(x, y), 0) << x << ", " << y;
    for (int y = 226; y < PANEL_HEIGHT; ++y)
        for (int x = 485; x < 794; ++x) ASSERT_NE(panel.at(x, y), 0) << x << ", " << y;
}

// The toolkit adds 4 to every byte: the sprites then show only its own colours, edge to edge.
TEST_F(DataSet, RawUiPicturesShowToolkitColoursAfterTheBias) {
    for (const UiPicture& picture : ui_pictures()) {
        SCOPED_TRACE(picture.name);
        Bytes file = read_whole(root_ / picture.name);
        ASSERT_EQ(file.size(), size_t(UI_PICTURE_SIZE * UI_PICTURE_SIZE));
        for (size_t i = 0; i < file.size(); ++i) {
            uint8_t shown = uint8_t(file[i] + UI_PICTURE_BIAS);
            EXPECT_EQ(shown, picture.image.pixels[i]);
            EXPECT_TRUE(shown >= 246 && shown <= 251) << i;
        }
    }
}

// Cut as the mouse module cuts them: the first colour met row by row becomes the outline entry
// and the second the fill; a third would vanish.
TEST_F(DataSet, PointerShapesHoldAnOutlineAndAFillEachAndNothingLiesBetweenThem) {
    Bytes sheet(640 * 480, 0xEE);
    Palette palette{};
    ASSERT_EQ(load_picture_palette((root_ / "uidata/mouse.lbm").c_str(), sheet.data(), 640, 480, palette.data()), 1);
    const struct {
        int x, width, height, hot_x, hot_y;
    } cells[] = {{0, 32, 32, 0, 0},     {32, 32, 32, 15, 15},  {64, 32, 32, 15, 15},
                 {96, 32, 32, 15, 15},  {128, 32, 32, 15, 15}, {160, 32, 32, 15, 15},
                 {192, 32, 32, 15, 15}, {224, 32, 32, 15, 15}, {256, 18, 12, 7, 4}};
    Bytes covered(sheet.size(), 0);
    for (const auto& cell : cells) {
        SCOPED_TRACE(cell.x);
        Bytes slots;
        int shown = 0, left = cell.width, right = -1, top = cell.height, bottom = -1;
        for (int y = 0; y < cell.height; ++y)
            for (int x = 0; x < cell.width; ++x) {
                uint8_t p = sheet[size_t(y) * 640 + cell.x + x];
                covered[size_t(y) * 640 + cell.x + x] = 1;
                if (p <= 1) continue;
                if (std::find(slots.begin(), slots.end(), p) == slots.end()) slots.push_back(p);
                ++shown;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        ASSERT_EQ(slots, Bytes({POINTER_OUTLINE, POINTER_FILL}));
        EXPECT_EQ(palette[POINTER_OUTLINE * 3], 0);
        EXPECT_EQ(palette[POINTER_FILL * 3], 255);
        EXPECT_GT(shown, 20);
        EXPECT_TRUE(cell.hot_x >= left && cell.hot_x <= right && cell.hot_y >= top && cell.hot_y <= bottom);
    }
    EXPECT_NE(sheet[0], 0);  // the arrow's tip is its hot spot
    size_t stray = 0;
    for (size_t i = 0; i < sheet.size(); ++i) stray += !covered[i] && sheet[i] != 0;
    EXPECT_EQ(stray, 0u);
}

TEST_F(DataSet, PrefsAreNameValueLinesWithoutTheRunCount) {
    Bytes file = read_whole(root_ / "prefs.cfg");
    std::string text(file.begin(), file.end());
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (size_t start = 0, end; start < text.size(); start = end + 2) {
        end = text.find("\r\n", start);
        std::string line = text.substr(start, end - start);
        size_t equals = line.find('=');
        EXPECT_TRUE(equals != std::string::npos && equals > 0 && equals + 1 < line.size() &&
                    line.find_first_of("=\r\n", equals + 1) == std::string::npos)
            << line;
    }
    EXPECT_EQ(text.find("Quick Start Game Runs"), std::string::npos);
}

}  // namespace
}  // namespace vyr::vyrgen
