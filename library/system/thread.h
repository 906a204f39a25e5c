// Cooperative threads: every game-side thread runs on an OS thread of its own, but only the one
// holding the baton runs; it passes the baton on only when it yields, sleeps, waits or ends, so
// game code needs no locks and may assume nothing else ran between two of its own yields.
#pragma once

#include <atomic>
#include <cstdint>
#include <semaphore>

#include "library/graphics/screen.h"

namespace vyr {

constexpr int MAX_THREADS = 24;
constexpr uint32_t DEFAULT_THREAD_PRIORITY = 100;
constexpr uint32_t IDLE_THREAD_PRIORITY = 1'000'000;
constexpr int TIME_SLICE = 5;  // clock units a thread may run before yield_if_due hands over

using ThreadProcedure = void (*)();

struct ThreadRecord {
    uint32_t id = 0;  // 0 while the record is free
    uint32_t priority = 0;       // charged per run: a larger number runs less often
    uint32_t base_priority = 0;  // what `priority` drifts back to, by one a pick
    uint32_t cost = 0;           // the runnable thread with the smallest cost runs next
    // While set, the thread can be picked only while the word is non-zero.
    const std::atomic<int>* wait_flag = nullptr;
    int32_t wake_time = 0;  // clock units; not picked before
    int background = 0;     // draws nothing: its drawing context is neither saved nor restored
    Screen* saved_screen = nullptr;
    int32_t saved_clip[4] = {};  // clip_x0, clip_y0, clip_x1, clip_y1
    char name[16] = {};
    std::binary_semaphore semaphore{0};  // the baton: released by the thread that picks this one
};

extern ThreadRecord thread_table[MAX_THREADS];
// Index of the running record, -1 before init_threads.
extern int current_thread;
// One more than the highest record in use.
extern int thread_count;
// Set by the Idle thread whenever it runs; clear it, then wait_until_idle.
extern std::atomic<int> idle_flag;

// Makes the calling thread "System" and starts "Idle"; Idle has run once when it returns.
void init_threads();
// A new thread of priority 100 that runs `procedure` once the scheduler picks it; its id.
uint32_t create_thread(const char* name, ThreadProcedure procedure);
// Ends the calling cooperative thread; nothing after the call runs.
[[noreturn]] void terminate_current_thread();
// Killing another thread is not supported: always fatal.
void kill_thread(uint32_t id);

// Hands over to the thread the scheduler picks; returns when this one is picked again. Returns
// at once while the scheduler is locked.
void yield_thread();
// Yields when the running thread has had its time slice; 1 when it did.
int yield_if_due();
// Not picked again until `units` clock units have passed.
void sleep_thread(int units);
// Not picked while `*flag` is 0, from now until the next wait replaces it; null clears it.
void wait_for_flag(const std::atomic<int>* flag);
// As wait_for_flag, putting the previous condition back once picked.
void wait_for_flag_nested(const std::atomic<int>* flag);
// Returns once the Idle thread has run, that is once every other thread has blocked.
void wait_until_idle();
// While locked, no other thread runs: yields, sleeps and waits return at once.
void lock_scheduler();
void unlock_scheduler();

// The running thread's priority and base.
void set_thread_priority(uint32_t priority);
// A thread's priority and base; an id that names no thread does nothing.
void set_thread_priority_by_id(uint32_t id, uint32_t priority);
// The running thread's priority to 10,000, drifting back to its base.
void lower_thread_priority();
// A thread's priority to 10 (high) or 1 (top), drifting back to its base.
void set_thread_priority_high(uint32_t id);
void set_thread_priority_top(uint32_t id);
// The running thread draws nothing.
void set_thread_background();

// Something that may make a blocked thread runnable happened (a tick, an event, an activation).
// Any thread may call it.
void wake_idle_thread();

}  // namespace vyr
