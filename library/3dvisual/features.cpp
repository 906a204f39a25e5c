#include "library/3dvisual/features.h"

#include <bitset>
#include <memory>
#include <string>
#include <vector>

#include "library/3dvisual/bad_file.h"
#include "library/3dvisual/face_record.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "library/system/memory.h"

namespace vyr {

const FeatureEntry* feature_layer[FEATURE_TILES][FEATURE_TILES];
const FeatureEntry* super_layer[SUPER_BLOCKS][SUPER_BLOCKS];

namespace {

constexpr const char* SOURCE = "library/3dvisual/features";

constexpr int ENTRY_BYTES = 12;
constexpr int FINE_LIMIT = 64;   // of the fine and finest bytes, the reach of the drawers' tables
constexpr int BLOCK_LIMIT = 16;  // of a super vertex's block bytes

enum class Level { TILE, SUPER };

// A definition file as loaded and its entries, index n - 1 for feature number n.
struct DefinitionFile {
    void* block = nullptr;
    std::vector<FeatureEntry> entries;
    std::vector<const FeatureEntry*> numbers;

    ~DefinitionFile() { free_memory(block, SOURCE, __LINE__); }
};

std::unique_ptr<DefinitionFile> feature_data;
std::unique_ptr<DefinitionFile> super_data;

// Walks one definition file, refusing anything a reader could trip on.
class Checker {
public:
    Checker(const std::string& name, const uint8_t* bytes, int64_t size, Level level)
        : name_(name), bytes_(bytes), size_(size), level_(level) {}

    bool holds(int64_t position, int64_t length) const {
        return position >= 0 && length >= 0 && position <= size_ && length <= size_ - position;
    }

    // The bytes at a position of the file, once they are known to lie inside it.
    const uint8_t* take(int64_t position, int64_t length, int number, const char* what) const {
        if (!holds(position, length))
            fail("%s: feature %d: its %s runs past the end of the file", name_.c_str(), number, what);
        return bytes_ + position;
    }

    // Each vertex's far flag into `far_flags`, in stream order.
    void check_vertices(int64_t at, int number, std::vector<bool>& far_flags) const {
        const int count = read_offset16(take(at, 2, number, "vertex stream"));
        if (count < 0 || count > MAX_FEATURE_VERTICES)
            fail("%s: feature %d has %d vertices (at most %d)", name_.c_str(), number, count, MAX_FEATURE_VERTICES);
        at += 2;
        for (int i = 0; i < count; ++i) {
            const uint8_t flags = *take(at, 1, number, "vertex stream");
            const int length = level_ == Level::SUPER ? 5 : feature_vertex_bytes(flags);
            far_flags.push_back(flags & FEATURE_VERTEX_FAR);
            const uint8_t* v = take(at, length, number, "vertex stream");
            if (level_ == Level::SUPER) {
                if (v[1] > BLOCK_LIMIT || v[2] > BLOCK_LIMIT)
                    fail("%s: feature %d: vertex %d lies in block (%d, %d), beyond 0..%d", name_.c_str(), number, i,
                         v[1], v[2], BLOCK_LIMIT);
            } else {
                for (int k = 3; k < length; ++k)
                    if (v[k] > FINE_LIMIT)
                        fail("%s: feature %d: vertex %d has a fine byte of %d, beyond 0..%d", name_.c_str(), number,
                             i, v[k], FINE_LIMIT);
            }
            at += length;
        }
    }

    // Drawers and the query link a polygon's vertices through their records, so a vertex named
    // twice would close the list into a loop; the far list draws only vertices flagged for it.
    void check_polygons(int64_t at, const std::vector<bool>& far_flags, bool near, int number) const {
        const int vertex_count = int(far_flags.size());
        const int count = read_offset16(take(at, 2, number, "polygon list"));
        if (count < 0) fail("%s: feature %d has %d polygons", name_.c_str(), number, count);
        at += 2;
        for (int p = 0; p < count; ++p) {
            const uint8_t* record = take(at, 4, number, "polygon list");
            const int mode = record[0], n = record[2];
            if (mode != FEATURE_MODE_POINTS && mode != FEATURE_MODE_LINES && !is_filled_feature_mode(mode) &&
                mode != FEATURE_MODE_GOURAUD)
                fail("%s: feature %d: polygon %d has the unknown render mode %d", name_.c_str(), number, p, mode);
            // The plan map and the ground query read the near lists and cannot draw shades.
            if (near && mode == FEATURE_MODE_GOURAUD)
                fail("%s: feature %d: polygon %d of its near list is Gouraud shaded", name_.c_str(), number, p);
            if (n == 0 && mode >= FEATURE_MODE_FLAT)
                fail("%s: feature %d: polygon %d has no vertices", name_.c_str(), number, p);
            at += 4 + (mode == FEATURE_MODE_DITHER);
            const int step = mode == FEATURE_MODE_GOURAUD ? 2 : 1;
            const uint8_t* indices = take(at, int64_t(n) * step, number, "polygon list");
            std::bitset<MAX_FEATURE_VERTICES> named;
            for (int k = 0; k < n; ++k) {
                const int index = indices[k * step];
                if (index >= vertex_count)
                    fail("%s: feature %d: polygon %d names vertex %d of %d", name_.c_str(), number, p, index,
                         vertex_count);
                if (mode >= FEATURE_MODE_FLAT && named[size_t(index)])
                    fail("%s: feature %d: polygon %d names vertex %d twice", name_.c_str(), number, p, index);
                named[size_t(index)] = true;
                if (!near && !far_flags[size_t(index)])
                    fail("%s: feature %d: far polygon %d names vertex %d, which is not flagged far", name_.c_str(),
                         number, p, index);
            }
            at += int64_t(n) * step;
        }
    }

