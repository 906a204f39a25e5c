#include "tools/vyrgen/pictures/iff.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "library/graphics/loadgfx.h"
#include "library/system/memory.h"
#include "tests/support/scratch.h"

namespace vyr::vyrgen {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes be32(uint32_t v) { return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes id(const char* text) { return Bytes(text, text + 4); }

// What a row's packets give, or empty when a packet is cut short or uses the 0x80 control byte.
Bytes walk_packets(const Bytes& packets) {
    Bytes row;
    for (size_t at = 0; at < packets.size();) {
        int control = int8_t(packets[at++]);
        if (control == -128) return {};
        size_t data = control >= 0 ? size_t(control) + 1 : 1;
        if (at + data > packets.size()) return {};
        if (control >= 0)
            row.insert(row.end(), packets.begin() + long(at), packets.begin() + long(at + data));
        else
            row.insert(row.end(), size_t(1 - control), packets[at]);
        at += data;
    }
    return row;
}

TEST(PbmWriter, SmallPictureIsByteExact) {
    Picture picture{Image(3, 1), {}};
    picture.image.pixels = {1, 2, 3};
    picture.palette[0] = 0x11, picture.palette[767] = 0x22;
    Bytes palette(picture.palette.begin(), picture.palette.end());
    Bytes bmhd = {0, 3, 0, 1, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 1, 1, 0, 3, 0, 1};
    Bytes packed = bmhd;
    packed[10] = 1;
    Bytes chunks_plain = cat({id("BMHD"), be32(20), bmhd, id("CMAP"), be32(768), palette,
                              id("BODY"), be32(4), {1, 2, 3, 0}});
    Bytes chunks_packed = cat({id("BMHD"), be32(20), packed, id("CMAP"), be32(768), palette,
                               id("BODY"), be32(5), {3, 1, 2, 3, 0}, {0}});  // odd chunk: pad byte
    EXPECT_EQ(encode_pbm(picture, false),
              cat({id("FORM"), be32(uint32_t(4 + chunks_plain.size())), id("PBM "), chunks_plain}));
    EXPECT_EQ(encode_pbm(picture, true),
              cat({id("FORM"), be32(uint32_t(4 + chunks_packed.size())), id("PBM "), chunks_packed}));
}

TEST(PbmWriter, RowPacketsStandAloneAndAvoidTheNoOpControl) {
    auto run = [](size_t n, uint8_t v) { return Bytes(n, v); };
    Bytes ramp(300);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = uint8_t(i * 7);
    const struct {
        const char* name;
        Bytes row;
    } cases[] = {
        {"one byte", {5}},
        {"a pair at the end", {1, 2, 2}},
        {"run of 128", run(128, 9)},
        {"run of 129", run(129, 9)},
        {"run of 300", run(300, 0)},
        {"128 literals then a run", cat({Bytes(ramp.begin(), ramp.begin() + 128), run(5, 4)})},
        {"300 literals", ramp},
        {"pairs between literals", {1, 1, 2, 3, 3, 4, 5, 5, 6}},
        {"run, literal, run", cat({run(3, 1), {2}, run(130, 1)})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes packets;
        encode_byterun1_row(c.row.data(), c.row.size(), packets);
        EXPECT_EQ(walk_packets(packets), c.row);  // ends exactly at the row's end
        EXPECT_LT(packets.size(), c.row.size() + c.row.size() / 128 + 2);
    }
}

// Written by the tool, read by the game: pixels, colour map and size come back unchanged.
TEST(PbmWriter, GameReaderDecodesWhatWasWritten) {
    ScratchDirectory directory;
    std::mt19937 random(1);
    const int widths[] = {1, 2, 5, 127, 128, 129, 257, 640};
    const char* const contents[] = {"flat", "noise", "stripes"};
    for (int width : widths)
        for (const char* content : contents)
            for (bool compressed : {false, true}) {
                SCOPED_TRACE(testing::Message() << width << " " << content << (compressed ? " packed" : " plain"));
                Picture picture{Image(width, 3), {}};
                for (size_t i = 0; i < picture.image.pixels.size(); ++i)
                    picture.image.pixels[i] = std::string(content) == "flat"    ? 0x80
                                              : std::string(content) == "noise" ? uint8_t(random())
                                                                                : uint8_t(i / 3 % 4);
                for (uint8_t& entry : picture.palette) entry = uint8_t(random());
                std::string name = write_bytes(directory / "p.lbm", encode_pbm(picture, compressed)).string();
                uint8_t* pixels = nullptr;
                int w = 0, h = 0;
                ASSERT_EQ(load_picture(name.c_str(), &pixels, &w, &h), 1);
                EXPECT_EQ(w, width);
                EXPECT_EQ(h, 3);
                EXPECT_EQ(Bytes(pixels, pixels + size_t(w) * h), picture.image.pixels);
                free_memory(pixels, "test", 0);
                Palette palette{};
                Bytes buffer(size_t(width) * 3);
                ASSERT_EQ(load_picture_palette(name.c_str(), buffer.data(), width, 3, palette.data()), 1);
                EXPECT_EQ(palette, picture.palette);
            }
}

}  // namespace
}  // namespace vyr::vyrgen
