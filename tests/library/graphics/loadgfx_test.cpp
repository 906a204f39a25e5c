#include "library/graphics/loadgfx.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "library/debug/fatal.h"
#include "library/os/file.h"
#include "library/system/memory.h"
#include "tests/support/scratch.h"

namespace vyr {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// Files are built by hand here, byte by byte, so the reader is not checked against a writer that
// shares its mistakes.
std::string be32(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

std::string chunk(const std::string& id, const std::string& data, bool pad = true) {
    return id + be32(uint32_t(data.size())) + data + (pad && data.size() % 2 ? std::string(1, '\0') : "");
}

std::string form(const std::string& chunks, const std::string& type = "PBM ") {
    return "FORM" + be32(uint32_t(4 + chunks.size())) + type + chunks;
}

std::string header(int width, int height, int compression, size_t length = 20) {
    std::string h(20, '\0');
    h[0] = char(width >> 8), h[1] = char(width);
    h[2] = char(height >> 8), h[3] = char(height);
    h[8] = 8;
    h[10] = char(compression);
    return h.substr(0, length);
}

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += char(v);
    return s;
}

// 5 x 3, stored plain: every row carries a pad byte (0x7F) that must never be seen.
std::string odd_width_picture() {
    return form(chunk("BMHD", header(5, 3, 0)) +
                chunk("BODY", bytes({1, 2, 3, 4, 5, 0x7F, 6, 7, 8, 9, 10, 0x7F, 11, 12, 13, 14, 15, 0x7F})));
}

// 6 x 2, ByteRun1: repeat 07 three times then copy 41 42 43; a no-op packet, then six literals.
std::string compressed_picture() {
    return form(chunk("CMAP", std::string("\x10\x20\x30\x40\x50\x60", 6)) +
                chunk("BMHD", header(6, 2, 1)) +
                chunk("BODY", bytes({0xFE, 0x07, 0x02, 0x41, 0x42, 0x43, 0x80, 0x05, 1, 2, 3, 4, 5, 6})));
}

class Pictures : public testing::Test {
protected:
    static void SetUpTestSuite() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }

    std::string write(const std::string& name, const std::string& contents) const {
        return write_bytes(directory_ / name, contents).string();
    }

    // The picture loaded into a block of its own.
    Bytes load(const std::string& contents, int* width = nullptr, int* height = nullptr) {
        uint8_t* pixels = nullptr;
        int w = -1, h = -1;
        EXPECT_EQ(load_picture(write("p.lbm", contents).c_str(), &pixels, &w, &h), 1);
        Bytes result(pixels, pixels + size_t(w) * h);
        free_memory(pixels, "test", 0);
        if (width) *width = w;
        if (height) *height = h;
        return result;
    }

    ScratchDirectory directory_;
};

TEST_F(Pictures, OddWidthRowsLoseTheirPadByte) {
    int width, height;
    EXPECT_EQ(load(odd_width_picture(), &width, &height),
              Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 3);
}

TEST_F(Pictures, ByteRun1RepeatsCopiesAndSkipsTheNoOp) {
    EXPECT_EQ(load(compressed_picture()), Bytes({7, 7, 7, 0x41, 0x42, 0x43, 1, 2, 3, 4, 5, 6}));
}

