#include "library/3dvisual/features.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "library/3dvisual/world.h"
#include "tests/support/param_names.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int32_t TILE = 1 << 22;
constexpr int32_t BLOCK = 1 << 26;
constexpr int32_t HALF = TILE / 2;

void put32(Bytes& b, size_t at, int32_t value) {
    for (int k = 0; k < 4; ++k) b[at + k] = uint8_t(uint32_t(value) >> (8 * k));
}
void append(Bytes& b, std::initializer_list<int> values) {
    for (int v : values) b.push_back(uint8_t(v));
}

// Positions in a built definition file, for the cases that spoil it.
struct Built {
    Bytes bytes;
    size_t entry = 0, vertices = 0, polygons = 0, far = 0;
};

// Feature 1: a runway over the west half of its tile and a river over the east half, the two
// sharing the edge x = HALF; a point polygon over it all that must never answer; a far list with
// a Gouraud polygon. Feature 2 has no entry, feature 3 an entry without lists.
Built build_features() {
    Built f;
    f.bytes.assign(16 + 24, 0);
    put32(f.bytes, 0, 3);
    f.entry = 16;
    put32(f.bytes, 4, 16);
    put32(f.bytes, 12, 28);
    f.vertices = f.bytes.size();
    append(f.bytes, {6, 0,                          // count
                     16, 128, 128,                  // 0: south-west corner, 3 bytes
                     4, 128, 144, 32, 32,           // 1: north-west corner, 5 bytes
                     4 | 8 | 16, 144, 144, 32, 32, 32, 32,  // 2: north-east corner, 7 bytes
                     8 | 16, 144, 128,              // 3: south-east corner; 8 alone reads 3 bytes
                     4, 136, 144, 32, 32,           // 4: the middle of the north edge
                     4 | 8 | 16, 136, 128, 32, 32, 32, 32});  // 5: the middle of the south edge
    f.polygons = f.bytes.size();
    append(f.bytes, {3, 0,                                 // count
                     FEATURE_MODE_POINTS, FEATURE_ROAD, 4, 9, 0, 1, 2, 3,
                     FEATURE_MODE_FLAT, FEATURE_RUNWAY, 4, 9, 0, 1, 4, 5,
                     FEATURE_MODE_DITHER, FEATURE_RIVER, 4, 9, 10, 5, 4, 2, 3});
    f.far = f.bytes.size();
    append(f.bytes, {1, 0, FEATURE_MODE_GOURAUD, FEATURE_RIVER, 3, 0, 2, 200, 3, 100, 5, 0});
    put32(f.bytes, f.entry, int32_t(f.vertices - f.entry));
    put32(f.bytes, f.entry + 4, int32_t(f.polygons - f.entry));
    put32(f.bytes, f.entry + 8, int32_t(f.far - f.entry));
    return f;
}

// Super feature 1: sea over its whole far block.
Built build_super() {
    Built f;
    f.bytes.assign(8 + 12, 0);
    put32(f.bytes, 0, 1);
    f.entry = 8;
    put32(f.bytes, 4, 8);
    f.vertices = f.bytes.size();
    append(f.bytes, {4, 0, 0, 8, 8, 128, 128, 0, 8, 9, 128, 128, 0, 9, 9, 128, 128, 0, 9, 8, 128, 128});
    f.polygons = f.bytes.size();
    append(f.bytes, {1, 0, FEATURE_MODE_FLAT, FEATURE_OCEAN, 4, 9, 0, 1, 2, 3});
    put32(f.bytes, f.entry, int32_t(f.vertices - f.entry));
    put32(f.bytes, f.entry + 4, int32_t(f.polygons - f.entry));
    return f;
}

// Feature 1 on tile (5, 7), the empty slot 2 on (0, 0), feature 3 on (1, 1).
Bytes build_feature_layer() {
    Bytes b(16384);
    put32(b, (5 * 64 + 7) * 4, 1);
    put32(b, 0, 2);
    put32(b, (1 * 64 + 1) * 4, 3);
    return b;
}

// The sea in far block (6, 6), the world's first, and in (0, 0), the grid's south-west corner.
Bytes build_super_layer() {
    Bytes b(1024);
    put32(b, (6 * 16 + 6) * 4, 1);
    put32(b, 0, 1);
    return b;
}

class FeatureFiles : public ScratchDirectories {
protected:
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    void SetUp() override {
        ScratchDirectories::SetUp();
        features = build_features();
        super = build_super();
        feature_layer_bytes = build_feature_layer();
        super_layer_bytes = build_super_layer();
    }

