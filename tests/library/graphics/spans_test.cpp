#include "library/graphics/spans.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "library/3dvisual/terrain_colours.h"
#include "library/graphics/palette.h"
#include "library/graphics/scan.h"
#include "library/graphics/screen.h"

namespace vyr {
namespace {

constexpr uint8_t GUARD = 0xEE;
constexpr int MARGIN = 64;

uint32_t two_colours(char a, char b) { return uint8_t(a) | uint8_t(b) << 8 | uint8_t(a) << 16 | uint32_t(uint8_t(b)) << 24; }

// A screen over memory with guard bytes around it and in its row padding; every pixel starts as
// the letter 'a' + ((x + y) & 15) when diagonal, else 'a' + x.
struct Canvas {
    int width, height, pad;
    std::vector<uint8_t> memory;
    Screen* screen;

    Canvas(int width, int height, int pad, bool diagonal)
        : width(width), height(height), pad(pad), memory(2 * MARGIN + size_t(height) * (width + pad), GUARD) {
        screen = wrap_screen(width, height, pad, memory.data() + MARGIN);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) pixel(x, y) = uint8_t('a' + (diagonal ? (x + y) & 15 : x));
    }
    ~Canvas() { destroy_screen(screen); }

    uint8_t& pixel(int x, int y) { return screen->pixels[y * (width + pad) + x]; }

    bool guards_intact() const {
        for (size_t i = 0; i < memory.size(); ++i) {
            const size_t offset = i - MARGIN;
            const bool on_screen = i >= MARGIN && offset < size_t(height) * (width + pad) &&
                                   offset % (width + pad) < size_t(width);
            if (!on_screen && memory[i] != GUARD) return false;
        }
        return true;
    }

    // Rows of the picture; colour 0 shows as '_'.
    std::vector<std::string> picture() {
        std::vector<std::string> rows;
        for (int y = 0; y < height; ++y) {
            std::string row;
            for (int x = 0; x < width; ++x) row += pixel(x, y) ? char(pixel(x, y)) : '_';
            rows.push_back(row);
        }
        return rows;
    }
};

// Test colours: a shade level adds level / 32 to any colour but 0; terrain table k gives '0' + k.
class SpanFillTest : public testing::Test {
protected:
    static constexpr int WIDTH = 12, HEIGHT = 8;
    std::vector<uint8_t> saved_shades{shade_table, shade_table + sizeof shade_table};
    Canvas canvas{WIDTH, HEIGHT, 3, false};

    void SetUp() override {
        select_screen(canvas.screen);
        for (int c = 0; c < 256; ++c)
            for (int level = 0; level < 256; ++level) {
                shade_table[c * 256 + level] = c ? uint8_t(c + level / 32) : 0;
                for (int k = 0; k < 4; ++k) terrain_haze_tables[k][c * 256 + level] = c ? uint8_t('0' + k) : 0;
            }
    }
    void TearDown() override {
        EXPECT_TRUE(canvas.guards_intact());
        std::memcpy(shade_table, saved_shades.data(), saved_shades.size());
    }

    struct SpanRow {
        int left, right;
        int u0 = 0, u1 = 0, v0 = 0, v1 = 0, s0 = 0, s1 = 0;
    };

    static void set_spans(const std::vector<SpanRow>& rows) {
        span_first = 0;
        span_last = int(rows.size()) - 1;
        for (size_t y = 0; y < rows.size(); ++y) {
            const SpanRow& r = rows[y];
            span_left_x[y] = r.left;
            span_right_x[y] = r.right;
            span_left_u[y] = r.u0;
            span_right_u[y] = r.u1;
            span_left_v[y] = r.v0;
            span_right_v[y] = r.v1;
            span_left_shade[y] = r.s0;
            span_right_shade[y] = r.s1;
        }
    }

