// A plot recorder for tests of displays drawn through the plot window (MFD pages, the head-up
// display, the panel): while one lives, every plot line, point, circle, text and sprite is kept here in
// the caller's world units instead of being drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "library/graphics/plot_recorder.h"
#include "library/graphics/rect.h"

namespace vyr {

class RecordingPlot : public PlotRecorder {
public:
    struct Line {
        int32_t x0, y0, x1, y1;
        int colour;
        bool dashed;
    };
    struct Point {
        int32_t x, y;
        int colour;
    };
    struct Circle {
        int32_t x, y, radius;
        uint32_t colour_or_pattern;
        PlotFill fill;
    };
    struct SpriteDrawn {
        int32_t x, y;
        Sprite sprite;
    };
    struct Text {
        std::string string;
        int32_t world_x, world_y, pixel_x, pixel_y;
        int colour;
    };

    RecordingPlot() { install_plot_recorder(this); }
    ~RecordingPlot() override { install_plot_recorder(nullptr); }
    RecordingPlot(const RecordingPlot&) = delete;
    RecordingPlot& operator=(const RecordingPlot&) = delete;

    void line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int colour, bool dashed) override {
        lines.push_back({x0, y0, x1, y1, colour, dashed});
    }
    void point(int32_t x, int32_t y, int colour) override { points.push_back({x, y, colour}); }
    void circle(int32_t x, int32_t y, int32_t radius, uint32_t colour_or_pattern, PlotFill fill) override {
        circles.push_back({x, y, radius, colour_or_pattern, fill});
    }
    void text(const char* string, int32_t world_x, int32_t world_y, int32_t pixel_x, int32_t pixel_y,
              int colour) override {
        texts.push_back({string, world_x, world_y, pixel_x, pixel_y, colour});
    }

    void sprite(int32_t x, int32_t y, const Sprite& drawn) override { sprites.push_back({x, y, drawn}); }

    void clear() {
        sprites.clear();
        lines.clear();
        points.clear();
        circles.clear();
        texts.clear();
    }
    // The first text entry equal to `string`, or null.
    const Text* find_text(const std::string& string) const {
        for (const Text& t : texts)
            if (t.string == string) return &t;
        return nullptr;
    }
    // Every text entry joined with '|', for readable expectations.
    std::string all_text() const {
        std::string joined;
        for (const Text& t : texts) joined += (joined.empty() ? "" : "|") + t.string;
        return joined;
    }

    std::vector<Line> lines;
    std::vector<Point> points;
    std::vector<Circle> circles;
    std::vector<Text> texts;
    std::vector<SpriteDrawn> sprites;
};

}  // namespace vyr
