#include "library/graphics/plot_recorder.h"

#include "library/graphics/font.h"

namespace vyr {

namespace {

PlotRecorder* recorder = nullptr;
int32_t text_world_x = 0;
int32_t text_world_y = 0;

}  // namespace

void install_plot_recorder(PlotRecorder* r) { recorder = r; }

PlotRecorder* plot_recorder() { return recorder; }

void note_plot_text_point(int32_t x, int32_t y) {
    text_world_x = x;
    text_world_y = y;
}

int record_plot_text(const char* string) {
    if (!recorder) return 0;
    recorder->text(string, text_world_x, text_world_y, text_x, text_y, text_colour);
    return 1;
}

}  // namespace vyr