    // The expected picture: '.' stands for the untouched background, missing rows are untouched.
    static std::vector<std::string> expect(std::vector<std::string> rows) {
        rows.resize(HEIGHT, std::string(WIDTH, '.'));
        for (std::string& row : rows)
            for (int x = 0; x < WIDTH; ++x)
                if (row[x] == '.') row[x] = char('a' + x);
        return rows;
    }
};

struct FillCase {
    const char* name;
    std::function<void()> fill;
    std::vector<std::string> picture;
};

TEST_F(SpanFillTest, PlainFillersPaintTheirPatternFixedToTheTarget) {
    uint8_t upper[256];
    for (int c = 0; c < 256; ++c) upper[c] = uint8_t(c >= 'a' && c <= 'z' ? c - 32 : c);
    const FillCase cases[] = {
        {"flat", [] { draw_spans_flat(0x23232323); },
         {"############", "..#####.....", "....######..", ".....#......"}},
        {"flat dither", [] { draw_spans_flat(two_colours('X', 'o')); },
         {"XoXoXoXoXoXo", "..oXoXo.....", "....XoXoXo..", ".....X......"}},
        {"stipple", [] { draw_spans_stipple(0x123); },
         {"#.#.#.#.#.#.", "...#.#......", "....#.#.#...", ".....#......"}},
        {"quarter stipple", [] { draw_spans_stipple_quarter('#'); },
         {"#...#...#...", "..#...#.....", "....#...#...", "............"}},
        {"alternate", [] { draw_spans_alternate('#'); },
         {"#.#.#.#.#.#.", "............", "....#.#.#...", "............"}},
        {"remap", [&] { draw_spans_remap(upper); },
         {"ABCDEFGHIJKL", "..CDEFG.....", "....EFGHIJ..", ".....F......"}},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas fresh(WIDTH, HEIGHT, 3, false);
        select_screen(fresh.screen);
        // Scanline 2 is wound the other way.
        set_spans({{0, 11}, {2, 6}, {9, 4}, {5, 5}});
        c.fill();
        EXPECT_EQ(fresh.picture(), expect(c.picture));
        EXPECT_EQ(span_left_x[2], 4);  // the tables keep the exchanged ends
        EXPECT_EQ(span_right_x[2], 9);
        EXPECT_TRUE(fresh.guards_intact());
    }
}

TEST_F(SpanFillTest, NothingIsPaintedWhenNoScanlineIsInUse) {
    span_first = 3;
    span_last = 2;
    draw_spans_flat(0x23232323);
    EXPECT_EQ(canvas.picture(), expect({}));
}

TEST_F(SpanFillTest, GouraudFillShadesACheckerboardOfThePattern) {
    // Shade levels 0 to 224 over 8 pixels: each pixel one step of 32 further.
    set_spans({{0, 7, 0, 0, 0, 0, 0, 0x70000000}, {3, 10, 0, 0, 0, 0, 0, 0x70000000}, {5, 5, 0, 0, 0, 0, 0x30000000, 0}});
    draw_spans_gouraud(two_colours('A', 'a'));
    EXPECT_EQ(canvas.picture(), expect({"AbCdEfGh....", "...AbCdEfGh.", ".....d......"}));
}

// Texture rows: letters, digits, texel 0 between letters, the special texels.
constexpr char TEXTURE_16[] =
    "ABCDEFGHIJKLMNOP"
    "0123456789:;<=>?"
    "Q\0RSqqqqqqqqqqqq"
    "\xFE\xFD\xFF\0Zzzzzzzzzzzz";

TEST_F(SpanFillTest, TexturedFillersReadStepAndShadeTheirTexels) {
    std::array<uint8_t, 64> texels;
    std::memcpy(texels.data(), TEXTURE_16, texels.size());
    TextureRecord texture{0, 16, texels.data()};
    const int LEVEL_32 = 0x10000000, LEVEL_96 = 0x30000000;
    const std::vector<SpanRow> runs = {
        {0, 2, 0, 0x20000, 0, 0, LEVEL_32, LEVEL_32},             // columns 0, 1, 2
        {0, 3, 0, 0x20000, 0x10000, 0x10000, LEVEL_32, LEVEL_32},  // step 0xAAAA: 0, 0, 1, 1
        {6, 6, 5 << 16, 9 << 16, 0, 0, LEVEL_32, 0},              // one pixel: the left values
        {3, 5, 18 << 16, 20 << 16, 0, 0, LEVEL_32, LEVEL_32},      // past the row: wraps to 2..4
        {0, 3, 0, 3 << 16, 2 << 16, 2 << 16, 0, LEVEL_96},        // texel 0 second
        {0, 3, 0, 3 << 16, 0, 0, 0, LEVEL_96},                    // levels 0, 32, 64, 96
    };
    const FillCase cases[] = {
        {"plain", [&] { draw_spans_tex_plain(&texture); },
         {"ABC", "0011", "......F", "...CDE", "Q_RS", "ABCD"}},
        {"transparent plain", [&] { draw_spans_tex_transparent_plain(&texture); },
         {"ABC", "0011", "......F", "...CDE", "Q.RS", "ABCD"}},
        {"lit", [&] { draw_spans_tex_lit(LEVEL_32, &texture); },
         {"BCD", "1122", "......G", "...DEF", "R_ST", "BCDE"}},
        {"transparent lit", [&] { draw_spans_tex_transparent(LEVEL_32, &texture); },
         {"BCD", "1122", "......G", "...DEF", "R.ST", "BCDE"}},
        {"gouraud", [&] { draw_spans_tex_gouraud(&texture); },
         {"BCD", "1122", "......G", "...DEF", "Q_TV", "ACEG"}},
        // The shade keeps stepping over the transparent texel.
        {"transparent gouraud", [&] { draw_spans_tex_transparent_gouraud(&texture); },
         {"BCD", "1122", "......G", "...DEF", "Q.TV", "ACEG"}},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas fresh(WIDTH, HEIGHT, 3, false);
        select_screen(fresh.screen);
        set_spans(runs);
        c.fill();
        std::vector<std::string> picture = c.picture;
        for (std::string& row : picture) row.resize(WIDTH, '.');
        EXPECT_EQ(fresh.picture(), expect(picture));
    }
}

TEST_F(SpanFillTest, SpecialTexelsRemapOrLeaveThePixel) {
    std::array<uint8_t, 64> texels;
    std::memcpy(texels.data(), TEXTURE_16, texels.size());
    TextureRecord texture{0, 16, texels.data()};
    uint8_t upper[256], next[256];
    for (int c = 0; c < 256; ++c) {
        upper[c] = uint8_t(c >= 'a' && c <= 'z' ? c - 32 : c);
        next[c] = uint8_t(c + 1);
    }
    set_spans({{0, 2, 0, 0x20000}, {0, 4, 0, 4 << 16, 3 << 16, 3 << 16}});
    draw_spans_tex_special(upper, next, &texture);
    // 0xFE: table A of the pixel; 0xFD: table B; 0xFF: left alone; 0: drawn as colour 0.
    EXPECT_EQ(canvas.picture(), expect({"ABC.........", "Ac._Z......."}));
}

TEST_F(SpanFillTest, EachWidthClassReadsItsOwnRowLengthAndWrapsColumns) {
    for (int width_class = 0; width_class <= 9; ++width_class) {
        SCOPED_TRACE(width_class);
        const int width = width_class <= 5 ? 16 << width_class : 64;
        const int rows = width_class <= 5 ? 2 : 64;
        std::vector<uint8_t> texels(size_t(width) * rows, 'x');
        texels[width + width - 1] = 'Z';
        texels[width] = 'a';
        texels[width + 1] = 'b';
        TextureRecord texture{width_class, width, texels.data()};
        // Terrain textures are 64 x 64: row 65 is row 1.
        const int v = (width_class <= 5 ? 1 : 65) << 16;
        set_spans({{0, 2, (width - 1) << 16, (width + 1) << 16, v, v}});
        draw_spans_tex_plain(&texture);
        EXPECT_EQ(canvas.picture()[0].substr(0, 3), "Zab");
        draw_spans_tex_gouraud(&texture);
        const std::string shaded = width_class <= 5 ? "Zab" : std::string(3, char('0' + width_class - 6));
        EXPECT_EQ(canvas.picture()[0].substr(0, 3), shaded);
    }
    TextureRecord bad{10, 64, nullptr};
    set_spans({{0, 2}});
    draw_spans_tex_plain(&bad);  // a class beyond the table draws nothing
}

// Shimmer: each scanline from span_first moves its run left (L), right (R) or not at all (N).
std::string shimmered(char move) {
    switch (move) {
        case 'L': return "acdefghijkll";
        case 'R': return "abbcdefghijl";
        default: return "abcdefghijkl";
    }
}

TEST_F(SpanFillTest, ShimmerMovesEachScanlineByThePatternOfTheFramePhase) {
    const char* moves[4] = {"LLRNRNLL", "LRNRNLLR", "RNRNLLRN", "RNLLRNRN"};
    for (int phase = 0; phase < 4; ++phase) {
        SCOPED_TRACE(phase);
        Canvas fresh(WIDTH, HEIGHT, 3, false);
        select_screen(fresh.screen);
        set_spans(std::vector<SpanRow>(HEIGHT, {1, 10}));
        draw_spans_shimmer(SHIMMER_PATTERNS[phase]);
        std::vector<std::string> expected;
        for (int y = 0; y < HEIGHT; ++y) expected.push_back(shimmered(moves[phase][y]));
        EXPECT_EQ(fresh.picture(), expected);
    }
}

TEST_F(SpanFillTest, ShimmerRunEndingInTheLastColumnRepeatsItsOwnLastPixel) {
    set_spans({{3, 11}});
    draw_spans_shimmer(0xCC);  // left
    EXPECT_EQ(canvas.picture()[0], "abcefghijkll");
    for (int x = 0; x < WIDTH; ++x) canvas.pixel(x, 0) = uint8_t('a' + x);
    draw_spans_shimmer(0x33);  // right
    EXPECT_EQ(canvas.picture()[0], "abcddefghijk");
}

// Polygons partly or wholly off a 16 x 12 target, drawn by every filler: the part on the target
// must be exactly what the same polygon gives on a larger target where it lies whole, and
// nothing outside the target may change.
class SpanGuardTest : public testing::Test {
protected:
    static constexpr int OFFSET_X = 32, OFFSET_Y = 16;  // keep the patterns' phases
    std::vector<uint8_t> texels = std::vector<uint8_t>(64);
    TextureRecord texture{0, 16, texels.data()};
    uint8_t remap[256];

