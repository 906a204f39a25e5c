// Repaint: every change to the UI queues the display area it affects; the "Update Screen" thread
// redraws the queued areas from the visible list into a composition screen and the "Display
// Screen" thread copies the changed rows to the display. Also the inverting drag outlines, the
// display update switch, continuous move and screen shots.
#pragma once

#include <atomic>

#include "library/graphics/screen.h"
#include "library/system/key.h"
#include "library/ui/object.h"

namespace vyr {

constexpr int MAX_REPAINT_AREAS = 128;
constexpr int REPAINT_COLLAPSE = 64;  // more queued areas than this merge into one
constexpr int COMPOSITION_WIDTH = 800;
constexpr int COMPOSITION_HEIGHT = 600;
constexpr int MAX_RUBBER_LINES = 64;
constexpr int MAX_SCREEN_SHOTS = 1000;
constexpr int SCREEN_SHOT_KEY = KEY_ALT | SCAN_S;
constexpr int CONTINUOUS_MOVE_KEY = KEY_ALT | SCAN_M;
constexpr uint32_t UPDATE_SCREEN_PRIORITY = 1;
constexpr uint32_t DISPLAY_SCREEN_PRIORITY = 10;

struct RepaintArea {
    RepaintArea* next;
    int in_use;
    int x0, y0, x1, y1;  // inclusive
};

// The pending areas in order; they never overlap.
extern RepaintArea* repaint_head;
// The areas in the list. Clearing it from outside lets the queued areas go with it.
extern int repaint_count;
extern int repaint_peak;
// Areas queued and not yet handed to the display.
extern std::atomic<int> update_required;
// While 0 the display thread leaves the display alone.
extern std::atomic<int> display_active;
extern std::atomic<int> redisplay_pending;
// 1: windows move while dragged; 0: an outline is dragged and the window moves on release.
extern int continuous_move;
// What the UI draws into; made by the "Update Screen" thread.
extern Screen* composition_screen;

// Queues the object's visible rectangle when it was visible before the visible list is brought up
// to date or is visible after. With `whole`, the area is kept in one piece.
void invalidate_ui_object(UiObject* object, int whole);
// Queues a rectangle (inclusive) cut to the display; nothing after shut-down has begun. `whole`
// keeps it in one piece and cuts the older areas around it; otherwise it is cut around them.
void invalidate_area(int x0, int y0, int x1, int y1, int whole);
// Frees every area, empties the list and the counts, and destroys the composition screen.
void discard_repaint_areas();

// Resuming queues the whole display; suspended, the display is left to whoever draws on it.
void resume_ui_updates();
void suspend_ui_updates();

// Inverting outlines on the display itself, kept over every update until hidden.
void show_rubber_rect(int x0, int y0, int x1, int y1);
void hide_rubber_rect();
void show_rubber_line(int slot, int x0, int y0, int x1, int y1);
void erase_rubber_line(int slot);
void hide_rubber_lines();

// Hot key handler: flips `continuous_move` and keeps it in the settings store.
int toggle_continuous_move(int key_code);
// Writes the accelerator's front buffer to the first free "shot%04d.raw" as headerless RGB: 0, or
// 1 when the buffer cannot be read. With all 1,000 names taken it writes nothing.
int take_screen_shot();
// The Alt+S hot key handler.
int screen_shot_key(int key_code);

// Alt+S and the display update on; the threads come after.
void start_repaint();
// The bodies of the "Update Screen" and "Display Screen" threads.
void run_update_screen();
void run_display_screen();

}  // namespace vyr
