#include "library/ui/utext.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "library/graphics/font.h"
#include "library/ui/scroll.h"
#include "tests/library/ui/widget_fixture.h"
#include "tests/support/paths.h"

namespace vyr {
namespace {

class TextObject : public Widgets {
protected:
    // A text box of the given inner width (x1 - x0) and height at (100, 100), in the small font.
    UiObject* make_text(const char* text, int width = 200, int height = 100, bool wrap = false) {
        return create_ui_object(UI_TEXT, root, "text", ATTR_POS, 100, 100, ATTR_SIZE, width, height, ATTR_FONT,
                                &font_small, ATTR_WRAP, wrap, ATTR_TEXT, text, 0);
    }

    // The laid-out lines, each in brackets.
    static std::string lines_of(UiObject* object) {
        layout_ui_text(object);
        std::string text;
        for (int line = 0; line < object->line_count; ++line) {
            const char* start = get_ui_line_start(object, line);
            const char* end = line + 1 < object->line_count ? get_ui_line_start(object, line + 1) : nullptr;
            std::string whole = end ? std::string(start, end) : std::string(start);
            text += "[" + whole + "]";
        }
        return text;
    }

    // A file in the working directory holding `bytes`.
    static std::string write_file(const char* name, const std::string& bytes) {
        std::string path = std::string(VYR_BUILD_DIR) + "/" + name;
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        return path;
    }
};

TEST_F(TextObject, TheSameTextAgainChangesNothing) {
    UiObject* object = make_text("one\ntwo");
    layout_ui_text(object);
    const char* kept = object->text;
    set_ui_attrs(object, ATTR_TEXT, "one\ntwo", 0);
    EXPECT_EQ(object->text, kept);
    EXPECT_TRUE(object->flags & UIF_LAYOUT_VALID);
    set_ui_attrs(object, ATTR_APPEND_TEXT, "\nthree", ATTR_APPEND_TEXT, "", 0);
    EXPECT_STREQ(object->text, "one\ntwo\nthree");
    EXPECT_FALSE(object->flags & UIF_LAYOUT_VALID);
    EXPECT_EQ(lines_of(object), "[one\n][two\n][three]");
    set_ui_attrs(object, ATTR_TEXT, "", 0);
    EXPECT_EQ(object->text, nullptr);
    EXPECT_EQ(get_ui_line_start(object, 0), nullptr);
}

TEST_F(TextObject, AFileLosesItsCarriageReturns) {
    std::string path = write_file("utext_crlf.txt", "a\r\nb");
    UiObject* object = make_text(nullptr);
    set_ui_attrs(object, ATTR_TEXT_FILE, path.c_str(), 0);
    EXPECT_STREQ(object->text, "a\nb");
    EXPECT_EQ(lines_of(object), "[a\n][b]");
    std::remove(path.c_str());
}

TEST_F(TextObject, ASectionRunsFromAfterItsHeaderToTheNextHeader) {
    std::string path = write_file("utext_index.txt", "#A\r\nx\n#B\ny\r\nz\n#C\nlast");
    struct Case {
        const char* section;
        const char* text;
    };
    UiObject* object = make_text(nullptr);
    for (Case c : {Case{"#B", "y\nz\n"}, Case{"#A", "x\n"}, Case{"#C", "last"}, Case{"#", "x\n"}}) {
        set_ui_attrs(object, ATTR_TEXT_INDEXED, path.c_str(), c.section, 0);
        EXPECT_STREQ(object->text, c.text) << c.section;
    }
    std::string bare = write_file("utext_bare.txt", "#A\nx\n#B");
    set_ui_text_from_index(object, bare.c_str(), "#B");
    EXPECT_EQ(object->text, nullptr);  // a header without a line feed has no text
    EXPECT_DEATH(set_ui_text_from_index(object, path.c_str(), "#D"), "Index #D not found in .*utext_index.txt");
    std::remove(path.c_str());
    std::remove(bare.c_str());
}

TEST_F(TextObject, WrapsAfterTheLastSpaceThatFits) {
    select_font(&font_small);
    int width = get_char_width('a');  // every character of the small font is as wide
    // 100 pixels hold 25 characters of 4: "aaaa bbbb cccc dddd eeee " is 25, "ffff" does not fit.
    UiObject* object = make_text("aaaa bbbb cccc dddd eeee ffff gg", 25 * width - 1, 100, true);
    EXPECT_EQ(lines_of(object), "[aaaa bbbb cccc dddd eeee ][ffff gg]");
    UiObject* word = make_text("abcdefgh ij", 5 * width, 100, true);
    // Over the width, a word without a space opens a line for each further character.
    EXPECT_EQ(lines_of(word), "[][][][abcdefgh ][ij]");
}

TEST_F(TextObject, AFirstLineBeyondTheLastIsResetByTheNextLayout) {
    UiObject* object = make_text("a\nb\nc");
    set_ui_attrs(object, ATTR_TOP_LINE, 2, 0);
    layout_ui_text(object);
    EXPECT_EQ(object->param2, 2);
    set_ui_attrs(object, ATTR_TOP_LINE, 7, 0);
    layout_ui_text(object);
    EXPECT_EQ(object->param2, 0);
    scroll_ui_text_to(object, 3);  // "c" starts at 4
    EXPECT_EQ(object->param2, 2);
    scroll_ui_text_to(object, 9);  // past every line: nothing is shown
    EXPECT_EQ(object->param2, 3);
    draw_text_object(object);
    for (int y = 100; y < 110; ++y)
        for (int x = 100; x < 120; ++x) EXPECT_EQ(pixel(x, y), BACKGROUND);
}

TEST_F(TextObject, MeasuringFitsTheLongestLineAndEveryLine) {
    UiObject* object = make_text("ab\nabcd\n");
    set_ui_attrs(object, ATTR_FIT, 0);
    select_font(&font_small);
    EXPECT_EQ(object->x1 - object->x0, get_text_width("abcd"));
    EXPECT_EQ(object->y1 - object->y0, 3 * get_line_height());
}

TEST_F(TextObject, AShadowDrawsEveryCharacterInBlackOnePixelRightAndDown) {
    UiObject* plain = make_text("HI");
    draw_text_object(plain);
    std::vector<std::pair<int, int>> lit;
    for (int y = 100; y < 110; ++y)
        for (int x = 100; x < 112; ++x)
            if (pixel(x, y) != BACKGROUND) lit.emplace_back(x, y);
    ASSERT_FALSE(lit.empty());
    clear_screen(BACKGROUND * 0x01010101u);
    set_ui_attrs(plain, ATTR_SHADOW, 1, ATTR_TEXT_COLOUR, 9, 0);
    draw_text_object(plain);
    for (auto [x, y] : lit) {
        EXPECT_EQ(pixel(x, y), 9);
        if (pixel(x + 1, y + 1) != 9) {
            EXPECT_EQ(pixel(x + 1, y + 1), 0);
        }
    }
    int shadow = 0;
    for (int y = 100; y < 110; ++y)
        for (int x = 100; x < 112; ++x) shadow += pixel(x, y) == 0;
    EXPECT_GT(shadow, 0);
}

TEST_F(TextObject, SelectedLinesGetABarUnderTheirText) {
    UiObject* object = make_text("a\nb\nc");
    set_ui_attrs(object, ATTR_MULTI_SELECT, 1, ATTR_LINE_SELECTED, 1, 1, 0);
    draw_text_object(object);
    select_font(&font_small);
    int line_height = get_line_height();
    EXPECT_EQ(pixel(150, 100), BACKGROUND);
    EXPECT_EQ(pixel(150, 100 + line_height), COLOUR_HIGHLIGHT);
    EXPECT_EQ(pixel(300, 100 + 2 * line_height - 5), COLOUR_HIGHLIGHT);
    EXPECT_EQ(pixel(150, 100 + 2 * line_height - 4), BACKGROUND);
    EXPECT_EQ(pixel(150, 100 + 2 * line_height), BACKGROUND);
}

TEST_F(TextObject, AScrollerGetsTheLinesAndThePage) {
    UiObject* bar = create_ui_object(UI_SCROLL_V, root, "bar", ATTR_POS, 400, 100, ATTR_SIZE, 12, 104, 0);
    select_font(&font_small);
    UiObject* object = make_text("1\n2\n3\n4\n5\n6\n7\n8\n9\n10", 100, 4 * get_line_height());
    set_ui_attrs(object, ATTR_TOP_LINE, 3, ATTR_SCROLLER, bar, 0);
    EXPECT_EQ(bar->param0, 0);
    EXPECT_EQ(bar->param1, 9);
    EXPECT_EQ(bar->param2, 3);
    EXPECT_EQ(bar->param3, 4);
    UiObject* empty = make_text(nullptr);
    set_ui_attrs(empty, ATTR_SCROLLER, bar, 0);
    EXPECT_EQ(bar->param1, -1);
    ScrollThumb thumb = get_scroll_thumb(bar);
    EXPECT_EQ(thumb.top, bar->y0 + 2);
    EXPECT_EQ(thumb.bottom, bar->y1 - 2);
}

}  // namespace
}  // namespace vyr
