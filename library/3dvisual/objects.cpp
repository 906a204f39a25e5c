#include "library/3dvisual/objects.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/3dvisual/bad_file.h"
#include "library/3dvisual/face_record.h"
#include "library/3dvisual/view.h"
#include "library/3dvisual/world.h"
#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "library/system/memory.h"

namespace vyr {

ObjectHeader** object_table = nullptr;
int32_t object_count = 0;
int32_t tallest_object = 0;
TextureRecord** texture_table = nullptr;
int32_t texture_count = 0;
int32_t objects_loaded = 0;

namespace {

constexpr const char* SOURCE = "library/3dvisual/objects";
constexpr int64_t HEADER_BYTES = 188;
constexpr int64_t SUB_OBJECT_BYTES = 52;
constexpr int64_t TEXTURE_HEADER_BYTES = 12;
constexpr int MAX_TEXTURE_CLASS = 5;
// The accelerator takes the first object textures as 64 x 64 whatever their class.
constexpr int ACCEL_OBJECT_TEXTURES = 43;
constexpr int64_t ACCEL_TEXTURE_BYTES = 64 * 64;
constexpr int COMPACT_LIMIT = 64;
// Deeper than any real object; it keeps the walkers' recursion bounded.
constexpr int MAX_FACE_NESTING = 64;
constexpr int MAX_SUB_OBJECT_NESTING = 32;

// Everything a load makes; a reload frees the old set.
struct LoadedSet {
    void* object_file = nullptr;
    void* texture_file = nullptr;
    std::vector<ObjectHeader> headers;
    std::vector<ObjectHeader*> table;
    std::vector<std::unique_ptr<SubObject[]>> sub_objects;
    std::vector<std::unique_ptr<int32_t[]>> shades;
    std::vector<TextureRecord> textures;
    std::vector<TextureRecord*> texture_pointers;

    ~LoadedSet() {
        free_memory(object_file, SOURCE, __LINE__);
        free_memory(texture_file, SOURCE, __LINE__);
    }
};

std::unique_ptr<LoadedSet> loaded;

// Thrown by a check, with the text of the fatal error that ends the load.
// One file in memory; every read is of bytes a check has found inside it.
struct FileBytes {
    std::string name;
    const uint8_t* bytes;
    int64_t size;

    bool holds(int64_t position, int64_t length) const {
        return position >= 0 && length >= 0 && position <= size && length <= size - position;
    }
    int32_t i32(int64_t position) const { return int32_t(read_u32(bytes + position)); }
    int32_t i16(int64_t position) const { return read_offset16(bytes + position); }
};

FileBytes load_whole(const char* directory, const char* file_name, void*& block) {
    const std::string name = join_path(directory, file_name);
    size_t size = 0;
    block = load_file_alloc(name.c_str(), &size, SOURCE, __LINE__);
    if (!block) fail("%s cannot be read", name.c_str());
    return {name, static_cast<const uint8_t*>(block), int64_t(size)};
}

// The count at the start of a file and the table of offsets after it.
int32_t read_table_count(const FileBytes& file, const char* what) {
    if (!file.holds(0, 4)) fail("%s is too short to hold its count of %s", file.name.c_str(), what);
    const int32_t count = file.i32(0);
    if (count < 0 || !file.holds(4, int64_t(count) * 4))
        fail("%s: its table of %d %s runs past the end of the file", file.name.c_str(), count, what);
    return count;
}

void load_textures(const FileBytes& file, LoadedSet& set) {
    const int32_t count = read_table_count(file, "textures");
    set.textures.resize(size_t(count));
    set.texture_pointers.assign(size_t(count), nullptr);
    for (int32_t k = 0; k < count; ++k) {
        const int64_t at = file.i32(4 + 4 * int64_t(k));
        if (at == 0) continue;
        if (!file.holds(at, TEXTURE_HEADER_BYTES))
            fail("%s: texture %d lies outside the file", file.name.c_str(), k);
        const int32_t width_class = file.i32(at);
        if (width_class < 0 || width_class > MAX_TEXTURE_CLASS)
            fail("%s: texture %d has size class %d", file.name.c_str(), k, width_class);
        const int32_t width = 16 << width_class;
        int64_t bytes = int64_t(width) * texture_rows(width_class);
        if (k < ACCEL_OBJECT_TEXTURES) bytes = std::max(bytes, ACCEL_TEXTURE_BYTES);
        if (!file.holds(at + TEXTURE_HEADER_BYTES, bytes))
            fail("%s: the %lld texels of texture %d run past the end of the file", file.name.c_str(),
                 static_cast<long long>(bytes), k);
        set.textures[size_t(k)] = {width_class, width, const_cast<uint8_t*>(file.bytes + at + TEXTURE_HEADER_BYTES)};
        set.texture_pointers[size_t(k)] = &set.textures[size_t(k)];
    }
}

// The checks of one object, each failure naming the file and the object.
class ObjectReader {
public:
    ObjectReader(const FileBytes& file, int32_t number) : file(file), number(number) {}

