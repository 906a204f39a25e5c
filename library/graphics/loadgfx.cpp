#include "library/graphics/loadgfx.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "library/system/memory.h"

namespace vyr {

namespace {

constexpr const char* SOURCE = "library/graphics/loadgfx";
constexpr size_t HEADER_BYTES_READ = 11;  // through the compression byte
constexpr size_t MAX_PICTURE_SIDE = 4096;  // the widest pictures, of the cockpit, are 1,280
constexpr size_t MAX_RUN_LENGTH_GAIN = 64;  // ByteRun1 gives at most 128 pixels for 2 bytes

uint32_t read_be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

int read_be16(const uint8_t* p) { return p[0] << 8 | p[1]; }

bool is_id(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

struct PictureData {
    bool has_header = false;
    size_t width = 0;
    size_t height = 0;
    bool compressed = false;
    const uint8_t* body = nullptr;  // inside the loaded file
    size_t body_length = 0;
};

// Walks the chunks of the loaded file; false once a fatal error has returned (shut-down).
bool parse_picture(const char* name, const uint8_t* file, size_t size, uint8_t* palette,
                   int* width, int* height, PictureData& picture) {
    if (size < 4 || !is_id(file, "FORM")) {
        report_fatal_error("%s Not a FORM File", SOURCE, __LINE__, name);
        return false;
    }
    if (size < 12 || read_be32(file + 4) < 4 || !is_id(file + 8, "PBM ")) {
        report_fatal_error("%s Not a PBM File", SOURCE, __LINE__, name);
        return false;
    }
    int64_t remaining = int64_t(read_be32(file + 4)) - 4;
    size_t at = 12;
    while (remaining > 0) {
        // The pad byte of an odd-length last chunk may be missing: `at` is then one past the end.
        if (at > size || size - at < 8 || read_be32(file + at + 4) > size - at - 8) {
            report_fatal_error("%s Not a PBM File", SOURCE, __LINE__, name);
            return false;
        }
        const uint8_t* id = file + at;
        uint32_t length = read_be32(id + 4);
        const uint8_t* data = id + 8;
        if (is_id(id, "BMHD")) {
            if (length < HEADER_BYTES_READ) {
                report_fatal_error("%s Not a PBM File", SOURCE, __LINE__, name);
                return false;
            }
            picture.has_header = true;
            picture.width = size_t(read_be16(data));
            picture.height = size_t(read_be16(data + 2));
            picture.compressed = data[10] != 0;
            if (width) *width = read_be16(data);
            if (height) *height = read_be16(data + 2);
        } else if (is_id(id, "CMAP")) {
            if (palette) std::memcpy(palette, data, std::min<size_t>(length, PICTURE_PALETTE_SIZE));
        } else if (is_id(id, "BODY")) {
            picture.body = data;
            picture.body_length = length;
        }
        uint64_t step = 8 + uint64_t(length) + (length & 1);
        remaining -= int64_t(step);
        at += step;
    }
    return true;
}

// Each stored row is padded to an even length.
size_t stored_row_length(const PictureData& picture) { return picture.width + (picture.width & 1); }

// Whether the header's size is one the program draws and, when a block of that size is to be
// made, one the data can fill: a header alone must not make the program claim gigabytes.
bool size_is_sound(const PictureData& picture, bool allocating) {
    if (picture.width > MAX_PICTURE_SIDE || picture.height > MAX_PICTURE_SIDE) return false;
    if (!allocating) return true;
    if (picture.compressed) return picture.width * picture.height <= MAX_RUN_LENGTH_GAIN * picture.body_length;
    // The last row's pad byte may be missing.
    return picture.height == 0 ||
           stored_row_length(picture) * (picture.height - 1) + picture.width <= picture.body_length;
}

void decode_plain(const PictureData& picture, uint8_t* dest, size_t dest_width, size_t dest_rows) {
    size_t stride = stored_row_length(picture);
    size_t rows = std::min(dest_rows, picture.height);
    size_t columns = std::min(dest_width, picture.width);
    for (size_t row = 0; row < rows; ++row) {
        size_t start = row * stride;
        if (start >= picture.body_length) break;
        std::memcpy(dest + row * dest_width, picture.body + start,
                    std::min(columns, picture.body_length - start));
    }
}

// ByteRun1, row by row; bytes beyond the destination's width are dropped, and a packet cut by
// the end of the body gives what it holds.
void decode_byterun1(const PictureData& picture, uint8_t* dest, size_t dest_width,
                     size_t dest_rows) {
    const uint8_t* body = picture.body;
    size_t end = picture.body_length;
    size_t stride = stored_row_length(picture);
    size_t at = 0, row = 0, column = 0;
    auto put = [&](uint8_t pixel) {
        if (column < dest_width) dest[row * dest_width + column] = pixel;
        ++column;
    };
    while (row < dest_rows && at < end) {
        int control = int8_t(body[at++]);
        if (control >= 0) {
            size_t count = std::min(size_t(control) + 1, end - at);
            for (size_t i = 0; i < count; ++i) put(body[at + i]);
            at += count;
        } else if (control != -128 && at < end) {
            uint8_t pixel = body[at++];
            for (int i = 0; i < 1 - control; ++i) put(pixel);
        }
        if (column >= stride) {
            column = 0;
            ++row;
        }
    }
}

}  // namespace

int read_picture(const char* name, uint8_t** pixels, int dest_width, int dest_rows,
                 uint8_t* palette, int* width, int* height) {
    if (!name || !pixels) return 0;
    if (!check_file_exists(name)) {
        report_fatal_error("File doesn't exist, %s", SOURCE, __LINE__, name);
        return 0;
    }
    size_t size = 0;
    auto* file = static_cast<uint8_t*>(load_file_alloc(name, &size, SOURCE, __LINE__));
    if (!file) {
        report_fatal_error("Read failed on file %s", SOURCE, __LINE__, name);
        return 0;
    }
    PictureData picture;
    int decoded = 0;
    if (parse_picture(name, file, size, palette, width, height, picture) && picture.has_header &&
        picture.body) {
        if (!size_is_sound(picture, !*pixels)) {
            report_fatal_error("%s Bad picture size %d x %d", SOURCE, __LINE__, name, int(picture.width),
                               int(picture.height));
            free_memory(file, SOURCE, __LINE__);
            return 0;
        }
        if (!*pixels) {
            size_t bytes = picture.width * picture.height;
            *pixels = static_cast<uint8_t*>(allocate_memory(bytes, SOURCE, __LINE__));
            if (*pixels) std::memset(*pixels, 0, bytes);
            dest_width = int(picture.width);
            dest_rows = int(picture.height);
        }
        if (*pixels) {
            size_t columns = size_t(std::max(dest_width, 0)), rows = size_t(std::max(dest_rows, 0));
            if (picture.compressed)
                decode_byterun1(picture, *pixels, columns, rows);
            else
                decode_plain(picture, *pixels, columns, rows);
            decoded = 1;
        } else {
            report_fatal_error("could not malloc memory ", SOURCE, __LINE__);
        }
    }
    free_memory(file, SOURCE, __LINE__);
    return decoded;
}

int load_picture(const char* name, uint8_t** pixels, int* width, int* height) {
    return read_picture(name, pixels, 0, 0, nullptr, width, height);
}

int load_picture_palette(const char* name, uint8_t* pixels, int dest_width, int dest_rows,
                         uint8_t* palette) {
    if (!pixels) return 0;
    return read_picture(name, &pixels, dest_width, dest_rows, palette, nullptr, nullptr);
}

}  // namespace vyr