    void SetUp() override {
        for (size_t i = 0; i < texels.size(); ++i) texels[i] = uint8_t(i % 7 == 3 ? 0 : 'A' + i % 23);
        texels[5] = 0xFE;
        texels[9] = 0xFD;
        texels[11] = 0xFF;
        for (int c = 0; c < 256; ++c) remap[c] = uint8_t(c ^ 0x20);
    }

    void draw(const std::vector<PolyVertex>& polygon, int dx, int dy, const std::function<void()>& fill) {
        std::vector<PolyVertex> vertices = polygon;
        for (size_t i = 0; i < vertices.size(); ++i) {
            vertices[i].screen_x += dx;
            vertices[i].screen_y += dy;
            vertices[i].next = i + 1 < vertices.size() ? &vertices[i + 1] : nullptr;
        }
        edges_tex_shade(vertices.data());
        fill();
    }
};

PolyVertex corner(int x, int y, int u, int v, int level) {
    PolyVertex p{};
    p.screen_x = x;
    p.screen_y = y;
    p.u = u << 16;
    p.v = v << 16;
    p.shade = level << 23;
    return p;
}

TEST_F(SpanGuardTest, PolygonsOffTheTargetDrawOnlyTheirPartOnIt) {
    const std::vector<std::vector<PolyVertex>> polygons = {
        {corner(-6, -4, 0, 0, 10), corner(9, -2, 15, 0, 200), corner(5, 9, 15, 3, 90), corner(-3, 7, 0, 3, 0)},
        {corner(10, 6, 0, 0, 0), corner(22, 8, 15, 0, 255), corner(18, 17, 15, 3, 128), corner(8, 14, 0, 3, 60)},
        {corner(-10, -10, 0, 0, 0), corner(30, -10, 15, 0, 100), corner(30, 25, 15, 3, 250), corner(-10, 25, 0, 3, 0)},
        {corner(20, 2, 0, 0, 0), corner(26, 3, 4, 0, 0), corner(24, 9, 4, 2, 0)},
        {corner(2, -9, 0, 0, 0), corner(8, -8, 4, 0, 0), corner(5, -2, 4, 2, 0)},
    };
    struct Filler {
        const char* name;
        std::function<void()> fill;
        bool same_on_both = true;
    };
    const Filler fillers[] = {
        {"flat", [] { draw_spans_flat(two_colours('#', '+')); }},
        {"gouraud", [] { draw_spans_gouraud(two_colours('#', '+')); }},
        {"stipple", [] { draw_spans_stipple('#'); }},
        {"quarter stipple", [] { draw_spans_stipple_quarter('#'); }},
        {"alternate", [] { draw_spans_alternate('#'); }},
        {"remap", [&] { draw_spans_remap(remap); }},
        // A run cut at the target's edge cannot take its neighbour from beyond it.
        {"shimmer", [] { draw_spans_shimmer(0xCC); }, false},
        {"tex plain", [&] { draw_spans_tex_plain(&texture); }},
        {"tex transparent plain", [&] { draw_spans_tex_transparent_plain(&texture); }},
        {"tex lit", [&] { draw_spans_tex_lit(0x40000000, &texture); }},
        {"tex transparent", [&] { draw_spans_tex_transparent(0x40000000, &texture); }},
        {"tex gouraud", [&] { draw_spans_tex_gouraud(&texture); }},
        {"tex transparent gouraud", [&] { draw_spans_tex_transparent_gouraud(&texture); }},
        {"tex special", [&] { draw_spans_tex_special(remap, remap, &texture); }},
    };
    for (size_t p = 0; p < polygons.size(); ++p) {
        for (const Filler& filler : fillers) {
            SCOPED_TRACE(testing::Message() << "polygon " << p << ", " << filler.name);
            Canvas small(16, 12, 5, true);
            Canvas large(80, 44, 0, true);
            select_screen(large.screen);
            draw(polygons[p], OFFSET_X, OFFSET_Y, filler.fill);
            select_screen(small.screen);
            const std::vector<std::string> before = small.picture();
            draw(polygons[p], 0, 0, filler.fill);
            EXPECT_TRUE(small.guards_intact());
            EXPECT_EQ(small.picture() != before, p < 3);  // the last two lie wholly off the target
            if (!filler.same_on_both) continue;
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 16; ++x)
                    ASSERT_EQ(small.pixel(x, y), large.pixel(x + OFFSET_X, y + OFFSET_Y)) << x << "," << y;
        }
    }
}

TEST_F(SpanGuardTest, PolygonsBeyondTheTablesRunClean) {
    const std::vector<std::vector<PolyVertex>> polygons = {
        {corner(-20000, -3000, 0, 0, 0), corner(20000, -2000, 15, 0, 255), corner(3, 3000, 15, 3, 9)},
        {corner(5, 990, 0, 0, 0), corner(9, 1010, 15, 3, 0), corner(1, 1005, 0, 3, 0)},
        {corner(-9, 4, 0, 0, 0), corner(-2, 5, 15, 0, 0), corner(-5, 8, 0, 3, 0)},
    };
    for (const std::vector<PolyVertex>& polygon : polygons) {
        Canvas small(16, 12, 5, true);
        select_screen(small.screen);
        draw(polygon, 0, 0, [] { draw_spans_flat(0x23232323); });
        draw(polygon, 0, 0, [] { draw_spans_shimmer(0x66); });
        draw(polygon, 0, 0, [&] { draw_spans_tex_gouraud(&texture); });
        EXPECT_TRUE(small.guards_intact());
    }
}

}  // namespace
}  // namespace vyr
