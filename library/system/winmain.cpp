#include "library/system/winmain.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

#include "library/system/exit.h"
#include "library/system/key.h"
#include "library/system/mouse.h"
#include "library/system/thread.h"
#include "library/system/timer.h"

namespace vyr {

std::atomic<int> app_active{1};

namespace {

std::atomic<int> first_activation_seen{0};
std::atomic<int> full_screen_style{0};
std::atomic<int> window_closed{0};
std::atomic<int> quit_asked{0};
std::atomic<RepaintFunction> repaint_function{nullptr};
std::atomic<ActivationHandler> activation_handler{nullptr};

GameMain game_entry = nullptr;
std::string game_command_line;
GameArguments game_arguments;

void on_activate_app(bool gained) {
    if (!gained) {
        if (ActivationHandler handler = activation_handler.load()) handler(0);
        app_active.store(0);
        return;
    }
    if (!first_activation_seen.exchange(1)) {
        app_active.store(1);
        return;
    }
    if (full_screen_style.load()) {
        if (ActivationHandler handler = activation_handler.load()) handler(1);
        if (RepaintFunction repaint = repaint_function.load()) repaint();
        // An Alt that was down when the focus left (Alt+Tab) must not stay down.
        on_key_up(SCAN_ALT, false);
    }
    app_active.store(1);
}

// The window's own requests; the display and sound layers fill in theirs.
intptr_t hide_cursor(intptr_t) {
    platform::window()->hide_system_cursor();
    return 0;
}

intptr_t clip_cursor(intptr_t rect) {
    return platform::window()->clip_cursor(reinterpret_cast<const platform::Rect*>(rect));
}

intptr_t set_cursor_position(intptr_t lparam) {
    intptr_t* b = request_block(lparam);
    platform::window()->set_cursor_position(int(b[0]), int(b[1]));
    return 0;
}

intptr_t set_cursor(intptr_t lparam) {
    int number = int(request_block(lparam)[0]);
    platform::window()->set_cursor_shape(number >= 1 && number <= 10 ? number : 1);
    return 0;
}

// Indexed by request code.
std::atomic<RequestHandler> request_handlers[REQUEST_CODE_COUNT] = {
    hide_cursor, nullptr, clip_cursor, set_cursor_position,            // 0 to 3
    nullptr,     nullptr, nullptr,     nullptr, nullptr, nullptr,      // 4 to 9
    nullptr,     nullptr, nullptr,     nullptr, nullptr, nullptr,      // 10 to 15
    nullptr,     nullptr, nullptr,     nullptr, nullptr, nullptr,      // 16 to 21
    set_cursor,                                                        // 22
};

void run_game_thread() {
    RequestBlock block = {};
    send_request(REQ_CREATE_DIRECTDRAW, block);
    if (block[0] == 0) {
        std::fprintf(stderr, "Error - Direct draw not available\n");
        platform::window()->message_box("Skerel Error", "Error - Direct draw not available");
        end_process(30);
    }
    send_request(REQ_CREATE_DIRECTSOUND, block);  // a program without sound runs on
    split_command_line(game_command_line.c_str(), game_arguments);
    game_entry(game_arguments.argc, game_arguments.argv);
}

}  // namespace

intptr_t window_proc(const platform::WindowMessage& message) {
    using platform::MessageKind;
    switch (message.kind) {
    case MessageKind::DESTROY:
    case MessageKind::PAINT: break;
    case MessageKind::ACTIVATE_APP:
        on_activate_app(message.wparam != 0);
        wake_idle_thread();
        break;
    case MessageKind::KEY_DOWN: on_key_down(int(message.wparam), message.lparam != 0); break;
    case MessageKind::KEY_UP: on_key_up(int(message.wparam), message.lparam != 0); break;
    case MessageKind::MOUSE_MOVE:
        on_mouse_move(int(message.wparam), platform::mouse_x(message.lparam), platform::mouse_y(message.lparam));
        break;
    case MessageKind::MOUSE_BUTTON:
        on_mouse_button(int(message.wparam), platform::mouse_x(message.lparam), platform::mouse_y(message.lparam));
        break;
    case MessageKind::QUIT:
        quit_asked.store(1);
        // Nothing runs in the background, so a quit from outside (a script, Ctrl+C in the
        // terminal) brings the program back to take it.
        if (!app_active.load())
            on_activate_app(true);
        wake_idle_thread();
        break;
    case MessageKind::REQUEST: {
        if (message.wparam >= REQUEST_CODE_COUNT) return 0;
        RequestHandler handler = request_handlers[message.wparam].load();
        return handler ? handler(message.lparam) : 0;
    }
    }
    return 0;
}

intptr_t send_request(uint32_t code, intptr_t lparam) {
    intptr_t result = 0;
    platform::Window* w = platform::window();
    w->call_on_window_thread([&] { result = window_proc({platform::MessageKind::REQUEST, code, lparam}); });
    return result;
}

void split_command_line(const char* command_line, GameArguments& arguments) {
    arguments.argc = 0;
    auto add_word = [&](const char* text, size_t length) {
        if (arguments.argc == MAX_GAME_ARGS) return;
        char* slot = arguments.words[arguments.argc];
        length = std::min(length, size_t(MAX_GAME_ARG_LENGTH - 1));
        std::memcpy(slot, text, length);
        slot[length] = '\0';
        arguments.argv[arguments.argc++] = slot;
    };
    add_word("application", std::strlen("application"));
    const char* p = command_line;
    while (*p) {
        const char* end = std::strchr(p, ' ');
        if (!end) end = p + std::strlen(p);
        add_word(p, size_t(end - p));
        p = *end ? end + 1 : end;
    }
    arguments.argv[arguments.argc] = nullptr;
}

int create_main_window() {
    platform::Window* w = platform::window();
    int width = w->desktop_width(), height = w->desktop_height();
    if (!w->create(window_proc, "Vyr for Win95", width / 2 - 16, height / 2 - 16, 32, 32)) return 0;
    full_screen_style.store(0);
    start_timer();
    window_closed.store(0);
    return 1;
}

void close_main_window() {
    if (window_closed.exchange(1)) return;
    send_request(REQ_RELEASE_SOUND);
    send_request(REQ_RESTORE_SYSTEM_PALETTE);
    stop_timer();
}

void set_popup_window_style() {
    if (full_screen_style.exchange(1)) return;
    platform::window()->set_full_screen_style();
}

int win_main(GameMain game_main, const char* command_line) {
    if (!create_main_window()) return 1;  // a start that failed, never a clean exit
    game_entry = game_main;
    game_command_line = command_line ? command_line : "";
    std::thread(run_game_thread).detach();
    int result = platform::window()->run_message_loop();
    close_main_window();
    return result;
}

void take_quit_request() {
    if (quit_asked.load() && !shutting_down.load()) end_process(0);
}

void set_request_handler(uint32_t code, RequestHandler handler) {
    if (code < REQUEST_CODE_COUNT) request_handlers[code].store(handler);
}

void set_activation_handler(ActivationHandler handler) { activation_handler.store(handler); }

void set_repaint_function(RepaintFunction function) { repaint_function.store(function); }

void release_main_window() {
    platform::Window* w = platform::window();
    if (!w) return;
    w->call_on_window_thread([w] {
        close_main_window();
        w->shutdown();
    });
}

}  // namespace vyr
