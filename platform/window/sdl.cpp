// The SDL window: the 640 x 480 picture scaled into a real window, keeping its aspect.
#include <SDL.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include "platform/window/sdl_keys.h"
#include "platform/window/window.h"

namespace vyr::platform {

namespace {

// SIGINT and SIGTERM taken so far; the message loop turns the first into a quit.
std::atomic<int> quit_signals{0};
static_assert(std::atomic<int>::is_always_lock_free, "counted in a signal handler");
std::string display_name;  // for the line that says the display is gone
std::atomic<bool> window_open{false};  // an exit() after the window is shut is not the display's doing

void on_quit_signal(int signal) {
    // A second signal while the exit runs ends the process at once, also one that another thread
    // took at the same moment as the first, before the handler was taken away.
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigaction(SIGINT, &fallback, nullptr);
    sigaction(SIGTERM, &fallback, nullptr);
    if (quit_signals.fetch_add(1) > 0) raise(signal);
}

void catch_quit_signals() {
    struct sigaction action = {};
    action.sa_handler = on_quit_signal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// The program itself always ends through _Exit, so an exit() can only come from the display
// library giving up on a lost connection.
void on_display_lost() {
    if (!window_open.load()) return;
    std::fprintf(stderr, "vyr: lost the display %s; set VYR_VIDEO=headless to run without one\n",
                 display_name.c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

std::string describe_display() {
    if (const char* x = std::getenv("DISPLAY"); x && *x) return x;
    if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland && *wayland) return wayland;
    return "(DISPLAY is not set)";
}

// Drivers that open no window are taken only when the user names them.
bool shows_a_window(const char* driver) {
    if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) return true;
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return asked && std::strstr(asked, driver);
}

class SdlWindow final : public Window {
public:
    ~SdlWindow() override { shutdown(); }

    bool create(WindowProcedure procedure, const char* title, int, int, int, int) override {
        procedure_ = procedure;
        window_thread_ = std::this_thread::get_id();
        wake_event_ = SDL_RegisterEvents(1);
        // The start-up window is kept hidden until the first video mode, as a tiny pop-up was.
        window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                                   SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
        if (window_) {
            renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
            if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        }
        if (!renderer_) {
            std::fprintf(stderr, "vyr: cannot open the window (%s); set VYR_VIDEO=headless to run without one\n",
                         SDL_GetError());
            return false;
        }
        SDL_RenderSetLogicalSize(renderer_, 640, 480);
        catch_quit_signals();
        window_open = true;
        std::atexit(on_display_lost);
        return true;
    }

    int desktop_width() const override { return desktop_mode().w; }
    int desktop_height() const override { return desktop_mode().h; }

    void set_full_screen_style() override {
        const char* full = std::getenv("VYR_FULLSCREEN");
        if (full && std::strcmp(full, "1") == 0) SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
        SDL_ShowWindow(window_);
        SDL_RaiseWindow(window_);
    }

    // The program never closes its window: the loop runs until the process ends.
    int run_message_loop() override {
        for (;;) {
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, 10)) {
                handle(event);
                while (SDL_PollEvent(&event)) handle(event);
            }
            if (quit_signals.load() && !quit_passed_on_) {
                quit_passed_on_ = true;
                procedure_({MessageKind::QUIT, 0, 0});
            }
            run_pending_calls();
        }
    }

    void call_on_window_thread(const std::function<void()>& work) override {
        std::unique_lock lock(mutex_);
        if (std::this_thread::get_id() == window_thread_) {
            lock.unlock();
            work();
            return;
        }
        bool done = false;
        calls_.push_back({&work, &done});
        SDL_Event wake{};
        wake.type = wake_event_;
        SDL_PushEvent(&wake);
        cv_.wait(lock, [&] { return done; });
    }

    bool on_window_thread() const override { return std::this_thread::get_id() == window_thread_; }

    void present(const uint32_t* pixels, int width, int height, int pitch) override {
        // The renderer belongs to the window thread; pointer redraws present from game threads.
        if (!on_window_thread()) {
            call_on_window_thread([&] { present(pixels, width, height, pitch); });
            return;
        }
        if (!renderer_) return;
        if (!texture_ || width != texture_width_ || height != texture_height_) {
            if (texture_) SDL_DestroyTexture(texture_);
            texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
            texture_width_ = width;
            texture_height_ = height;
            SDL_RenderSetLogicalSize(renderer_, width, height);
        }
        SDL_UpdateTexture(texture_, nullptr, pixels, pitch * 4);
        show_last_frame();
    }

    void hide_system_cursor() override { SDL_ShowCursor(SDL_DISABLE); }

    void set_cursor_position(int x, int y) override {
        // The game speaks in picture pixels; the window may be scaled.
        SDL_Rect viewport;
        float scale_x, scale_y;
        SDL_RenderGetViewport(renderer_, &viewport);
        SDL_RenderGetScale(renderer_, &scale_x, &scale_y);
        SDL_WarpMouseInWindow(window_, int((viewport.x + x) * scale_x), int((viewport.y + y) * scale_y));
    }

    bool clip_cursor(const Rect* rect) override {
        SDL_SetWindowGrab(window_, rect ? SDL_TRUE : SDL_FALSE);
        return true;
    }