    [[noreturn]] void bad(const std::string& what) const {
        fail("%s: object %d: %s", file.name.c_str(), number, what.c_str());
    }

    // The position a list field names, or 0 when the field is 0.
    int64_t list_at(int64_t header, int field) const {
        const int32_t offset = file.i32(header + field);
        if (offset == 0) return 0;
        const int64_t at = header + offset;
        if (!file.holds(at, 1)) bad("a list lies outside the file");
        return at;
    }

    void need(int64_t at, int64_t length, const char* what) const {
        if (!file.holds(at, length)) bad(std::string(what) + " runs past the end of the file");
    }

    void check_compact_points(int64_t at, int count, bool unrotated) const {
        if (!unrotated) return;
        for (int64_t i = 0; i < int64_t(count) * OBJECT_POINT_BYTES; ++i)
            if (file.bytes[at + i] > COMPACT_LIMIT) bad("a compact point has a byte above 64");
    }

    void read(int64_t header, ObjectHeader& h, LoadedSet& set) const {
        need(header, HEADER_BYTES, "the header");
        int32_t words[11];
        for (int i = 0; i < 11; ++i) words[i] = file.i32(header + 4 * i);
        h = {};
        h.unrotated = words[0];
        h.lod_distance = words[1];
        h.lod_next = words[2];
        h.box_min_x = words[3];
        h.box_max_x = words[4];
        h.box_min_y = words[5];
        h.box_max_y = words[6];
        h.box_min_z = words[7];
        h.box_max_z = words[8];
        h.radius = words[9];
        h.height = words[10];
        const bool unrotated = h.unrotated != 0;

        if (int64_t at = list_at(header, 44)) {
            need(at, 4, "the sub-object list");
            h.sub_object_count = file.i32(at);
            if (h.sub_object_count < 0) bad("the sub-object list has a negative count");
            need(at + 4, h.sub_object_count * SUB_OBJECT_BYTES, "the sub-object list");
            auto& list = set.sub_objects.emplace_back(std::make_unique<SubObject[]>(size_t(h.sub_object_count)));
            for (int32_t i = 0; i < h.sub_object_count; ++i) {
                const int64_t entry = at + 4 + i * SUB_OBJECT_BYTES;
                SubObject& sub = list[size_t(i)];
                sub.type = file.i32(entry);
                sub.offset.position = {file.i32(entry + 4), file.i32(entry + 8), file.i32(entry + 12)};
                for (int k = 0; k < 9; ++k) sub.offset.matrix.m[k / 3][k % 3] = file.i32(entry + 16 + 4 * k);
            }
            h.sub_objects = h.sub_object_count > 0 ? list.get() : nullptr;
        }
        if (int64_t at = list_at(header, 48)) {
            need(at, OBJECT_BOUND_POINTS * OBJECT_POINT_BYTES, "the bound list");
            check_compact_points(at, OBJECT_BOUND_POINTS, unrotated);
            h.bounds = file.bytes + at;
        }
        if (int64_t at = list_at(header, 52)) {
            need(at, 2, "the vertex list");
            h.vertex_count = file.i16(at);
            if (h.vertex_count < 0 || h.vertex_count > MAX_OBJECT_VERTICES)
                bad("it has " + std::to_string(h.vertex_count) + " vertices");
            need(at + 2, int64_t(h.vertex_count) * OBJECT_POINT_BYTES, "the vertex list");
            check_compact_points(at + 2, h.vertex_count, unrotated);
            h.vertices = file.bytes + at + 2;
        }
        if (int64_t at = list_at(header, 56)) {
            need(at, 4, "the normal list");
            h.normal_count = file.i16(at);
            h.face_normal_count = file.i16(at + 2);
            if (h.normal_count < 0 || h.normal_count > MAX_OBJECT_NORMALS || h.face_normal_count < 0 ||
                h.face_normal_count > h.normal_count)
                bad("its normal list counts " + std::to_string(h.normal_count) + " normals, " +
                    std::to_string(h.face_normal_count) + " of faces");
            need(at + 4, int64_t(h.normal_count) * OBJECT_NORMAL_BYTES, "the normal list");
            h.normals = reinterpret_cast<const int8_t*>(file.bytes + at + 4);
        }
        if (int64_t at = list_at(header, 60)) h.face_code = file.bytes + at;
        if (int64_t at = list_at(header, 64)) {
            need(at, 2, "the map outline");
            const int32_t polygons = file.i16(at);
            if (polygons < 0) bad("the map outline has a negative count");
            int64_t p = at + 2;
            for (int32_t i = 0; i < polygons; ++i) {
                need(p, 2, "the map outline");
                const int32_t points = file.i16(p);
                if (points < 0) bad("a map outline polygon has a negative count");
                need(p + 2, int64_t(points) * 4, "the map outline");
                p += 2 + int64_t(points) * 4;
            }
            h.map_outline = file.bytes + at;
        }
        if (unrotated && h.normal_count > 0) {
            auto& shades = set.shades.emplace_back(std::make_unique<int32_t[]>(size_t(h.normal_count)));
            if (int64_t at = list_at(header, 68)) {
                need(at, int64_t(h.normal_count) * 4, "the unrotated shades");
                for (int32_t i = 0; i < h.normal_count; ++i) shades[size_t(i)] = file.i32(at + 4 * i);
            }
            h.unrotated_shades = shades.get();
        }
        std::memcpy(h.short_name, file.bytes + header + 72, sizeof h.short_name);
        std::memcpy(h.long_name, file.bytes + header + 88, sizeof h.long_name);
        h.short_name[sizeof h.short_name - 1] = '\0';
        h.long_name[sizeof h.long_name - 1] = '\0';
        h.flags = file.bytes[header + 152];
        h.radar_size = file.i32(header + 156);
        h.detection_range = file.i32(header + 160);
        h.hardness = file.i32(header + 164);
        h.strength = file.i32(header + 168);
        h.damage_radius = file.i32(header + 172);
        h.destroyed_type = file.i32(header + 176);
        h.category = file.i32(header + 180);
        h.gameplay_flags = file.i32(header + 184);
    }