TEST_F(Pictures, CallersBufferKeepsWhatThePictureDoesNotCover) {
    const struct {
        const char* name;
        std::string file;
        int width, rows;
        Bytes expected;
    } cases[] = {
        {"plain, narrower and shorter", odd_width_picture(), 3, 2, {1, 2, 3, 6, 7, 8}},
        {"run-length, narrower and shorter", compressed_picture(), 4, 1, {7, 7, 7, 0x41}},
        {"plain, wider and taller", odd_width_picture(), 7, 4,
         {1, 2, 3, 4, 5, 0xEE, 0xEE, 6, 7, 8, 9, 10, 0xEE, 0xEE, 11, 12, 13, 14, 15, 0xEE, 0xEE,
          0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes buffer(size_t(c.width) * c.rows, 0xEE);  // exactly the destination: overruns are caught
        uint8_t palette[PICTURE_PALETTE_SIZE] = {};
        EXPECT_EQ(load_picture_palette(write("p.lbm", c.file).c_str(), buffer.data(), c.width, c.rows, palette), 1);
        EXPECT_EQ(buffer, c.expected);
    }
}

TEST_F(Pictures, ColourMapGoesOnlyWhereAPaletteIsGivenAndOnlyAsFarAsItReaches) {
    std::string file = form(chunk("ANNO", "odd") + chunk("CMAP", std::string("\x10\x20\x30\x40\x50\x60\x70", 7)) +
                            chunk("BMHD", header(1, 1, 0)) + chunk("BODY", bytes({9})));
    std::string name = write("p.lbm", file);
    uint8_t palette[PICTURE_PALETTE_SIZE];
    std::fill(std::begin(palette), std::end(palette), 0xAA);
    uint8_t pixel = 0;
    uint8_t* pixels = &pixel;
    EXPECT_EQ(read_picture(name.c_str(), &pixels, 1, 1, palette, nullptr, nullptr), 1);
    EXPECT_EQ(pixel, 9);
    EXPECT_EQ(Bytes(palette, palette + 8), Bytes({0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0xAA}));
    EXPECT_EQ(palette[PICTURE_PALETTE_SIZE - 1], 0xAA);
    EXPECT_EQ(load(file), Bytes({9}));  // no palette asked for: the map is passed over
}

TEST_F(Pictures, NothingIsDecodedWithoutNameBufferHeaderOrPixels) {
    std::string no_body = write("a.lbm", form(chunk("BMHD", header(2, 1, 0)) + chunk("CMAP", "xyz")));
    std::string no_header = write("b.lbm", form(chunk("BODY", "ab")));
    uint8_t buffer[2] = {0xEE, 0xEE};
    uint8_t* pixels = buffer;
    EXPECT_EQ(load_picture_palette(no_body.c_str(), buffer, 2, 1, nullptr), 0);
    EXPECT_EQ(load_picture_palette(no_header.c_str(), buffer, 2, 1, nullptr), 0);
    EXPECT_EQ(read_picture(nullptr, &pixels, 2, 1, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(read_picture(no_body.c_str(), nullptr, 2, 1, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(load_picture_palette(no_body.c_str(), nullptr, 2, 1, nullptr), 0);
    EXPECT_EQ(buffer[0], 0xEE);
    EXPECT_EQ(buffer[1], 0xEE);
    uint8_t* none = nullptr;
    EXPECT_EQ(load_picture(no_body.c_str(), &none, nullptr, nullptr), 0);
    EXPECT_EQ(none, nullptr);
}

// The body is the file's last chunk, so a read past it is a read past the loaded block.
TEST_F(Pictures, ShortBodyIsNeverReadPastItsEnd) {
    const struct {
        const char* name;
        int compression;
        std::string body;
        Bytes allocated;  // in a block of the loader's own: uncovered pixels are zero
        Bytes callers;    // in the caller's buffer: they keep what they held
    } cases[] = {
        {"literal packet cut short", 1, bytes({0x03, 1, 2, 3, 4, 0x07, 5, 6}),
         {1, 2, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0}, {1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}},
        {"repeat packet without its byte", 1, bytes({0xFD, 8, 0xFF}),
         {8, 8, 8, 8, 0, 0, 0, 0, 0, 0, 0, 0}, {8, 8, 8, 8, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string file = form(chunk("BMHD", header(4, 3, c.compression)) + chunk("BODY", c.body));
        EXPECT_EQ(load(file), c.allocated);
        Bytes buffer(12, 0xEE);
        EXPECT_EQ(load_picture_palette(write("p.lbm", file).c_str(), buffer.data(), 4, 3, nullptr), 1);
        EXPECT_EQ(buffer, c.callers);
    }
    // A plain body a row and a half long fills the caller's buffer as far as it goes.
    Bytes buffer(12, 0xEE);
    std::string plain = form(chunk("BMHD", header(4, 3, 0)) + chunk("BODY", bytes({1, 2, 3, 4, 5, 6})));
    EXPECT_EQ(load_picture_palette(write("p.lbm", plain).c_str(), buffer.data(), 4, 3, nullptr), 1);
    EXPECT_EQ(buffer, (Bytes{1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
}

TEST_F(Pictures, MissingPadByteAfterAnOddLastChunkIsAccepted) {
    // The form length counts the pad byte that the file lacks.
    std::string file = form(chunk("BMHD", header(3, 1, 0)) + chunk("BODY", bytes({4, 5, 6})));
    file.pop_back();
    EXPECT_EQ(load(file), Bytes({4, 5, 6}));
}

TEST_F(Pictures, BrokenFilesEndTheProgramWithTheirText) {
    std::string good = odd_width_picture();
    std::string body_chunk = chunk("BODY", "abcd");
    const struct {
        const char* name;
        std::string file;
        const char* text;
    } cases[] = {
        {"empty", "", "Not a FORM File"},
        {"shorter than the id", "FOR", "Not a FORM File"},
        {"another container", "RIFF" + good.substr(4), "Not a FORM File"},
        {"ends after the form length", good.substr(0, 8), "Not a PBM File"},
        {"another form type", form(chunk("BMHD", header(1, 1, 0)), "ILBM"), "Not a PBM File"},
        {"form length too small for its type", "FORM" + be32(3) + "PBM ", "Not a PBM File"},
        {"chunk longer than the file", form("BODY" + be32(1000) + "abcd"), "Not a PBM File"},
        {"chunk length near 4 GiB", form("BODY" + be32(0xFFFFFFFF) + "abcd"), "Not a PBM File"},
        {"cut inside a chunk header", good.substr(0, 12 + 28 + 5), "Not a PBM File"},
        {"cut inside the pixels", good.substr(0, good.size() - 3), "Not a PBM File"},
        {"form longer than the file", "FORM" + be32(4 + body_chunk.size() + 8) + "PBM " + body_chunk, "Not a PBM File"},
        {"header too short to hold the compression", form(chunk("BMHD", header(1, 1, 0, 10))), "Not a PBM File"},
        // Sizes a header claims are held to what the data can fill before anything is allocated.
        {"an overlay of 50 bytes claiming 40,000 x 40,000", form(chunk("BMHD", header(40000, 40000, 1)) + chunk("BODY", std::string(10, '\x81'))),
         "Bad picture size 40000 x 40000"},
        {"the largest header", form(chunk("BMHD", header(65535, 65535, 0)) + chunk("BODY", "ab")), "Bad picture size 65535 x 65535"},
        {"plain rows longer than the data", form(chunk("BMHD", header(4, 3, 0)) + chunk("BODY", bytes({1, 2, 3, 4, 5, 6}))),
         "Bad picture size 4 x 3"},
        {"runs unpacking to more than 64 times the data", form(chunk("BMHD", header(65, 2, 1)) + chunk("BODY", bytes({0x81, 1}))),
         "Bad picture size 65 x 2"},
        {"wider than 4096", form(chunk("BMHD", header(4097, 1, 0)) + chunk("BODY", std::string(4098, 'x'))),
         "Bad picture size 4097 x 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string name = write("broken.lbm", c.file);
        EXPECT_EXIT(
            {
                init_debug_text();
                uint8_t* pixels = nullptr;
                load_picture(name.c_str(), &pixels, nullptr, nullptr);
                std::exit(0);
            },
            testing::ExitedWithCode(10),
            std::string("^FATAL \\*\\*\\* .*/broken\\.lbm ") + c.text + " \\(library/graphics/loadgfx:[0-9]+\\) @ ");
    }
}

TEST_F(Pictures, AFileThatShrinksWhileReadIsNamedAsUnreadable) {
    static std::string name;
    name = write("shrinking.lbm", form(chunk("BMHD", header(100, 100, 0)) + chunk("BODY", std::string(10000, 'x'))));
    EXPECT_EXIT(
        {
            init_debug_text();
            refresh_between_chunks = [] { fs::resize_file(name, 20); };
            uint8_t* pixels = nullptr;
            load_picture(name.c_str(), &pixels, nullptr, nullptr);
            std::exit(0);
        },
        testing::ExitedWithCode(10), "^FATAL \\*\\*\\* Read failed on file .*/shrinking\\.lbm \\(library/graphics/loadgfx:");
}

TEST_F(Pictures, MissingFileIsNamedInTheFatalText) {
    std::string name = (directory_ / "absent.lbm").string();
    EXPECT_EXIT(
        {
            init_debug_text();
            uint8_t* pixels = nullptr;
            load_picture(name.c_str(), &pixels, nullptr, nullptr);
            std::exit(0);
        },
        testing::ExitedWithCode(10), "^FATAL \\*\\*\\* File doesn't exist, .*/absent\\.lbm \\(library/graphics/loadgfx:");
}

}  // namespace
}  // namespace vyr
