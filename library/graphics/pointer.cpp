#include "library/graphics/pointer.h"

#include <algorithm>

#include "library/graphics/ddraw.h"
#include "platform/display/display.h"

namespace vyr {

PointerShape* current_pointer_shape = nullptr;
int pointer_draw_x = 160;
int pointer_draw_y = 120;

namespace {

struct SaveSlot {
    uint8_t pixels[POINTER_SAVE_BYTES];
    int x, y;  // the pointer position the pixels were saved at
};
SaveSlot save_slots[2];

enum class Copy { SAVE, RESTORE, DRAW };

platform::Surface surface_of(int index) {
    return index == 0 && page_flipping ? platform::Surface::BACK : platform::Surface::VISIBLE;
}

// Copies between the slot's buffer and the pointer's rectangle at (x, y), without the shape's last
// column and row and only inside the display clip; nothing when no part of it is visible or the
// surface cannot be locked.
void copy_pointer(int index, int x, int y, Copy copy) {
    const PointerShape* shape = current_pointer_shape;
    if (!shape || index < 0 || index > 1) return;
    if (shape->width * shape->height > POINTER_SAVE_BYTES) return;
    int x0 = x - shape->hot_x, y0 = y - shape->hot_y;
    int x1 = x0 + shape->width - 1, y1 = y0 + shape->height - 1;
    if (x0 > display_clip_x1 || y0 > display_clip_y1 || x1 < display_clip_x0 || y1 < display_clip_y0) return;

    platform::Surface surface = surface_of(index);
    if (!platform::display_open() || !platform::surface_exists(platform::Surface::VISIBLE)) return;
    if (platform::surface_lost(platform::Surface::VISIBLE) && !platform::restore_surface(platform::Surface::VISIBLE))
        return;
    if (surface == platform::Surface::BACK && platform::surface_lost(surface) && !platform::restore_surface(surface))
        return;
    // Save and restore do not wait for a busy visible surface; the draw does.
    bool wait = copy == Copy::DRAW || surface == platform::Surface::BACK;
    platform::SurfaceLock lock;
    if (platform::lock_surface(surface, lock, wait) != platform::LockStatus::OK) return;

    int row_first = std::max(y0, display_clip_y0), row_last = std::min(y1 - 1, display_clip_y1);
    int column_first = std::max(x0, display_clip_x0), column_last = std::min(x1 - 1, display_clip_x1);
    row_last = std::min(row_last, lock.height - 1);
    column_last = std::min(column_last, lock.width - 1);
    uint8_t* buffer = save_slots[index].pixels;
    for (int row = std::max(row_first, 0); row <= row_last; ++row) {
        uint8_t* screen = lock.pixels + size_t(row) * lock.pitch;
        int offset = (row - y0) * shape->width - x0;  // the buffer holds the whole rectangle
        for (int column = std::max(column_first, 0); column <= column_last; ++column) {
            switch (copy) {
            case Copy::SAVE: buffer[offset + column] = screen[column]; break;
            case Copy::RESTORE: screen[column] = buffer[offset + column]; break;
            case Copy::DRAW:
                if (uint8_t p = shape->pixels[offset + column]) screen[column] = p;
                break;
            }
        }
    }
    platform::unlock_surface(surface);
}

}  // namespace

void save_pointer_background(int index) {
    if (index < 0 || index > 1) return;
    save_slots[index].x = pointer_draw_x;
    save_slots[index].y = pointer_draw_y;
    copy_pointer(index, pointer_draw_x, pointer_draw_y, Copy::SAVE);
}

void draw_pointer(int index) { copy_pointer(index, pointer_draw_x, pointer_draw_y, Copy::DRAW); }

void restore_pointer_background(int index) {
    if (index < 0 || index > 1) return;
    copy_pointer(index, save_slots[index].x, save_slots[index].y, Copy::RESTORE);
}

}  // namespace vyr