    const FileBytes& file;
    int32_t number;
};

// Walks every branch of an object's face code once, so that the walkers may trust it: ops and
// modes known, records, offsets and case tables inside the file, indices within their lists,
// no stream that can run into itself, nesting bounded.
class FaceCodeCheck {
public:
    FaceCodeCheck(const ObjectReader& reader, const ObjectHeader& header)
        : reader(reader), file(reader.file), header(header) {}

    void check_stream(int64_t at, int depth) {
        if (depth > MAX_FACE_NESTING) reader.bad("its face code nests more than 64 deep");
        std::vector<int64_t> walked;
        for (;;) {
            uint8_t& mark = marks[at];
            if (mark == DONE) break;
            if (mark == WALKING) reader.bad("its face code runs in a loop");
            mark = WALKING;
            walked.push_back(at);
            byte_at(at, 1);
            const int op = file.bytes[at];
            if (op == FACE_OP_END) break;
            at = check_op(op, at + 1, depth);
        }
        for (int64_t position : walked) marks[position] = DONE;
    }

private:
    enum : uint8_t { UNSEEN, WALKING, DONE };

    void byte_at(int64_t at, int64_t length) const {
        if (!file.holds(at, length)) reader.bad("its face code runs past the end of the file");
    }
    // The target of the int16 offset at `at`: relative to the byte after it.
    int64_t target(int64_t at) const {
        byte_at(at, 2);
        return at + 2 + file.i16(at);
    }

