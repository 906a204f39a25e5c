// The 8-bit display: a device listing the modes it can show, a visible surface with an optional
// back buffer behind it, a 256-entry palette, and presentation through the program's window.
//
// Surfaces hold palette indices, rows `pitch` bytes apart (wider than the mode, as display memory
// is). Nothing is converted to 32-bit colour until a frame is presented. Every function may be
// called from any thread; a surface has one holder of its lock at a time.
#pragma once

#include <cstdint>
#include <vector>

namespace vyr::platform {

struct PaletteEntry {
    uint8_t red, green, blue, flags;
};

enum class Surface { VISIBLE, BACK };

// What a lock reports; anything but OK leaves the surface unlocked.
enum class LockStatus {
    OK,
    INVALID_OBJECT,
    SURFACE_LOST,
    OUT_OF_MEMORY,
    INVALID_PARAMS,
    SURFACE_BUSY,
    STILL_DRAWING,
    FAILED,  // any other failure
};

struct SurfaceLock {
    uint8_t* pixels;  // pixel (0, 0)
    int pitch;        // bytes from one row to the next
    int width;
    int height;
};

struct DisplaySize {
    int width, height;
};

// The device. The stand-in always opens; closing gives back the surfaces and the mode.
bool open_display();
void close_display();
bool display_open();

// The modes the display lists: 320 x 200, 320 x 240, 640 x 480 and 800 x 600 unless a test
// has given a list of its own.
bool display_lists_mode(int width, int height);
void set_listed_display_modes(std::vector<DisplaySize> modes);

// Switches to an 8-bit mode; false when the device is closed or does not list the size.
bool set_display_mode(int width, int height);

// Surfaces of the current mode's size, cleared to index 0; the back buffer only when asked.
// Creating releases any earlier ones.
bool create_surfaces(bool with_back_buffer);
void release_surfaces();
bool surface_exists(Surface surface);
// Bytes per row of the current surfaces (0 without any).
int surface_pitch();

// A lost surface reports itself until it is restored; restoring answers whether it is back.
bool surface_lost(Surface surface);
bool restore_surface(Surface surface);
// Waits while another holder has the surface locked, unless `wait` is false: then a held
// surface answers SURFACE_BUSY at once.
LockStatus lock_surface(Surface surface, SurfaceLock& lock, bool wait = true);
void unlock_surface(Surface surface);
// The back buffer becomes visible and the visible surface becomes the back buffer.
void flip_surfaces();

// Cuts palette entries `first` to `first + count - 1` to the 256 that exist: false when none is
// left, else the range left and `skip`, how many of the caller's entries fell before entry 0.
bool clamp_palette_range(int& first, int& count, int& skip);

// Entries `first` to `first + count - 1`, cut to the 256 that exist.
void set_palette(const PaletteEntry* entries, int first, int count);
void get_palette(PaletteEntry* entries, int first, int count);

// Shows the visible surface through the palette as one frame. Under the virtual clock the frame
// takes two ticks, which pass now instead of being waited for.
void present_display();
// Shows the visible surface again when it or the palette changed since the last frame, without
// counting a frame (palette fades and inverting lines between presented frames).
void refresh_display();
// While held (the 3D buffers have the screen) presenting and refreshing show nothing; let go, the
// next refresh shows the visible surface as it then is.
void hold_display(bool held);

// Tests: every lock reports `status` until it is OK again.
void set_lock_fault(LockStatus status);
// Tests: the surfaces report themselves lost and cannot be restored until this is cleared.
void set_surfaces_lost(bool lost);

}  // namespace vyr::platform
