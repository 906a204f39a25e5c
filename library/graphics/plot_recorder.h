// Test harness for the plot drawers: while a recorder is installed, the world-coordinate plot
// calls, the text calls and draw_sprite report what they would draw and draw nothing, so that a display's
// symbology can be checked in its own units rather than as pixels.
#pragma once

#include <cstdint>

namespace vyr {

enum class PlotFill { OUTLINE, PATTERN, SPARSE };

struct Sprite;

struct PlotRecorder {
    virtual ~PlotRecorder() = default;
    // World units as the caller passed them, before the window's turn, offset and clip.
    virtual void line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int colour, bool dashed) = 0;
    virtual void point(int32_t x, int32_t y, int colour) = 0;
    // `colour_or_pattern` is the colour, or the fill pattern for PlotFill::PATTERN.
    virtual void circle(int32_t x, int32_t y, int32_t radius, uint32_t colour_or_pattern, PlotFill fill) = 0;
    // A string at the text position: (world_x, world_y) is the last point given to
    // place_text_at_plot_point, (pixel_x, pixel_y) the text position itself.
    virtual void text(const char* string, int32_t world_x, int32_t world_y, int32_t pixel_x, int32_t pixel_y,
                      int colour) = 0;
    // A sprite given to draw_sprite, with the pixel its top-left corner lands on.
    virtual void sprite(int32_t, int32_t, const Sprite&) {}
};

// Null removes the recorder. Not thread-safe: install it on the thread that draws.
void install_plot_recorder(PlotRecorder* recorder);
// The installed recorder, or null when drawing is real.
PlotRecorder* plot_recorder();

// The world point of the last place_text_at_plot_point, kept for the recorder's text entries.
void note_plot_text_point(int32_t x, int32_t y);
// Reports a string to the recorder at the current text position; 0 when none is installed.
int record_plot_text(const char* string);

}  // namespace vyr
