#include "tools/vyrgen/pictures/iff.h"

#include <algorithm>

namespace vyr::vyrgen {

namespace {

constexpr size_t MAX_PACKET = 128;
constexpr size_t MIN_REPEAT = 3;  // a pair costs as much as a repeat packet inside a literal run

void put_be16(std::vector<uint8_t>& out, unsigned value) {
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

void put_be32(std::vector<uint8_t>& out, uint32_t value) {
    put_be16(out, value >> 16);
    put_be16(out, value & 0xFFFF);
}

void put_id(std::vector<uint8_t>& out, const char* id) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(id[i]));
}

void put_chunk(std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& data) {
    put_id(out, id);
    put_be32(out, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() & 1) out.push_back(0);
}

size_t repeat_length(const uint8_t* row, size_t at, size_t length) {
    size_t end = std::min(length, at + MAX_PACKET);
    size_t run = 1;
    while (at + run < end && row[at + run] == row[at]) ++run;
    return run;
}

std::vector<uint8_t> bitmap_header(const Image& image, bool compressed) {
    std::vector<uint8_t> header;
    put_be16(header, unsigned(image.width));
    put_be16(header, unsigned(image.height));
    put_be16(header, 0);  // position
    put_be16(header, 0);
    header.push_back(8);  // planes
    header.push_back(0);  // no mask
    header.push_back(compressed ? 1 : 0);
    header.push_back(0);
    put_be16(header, 0);  // transparent colour
    header.push_back(1);  // square pixels
    header.push_back(1);
    put_be16(header, unsigned(image.width));  // page
    put_be16(header, unsigned(image.height));
    return header;
}

}  // namespace

void encode_byterun1_row(const uint8_t* row, size_t length, std::vector<uint8_t>& out) {
    size_t at = 0;
    while (at < length) {
        size_t run = repeat_length(row, at, length);
        if (run >= MIN_REPEAT || (run == 2 && at + run == length)) {
            out.push_back(uint8_t(1 - int(run)));  // -1 .. -127, never -128
            out.push_back(row[at]);
            at += run;
            continue;
        }
        size_t start = at;
        while (at < length && at - start < MAX_PACKET && repeat_length(row, at, length) < MIN_REPEAT)
            ++at;
        out.push_back(uint8_t(at - start - 1));
        out.insert(out.end(), row + start, row + at);
    }
}

std::vector<uint8_t> encode_pbm(const Picture& picture, bool compressed) {
    const Image& image = picture.image;
    size_t stored = size_t(image.width) + (image.width & 1);
    std::vector<uint8_t> row(stored, 0);
    std::vector<uint8_t> body;
    for (int y = 0; y < image.height; ++y) {
        std::copy_n(image.pixels.begin() + std::ptrdiff_t(y) * image.width, image.width, row.begin());
        if (compressed)
            encode_byterun1_row(row.data(), row.size(), body);
        else
            body.insert(body.end(), row.begin(), row.end());
    }
    std::vector<uint8_t> chunks;
    put_id(chunks, "PBM ");
    put_chunk(chunks, "BMHD", bitmap_header(image, compressed));
    put_chunk(chunks, "CMAP", {picture.palette.begin(), picture.palette.end()});
    put_chunk(chunks, "BODY", body);
    std::vector<uint8_t> file;
    put_id(file, "FORM");
    put_be32(file, uint32_t(chunks.size()));
    file.insert(file.end(), chunks.begin(), chunks.end());
    return file;
}

}  // namespace vyr::vyrgen
