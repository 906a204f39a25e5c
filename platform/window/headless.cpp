#include "platform/window/headless.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/joystick/joystick.h"
#include "platform/timer/timer.h"

namespace vyr::platform {

DigestWriter digest_writer = nullptr;

namespace {

HeadlessWindow* period_target = nullptr;  // the window whose script the timer drives

bool write_ppm(std::ostream& out, const std::vector<uint32_t>& pixels, int width, int height) {
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (uint32_t p : pixels) {
        char rgb[3] = {char(p >> 16), char(p >> 8), char(p)};
        out.write(rgb, 3);
    }
    return bool(out.flush());
}

}  // namespace

HeadlessWindow::HeadlessWindow() : frame_(size_t(640) * 480, 0) {}

HeadlessWindow::~HeadlessWindow() {
    if (period_target == this) {
        set_period_listener(nullptr);
        period_target = nullptr;
    }
}

bool HeadlessWindow::create(WindowProcedure procedure, const char*, int, int, int, int) {
    std::lock_guard lock(mutex_);
    procedure_ = procedure;
    loop_state_ = LoopState::BEFORE;
    return true;
}

void HeadlessWindow::push(Item item) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(item);
    }
    cv_.notify_all();
}

void HeadlessWindow::inject(const WindowMessage& message) { push({message}); }

void HeadlessWindow::post_destroy() { push({{MessageKind::DESTROY, 0, 0}, nullptr, nullptr, true}); }

int HeadlessWindow::run_message_loop() {
    std::unique_lock lock(mutex_);
    window_thread_ = std::this_thread::get_id();
    loop_state_ = LoopState::RUNNING;
    for (;;) {
        cv_.wait(lock, [this] { return !queue_.empty(); });
        Item item = queue_.front();
        queue_.pop_front();
        lock.unlock();
        if (item.call) {
            (*item.call)();
        } else if (item.script_due) {
            deliver_script_events(timer_periods());
        } else {
            procedure_(item.message);
        }
        lock.lock();
        if (item.done) {
            *item.done = true;
            cv_.notify_all();
        }
        if (item.destroy) break;
    }
    loop_state_ = LoopState::ENDED;
    // Nobody serves calls any more: run those still waiting, as later ones will run inline.
    while (!queue_.empty()) {
        Item item = queue_.front();
        queue_.pop_front();
        if (!item.call) continue;
        lock.unlock();
        (*item.call)();
        lock.lock();
        *item.done = true;
    }
    cv_.notify_all();
    return 0;
}

void HeadlessWindow::call_on_window_thread(const std::function<void()>& work) {
    std::unique_lock lock(mutex_);
    if (std::this_thread::get_id() == window_thread_ || loop_state_ == LoopState::ENDED) {
        lock.unlock();
        work();
        return;
    }
    bool done = false;
    queue_.push_back({{}, &work, &done});
    cv_.notify_all();
    cv_.wait(lock, [&] { return done; });
}

bool HeadlessWindow::on_window_thread() const {
    std::lock_guard lock(mutex_);
    return std::this_thread::get_id() == window_thread_;
}

void HeadlessWindow::present(const uint32_t* pixels, int width, int height, int pitch) {
    std::lock_guard lock(frame_mutex_);
    frame_.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        std::copy(pixels + size_t(y) * pitch, pixels + size_t(y) * pitch + width, frame_.begin() + size_t(y) * width);
    frame_width_ = width;
    frame_height_ = height;
    if (!recording_.empty() && timer_periods() < recording_until_ && !record_frame()) {
        std::fprintf(stderr, "vyr: cannot record to %s\n", recording_.c_str());
        recording_.clear();
    }
}

bool HeadlessWindow::record_frame() {
    if (frame_ == recorded_) return true;
    std::ofstream out(recording_, std::ios::binary | std::ios::app);
    if (!write_ppm(out, frame_, frame_width_, frame_height_)) return false;
    recorded_ = frame_;
    return true;
}

bool HeadlessWindow::start_recording(const std::string& path, uint64_t until) {
    std::lock_guard lock(frame_mutex_);
    recording_ = path;
    recording_until_ = until;
    recorded_.clear();
    if (std::ofstream(path, std::ios::binary | std::ios::trunc) && record_frame()) return true;
    recording_.clear();
    return false;
}

std::vector<uint32_t> HeadlessWindow::frame() const {
    std::lock_guard lock(frame_mutex_);
    return frame_;
}

