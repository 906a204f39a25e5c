#include "library/maths/trig.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "library/maths/random.h"
#include "library/os/file.h"

namespace vyr {

int32_t sin_table[SIN_TABLE_SIZE];
int32_t arcsin_table[ARCSIN_TABLE_SIZE];
int32_t arccos_table[ARCSIN_TABLE_SIZE];
int32_t arctan_table[ARCTAN_TABLE_SIZE];

namespace {

constexpr const char* SOURCE = "library/maths/trig";

// The program's own value of a full turn and its reciprocal: the table files hold exactly these.
constexpr double FULL_TURN = 6.28318530718;
constexpr double TURNS_PER_RADIAN = 0.15915494309188485;

struct TableFile {
    const char* name;
    int32_t* table;
    int entries;
    double (*entry)(int i);
    int32_t lowest, highest;  // what `entry` gives; the callers negate and add freely within it
};

constexpr int32_t QUARTER_TURN = 0x40000000;

const TableFile TABLE_FILES[] = {
    {"SINCOS.TBL", sin_table, SIN_TABLE_SIZE,
     [](int i) { return std::sin(i / 8192.0 * FULL_TURN) * 2147483647.0; }, -INT32_MAX, INT32_MAX},
    {"ARCSIN.TBL", arcsin_table, ARCSIN_TABLE_SIZE,
     [](int i) { return std::asin(i / 8192.0) * TURNS_PER_RADIAN * 4294967295.0; }, 0, QUARTER_TURN},
    {"ARCCOS.TBL", arccos_table, ARCSIN_TABLE_SIZE,
     [](int i) { return std::acos(i / 8192.0) * TURNS_PER_RADIAN * 4294967295.0; }, 0, QUARTER_TURN},
    {"ARCTAN.TBL", arctan_table, ARCTAN_TABLE_SIZE,
     [](int i) { return std::atan(i / 4096.0) * TURNS_PER_RADIAN * 4294967295.0; }, 0, QUARTER_TURN},
};

// Little-endian signed 32-bit entries, no header. False when an entry is out of the table's range.
bool decode_table(const TableFile& file, const std::vector<unsigned char>& bytes) {
    for (int i = 0; i < file.entries; ++i) {
        const unsigned char* b = &bytes[size_t(i) * 4];
        file.table[i] = int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                uint32_t(b[3]) << 24);
        if (file.table[i] < file.lowest || file.table[i] > file.highest) return false;
    }
    return true;
}

void encode_table(const TableFile& file, std::vector<unsigned char>& bytes) {
    for (int i = 0; i < file.entries; ++i)
        for (int k = 0; k < 4; ++k)
            bytes[size_t(i) * 4 + k] = uint8_t(uint32_t(file.table[i]) >> 8 * k);
}

}  // namespace

void init_trig_tables() {
    for (const TableFile& file : TABLE_FILES) {
        size_t size = size_t(file.entries) * 4;
        std::vector<unsigned char> bytes(size);
        // A file of any other size or with values out of range is stale or damaged: it is
        // rebuilt, never half used.
        if (get_file_size_by_name(file.name) == long(size) &&
            load_file(file.name, bytes.data(), size, SOURCE, __LINE__) && decode_table(file, bytes))
            continue;
        for (int i = 0; i < file.entries; ++i) file.table[i] = int32_t(std::trunc(file.entry(i)));
        encode_table(file, bytes);
        // A working directory that cannot be written only means computing again next time.
        save_file(file.name, bytes.data(), size);
    }
    reset_random_seed();
}

}  // namespace vyr
