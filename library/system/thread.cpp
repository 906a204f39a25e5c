#include "library/system/thread.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string_view>
#include <thread>

#include "library/debug/fatal.h"
#include "library/graphics/plot.h"
#include "library/system/timer.h"
#include "library/system/winmain.h"
#include "platform/timer/timer.h"

namespace vyr {

ThreadRecord thread_table[MAX_THREADS];
int current_thread = -1;
int thread_count = 1;
std::atomic<int> idle_flag{0};

namespace {

constexpr const char* SOURCE = "library/system/thread";
constexpr uint32_t LOWERED_PRIORITY = 10'000;
constexpr uint32_t HIGH_PRIORITY = 10;
constexpr uint32_t TOP_PRIORITY = 1;
constexpr uint32_t LONGEST_CHARGED_RUN = 4660;  // clock units

// Unwinds a cooperative thread to its start routine; nothing else catches it.
struct ThreadEnd {};

int scheduler_lock = 0;
int32_t last_switch_time = 0;  // clock at the last charge of a running thread
Screen* last_saved_screen = nullptr;
int idle_thread = -1;
uint32_t last_thread_id = 0;

thread_local bool started_by_start_thread = false;

// Bumped, under the mutex, by everything that may make a blocked thread runnable.
std::mutex wake_mutex;
std::condition_variable wake_condition;
std::atomic<uint64_t> wake_generation{0};

bool in_use(const ThreadRecord& record) { return record.id != 0; }

ThreadRecord* find_thread(uint32_t id) {
    for (int i = 0; i < thread_count; ++i)
        if (in_use(thread_table[i]) && thread_table[i].id == id) return &thread_table[i];
    return nullptr;
}

int count_threads() {
    int count = 0;
    for (int i = 0; i < MAX_THREADS; ++i)
        if (in_use(thread_table[i])) count = i + 1;
    return count;
}

void fill_record(ThreadRecord& record, const char* name, uint32_t cost) {
    if (++last_thread_id == 0) ++last_thread_id;
    record.id = last_thread_id;
    record.priority = record.base_priority = DEFAULT_THREAD_PRIORITY;
    record.cost = cost;
    record.wait_flag = nullptr;
    record.wake_time = 0;
    record.background = 0;
    std::string_view kept = std::string_view(name).substr(0, sizeof record.name - 1);
    kept.copy(record.name, kept.size());
    record.name[kept.size()] = '\0';
}

// Each record's plot window, kept beside its screen and clip rectangle.
PlotWindow saved_plots[MAX_THREADS];

PlotWindow& saved_plot_of(const ThreadRecord& record) { return saved_plots[&record - thread_table]; }

void save_drawing_context(ThreadRecord& record) {
    record.saved_screen = last_saved_screen = current_screen;
    save_plot(saved_plot_of(record));
    record.saved_clip[0] = clip_x0;
    record.saved_clip[1] = clip_y0;
    record.saved_clip[2] = clip_x1;
    record.saved_clip[3] = clip_y1;
}

void restore_drawing_context(const ThreadRecord& record) {
    if (record.saved_screen != last_saved_screen) select_screen(record.saved_screen);
    restore_plot(saved_plot_of(record));  // resets the clip rectangle, so it comes first
    set_clip_rect(record.saved_clip[0], record.saved_clip[1], record.saved_clip[2], record.saved_clip[3]);
}

bool runnable(const ThreadRecord& record, int32_t now) {
    return now >= record.wake_time && (!record.wait_flag || record.wait_flag->load() != 0);
}

void pick_next_thread() {
    int32_t now = read_clock();
    if (current_thread >= 0) {
        uint32_t ran = std::min(uint32_t(now - last_switch_time), LONGEST_CHARGED_RUN);
        last_switch_time = now;
        ThreadRecord& outgoing = thread_table[current_thread];
        outgoing.cost += outgoing.priority * (((ran + 1) >> 9) + 1);
    }
    // Each flag is read once, so that a word changed by another OS thread between the two passes
    // cannot leave nobody picked.
    bool can_run[MAX_THREADS] = {};
    uint32_t least = 0x7FFFFFFF;
    for (int i = 0; i < thread_count; ++i) {
        ThreadRecord& record = thread_table[i];
        if (!in_use(record)) continue;
        if (record.priority < record.base_priority) ++record.priority;
        else if (record.priority > record.base_priority) --record.priority;
        can_run[i] = runnable(record, now);
        if (can_run[i]) least = std::min(least, record.cost);
    }
    // Costs are kept relative to the cheapest; among equal costs the highest index wins.
    for (int i = 0; i < thread_count; ++i) {
        if (!can_run[i]) continue;
        thread_table[i].cost -= least;
        if (thread_table[i].cost == 0) current_thread = i;
    }
}

void switch_thread_context() {
    if (!thread_table[current_thread].background) save_drawing_context(thread_table[current_thread]);
    pick_next_thread();
    if (!thread_table[current_thread].background) restore_drawing_context(thread_table[current_thread]);
}

// Blocks until something may have made a thread runnable. Under the virtual clock that is one
// tick, run now: the clock only moves when nothing else can.
void wait_for_work(uint64_t seen) {
    if (platform::clock_mode() == platform::ClockMode::VIRTUAL && platform::periodic_timer_running()) {
        platform::wait_periods(1);
        return;
    }
    std::unique_lock lock(wake_mutex);
    wake_condition.wait(lock, [seen] { return wake_generation.load() != seen; });
}

// Picks the next thread and passes it the baton; unless the caller is ending, returns when the
// caller has been picked again.
void hand_over(bool ending) {
    if (!ending) take_quit_request();
    const int self = current_thread;
    for (;;) {
        uint64_t seen = wake_generation.load();
        // While the program is in the background nothing runs.
        if (!app_active.load()) {
            wait_for_work(seen);
            continue;
        }
        switch_thread_context();
        if (current_thread != self || self != idle_thread) break;
        wait_for_work(seen);
    }
    if (current_thread == self) return;
    thread_table[current_thread].semaphore.release();
    if (!ending) thread_table[self].semaphore.acquire();
}

// The ending thread gives up its record and the baton.
void exit_thread() {
    if (current_thread < 0) return;
    thread_table[current_thread].id = 0;
    thread_count = count_threads();
    if (!fatal_error_raised.load()) hand_over(true);
}

void start_thread(int record, ThreadProcedure procedure) {
    thread_table[record].semaphore.acquire();
    started_by_start_thread = true;
    try {
        procedure();
    } catch (const ThreadEnd&) {
        // terminate_current_thread: the stack is unwound, the thread ends here
    }
    exit_thread();
}

// A thread whose stack the scheduler did not start (the game thread) cannot be unwound: once it
// has handed over for good it waits for ever.
[[noreturn]] void park_forever() {
    static std::binary_semaphore* never = new std::binary_semaphore(0);
    for (;;) never->acquire();
}

void run_idle_thread() {
    set_thread_priority(IDLE_THREAD_PRIORITY);
    watch_debug_value("Had Been Idle", 8, &idle_flag);
    set_thread_background();
    idle_thread = current_thread;
    for (;;) {
        idle_flag.store(1);
        std::fflush(nullptr);
        yield_thread();
    }
}

}  // namespace

void init_threads() {
    ThreadRecord& system = thread_table[0];
    if (in_use(system)) {
        report_fatal_error("Cannot Create System Thread", SOURCE, 333);
        return;
    }
    fill_record(system, "System", 0);
    save_drawing_context(system);
    current_thread = 0;
    thread_count = std::max(thread_count, 1);
    create_thread("Idle", run_idle_thread);
    yield_thread();
}

uint32_t create_thread(const char* name, ThreadProcedure procedure) {
    int index = 0;
    while (index < MAX_THREADS && in_use(thread_table[index])) ++index;
    if (index == MAX_THREADS) {
        report_fatal_error("Out of Threads", SOURCE, 452);
        return 0;
    }
    ThreadRecord& record = thread_table[index];
    fill_record(record, name, DEFAULT_THREAD_PRIORITY);
    record.saved_screen = nullptr;
    save_plot(saved_plot_of(record));  // the caller's
    if (index >= thread_count) thread_count = index + 1;
    // It waits for the baton before it touches anything; the record is complete by then.
    std::thread(start_thread, index, procedure).detach();
    return record.id;
}

void terminate_current_thread() {
    if (started_by_start_thread) throw ThreadEnd{};
    exit_thread();
    park_forever();
}

void kill_thread(uint32_t) { report_fatal_error("What the f**k is kill_thread", SOURCE, 848); }

void yield_thread() {
    if (scheduler_lock || current_thread < 0 || fatal_error_raised.load()) return;
    hand_over(false);
}

int yield_if_due() {
    if (read_clock() <= last_switch_time + TIME_SLICE) return 0;
    yield_thread();
    return 1;
}

void sleep_thread(int units) {
    if (current_thread >= 0) thread_table[current_thread].wake_time = read_clock() + units;
    yield_thread();
}

void wait_for_flag(const std::atomic<int>* flag) {
    if (current_thread >= 0) thread_table[current_thread].wait_flag = flag;
    yield_thread();
}

void wait_for_flag_nested(const std::atomic<int>* flag) {
    if (current_thread < 0) return;
    ThreadRecord& self = thread_table[current_thread];
    const std::atomic<int>* kept = self.wait_flag;
    self.wait_flag = flag;
    yield_thread();
    self.wait_flag = kept;
}

void wait_until_idle() { wait_for_flag_nested(&idle_flag); }

void lock_scheduler() { ++scheduler_lock; }

void unlock_scheduler() { --scheduler_lock; }

void set_thread_priority(uint32_t priority) {
    if (current_thread < 0) return;
    thread_table[current_thread].priority = thread_table[current_thread].base_priority = priority;
}

void set_thread_priority_by_id(uint32_t id, uint32_t priority) {
    if (ThreadRecord* record = find_thread(id)) record->priority = record->base_priority = priority;
}

void lower_thread_priority() {
    if (current_thread >= 0) thread_table[current_thread].priority = LOWERED_PRIORITY;
}

void set_thread_priority_high(uint32_t id) {
    if (ThreadRecord* record = find_thread(id)) record->priority = HIGH_PRIORITY;
}

void set_thread_priority_top(uint32_t id) {
    if (ThreadRecord* record = find_thread(id)) record->priority = TOP_PRIORITY;
}

void set_thread_background() {
    if (current_thread >= 0) thread_table[current_thread].background = 1;
}

void wake_idle_thread() {
    {
        std::lock_guard lock(wake_mutex);
        wake_generation.fetch_add(1);
    }
    wake_condition.notify_all();
}

}  // namespace vyr