    // Checks one op from its operands on; returns where the stream continues.
    int64_t check_op(int op, int64_t at, int depth) {
        switch (op) {
        case FACE_OP_FACE:
            return check_face(at, false);
        case FACE_OP_CONDITIONAL: {
            byte_at(at, 1);
            const int length = file.bytes[at];
            const int64_t end = check_face(at + 1, true);
            if (end - (at + 1) != length) reader.bad("a conditional face's length is not its record's");
            return end;
        }
        case FACE_OP_NODE: {
            byte_at(at, 1);
            const int count = file.bytes[at];
            if (count < 3) reader.bad("a node has fewer than three vertices");
            byte_at(at + 1, count);
            for (int i = 0; i < count; ++i) check_vertex(file.bytes[at + 1 + i]);
            const int64_t offsets = at + 1 + count;
            check_stream(target(offsets + 2), depth + 1);
            check_stream(target(offsets + 4), depth + 1);
            return target(offsets);
        }
        case FACE_OP_IF:
            byte_at(at, 4);
            check_stream(target(at + 6), depth + 1);
            return target(at + 4);
        case FACE_OP_IF_ELSE:
            byte_at(at, 4);
            check_stream(target(at + 6), depth + 1);
            check_stream(target(at + 8), depth + 1);
            return target(at + 4);
        case FACE_OP_SWITCH: {
            byte_at(at, 6);
            const uint32_t mask = read_u32(file.bytes + at + 1);
            const int shift = file.bytes[at + 5];
            if (shift > 31) reader.bad("a switch shifts the state by " + std::to_string(shift));
            // The cases follow the next offset, mask + 1 of them.
            const int64_t cases = int64_t(mask) + 1;
            byte_at(at + 8, cases * 2);
            for (int64_t k = 0; k < cases; ++k) check_stream(target(at + 8 + 2 * k), depth + 1);
            return target(at + 6);
        }
        case FACE_OP_SUB_OBJECT:
            byte_at(at, 1);
            return at + 1;
        default:
            reader.bad("its face code holds the unknown op " + std::to_string(op));
        }
    }

    int64_t check_face(int64_t at, bool conditional) {
        byte_at(at, 2);
        const int mode = file.bytes[at];
        if (mode >= RENDER_MODE_COUNT) reader.bad("a face has the unknown render mode " + std::to_string(mode));
        const FaceLayout layout = face_layout(mode, conditional);
        const int count = file.bytes[at + 1];
        if (count < layout.min_count)
            reader.bad("a face of mode " + std::to_string(mode) + " has " + std::to_string(count) + " vertices");
        const int length = face_record_length(layout, count);
        byte_at(at, length);
        read_face_record(file.bytes + at, conditional, face);
        for (int i = 0; i < count; ++i) check_vertex(face.vertices[i]);
        if (layout.normal && face.face_normal >= header.face_normal_count)
            reader.bad("a face of mode " + std::to_string(mode) + " names face normal " +
                       std::to_string(face.face_normal) + " of " + std::to_string(header.face_normal_count));
        if (layout.vertex_normal)
            for (int i = 0; i < count; ++i)
                if (face.vertex_normals[i] >= header.normal_count)
                    reader.bad("a face names normal " + std::to_string(face.vertex_normals[i]) + " of " +
                               std::to_string(header.normal_count));
        if (layout.texture) check_texture(face);
        return at + length;
    }

    void check_vertex(int vertex) const {
        if (vertex >= header.vertex_count)
            reader.bad("its face code names vertex " + std::to_string(vertex) + " of " +
                       std::to_string(header.vertex_count));
    }

    void check_texture(const FaceRecord& record) const {
        const int t = record.texture;
        if (t >= texture_count || !texture_table[t])
            reader.bad("a face names texture " + std::to_string(t) + ", which OBJTEXT.BIN does not hold");
        const int rows = texture_rows(texture_table[t]->width_class);
        for (int i = 0; i < record.count; ++i)
            if (record.v[i] >= rows)
                reader.bad("a face reads row " + std::to_string(record.v[i]) + " of texture " + std::to_string(t));
    }

    const ObjectReader& reader;
    const FileBytes& file;
    const ObjectHeader& header;
    std::unordered_map<int64_t, uint8_t> marks;
    FaceRecord face;
};

class TableCheck {
public:
    TableCheck(const FileBytes& file) : file(file), lod_state(size_t(object_count), UNSEEN), depth(size_t(object_count), -1) {}

    void check_lod_chain(int32_t number) {
        std::vector<int32_t> path;
        int32_t at = number;
        while (lod_state[size_t(at)] == UNSEEN) {
            lod_state[size_t(at)] = WALKING;
            path.push_back(at);
            const ObjectHeader* h = object_table[at];
            if (h->lod_distance == LOD_LAST) break;
            if (!get_object_header(h->lod_next))
                ObjectReader(file, at).bad("its next level of detail " + std::to_string(h->lod_next) +
                                           " is not an object");
            at = h->lod_next;
        }
        if (lod_state[size_t(at)] == WALKING && object_table[at]->lod_distance != LOD_LAST)
            ObjectReader(file, number).bad("its levels of detail run in a loop");
        for (int32_t n : path) lod_state[size_t(n)] = DONE;
    }