    // The entry at `at`, its lists checked and pointed at.
    FeatureEntry check_entry(int64_t at, int number) const {
        const uint8_t* fields = take(at, ENTRY_BYTES, number, "entry");
        const uint8_t* lists[3] = {};
        for (int k = 0; k < 3; ++k) {
            const int32_t offset = int32_t(read_u32(fields + 4 * k));
            if (offset != 0) lists[k] = take(at + offset, 2, number, "list");
        }
        FeatureEntry entry{lists[0], lists[1], level_ == Level::TILE ? lists[2] : nullptr};
        std::vector<bool> far_flags;
        if (entry.vertices) check_vertices(entry.vertices - bytes_, number, far_flags);
        if (entry.polygons) check_polygons(entry.polygons - bytes_, far_flags, true, number);
        if (entry.far_polygons) check_polygons(entry.far_polygons - bytes_, far_flags, false, number);
        return entry;
    }

private:
    const std::string& name_;
    const uint8_t* bytes_;
    int64_t size_;
    Level level_;
};

std::unique_ptr<DefinitionFile> load_definitions(const std::string& name, Level level) {
    auto data = std::make_unique<DefinitionFile>();
    size_t size = 0;
    data->block = load_file_alloc(name.c_str(), &size, SOURCE, __LINE__);
    if (!data->block) fail("%s cannot be read", name.c_str());
    const uint8_t* bytes = static_cast<const uint8_t*>(data->block);
    const Checker file(name, bytes, int64_t(size), level);
    if (!file.holds(0, 4)) fail("%s is too short to hold its count", name.c_str());
    const int32_t count = int32_t(read_u32(bytes));
    if (count < 0 || !file.holds(4, int64_t(count) * 4))
        fail("%s: its table of %d features runs past the end", name.c_str(), count);
    data->entries.reserve(size_t(count));
    data->numbers.assign(size_t(count), nullptr);
    for (int n = 1; n <= count; ++n) {
        const int32_t offset = int32_t(read_u32(bytes + 4 * n));
        if (offset == 0) continue;
        data->entries.push_back(file.check_entry(offset, n));
        data->numbers[size_t(n - 1)] = &data->entries.back();
    }
    return data;
}

// A layer file of side x side numbers, x-major, into its table.
void load_layer(const std::string& name, const DefinitionFile& data, const FeatureEntry** layer, int side) {
    std::vector<uint8_t> bytes(size_t(side) * side * 4);
    load_file_exact(name.c_str(), bytes.data(), bytes.size(), SOURCE, __LINE__);
    const int32_t count = int32_t(data.numbers.size());
    for (int i = 0; i < side * side; ++i) {
        const int32_t number = int32_t(read_u32(&bytes[size_t(i) * 4]));
        if (number < 0 || number > count)
            fail("%s: (%d, %d) names feature %d of %d", name.c_str(), i / side, i % side, number, count);
        layer[i] = number ? data.numbers[size_t(number - 1)] : nullptr;
    }
}

void clear_layers() {
    for (auto& column : feature_layer)
        for (const FeatureEntry*& entry : column) entry = nullptr;
    for (auto& column : super_layer)
        for (const FeatureEntry*& entry : column) entry = nullptr;
}

}  // namespace

void load_features() {
    const std::string directory = current_world_settings->war_zone_directory;
    clear_layers();
    feature_data.reset();
    super_data.reset();
    try {
        feature_data = load_definitions(join_path(directory, "FEATURES.BIN"), Level::TILE);
        load_layer(join_path(directory, "FEATURE1.LYR"), *feature_data, &feature_layer[0][0], FEATURE_TILES);
        super_data = load_definitions(join_path(directory, "SUPER.BIN"), Level::SUPER);
        load_layer(join_path(directory, "SUPER1.LYR"), *super_data, &super_layer[0][0], SUPER_BLOCKS);
    } catch (const BadFile& bad) {
        clear_layers();
        report_fatal_error("%s", SOURCE, __LINE__, bad.text.c_str());
    }
}

}  // namespace vyr