    void write_and_load() const {
        write_file("korea.wz/features.bin", features.bytes);
        write_file("korea.wz/feature1.lyr", feature_layer_bytes);
        write_file("korea.wz/super.bin", super.bytes);
        write_file("korea.wz/super1.lyr", super_layer_bytes);
        std::strcpy(world_settings.war_zone_directory, "KOREA.WZ\\");
        current_world_settings = &world_settings;
        load_features();
    }

    void write_file(const std::string& name, const Bytes& bytes) const {
        write_bytes(data / name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

    Built features, super;
    Bytes feature_layer_bytes, super_layer_bytes;
};

TEST_F(FeatureFiles, LayersPointAtTheEntriesAndVerticesDecodeFromEveryRecordLength) {
    write_and_load();
    const FeatureEntry* entry = feature_layer[5][7];
    ASSERT_NE(entry, nullptr);
    EXPECT_NE(entry->far_polygons, nullptr);
    EXPECT_EQ(feature_layer[0][0], nullptr);  // a number whose slot holds no entry
    ASSERT_NE(feature_layer[1][1], nullptr);
    EXPECT_EQ(feature_layer[1][1]->vertices, nullptr);
    EXPECT_EQ(feature_layer[7][5], nullptr);
    ASSERT_NE(super_layer[6][6], nullptr);
    EXPECT_EQ(super_layer[6][6], super_layer[0][0]);

    PolyVertex v[MAX_FEATURE_VERTICES];
    decode_feature_vertices(entry->vertices, v);
    const int32_t expected[6][2] = {{0, 0}, {0, TILE}, {TILE, TILE}, {TILE, 0}, {HALF, TILE}, {HALF, 0}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(v[i].x, expected[i][0]) << i;
        EXPECT_EQ(v[i].y, expected[i][1]) << i;
    }
    decode_super_vertices(super_layer[6][6]->vertices, v);
    EXPECT_EQ(v[2].x, BLOCK);
    EXPECT_EQ(v[2].y, BLOCK);
}

TEST_F(FeatureFiles, FineAndFinestStepsRefineTheCoarsePoint) {
    features.bytes[features.vertices + 2 + 3 + 5 + 3] = 30;  // vertex 2: X1 two steps west
    features.bytes[features.vertices + 2 + 3 + 5 + 6] = 64;  // Y2 32 steps north
    write_and_load();
    PolyVertex v[MAX_FEATURE_VERTICES];
    decode_feature_vertices(feature_layer[5][7]->vertices, v);
    EXPECT_EQ(v[2].x, TILE - 2 * 4096);
    EXPECT_EQ(v[2].y, TILE + 32 * 64);
}

TEST_F(FeatureFiles, KindOfTheFirstPolygonHoldingThePointElseTheSea) {
    write_and_load();
    const int32_t x0 = 5 * TILE, y0 = 7 * TILE;
    const struct {
        const char* what;
        int32_t x, y;
        int kind;
    } cases[] = {
        {"inside the runway", x0 + HALF / 2, y0 + HALF, FEATURE_RUNWAY},
        {"inside the river", x0 + 3 * HALF / 2, y0 + HALF, FEATURE_RIVER},
        {"on the shared edge: listed first", x0 + HALF, y0 + HALF, FEATURE_RUNWAY},
        {"on the river's south edge", x0 + 3 * HALF / 2, y0, FEATURE_RIVER},
        {"on the runway's corner", x0, y0, FEATURE_RUNWAY},
        {"tile whose slot holds no entry", 100, 100, FEATURE_OCEAN},
        {"tile whose entry has no lists", TILE + 1, TILE + 1, FEATURE_OCEAN},
        {"far block without a super feature", BLOCK + 5, 5, FEATURE_UNKNOWN},
        {"outside the world, in the grid", -6 * BLOCK + 5, -6 * BLOCK + 5, FEATURE_OCEAN},
        {"outside the world, no super feature", -1, -1, FEATURE_UNKNOWN},
        {"west of the grid", -6 * BLOCK - 1, 5, FEATURE_UNKNOWN},
        {"far east", INT32_MAX, 5, FEATURE_UNKNOWN},
        {"far south-west", INT32_MIN, INT32_MIN, FEATURE_UNKNOWN},
    };
    for (const auto& c : cases) EXPECT_EQ(get_feature_kind(c.x, c.y), c.kind) << c.what;
}

TEST_F(FeatureFiles, ASecondLoadReplacesTheFirst) {
    write_and_load();
    feature_layer_bytes.assign(16384, 0);
    super_layer_bytes.assign(1024, 0);
    write_and_load();
    EXPECT_EQ(feature_layer[5][7], nullptr);
    EXPECT_EQ(get_feature_kind(5 * TILE + 10, 7 * TILE + 10), FEATURE_UNKNOWN);
}

// Each case spoils one file; the load must end with a fatal naming the file, never reading
// outside it.
struct Corruption {
    const char* name;
    std::function<void(Built& features, Built& super, Bytes& layer, Bytes& super_layer)> spoil;
    const char* message;
};

const Corruption CORRUPTIONS[] = {
    {"count past the end", [](Built& f, Built&, Bytes&, Bytes&) { put32(f.bytes, 0, 1000); },
     "FEATURES.BIN: its table of 1000 features runs past the end"},
    {"empty file", [](Built& f, Built&, Bytes&, Bytes&) { f.bytes.clear(); }, "FEATURES.BIN is too short"},
    {"entry past the end", [](Built& f, Built&, Bytes&, Bytes&) { put32(f.bytes, 4, int32_t(f.bytes.size()) - 4); },
     "FEATURES.BIN: feature 1: its entry runs past the end"},
    {"negative entry offset", [](Built& f, Built&, Bytes&, Bytes&) { put32(f.bytes, 12, -8); },
     "FEATURES.BIN: feature 3: its entry runs past the end"},
    {"list outside the file", [](Built& f, Built&, Bytes&, Bytes&) { put32(f.bytes, f.entry + 4, 0x7000); },
     "FEATURES.BIN: feature 1: its list runs past the end"},
    {"too many vertices", [](Built& f, Built&, Bytes&, Bytes&) { f.bytes[f.vertices + 1] = 1; },
     "FEATURES.BIN: feature 1 has 262 vertices"},
    {"truncated far list", [](Built& f, Built&, Bytes&, Bytes&) { f.bytes.pop_back(); },
     "FEATURES.BIN: feature 1: its polygon list runs past the end"},
    {"fine byte beyond 64", [](Built& f, Built&, Bytes&, Bytes&) { f.bytes[f.vertices + 2 + 3 + 3] = 65; },
     "feature 1: vertex 1 has a fine byte of 65"},
    {"index beyond the count", [](Built& f, Built&, Bytes&, Bytes&) { f.bytes[f.polygons + 2 + 8 + 7] = 6; },
     "feature 1: polygon 1 names vertex 6 of 6"},
    {"vertex named twice: its links would loop", [](Built& f, Built&, Bytes&, Bytes&) { f.bytes[f.polygons + 2 + 8 + 7] = 0; },
     "feature 1: polygon 1 names vertex 0 twice"},
    {"far list naming a vertex not flagged far", [](Built& f, Built&, Bytes&, Bytes&) { f.bytes[f.far + 6] = 1; },
     "feature 1: far polygon 0 names vertex 1, which is not flagged far"},
    {"unknown render mode", [](Built& f, Built&, Bytes&, Bytes&) { f.bytes[f.polygons + 2] = 6; },
     "feature 1: polygon 0 has the unknown render mode 6"},
    {"Gouraud polygon in a near list",
     [](Built& f, Built&, Bytes&, Bytes&) { f.bytes[f.polygons + 2 + 8] = FEATURE_MODE_GOURAUD; },
     "feature 1: polygon 1 of its near list is Gouraud shaded"},
    {"layer number beyond the file", [](Built&, Built&, Bytes& l, Bytes&) { put32(l, 8, 4); },
     "FEATURE1.LYR: \\(0, 2\\) names feature 4 of 3"},
    {"negative layer number", [](Built&, Built&, Bytes& l, Bytes&) { put32(l, 16380, -1); },
     "FEATURE1.LYR: \\(63, 63\\) names feature -1 of 3"},
    {"short layer", [](Built&, Built&, Bytes& l, Bytes&) { l.resize(16380); },
     "FEATURE1.LYR is 16380 bytes, expected 16384"},
    {"long super layer", [](Built&, Built&, Bytes&, Bytes& l) { l.push_back(0); },
     "SUPER1.LYR is 1025 bytes, expected 1024"},
    {"super vertex beyond its block", [](Built&, Built& s, Bytes&, Bytes&) { s.bytes[s.vertices + 2 + 5 + 2] = 17; },
     "SUPER.BIN: feature 1: vertex 1 lies in block \\(8, 17\\)"},
    {"super layer number", [](Built&, Built&, Bytes&, Bytes& l) { put32(l, 4, 2); },
     "SUPER1.LYR: \\(0, 1\\) names feature 2 of 1"},
};

class CorruptFeatureFiles : public FeatureFiles, public ::testing::WithParamInterface<Corruption> {};

TEST_P(CorruptFeatureFiles, EndWithAFatalNamingTheFile) {
    GetParam().spoil(features, super, feature_layer_bytes, super_layer_bytes);
    EXPECT_EXIT(write_and_load(), ::testing::ExitedWithCode(10), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Table, CorruptFeatureFiles, ::testing::ValuesIn(CORRUPTIONS), ParamNameOf());

}  // namespace
}  // namespace vyr
