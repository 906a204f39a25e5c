#include "library/sound/banks.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include "library/os/file.h"
#include "library/os/path.h"
#include "library/sound/samples.h"
#include "library/system/exit.h"
#include "library/system/thread.h"

namespace vyr {

int sound_bank_loaded = 0;

namespace {

constexpr const char* SOURCE_PATH = "library/sound/banks";
constexpr int32_t END_OF_BANK = -1;
// A sample file larger than this cannot be a sound of the program (and would not fit a record).
constexpr long MAX_SAMPLE_FILE = 8L << 20;

bool row_wanted(int row, bool full) { return full || sample_table[row].minimal; }

int32_t read_word(FileHandle* file) {
    uint8_t b[4];
    read_file(file, b, 4, SOURCE_PATH, __LINE__);
    return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

void put_word(std::vector<uint8_t>& out, int32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(uint32_t(value) >> shift));
}

void complain(const char* bank, const char* what) {
    std::fprintf(stderr, "vyr: %s: %s; the bank is built again from the samples\n", bank, what);
}

// A new buffer for the row holding `bytes`; it stays silent when it cannot be locked. The row's
// length is set either way.
void fill_row(int row, const uint8_t* bytes, int count, SoundBuffer* buffer) {
    SampleInfo& info = sample_table[row];
    if (!buffer) return;
    if (uint8_t* region = lock_sound_buffer(buffer, 0, info.length)) {
        std::copy_n(bytes, count, region);
        unlock_sound_buffer(buffer, region, info.length);
    }
    info.buffer = buffer;
}

// False when the bank is damaged; the rows read before the damage keep their sounds.
bool read_bank(const char* name, bool full) {
    FileHandle* file = open_file(name, FILE_ACCESS_READ, FILE_MODE_EXISTING, SOURCE_PATH, __LINE__);
    if (!file) return false;
    bool whole = false;
    const long size = get_file_size(file);
    auto left = [&] { return size - get_file_position(file); };
    std::vector<uint8_t> bytes;
    if (full && left() >= 4) read_word(file);  // the total size, of no use to the reader
    for (;;) {
        if (left() < 4) {
            complain(name, "the file ends before its last record");
            break;
        }
        const int32_t row = read_word(file);
        if (row == END_OF_BANK) {
            whole = true;
            break;
        }
        if (row < 0 || row >= SAMPLE_COUNT) {
            complain(name, "a record names a row outside the sample table");
            break;
        }
        const int32_t count = left() >= 4 ? read_word(file) : -1;
        if (count < 0 || count > left()) {
            complain(name, "a record runs past the end of the file");
            break;
        }
        SampleInfo& info = sample_table[row];
        info.length = std::max(count, int32_t(MIN_SAMPLE_LENGTH));
        if (info.buffer) {
            skip_file(file, count);
        } else {
            bytes.assign(size_t(count), 0);
            read_file(file, bytes.data(), size_t(count), SOURCE_PATH, __LINE__);
            fill_row(row, bytes.data(), count, create_sound_buffer(info.length, info.rate, SOUND_MONO_8));
        }
        yield_thread();
    }
    close_file(file);
    return whole;
}

// Loads every wanted row from its ".raw" file and writes the bank of what was loaded.
void build_bank(const char* name, bool full) {
    std::vector<uint8_t> bank;
    if (full) {
        int32_t total = 0;
        for (int row = 0; row < SAMPLE_COUNT; ++row) {
            long size = get_file_size_by_name(sample_table[row].file_name);  // 0 when missing
            if (size <= MAX_SAMPLE_FILE) total += int32_t(size);
        }
        put_word(bank, total);
    }
    std::vector<uint8_t> bytes;
    for (int row = 0; row < SAMPLE_COUNT; ++row) {
        SampleInfo& info = sample_table[row];
        if (!row_wanted(row, full) || !check_file_exists(info.file_name)) continue;
        const long size = get_file_size_by_name(info.file_name);
        if (size > MAX_SAMPLE_FILE) {
            std::fprintf(stderr, "vyr: %s is too large for a sound; left out\n", info.file_name);
            continue;
        }
        const int32_t count = std::max(int32_t(size), int32_t(MIN_SAMPLE_LENGTH));
        bytes.assign(size_t(count), 0x80);
        if (!load_file(info.file_name, bytes.data(), size_t(size), SOURCE_PATH, __LINE__)) continue;
        if (!info.buffer) {
            SoundBuffer* buffer = create_sound_buffer(count, info.rate, SOUND_MONO_8);
            if (!buffer) continue;  // a row without sound is left out of the bank whole
            info.length = count;
            fill_row(row, bytes.data(), count, buffer);
        }
        put_word(bank, row);
        put_word(bank, count);
        bank.insert(bank.end(), bytes.begin(), bytes.end());
    }
    put_word(bank, END_OF_BANK);
    // The working directory may not have the sound folder the data directory has.
    std::error_code error;
    if (find_path({}, "sound").empty()) std::filesystem::create_directory("sound", error);
    if (!save_file(name, bank.data(), bank.size()))
        std::fprintf(stderr, "vyr: cannot write %s; it is built again next time\n", name);
}

void load_bank(const char* name, bool full) {
    // A damaged bank would leave sounds silent on every later run; it is made anew as a missing one.
    if (!check_file_exists(name) || !read_bank(name, full)) build_bank(name, full);
    sound_bank_loaded = 1;
}

}  // namespace

void load_sample_bank() {
    sound_bank_loaded = 0;
    if (sound_device_present.load() && sound_effects_on && !minimal_sound_set)
        load_bank(FULL_BANK_NAME, true);
    add_exit_handler(release_sample_bank);
}

void load_minimal_sample_bank() {
    if (sound_device_present.load() && minimal_sound_set) {
        load_bank(MINIMAL_BANK_NAME, false);
        return;
    }
    sound_bank_loaded = 1;
}

void release_sample_bank() {
    for (int row = 0; row < SAMPLE_COUNT; ++row)
        release_sound_buffer_now(std::exchange(sample_table[row].buffer, nullptr));
    sound_bank_loaded = 0;
}

}  // namespace vyr