    void set_cursor_shape(int) override {}  // the system pointer stays hidden; the game draws its own

    void message_box(const char* title, const char* text) override {
        // About 80 characters fit a 640-pixel-wide screen in the box's font.
        std::string wrapped = wrap_text(text, 76);
        call_on_window_thread([&] { show_box_until_quit(title, wrapped.c_str()); });
    }

    void shutdown() override {
        window_open = false;
        if (texture_) SDL_DestroyTexture(texture_);
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        texture_ = nullptr;
        renderer_ = nullptr;
        window_ = nullptr;
        SDL_Quit();
    }

private:
    struct Call {
        const std::function<void()>* work;
        bool* done;
    };

    static SDL_DisplayMode desktop_mode() {
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) mode.w = 640, mode.h = 480;
        return mode;
    }

    // SDL shows the box in a process of its own and waits for it. A quit signal takes the box
    // away, so that the program goes on to its exit at once rather than when the player closes
    // it; the text is on stderr already.
    void show_box_until_quit(const char* title, const char* text) {
        std::atomic<pid_t> shower{0};
        std::atomic<bool> closed{false};
        std::thread box([&] {
            shower = gettid();
            if (!quit_signals.load()) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text, window_);
            closed = true;
        });
        while (!closed.load()) {
            if (quit_signals.load() && shower.load()) end_children_of(shower.load());
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        box.join();
    }

    static void end_children_of(pid_t thread) {
        std::ifstream children("/proc/self/task/" + std::to_string(thread) + "/children");
        for (pid_t child; children >> child;) kill(child, SIGKILL);
    }

    void run_pending_calls() {
        std::unique_lock lock(mutex_);
        while (!calls_.empty()) {
            Call call = calls_.front();
            calls_.pop_front();
            lock.unlock();
            (*call.work)();
            lock.lock();
            *call.done = true;
            cv_.notify_all();
        }
    }

    // The last frame presented, scaled to the window as it is now.
    void show_last_frame() {
        if (!texture_) return;
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    }

    static uint32_t game_buttons(uint32_t sdl_state) {
        uint32_t buttons = 0;
        if (sdl_state & SDL_BUTTON(SDL_BUTTON_LEFT)) buttons |= MOUSE_LEFT;
        if (sdl_state & SDL_BUTTON(SDL_BUTTON_RIGHT)) buttons |= MOUSE_RIGHT;
        return buttons;
    }

    void handle(const SDL_Event& event) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            Set1Key key = set1_from_sdl(event.key.keysym.scancode);
            if (key.code == 0) break;
            procedure_({event.type == SDL_KEYDOWN ? MessageKind::KEY_DOWN : MessageKind::KEY_UP, uint32_t(key.code),
                        key.extended ? 1 : 0});
            break;
        }
        // Each event carries its own buttons: the state SDL holds now may already be past a press
        // and release that came in the same pump.
        case SDL_MOUSEMOTION:
            buttons_ = game_buttons(event.motion.state);
            procedure_({MessageKind::MOUSE_MOVE, buttons_, pack_mouse_position(event.motion.x, event.motion.y)});
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            uint32_t button = game_buttons(SDL_BUTTON(event.button.button));
            if (!button) break;
            buttons_ = event.type == SDL_MOUSEBUTTONDOWN ? buttons_ | button : buttons_ & ~button;
            procedure_({MessageKind::MOUSE_BUTTON, buttons_, pack_mouse_position(event.button.x, event.button.y)});
            break;
        }
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) procedure_({MessageKind::ACTIVATE_APP, 1, 0});
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) procedure_({MessageKind::ACTIVATE_APP, 0, 0});
            // The game draws only what changes, so a new size or a window uncovered gets the last frame.
            if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || event.window.event == SDL_WINDOWEVENT_EXPOSED)
                show_last_frame();
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED) procedure_({MessageKind::PAINT, 0, 0});
            break;
        case SDL_QUIT: procedure_({MessageKind::QUIT, 0, 0}); break;  // the close button
        default:
            if (event.type == wake_event_) run_pending_calls();
            break;
        }
    }

    WindowProcedure procedure_ = nullptr;
    std::thread::id window_thread_;
    uint32_t wake_event_ = 0;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int texture_width_ = 0, texture_height_ = 0;
    uint32_t buttons_ = 0;  // as the game last heard them
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Call> calls_;
    bool quit_passed_on_ = false;
};

}  // namespace

std::unique_ptr<Window> make_sdl_window(std::string& error) {
    // The program takes the quit signals itself, so that a second one ends it at once.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    display_name = describe_display();
    // Without a Wayland display its driver can only fail, noisily.
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!std::getenv("SDL_VIDEODRIVER") && !(wayland && *wayland)) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,kmsdrm");
    if (SDL_Init(SDL_INIT_VIDEO) == 0 && shows_a_window(SDL_GetCurrentVideoDriver()))
        return std::make_unique<SdlWindow>();
    error = "cannot open the display " + display_name + "; set VYR_VIDEO=headless to run without one";
    SDL_Quit();
    return nullptr;
}

}  // namespace vyr::platform
