// The input event queue: one ring of 256 events filled by the window thread, the timer and game
// code, emptied oldest first by the cooperative threads.
#pragma once

#include <atomic>
#include <cstdint>

namespace vyr {

enum EventType : int32_t {
    EV_KEY = 1,
    EV_MOUSE_MOVE,
    EV_MOUSE_CLICK,
    EV_MOUSE_DBL_CLICK,
    EV_TIMER,
    EV_JOY_AX,
    EV_JOY_AY,
    EV_JOY_BX,
    EV_JOY_BY,
    EV_JOY_FIRE,
    EV_LEAVE,
    EV_ENTER,
    EV_SELECT,
    EV_SCROLL,
    EV_STOP,
    EV_MOVE,
    EV_SIZE,
    EV_ON,
    EV_DISPLAY,
    EV_DRAW,
    EV_DESTROY,
    EV_WINDOWS,
};

// Keys: value = key code, x = character (filled by get_event), time = tick_count.
// Pointer: value = buttons (bit 0 left, bit 1 right), x and y = position.
// Timer: time = tick_count.
struct Event {
    int32_t type;
    int32_t value;
    int32_t x;
    int32_t y;
    int32_t time;
};

constexpr int EVENT_QUEUE_SIZE = 256;

// Events waiting; the UI's event manager also holds it one higher while it dispatches.
extern std::atomic<int> event_count;
extern std::atomic<int> events_posted;

// Queues a copy of `event`; 0 when the ring is full (the event is lost), else 1.
int post_input_event(const Event& event);
// The same, for game code injecting synthetic events.
int post_event(const Event& event);
// Takes the oldest event into `out` (key characters filled in, runs of pointer moves and timer
// events merged); 0 when the queue is empty.
int get_event(Event& out);
// Drops every waiting event.
void flush_events();

// For a loop that polls without yielding, after each empty poll: one period passes, so that
// time moves under either clock.
void wait_after_empty_poll();

}  // namespace vyr
