// The accelerator board: its 640 x 480 display with two RGB565 colour buffers, buffer clear and
// swap, the hand-over of the screen between the 2D display and the 3D buffers, gamma and the
// linear frame buffer lock.
//
// The board is used from one thread (the game's); presenting goes through the window thread.
#pragma once

#include <cstdint>

namespace vyr::platform::accel {

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;

// Boards present: there is always the one software board.
int count_boards();

// Opens the display: both colour buffers black, the pipeline and the texture unit in their
// opening state, gamma 1.0, and the screen handed to the 3D buffers. Opening again starts afresh.
void open_display();
// Gives everything back; the screen goes back to the 2D display.
void shut_down();
bool display_open();

// Fills the buffer primitives draw into with a colour word 0xRRGGBBAA (alpha unused), made RGB565
// under the pipeline's dither mode as a primitive of that colour would be.
void clear_buffer(uint32_t rgba);

// Makes the back buffer the front one after `interval` vertical blanks (0: at once), and shows it
// while the screen is handed to the 3D buffers.
void swap_buffers(int interval);

// The hand-over: while the 3D buffers have the screen, each swap presents the new front buffer;
// taking the screen presents the current one at once. The 2D display presents only while the
// 3D buffers do not have the screen.
void show_3d_display();
void hand_display_to_2d();
bool is_3d_display_shown();

// Output gamma of the presented picture (1.0: none); values that are not positive are ignored.
void set_gamma(float gamma);

// The linear frame buffer, upper-left origin, no pixel pipeline. Reads see RGB565 words. Writes
// are RGB565 words, written through as they are, or 32-bit 0x00RRGGBB words, which land in a
// buffer of their own and go into the locked colour buffer, converted to RGB565 under the
// pipeline's dither mode, when the last write lock of that kind is released (so they stay over
// whatever was drawn while the lock was held). Locks of the 888 kind nest when they name the same
// buffer; one on the other buffer is refused. A swap ends an 888 lock still held, its writes going
// in first.
enum class LockAccess : uint8_t { READ, WRITE };
enum class LockBuffer : uint8_t { FRONT, BACK };
enum class LockFormat : uint8_t { RGB565, RGB888 };  // for writes; reads are always RGB565

struct LockedBuffer {
    void* pixels;  // pixel (0, 0)
    int stride;    // bytes from one row to the next
};

// False, with `out` cleared, when the display is not open or the lock is refused.
bool lock_frame_buffer(LockAccess access, LockBuffer buffer, LockFormat format,
                       LockedBuffer& out);
void unlock_frame_buffer(LockAccess access, LockBuffer buffer);

// The buffer primitives draw into (the back buffer, or the off-screen target while it is
// selected), rows SCREEN_WIDTH pixels apart; null when the display is not open.
uint16_t* draw_buffer();

// The off-screen target: a colour buffer of the screen's size and pitch, never presented, for
// pictures drawn apart from the frame (the sensor displays'); callers draw into the part their
// viewport covers. While selected, primitives and clears go into it and the frame's buffers are
// left alone: a frame-buffer lock is refused then, so that no 2D drawing meant for the picture
// lands in the frame. Opening the display leaves it unselected and black.
void select_offscreen_target(bool selected);
// Its pixels, RGB565 rows SCREEN_WIDTH apart; null when the display is not open.
const uint16_t* offscreen_target();

}  // namespace vyr::platform::accel
