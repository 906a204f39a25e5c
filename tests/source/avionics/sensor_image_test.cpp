#include <gtest/gtest.h>

#include "library/3dvisual/viewport.h"
#include "library/graphics/screen.h"
#include "source/avionics/pod_pages.h"
#include "tests/library/3dvisual/accel_frame.h"
#include "tests/support/empty_flight_world.h"

namespace vyr {
namespace {

class SensorImage : public EmptyFlightWorld {
protected:
    void TearDown() override {
        select_screen(nullptr);
        destroy_screen(panel);
        platform::accel::shut_down();
        EmptyFlightWorld::TearDown();
    }
    Screen* panel = nullptr;
};

// The image goes by luminance into the display's shades in its rectangle of the panel picture;
// the panel round it and the frame being drawn stay as they were.
TEST_F(SensorImage, TheImageTakesTheDisplaysShadesInItsRectangleOnly) {
    panel = create_screen(300, 200);
    select_screen(panel);
    clear_screen(0x05050505);
    platform::accel::clear_buffer(0x00FF0000);
    const Rgb before = pixel(10, 10);
    set_viewport(0, 0, 640, 342);
    Pose eye = {};
    eye.position = {32 << 22, 32 << 22, 5000 * 256};
    build_rotation_matrix(0, 0, 0, eye.matrix);
    const MfdRect rect = {100, 40, 140, 140};
    render_sensor_image(rect, eye);
    for (const auto& [x, y] : {std::pair{100, 40}, {239, 179}, {170, 110}}) {
        const uint8_t shade = panel->pixels[y * (panel->width + panel->row_pad) + x];
        EXPECT_GE(shade, 208) << x << "," << y;
        EXPECT_LE(shade, 223) << x << "," << y;
    }
    for (const auto& [x, y] : {std::pair{99, 40}, {240, 179}, {100, 39}, {170, 180}})
        EXPECT_EQ(panel->pixels[y * (panel->width + panel->row_pad) + x], 5) << x << "," << y;
    const Rgb after = pixel(10, 10);
    EXPECT_EQ(after.r, before.r);
    EXPECT_EQ(after.g, before.g);
    EXPECT_EQ(viewport_rect.width, 640);
    EXPECT_EQ(viewport_rect.height, 342);
    EXPECT_EQ(get_current_screen(), panel);
}

}  // namespace
}  // namespace vyr