    // How deep the sub-objects of `number` nest.
    int nesting(int32_t number) {
        int& d = depth[size_t(number)];
        if (d == ON_PATH) ObjectReader(file, number).bad("it is among its own sub-objects");
        if (d >= 0) return d;
        d = ON_PATH;
        int deepest = 0;
        const ObjectHeader* h = object_table[number];
        for (int32_t i = 0; i < h->sub_object_count; ++i) {
            const int32_t type = h->sub_objects[i].type;
            if (type == 0) continue;  // known only when an instance is made
            if (!get_object_header(type))
                ObjectReader(file, number).bad("its sub-object " + std::to_string(type) + " is not an object");
            deepest = std::max(deepest, 1 + nesting(type));
            if (deepest > MAX_SUB_OBJECT_NESTING) ObjectReader(file, number).bad("its sub-objects nest more than 32 deep");
        }
        depth[size_t(number)] = deepest;
        return deepest;
    }

private:
    enum : uint8_t { UNSEEN, WALKING, DONE };
    static constexpr int ON_PATH = -2;

    const FileBytes& file;
    std::vector<uint8_t> lod_state;
    std::vector<int> depth;
};

void load_object_headers(const FileBytes& file, LoadedSet& set) {
    const int32_t count = read_table_count(file, "objects");
    set.headers.reserve(size_t(count));
    set.table.assign(size_t(count), nullptr);
    for (int32_t number = 0; number < count; ++number) {
        const int64_t at = file.i32(4 + 4 * int64_t(number));
        if (at == 0) continue;
        ObjectHeader& header = set.headers.emplace_back();
        ObjectReader(file, number).read(at, header, set);
        set.table[size_t(number)] = &header;
    }
}

void check_objects(const FileBytes& file) {
    TableCheck table(file);
    for (int32_t number = 0; number < object_count; ++number) {
        const ObjectHeader* h = object_table[number];
        if (!h) continue;
        table.check_lod_chain(number);
        table.nesting(number);
        if (!h->face_code) continue;
        const ObjectReader reader(file, number);
        if (!h->bounds) reader.bad("it has face code but no bound list");
        FaceCodeCheck(reader, *h).check_stream(h->face_code - file.bytes, 0);
    }
}

void publish(LoadedSet& set) {
    object_table = set.table.data();
    object_count = int32_t(set.table.size());
    texture_table = set.texture_pointers.data();
    texture_count = int32_t(set.texture_pointers.size());
}

}  // namespace

int texture_rows(int width_class) { return std::min(16 << width_class, 256); }

ObjectHeader* get_object_header(int32_t number) {
    if (number < 0 || number >= object_count) return nullptr;
    return object_table[number];
}

void reload_objects(const char* directory) {
    auto set = std::make_unique<LoadedSet>();
    object_table = nullptr;
    object_count = texture_count = 0;
    texture_table = nullptr;
    loaded.reset();
    try {
        const FileBytes objects = load_whole(directory, "3DOBJS.BIN", set->object_file);
        const FileBytes textures = load_whole(directory, "OBJTEXT.BIN", set->texture_file);
        load_textures(textures, *set);
        load_object_headers(objects, *set);
        publish(*set);
        check_objects(objects);
    } catch (const BadFile& bad) {
        object_table = nullptr;
        object_count = texture_count = 0;
        texture_table = nullptr;
        report_fatal_error("%s", SOURCE, __LINE__, bad.text.c_str());
        return;
    }
    tallest_object = 0;
    for (const ObjectHeader& h : set->headers) tallest_object = std::max(tallest_object, h.height);
    loaded = std::move(set);
    objects_loaded = 1;
}

void load_objects() {
    if (!loaded) reload_objects(current_world_settings->data_directory);
}

void light_unrotated_objects() {
    for (int32_t number = 0; number < object_count; ++number) {
        ObjectHeader* h = object_table[number];
        if (!h || h->unrotated != 1) continue;
        for (int32_t i = 0; i < h->normal_count; ++i) {
            const int8_t* n = h->normals + OBJECT_NORMAL_BYTES * i;
            const int32_t light = round31(mul64(n[0] * (1 << 24), light_vector.x) + mul64(n[1] * (1 << 24), light_vector.y) +
                                          mul64(n[2] * (1 << 24), light_vector.z));
            h->unrotated_shades[i] = std::max(light, 0);
        }
    }
    objects_loaded = 0;
}

}  // namespace vyr