int HeadlessWindow::frame_width() const {
    std::lock_guard lock(frame_mutex_);
    return frame_width_;
}

int HeadlessWindow::frame_height() const {
    std::lock_guard lock(frame_mutex_);
    return frame_height_;
}

bool HeadlessWindow::write_capture(const std::string& path) const {
    std::vector<uint32_t> pixels;
    int width, height;
    {
        std::lock_guard lock(frame_mutex_);
        pixels = frame_;
        width = frame_width_;
        height = frame_height_;
    }
    std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!write_ppm(out, pixels, width, height)) return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

void HeadlessWindow::set_script(std::vector<ScriptEvent> events) {
    script_ = std::move(events);
    script_next_ = 0;
    period_target = this;
    set_period_listener(on_period);
}

void HeadlessWindow::on_period(uint64_t period) {
    HeadlessWindow* self = period_target;
    if (!self) return;
    if (clock_mode() == ClockMode::VIRTUAL) {
        // The advancing thread waits until the events are in, so a run repeats to the tick.
        self->call_on_window_thread([self, period] { self->deliver_script_events(period); });
    } else {
        self->push({{}, nullptr, nullptr, false, true});
    }
}

void HeadlessWindow::deliver_script_events(uint64_t now) {
    for (; script_next_ < script_.size() && script_[script_next_].time <= now; ++script_next_) {
        const ScriptEvent& e = script_[script_next_];
        switch (e.kind) {
        case ScriptEvent::KEY:
            procedure_({e.down ? MessageKind::KEY_DOWN : MessageKind::KEY_UP, uint32_t(e.code), e.extended ? 1 : 0});
            break;
        case ScriptEvent::MOVE: procedure_({MessageKind::MOUSE_MOVE, held_buttons_, pack_mouse_position(e.x, e.y)}); break;
        case ScriptEvent::CLICK:
        case ScriptEvent::RIGHT_CLICK:
        case ScriptEvent::DOUBLE_CLICK: {
            uint32_t button = e.kind == ScriptEvent::RIGHT_CLICK ? MOUSE_RIGHT : MOUSE_LEFT;
            intptr_t at = pack_mouse_position(e.x, e.y);
            procedure_({MessageKind::MOUSE_MOVE, held_buttons_, at});
            for (int n = e.kind == ScriptEvent::DOUBLE_CLICK ? 2 : 1; n > 0; --n) {
                procedure_({MessageKind::MOUSE_BUTTON, held_buttons_ | button, at});
                procedure_({MessageKind::MOUSE_BUTTON, held_buttons_, at});
            }
            break;
        }
        case ScriptEvent::PRESS:
        case ScriptEvent::RELEASE: {
            intptr_t at = pack_mouse_position(e.x, e.y);
            procedure_({MessageKind::MOUSE_MOVE, held_buttons_, at});
            held_buttons_ = e.kind == ScriptEvent::PRESS ? held_buttons_ | MOUSE_LEFT : held_buttons_ & ~MOUSE_LEFT;
            procedure_({MessageKind::MOUSE_BUTTON, held_buttons_, at});
            break;
        }
        case ScriptEvent::CAPTURE:
            if (!write_capture(e.path)) std::fprintf(stderr, "vyr: cannot write capture %s\n", e.path.c_str());
            break;
        case ScriptEvent::RECORD:
            if (!start_recording(e.path, now + uint64_t(e.x)))
                std::fprintf(stderr, "vyr: cannot record to %s\n", e.path.c_str());
            break;
        case ScriptEvent::DIGEST:
            // Only a virtual clock holds the game still while the window thread reads its state.
            if (clock_mode() != ClockMode::VIRTUAL)
                std::fprintf(stderr, "vyr: a digest needs the virtual clock (VYR_CLOCK=virtual)\n");
            else if (!digest_writer || !digest_writer(e.path))
                std::fprintf(stderr, "vyr: cannot write digest %s\n", e.path.c_str());
            break;
        case ScriptEvent::FOCUS: procedure_({MessageKind::ACTIVATE_APP, uint32_t(e.code), 0}); break;
        case ScriptEvent::QUIT: procedure_({MessageKind::QUIT, 0, 0}); break;
        case ScriptEvent::JOY_AXIS: set_virtual_axis(e.code, e.x); break;
        case ScriptEvent::JOY_BUTTON: set_virtual_button(e.code, e.down); break;
        case ScriptEvent::JOY_HAT: set_virtual_hat(Hat(e.x)); break;
        }
    }
}

}  // namespace vyr::platform
