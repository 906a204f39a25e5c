#include "tools/vyrgen/accel_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "library/debug/fatal.h"
#include "library/gfxinit/glide.h"
#include "library/gfxinit/texpal.h"
#include "library/gfxinit/textures.h"
#include "library/graphics/poly.h"
#include "library/os/file.h"
#include "platform/accel/framebuffer.h"
#include "tests/support/glide_start.h"
#include "tests/support/scratch.h"
#include "tools/vyrgen/rgb_palettes.h"

namespace vyr::vyrgen {
namespace {

std::map<std::string, std::vector<uint8_t>> files_by_name() {
    std::map<std::string, std::vector<uint8_t>> files;
    for (DataFile& file : accel_files()) files[file.name] = std::move(file.bytes);
    return files;
}

TEST(AccelFiles, EveryFileHasTheSizeItsReaderTakes) {
    const auto files = files_by_name();
    std::map<std::string, size_t> sizes = {{"3ddata/3dpal.rgb", 672}, {"cockpits/cockpits.rgb", 96}};
    for (const char* zone : {"israel.wz", "korea.wz", "cyprus.wz", "afghan.wz", "nevada.wz"}) {
        sizes[std::string(zone) + "/text64.raw"] = 2 * 97 * 64 * 64;
        sizes[std::string(zone) + "/3dpal.rgb"] = 672;
        sizes[std::string(zone) + "/terrain.rgb"] = 64 * 3;
    }
    const struct {
        const char* family;
        int count;
        size_t size;
    } effects[] = {{"smoke", 8, 32 * 32},   {"gndexp", 32, 64 * 32}, {"newgnd", 32, 64 * 32},
                   {"airexp", 20, 64 * 64}, {"airexl", 20, 64 * 64}, {"flkexp", 20, 64 * 64}};
    for (const auto& family : effects)
        for (int k = 1; k <= family.count; ++k)
            sizes["3ddata/" + std::string(family.family) + std::to_string(k) + ".bmp"] = family.size;
    EXPECT_EQ(files.size(), sizes.size());
    for (const auto& [name, size] : sizes) {
        SCOPED_TRACE(name);
        ASSERT_EQ(files.count(name), 1u);
        EXPECT_EQ(files.at(name).size(), size);
    }
}

TEST(AccelFiles, TerrainTexturesUseOnlyTheTerrainColoursAndDifferByZone) {
    const auto files = files_by_name();
    const std::vector<uint8_t>& korea = files.at("korea.wz/text64.raw");
    EXPECT_TRUE(std::all_of(korea.begin(), korea.end(), [](uint8_t c) { return c >= 71 && c <= 134; }));
    std::set<std::vector<uint8_t>> distinct;
    for (size_t t = 0; t < korea.size() / 4096; ++t) {
        const auto texture = std::vector<uint8_t>(korea.begin() + long(t * 4096), korea.begin() + long((t + 1) * 4096));
        EXPECT_GT(std::set<uint8_t>(texture.begin(), texture.end()).size(), 2u) << "texture " << t << " is flat";
        distinct.insert(texture);
    }
    EXPECT_EQ(distinct.size(), 194u);
    EXPECT_NE(files.at("israel.wz/text64.raw"), korea);
    EXPECT_NE(files.at("israel.wz/terrain.rgb"), files.at("korea.wz/terrain.rgb"));
}

TEST(AccelFiles, EffectPicturesAreAnimationsOnATransparentGround) {
    const auto files = files_by_name();
    for (const char* family : {"smoke", "gndexp", "newgnd", "airexp", "airexl", "flkexp"}) {
        std::vector<uint8_t> previous;
        for (int k = 1; k <= 8; ++k) {
            const std::string name = "3ddata/" + std::string(family) + std::to_string(k) + ".bmp";
            SCOPED_TRACE(name);
            const std::vector<uint8_t>& picture = files.at(name);
            EXPECT_EQ(picture.front(), 0);
            EXPECT_EQ(picture.back(), 0);
            const auto drawn = std::count_if(picture.begin(), picture.end(), [](uint8_t c) { return c != 0; });
            EXPECT_GT(drawn, 20);
            EXPECT_TRUE(std::all_of(picture.begin(), picture.end(), [](uint8_t c) {
                return c == 0 || (c >= SMOKE_FIRST && c < SMOKE_FIRST + SMOKE_COUNT) ||
                       (c >= FIRE_FIRST && c < FIRE_FIRST + FIRE_COUNT);
            }));
            EXPECT_NE(picture, previous);
            previous = picture;
        }
    }
}

// The accelerator starts up on the written files alone (object textures come from elsewhere).
class AccelStartUp : public testing::Test {
protected:
    void SetUp() override {
        for (const DataFile& file : accel_files()) write_bytes(root / file.name, file.bytes);
        write_bytes(root / "vyr.rop", "");
        std::filesystem::create_directories(root / "work");
        work.emplace(root / "work");
        setenv("VYR_DATA", root.path().c_str(), 1);
        init_debug_text();
        find_read_only_path("vyr.rop");
    }
    void TearDown() override {
        platform::accel::shut_down();
        work.reset();
    }
    ScratchDirectory root;
    std::optional<WorkingDirectory> work;
};

TEST_F(AccelStartUp, FillsAll369TexturesAndTheZonesColours) {
    std::vector<uint8_t> texels(4096, 5);
    std::vector<TextureRecord> objects(43, TextureRecord{2, 64, texels.data()});
    std::vector<TextureRecord*> table;
    for (TextureRecord& record : objects) table.push_back(&record);
    start_glide_on("3DDATA\\", "CYPRUS.WZ\\", table);
    for (int i = 0; i < 369; ++i) EXPECT_NE(accel_textures[i].texels, nullptr) << i;

    const auto files = files_by_name();
    const std::vector<uint8_t>& terrain = files.at("cyprus.wz/terrain.rgb");
    const std::vector<uint8_t>& cockpit = files.at("cockpits/cockpits.rgb");
    auto entry = [](const std::vector<uint8_t>& rgb, int i) {
        return 0xFF000000u | uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    };
    for (int i = 0; i < 64; ++i) EXPECT_EQ(accel_texture_palette[71 + i], entry(terrain, i)) << i;
    for (int i = 0; i < 32; ++i) EXPECT_EQ(accel_texture_palette[224 + i], entry(cockpit, i)) << i;

    // Texture coordinates run 0..64 across any texture. A smoke puff drawn keyed leaves its index-0 corner unpainted and paints its middle.
    PolyVertex square[4] = {};
    const int corners[4][2] = {{0, 0}, {64, 0}, {64, 64}, {0, 64}};
    for (int k = 0; k < 4; ++k) {
        square[k] = {0, 1000, 0, 100 + corners[k][0], 100 + corners[k][1], corners[k][0] << 16,
                     corners[k][1] << 16, 0, 0, k < 3 ? &square[k + 1] : nullptr};
    }
    platform::accel::clear_buffer(0x0000FF00);
    draw_poly_keyed(square, FIRST_SMOKE_TEXTURE, 0, 0);
    const uint16_t* back = platform::accel::draw_buffer();
    EXPECT_EQ(back[101 * 640 + 101], 0x001F);  // still blue
    EXPECT_NE(back[132 * 640 + 132], 0x001F);
}

}  // namespace
}  // namespace vyr::vyrgen
